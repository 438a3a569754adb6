#include "route.h"

#include "calculation.h"
#include "descriptions.h"
#include "hs.h"
#include "number_text.h"
#include "pd.h"
#include "route_options.h"
#include "sections.h"

#include <cmath>
#include <limits>
#include <optional>

namespace route {

namespace {

const QString kNoDiameter = QStringLiteral("管径系列中无满足允许压降的管径,嘿嘿");

// A row as read: length, flow, rise, diameter (0 for an automatic row).
struct Reading
{
    double L = 0;
    double Q = 0;
    double dZ = 0;
    double d = 0;
    bool automatic = false;
};

// A number cell whose text the leading-number rule does not read whole ("1,200", "2500kPa")
// is not used as the part it reads: the row is refused, and says what the text was read as.
// The rise counts at low pressure only.
bool notReadWhole(const Section &section, bool low, SectionResult &out)
{
    static const char *const captions[kInputColumns] = {"", "管长", "流量", "高程差", "管径"};
    QStringList readings;
    for (const int column : {Length, Flow, Rise, Diameter}) {
        if (column == Rise && !low)
            continue;
        const QString readAs = readAsText(sectionField(section, column));
        if (readAs.isEmpty())
            continue;
        out.badColumns << column;
        readings << QString::fromUtf8(captions[column]) + QStringLiteral("未能完整读取：读作 ") + readAs;
    }
    out.message = readings.join(QStringLiteral("；"));
    return !readings.isEmpty();
}

// Reads a row (at medium/high pressure the flow in single precision); an invalid one
// gets its message and the columns at fault.
Reading readRow(const Section &section, bool high, SectionResult &out)
{
    Reading r;
    out.automatic = section.diameter.trimmed().isEmpty();
    if (notReadWhole(section, !high, out))
        return r;
    r.L = parseLeadingNumber(section.length);
    r.Q = parseLeadingNumber(section.flow);
    if (high)
        r.Q = double(toSingle(r.Q));
    r.dZ = parseLeadingNumber(section.rise);
    r.automatic = section.diameter.trimmed().isEmpty();
    r.d = r.automatic ? 0 : parseLeadingNumber(section.diameter);
    out.automatic = r.automatic;
    if (!(r.L > 0))
        out.badColumns << Length;
    if (!(r.Q > 0))
        out.badColumns << Flow;
    if (!r.automatic && !(r.d > 0))
        out.badColumns << Diameter;
    if (!out.badColumns.isEmpty()) {
        out.message = calc::notPositiveMessage();
        return r;
    }
    if (!std::isfinite(r.L))
        out.badColumns << Length;
    if (!std::isfinite(r.Q))
        out.badColumns << Flow;
    if (!std::isfinite(r.dZ))
        out.badColumns << Rise;
    if (!std::isfinite(r.d))
        out.badColumns << Diameter;
    if (!out.badColumns.isEmpty()) {
        out.message = calc::outOfRangeMessage();
        return r;
    }
    out.valid = true;
    return r;
}

void emptyCells(SectionResult &out, Pressure pressure)
{
    static const QStringList low(computedColumns(Pressure::Low).size(), QString());
    static const QStringList high(computedColumns(Pressure::High).size(), QString());
    out.cells = pressure == Pressure::Low ? low : high;
}

// A row whose arithmetic left the double range is no part of the route.
void outOfRange(SectionResult &out, Pressure pressure)
{
    out.valid = false;
    out.message = calc::outOfRangeMessage();
    emptyCells(out, pressure);
}

constexpr double kText = std::numeric_limits<double>::quiet_NaN();

// Fills the computed columns from numbers and texts (a text where the number is kText).
void fill(SectionResult &out, const QList<double> &values, const QStringList &texts, bool formatted)
{
    out.values = values;
    out.cells = texts;
    if (!formatted)
        return;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (!std::isnan(values[i]))
            out.cells[i] = formatNumber(values[i]);
    }
}

// "数据不全", with the setting that cannot be used when it is one.
QString incompleteVerdict(const Result &result)
{
    return result.settingProblem.isEmpty() ? kIncomplete
                                           : kIncomplete + QStringLiteral(": ") + result.settingProblem.text;
}

// Reads every row (the flow in single precision for medium/high pressure) and
// adds up the length that the allowance is spread over, L(1 + a/100) of each
// valid row; with settings that cannot be used the route is incomplete.
QList<Reading> readAll(const Settings &s, const QList<Section> &sections, double a, Result &result,
                       double &budgetLength)
{
    result.settingProblem = settingProblem(s);
    result.settingsValid = result.settingProblem.isEmpty();
    QList<Reading> readings;
    for (const Section &section : sections) {
        SectionResult out;
        readings << readRow(section, s.pressure == Pressure::High, out);
        emptyCells(out, s.pressure);
        if (out.valid)
            budgetLength += readings.back().L * (1 + a / 100);
        result.sections << out;
    }
    if (!result.settingsValid)
        result.verdict = incompleteVerdict(result);
    return readings;
}

QList<Column> computedColumnsOf(Pressure pressure)
{
    if (pressure == Pressure::Low) {
        return {{QStringLiteral("reynolds"), QStringLiteral("雷诺数")},
                {QStringLiteral("state"), QStringLiteral("流态")},
                {QStringLiteral("unit_drop"), QStringLiteral("单位压降(Pa/m)")},
                {QStringLiteral("friction_drop"), QStringLiteral("摩擦压降(Pa)")},
                {QStringLiteral("local_drop"), QStringLiteral("局部压降(Pa)")},
                {QStringLiteral("gravity_head"), QStringLiteral("附加压头(Pa)")},
                {QStringLiteral("section_drop"), QStringLiteral("管段压降(Pa)")},
                {QStringLiteral("cumulative_drop"), QStringLiteral("累计压降(Pa)")}};
    }
    return {{QStringLiteral("unit_drop"), QStringLiteral("压力平方差(kPa^2/km)")},
            {QStringLiteral("section_dp2"), QStringLiteral("管段压力平方差(kPa^2)")},
            {QStringLiteral("start_pressure"), QStringLiteral("起点压力(kPa)")},
            {QStringLiteral("end_pressure"), QStringLiteral("终点压力(kPa)")}};
}

Result calculateLow(const Settings &s, const QList<Section> &sections, bool formatted)
{
    Result result;
    const double rho = parseLeadingNumber(s.text(gas::kDensity));
    const double nu = parseLeadingNumber(s.text(gas::kViscosity));
    const double T = parseLeadingNumber(s.text(gas::kTemperature));
    const double a = parseLeadingNumber(s.text(gas::kLocalPercent));
    const double allowed = parseLeadingNumber(s.text(kAllowableDrop));
    double budgetLength = 0;
    const QList<Reading> readings = readAll(s, sections, a, result, budgetLength);
    if (!result.settingsValid)
        return result;

    const double allowance = allowed / budgetLength;
    double cumulative = 0;
    double totalLength = 0;
    bool complete = !sections.isEmpty();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        SectionResult &out = result.sections[i];
        const Reading &r = readings[i];
        if (!out.valid) {
            complete = false;
            continue;
        }
        double d = r.d;
        std::optional<calc::LowSection> chosen;
        if (r.automatic) {
            const auto &D = pd::kLowPressureSection;
            for (const double size : D) {
                const calc::LowSection candidate = calc::lowSection(r.Q, nu, T, rho, s.material, size);
                if (candidate.drop <= allowance) {
                    d = size;
                    chosen = candidate;
                    break;
                }
            }
            if (!chosen) {
                d = D.back();
                out.message = kNoDiameter;
            }
        }
        const calc::LowSection section = chosen ? *chosen : calc::lowSection(r.Q, nu, T, rho, s.material, d);
        const double friction = section.drop * r.L;
        const double local = friction * a / 100;
        const double gravity = ((hs::kAirDensity - rho) * r.dZ) * hs::kGravity;
        const double drop = friction + local - gravity;
        if (!allFinite({section.reynolds, section.drop, friction, local, gravity, drop, cumulative + drop})) {
            outOfRange(out, Pressure::Low);
            complete = false;
            continue;
        }
        cumulative += drop;
        totalLength += r.L;
        out.diameter = formatNumber(d);
        fill(out, {section.reynolds, kText, section.drop, friction, local, gravity, drop, cumulative},
             {QString(), QString::fromUtf8(hs::FlowStateText(section.state)), QString(), QString(), QString(),
              QString(), QString(), QString()},
             formatted);
    }
    result.totalLength = formatNumber(totalLength);
    result.total = formatNumber(cumulative);
    if (!complete || totalLength == 0) {
        result.verdict = incompleteVerdict(result);
    } else if (cumulative <= allowed) {
        result.verdict = QStringLiteral("满足");
        result.met = true;
    } else {
        result.verdict = QStringLiteral("不满足,超出 %1 Pa").arg(formatNumber(cumulative - allowed));
    }
    return result;
}

