#pragma once

#include "gas_settings.h"
#include "network.h"

#include <QList>
#include <QString>

// The settings of a network as the screen, the design file and velmora-batch network
// name them.
namespace network {

// The screen code of the network screen and its title.
inline const QString kCode = QStringLiteral("gwjs");
inline const QString kTitle = QStringLiteral("管网计算");

inline const QString kMinPressure = QStringLiteral("minPressure");

// The gas, the local loss and the least pressure a node may have, in the order the
// screen shows them.
const QList<gas::Setting> &textSettings();
// Every setting at its initial text.
Settings initialSettings();

// The keys of the tables in a design file.
inline const QString kNodesKey = QStringLiteral("nodes");
inline const QString kPipesKey = QStringLiteral("pipes");

} // namespace network
