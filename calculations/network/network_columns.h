#pragma once

#include "network.h"

#include <QList>
#include <QString>

#include <variant>

// Every column of the node and pipe tables, described once: the screen's tables, the
// command line's JSON and CSV, the CSV files, the design file and the report all read
// these lists. A new column is one entry here and its calculation.
namespace network {

// A cell's value: nothing, a number, a text or a yes/no.
using Value = std::variant<std::monostate, double, QString, bool>;

struct Column
{
    enum class Kind { Text, Number, Flag };
    QString key; // its name in files, on the command line and in JSON
    QString lowCaption; // with its unit; empty: not a column at low pressure
    QString highCaption; // empty: not a column at medium/high pressure
    Kind kind = Kind::Number;
    bool typed = false; // typed by the user (the first columns, in the row's order)
    // The value of a row as the calculation used it: a typed number as read, a sized
    // diameter as chosen; for a computed column, the result. Empty where not solved.
    Value (*value)(const Result &result, int row) = nullptr;
    bool inReport = true;

    bool serves(Pressure pressure) const { return !caption(pressure).isEmpty(); }
    QString caption(Pressure pressure) const { return pressure == Pressure::Low ? lowCaption : highCaption; }
};

// The typed columns first, in the order of node::Column and pipe::Column.
const QList<Column> &columns(Table table);
int typedCount(Table table);
// The keys of the typed columns, in the row's order.
QStringList typedKeys(Table table);
// The typed column of a CSV header cell: its key, or its caption in either class; -1 for none.
int typedColumnOf(Table table, const QString &header);
// Whether a typed column holds a number.
bool isNumberColumn(Table table, int column);

// The loops' columns: the loop's number, its pipes, the closure and its percent.
QStringList loopKeys();

} // namespace network
