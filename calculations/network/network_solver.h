#pragma once

#include "network_arrays.h"
#include "pipe_law.h"

#include <atomic>
#include <vector>

// Solving a looped or multi-source network: the potentials of the nodes, and the pipes'
// flows by their laws, such that every node that is not a source takes its load.
namespace network {

inline constexpr int kMaxIterations = 200;

struct Solution
{
    bool converged = false;
    int iterations = 0; // matrices factorised
    std::vector<double> flow; // by pipe, signed: positive from `from` to `to`
    std::vector<double> potential; // by node (sources at their fixedPotential)
    std::vector<BoundaryHold> hold; // by pipe; boundary None where the pipe is free
    enum class Failure { None, NotConverged, Singular } failure = Failure::None;
    double worstImbalance = 0; // Nm^3/h, where it did not converge
    int worstImbalanceNode = -1;
    int singularNode = -1; // where the matrix could not be factorised: a node without a way to a source
};

// Every diameter must be set (> 0). Every node must be connected to a source.
// On success every node that is not a source balances to 1e-9 x max(total load, 1);
// a free pipe's potential difference is its law's drop at its flow, and a held pipe's
// flow is its boundary flow exactly with a drop between the two formulas', both to
// 1e-8 x max(1, the largest source potential).
// A solve asked to stop (stop set) ends early, not converged.
Solution solveLooped(const Arrays &network, int maxIterations = kMaxIterations,
                     const std::atomic<bool> *stop = nullptr);

} // namespace network
