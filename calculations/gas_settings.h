#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What the route table and the network share: the pressure class, the default
// material, the digits shown and the typed settings, each described once (its name
// on the screen and in a design file, its velmora-batch option, its captions).
namespace gas {

enum class Pressure { Low, High };

// A typed setting. A choice lists its values (as kept in a design file and taken on
// the command line) with their captions; a text has none.
struct Setting
{
    QString name;
    QString option;
    QString lowCaption; // empty: the setting is not used at low pressure
    QString highCaption; // empty: not used at medium/high pressure
    QString initial; // the text or value of a new design
    QStringList values;
    QStringList captions;
    bool isPressure = false; // a pressure: at medium/high pressure its caption says gauge or absolute
    bool isNumber = true; // a text read as a number, marked where it is not read whole

    bool serves(Pressure pressure) const { return !caption(pressure).isEmpty(); }
    QString caption(Pressure pressure) const { return pressure == Pressure::Low ? lowCaption : highCaption; }
    bool isChoice() const { return !values.isEmpty(); }
    // A value as a user reads it: a choice's caption, a text as it is.
    QString shown(const QString &value) const
    {
        const qsizetype i = values.indexOf(value);
        return i >= 0 ? captions.value(i, value) : value;
    }
};

struct Settings
{
    Pressure pressure = Pressure::Low;
    int material = 0; // the default: 0 steel, 1 cast iron, 2 plastic
    int digits = 15; // significant digits the tables and drawings show: 15, or 4 (display only)
    QMap<QString, QString> texts; // by Setting::name, as typed

    QString text(const QString &name) const { return texts.value(name); }
    void setText(const QString &name, const QString &text) { texts.insert(name, text); }
};

// Every setting at its initial text.
Settings initialSettings(const QList<Setting> &settings);

// How medium/high pressures are typed and shown where the settings say (the network's):
// absolute (绝压) or gauge (表压); the formulas take absolute pressures. Low pressures are gauge.
inline const QString kPressureBasis = QStringLiteral("pressureBasis");
inline const QString kAbsolute = QStringLiteral("absolute");
inline const QString kGauge = QStringLiteral("gauge");
inline const QString kAtmosphere = QStringLiteral("atmosphere");
// Whether medium/high pressures are typed as gauge.
bool isGauge(const Settings &settings);
// The caption of a medium/high pressure with its basis where the settings hold one:
// "最低压力(kPa)：" becomes "最低压力(kPa，表压)："; any other caption as it is.
QString withBasis(const QString &caption, const Settings &settings);
// A setting's caption in the settings' class, with the basis for a pressure.
QString shownCaption(const Setting &setting, const Settings &settings);

// The names of the settings both share.
inline const QString kDensity = QStringLiteral("density");
inline const QString kViscosity = QStringLiteral("viscosity");
inline const QString kTemperature = QStringLiteral("temperature");
inline const QString kLocalPercent = QStringLiteral("localPercent");
// The gas (density, viscosity, temperature) and the local loss, in the order the screens show them.
QList<Setting> gasSettings();

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

// A typed length or pressure in the units of the other class: m ⇄ km and Pa ⇄ kPa, a
// thousandth going to medium/high pressure and a thousandfold back. An empty text stays
// as it is; a text the leading-number rule does not read whole cannot be converted.
std::optional<QString> inClassUnits(const QString &text, Pressure from, Pressure to);

} // namespace gas
