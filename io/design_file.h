#pragma once

#include "calculation.h"
#include "network.h"
#include "route.h"

#include <QList>

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// The design file (.velmora): the typed texts and choices of every calculation
// screen, the route table and the networks, and the project block, as JSON. Texts are kept exactly as typed; options
// and check boxes are booleans.
namespace design {

inline constexpr char kFormat[] = "velmora-design";
inline constexpr int kVersion = 1;
// A network of 10 000 pipes fits.
inline constexpr qint64 kMaxSize = 64 * 1024 * 1024;

// One screen's controls by design name: a QString for a text box, a bool for an
// option or check box; the route table also has "sections", the network "nodes"
// and "pipes" (lists of rows of typed texts).
using Values = QMap<QString, QVariant>;

// A kind of work that a design holds, by the screen that holds it.
struct Work
{
    enum class Family { Calculation, Route, Network };
    QString code;
    Family family;
};
// Every work in the main menu's order: the nine calculations, the route table, the network.
const QList<Work> &works();

// The project block of the report's first page, typed once for the whole design.
struct Project
{
    QString name; // 工程名称
    QString designer; // 设计
    QString checker; // 校对
    QString reviewer; // 审核
    QString date; // 日期, as typed

    bool isEmpty() const;
    bool operator==(const Project &) const = default;
};
// The block's captions and keys in the design file, in the order it prints them.
struct ProjectField
{
    const char *key;
    const char *caption;
    QString Project::*text;
};
const QList<ProjectField> &projectFields();

struct Design
{
    QMap<QString, Values> screens; // by screen code
    Project project; // kept as the top-level "project" when any of it is typed
};

// Every screen as it starts.
Design initial();
// The screen's values of a calculation input, and back.
Values valuesOf(const calc::Calculation &calculation, const calc::Input &input);
calc::Input inputOf(const calc::Calculation &calculation, const Values &values);
// The route table's values, and back.
Values routeValues(const route::Settings &settings, const QList<route::Section> &sections);
route::Settings routeSettings(const Values &values);
QList<route::Section> routeSections(const Values &values);
// One network's values, and back.
Values networkValues(const network::Network &network);
network::Network networkOf(const Values &values);
// The network screen keeps any number of named networks under "networks", each an
// object of its values and its "name". A design of one network kept with its values
// at the top opens as one network named "管网1".
inline const QString kNetworksKey = QStringLiteral("networks");
inline const QString kFirstNetworkName = QStringLiteral("管网1");
struct NamedNetwork
{
    QString name;
    network::Network network;
};
Values networkScreenValues(const QList<NamedNetwork> &networks);
QList<NamedNetwork> networksOf(const Values &values);

// A design read and checked whole; on any problem its text and no design.
struct Read
{
    Design design;
    QString error;
    bool ok() const { return error.isNull(); }
};
Read read(const QByteArray &bytes);

// Pretty-printed, keys in a stable order: the same design always gives the same bytes.
QByteArray write(const Design &design);

} // namespace design
