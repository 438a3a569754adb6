#include "network_loads.h"

#include "hs.h"

namespace network {

namespace {

// The share of a pipe's path load that counts in its own flow: the friction of take-offs
// spread evenly along a pipe is that of this share of them taken at its far end.
constexpr double kPathShare = 0.55;

struct Simultaneous
{
    double k = 0;
    double flow = 0; // K N Qn, Nm^3/h
    bool beyondTable = false;
};

// N households of one set (0-based).
Simultaneous simultaneous(const Arrays &m, std::size_t set, double N)
{
    if (N <= 0)
        return {};
    const hs::Simultaneity s = hs::SimultaneityCoefficient(hs::Appliances(set + 1), long(N), m.linear);
    return {s.k, (s.k * N) * m.ratedFlow[set], s.beyond};
}

// Adds a node's own households to its load.
void addOwnHouseholds(Arrays &m, std::size_t v, Loads &loads)
{
    if (m.households[v] <= 0)
        return;
    const Simultaneous own = simultaneous(m, std::size_t(m.appliance[v]), m.households[v]);
    m.load[v] += own.flow;
    loads.nodeBeyondTable[v] = own.beyondTable;
}

} // namespace

Loads treeLoads(Arrays &m, const Forest &f)
{
    const std::size_t n = m.nodeCount();
    const std::size_t pipes = m.pipeCount();
    Loads loads;
    loads.tree = true;
    loads.typed = m.load;
    loads.flow.assign(pipes, 0.0);
    loads.pipeBeyondTable.assign(pipes, 0);
    loads.nodeBeyondTable.assign(n, 0);
    for (std::size_t set = 0; set < 2; ++set) {
        loads.households[set].assign(pipes, 0.0);
        loads.k[set].assign(pipes, 0.0);
    }
    // Beyond each node, the node included: the typed loads, the households of each set
    // and the path loads of the pipes further on.
    std::vector<double> beyond(m.load.begin(), m.load.end()), path(n, 0.0);
    std::array<std::vector<double>, 2> households{std::vector<double>(n, 0.0), std::vector<double>(n, 0.0)};
    for (std::size_t v = 0; v < n; ++v)
        households[std::size_t(m.appliance[v])][v] = m.households[v];
    for (auto it = f.order.rbegin(); it != f.order.rend(); ++it) {
        const std::size_t v = std::size_t(*it);
        const int k = f.parentPipe[v];
        if (k < 0)
            continue;
        const std::size_t pipe = std::size_t(k);
        double flow = 0;
        for (std::size_t set = 0; set < 2; ++set) {
            const Simultaneous s = simultaneous(m, set, households[set][v]);
            loads.households[set][pipe] = households[set][v];
            loads.k[set][pipe] = s.k;
            loads.pipeBeyondTable[pipe] = loads.pipeBeyondTable[pipe] || s.beyondTable;
            flow += s.flow;
        }
        flow = ((flow + beyond[v]) + path[v]) + kPathShare * m.pathLoad[pipe];
        // Towards v: positive when v is the pipe's `to`.
        loads.flow[pipe] = m.to[pipe] == int(v) ? flow : -flow;
        const std::size_t u = std::size_t(otherEnd(m, k, int(v)));
        beyond[u] += beyond[v];
        path[u] += path[v] + m.pathLoad[pipe];
        for (std::size_t set = 0; set < 2; ++set)
            households[set][u] += households[set][v];
    }
    for (std::size_t v = 0; v < n; ++v) {
        if (m.source[v])
            addOwnHouseholds(m, v, loads);
    }
    return loads;
}

Loads nodeLoads(Arrays &m)
{
    Loads loads;
    loads.typed = m.load;
    loads.nodeBeyondTable.assign(m.nodeCount(), 0);
    for (std::size_t v = 0; v < m.nodeCount(); ++v)
        addOwnHouseholds(m, v, loads);
    for (std::size_t k = 0; k < m.pipeCount(); ++k) {
        if (m.pathLoad[k] > 0) {
            m.load[std::size_t(m.from[k])] += m.pathLoad[k] / 2;
            m.load[std::size_t(m.to[k])] += m.pathLoad[k] / 2;
        }
    }
    return loads;
}

} // namespace network
