#pragma once

#include "network.h"
#include "quantities.h"

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
    bool isPressure = false; // a pressure: at medium/high pressure its caption says gauge or absolute
    // The text a reader sees where it is not the value's (a material's caption); none: the value's.
    QString (*shown)(const Result &result, int row) = nullptr;
    // Whether a row's value is over its bound (a velocity over the largest), to be marked.
    bool (*marked)(const Result &result, int row) = nullptr;

    bool serves(Pressure pressure) const { return !caption(pressure).isEmpty(); }
    QString caption(Pressure pressure) const { return pressure == Pressure::Low ? lowCaption : highCaption; }
    // The caption in the settings' class, saying gauge or absolute of a medium/high pressure.
    QString shownCaption(const Settings &settings) const;
};

// The typed columns first, in the order of node::Column and pipe::Column.
const QList<Column> &columns(Table table);
int typedCount(Table table);
// The keys of the typed columns, in the row's order.
QStringList typedKeys(Table table);
// The typed column of a CSV header cell: its key, or its caption in either class; -1 for none.
int typedColumnOf(Table table, const QString &header);
// Whether a typed column holds a number: not the material, the appliance set or the
// diameter, which may be typed by a caption or a size's name.
bool isNumberColumn(Table table, int column);

// The loops' columns, a row for each pipe of each loop: the loop's number, the pipe, its
// direction around the loop (+1 along the pipe, -1 against it), its drop by its law (signed
// along the pipe), and the loop's closure (the sum of direction x drop) and its percent.
QStringList loopKeys();
// The loops as a checker adds them up, the closure on every row of its loop; numbers as text.
QList<QStringList> loopRows(const Result &result);

// The bill of quantities (管材统计) of a solved network: the length and number of pipes of
// each material and size; empty where it was not solved.
quantities::Table quantitiesOf(const Result &result);
// Its columns: the material's caption, the size, the length and the number of pipes.
QStringList quantityKeys();
// The bill as rows under its keys, a last row 合计; lengths in the class's unit, in full.
QList<QStringList> quantityRows(const Result &result);

} // namespace network
