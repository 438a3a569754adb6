#pragma once

#include "network_arrays.h"
#include "pipe_law.h"

#include <vector>

// Solving a looped or multi-source network: the potentials at which every node balances.
namespace network {

inline constexpr int kMaxIterations = 200;

struct Solution
{
    bool converged = false;
    int iterations = 0;
    std::vector<double> flow; // by pipe, signed: positive from `from` to `to`
    std::vector<double> potential; // by node (sources at their fixed potential)
    std::vector<BoundaryHold> hold; // by pipe
    enum class Failure { None, NotConverged, Singular } failure = Failure::None;
    double worstImbalance = 0; // Nm^3/h, where it did not converge
    int worstImbalanceNode = -1;
};

// Every diameter set (> 0), every node connected to a source.
Solution solveLooped(const Arrays &network, int maxIterations = kMaxIterations);

} // namespace network
