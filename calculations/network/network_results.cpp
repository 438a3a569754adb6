#include "network_results.h"

#include "calculation.h"
#include "hs.h"
#include "number_text.h"
#include "sections.h"

#include <cmath>

namespace network {

namespace {

// The gravity head of a height, Pa: what lighter gas gains in rising.
double head(const Arrays &m, double height)
{
    return ((hs::kAirDensity - m.rho) * height) * hs::kGravity;
}

void addMessage(QString &message, const QString &text)
{
    message += (message.isEmpty() ? QString() : QStringLiteral("；")) + text;
}

} // namespace

void writeResults(const Arrays &m, const Adjacency &adj, const Forest &forest, const Solution &s,
                  const std::vector<char> &noDiameter, const Loads &loads, Result &r)
{
    const std::size_t n = m.nodeCount();
    const std::size_t pipes = m.pipeCount();
    const bool tree = loads.tree;

    // Nodes first: the pipes' drops are the differences of their pressures as shown.
    std::vector<double> net(n, 0.0);
    for (std::size_t k = 0; k < pipes; ++k) {
        const double Q = s.hold[k].boundary != BoundaryHold::Boundary::None ? std::copysign(s.hold[k].flow, s.flow[k]) : s.flow[k];
        net[std::size_t(m.from[k])] += Q;
        net[std::size_t(m.to[k])] -= Q;
    }
    for (std::size_t v = 0; v < n; ++v) {
        NodeResult &node = r.nodes[int(v)];
        node.load = loads.typed[v];
        node.elevation = m.z[v];
        node.households = m.households[v];
        node.appliance = m.appliance[v] + 1;
        if (!tree)
            node.calcLoad = m.load[v];
        if (loads.nodeBeyondTable[v])
            node.message = kBeyondSimultaneity;
        if (m.source[v]) {
            node.sourcePressure = m.sourcePressure[v];
            node.supply = net[v] + m.load[v];
            if (*node.supply < -1e-9 * std::max(1.0, m.load[v]))
                addMessage(node.message, kBackflow);
            node.pressure = m.sourcePressure[v];
        } else if (m.low) {
            node.pressure = s.potential[v] + head(m, m.z[v]);
        } else if (s.potential[v] > 0) {
            node.pressure = std::sqrt(s.potential[v]) - (m.gauge ? m.atmosphere : 0);
        }
    }

    for (std::size_t k = 0; k < pipes; ++k) {
        PipeResult &p = r.pipes[int(k)];
        p.material = m.material[k];
        p.length = m.length[k];
        p.diameter = m.diameter[k];
        if (m.size[k] >= 0)
            p.size = QString::fromStdString(m.catalogues[std::size_t(p.material)][std::size_t(m.size[k])].name);
        p.automatic = m.automatic[k];
        p.localPercent = m.localPercent[k];
        p.pathLoad = m.pathLoad[k];
        if (tree) {
            for (std::size_t set = 0; set < 2; ++set) {
                p.households[set] = loads.households[set][k];
                if (loads.k[set][k] > 0)
                    p.k[set] = loads.k[set][k];
            }
        }
        const double w = m.w[k];
        const double dH = s.potential[std::size_t(m.from[k])] - s.potential[std::size_t(m.to[k])];
        const BoundaryHold &hold = s.hold[k];
        const bool held = hold.boundary != BoundaryHold::Boundary::None;
        p.hold = !held ? Hold::None
            : hold.boundary == BoundaryHold::Boundary::LaminarEnd ? Hold::LaminarEnd
                                                                   : Hold::TurbulentStart;
        double Q = s.flow[k];
        if (held)
            Q = std::copysign(hold.flow, Q != 0 ? Q : dH);
        const double q = std::fabs(Q);
        p.flow = Q;
        if (tree && loads.pipeBeyondTable[k])
            addMessage(p.message, kBeyondSimultaneity);
        if (noDiameter[k])
            addMessage(p.message, kNoDiameter);
        if (!p.automatic && p.diameter < m.minDiameter[std::size_t(p.material)])
            addMessage(p.message, kBelowMinimum.arg(QString::fromStdString(m.minName[std::size_t(p.material)])));
        const std::optional<double> &pf = r.nodes[m.from[k]].pressure, &pt = r.nodes[m.to[k]].pressure;
        if (m.low) {
            const calc::LowSection section = calc::lowSection(q, m.nu, m.T, m.rho, p.material, p.diameter);
            p.reynolds = q > 0 ? section.reynolds : 0;
            p.state = q > 0 ? QString::fromUtf8(hs::FlowStateText(section.state)) : QString();
            p.unitDrop = q > 0 ? section.drop : 0;
            p.frictionDrop = std::copysign(p.unitDrop * p.length, Q);
            p.localDrop = p.frictionDrop * (w - 1);
            if (held) {
                // Held at a boundary: the drop is the potentials', between the two formulas'.
                const bool laminarEnd = p.hold == Hold::LaminarEnd;
                p.state = laminarEnd ? QStringLiteral("层流/临界") : QStringLiteral("临界/紊流");
                p.reynolds = laminarEnd ? 2100 : 3500;
                p.unitDrop = std::fabs(dH) / (p.length * w);
                p.frictionDrop = dH / w;
                p.localDrop = dH - p.frictionDrop;
            }
            p.gravityHead = head(m, m.z[std::size_t(m.to[k])] - m.z[std::size_t(m.from[k])]);
            p.lawDrop = p.frictionDrop + p.localDrop;
            p.pipeDrop = *pf - *pt;
        } else {
            p.unitDrop = q > 0 ? calc::highDrop(p.material)(q, m.nu, m.rho, m.T, p.diameter) : 0;
            p.lawDrop = std::copysign(p.unitDrop * p.length * w, Q);
            p.dp2 = dH;
            if (pf && pt)
                p.pipeDrop = *pf - *pt;
        }
        // The velocity at the mean of the ends' absolute pressures, in kPa.
        if (pf && pt) {
            const double mean = (*pf + *pt) / 2;
            const double absolute = m.low ? mean / 1000 + m.atmosphere : m.gauge ? mean + m.atmosphere : mean;
            if (absolute > 0)
                p.velocity = q > 0 ? hs::GasVelocity(q, absolute, m.T, p.diameter) : 0.0;
        }
        if (p.velocity && m.maxVelocity > 0 && *p.velocity > m.maxVelocity) {
            p.tooFast = true;
            addMessage(p.message, kTooFast.arg(formatNumber(m.maxVelocity)));
        }
    }

    // Loops, with the closure of the laws' drops around them.
    r.loops = independentLoops(m, adj, forest);
    for (Loop &loop : r.loops) {
        double sum = 0, size = 0;
        for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
            const double d = r.pipes[loop.pipes[i]].lawDrop;
            sum += loop.directions[i] * d;
            size += std::fabs(d);
        }
        loop.closure = sum;
        loop.closurePercent = size > 0 ? 100 * sum / size : 0;
    }

