#include "network.h"

#include "calculation.h"
#include "descriptions.h"
#include "hs.h"
#include "number_text.h"
#include "pd.h"
#include "sections.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace network {

namespace {

constexpr int kMaxIterations = 200;
// The Reynolds numbers where the low-pressure law changes its formula.
constexpr double kLaminarEnd = 2100;
constexpr double kTurbulentStart = 3500;
// The width of the band, relative to the boundary flow, over which a looped
// network's law passes from one formula to the next; a pipe whose flow ends in it
// is held at the boundary.
constexpr double kBand = 1e-12;

// The network as numbers, pipes and nodes by index.
struct Model
{
    bool low = true;
    double rho = 0, nu = 0, T = 0, w = 1, minPressure = 0;
    std::vector<double> load, z;
    std::vector<char> source;
    std::vector<double> sourcePressure, fixedPotential;
    std::vector<int> from, to, material;
    std::vector<double> length, diameter;
    std::vector<char> automatic;
};

} // namespace

std::optional<int> materialOf(const QString &text)
{
    const QString t = text.trimmed();
    const calc::Choice materials = calc::pipeMaterials(QString());
    for (std::size_t i = 0; i < materials.options.size(); ++i) {
        if (t == materials.options[i].caption || t == QString::number(i + 1))
            return int(i);
    }
    return std::nullopt;
}

namespace {

// The drop of one pipe, potential from minus potential to, for a flow of either sign.
struct Law
{
    const Model &m;

    // Unit drop (Pa/m or kPa^2/km) of a diameter at a flow magnitude, as the section screens compute it.
    double unitDrop(int material, double d, double q) const
    {
        if (q <= 0)
            return 0;
        if (m.low)
            return calc::lowSection(q, m.nu, m.T, m.rho, material, d).drop;
        return calc::highDrop(material)(q, m.nu, m.rho, m.T, d);
    }

    double boundaryFlow(double reynolds, double d) const { return reynolds * 0.9 * hs::kPi * d * m.nu; }

    // The unit drop of a pipe of a looped network, passing from one formula to the
    // next over a narrow band below the laminar end and above the turbulent start.
    double bandedUnitDrop(int k, double q) const
    {
        const double d = m.diameter[std::size_t(k)];
        const int mat = m.material[std::size_t(k)];
        const int z = zone(k, q);
        if (z != 1 && z != 3)
            return unitDrop(mat, d, q);
        const auto [lo, hi] = band(k, z);
        // The formula below the boundary at the band's lower edge, the one above at its upper edge;
        // the critical formula by name, where rounding could put the boundary itself on either side.
        const double critical = hs::LowPressureCriticalDrop(z == 1 ? hi : lo, m.nu, m.T, m.rho, d);
        const double a = z == 1 ? unitDrop(mat, d, lo) : critical;
        const double b = z == 1 ? critical : unitDrop(mat, d, hi);
        return a + (b - a) * (q - lo) / (hi - lo);
    }

    double scale(int k) const { return m.length[std::size_t(k)] * m.w; }

    // Where a flow lies: 0 laminar, 1 the band at the laminar end, 2 critical,
    // 3 the band at the turbulent start, 4 turbulent (always 4 for medium/high pressure).
    int zone(int k, double q) const
    {
        if (!m.low)
            return 4;
        const double d = m.diameter[std::size_t(k)];
        const double ql = boundaryFlow(kLaminarEnd, d), qt = boundaryFlow(kTurbulentStart, d);
        if (q < ql * (1 - kBand))
            return 0;
        if (q < ql)
            return 1;
        if (q <= qt)
            return 2;
        return q < qt * (1 + kBand) ? 3 : 4;
    }

    // The flows at the edges of a band (1 or 3) of a pipe.
    std::pair<double, double> band(int k, int zone) const
    {
        const double d = m.diameter[std::size_t(k)];
        if (zone == 1) {
            const double ql = boundaryFlow(kLaminarEnd, d);
            return {ql * (1 - kBand), ql};
        }
        const double qt = boundaryFlow(kTurbulentStart, d);
        return {qt, qt * (1 + kBand)};
    }

