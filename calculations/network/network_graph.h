#pragma once

#include "network.h"
#include "network_arrays.h"

#include <QList>

#include <vector>

// The shape of a network: which pipes meet at each node, a spanning forest from the
// sources, the independent loops and the way gas reaches a node.
namespace network {

// Pipes by node, as a compressed adjacency list.
struct Adjacency
{
    std::vector<int> start, pipes;

    explicit Adjacency(const Arrays &m);
};

int otherEnd(const Arrays &m, int k, int node);

// A spanning forest grown breadth-first, one tree for each connected part of the
// network, rooted at its first source: each node's parent pipe (-1 at a root or an
// unreached node), in the order nodes were reached. Every pipe outside it closes
// one independent loop, and every node it reaches has a source.
struct Forest
{
    std::vector<int> parentPipe, depth, order;
    std::vector<char> reached;
};
Forest spanningForest(const Arrays &m, const Adjacency &adj);

// The independent loops, the meshes a designer draws (closures not yet set).
QList<Loop> independentLoops(const Arrays &m, const Adjacency &adj, const Forest &f);

// The pipes by which gas reaches a node from a source, following the flow: at each
// node the pipe with the largest inflow. In order from the source.
QList<int> wayIn(const Arrays &m, const Adjacency &adj, const std::vector<double> &flow, int node);

} // namespace network
