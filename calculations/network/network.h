#pragma once

#include "gas_settings.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <optional>

// A gas network (管网计算): nodes with loads and households and pipes between them,
// fed by one or more sources held at their pressures. Trees are solved exactly, each
// pipe carrying the households beyond it at their simultaneity, and may leave
// diameters to be sized; looped or multi-source networks are solved by Newton's
// method on the node potentials, each node taking its own households.
namespace network {

using gas::Pressure;
// The settings as typed, by the names of network::textSettings().
using gas::Settings;

enum class Table { Nodes, Pipes };

// The typed columns of each table, in the order the tables, the CSV files and the
// design file keep them; network_columns.h describes every column.
namespace node {
enum Column : int { Id, Load, Elevation, X, Y, SourcePressure, Households, Appliance, Count };
}
namespace pipe {
// Vertices: the bends between the ends, "x y;x y" (network_geometry.h).
enum Column : int { Id, From, To, Length, Diameter, Material, LocalPercent, PathLoad, Vertices, Count };
}

// A row of a table: its typed texts by column; a missing cell is empty.
using Row = QStringList;

// The pipe catalogues (管材规格) of steel, cast iron and plastic, by material: each
// size a row of its name, outside diameter and wall as typed. The inner diameter the
// formulas take is the outside diameter less two walls, or the nominal bore of a size
// stated without them (cast iron).
namespace size {
enum Column : int { Name, Outside, Wall, Count };
}
using Catalogues = std::array<QList<Row>, 3>;
// The catalogues of a new design: network_catalogue.h.
Catalogues defaultCatalogues();

struct Network
{
    Settings settings;
    QList<Row> nodes;
    QList<Row> pipes;
    Catalogues catalogues = defaultCatalogues();
};

// A material as typed: 1-3 or its caption (钢管, 铸铁管, 塑料管); nothing for anything else.
std::optional<int> materialOf(const QString &text);
// An appliance set as typed: 1-2 or its caption (双眼灶, 双眼灶和快速热水器), 0-based; nothing for anything else.
std::optional<int> applianceOf(const QString &text);

// How the pipes' flows were found: by simultaneity over the households beyond each pipe
// of a tree, or by balancing node loads in a network with loops or several sources.
inline const QString kSimultaneityRule = QStringLiteral("同时工作系数法（枝状）");
inline const QString kNodeLoadRule = QStringLiteral("节点流量法（环状）");

// Why a network cannot be calculated: the table, the row (0-based; -1 for a setting
// or the network as a whole), the column key, and the text for the user.
struct Problem
{
    // Catalogue: a material's catalogue, the column being its key (steel, castIron, plastic).
    enum class Table { Settings, Nodes, Pipes, Catalogue };
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
    double load = 0; // as typed, without simultaneity
    double elevation = 0;
    double households = 0;
    int appliance = 2; // the set its households use: 1 or 2
    // With loops or several sources, the load the node balances: its load, its own
    // households at their simultaneity and half the path loads of its pipes.
    std::optional<double> calcLoad;
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
    double diameter = 0; // inner, mm
    QString size; // the catalogue's name of a size typed or chosen by name ("DN100"); empty for millimetres
    bool lengthFromGeometry = false;
    QList<QPointF> bends; // as typed; empty where the cell cannot be read
    bool automatic = false;
    double localPercent = 0; // as used: the pipe's or the setting's
    double pathLoad = 0; // Nm^3/h taken evenly along the pipe
    // In a tree: the households of each appliance set beyond the pipe, and the
    // simultaneity coefficient taken for them (none where the set has no households).
    std::optional<double> households[2];
    std::optional<double> k[2];
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
    // m/s at the mean of the two ends' pressures (absolute) and the gas temperature; none
    // where a pressure is not known. tooFast: over the largest velocity set.
    std::optional<double> velocity;
    bool tooFast = false;
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
    bool gauge = false; // medium/high pressures typed and shown as gauge (low pressures always are)
    double minPressure = 0;
    bool converged = false;
    QString failure; // why it did not converge
    int iterations = 0;
    QString verdict;
    QString flowRule; // kSimultaneityRule or kNodeLoadRule, once solved
    bool met = false;
    int worstNode = -1;
    // The worst node's pressure less the least allowed, Pa or kPa: negative where it falls
    // short; none where the worst node has no pressure.
    std::optional<double> margin;
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
inline const QString kBeyondSimultaneity = QStringLiteral("户数超出同时工作系数表,按2000户取值");

inline const QString kTooFast = QStringLiteral("流速超过 %1 m/s");
inline const QString kBelowMinimum = QStringLiteral("管径小于最小管径 %1");

// A pipe's size as drawings and quantities name it: the catalogue's name, or the inner
// diameter in mm as its shortest text ("106.3").
QString sizeText(const PipeResult &pipe);
// The verdict as the screen and the report state it, in the digits shown: the worst
// node, its pressure and the margin ("满足：最不利节点 B5，2812.4 Pa，富余 12.4 Pa", "不满足：
// 最不利节点 B5，2790.1 Pa，不足 9.9 Pa"); the failure of a network that was not solved.
QString verdictLine(const Result &result, int digits);

// Solves a network. A solve that is asked to stop (stop set) ends early with
// converged false and an empty failure; its result is of no use.
Result solve(const Network &network, const std::atomic<bool> *stop = nullptr);
// The same with a bound on the Newton iterations, for tests.
Result solve(const Network &network, int maxIterations);

} // namespace network