    double drop(int k, double Q, bool banded) const
    {
        const double q = std::fabs(Q);
        const double i
            = banded ? bandedUnitDrop(k, q) : unitDrop(m.material[std::size_t(k)], m.diameter[std::size_t(k)], q);
        return std::copysign(i * scale(k), Q);
    }
};

// ---- Reading and refusals ----

struct Reading
{
    Model model;
    std::optional<Problem> problem;
};

Problem problemAt(Problem::Table table, int row, const QString &column, const QString &text)
{
    return Problem{table, row, column, text};
}

Reading read(const Network &net)
{
    Reading r;
    Model &m = r.model;
    const Settings &s = net.settings;
    m.low = s.pressure == Pressure::Low;
    auto refuse = [&r](Problem p) {
        r.problem = std::move(p);
        return r;
    };
    struct Named
    {
        const QString *text;
        const char *key;
        const char *caption;
        double *into;
        bool zeroAllowed;
    };
    double a = 0;
    const QString localPercent = s.localPercent.trimmed().isEmpty() ? QStringLiteral("10") : s.localPercent;
    const Named settings[] = {
        {&s.density, "density", "燃气密度", &m.rho, false},
        {&s.viscosity, "viscosity", "运动粘度", &m.nu, false},
        {&s.temperature, "temperature", "燃气温度", &m.T, false},
        {&localPercent, "local_percent", "局部阻力", &a, true},
        {&s.minPressure, "min_pressure", "最低压力", &m.minPressure, false},
    };
    for (const Named &n : settings) {
        *n.into = parseLeadingNumber(*n.text);
        const bool ok = std::isfinite(*n.into) && (n.zeroAllowed ? *n.into >= 0 : *n.into > 0);
        if (!ok)
            return refuse(problemAt(
                Problem::Table::Settings, -1, QString::fromLatin1(n.key),
                QStringLiteral("%1应%2").arg(QString::fromUtf8(n.caption),
                                             n.zeroAllowed ? QStringLiteral("不小于0") : QStringLiteral("大于0"))));
    }
    if (s.material < 0 || s.material > 2)
        return refuse(
            problemAt(Problem::Table::Settings, -1, QStringLiteral("material"), QStringLiteral("未知的管材")));
    m.w = 1 + a / 100;

    QHash<QString, int> nodeIndex;
    bool anySource = false;
    for (int i = 0; i < net.nodes.size(); ++i) {
        const NodeRow &row = net.nodes[i];
        const QString id = row.node.trimmed();
        auto at = [i](const char *column, const QString &text) {
            return problemAt(Problem::Table::Nodes, i, QString::fromLatin1(column), text);
        };
        if (id.isEmpty())
            return refuse(at("node", QStringLiteral("节点编号为空")));
        if (nodeIndex.contains(id))
            return refuse(at("node", QStringLiteral("节点“%1”重复").arg(id)));
        nodeIndex.insert(id, i);
        const double load = parseLeadingNumber(row.load);
        if (!std::isfinite(load) || load < 0)
            return refuse(at("load", QStringLiteral("节点“%1”的负荷应不小于0").arg(id)));
        const double z = m.low ? parseLeadingNumber(row.elevation) : 0.0;
        if (!std::isfinite(z))
            return refuse(at("elevation", QStringLiteral("节点“%1”的高程超出计算范围").arg(id)));
        const bool isSource = !row.sourcePressure.trimmed().isEmpty();
        double p = 0;
        if (isSource) {
            p = parseLeadingNumber(row.sourcePressure);
            if (!std::isfinite(p) || p <= 0)
                return refuse(at("source_pressure", QStringLiteral("节点“%1”的气源压力应大于0").arg(id)));
            anySource = true;
        }
        m.load.push_back(load);
        m.z.push_back(z);
        m.source.push_back(isSource);
        m.sourcePressure.push_back(p);
        m.fixedPotential.push_back(m.low ? p - ((hs::kAirDensity - m.rho) * z) * hs::kGravity : p * p);
    }
    QHash<QString, int> pipeIds;
    for (int k = 0; k < net.pipes.size(); ++k) {
        const PipeRow &row = net.pipes[k];
        const QString id = row.pipe.trimmed();
        auto at = [k](const char *column, const QString &text) {
            return problemAt(Problem::Table::Pipes, k, QString::fromLatin1(column), text);
        };
        if (id.isEmpty())
            return refuse(at("pipe", QStringLiteral("管段编号为空")));
        if (pipeIds.contains(id))
            return refuse(at("pipe", QStringLiteral("管段“%1”重复").arg(id)));
        pipeIds.insert(id, k);
        const auto f = nodeIndex.constFind(row.from.trimmed());
        if (f == nodeIndex.constEnd())
            return refuse(at("from", QStringLiteral("管段“%1”的起点“%2”不是节点").arg(id, row.from.trimmed())));
        const auto t = nodeIndex.constFind(row.to.trimmed());
        if (t == nodeIndex.constEnd())
            return refuse(at("to", QStringLiteral("管段“%1”的终点“%2”不是节点").arg(id, row.to.trimmed())));
        if (*f == *t)
            return refuse(at("to", QStringLiteral("管段“%1”的起点与终点相同").arg(id)));
        const double L = parseLeadingNumber(row.length);
        if (!std::isfinite(L) || L <= 0)
            return refuse(at("length", QStringLiteral("管段“%1”的管长应大于0").arg(id)));
        const bool automatic = row.diameter.trimmed().isEmpty();
        const double d = automatic ? 0 : parseLeadingNumber(row.diameter);
        if (!automatic && (!std::isfinite(d) || d <= 0))
            return refuse(at("diameter", QStringLiteral("管段“%1”的管径应大于0").arg(id)));
        int material = s.material;
        if (!row.material.trimmed().isEmpty()) {
            const std::optional<int> named = materialOf(row.material);
            if (!named)
                return refuse(at("material", QStringLiteral("管段“%1”的管材“%2”未知").arg(id, row.material.trimmed())));
            material = *named;
        }
        m.from.push_back(*f);
        m.to.push_back(*t);
        m.length.push_back(L);
        m.diameter.push_back(d);
        m.automatic.push_back(automatic);
        m.material.push_back(material);
    }
    if (!anySource)
        return refuse(problemAt(Problem::Table::Nodes, -1, QStringLiteral("source_pressure"),
                                QStringLiteral("管网没有气源：至少一个节点须录入气源压力")));
    return r;
}

// ---- The graph ----

// Pipes by node, as a compressed adjacency list.
struct Adjacency
{
    std::vector<int> start, pipes;

