#include "network_solver.h"

#include "hs.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <cmath>
#include <limits>

namespace network {

namespace {

// At most this many steps of flows and potentials together before the potentials alone.
constexpr int kMixedSteps = 10;
// How often a pipe may change the formula it follows across a step down of its law: for one
// pipe against the rest of the network the second choice always holds.
constexpr int kSwitches = 4;

// Two methods in turn. First flows and potentials side by side (the global gradient
// algorithm): each step solves the laws linearised at the present flows. It is quick where
// the laws are smooth, and medium/high pressure, whose law has no slope at zero flow, needs
// it; but it may circle a step of the low-pressure law for ever. When it slows, the
// potentials alone: where every law is non-decreasing in the flow, they minimise the convex
// F(p) = sum over pipes of Phi(p_from - p_to) + sum over nodes of load x p, Phi' being the
// pipe's flow at a drop (PipeLaw::flowAt). F's gradient is each node's imbalance and its
// Hessian A^T diag(dQ/dH) A, so Newton steps with a line search on F's slope along the step
// converge from anywhere.
class Solver
{
public:
    Solver(const Arrays &m, int maxIterations, const std::atomic<bool> *stop);
    Solution run();

private:
    // Flows and slopes of every pipe at potentials, and every node's imbalance
    // (its gradient: load + outflow - inflow).
    struct State
    {
        std::vector<double> potential, flow, slope, gradient;
    };
    void evaluate(State &s, const std::vector<double> &guess) const;
    // F's slope along the step at a state.
    double slopeAlong(const State &s) const;
    // The present potentials plus the step scaled by t.
    void stepTo(State &s, double t) const;
    // Factorises the matrix of the conductances and solves for the step that the gradient asks.
    bool factorise(const std::vector<double> &conductance);
    // A pipe held at a boundary has no slope, and medium/high pressure an infinite one at zero flow.
    double conductanceOf(double slope, std::size_t k) const
    {
        return slope > 0 ? std::min(slope, maximumSlope[k]) : minimumSlope[k];
    }
    double nodeStep(std::size_t v) const { return unknown[v] >= 0 ? delta[unknown[v]] : 0.0; }
    // The flows and potentials side by side; true where they converged.
    bool mixedSteps();
    // Whether every pipe meets its law or is held, and every node balances.
    bool satisfies(const std::vector<double> &potential, const std::vector<double> &flow) const;
    Solution finish(const std::vector<double> &potential, const std::vector<double> &flow);
    Solution fail(Solution::Failure why);
    // A pipe whose state its law does not allow: it ended on a ramp of its law.
    bool invalid(std::size_t k, const State &s) const;
    double worst(const std::vector<double> &gradient, int &node) const;

    const Arrays &m;
    const int maxIterations;
    const std::atomic<bool> *stop; // a caller that has no more use for the answer
    bool stopped() const { return stop && stop->load(std::memory_order_relaxed); }
    const std::size_t n, pipes;
    std::vector<PipeLaw> laws;
    std::vector<int> unknown, node; // node -> unknown (-1 for a source), unknown -> node
    double flowTolerance = 0, lawTolerance = 0;
    std::vector<double> minimumSlope, maximumSlope;

    using Matrix = Eigen::SparseMatrix<double>;
    Matrix A;
    std::vector<double *> diagonal, offDiagonal;
    Eigen::SimplicialLDLT<Matrix, Eigen::Lower> ldlt;
    Eigen::VectorXd rhs, delta;
    int singularNode = -1;
    int iterations = 0;
    mutable std::vector<double> scratch;

