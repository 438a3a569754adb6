#pragma once

#include "network.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A network's files: its node and pipe tables as CSV, and EPANET input files (.inp),
// the common exchange format of network drawings.
namespace network {

// A table read from CSV headed by the keys of nodeKeys() or pipeKeys(): the rows in
// the table's column order and the line each starts on. On a problem, its text
// (naming the line) and no rows.
struct TableRead
{
    QList<QStringList> rows;
    QList<int> lines;
    QString error;
};
TableRead tableFromCsv(const QByteArray &bytes, const QStringList &keys);
QList<NodeRow> nodeRows(const QList<QStringList> &rows);
QList<PipeRow> pipeRows(const QList<QStringList> &rows);

// An EPANET input file read: junctions and reservoirs (sources, each at the
// pressure given) as nodes, open pipes as pipes, in the order of the file.
struct InpRead
{
    QList<NodeRow> nodes;
    QList<PipeRow> pipes;
    QList<int> nodeLines;
    QList<int> pipeLines;
    QString error; // naming the line
};
// sourcePressure: the pressure every reservoir is held at (empty: the reservoir's head).
InpRead fromInp(const QByteArray &bytes, Pressure pressure, const QString &sourcePressure);
// The network as an EPANET input file, diameters as given (the chosen ones where sized).
QByteArray toInp(const Network &network, const QList<double> &diameters);

} // namespace network
