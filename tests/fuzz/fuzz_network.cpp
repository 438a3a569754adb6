// libFuzzer target for the network readers (the node and pipe tables as CSV, EPANET
// .inp files) and the solver behind them. Any input: no crash, no hang; a refused file
// names a line and gives no rows; a solved network has a result for every node and pipe
// and no number that is not finite; each source supplies what leaves it through its
// pipes and its own load; without households and path loads the sources supply the
// whole load, and with loops or several sources the whole of the node loads.
//
// The first byte chooses: its low bit the pressure class (1 medium/high), the next the
// reader (1 an .inp file, 0 two CSV tables: nodes, then pipes after a NUL byte), the
// third how K is read between the table's rows (1 linear).

#include "hs.h"
#include "network.h"
#include "network_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char *rule)
{
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

constexpr double kRatedFlow[2] = {0.7, 2.5};

// What a source takes itself: its load and its households at their own K; in a network
// with loops or several sources, the node load the solver balanced.
double ownLoad(const network::NodeResult &n, bool linear)
{
    if (n.calcLoad)
        return *n.calcLoad;
    if (n.households <= 0)
        return n.load;
    const hs::Simultaneity k = hs::SimultaneityCoefficient(hs::Appliances(n.appliance), long(n.households), linear);
    return n.load + (k.k * n.households) * kRatedFlow[n.appliance - 1];
}

void check(const network::Network &net, bool linear)
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
    std::vector<double> outflow(std::size_t(r.nodes.size()), 0.0);
    bool plain = true;
    for (const network::PipeResult &p : r.pipes) {
        outflow[std::size_t(p.from)] += p.flow;
        outflow[std::size_t(p.to)] -= p.flow;
        plain = plain && p.pathLoad == 0;
    }
    double load = 0, supply = 0, calcLoad = 0;
    for (qsizetype i = 0; i < r.nodes.size(); ++i) {
        const network::NodeResult &n = r.nodes[i];
        if (n.pressure && !std::isfinite(*n.pressure))
            fail("node pressures are finite");
        plain = plain && n.households == 0;
        load += n.load;
        calcLoad += n.calcLoad.value_or(0);
        supply += n.supply.value_or(0);
        if (n.source) {
            const double own = ownLoad(n, linear);
            if (!(std::fabs(*n.supply - (outflow[std::size_t(i)] + own)) <= 1e-6 * std::max(1.0, own)))
                fail("a source supplies what leaves it through its pipes and its own load");
        }
    }
    if (plain && !(std::fabs(supply - load) <= 1e-6 * std::max(1.0, load)))
        fail("without households and path loads the sources supply the whole load");
    if (r.flowRule == network::kNodeLoadRule && !(std::fabs(supply - calcLoad) <= 1e-6 * std::max(1.0, calcLoad)))
        fail("with loops or several sources the sources supply the whole of the node loads");
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
    net.settings.setText(QStringLiteral("ratedFlow1"), QString::number(kRatedFlow[0]));
    net.settings.setText(QStringLiteral("ratedFlow2"), QString::number(kRatedFlow[1]));
    const bool linear = data[0] & 4;
    net.settings.setText(QStringLiteral("simultaneity"), linear ? QStringLiteral("linear") : QStringLiteral("steps"));
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
    check(net, linear);
    return 0;
}