    Adjacency(const Model &m)
    {
        const std::size_t n = m.load.size();
        start.assign(n + 1, 0);
        for (std::size_t k = 0; k < m.from.size(); ++k) {
            ++start[std::size_t(m.from[k]) + 1];
            ++start[std::size_t(m.to[k]) + 1];
        }
        for (std::size_t i = 0; i < n; ++i)
            start[i + 1] += start[i];
        pipes.resize(std::size_t(start[n]));
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (std::size_t k = 0; k < m.from.size(); ++k) {
            pipes[std::size_t(fill[std::size_t(m.from[k])]++)] = int(k);
            pipes[std::size_t(fill[std::size_t(m.to[k])]++)] = int(k);
        }
    }
};

int otherEnd(const Model &m, int k, int node)
{
    return m.from[std::size_t(k)] == node ? m.to[std::size_t(k)] : m.from[std::size_t(k)];
}

// A spanning forest grown breadth-first, one tree for each connected part of the
// network, rooted at its first source: each node's parent pipe (-1 at a root or an
// unreached node), in the order nodes were reached. Every pipe outside it closes
// one independent loop, and every node it reaches has a source.
struct Forest
{
    std::vector<int> parentPipe, depth, order;
    std::vector<char> reached;
};

Forest spanningForest(const Model &m, const Adjacency &adj)
{
    const std::size_t n = m.load.size();
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

// Flows of a forest that carries every load to its source: each tree pipe carries
// the loads beyond it; other pipes carry nothing.
std::vector<double> forestFlows(const Model &m, const Forest &f)
{
    std::vector<double> flow(m.from.size(), 0.0);
    std::vector<double> beyond(m.load.begin(), m.load.end());
    for (auto it = f.order.rbegin(); it != f.order.rend(); ++it) {
        const int v = *it;
        const int k = f.parentPipe[std::size_t(v)];
        if (k < 0)
            continue;
        // Towards v: positive when v is the pipe's `to`.
        flow[std::size_t(k)] = m.to[std::size_t(k)] == v ? beyond[std::size_t(v)] : -beyond[std::size_t(v)];
        beyond[std::size_t(otherEnd(m, k, v))] += beyond[std::size_t(v)];
    }
    return flow;
}

// ---- Sizing a tree ----

// Sizes the automatic pipes of a tree with one source and sets the potentials,
// the main line first and each branch from the potential left at its take-off.
void sizeTree(Model &m, const Adjacency &adj, const Forest &f, const std::vector<double> &flow,
              std::vector<double> &potential, std::vector<char> &noDiameter)
{
    const Law law{m};
    const std::size_t n = m.load.size();
    const auto &series = m.low ? pd::kLowPressureSection : pd::kHighPressureSection;
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
        const double d = law.drop(k, flow[std::size_t(k)], false);
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
            span[std::size_t(v)] += law.scale(k);
        else
            typed[std::size_t(v)] += std::fabs(law.drop(k, flow[std::size_t(k)], false));
    }
    // The lowest potential each node may have.
    auto lowest = [&m](std::size_t v) {
        return m.low ? m.minPressure - ((hs::kAirDensity - m.rho) * m.z[v]) * hs::kGravity
                     : m.minPressure * m.minPressure;
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
                double chosen = 0;
                for (const double d : series) {
                    if (i > 0 && law.unitDrop(m.material[std::size_t(k)], d, q) <= i) {
                        chosen = d;
                        break;
                    }
                }
                if (chosen == 0) {
                    chosen = series.back();
                    noDiameter[std::size_t(k)] = 1;
                }
                m.diameter[std::size_t(k)] = chosen;
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

// ---- Solving a looped or multi-source network ----

struct Solution
{
    bool converged = false;
    int iterations = 0;
    double worstImbalance = 0;
    int worstImbalanceNode = -1;
};

Solution solveLooped(const Model &m, std::vector<double> &flow, std::vector<double> &potential)
{
    const Law law{m};
    const std::size_t n = m.load.size();
    const std::size_t pipes = m.from.size();
    double totalLoad = 0, topPotential = 0;
    for (std::size_t v = 0; v < n; ++v) {
        totalLoad += m.load[v];
        if (m.source[v])
            topPotential = std::max(topPotential, std::fabs(m.fixedPotential[v]));
    }
    const double flowTolerance = 1e-9 * std::max(totalLoad, 1.0);
    const double lawTolerance = 1e-8 * std::max(1.0, topPotential);
    const double flowScale = std::max(totalLoad, 1.0);

    // Unknowns: the potentials of the nodes that are not sources.
    std::vector<int> unknown(n, -1);
    int count = 0;
    for (std::size_t v = 0; v < n; ++v) {
        if (!m.source[v])
            unknown[v] = count++;
    }
    double startPotential = 0;
    for (std::size_t v = 0; v < n; ++v) {
        if (m.source[v]) {
            potential[v] = m.fixedPotential[v];
            startPotential = std::max(startPotential, m.fixedPotential[v]);
        }
    }
    for (std::size_t v = 0; v < n; ++v) {
        if (!m.source[v])
            potential[v] = startPotential;
    }
    // The first flows: gas at a walking pace, 0.3 m/s, from `from` to `to` in every pipe.
    // They need not balance (the first step restores that) and are far nearer the
    // solution than the whole load carried through a tree, which halves the iterations.
    for (std::size_t k = 0; k < pipes; ++k) {
        const double d = m.diameter[k] / 1000;
        flow[k] = 0.3 * hs::kPi / 4 * d * d * 3600;
    }

    // The pattern of the matrix, ordered once; each pipe's entries found once.
    using Matrix = Eigen::SparseMatrix<double>;
    std::vector<Eigen::Triplet<double>> pattern;
    pattern.reserve(std::size_t(count) + pipes);
    for (int i = 0; i < count; ++i)
        pattern.emplace_back(i, i, 1.0);
    for (std::size_t k = 0; k < pipes; ++k) {
        const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
        if (a >= 0 && b >= 0)
            pattern.emplace_back(std::max(a, b), std::min(a, b), 1.0);
    }
    Matrix A(count, count);
    A.setFromTriplets(pattern.begin(), pattern.end());
    A.makeCompressed();
    std::vector<double *> diagonal(static_cast<std::size_t>(count), nullptr);
    std::vector<double *> offDiagonal(pipes, nullptr);
    for (int i = 0; i < count; ++i)
        diagonal[std::size_t(i)] = &A.coeffRef(i, i);
    for (std::size_t k = 0; k < pipes; ++k) {
        const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
        if (a >= 0 && b >= 0)
            offDiagonal[k] = &A.coeffRef(std::max(a, b), std::min(a, b));
    }
    Eigen::SimplicialLDLT<Matrix, Eigen::Lower> solver;
    if (count > 0)
        solver.analyzePattern(A);

    // A pipe without flow may have no slope (the medium/high-pressure law): a small one
    // keeps the matrix definite.
    std::vector<double> minimumSlope(pipes);
    for (std::size_t k = 0; k < pipes; ++k)
        minimumSlope[k] = 1e-5 * std::fabs(law.drop(int(k), flowScale, true)) / flowScale;

    std::vector<double> y(pipes), p(pipes), balance(n);
    // A pipe whose flow keeps jumping across a band of its law is held in it: its flow
    // stays at the boundary and its drop may be anything between the two formulas'.
    std::vector<signed char> held(pipes, 0), lastZone(pipes, -1), crossLow(pipes, 0), crossHigh(pipes, 0),
        holds(pipes, 0);
    Eigen::VectorXd rhs(count), delta(count);
    double worstFreeLaw = std::numeric_limits<double>::infinity();
    Solution s;
    for (int iteration = 0;; ++iteration) {
        // The laws at the present flows, and how far the potentials are from them.
        const bool freeSettled = worstFreeLaw <= 100 * lawTolerance;
        // Far from the solution flows swing across the bands as a matter of course; only
        // a pipe that keeps crossing once the rest is nearly settled is held.
        const bool nearlySettled = worstFreeLaw <= 1e-3 * std::max(1.0, topPotential) || iteration >= 20;
        worstFreeLaw = 0;
        double worstLaw = 0;
        for (std::size_t k = 0; k < pipes; ++k) {
            const int kk = int(k);
            const double dH = potential[std::size_t(m.from[k])] - potential[std::size_t(m.to[k])];
            if (m.low && !held[k] && nearlySettled) {
                const int zone = law.zone(kk, std::fabs(flow[k]));
                const int last = lastZone[k];
                if (last >= 0 && ((zone < 1 && last > 1) || (zone > 1 && last < 1)))
                    ++crossLow[k];
                if (last >= 0 && ((zone < 3 && last > 3) || (zone > 3 && last < 3)))
                    ++crossHigh[k];
                lastZone[k] = static_cast<signed char>(zone);
                if (holds[k] < 3 && (crossLow[k] >= 2 || crossHigh[k] >= 2))
                    held[k] = crossLow[k] >= 2 ? 1 : 3;
            }
            if (held[k]) {
                const auto [lo, hi] = law.band(kk, held[k]);
                const double sign = flow[k] < 0 || (flow[k] == 0 && dH < 0) ? -1 : 1;
                const double a = law.drop(kk, sign * lo, true), b = law.drop(kk, sign * hi, true);
                const double floor = std::min(a, b) - lawTolerance, ceiling = std::max(a, b) + lawTolerance;
                // Released only once the rest of the network has settled around it.
                if (lastZone[k] == held[k] && freeSettled && (dH < floor || dH > ceiling)) {
                    // The network wants more or less than the boundary carries: let it go.
                    held[k] = 0;
                    crossLow[k] = crossHigh[k] = 0;
                    ++holds[k];
                } else {
                    lastZone[k] = held[k];
                    flow[k] = sign * std::clamp(std::fabs(flow[k]), lo, hi);
                    y[k] = std::clamp(dH, std::min(a, b), std::max(a, b));
                    // Nearly a fixed flow (clamped back to the band each time), the matrix well conditioned.
                    p[k] = 1e-4 * hi / std::max(std::max(std::fabs(a), std::fabs(b)), 1e-300);
                    worstLaw = std::max(worstLaw, std::fabs(y[k] - dH));
                    continue;
                }
            }
            const double Q = flow[k];
            y[k] = law.drop(kk, Q, true);
            // The slope a little further from zero flow, so that it never straddles zero.
            const double h = std::copysign(std::max(std::fabs(Q) * 1e-7, flowScale * 1e-12), Q);
            const double g = (law.drop(kk, Q + h, true) - y[k]) / h;
            p[k] = 1 / std::max(g, minimumSlope[k]);
            const double residual = std::fabs(y[k] - dH);
            worstFreeLaw = std::max(worstFreeLaw, residual);
            worstLaw = std::max(worstLaw, residual);
        }
        std::fill(balance.begin(), balance.end(), 0.0);
        for (std::size_t k = 0; k < pipes; ++k) {
            balance[std::size_t(m.to[k])] += flow[k];
            balance[std::size_t(m.from[k])] -= flow[k];
        }
        double worstBalance = 0;
        for (std::size_t v = 0; v < n; ++v) {
            if (!m.source[v])
                worstBalance = std::max(worstBalance, std::fabs(balance[v] - m.load[v]));
        }
        s.iterations = iteration;
        if (worstLaw <= lawTolerance && worstBalance <= flowTolerance) {
            s.converged = true;
            return s;
        }
        if (iteration == kMaxIterations) {
            // What the laws would carry at these potentials, one Newton step from the flows.
            std::fill(balance.begin(), balance.end(), 0.0);
            for (std::size_t k = 0; k < pipes; ++k) {
                const double dH = potential[std::size_t(m.from[k])] - potential[std::size_t(m.to[k])];
                const double q = flow[k] - p[k] * (y[k] - dH);
                balance[std::size_t(m.to[k])] += q;
                balance[std::size_t(m.from[k])] -= q;
            }
            for (std::size_t v = 0; v < n; ++v) {
                if (m.source[v])
                    continue;
                const double off = std::fabs(balance[v] - m.load[v]);
                if (s.worstImbalanceNode < 0 || off > s.worstImbalance) {
                    s.worstImbalance = off;
                    s.worstImbalanceNode = int(v);
                }
            }
            return s;
        }
        // Flows at the present potentials by the linearised laws, and the balance
        // they leave; the corrections of the potentials restore it.
        for (int i = 0; i < count; ++i)
            *diagonal[std::size_t(i)] = 0;
        std::fill(balance.begin(), balance.end(), 0.0);
        for (std::size_t k = 0; k < pipes; ++k) {
            const std::size_t a = std::size_t(m.from[k]), b = std::size_t(m.to[k]);
            const double q = flow[k] - p[k] * (y[k] - (potential[a] - potential[b]));
            flow[k] = q;
            balance[b] += q;
            balance[a] -= q;
            if (unknown[a] >= 0)
                *diagonal[std::size_t(unknown[a])] += p[k];
            if (unknown[b] >= 0)
                *diagonal[std::size_t(unknown[b])] += p[k];
            if (offDiagonal[k])
                *offDiagonal[k] = -p[k];
        }
        if (count == 0)
            continue;
        for (std::size_t v = 0; v < n; ++v) {
            if (unknown[v] >= 0)
                rhs[unknown[v]] = balance[v] - m.load[v];
        }
        solver.factorize(A);
        if (solver.info() != Eigen::Success)
            return s;
        delta = solver.solve(rhs);
        for (std::size_t v = 0; v < n; ++v) {
            if (unknown[v] >= 0)
                potential[v] += delta[unknown[v]];
        }
        for (std::size_t k = 0; k < pipes; ++k) {
            const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
            const double da = a >= 0 ? delta[a] : 0.0, db = b >= 0 ? delta[b] : 0.0;
            flow[k] += p[k] * (da - db);
        }
    }
}

// ---- Loops ----

// Each pipe outside the forest closes one loop: itself and a short way back between
// its ends through the forest and the pipes taken before it. Every loop has a pipe
// of its own that no earlier loop holds, so the loops are independent; the short way
// makes them the meshes a designer draws rather than long circuits through the tree.
// The way back is searched breadth-first among a bounded number of nodes; past the
// bound, it is the path through the tree.
QList<Loop> independentLoops(const Model &m, const Adjacency &adj, const Forest &f)
{
    constexpr int kSearchBound = 256;
    QList<Loop> loops;
    const std::size_t n = m.load.size();
    const std::size_t pipes = m.from.size();
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

} // namespace

const QStringList &nodeKeys()
{
    static const QStringList keys{QStringLiteral("node"), QStringLiteral("load"), QStringLiteral("elevation"),
                                  QStringLiteral("x"),    QStringLiteral("y"),    QStringLiteral("source_pressure")};
    return keys;
}

const QStringList &pipeKeys()
{
    static const QStringList keys{QStringLiteral("pipe"),   QStringLiteral("from"),     QStringLiteral("to"),
                                  QStringLiteral("length"), QStringLiteral("diameter"), QStringLiteral("material")};
    return keys;
}

bool isNumberKey(const QString &key)
{
    static const QStringList ids{QStringLiteral("node"), QStringLiteral("pipe"), QStringLiteral("from"),
                                 QStringLiteral("to"), QStringLiteral("material")};
    return (nodeKeys().contains(key) || pipeKeys().contains(key)) && !ids.contains(key);
}

Result solve(const Network &network)
{
    Result result;
    Reading reading = read(network);
    if (reading.problem) {
        result.refused = reading.problem;
        return result;
    }
    Model &m = reading.model;
    const std::size_t n = m.load.size();
    const std::size_t pipes = m.from.size();
    const Adjacency adj(m);
    const Forest forest = spanningForest(m, adj);
    for (std::size_t v = 0; v < n; ++v) {
        if (!forest.reached[v]) {
            result.refused
                = Problem{Problem::Table::Nodes, int(v), QStringLiteral("node"),
                          QStringLiteral("节点“%1”不与任何气源相连").arg(network.nodes[int(v)].node.trimmed())};
            return result;
        }
    }
    int sources = 0;
    bool anyAutomatic = false;
    for (std::size_t v = 0; v < n; ++v)
        sources += m.source[v] ? 1 : 0;
    for (std::size_t k = 0; k < pipes; ++k)
        anyAutomatic = anyAutomatic || m.automatic[k];
    const bool tree = sources == 1 && pipes + 1 == n;
    if (anyAutomatic && !tree) {
        for (std::size_t k = 0; k < pipes; ++k) {
            if (m.automatic[k]) {
                result.refused = Problem{Problem::Table::Pipes, int(k), QStringLiteral("diameter"),
                                         QStringLiteral("环状管网或多气源管网的管径须全部录入")};
                return result;
            }
        }
    }

    std::vector<double> flow(pipes, 0.0), potential(n, 0.0);
    std::vector<char> noDiameter(pipes, 0);
    const Law law{m};
    if (tree) {
        flow = forestFlows(m, forest);
        sizeTree(m, adj, forest, flow, potential, noDiameter);
        result.converged = true;
    } else {
        const Solution s = solveLooped(m, flow, potential);
        result.iterations = s.iterations;
        if (!s.converged) {
            const QString node
                = s.worstImbalanceNode >= 0 ? network.nodes[s.worstImbalanceNode].node.trimmed() : QString();
            result.failure = QStringLiteral("管网平差不收敛,最大节点流量不平衡 %1 Nm^3/h (节点 %2)")
                                 .arg(formatNumber(s.worstImbalance), node);
            result.verdict = result.failure;
            return result;
        }
        result.converged = true;
    }

    // Pipes.
    result.pipes.reserve(qsizetype(pipes));
    for (std::size_t k = 0; k < pipes; ++k) {
        PipeResult r;
        r.material = m.material[k];
        r.length = m.length[k];
        r.diameter = m.diameter[k];
        r.automatic = m.automatic[k];
        double Q = flow[k];
        const double q = std::fabs(Q);
        const double drop = potential[std::size_t(m.from[k])] - potential[std::size_t(m.to[k])];
        if (noDiameter[k])
            r.message = kNoDiameter;
        if (m.low) {
            const calc::LowSection section = calc::lowSection(q, m.nu, m.T, m.rho, r.material, r.diameter);
            r.reynolds = q > 0 ? section.reynolds : 0;
            r.state = q > 0 ? QString::fromUtf8(hs::FlowStateText(section.state)) : QString();
            r.unitDrop = q > 0 ? section.drop : 0;
            r.frictionDrop = std::copysign(r.unitDrop * r.length, Q);
            r.localDrop = r.frictionDrop * (m.w - 1);
            const int zone = tree ? 0 : law.zone(int(k), q);
            if (zone == 1 || zone == 3) {
                // Held at a boundary: the boundary's flow exactly, and the friction and
                // local drops that make up the actual drop, between the two formulas'.
                const auto [lo, hi] = law.band(int(k), zone);
                Q = std::copysign(zone == 1 ? hi : lo, Q);
                r.state = zone == 1 ? QStringLiteral("层流/临界") : QStringLiteral("临界/紊流");
                r.reynolds = zone == 1 ? kLaminarEnd : kTurbulentStart;
                r.unitDrop = std::fabs(drop) / law.scale(int(k));
                r.frictionDrop = drop / m.w;
                r.localDrop = drop - r.frictionDrop;
            }
            r.gravityHead = ((hs::kAirDensity - m.rho) * (m.z[std::size_t(m.to[k])] - m.z[std::size_t(m.from[k])]))
                * hs::kGravity;
            r.pipeDrop = r.frictionDrop + r.localDrop - r.gravityHead;
        } else {
            r.unitDrop = law.unitDrop(r.material, r.diameter, q);
            r.dp2 = drop;
        }
        r.flow = Q;
        result.pipes << r;
    }

    // Nodes and sources' supply.
    std::vector<double> net(n, 0.0);
    for (std::size_t k = 0; k < pipes; ++k) {
        net[std::size_t(m.from[k])] += result.pipes[int(k)].flow;
        net[std::size_t(m.to[k])] -= result.pipes[int(k)].flow;
    }
    result.nodes.reserve(qsizetype(n));
    for (std::size_t v = 0; v < n; ++v) {
        NodeResult r;
        r.load = m.load[v];
        r.elevation = m.z[v];
        if (m.source[v]) {
            r.sourcePressure = m.sourcePressure[v];
            r.supply = net[v] + m.load[v];
            if (*r.supply < -1e-9 * std::max(1.0, m.load[v]))
                r.message = kBackflow;
        }
        if (m.low)
            r.pressure = potential[v] + ((hs::kAirDensity - m.rho) * m.z[v]) * hs::kGravity;
        else if (potential[v] > 0)
            r.pressure = std::sqrt(potential[v]);
        if (m.source[v])
            r.pressure = m.sourcePressure[v];
        result.nodes << r;
    }

    // Loops, with their closure.
    result.loops = independentLoops(m, adj, forest);
    for (Loop &loop : result.loops) {
        double sum = 0, size = 0;
        for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
            const PipeResult &p = result.pipes[loop.pipes[i]];
            const double d = m.low ? p.frictionDrop + p.localDrop : p.dp2;
            sum += loop.directions[i] * d;
            size += std::fabs(d);
        }
        loop.closure = sum;
        loop.closurePercent = size > 0 ? 100 * sum / size : 0;
    }

    // The verdict.
    const QString unit = m.low ? QStringLiteral("Pa") : QStringLiteral("kPa");
    for (std::size_t v = 0; v < n; ++v) {
        if (!result.nodes[int(v)].pressure) {
            result.worstNode = int(v);
            result.verdict = QStringLiteral("不满足,压力差小于零");
            result.nodes[int(v)].message = calc::noEndPressureText();
            return result;
        }
    }
    for (std::size_t v = 0; v < n; ++v) {
        if (result.worstNode < 0 || *result.nodes[int(v)].pressure < *result.nodes[result.worstNode].pressure)
            result.worstNode = int(v);
    }
    const double worst = *result.nodes[result.worstNode].pressure;
    result.met = worst >= m.minPressure;
    result.verdict = result.met
        ? QStringLiteral("满足")
        : QStringLiteral("不满足,节点 %1 低于最低压力 %2 %3")
              .arg(network.nodes[result.worstNode].node.trimmed(), formatNumber(m.minPressure - worst), unit);
    return result;
}

} // namespace network
