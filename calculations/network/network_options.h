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
// Households: the appliance set of a node that names none ("1" or "2"), the rated flow
// of a household of each set, and how K is read between the table's rows ("steps" or
// "linear").
inline const QString kAppliance = QStringLiteral("appliance");
inline const QString kRatedFlow[2] = {QStringLiteral("ratedFlow1"), QStringLiteral("ratedFlow2")};
inline const QString kSimultaneity = QStringLiteral("simultaneity");
// Sizing: what automatic sizing picks from ("section", the section screens' 19
// diameters; or "catalogue", each pipe's material catalogue), the smallest sizes allowed
// (catalogue names, each for its material, or millimetres for every pipe: "dn63, DN25"),
// and the largest velocity (m/s) before a pipe is marked.
inline const QString kSeries = QStringLiteral("series");
inline const QString kSectionSeries = QStringLiteral("section");
inline const QString kCatalogueSeries = QStringLiteral("catalogue");
inline const QString kMinSize = QStringLiteral("minSize");
inline const QString kMaxVelocity = QStringLiteral("maxVelocity");
// Medium/high pressures typed as gauge or absolute, and the atmosphere: gas::kPressureBasis, gas::kAtmosphere.
inline const QString kDefaultAtmosphere = QStringLiteral("101.325");

// The gas, the local loss, the least pressure a node may have and the households'
// settings, in the order the screen shows them.
const QList<gas::Setting> &textSettings();
// The appliance sets by their captions: 双眼灶, 双眼灶和快速热水器.
const QStringList &applianceCaptions();
// Every setting at its initial text.
Settings initialSettings();

// The network's method in words with its constants, for the report and the formula reference.
QStringList formulaLines(Pressure pressure);

// The keys of the tables in a design file.
inline const QString kNodesKey = QStringLiteral("nodes");
inline const QString kPipesKey = QStringLiteral("pipes");

} // namespace network
