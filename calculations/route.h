#pragma once

#include "gas_settings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The hydraulic table of a route: numbered sections one after another, each
// sized and checked as the section screens do it, the drops added up along the
// route and the total checked against what the route may lose.
namespace route {

using gas::Pressure;
// The settings of a route as typed, by the names of route::textSettings().
using gas::Settings;

// The typed cells of one section.
struct Section
{
    QString name;
    QString length;
    QString flow;
    QString rise;
    QString diameter; // empty: sized automatically
};

enum InputColumn { Name, Length, Flow, Rise, Diameter };
constexpr int kInputColumns = 5;

// The text of one input column of a section.
QString &sectionField(Section &section, int column);
const QString &sectionField(const Section &section, int column);

struct Column
{
    QString key;
    QString caption;
};
// The input columns, then the computed columns of the pressure class.
QList<Column> inputColumns(Pressure pressure);
QList<Column> computedColumns(Pressure pressure);
// The computed column that the closing row "合计" fills: the cumulative drop
// (low pressure) or the end pressure (medium/high pressure).
int totalColumn(Pressure pressure);
struct SectionResult
{
    bool valid = false;
    QString message;
    QList<int> badColumns; // input columns that made the row invalid
    bool automatic = false;
    QString diameter; // the diameter used, typed or chosen
    // Computed columns: their texts, or, where calculate() was asked to leave
    // the numbers unformatted, an empty text beside the number in values.
    QStringList cells;
    QList<double> values; // NaN where the column is a text (or nothing)

    // The text of a computed column, formatted when it was left as a number.
    QString cell(int column, int digits = 15) const;
};

// A setting that cannot be used: its name (as in route::textSettings()) and why.
struct SettingProblem
{
    QString name;
    QString text;
    bool isEmpty() const { return text.isEmpty(); }
};

struct Result
{
    bool settingsValid = false;
    SettingProblem settingProblem; // when the settings are not valid
    QList<SectionResult> sections;
    QString totalLength;
    QString total; // total drop (low) or last end pressure (medium/high)
    QString verdict;
    bool met = false;
};

inline const QString kIncomplete = QStringLiteral("数据不全");
inline const QString kTotalRow = QStringLiteral("合计");

// The first setting that is missing or out of range, named for the user; empty when all are usable.
SettingProblem settingProblem(const Settings &settings);
QString settingsProblem(const Settings &settings);

// With formatted false the computed numbers are kept as numbers and formatted
// by SectionResult::cell when they are shown: a table on screen shows a few rows at a time.
Result calculate(const Settings &settings, const QList<Section> &sections, bool formatted = true);

// The table as rows of texts: the header of keys, one row per section with the
// input texts (the chosen diameter for an automatic row), "auto", the computed
// columns, the message and the verdict, and the closing row "合计".
QList<QStringList> tableRows(const Settings &settings, const QList<Section> &sections, const Result &result);

} // namespace route