Result calculateHigh(const Settings &s, const QList<Section> &sections, bool formatted)
{
    Result result;
    // Density, viscosity and temperature in single precision, as the section screen reads them.
    const float rho = toSingle(parseLeadingNumber(s.text(gas::kDensity)));
    const float nu = toSingle(parseLeadingNumber(s.text(gas::kViscosity)));
    const float T = toSingle(parseLeadingNumber(s.text(gas::kTemperature)));
    const double a = parseLeadingNumber(s.text(gas::kLocalPercent));
    const double P1 = parseLeadingNumber(s.text(kStartPressure));
    const double P2 = parseLeadingNumber(s.text(kMinEndPressure));
    double budgetLength = 0;
    const QList<Reading> readings = readAll(s, sections, a, result, budgetLength);
    if (!result.settingsValid)
        return result;

    const calc::HighDrop drop = calc::highDrop(s.material);
    const double allowance = (P1 * P1 - P2 * P2) / budgetLength;
    double pressure = P1; // the start pressure of the next valid row
    bool ranOut = false; // no end pressure since a row whose squared drop reached its start
    double totalLength = 0;
    bool complete = !sections.isEmpty();
    bool any = false;
    for (qsizetype i = 0; i < sections.size(); ++i) {
        SectionResult &out = result.sections[i];
        const Reading &r = readings[i];
        if (!out.valid) {
            complete = false;
            continue;
        }
        const float Q = float(r.Q);
        double d = r.d;
        std::optional<double> chosen;
        if (r.automatic) {
            const auto &D = pd::kHighPressureSection;
            for (const double size : D) {
                const double candidate = drop(Q, nu, rho, T, size);
                if (candidate <= allowance) {
                    d = size;
                    chosen = candidate;
                    break;
                }
            }
            if (!chosen) {
                d = D.back();
                out.message = kNoDiameter;
            }
        }
        const double unit = chosen ? *chosen : drop(Q, nu, rho, T, d);
        const double dp2 = unit * r.L * (1 + a / 100);
        if (!allFinite({unit, dp2})) {
            outOfRange(out, Pressure::High);
            complete = false;
            continue;
        }
        any = true;
        totalLength += r.L;
        out.diameter = formatNumber(d);
        double start = kText;
        double end = kText;
        QString endText;
        if (!ranOut) {
            start = pressure;
            const double startSquared = pressure * pressure;
            if (startSquared > dp2) {
                pressure = std::sqrt(startSquared - dp2);
                end = pressure;
            } else {
                ranOut = true;
                endText = calc::noEndPressureText();
            }
        }
        fill(out, {unit, dp2, start, end}, {QString(), QString(), QString(), endText}, formatted);
    }
    result.totalLength = formatNumber(totalLength);
    result.total = ranOut ? calc::noEndPressureText() : formatNumber(pressure);
    if (!complete || !any) {
        result.verdict = incompleteVerdict(result);
    } else if (ranOut) {
        result.verdict = QStringLiteral("不满足,压力差小于零");
    } else if (pressure >= P2) {
        result.verdict = QStringLiteral("满足");
        result.met = true;
    } else {
        result.verdict = QStringLiteral("不满足,低于最低终点压力 %1 kPa").arg(formatNumber(P2 - pressure));
    }
    return result;
}

} // namespace

