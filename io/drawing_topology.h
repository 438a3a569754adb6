#pragma once

#include <vector>

// The steps that turn the lines of a drawing into nodes and pipes, always in this order:
// join ends within the tolerance, make tees, drop zero-length pieces, find the parts, place
// the labels. Each is a function on plain arrays, in metres.
namespace drawing {

struct Point
{
    double x = 0;
    double y = 0;
};

// A line as read: its points in order, no two neighbours equal, and the length along it up
// to each point (along[0] is 0). An arc's length is its radius times its angle, so `along`
// is not always the sum of the chords.
struct Line
{
    std::vector<Point> points;
    std::vector<double> along;
};

// Lengths along straight segments.
std::vector<double> chordLengths(const std::vector<Point> &points);
// Lengths along a line whose arcs were drawn as runs of equal chords, each turning by the same
// angle of at most maxStep (radians): such a run is measured as the arc it stands for.
std::vector<double> lengthsWithArcs(const std::vector<Point> &points, double maxStep);

struct Pipe
{
    int from = -1;
    int to = -1;
    std::vector<Point> points; // from the node `from` to the node `to`, bends between
    std::vector<double> along;
    int line = 0; // the line it was cut from
    double length() const { return along.back() - along.front(); }
};

struct Network
{
    std::vector<Point> nodes;
    std::vector<Pipe> pipes;
};

// Every end closer than the tolerance to a node already made joins it; else it makes a node
// where it lies. Nodes come in the order of the lines. mergedEnds counts the ends that moved
// onto a node (an end already on it moves by nothing and is not counted).
struct Joined
{
    Network network;
    int mergedEnds = 0;
};
Joined joinEnds(const std::vector<Line> &lines, double tolerance);

// A node within the tolerance of another pipe's interior, and farther than the tolerance
// from that pipe's ends, cuts the nearest such pipe in two there. Returns the tees made.
int makeTees(Network &network, double tolerance);

// A pipe whose ends are one node is dropped when all of it lies within the tolerance of that
// node; a longer one (a closed ring) is cut in two at its middle, since a pipe cannot run
// from a node to itself. Nodes left without pipes go; the others keep their order.
// Returns the pipes dropped.
int dropZeroLength(Network &network, double tolerance);

// The connected parts, and the nodes with a single pipe.
int countParts(const Network &network);
int countDangling(const Network &network);

// The point halfway along a pipe.
Point middle(const Pipe &pipe);

// Each label goes to the nearest pipe whose middle lies within `distance` of it; a pipe keeps
// the one of its labels nearest its middle. Returns, for each pipe, its label or -1.
std::vector<int> placeLabels(const Network &network, const std::vector<Point> &labels, double distance);

} // namespace drawing
