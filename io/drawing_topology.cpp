#include "drawing_topology.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace drawing {

namespace {

double distance(Point a, Point b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The nearest point of segment ab to p, as a parameter from 0 at a to 1 at b, and its distance.
struct Foot
{
    double t = 0;
    double distance = 0;
};

Foot foot(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double squared = dx * dx + dy * dy;
    double t = squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / squared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return {t, distance(p, {a.x + t * dx, a.y + t * dy})};
}

double distanceToPipe(Point p, const Pipe &pipe)
{
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t j = 0; j + 1 < pipe.points.size(); ++j)
        best = std::min(best, foot(p, pipe.points[j], pipe.points[j + 1]).distance);
    return pipe.points.size() == 1 ? distance(p, pipe.points[0]) : best;
}

// The point at a length along a pipe, and the segment it falls on.
struct Station
{
    Point at;
    std::size_t segment = 0;
    double t = 0;
};

Station stationAt(const Pipe &pipe, double s)
{
    const std::vector<double> &a = pipe.along;
    std::size_t j = std::size_t(std::upper_bound(a.begin(), a.end(), s) - a.begin());
    j = std::clamp<std::size_t>(j, 1, a.size() - 1) - 1;
    const double span = a[j + 1] - a[j];
    const double t = span > 0 ? std::clamp((s - a[j]) / span, 0.0, 1.0) : 0;
    const Point p = pipe.points[j], q = pipe.points[j + 1];
    return {{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)}, j, t};
}

// A uniform grid of cells: a hash of cell indices to the items in them. Far cells may share a
// bucket; every caller checks distances, so that costs only time.
class Grid
{
public:
    explicit Grid(double cell)
        : m_cell(cell > 0 ? cell : 1e-6)
    {}
    // Clamped, so that no coordinate, however wild, makes an index out of range.
    std::int64_t index(double v) const
    {
        const double i = std::floor(v / m_cell);
        return i > -1e15 ? (i < 1e15 ? std::int64_t(i) : std::int64_t(1e15)) : std::int64_t(-1e15);
    }
    void add(std::int64_t i, std::int64_t j, int item)
    {
        std::vector<int> &items = m_cells[key(i, j)];
        if (items.empty() || items.back() != item)
            items.push_back(item);
    }
    // Every item in the cells that the box around p reaches.
    template<typename F>
    void near(Point p, double reach, F &&visit) const
    {
        for (std::int64_t i = index(p.x - reach); i <= index(p.x + reach); ++i) {
            for (std::int64_t j = index(p.y - reach); j <= index(p.y + reach); ++j) {
                const auto found = m_cells.find(key(i, j));
                if (found != m_cells.end()) {
                    for (const int item : found->second)
                        visit(item);
                }
            }
        }
    }

private:
    static std::uint64_t key(std::int64_t i, std::int64_t j)
    {
        return (std::uint64_t(i) << 32) ^ (std::uint64_t(j) & 0xffffffffu);
    }
    double m_cell;
    std::unordered_map<std::uint64_t, std::vector<int>> m_cells;
};

// Moves a pipe's end points onto its nodes; the end segments keep their ratio of length to
// chord, so an arc stays an arc.
void moveEnds(Pipe &pipe, Point from, Point to)
{
    std::vector<Point> &p = pipe.points;
    std::vector<double> &a = pipe.along;
    const std::size_t n = p.size();
    std::vector<double> lengths(n - 1);
    for (std::size_t j = 0; j + 1 < n; ++j)
        lengths[j] = a[j + 1] - a[j];
    const double firstChord = distance(p[0], p[1]), lastChord = distance(p[n - 2], p[n - 1]);
    p.front() = from;
    p.back() = to;
    auto rescale = [&](std::size_t j, double chord) {
        const double now = distance(p[j], p[j + 1]);
        lengths[j] = chord > 0 ? lengths[j] * now / chord : now;
    };
    rescale(0, firstChord);
    if (n > 2)
        rescale(n - 2, lastChord);
    a.assign(1, 0.0);
    for (const double l : lengths)
        a.push_back(a.back() + l);
}

} // namespace

std::vector<double> chordLengths(const std::vector<Point> &points)
{
    std::vector<double> along{0.0};
    for (std::size_t j = 1; j < points.size(); ++j)
        along.push_back(along.back() + distance(points[j - 1], points[j]));
    return along;
}

