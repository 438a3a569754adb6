#pragma once

#include "network.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A network's files: its node and pipe tables as CSV, and EPANET input files (.inp),
// the common exchange format of network drawings.
namespace network {

// A table read from CSV headed by the typed columns' keys or captions (network_columns.h):
// the rows in the table's column order and the line each starts on. On a problem, its
// text (naming the line) and no rows.
struct TableRead
{
    QList<Row> rows;
    QList<int> lines;
    QString error;
};
TableRead tableFromCsv(const QByteArray &bytes, Table table);
// The typed rows as CSV headed by the keys, with a byte-order mark for spreadsheets.
QByteArray tableToCsv(Table table, const QList<Row> &rows);

// An EPANET input file read: junctions and reservoirs (sources) as nodes, open pipes as
// pipes with their [VERTICES] as bends, in the order of the file. A reservoir's pressure is the one the program wrote
// on its line (";source_pressure 3000 Pa"); where a file gives none, sourcePressure.
struct InpRead
{
    QList<Row> nodes;
    QList<Row> pipes;
    QList<int> nodeLines;
    QList<int> pipeLines;
    QString error; // naming the line
    // Reservoirs without a pressure of their own when no sourcePressure was given.
    int sourcesWithoutPressure = 0;
};
InpRead fromInp(const QByteArray &bytes, Pressure pressure, const QString &sourcePressure);
// The network as an EPANET input file: diameters as solved where they were sized, empty
// lengths as the pipes' courses give them, the bends in [VERTICES], each source's pressure
// on its reservoir's line, which EPANET passes over as a comment.
QByteArray toInp(const Network &network, const Result &result);

} // namespace network