QString &sectionField(Section &section, int column)
{
    switch (column) {
    case Name:
        return section.name;
    case Length:
        return section.length;
    case Flow:
        return section.flow;
    case Rise:
        return section.rise;
    default:
        return section.diameter;
    }
}

const QString &sectionField(const Section &section, int column)
{
    return sectionField(const_cast<Section &>(section), column);
}

QList<Column> inputColumns(Pressure pressure)
{
    return {
        {QStringLiteral("section"), QStringLiteral("管段号")},
        {QStringLiteral("length"), pressure == Pressure::Low ? QStringLiteral("管长(m)") : QStringLiteral("管长(km)")},
        {QStringLiteral("flow"), QStringLiteral("流量(Nm^3/h)")},
        {QStringLiteral("rise"), QStringLiteral("高程差(m)")},
        {QStringLiteral("diameter"), QStringLiteral("管径(mm)")}};
}

QList<Column> computedColumns(Pressure pressure)
{
    // Built once: the table asks for them with every cell it paints.
    static const QList<Column> low = computedColumnsOf(Pressure::Low);
    static const QList<Column> high = computedColumnsOf(Pressure::High);
    return pressure == Pressure::Low ? low : high;
}

int totalColumn(Pressure pressure)
{
    // The last of either class.
    return int(computedColumns(pressure).size()) - 1;
}