std::vector<double> lengthsWithArcs(const std::vector<Point> &points, double maxStep)
{
    const std::size_t n = points.size();
    if (n < 3)
        return chordLengths(points);
    std::vector<double> chord(n - 1), length(n - 1), turn(n, 0.0);
    for (std::size_t j = 0; j + 1 < n; ++j)
        length[j] = chord[j] = distance(points[j], points[j + 1]);
    for (std::size_t j = 1; j + 1 < n; ++j) {
        const double ux = points[j].x - points[j - 1].x, uy = points[j].y - points[j - 1].y;
        const double vx = points[j + 1].x - points[j].x, vy = points[j + 1].y - points[j].y;
        turn[j] = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    }
    // Vertex j links chords j-1 and j when they are equal and turn by a small angle; a run of
    // links turning by the same angle is one arc, each chord standing for R * angle.
    constexpr double kSameLength = 1e-6, kSameAngle = 1e-6;
    auto links = [&](std::size_t j) {
        return std::abs(chord[j - 1] - chord[j]) <= kSameLength * chord[j] && std::abs(turn[j]) > 1e-9
            && std::abs(turn[j]) <= maxStep;
    };
    std::size_t j = 1;
    while (j + 1 < n) {
        if (!links(j)) {
            ++j;
            continue;
        }
        std::size_t end = j + 1;
        while (end + 1 < n && links(end) && std::abs(turn[end] - turn[j]) <= kSameAngle
               && std::abs(chord[end] - chord[j]) <= kSameLength * chord[j])
            ++end;
        double angle = 0;
        for (std::size_t k = j; k < end; ++k)
            angle += std::abs(turn[k]);
        angle /= double(end - j);
        const double factor = (angle / 2) / std::sin(angle / 2);
        for (std::size_t k = j - 1; k < end; ++k)
            length[k] = chord[k] * factor;
        j = end;
    }
    std::vector<double> along{0.0};
    for (const double l : length)
        along.push_back(along.back() + l);
    return along;
}

Joined joinEnds(const std::vector<Line> &lines, double tolerance)
{
    Joined joined;
    std::vector<Point> &nodes = joined.network.nodes;
    Grid grid(tolerance);
    auto nodeAt = [&](Point p) {
        int best = -1;
        double bestDistance = std::numeric_limits<double>::infinity();
        grid.near(p, tolerance, [&](int k) {
            const double d = distance(p, nodes[std::size_t(k)]);
            if ((d < tolerance || d == 0) && d < bestDistance) {
                best = k;
                bestDistance = d;
            }
        });
        if (best >= 0) {
            if (bestDistance > 0)
                ++joined.mergedEnds;
            return best;
        }
        nodes.push_back(p);
        grid.add(grid.index(p.x), grid.index(p.y), int(nodes.size() - 1));
        return int(nodes.size() - 1);
    };
    joined.network.pipes.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        if (line.points.empty())
            continue;
        Pipe pipe;
        pipe.points = line.points;
        pipe.along = line.along;
        if (pipe.points.size() == 1) {
            pipe.points.push_back(pipe.points.front());
            pipe.along = {0.0, 0.0};
        }
        pipe.line = int(i);
        pipe.from = nodeAt(pipe.points.front());
        pipe.to = nodeAt(pipe.points.back());
        moveEnds(pipe, nodes[std::size_t(pipe.from)], nodes[std::size_t(pipe.to)]);
        joined.network.pipes.push_back(std::move(pipe));
    }
    return joined;
}

