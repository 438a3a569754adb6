#pragma once

#include "network_arrays.h"
#include "network_graph.h"

#include <array>
#include <vector>

// What each pipe and node carries: the loads as typed, the households at their
// simultaneity and the path loads spread along the pipes.
namespace network {

// The loads the flows were made from.
struct Loads
{
    bool tree = false; // made by simultaneity over the households beyond each pipe
    std::vector<double> typed; // by node, the load as typed
    // Trees, by pipe: the flow, signed as the pipe runs from the source; the households
    // of each set beyond the pipe and the K taken for them (0 where there are none).
    std::vector<double> flow;
    std::array<std::vector<double>, 2> households, k;
    std::vector<char> pipeBeyondTable; // more households of a set beyond the pipe than the table holds
    std::vector<char> nodeBeyondTable; // the same of a node's own households, where they are its own load
};

// A tree with one source: each pipe carries K(N) N Qn of the households beyond it,
// set by set, with the loads and path loads beyond it and 0.55 of its own path load.
// The source's m.load becomes its own load, its households at their own K included.
Loads treeLoads(Arrays &m, const Forest &f);

// A network with loops or several sources: each node's m.load becomes the load it
// balances, its households at their own K and half the path load of each of its
// pipes added.
Loads nodeLoads(Arrays &m);

} // namespace network
