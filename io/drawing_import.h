#pragma once

#include "network.h"

#include <QList>
#include <QMap>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

// A network drawn in CAD (DXF) or kept in a GIS line layer (ESRI Shapefile, GeoPackage, GeoJSON),
// read through GDAL into the node and pipe tables: the line ends joined into nodes, tees made,
// diameters and materials read from fields, layer names or the labels beside the pipes.
namespace drawing {

// The layers of a file with how many lines each holds, for choosing which are pipes. A DXF
// drawing's layers are its CAD layers (model space only); a GIS file's are its layers.
struct LayerLines
{
    QString name;
    int lines = 0;
};
struct Layers
{
    QList<LayerLines> layers; // in the order the file first uses them
    QString units; // as the file states them ("m", "mm", "ft", ...); empty when it does not
    QString error; // set: the file cannot be read
};
Layers listLayers(const QString &path);

struct Options
{
    QStringList layers; // empty: every layer that holds lines
    double snap = 0.5; // m: ends closer than this are one node
    std::optional<double> metresPerUnit; // overrides the file's units
    double labelDistance = 3; // m, from a pipe's middle
    network::Pressure pressure = network::Pressure::Low; // the length column: m, or km for medium/high
    // Attribute fields of a GIS layer; empty: one named diameter/DN/管径, material/管材, pipe/id.
    QString diameterField;
    QString materialField;
    QString idField;
};

// What each step did, for the import report.
struct Report
{
    int lines = 0; // line entities on the chosen layers, inside blocks and zero-length ones too
    int nodes = 0;
    int pipes = 0;
    int mergedEnds = 0;
    int tees = 0;
    int dangling = 0;
    int dropped = 0;
    int parts = 0;
    // Pipes labelled with a length ("L=35.0") that is not the length of their course, as when a
    // length typed over the drawing's was exported: the import keeps the course's.
    int lengthLabelsDiffer = 0;
    QMap<QString, int> leftOut; // kind ("point", "text", "hatch", "paper_space", ...) -> count
    double totalLength = 0; // m
    QString units; // as read, as given, or "m (assumed)"
    bool unitsFound = false; // whether the file stated its units
};

struct Import
{
    QList<network::Row> nodes; // node, x, y (m): the typed cells of network::node::Column
    // pipe, from, to, length, diameter, material, vertices (network::pipe::Column)
    QList<network::Row> pipes;
    QList<QList<QPointF>> bends; // each pipe's inner vertices (m), its ends left out
    Report report;
    QString error; // set: the file was refused whole and nothing else is
    bool ok() const { return error.isEmpty(); }
};
Import importDrawing(const QString &path, const Options &options);

// The typed tables as written to CSV: "node,x,y" and
// "pipe,from,to,length,diameter,material,vertices" (vertices "x y;x y;...").
QList<QStringList> nodeTable(const Import &import);
QList<QStringList> pipeTable(const Import &import);

// A diameter label ("DN100", "dn110", "De110" keep their nominal name, De as dn; "D108×4" and
// "Φ108x4" give the inner diameter, "100") and the material it names (钢管, 铸铁管, 塑料管);
// either is empty when the text does not say.
struct Label
{
    QString diameter;
    QString material;
};
Label readLabel(const QString &text);

// Metres per unit for "m", "mm", "cm" or "km".
std::optional<double> metresPerUnit(const QString &unit);

} // namespace drawing
