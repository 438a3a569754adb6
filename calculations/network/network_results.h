#pragma once

#include "network.h"
#include "network_arrays.h"
#include "network_graph.h"
#include "network_loads.h"
#include "network_solver.h"

#include <vector>

namespace network {

// The numbers of a solved network: each pipe's state and drops (a held pipe's from
// the potentials, between the two formulas'), each node's pressure and a source's
// supply, the loops with their closures, the worst node, the way gas reaches it and
// the verdict; the households, the K and the path load beside each pipe's flow.
void writeResults(const Arrays &m, const Adjacency &adj, const Forest &forest, const Solution &solution,
                  const std::vector<char> &noDiameter, const Loads &loads, Result &result);

} // namespace network