    // The worst node, the way gas reaches it, and the verdict.
    std::vector<double> flows(pipes);
    for (std::size_t k = 0; k < pipes; ++k)
        flows[k] = r.pipes[int(k)].flow;
    const QString unit = m.low ? QStringLiteral("Pa") : QStringLiteral("kPa");
    for (std::size_t v = 0; v < n; ++v) {
        if (!r.nodes[int(v)].pressure) {
            r.worstNode = int(v);
            r.worstPath = wayIn(m, adj, flows, r.worstNode);
            r.verdict = QStringLiteral("不满足,压力差小于零");
            addMessage(r.nodes[int(v)].message, calc::noEndPressureText());
            return;
        }
    }
    for (std::size_t v = 0; v < n; ++v) {
        if (r.worstNode < 0 || *r.nodes[int(v)].pressure < *r.nodes[r.worstNode].pressure)
            r.worstNode = int(v);
    }
    r.worstPath = wayIn(m, adj, flows, r.worstNode);
    const double worst = *r.nodes[r.worstNode].pressure;
    r.margin = worst - m.minPressure;
    r.met = worst >= m.minPressure;
    r.verdict = r.met ? QStringLiteral("满足")
                      : QStringLiteral("不满足,节点 %1 低于最低压力 %2 %3")
                            .arg(r.nodes[r.worstNode].id, formatNumber(m.minPressure - worst), unit);
}

} // namespace network
