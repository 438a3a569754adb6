#include "network_solver.h"

#include "hs.h"
#include "sections.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

namespace {

// The Reynolds numbers where the low-pressure law changes its formula.
constexpr double kLaminarEnd = 2100;
constexpr double kTurbulentStart = 3500;
constexpr double kBand = 1e-12;

// The drop of one pipe, potential from minus potential to, for a flow of either sign.
struct Law
{
    const Arrays &m;

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

    double scale(int k) const { return m.length[std::size_t(k)] * m.w[std::size_t(k)]; }

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

} // namespace

Solution solveLooped(const Arrays &m, int maxIterations)
{
    const Law law{m};
    const std::size_t n = m.nodeCount();
    const std::size_t pipes = m.pipeCount();
    Solution s;
    s.flow.assign(pipes, 0.0);
    s.potential.assign(n, 0.0);
    s.hold.assign(pipes, BoundaryHold{});
    std::vector<double> &flow = s.flow, &potential = s.potential;
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
            for (std::size_t k = 0; k < pipes; ++k) {
                if (held[k]) {
                    const auto [lo, hi] = law.band(int(k), held[k]);
                    const double q = held[k] == 1 ? hi : lo;
                    s.flow[k] = std::copysign(q, s.flow[k]);
                    s.hold[k].boundary = held[k] == 1 ? Hold::LaminarEnd : Hold::TurbulentStart;
                    s.hold[k].flow = q;
                }
            }
            return s;
        }
        if (iteration == maxIterations) {
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
            s.failure = Solution::Failure::NotConverged;
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
        if (solver.info() != Eigen::Success) {
            s.failure = Solution::Failure::Singular;
            return s;
        }
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

} // namespace network
