#pragma once

#include "network_arrays.h"
#include "network_graph.h"

#include <vector>

namespace network {

// Sizes the automatic pipes of a tree with one source and sets the potentials,
// the main line first and each branch from the potential left at its take-off.
// Each pipe picks from its material's series (m.series), the smallest within its
// budget; a pipe that no size of it keeps within its budget gets the largest and is
// marked in noDiameter.
void sizeTree(Arrays &m, const Adjacency &adj, const Forest &f, const std::vector<double> &flow,
              std::vector<double> &potential, std::vector<char> &noDiameter);

} // namespace network
