#include "network_graph.h"

#include <algorithm>

namespace network {

Adjacency::Adjacency(const Arrays &m)
{
    const std::size_t n = m.nodeCount();
    start.assign(n + 1, 0);
    for (std::size_t k = 0; k < m.pipeCount(); ++k) {
        ++start[std::size_t(m.from[k]) + 1];
        ++start[std::size_t(m.to[k]) + 1];
    }
    for (std::size_t i = 0; i < n; ++i)
        start[i + 1] += start[i];
    pipes.resize(std::size_t(start[n]));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (std::size_t k = 0; k < m.pipeCount(); ++k) {
        pipes[std::size_t(fill[std::size_t(m.from[k])]++)] = int(k);
        pipes[std::size_t(fill[std::size_t(m.to[k])]++)] = int(k);
    }
}

int otherEnd(const Arrays &m, int k, int node)
{
    return m.from[std::size_t(k)] == node ? m.to[std::size_t(k)] : m.from[std::size_t(k)];
}

Forest spanningForest(const Arrays &m, const Adjacency &adj)
{
    const std::size_t n = m.nodeCount();
    Forest f;
    f.parentPipe.assign(n, -1);
    f.depth.assign(n, 0);
    f.reached.assign(n, 0);
    f.order.reserve(n);
    for (std::size_t root = 0; root < n; ++root) {
        if (!m.source[root] || f.reached[root])
            continue;
        f.reached[root] = 1;
        f.order.push_back(int(root));
        for (std::size_t head = f.order.size() - 1; head < f.order.size(); ++head) {
            const int u = f.order[head];
            for (int e = adj.start[std::size_t(u)]; e < adj.start[std::size_t(u) + 1]; ++e) {
                const int k = adj.pipes[std::size_t(e)];
                const int v = otherEnd(m, k, u);
                if (f.reached[std::size_t(v)])
                    continue;
                f.reached[std::size_t(v)] = 1;
                f.parentPipe[std::size_t(v)] = k;
                f.depth[std::size_t(v)] = f.depth[std::size_t(u)] + 1;
                f.order.push_back(v);
            }
        }
    }
    return f;
}

// Each pipe outside the forest closes one loop: itself and a short way back between
// its ends through the forest and the pipes taken before it. Every loop has a pipe
// of its own that no earlier loop holds, so the loops are independent; the short way
// makes them the meshes a designer draws rather than long circuits through the tree.
// The way back is searched breadth-first among a bounded number of nodes; past the
// bound, it is the path through the tree.
QList<Loop> independentLoops(const Arrays &m, const Adjacency &adj, const Forest &f)
{
    constexpr int kSearchBound = 256;
    QList<Loop> loops;
    const std::size_t n = m.nodeCount();
    const std::size_t pipes = m.pipeCount();
    std::vector<char> usable(pipes, 0);
    for (const int k : f.parentPipe) {
        if (k >= 0)
            usable[std::size_t(k)] = 1;
    }
    // The pipes outside the forest, those closing the shortest circuits through it
    // first: their meshes then open short ways back for the others.
    constexpr int kLengthBound = 64;
    std::vector<std::pair<int, int>> chords; // length through the tree (bounded), pipe
    for (std::size_t k = 0; k < pipes; ++k) {
        if (usable[k])
            continue;
        int x = m.from[k], y = m.to[k], length = 1;
        while (x != y && length < kLengthBound) {
            int &deeper = f.depth[std::size_t(x)] >= f.depth[std::size_t(y)] ? x : y;
            deeper = otherEnd(m, f.parentPipe[std::size_t(deeper)], deeper);
            ++length;
        }
        chords.emplace_back(length, int(k));
    }
    std::stable_sort(chords.begin(), chords.end(), [](const auto &p, const auto &q) { return p.first < q.first; });
    std::vector<int> seen(n, -1), via(n, -1), queue;
    queue.reserve(kSearchBound);
    for (const auto &[treeLength, chord] : chords) {
        const std::size_t k = std::size_t(chord);
        const int a = m.from[k], b = m.to[k];
        // From b back to a, breadth-first.
        queue.clear();
        queue.push_back(b);
        seen[std::size_t(b)] = int(k);
        bool found = false;
        for (std::size_t head = 0; head < queue.size() && !found && queue.size() < kSearchBound; ++head) {
            const int u = queue[head];
            for (int e = adj.start[std::size_t(u)]; e < adj.start[std::size_t(u) + 1]; ++e) {
                const int j = adj.pipes[std::size_t(e)];
                const int v = otherEnd(m, j, u);
                if (!usable[std::size_t(j)] || seen[std::size_t(v)] == int(k))
                    continue;
                seen[std::size_t(v)] = int(k);
                via[std::size_t(v)] = j;
                queue.push_back(v);
                if (v == a) {
                    found = true;
                    break;
                }
            }
        }
        std::vector<std::pair<int, int>> back; // (pipe, direction) from a back towards b
        if (found) {
            for (int v = a; v != b;) {
                const int j = via[std::size_t(v)];
                const int u = otherEnd(m, j, v);
                back.emplace_back(j, m.from[std::size_t(j)] == u ? 1 : -1);
                v = u;
            }
        } else {
            // Through the tree: climb from both ends to where they meet.
            std::vector<std::pair<int, int>> up; // from b, in the loop's order
            int x = b, y = a;
            while (x != y) {
                if (f.depth[std::size_t(x)] >= f.depth[std::size_t(y)]) {
                    const int j = f.parentPipe[std::size_t(x)];
                    const int u = otherEnd(m, j, x);
                    up.emplace_back(j, m.from[std::size_t(j)] == x ? 1 : -1);
                    x = u;
                } else {
                    const int j = f.parentPipe[std::size_t(y)];
                    const int u = otherEnd(m, j, y);
                    back.emplace_back(j, m.from[std::size_t(j)] == u ? 1 : -1);
                    y = u;
                }
            }
            back.insert(back.end(), up.rbegin(), up.rend());
        }
        Loop loop;
        loop.pipes.reserve(qsizetype(back.size()) + 1);
        loop.directions.reserve(qsizetype(back.size()) + 1);
        loop.pipes << int(k);
        loop.directions << 1;
        for (auto it = back.rbegin(); it != back.rend(); ++it) {
            loop.pipes << it->first;
            loop.directions << it->second;
        }
        loops << loop;
        usable[k] = 1;
    }
    return loops;
}

QList<int> wayIn(const Arrays &m, const Adjacency &adj, const std::vector<double> &flow, int node)
{
    QList<int> way;
    std::vector<char> seen(m.nodeCount(), 0);
    int at = node;
    while (at >= 0 && !seen[std::size_t(at)] && !m.source[std::size_t(at)]) {
        seen[std::size_t(at)] = 1;
        int best = -1;
        double most = 0;
        for (int e = adj.start[std::size_t(at)]; e < adj.start[std::size_t(at) + 1]; ++e) {
            const int k = adj.pipes[std::size_t(e)];
            const double inflow = m.to[std::size_t(k)] == at ? flow[std::size_t(k)] : -flow[std::size_t(k)];
            if (inflow > 0 && (best < 0 || inflow > most)) {
                best = k;
                most = inflow;
            }
        }
        if (best < 0)
            break;
        way.prepend(best);
        at = otherEnd(m, best, at);
    }
    return way;
}

} // namespace network