int makeTees(Network &network, double tolerance)
{
    struct Segment
    {
        int pipe;
        std::size_t index;
    };
    std::vector<Segment> segments;
    double total = 0;
    for (std::size_t k = 0; k < network.pipes.size(); ++k) {
        const Pipe &pipe = network.pipes[k];
        for (std::size_t j = 0; j + 1 < pipe.points.size(); ++j) {
            segments.push_back({int(k), j});
            total += distance(pipe.points[j], pipe.points[j + 1]);
        }
    }
    if (segments.empty())
        return 0;
    // Cells about as long as a segment: each segment then sits in a few cells, and a long one
    // is entered piece by piece along its length rather than by its whole bounding box.
    const double cell = std::max(tolerance, total / double(segments.size()));
    Grid grid(cell);
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Pipe &pipe = network.pipes[std::size_t(segments[s].pipe)];
        const Point a = pipe.points[segments[s].index], b = pipe.points[segments[s].index + 1];
        const int pieces = std::max(1, int(std::ceil(distance(a, b) / cell)));
        for (int i = 0; i < pieces; ++i) {
            const double t0 = double(i) / pieces, t1 = double(i + 1) / pieces;
            const double x0 = a.x + t0 * (b.x - a.x), x1 = a.x + t1 * (b.x - a.x);
            const double y0 = a.y + t0 * (b.y - a.y), y1 = a.y + t1 * (b.y - a.y);
            for (std::int64_t gx = grid.index(std::min(x0, x1) - tolerance);
                 gx <= grid.index(std::max(x0, x1) + tolerance); ++gx) {
                for (std::int64_t gy = grid.index(std::min(y0, y1) - tolerance);
                     gy <= grid.index(std::max(y0, y1) + tolerance); ++gy)
                    grid.add(gx, gy, int(s));
            }
        }
    }

    struct Cut
    {
        std::size_t segment;
        double t;
        int node;
    };
    std::vector<std::vector<Cut>> cuts(network.pipes.size());
    int tees = 0;
    for (std::size_t v = 0; v < network.nodes.size(); ++v) {
        const Point p = network.nodes[v];
        int bestSegment = -1;
        Foot best{0, std::numeric_limits<double>::infinity()};
        grid.near(p, 0, [&](int s) {
            const Segment &segment = segments[std::size_t(s)];
            const Pipe &pipe = network.pipes[std::size_t(segment.pipe)];
            if (pipe.from == int(v) || pipe.to == int(v))
                return;
            const Foot f = foot(p, pipe.points[segment.index], pipe.points[segment.index + 1]);
            if (f.distance >= tolerance || f.distance > best.distance
                || (f.distance == best.distance && s > bestSegment))
                return;
            if (distance(p, network.nodes[std::size_t(pipe.from)]) <= tolerance
                || distance(p, network.nodes[std::size_t(pipe.to)]) <= tolerance)
                return;
            best = f;
            bestSegment = s;
        });
        if (bestSegment >= 0) {
            const Segment &segment = segments[std::size_t(bestSegment)];
            cuts[std::size_t(segment.pipe)].push_back({segment.index, best.t, int(v)});
            ++tees;
        }
    }
    if (tees == 0)
        return 0;

    std::vector<Pipe> pipes;
    pipes.reserve(network.pipes.size() + std::size_t(tees));
    for (std::size_t k = 0; k < network.pipes.size(); ++k) {
        Pipe &whole = network.pipes[k];
        std::vector<Cut> &here = cuts[k];
        if (here.empty()) {
            pipes.push_back(std::move(whole));
            continue;
        }
        std::sort(here.begin(), here.end(), [](const Cut &a, const Cut &b) {
            return a.segment != b.segment ? a.segment < b.segment : a.t < b.t;
        });
        Pipe piece;
        piece.line = whole.line;
        piece.from = whole.from;
        piece.points = {whole.points.front()};
        piece.along = {whole.along.front()};
        std::size_t next = 1;
        auto takeBends = [&](std::size_t until, double before) {
            for (; next < until; ++next) {
                if (whole.along[next] > piece.along.back() && whole.along[next] < before) {
                    piece.points.push_back(whole.points[next]);
                    piece.along.push_back(whole.along[next]);
                }
            }
        };
        for (const Cut &cut : here) {
            const double s
                = whole.along[cut.segment] + cut.t * (whole.along[cut.segment + 1] - whole.along[cut.segment]);
            takeBends(cut.segment + 1, s);
            piece.points.push_back(network.nodes[std::size_t(cut.node)]);
            piece.along.push_back(s);
            piece.to = cut.node;
            Pipe rest;
            rest.line = whole.line;
            rest.from = cut.node;
            rest.points = {piece.points.back()};
            rest.along = {s};
            pipes.push_back(std::move(piece));
            piece = std::move(rest);
        }
        takeBends(whole.points.size() - 1, whole.along.back());
        piece.points.push_back(whole.points.back());
        piece.along.push_back(whole.along.back());
        piece.to = whole.to;
        pipes.push_back(std::move(piece));
    }
    network.pipes = std::move(pipes);
    return tees;
}

