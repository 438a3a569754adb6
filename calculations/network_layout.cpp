#include "network_layout.h"

#include "number_text.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace network {

namespace {

std::optional<double> typedNumber(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const NumberRead read = readLeadingNumber(text);
    if (!read.whole || !std::isfinite(read.value))
        return std::nullopt;
    return read.value;
}

// A force-directed layout costs the square of the nodes placed each round: past
// this many, the layers alone place them.
constexpr int kSpringNodes = 600;
constexpr int kSpringRounds = 120;

} // namespace

Layout layOut(const Network &net)
{
    const qsizetype n = net.nodes.size();
    Layout layout;
    layout.points.resize(n);
    layout.automatic.fill(true, n);
    QHash<QString, int> index;
    for (qsizetype i = 0; i < n; ++i) {
        index.insert(net.nodes[i].node.trimmed(), int(i));
        const std::optional<double> x = typedNumber(net.nodes[i].x), y = typedNumber(net.nodes[i].y);
        if (x && y) {
            layout.points[i] = QPointF(*x, *y);
            layout.automatic[i] = false;
        }
    }
    auto neighbours = std::vector<std::vector<int>>(std::size_t(n));
    double lengthSum = 0;
    int lengthCount = 0;
    for (const PipeRow &p : net.pipes) {
        const int a = index.value(p.from.trimmed(), -1), b = index.value(p.to.trimmed(), -1);
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
        if (!net.nodes[i].sourcePressure.trimmed().isEmpty() && depth[std::size_t(i)] < 0)
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

    // A looped network: springs along the pipes, every pair pushed apart, the typed
    // nodes held; the moves cool down round by round.
    const qsizetype pipes = net.pipes.size();
    const bool looped = pipes >= n;
    const qsizetype free = std::count(layout.automatic.begin(), layout.automatic.end(), true);
    if (!looped || free > kSpringNodes)
        return layout;
    const double k2 = step * step;
    auto move = std::vector<QPointF>(std::size_t(n));
    for (int round = 0; round < kSpringRounds; ++round) {
        std::fill(move.begin(), move.end(), QPointF());
        for (qsizetype i = 0; i < n; ++i) {
            if (!layout.automatic[i])
                continue;
            for (qsizetype j = 0; j < n; ++j) {
                if (i == j)
                    continue;
                const QPointF d = layout.points[i] - layout.points[j];
                const double d2 = std::max(QPointF::dotProduct(d, d), 1e-6 * k2);
                move[std::size_t(i)] += d * (k2 / d2);
            }
            for (const int j : neighbours[std::size_t(i)]) {
                const QPointF d = layout.points[i] - layout.points[j];
                move[std::size_t(i)] -= d * (std::hypot(d.x(), d.y()) / step);
            }
        }
        const double limit = step * (1.0 - double(round) / kSpringRounds) * 0.5 + 1e-3 * step;
        for (qsizetype i = 0; i < n; ++i) {
            if (!layout.automatic[i])
                continue;
            QPointF m = move[std::size_t(i)];
            const double length = std::hypot(m.x(), m.y());
            if (length > limit)
                m *= limit / length;
            if (std::isfinite(m.x()) && std::isfinite(m.y()))
                layout.points[i] += m;
        }
    }
    return layout;
}

} // namespace network
