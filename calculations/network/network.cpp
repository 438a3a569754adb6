#include "network.h"

#include "descriptions.h"
#include "network_graph.h"
#include "network_loads.h"
#include "network_options.h"
#include "network_read.h"
#include "network_results.h"
#include "network_sizing.h"
#include "network_solver.h"
#include "number_text.h"

#include <cmath>

namespace network {

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

std::optional<int> applianceOf(const QString &text)
{
    const QString t = text.trimmed();
    const QStringList &captions = applianceCaptions();
    for (qsizetype i = 0; i < captions.size(); ++i) {
        if (t == captions[i] || t == QString::number(i + 1))
            return int(i);
    }
    return std::nullopt;
}

QString sizeText(const PipeResult &pipe)
{
    return pipe.size.isEmpty() ? formatShortest(pipe.diameter) : pipe.size;
}

QString verdictLine(const Result &r, int digits)
{
    if (!r.converged || r.worstNode < 0 || r.worstNode >= r.nodes.size())
        return r.verdict;
    const NodeResult &worst = r.nodes[r.worstNode];
    if (!worst.pressure)
        return QStringLiteral("不满足：最不利节点 %1，压力平方差小于零").arg(worst.id);
    const QString unit = r.low ? QStringLiteral("Pa") : QStringLiteral("kPa");
    const QString basis = r.low ? QString() : r.gauge ? QStringLiteral("（表压）") : QStringLiteral("（绝压）");
    const double margin = r.margin.value_or(0);
    return QStringLiteral("%1：最不利节点 %2，%3 %4%5，%6 %7 %4")
        .arg(r.met ? QStringLiteral("满足") : QStringLiteral("不满足"), worst.id,
             formatSignificant(*worst.pressure, digits), unit, basis,
             r.met ? QStringLiteral("富余") : QStringLiteral("不足"), formatSignificant(std::fabs(margin), digits));
}

namespace {

Result solveWith(const Network &network, int maxIterations, const std::atomic<bool> *stop)
{
    Result result;
    sketch(network, result);
    Reading reading = read(network);
    if (reading.problem) {
        result.refused = reading.problem;
        return result;
    }
    Arrays &m = reading.arrays;
    result.minPressure = m.minPressure;
    result.gauge = m.gauge;
    const std::size_t n = m.nodeCount();
    const std::size_t pipes = m.pipeCount();
    const Adjacency adj(m);
    const Forest forest = spanningForest(m, adj);
    for (std::size_t v = 0; v < n; ++v) {
        if (!forest.reached[v]) {
            result.refused = Problem{Problem::Table::Nodes, int(v), QStringLiteral("node"),
                                     QStringLiteral("节点“%1”不与任何气源相连").arg(result.nodes[int(v)].id)};
            return result;
        }
    }
    int sources = 0;
    for (std::size_t v = 0; v < n; ++v)
        sources += m.source[v] ? 1 : 0;
    const bool tree = sources == 1 && pipes + 1 == n;
    if (!tree) {
        for (std::size_t k = 0; k < pipes; ++k) {
            if (m.automatic[k]) {
                result.refused = Problem{Problem::Table::Pipes, int(k), QStringLiteral("diameter"),
                                         QStringLiteral("环状管网或多气源管网的管径须全部录入")};
                return result;
            }
        }
    }
    if (stop && stop->load())
        return result;

    Solution s;
    std::vector<char> noDiameter(pipes, 0);
    Loads loads = tree ? treeLoads(m, forest) : nodeLoads(m);
    if (tree) {
        s.flow = std::move(loads.flow);
        s.potential.assign(n, 0.0);
        s.hold.assign(pipes, BoundaryHold{});
        sizeTree(m, adj, forest, s.flow, s.potential, noDiameter);
        s.converged = true;
    } else {
        s = solveLooped(m, maxIterations, stop);
        result.iterations = s.iterations;
        if (stop && stop->load())
            return result;
        if (!s.converged) {
            if (s.failure == Solution::Failure::Singular) {
                result.failure = s.singularNode >= 0
                    ? QStringLiteral("管网平差失败：节点 %1 附近的方程无法求解，请检查与之相连的管段的管径和管长")
                          .arg(result.nodes[s.singularNode].id)
                    : QStringLiteral("管网平差失败：方程无法求解，请检查各管段的管径和管长");
            } else {
                result.failure = QStringLiteral("管网平差不收敛，迭代%1次后最大节点流量不平衡 %2 Nm^3/h（节点 %3）")
                                     .arg(s.iterations)
                                     .arg(formatNumber(s.worstImbalance),
                                          s.worstImbalanceNode >= 0 ? result.nodes[s.worstImbalanceNode].id
                                                                    : QString());
            }
            result.verdict = result.failure;
            return result;
        }
    }
    result.converged = true;
    result.flowRule = tree ? kSimultaneityRule : kNodeLoadRule;
    writeResults(m, adj, forest, s, noDiameter, loads, result);
    return result;
}

} // namespace

Result solve(const Network &network, const std::atomic<bool> *stop)
{
    return solveWith(network, kMaxIterations, stop);
}

Result solve(const Network &network, int maxIterations)
{
    return solveWith(network, maxIterations, nullptr);
}

} // namespace network
