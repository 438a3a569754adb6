#pragma once

#include "network.h"

#include <QList>
#include <QPointF>

// Where the drawing puts each node, from the nodes and pipes as read: at its X, Y where
// both are typed (Y up, as on a map), else placed automatically: a tree in layers from its source, each parent
// beside the middle of its children; a looped network by springs along its pipes
// (force-directed), the typed nodes held where they are.
namespace network {

struct Layout
{
    QList<QPointF> points; // by node, in the user's order
    QList<bool> automatic; // placed by the program, not typed
};

Layout layOut(const Result &result);

} // namespace network
