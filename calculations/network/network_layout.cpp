#include "network_layout.h"


#include <algorithm>
#include <map>
#include <set>
#include <cmath>
#include <optional>
#include <vector>

namespace network {

namespace {

// Springs need a few rounds over the free nodes; each free node is pushed only by the
// nodes in the cells of a grid around it, so a round costs what the free nodes cost.
constexpr int kSpringNodes = 2000;
constexpr int kSpringRounds = 120;

} // namespace

Layout layOut(const Result &r)
{
    const qsizetype n = r.nodes.size();
    Layout layout;
    layout.points.resize(n);
    layout.automatic.fill(true, n);
    for (qsizetype i = 0; i < n; ++i) {
        if (r.nodes[i].place) {
            layout.points[i] = *r.nodes[i].place;
            layout.automatic[i] = false;
        }
    }
    auto neighbours = std::vector<std::vector<int>>(std::size_t(n));
    double lengthSum = 0;
    int lengthCount = 0;
    for (const PipeResult &p : r.pipes) {
        const int a = p.from, b = p.to;
        if (a < 0 || b < 0 || a == b)
            continue;
        neighbours[std::size_t(a)].push_back(b);
        neighbours[std::size_t(b)].push_back(a);
        if (!layout.automatic[a] && !layout.automatic[b]) {
            lengthSum
                += std::hypot(layout.points[a].x() - layout.points[b].x(), layout.points[a].y() - layout.points[b].y());
            ++lengthCount;
        }
    }
    if (std::none_of(layout.automatic.begin(), layout.automatic.end(), [](bool a) { return a; }))
        return layout;
    // A node between typed ones, as when a pipe was split: at the middle of them.
    std::vector<bool> between(std::size_t(n), false);
    for (qsizetype i = 0; i < n; ++i) {
        if (!layout.automatic[i])
            continue;
        QPointF sum;
        int typed = 0;
        for (const int j : neighbours[std::size_t(i)]) {
            if (!layout.automatic[j]) {
                sum += layout.points[j];
                ++typed;
            }
        }
        if (typed >= 2) {
            layout.points[i] = sum / typed;
            between[std::size_t(i)] = true;
        }
    }
    // The spacing: the typed pipes' mean length, else 100.
    const double step = lengthCount > 0 && lengthSum > 0 ? lengthSum / lengthCount : 100.0;

    // Layers breadth-first from the sources (from the first node where there is none),
    // and the tree they span: each node's children in the order met.
    std::vector<int> depth(std::size_t(n), -1), parent(std::size_t(n), -1), order;
    order.reserve(std::size_t(n));
    auto spread = [&](int root) {
        depth[std::size_t(root)] = 0;
        order.push_back(root);
        for (std::size_t head = order.size() - 1; head < order.size(); ++head) {
            const int u = order[head];
            for (const int v : neighbours[std::size_t(u)]) {
                if (depth[std::size_t(v)] >= 0)
                    continue;
                depth[std::size_t(v)] = depth[std::size_t(u)] + 1;
                parent[std::size_t(v)] = u;
                order.push_back(v);
            }
        }
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (r.nodes[i].source && depth[std::size_t(i)] < 0)
            spread(int(i));
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (depth[std::size_t(i)] < 0)
            spread(int(i));
    }
    // Each leaf takes the next row; a parent sits at the middle of its children.
    std::vector<double> row(std::size_t(n), 0);
    auto children = std::vector<std::vector<int>>(std::size_t(n));
    for (const int v : order) {
        if (parent[std::size_t(v)] >= 0)
            children[std::size_t(parent[std::size_t(v)])].push_back(v);
    }
    double nextRow = 0;
    std::vector<std::pair<int, bool>> stack; // node, children done
    for (const int root : order) {
        if (parent[std::size_t(root)] >= 0)
            continue;
        stack.push_back({root, false});
        while (!stack.empty()) {
            auto [u, done] = stack.back();
            stack.pop_back();
            const auto &kids = children[std::size_t(u)];
            if (kids.empty()) {
                row[std::size_t(u)] = nextRow++;
            } else if (done) {
                row[std::size_t(u)] = (row[std::size_t(kids.front())] + row[std::size_t(kids.back())]) / 2;
            } else {
                stack.push_back({u, true});
                for (auto it = kids.rbegin(); it != kids.rend(); ++it)
                    stack.push_back({*it, false});
            }
        }
        nextRow += 1; // a gap between separate parts
    }
    // The automatic nodes right of the typed ones, if any.
    double left = 0, top = 0;
    bool anyTyped = false;
    for (qsizetype i = 0; i < n; ++i) {
        if (!layout.automatic[i]) {
            left = anyTyped ? std::max(left, layout.points[i].x()) : layout.points[i].x();
            top = anyTyped ? std::max(top, layout.points[i].y()) : layout.points[i].y();
            anyTyped = true;
        }
    }
    if (anyTyped)
        left += 2 * step;
    for (qsizetype i = 0; i < n; ++i) {
        if (layout.automatic[i] && !between[std::size_t(i)])
            layout.points[i] = QPointF(left + depth[std::size_t(i)] * step, top - row[std::size_t(i)] * step);
    }

    // A looped network: springs along the pipes, near nodes pushed apart, the typed
    // nodes held; the moves cool down round by round.
    const qsizetype pipes = r.pipes.size();
    const bool looped = pipes >= n;
    std::vector<int> free;
    for (qsizetype i = 0; i < n; ++i) {
        if (layout.automatic[i])
            free.push_back(int(i));
    }
    if (!looped || free.size() > std::size_t(kSpringNodes))
        return layout;
    const double k2 = step * step;
    // Nodes farther apart than this do not push each other.
    const double reach = 3 * step;
    // Places as far as a typed coordinate can be share the outermost cells.
    auto cellOf = [reach](QPointF p) {
        auto cell = [reach](double v) {
            const double c = std::floor(v / reach);
            return qint64(std::isfinite(c) ? std::clamp(c, -1e12, 1e12) : 0.0);
        };
        return std::pair<qint64, qint64>(cell(p.x()), cell(p.y()));
    };
    // The typed nodes near the free ones, found once; the free ones again each round.
    std::map<std::pair<qint64, qint64>, std::vector<int>> typedCells;
    {
        std::set<std::pair<qint64, qint64>> wanted;
        for (const int i : free) {
            const auto [cx, cy] = cellOf(layout.points[i]);
            for (qint64 dx = -3; dx <= 3; ++dx)
                for (qint64 dy = -3; dy <= 3; ++dy)
                    wanted.insert({cx + dx, cy + dy});
        }
        for (qsizetype i = 0; i < n; ++i) {
            if (!layout.automatic[i] && wanted.count(cellOf(layout.points[i])))
                typedCells[cellOf(layout.points[i])].push_back(int(i));
        }
    }
    auto move = std::vector<QPointF>(free.size());
    std::map<std::pair<qint64, qint64>, std::vector<int>> freeCells;
    for (int round = 0; round < kSpringRounds; ++round) {
        freeCells.clear();
        for (const int i : free)
            freeCells[cellOf(layout.points[i])].push_back(i);
        for (std::size_t f = 0; f < free.size(); ++f) {
            const int i = free[f];
            QPointF m;
            const auto [cx, cy] = cellOf(layout.points[i]);
            for (qint64 dx = -1; dx <= 1; ++dx) {
                for (qint64 dy = -1; dy <= 1; ++dy) {
                    for (const auto *cells : {&freeCells, &typedCells}) {
                        const auto found = cells->find({cx + dx, cy + dy});
                        if (found == cells->end())
                            continue;
                        for (const int j : found->second) {
                            if (j == i)
                                continue;
                            const QPointF d = layout.points[i] - layout.points[j];
                            const double d2 = std::max(QPointF::dotProduct(d, d), 1e-6 * k2);
                            m += d * (k2 / d2);
                        }
                    }
                }
            }
            for (const int j : neighbours[std::size_t(i)]) {
                const QPointF d = layout.points[i] - layout.points[j];
                m -= d * (std::hypot(d.x(), d.y()) / step);
            }
            move[f] = m;
        }
        const double limit = step * (1.0 - double(round) / kSpringRounds) * 0.5 + 1e-3 * step;
        for (std::size_t f = 0; f < free.size(); ++f) {
            QPointF m = move[f];
            const double length = std::hypot(m.x(), m.y());
            if (length > limit)
                m *= limit / length;
            if (std::isfinite(m.x()) && std::isfinite(m.y()))
                layout.points[free[f]] += m;
        }
    }
    return layout;
}

} // namespace network