SettingProblem settingProblem(const Settings &s)
{
    auto positive = [](const QString &text, bool single) {
        const double v = parseLeadingNumber(text);
        const double read = single ? double(toSingle(v)) : v;
        return read > 0 && std::isfinite(read);
    };
    auto problem = [](const char *name, const QString &text) {
        return SettingProblem{QString::fromLatin1(name), text};
    };
    const bool single = s.pressure == Pressure::High;
    if (!positive(s.text(gas::kDensity), single))
        return problem("density", QStringLiteral("燃气密度应大于0"));
    if (!positive(s.text(gas::kViscosity), single))
        return problem("viscosity", QStringLiteral("运动粘度应大于0"));
    if (!positive(s.text(gas::kTemperature), single))
        return problem("temperature", QStringLiteral("燃气温度应大于0"));
    const double a = parseLeadingNumber(s.text(gas::kLocalPercent));
    if (!(a >= 0) || !std::isfinite(a))
        return problem("localPercent", QStringLiteral("局部阻力百分数不能小于0"));
    if (s.pressure == Pressure::Low) {
        if (!positive(s.text(kAllowableDrop), false))
            return problem("allowableDrop", QStringLiteral("允许压降应大于0"));
        return {};
    }
    if (!positive(s.text(kStartPressure), false))
        return problem("startPressure", QStringLiteral("起点压力应大于0"));
    if (!positive(s.text(kMinEndPressure), false))
        return problem("minEndPressure", QStringLiteral("最低终点压力应大于0"));
    if (!(parseLeadingNumber(s.text(kStartPressure)) > parseLeadingNumber(s.text(kMinEndPressure))))
        return problem("startPressure", QStringLiteral("起点压力应高于最低终点压力"));
    return {};
}

QString settingsProblem(const Settings &s)
{
    return settingProblem(s).text;
}

Result calculate(const Settings &settings, const QList<Section> &sections, bool formatted)
{
    return settings.pressure == Pressure::Low ? calculateLow(settings, sections, formatted)
                                              : calculateHigh(settings, sections, formatted);
}

QString SectionResult::cell(int column, int digits) const
{
    const QString text = cells.value(column);
    if (!text.isEmpty() || column < 0 || column >= values.size() || std::isnan(values[column]))
        return withDigits(text, digits);
    return formatSignificant(values[column], digits);
}

QList<QStringList> tableRows(const Settings &settings, const QList<Section> &sections, const Result &result)
{
    QStringList header;
    for (const Column &c : inputColumns(settings.pressure))
        header << c.key;
    header << QStringLiteral("auto");
    const QList<Column> computed = computedColumns(settings.pressure);
    for (const Column &c : computed)
        header << c.key;
    header << QStringLiteral("message") << QStringLiteral("verdict");

    QList<QStringList> rows{header};
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const Section &s = sections[i];
        const SectionResult &r = result.sections.value(i);
        QStringList row{s.name,
                        s.length,
                        s.flow,
                        s.rise,
                        r.automatic && !r.diameter.isEmpty() ? r.diameter : s.diameter,
                        r.automatic ? QStringLiteral("1") : QStringLiteral("0")};
        for (int c = 0; c < computed.size(); ++c)
            row << r.cell(c);
        row << r.message << QString();
        rows << row;
    }
    QStringList total(header.size(), QString());
    total[0] = kTotalRow;
    total[1] = result.totalLength;
    total[kInputColumns + 1 + totalColumn(settings.pressure)] = result.total;
    total.back() = result.verdict;
    rows << total;
    return rows;
}

} // namespace route
