#include "network_sizing.h"

#include "hs.h"
#include "sections.h"

#include <cmath>

namespace network {

namespace {

// The unit drop (Pa/m or kPa^2/km) of a diameter at a flow magnitude, as the section screens compute it.
double unitDrop(const Arrays &m, int material, double d, double q)
{
    if (q <= 0)
        return 0;
    if (m.low)
        return calc::lowSection(q, m.nu, m.T, m.rho, material, d).drop;
    return calc::highDrop(material)(q, m.nu, m.rho, m.T, d);
}

// The drop of pipe k at a signed flow.
double lawDrop(const Arrays &m, int k, double Q)
{
    const std::size_t i = std::size_t(k);
    return std::copysign(unitDrop(m, m.material[i], m.diameter[i], std::fabs(Q)) * m.length[i] * m.w[i], Q);
}

} // namespace

void sizeTree(Arrays &m, const Adjacency &adj, const Forest &f, const std::vector<double> &flow,
              std::vector<double> &potential, std::vector<char> &noDiameter)
{
    const std::size_t n = m.nodeCount();
    auto forEachChild = [&](int u, auto &&visit) {
        for (int e = adj.start[std::size_t(u)]; e < adj.start[std::size_t(u) + 1]; ++e) {
            const int k = adj.pipes[std::size_t(e)];
            const int v = otherEnd(m, k, u);
            if (f.parentPipe[std::size_t(v)] == k)
                visit(v);
        }
    };
    // The potential at the far end of pipe k from u.
    auto across = [&](int u, int k) {
        const double d = lawDrop(m, k, flow[std::size_t(k)]);
        return potential[std::size_t(u)] - (m.from[std::size_t(k)] == u ? d : -d);
    };
    // The drop of a typed pipe and the span (L w) of an automatic one, summed from the source.
    std::vector<double> typed(n, 0.0), span(n, 0.0);
    for (const int v : f.order) {
        const int k = f.parentPipe[std::size_t(v)];
        if (k < 0)
            continue;
        const int u = otherEnd(m, k, v);
        typed[std::size_t(v)] = typed[std::size_t(u)];
        span[std::size_t(v)] = span[std::size_t(u)];
        if (m.automatic[std::size_t(k)])
            span[std::size_t(v)] += m.length[std::size_t(k)] * m.w[std::size_t(k)];
        else
            typed[std::size_t(v)] += std::fabs(lawDrop(m, k, flow[std::size_t(k)]));
    }
    // The lowest potential each node may have.
    const double minAbsolute = m.gauge ? m.minPressure + m.atmosphere : m.minPressure;
    auto lowest = [&m, minAbsolute](std::size_t v) {
        return m.low ? m.minPressure - ((hs::kAirDensity - m.rho) * m.z[v]) * hs::kGravity : minAbsolute * minAbsolute;
    };
    std::vector<char> known(n, 0);
    std::vector<int> anchor(n, -1); // the nearest known ancestor of an unknown node
    auto budget = [&](int v) {
        const int k = anchor[std::size_t(v)];
        const double room = potential[std::size_t(k)] - lowest(std::size_t(v));
        return (room - (typed[std::size_t(v)] - typed[std::size_t(k)])) / (span[std::size_t(v)] - span[std::size_t(k)]);
    };
    // The unknown nodes that share an anchor are sized apart from all others: they
    // depend on its potential and on nothing else. For each anchor, its node with the
    // smallest budget (the first in the user's order among equals).
    struct Worst
    {
        double budget = 0;
        int node = -1;
    };
    std::vector<Worst> worstOf(n);
    std::vector<int> anchors; // anchors whose nodes are waiting to be sized
    // Marks the nodes beyond a known node: known through typed pipes, or waiting with
    // their anchor.
    std::vector<int> stack;
    auto spread = [&](int start) {
        stack.push_back(start);
        while (!stack.empty()) {
            const int u = stack.back();
            stack.pop_back();
            if (known[std::size_t(u)]) {
                forEachChild(u, [&](int v) {
                    if (known[std::size_t(v)])
                        return;
                    const int k = f.parentPipe[std::size_t(v)];
                    if (m.automatic[std::size_t(k)]) {
                        anchor[std::size_t(v)] = u;
                    } else {
                        potential[std::size_t(v)] = across(u, k);
                        known[std::size_t(v)] = 1;
                    }
                    stack.push_back(v);
                });
            } else {
                const double i = budget(u);
                Worst &w = worstOf[std::size_t(anchor[std::size_t(u)])];
                if (w.node < 0)
                    anchors.push_back(anchor[std::size_t(u)]);
                if (w.node < 0 || i < w.budget || (i == w.budget && u < w.node))
                    w = Worst{i, u};
                forEachChild(u, [&](int v) {
                    anchor[std::size_t(v)] = anchor[std::size_t(u)];
                    stack.push_back(v);
                });
            }
        }
    };
    for (std::size_t v = 0; v < n; ++v) {
        if (m.source[v]) {
            known[v] = 1;
            potential[v] = m.fixedPotential[v];
            spread(int(v));
        }
    }
    std::vector<int> path;
    while (!anchors.empty()) {
        const int a = anchors.back();
        anchors.pop_back();
        const auto [i, worst] = worstOf[std::size_t(a)];
        worstOf[std::size_t(a)] = Worst{};
        // The path from the anchor to its worst node, sized and given potentials.
        path.clear();
        for (int v = worst; v != a; v = otherEnd(m, f.parentPipe[std::size_t(v)], v))
            path.push_back(v);
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            const int v = *it;
            const int k = f.parentPipe[std::size_t(v)];
            const int u = otherEnd(m, k, v);
            if (m.automatic[std::size_t(k)]) {
                const double q = std::fabs(flow[std::size_t(k)]);
                // Not empty: reading refuses an automatic pipe whose material has nothing to choose from.
                const std::vector<Arrays::Choice> &series = m.series[std::size_t(m.material[std::size_t(k)])];
                const Arrays::Choice *chosen = nullptr;
                for (const Arrays::Choice &c : series) {
                    if (i > 0 && unitDrop(m, m.material[std::size_t(k)], c.diameter, q) <= i) {
                        chosen = &c;
                        break;
                    }
                }
                if (!chosen) {
                    chosen = &series.back();
                    noDiameter[std::size_t(k)] = 1;
                }
                m.diameter[std::size_t(k)] = chosen->diameter;
                m.size[std::size_t(k)] = chosen->size;
            }
            potential[std::size_t(v)] = across(u, k);
            known[std::size_t(v)] = 1;
        }
        // What is left of the anchor's nodes, and the nodes beyond the path.
        spread(a);
        for (const int v : path)
            spread(v);
    }
}
} // namespace network
