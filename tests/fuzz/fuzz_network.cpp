// libFuzzer target for the network readers (the node and pipe tables as CSV, EPANET
// .inp files) and the solver behind them. Any input: no crash, no hang; a refused file
// names a line and gives no rows; a solved network has a result for every node and pipe
// and no number that is not finite; its sources supply the whole load.
//
// The first byte chooses: its low bit the pressure class (1 medium/high), the next the
// reader (1 an .inp file, 0 two CSV tables: nodes, then pipes after a NUL byte).

#include "network.h"
#include "network_files.h"

#include <algorithm>
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
        if (r.refused->text.isEmpty() || r.converged)
            fail("a refusal names its problem and solves nothing");
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
    double load = 0, supply = 0;
    for (const network::NodeResult &n : r.nodes) {
        if (n.pressure && !std::isfinite(*n.pressure))
            fail("node pressures are finite");
        load += n.load;
        supply += n.supply.value_or(0);
    }
    if (!(std::fabs(supply - load) <= 1e-6 * std::max(1.0, load)))
        fail("the sources supply the whole load");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    network::Network net;
    net.settings.setText(QStringLiteral("density"), QStringLiteral("0.72"));
    net.settings.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
    net.settings.setText(QStringLiteral("temperature"), QStringLiteral("288"));
    net.settings.setText(QStringLiteral("minPressure"), QStringLiteral("100"));
    net.settings.pressure = data[0] & 1 ? network::Pressure::High : network::Pressure::Low;
    if (data[0] & 2) {
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
            = network::tableFromCsv(split < 0 ? bytes : bytes.left(split), network::Table::Nodes);
        const network::TableRead pipes
            = network::tableFromCsv(split < 0 ? QByteArray() : bytes.mid(split + 1), network::Table::Pipes);
        for (const network::TableRead *t : {&nodes, &pipes}) {
            if (!t->error.isEmpty() && !t->rows.isEmpty())
                fail("a refused table gives no rows");
            if (t->rows.size() != t->lines.size())
                fail("every row has its line");
        }
        if (!nodes.error.isEmpty() || !pipes.error.isEmpty())
            return 0;
        net.nodes = nodes.rows;
        net.pipes = pipes.rows;
    }
    check(net);
    return 0;
}
