#pragma once

#include "route.h"

#include <QList>
#include <QString>

// The settings of a route as the screen, the design file and velmora-batch route
// name them: text boxes and their options, option buttons and their captions.
namespace route {

// The screen code of the route table and its title.
inline const QString kCode = QStringLiteral("gw");
inline const QString kTitle = QStringLiteral("管网水力计算表");

// A typed setting of a route: the name of its text box on the screen (and its key
// in a design file), its velmora-batch option, its caption, where the settings
// keep it, and the pressure classes it serves. In the order the screen shows them.
struct TextSetting
{
    QString name;
    QString option;
    QString caption;
    QString Settings::*member;
    bool low = true;
    bool high = true;

    bool serves(Pressure pressure) const { return pressure == Pressure::Low ? low : high; }
};
const QList<TextSetting> &textSettings();

// An option button of the settings: its name on the screen (and in a design file) and its caption.
struct NamedOption
{
    QString name;
    QString caption;
};
inline const QString kPressureCaption = QStringLiteral("压力级制");
inline const QString kMaterialCaption = QStringLiteral("管材");
// Low, then medium/high pressure.
const QList<NamedOption> &pressureOptions();
// Steel, cast iron, plastic: the materials of the section screens.
const QList<NamedOption> &materialOptions();

} // namespace route
