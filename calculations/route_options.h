#pragma once

#include "gas_settings.h"
#include "route.h"

#include <QList>
#include <QString>

// The settings of a route as the screen, the design file and velmora-batch route name them.
namespace route {

// The screen code of the route table and its title.
inline const QString kCode = QStringLiteral("gw");
inline const QString kTitle = QStringLiteral("管网水力计算表");

inline const QString kAllowableDrop = QStringLiteral("allowableDrop");
inline const QString kStartPressure = QStringLiteral("startPressure");
inline const QString kMinEndPressure = QStringLiteral("minEndPressure");

// The gas, the local loss, the allowable drop (low pressure), the start and least end
// pressures (medium/high pressure), in the order the screen shows them.
const QList<gas::Setting> &textSettings();
// Every setting at its initial text.
Settings initialSettings();

} // namespace route