    State current, trial, best;
};

Solver::Solver(const Arrays &network, int maxIterations, const std::atomic<bool> *stop)
    : m(network)
    , maxIterations(maxIterations)
    , stop(stop)
    , n(network.nodeCount())
    , pipes(network.pipeCount())
{
    laws.reserve(pipes);
    for (std::size_t k = 0; k < pipes; ++k)
        laws.emplace_back(m, int(k));
    double totalLoad = 0, topPotential = 0;
    unknown.assign(n, -1);
    for (std::size_t v = 0; v < n; ++v) {
        totalLoad += m.load[v];
        if (m.source[v]) {
            topPotential = std::max(topPotential, std::fabs(m.fixedPotential[v]));
        } else {
            unknown[v] = int(node.size());
            node.push_back(int(v));
        }
    }
    flowTolerance = 1e-9 * std::max(totalLoad, 1.0);
    lawTolerance = 1e-8 * std::max(1.0, topPotential);

    // A pipe held at a boundary has no slope: a thousandth of the pipe's own slope there
    // keeps the matrix definite, and Newton's steps across the step in its law short.
    // Medium/high pressure has an infinite slope at zero flow: the slope at a millionth of
    // the loads is the most it counts with.
    const double flowScale = std::max(totalLoad, 1.0);
    minimumSlope.resize(pipes);
    maximumSlope.resize(pipes, std::numeric_limits<double>::infinity());
    for (std::size_t k = 0; k < pipes; ++k) {
        if (m.low) {
            const BoundaryHold &b = laws[k].boundaries()[1];
            minimumSlope[k] = 1e-3 * b.flow / std::max(b.below, b.above);
        } else {
            maximumSlope[k] = 1e-6 * flowScale / laws[k].drop(1e-6 * flowScale);
        }
    }

    // The pattern of the matrix, ordered once; each pipe's entries found once.
    const int count = int(node.size());
    std::vector<Eigen::Triplet<double>> pattern;
    pattern.reserve(std::size_t(count) + pipes);
    for (int i = 0; i < count; ++i)
        pattern.emplace_back(i, i, 1.0);
    for (std::size_t k = 0; k < pipes; ++k) {
        const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
        if (a >= 0 && b >= 0)
            pattern.emplace_back(std::max(a, b), std::min(a, b), 1.0);
    }
    A.resize(count, count);
    A.setFromTriplets(pattern.begin(), pattern.end());
    A.makeCompressed();
    diagonal.resize(std::size_t(count));
    offDiagonal.assign(pipes, nullptr);
    for (int i = 0; i < count; ++i)
        diagonal[std::size_t(i)] = &A.coeffRef(i, i);
    for (std::size_t k = 0; k < pipes; ++k) {
        const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
        if (a >= 0 && b >= 0)
            offDiagonal[k] = &A.coeffRef(std::max(a, b), std::min(a, b));
    }
    if (count > 0)
        ldlt.analyzePattern(A);
    scratch.resize(n);
    rhs.resize(count);
    delta.resize(count);
    for (State *s : {&current, &trial, &best}) {
        s->potential.resize(n);
        s->flow.assign(pipes, 0.0);
        s->slope.resize(pipes);
        s->gradient.resize(n);
    }
}

void Solver::evaluate(State &s, const std::vector<double> &guess) const
{
    std::copy(m.load.begin(), m.load.end(), s.gradient.begin());
    for (std::size_t k = 0; k < pipes; ++k) {
        const std::size_t a = std::size_t(m.from[k]), b = std::size_t(m.to[k]);
        const PipeLaw::Point p = laws[k].flowAt(s.potential[a] - s.potential[b], guess[k]);
        s.flow[k] = p.flow;
        s.slope[k] = p.slope;
        s.gradient[a] += p.flow;
        s.gradient[b] -= p.flow;
    }
}

double Solver::slopeAlong(const State &s) const
{
    double sum = 0;
    for (std::size_t i = 0; i < node.size(); ++i)
        sum += s.gradient[std::size_t(node[i])] * delta[Eigen::Index(i)];
    return sum;
}

void Solver::stepTo(State &s, double t) const
{
    s.potential = current.potential;
    for (std::size_t i = 0; i < node.size(); ++i)
        s.potential[std::size_t(node[i])] += t * delta[Eigen::Index(i)];
}

bool Solver::factorise(const std::vector<double> &conductance)
{
    // Parallel pipes share their entries: every entry is summed from nothing.
    std::fill(A.valuePtr(), A.valuePtr() + A.nonZeros(), 0.0);
    for (std::size_t k = 0; k < pipes; ++k) {
        const int a = unknown[std::size_t(m.from[k])], b = unknown[std::size_t(m.to[k])];
        const double c = conductance[k];
        if (a >= 0)
            *diagonal[std::size_t(a)] += c;
        if (b >= 0)
            *diagonal[std::size_t(b)] += c;
        if (offDiagonal[k])
            *offDiagonal[k] -= c;
    }
    ldlt.factorize(A);
    // Nodes cut off from every source leave a pivot of nothing but rounding.
    // Pivots in the order of elimination, which stops at the first that is zero.
    const Eigen::VectorXd &pivots = ldlt.vectorD();
    const auto &unknownAt = ldlt.permutationPinv().indices();
    for (Eigen::Index j = 0; j < unknownAt.size(); ++j) {
        const std::size_t i = std::size_t(unknownAt[j]);
        if (!(pivots[j] > 1e-14 * *diagonal[i])) {
            singularNode = node[i];
            return false;
        }
    }
    if (ldlt.info() != Eigen::Success) {
        singularNode = node.front();
        return false;
    }
    for (std::size_t i = 0; i < node.size(); ++i)
        rhs[Eigen::Index(i)] = -current.gradient[std::size_t(node[i])];
    delta = ldlt.solve(rhs);
    return delta.allFinite();
}

bool Solver::invalid(std::size_t k, const State &s) const
{
    const double drop = s.potential[std::size_t(m.from[k])] - s.potential[std::size_t(m.to[k])];
    const PipeLaw &law = laws[k];
    if (law.rampAt(drop) < 0)
        return false;
    const double q = s.flow[k];
    const bool held = law.holdAt(q).admits(drop, lawTolerance);
    return !held && std::fabs(drop - law.drop(q)) > lawTolerance;
}

double Solver::worst(const std::vector<double> &gradient, int &worstNode) const
{
    double w = 0;
    worstNode = -1;
    for (const int v : node) {
        const double off = std::fabs(gradient[std::size_t(v)]);
        if (worstNode < 0 || off > w) {
            w = off;
            worstNode = v;
        }
    }
    return w;
}

Solution Solver::finish(const std::vector<double> &potential, const std::vector<double> &flow)
{
    Solution out;
    out.converged = true;
    out.iterations = iterations;
    out.flow = flow;
    out.potential = potential;
    out.hold.resize(pipes);
    for (std::size_t k = 0; k < pipes; ++k)
        out.hold[k] = laws[k].holdAt(flow[k]);
    return out;
}

Solution Solver::fail(Solution::Failure why)
{
    Solution out;
    out.failure = why;
    out.iterations = iterations;
    out.singularNode = singularNode;
    if (why == Solution::Failure::NotConverged)
        out.worstImbalance = worst(current.gradient, out.worstImbalanceNode);
    out.flow = current.flow;
    out.potential = current.potential;
    out.hold.assign(pipes, BoundaryHold{});
    return out;
}

bool Solver::satisfies(const std::vector<double> &potential, const std::vector<double> &flow) const
{
    for (std::size_t k = 0; k < pipes; ++k) {
        const double drop = potential[std::size_t(m.from[k])] - potential[std::size_t(m.to[k])];
        const BoundaryHold hold = laws[k].holdAt(flow[k]);
        const bool met = hold.boundary != BoundaryHold::Boundary::None
            ? hold.admits(drop, lawTolerance) && (drop > 0) == (flow[k] > 0)
            : std::fabs(drop - laws[k].drop(flow[k])) <= lawTolerance;
        if (!met)
            return false;
    }
    std::copy(m.load.begin(), m.load.end(), scratch.begin());
    for (std::size_t k = 0; k < pipes; ++k) {
        scratch[std::size_t(m.from[k])] += flow[k];
        scratch[std::size_t(m.to[k])] -= flow[k];
    }
    int v = -1;
    return worst(scratch, v) <= flowTolerance;
}

bool Solver::mixedSteps()
{
    // The first flows: gas at a walking pace, 0.3 m/s, from `from` to `to` in every pipe;
    // the first step balances them.
    for (std::size_t k = 0; k < pipes; ++k) {
        const double d = m.diameter[k] / 1000;
        current.flow[k] = 0.3 * hs::kPi / 4 * d * d * 3600;
    }
    std::vector<double> &conductance = current.slope, &offLaw = trial.flow;
    double last = std::numeric_limits<double>::infinity(), closest = last;
    std::vector<double> start = current.potential;
    for (int step = 0; step < kMixedSteps && iterations < maxIterations && !stopped(); ++step) {
        std::copy(m.load.begin(), m.load.end(), current.gradient.begin());
        double residual = 0;
        for (std::size_t k = 0; k < pipes; ++k) {
            const std::size_t a = std::size_t(m.from[k]), b = std::size_t(m.to[k]);
            const PipeLaw::Tangent t = laws[k].tangent(current.flow[k]);
            const double off = t.drop - (current.potential[a] - current.potential[b]);
            residual = std::max(residual, std::fabs(off));
            offLaw[k] = off;
            conductance[k] = conductanceOf(1 / t.slope, k);
            const double q = current.flow[k] - conductance[k] * off;
            current.gradient[a] += q;
            current.gradient[b] -= q;
        }
        if (step > 0 && residual <= lawTolerance && satisfies(current.potential, current.flow))
            return true;
        if (residual < closest) {
            closest = residual;
            start = current.potential;
        }
        // Past the first steps each is to halve what is left, else it is circling.
        if (step >= 3 && residual > 0.5 * last)
            break;
        last = residual;
        ++iterations;
        if (!factorise(conductance))
            return false;
        for (std::size_t k = 0; k < pipes; ++k) {
            const std::size_t a = std::size_t(m.from[k]), b = std::size_t(m.to[k]);
            const double dH = nodeStep(a) - nodeStep(b);
            current.flow[k] -= conductance[k] * (offLaw[k] - dH);
        }
        stepTo(current, 1);
    }
    // The potentials alone go on from the closest the flows came to their laws.
    current.potential = std::move(start);
    return false;
}

Solution Solver::run()
{
    double startPotential = -std::numeric_limits<double>::infinity();
    for (std::size_t v = 0; v < n; ++v) {
        if (m.source[v])
            startPotential = std::max(startPotential, m.fixedPotential[v]);
    }
    for (std::size_t v = 0; v < n; ++v)
        current.potential[v] = m.source[v] ? m.fixedPotential[v] : startPotential;
    if (node.empty()) {
        evaluate(current, current.flow);
        return finish(current.potential, current.flow);
    }
    if (mixedSteps())
        return finish(current.potential, current.flow);
    if (singularNode >= 0)
        return fail(Solution::Failure::Singular);

    // Where a law steps down, the flow follows the formula on the side its flow is now:
    // the ramp to the other lies beyond, where the solution seldom is.
    for (std::size_t k = 0; k < pipes; ++k) {
        for (int b = 0; b < 2; ++b) {
            if (m.low && laws[k].stepsDown(b))
                laws[k].followAbove(b, std::fabs(current.flow[k]) > laws[k].boundaries()[std::size_t(b)].flow);
        }
    }
    evaluate(current, current.flow);
    std::vector<int> switches(pipes, 0);
    std::vector<double> conductance(pipes);
    for (;;) {
        int worstNode = -1;
        if (worst(current.gradient, worstNode) <= flowTolerance) {
            // Balanced: unless a pipe ended on a ramp of its law, where it takes the other formula.
            bool switched = false;
            for (std::size_t k = 0; k < pipes; ++k) {
                if (!invalid(k, current))
                    continue;
                const double drop = current.potential[std::size_t(m.from[k])] - current.potential[std::size_t(m.to[k])];
                const int b = laws[k].rampAt(drop);
                if (switches[k] >= kSwitches) {
                    // Past hope: the flow on the ramp beyond its boundary is what no law accounts for.
                    Solution out = fail(Solution::Failure::NotConverged);
                    out.worstImbalance
                        = std::fabs(std::fabs(current.flow[k]) - laws[k].boundaries()[std::size_t(b)].flow);
                    out.worstImbalanceNode = m.source[std::size_t(m.from[k])] ? m.to[k] : m.from[k];
                    return out;
                }
                laws[k].followAbove(b, !laws[k].followsAbove(b));
                ++switches[k];
                switched = true;
            }
            if (!switched)
                return finish(current.potential, current.flow);
            evaluate(current, current.flow);
            continue;
        }
        if (iterations >= maxIterations || stopped())
            return fail(Solution::Failure::NotConverged);
        ++iterations;
        for (std::size_t k = 0; k < pipes; ++k)
            conductance[k] = conductanceOf(current.slope[k], k);
        if (!factorise(conductance))
            return fail(Solution::Failure::Singular);

        // The flows the step linearises to balance; where they also meet the laws, that is
        // the solution (a pipe across an upward step keeps its boundary flow).
        stepTo(trial, 1);
        for (std::size_t k = 0; k < pipes; ++k) {
            const std::size_t a = std::size_t(m.from[k]), b = std::size_t(m.to[k]);
            const double dH = nodeStep(a) - nodeStep(b);
            trial.flow[k] = current.flow[k] + (current.slope[k] > 0 ? conductance[k] * dH : 0.0);
        }
        if (satisfies(trial.potential, trial.flow))
            return finish(trial.potential, trial.flow);

        // The full step where F still falls all along it (its slope along the step rises,
        // F being convex); else a point between where the slope changes sign, close enough
        // that at least half of the fall along the line is had.
        const double start = slopeAlong(current);
        auto at = [&](double t) {
            stepTo(trial, t);
            evaluate(trial, current.flow);
            return slopeAlong(trial);
        };
        double slope = at(1);
        if (slope > 0 && start < 0) {
            double lo = 0, hi = 1, slopeLo = start, slopeHi = slope;
            bool found = false;
            int side = 0;
            for (int i = 0; i < 40 && !(found && lo >= 0.5 * hi); ++i) {
                double t = lo - slopeLo * (hi - lo) / (slopeHi - slopeLo);
                if (!(t > lo && t < hi))
                    t = 0.5 * (lo + hi);
                slope = at(t);
                // Illinois: an end kept twice in a row counts half, so that both ends close in.
                if (slope <= 0) {
                    lo = t;
                    slopeLo = slope;
                    found = true;
                    std::swap(best, trial);
                    if (side == -1)
                        slopeHi *= 0.5;
                    side = -1;
                } else {
                    hi = t;
                    slopeHi = slope;
                    if (side == 1)
                        slopeLo *= 0.5;
                    side = 1;
                }
            }
            if (found)
                std::swap(current, best);
            continue;
        }
        std::swap(current, trial);
    }
}

} // namespace

Solution solveLooped(const Arrays &network, int maxIterations, const std::atomic<bool> *stop)
{
    return Solver(network, maxIterations, stop).run();
}

} // namespace network
