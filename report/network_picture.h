#pragma once

#include "network.h"
#include "network_layout.h"
#include "route.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

class QFont;
class QPaintDevice;
class QPainter;

// The drawing of a network, as the screen shows it and the report and the exports
// print it: nodes at their places filled by pressure, sources as squares; pipes as
// lines through their bends as wide as their diameters, coloured by a measure, an
// arrow for the flow, sized ones dashed; the most unfavourable node and the way its
// gas arrives highlighted; a legend. A solved network printed is labelled as its DXF
// drawing is (network_dxf.h). Painted with QPainter alone (no widgets).
namespace picture {

enum class ColourBy { UnitDrop, Flow, PressureDrop };
inline const QStringList kColourByCaptions{QStringLiteral("按单位压降"), QStringLiteral("按流量"),
                                           QStringLiteral("按管段压降")};

struct Node
{
    QString id;
    QPointF at; // Y up, as typed
    bool source = false;
    std::optional<double> pressure;
    bool worst = false;
    // Its place among the nodes drawn at the same point (a riser's): its id is printed
    // that many lines lower, so that the ids do not cover each other.
    int stack = 0;
    QString label; // as the DXF drawing labels it: the id, and the pressure where solved
};

struct Pipe
{
    QString id;
    int row = -1; // in the pipe table
    int from = -1;
    int to = -1;
    double diameter = 0;
    std::optional<double> value; // the measure coloured by
    double flow = 0; // Nm^3/h, signed as solved
    int direction = 0; // +1 from `from` to `to`, -1 back, 0 no flow
    bool automatic = false;
    bool onWorstPath = false;
    QList<QPointF> bends; // between its ends' places, where both are typed
    // As the DXF drawing labels it, where solved: "DN100 L=35.0" above, "Q=12.3 ΔP=4.5" below.
    QString above;
    QString below;
};

struct Scene
{
    QList<Node> nodes;
    QList<Pipe> pipes;
    ColourBy colourBy = ColourBy::UnitDrop;
    double lowPressure = 0, highPressure = 0; // the pressure scale
    double lowValue = 0, highValue = 0; // the pipes' scale
    std::optional<double> minPressure; // marked on the pressure scale
    QString pressureUnit;
    QString valueUnit;
    bool solved = false;
    int digits = 15; // of the legend's numbers
};

// The drawing's content, from the nodes and pipes as read and, where the network was
// solved, its results; a pipe whose ends are not nodes is left out. Without texts, the
// labels of the DXF drawing are left empty (the screen draws ids).
Scene sceneOf(const network::Result &result, const network::Layout &layout, ColourBy colourBy, int digits,
              bool texts = true);

// Blue through green and yellow to red for t from 0 to 1.
QColor scaleColour(double t);
// Where a value lies on a scale, 0..1 (0.5 when the scale is a point).
double onScale(double value, double low, double high);
// The pen width of a pipe of that diameter (mm), in points.
double pipeWidth(double diameter);
// Whether the ids can be read at a scale (pixels to a unit of X, Y): few nodes and
// pipes, or the middling pipe as long as a few characters at least.
bool idsReadable(const Scene &scene, double scale);

// The rectangle the nodes' places and the bends span (as typed, Y up).
QRectF extentOf(const Scene &scene);
// Paints the scene fitted into target (Y up), with its legend at the right.
void paint(QPainter &painter, const QRectF &target, const Scene &scene, bool labels = true);
// The legend alone, in its column at the right of target: the pressure scale with
// the minimum pressure marked, and the pipes' scale. Its width.
double legendWidth(const QFont &font, const QPaintDevice *device);
void paintLegend(QPainter &painter, const QRectF &target, const Scene &scene);

// The pressure along the way from a source to the most unfavourable node: each
// node's id, its distance from the source (m, or km for medium/high pressure) and
// its pressure; empty unless the network was solved.
struct Profile
{
    QStringList ids;
    QList<double> distance;
    QList<double> pressure;
    std::optional<double> minPressure;
    QString distanceUnit;
    QString pressureUnit;
};
Profile profileOf(const network::Result &result);
// A route's profile: for low pressure what is left of the allowable drop after each
// section (the line at 0), for medium/high pressure the end pressure of each section
// from P1 (the line at the minimum end pressure); the sections that calculate.
Profile routeProfile(const route::Settings &settings, const QList<route::Section> &sections,
                     const route::Result &result);
// Distance across, pressure up, a point at each node with its id, the minimum pressure as a line.
void paintProfile(QPainter &painter, const QRectF &target, const Profile &profile);

// The drawing (legend included) or the profile as the bytes of an SVG or PNG file, by
// the suffix of the path it is for.
QByteArray pictureFile(const Scene &scene, const QString &path);
QByteArray pictureFile(const Profile &profile, const QString &path);

} // namespace picture
