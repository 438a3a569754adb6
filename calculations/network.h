#pragma once

#include <QList>
#include <QString>

#include <optional>

// A gas network (管网计算): nodes with loads and pipes between them, fed by one or
// more sources held at their pressures. Trees are solved exactly and may leave
// diameters to be sized; looped or multi-source networks are solved by Newton's
// method on the node potentials.
namespace network {

enum class Pressure { Low, High };

// The settings as typed; a is the local loss as a percent of the friction loss.
struct Settings
{
    Pressure pressure = Pressure::Low;
    int material = 0; // default: 0 steel, 1 cast iron, 2 plastic
    QString density;
    QString viscosity;
    QString temperature;
    QString localPercent = QStringLiteral("10");
    QString minPressure; // Pa for low pressure, kPa for medium/high
    int digits = 15; // significant digits the tables and drawing show: 15, or 4 (display only)
};

// The typed cells of a node and of a pipe, in the tables' column order.
struct NodeRow
{
    QString node;
    QString load;
    QString elevation;
    QString x;
    QString y;
    QString sourcePressure; // empty for an ordinary node
};
struct PipeRow
{
    QString pipe;
    QString from;
    QString to;
    QString length; // m for low pressure, km for medium/high
    QString diameter; // mm; empty: sized automatically
    QString material; // empty: the default
};

struct Network
{
    Settings settings;
    QList<NodeRow> nodes;
    QList<PipeRow> pipes;
};

// Column keys of the typed tables, as the CSV files and the design file name them.
const QStringList &nodeKeys(); // node, load, elevation, x, y, source_pressure
const QStringList &pipeKeys(); // pipe, from, to, length, diameter, material
// Whether a column of either table holds a number (load, elevation, x, y,
// source_pressure, length, diameter).
bool isNumberKey(const QString &key);

// A material as typed: 1-3 or its caption (钢管, 铸铁管, 塑料管); nothing for anything else.
std::optional<int> materialOf(const QString &text);

// Why a network cannot be calculated: the table, the row (0-based; -1 for a setting
// or the network as a whole), the column key, and the text for the user.
struct Problem
{
    enum class Table { Settings, Nodes, Pipes };
    Table table = Table::Settings;
    int row = -1;
    QString column;
    QString text;
};

struct NodeResult
{
    double load = 0;
    double elevation = 0;
    std::optional<double> sourcePressure;
    std::optional<double> supply; // a source's: its net outflow plus its own load
    std::optional<double> pressure; // Pa or kPa; none where P^2 <= 0 (medium/high)
    QString message;
};

struct PipeResult
{
    int material = 0; // 0..2
    double length = 0;
    double diameter = 0;
    bool automatic = false;
    double flow = 0; // Nm^3/h, signed: positive from `from` to `to`
    double unitDrop = 0; // Pa/m or kPa^2/km at |flow|
    // Low pressure
    double reynolds = 0;
    QString state;
    double frictionDrop = 0;
    double localDrop = 0;
    double gravityHead = 0;
    double pipeDrop = 0; // P_from - P_to
    // Medium/high pressure
    double dp2 = 0; // P_from^2 - P_to^2
    QString message;
};

struct Loop
{
    QList<int> pipes; // in order around the loop
    QList<int> directions; // +1 where the loop runs from `from` to `to`, else -1
    double closure = 0;
    double closurePercent = 0;
};

struct Result
{
    std::optional<Problem> refused; // set: nothing else is
    bool converged = false;
    QString failure; // why it did not converge
    int iterations = 0;
    QString verdict;
    bool met = false;
    int worstNode = -1;
    QList<NodeResult> nodes;
    QList<PipeResult> pipes;
    QList<Loop> loops;
};

inline const QString kNoDiameter = QStringLiteral("管径系列中无满足允许压降的管径,嘿嘿");
inline const QString kBackflow = QStringLiteral("气源倒流");

Result solve(const Network &network);

} // namespace network
