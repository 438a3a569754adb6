#pragma once

#include <QList>
#include <QString>

// The pipe quantities of a network (管材统计): length and number of pipes of each
// material and size, for the bill of materials.
namespace quantities {

struct Pipe
{
    int material = 0; // 0 steel, 1 cast iron, 2 plastic
    QString size; // the nominal name ("DN100"); empty for a diameter typed as a number
    double diameter = 0; // inner, mm
    double length = 0; // in the unit of the network's pressure class
};

struct Row
{
    int material = 0;
    QString materialCaption; // 钢管, 铸铁管, 塑料管
    QString size; // the nominal name, or the diameter in mm as its shortest text ("106.3")
    double diameter = 0;
    double length = 0;
    int count = 0;
};

struct Table
{
    QList<Row> rows; // by material, then by inner diameter
    double length = 0; // 合计: all rows
    int count = 0;
};

// Pipes of one material and one size make one row: a nominal name matched as the catalogue matches
// it (DN100, dn100), another name whatever its letters' case, or a diameter typed as a number. The row
// shows the name as first met; of equal diameters the size met first comes first.
Table tally(const QList<Pipe> &pipes);

} // namespace quantities
