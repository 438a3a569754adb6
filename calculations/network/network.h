#pragma once

#include "gas_settings.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// A gas network (管网计算): nodes with loads and pipes between them, fed by one or
// more sources held at their pressures. Trees are solved exactly and may leave
// diameters to be sized; looped or multi-source networks are solved by Newton's
// method on the node potentials.
namespace network {

using gas::Pressure;
// The settings as typed, by the names of network::textSettings().
using gas::Settings;

enum class Table { Nodes, Pipes };

// The typed columns of each table, in the order the tables, the CSV files and the
// design file keep them; network_columns.h describes every column.
namespace node {
enum Column : int { Id, Load, Elevation, X, Y, SourcePressure, Count };
}
namespace pipe {
// Vertices: the bends between the ends, "x y;x y" (network_geometry.h).
enum Column : int { Id, From, To, Length, Diameter, Material, Vertices, Count };
}

// A row of a table: its typed texts by column; a missing cell is empty.
using Row = QStringList;

struct Network
{
    Settings settings;
    QList<Row> nodes;
    QList<Row> pipes;
};

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

// Where a pipe's flow stays when the low-pressure law jumps at a regime boundary.
enum class Hold { None, LaminarEnd, TurbulentStart };

// Every node and pipe as read from the tables, whether or not the network could be
// solved; the numbers of a solved network beside them.
struct NodeResult
{
    QString id;
    std::optional<QPointF> place; // X, Y where both are typed
    bool source = false;
    double load = 0;
    double elevation = 0;
    std::optional<double> sourcePressure;
    std::optional<double> supply; // a source's: its net outflow plus its own load
    std::optional<double> pressure; // Pa or kPa; none where P^2 <= 0 (medium/high)
    QString message;
};

struct PipeResult
{
    QString id;
    int from = -1; // node indices; -1 where the end is not a node
    int to = -1;
    int material = 0; // 0..2
    // m, or km for medium/high pressure; the course's where the length cell is empty and both
    // ends have places (lengthFromGeometry), even when the network was not solved.
    double length = 0;
    bool lengthFromGeometry = false;
    QList<QPointF> bends; // as typed; empty where the cell cannot be read
    double diameter = 0;
    bool automatic = false;
    double flow = 0; // Nm^3/h, signed: positive from `from` to `to`
    double unitDrop = 0; // Pa/m or kPa^2/km at |flow|
    Hold hold = Hold::None;
    // Low pressure
    double reynolds = 0;
    QString state;
    double frictionDrop = 0; // signed along the pipe, as the flow
    double localDrop = 0;
    double gravityHead = 0;
    // P_from - P_to (Pa, or kPa for medium/high): friction + local - gravity head at low pressure
    double pipeDrop = 0;
    // Medium/high pressure
    double dp2 = 0; // P_from^2 - P_to^2
    // The drop by the pipe's law, signed as the flow: friction + local at low pressure,
    // s L w (kPa^2) at medium/high pressure; what a loop's closure adds up.
    double lawDrop = 0;
    QString message;
};

struct Loop
{
    QList<int> pipes; // in order around the loop
    QList<int> directions; // +1 where the loop runs from `from` to `to`, else -1
    // The signed sum of the pipes' law drops around the loop: friction + local at low
    // pressure, s L w at medium/high pressure.
    double closure = 0;
    double closurePercent = 0;
};

struct Result
{
    std::optional<Problem> refused; // set: the nodes and pipes as read, nothing solved
    bool low = true;
    double minPressure = 0;
    bool converged = false;
    QString failure; // why it did not converge
    int iterations = 0;
    QString verdict;
    bool met = false;
    int worstNode = -1;
    // The most unfavourable line (最不利管线): the pipes by which gas reaches the worst
    // node from its source, following the flow, in order from the source.
    QList<int> worstPath;
    QList<NodeResult> nodes;
    QList<PipeResult> pipes;
    QList<Loop> loops;

    bool solved() const { return !refused && converged; }
};

inline const QString kNoDiameter = QStringLiteral("管径系列中无满足允许压降的管径,嘿嘿");
inline const QString kBackflow = QStringLiteral("气源倒流");

// Solves a network. A solve that is asked to stop (stop set) ends early with
// converged false and an empty failure; its result is of no use.
Result solve(const Network &network, const std::atomic<bool> *stop = nullptr);
// The same with a bound on the Newton iterations, for tests.
Result solve(const Network &network, int maxIterations);

} // namespace network
