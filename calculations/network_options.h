#pragma once

#include "network.h"

#include <QList>
#include <QString>

// The settings of a network as the screen, the design file and velmora-batch network
// name them. The option buttons are those of the route table (route_options.h).
namespace network {

// The screen code of the network screen and its title.
inline const QString kCode = QStringLiteral("gwjs");
inline const QString kTitle = QStringLiteral("管网计算");

// A typed setting: the name of its text box (and its key in a design file), its
// velmora-batch option, its caption in each pressure class and where the settings
// keep it; in the order the screen shows them.
struct TextSetting
{
    QString name;
    QString option;
    QString lowCaption;
    QString highCaption;
    QString Settings::*member;

    QString caption(Pressure pressure) const { return pressure == Pressure::Low ? lowCaption : highCaption; }
};
const QList<TextSetting> &textSettings();

// The keys of the tables in a design file.
inline const QString kNodesKey = QStringLiteral("nodes");
inline const QString kPipesKey = QStringLiteral("pipes");

// A node's and a pipe's typed cells in column order, and back.
QStringList cellsOf(const NodeRow &row);
QStringList cellsOf(const PipeRow &row);
NodeRow nodeRowOf(const QStringList &cells);
PipeRow pipeRowOf(const QStringList &cells);

} // namespace network
