#pragma once

#include "drawing_import.h"
#include "drawing_topology.h"

#include <QList>
#include <QMap>
#include <QString>

#include <vector>

// A drawing as its file holds it: the lines and texts of each layer, before any joining.
// GDAL reads it in a module of its own (velmora_drawings), loaded when a drawing is first
// imported, so that the program and velmora-batch start without GDAL and its many libraries.
namespace drawing {


inline constexpr const char *kMaterials[] = {"钢管", "铸铁管", "塑料管"};

// GDAL draws an arc as chords of at most this many degrees; set, so the arcs can be found again.
inline constexpr double kArcStepDegrees = 4;

struct UnitName
{
    int code; // $INSUNITS
    const char *name;
    double metres;
};
inline constexpr UnitName kUnits[]
    = {{1, "in", 0.0254}, {2, "ft", 0.3048},  {3, "mi", 1609.344}, {4, "mm", 0.001}, {5, "cm", 0.01}, {6, "m", 1},
       {7, "km", 1000},   {10, "yd", 0.9144}, {14, "dm", 0.1},     {15, "dam", 10},  {16, "hm", 100}};

struct ReadLine
{
    int layer = 0;
    std::vector<Point> points;
    bool arcs = false; // drawn with arcs that GDAL turned into chords
    QString diameter; // the fields' texts as the file holds them
    QString material;
    QString id;
};

struct ReadText
{
    int layer = 0;
    Point at;
    QString text;
};

struct LayerRead
{
    QString name;
    int lines = 0;
    QMap<QString, int> leftOut;
    bool degrees = false; // a GIS layer in longitude and latitude
    QString units;
};

struct Drawing
{
    QList<LayerRead> layers;
    std::vector<ReadLine> lines;
    std::vector<ReadText> texts;
    QString error;
};

// What the module gives: the layers of a file, and a file read into lines and texts.
struct Reader
{
    Layers (*listLayers)(const QString &path);
    Drawing (*read)(const QString &path, const Options &options);
};

} // namespace drawing

// The module's one entry point.
extern "C" const drawing::Reader *velmoraDrawingReader();
