#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// A pipe's course on the plan: from its first node through its bends to its last, in metres
// as surveyed (Y up). The bends are typed as "x y;x y" in the pipe's vertices cell.
namespace network {

// The bends of a vertices cell: none for a blank one, nothing for a text that is not pairs of
// finite numbers.
std::optional<QList<QPointF>> readVertices(const QString &text);
// The bends as a vertices cell, to the micrometre.
QString verticesText(const QList<QPointF> &bends);

// The length along a course.
double courseLength(const QList<QPointF> &points);

// The piece of a course that holds its middle, from points[piece] to points[piece + 1], and
// how far along that piece the middle lies; a course of no length: its first piece, at its
// start; fewer than two points: piece -1.
struct Middle
{
    int piece = -1;
    double along = 0;
};
Middle middleOf(const QList<QPointF> &points);

// The point of a course nearest to a point: on which piece (from points[piece] to
// points[piece + 1]), how far along the course, and how far from the point.
struct OnCourse
{
    int piece = -1;
    double along = 0;
    QPointF at;
    double distance = 0;
};
OnCourse nearestOnCourse(const QList<QPointF> &points, QPointF p);

} // namespace network
