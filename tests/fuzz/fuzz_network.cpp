// libFuzzer target for the network readers (the node and pipe tables as CSV, EPANET
// .inp files) and the solver behind them. Any input: no crash, no hang; a refused file
// names a line and gives no rows; a solved network has a result for every node and pipe
// and no number that is not finite.
//
// The first byte chooses the reader: 'I' reads an .inp file, anything else two CSV tables
// (nodes, then pipes after a NUL byte).

#include "network.h"
#include "network_files.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *rule)
{
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

void check(const network::Network &net)
{
    // Large inputs are read, not solved: a fuzz run stays short.
    if (net.nodes.size() > 200 || net.pipes.size() > 200)
        return;
    const network::Result r = network::solve(net);
    if (r.refused) {
        if (r.refused->text.isEmpty() || !r.nodes.isEmpty())
            fail("a refusal names its problem and gives no result");
        return;
    }
    if (!r.converged)
        return;
    if (r.nodes.size() != net.nodes.size() || r.pipes.size() != net.pipes.size())
        fail("every node and pipe has its result");
    for (const network::PipeResult &p : r.pipes) {
        if (!std::isfinite(p.flow) || !std::isfinite(p.unitDrop) || !std::isfinite(p.diameter))
            fail("pipe results are finite");
    }
    for (const network::NodeResult &n : r.nodes) {
        if (n.pressure && !std::isfinite(*n.pressure))
            fail("node pressures are finite");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    network::Network net;
    net.settings.density = QStringLiteral("0.72");
    net.settings.viscosity = QStringLiteral("1.5E-5");
    net.settings.temperature = QStringLiteral("288");
    net.settings.minPressure = QStringLiteral("100");
    net.settings.pressure = data[0] & 1 ? network::Pressure::High : network::Pressure::Low;
    if (data[0] == 'I') {
        const network::InpRead read = network::fromInp(bytes, net.settings.pressure, QStringLiteral("3000"));
        if (!read.error.isEmpty()) {
            if (!read.nodes.isEmpty() || !read.pipes.isEmpty())
                fail("a refused file gives no rows");
            return 0;
        }
        net.nodes = read.nodes;
        net.pipes = read.pipes;
    } else {
        const qsizetype split = bytes.indexOf('\0');
        const network::TableRead nodes
            = network::tableFromCsv(split < 0 ? bytes : bytes.left(split), network::nodeKeys());
        const network::TableRead pipes
            = network::tableFromCsv(split < 0 ? QByteArray() : bytes.mid(split + 1), network::pipeKeys());
        for (const network::TableRead *t : {&nodes, &pipes}) {
            if (!t->error.isEmpty() && !t->rows.isEmpty())
                fail("a refused table gives no rows");
            if (t->rows.size() != t->lines.size())
                fail("every row has its line");
        }
        if (!nodes.error.isEmpty() || !pipes.error.isEmpty())
            return 0;
        net.nodes = network::nodeRows(nodes.rows);
        net.pipes = network::pipeRows(pipes.rows);
    }
    check(net);
    return 0;
}