int dropZeroLength(Network &network, double tolerance)
{
    int dropped = 0;
    std::vector<Pipe> pipes;
    pipes.reserve(network.pipes.size());
    for (Pipe &pipe : network.pipes) {
        if (pipe.from != pipe.to) {
            pipes.push_back(std::move(pipe));
            continue;
        }
        const Point node = network.nodes[std::size_t(pipe.from)];
        const bool collapsed = std::all_of(pipe.points.begin(), pipe.points.end(),
                                           [&](Point p) { return distance(p, node) <= tolerance; });
        if (collapsed) {
            ++dropped;
            continue;
        }
        const Station half = stationAt(pipe, (pipe.along.front() + pipe.along.back()) / 2);
        const double s = (pipe.along.front() + pipe.along.back()) / 2;
        network.nodes.push_back(half.at);
        const int middleNode = int(network.nodes.size() - 1);
        Pipe first, second;
        first.line = second.line = pipe.line;
        first.from = second.to = pipe.from;
        first.to = second.from = middleNode;
        for (std::size_t j = 0; j < pipe.points.size(); ++j) {
            if (j <= half.segment) {
                first.points.push_back(pipe.points[j]);
                first.along.push_back(pipe.along[j]);
            } else if (pipe.along[j] > s) {
                second.points.push_back(pipe.points[j]);
                second.along.push_back(pipe.along[j]);
            }
        }
        if (first.along.back() >= s) {
            first.points.pop_back();
            first.along.pop_back();
        }
        first.points.push_back(half.at);
        first.along.push_back(s);
        second.points.insert(second.points.begin(), half.at);
        second.along.insert(second.along.begin(), s);
        pipes.push_back(std::move(first));
        pipes.push_back(std::move(second));
    }
    network.pipes = std::move(pipes);

    std::vector<int> renumbered(network.nodes.size(), -1);
    for (const Pipe &pipe : network.pipes)
        renumbered[std::size_t(pipe.from)] = renumbered[std::size_t(pipe.to)] = 0;
    std::vector<Point> nodes;
    for (std::size_t v = 0; v < network.nodes.size(); ++v) {
        if (renumbered[v] == 0) {
            renumbered[v] = int(nodes.size());
            nodes.push_back(network.nodes[v]);
        }
    }
    for (Pipe &pipe : network.pipes) {
        pipe.from = renumbered[std::size_t(pipe.from)];
        pipe.to = renumbered[std::size_t(pipe.to)];
    }
    network.nodes = std::move(nodes);
    return dropped;
}

int countParts(const Network &network)
{
    std::vector<int> parent(network.nodes.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int v) {
        while (parent[std::size_t(v)] != v)
            v = parent[std::size_t(v)] = parent[std::size_t(parent[std::size_t(v)])];
        return v;
    };
    int parts = int(network.nodes.size());
    for (const Pipe &pipe : network.pipes) {
        const int a = root(pipe.from), b = root(pipe.to);
        if (a != b) {
            parent[std::size_t(a)] = b;
            --parts;
        }
    }
    return parts;
}

int countDangling(const Network &network)
{
    std::vector<int> degree(network.nodes.size(), 0);
    for (const Pipe &pipe : network.pipes) {
        ++degree[std::size_t(pipe.from)];
        ++degree[std::size_t(pipe.to)];
    }
    return int(std::count(degree.begin(), degree.end(), 1));
}

Point middle(const Pipe &pipe)
{
    return stationAt(pipe, (pipe.along.front() + pipe.along.back()) / 2).at;
}

std::vector<int> placeLabels(const Network &network, const std::vector<Point> &labels, double distance)
{
    const std::size_t count = network.pipes.size();
    std::vector<Point> middles(count);
    Grid grid(distance);
    for (std::size_t k = 0; k < count; ++k) {
        middles[k] = middle(network.pipes[k]);
        grid.add(grid.index(middles[k].x), grid.index(middles[k].y), int(k));
    }
    std::vector<int> label(count, -1);
    std::vector<double> labelDistance(count, std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Point p = labels[i];
        int nearest = -1;
        double nearestDistance = std::numeric_limits<double>::infinity();
        grid.near(p, distance, [&](int k) {
            if (drawing::distance(p, middles[std::size_t(k)]) > distance)
                return;
            const double d = distanceToPipe(p, network.pipes[std::size_t(k)]);
            if (d < nearestDistance || (d == nearestDistance && k < nearest)) {
                nearest = k;
                nearestDistance = d;
            }
        });
        if (nearest < 0)
            continue;
        const double toMiddle = drawing::distance(p, middles[std::size_t(nearest)]);
        if (toMiddle < labelDistance[std::size_t(nearest)]) {
            labelDistance[std::size_t(nearest)] = toMiddle;
            label[std::size_t(nearest)] = int(i);
        }
    }
    return label;
}

} // namespace drawing
