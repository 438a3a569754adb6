// The low- and medium/high-pressure section calculations: 19-row tables over a
// diameter series, with pre-selection against an allowance or one given diameter.
#include "descriptions.h"
#include "sections.h"

#include "hs.h"
#include "number_text.h"
#include "pd.h"
#include "preselect.h"

#include <array>
#include <cmath>

namespace calc {

namespace {

const QString kPreselectCaption = QStringLiteral("预选管径(mm):");
// The mode that the check box and its options give: none unless the box is ticked.
SectionMode modeOf(const Calculation &c, const Input &in)
{
    if (!c.isChecked(in, QStringLiteral("modes_enabled")))
        return SectionMode::Unchanged;
    switch (c.selected(in, QStringLiteral("mode"))) {
    case 0:
        return SectionMode::Preselect;
    case 1:
        return SectionMode::Given;
    default:
        return SectionMode::Unchanged;
    }
}

// The allowance counts only when pre-selecting, the given diameter only when it is given.
bool modeFieldCounts(const Calculation &c, const Input &in, const QString &key)
{
    const SectionMode mode = modeOf(c, in);
    if (key.startsWith(QLatin1String("allowable_")))
        return mode == SectionMode::Preselect;
    if (key == u"given_diameter")
        return mode == SectionMode::Given;
    return true;
}

Check modesCheck()
{
    return {QStringLiteral("modes_enabled"), QStringLiteral("Check1"), QStringLiteral("预选管径和根据管径求压力降")};
}

// ---- Low pressure ----

Outcome runLowPressure(const Calculation &c, const Input &in)
{
    Outcome o;
    const double Q = parseLeadingNumber(c.text(in, QStringLiteral("flow")));
    const double nu = parseLeadingNumber(c.text(in, QStringLiteral("viscosity")));
    const double T = parseLeadingNumber(c.text(in, QStringLiteral("temperature")));
    const double rho = parseLeadingNumber(c.text(in, QStringLiteral("density")));
    if (Q <= 0 || nu <= 0 || T <= 0 || rho <= 0)
        return refused(notPositiveMessage(), o);
    if (!allFinite({Q, nu, T, rho}))
        return refused(outOfRangeMessage(), o);

    const int material = c.selected(in, QStringLiteral("material"));
    const auto &D = pd::kLowPressureSection;
    std::array<double, D.size()> drops{};
    for (std::size_t k = 0; k < D.size(); ++k) {
        const LowSection s = lowSection(Q, nu, T, rho, material, D[k]);
        // A value out of range leaves the previous table as it was.
        if (!allFinite({s.reynolds, s.drop}))
            return refused(outOfRangeMessage());
        drops[k] = s.drop;
        o.table.append({formatNumber(D[k]), formatNumber(s.reynolds), QString::fromUtf8(hs::FlowStateText(s.state)),
                        formatNumber(s.drop)});
    }

    o.mode = modeOf(c, in);
    if (o.mode == SectionMode::Preselect) {
        const double A = parseLeadingNumber(c.text(in, QStringLiteral("allowable_drop")));
        if (A <= 0)
            return refused(notPositiveMessage(), o);
        if (!allFinite({A}))
            return refused(outOfRangeMessage(), o);
        const std::optional<std::size_t> selected = preselectDiameter(drops, A);
        // No diameter qualifies only for an allowance of 1E16 and more: nothing is shown then.
        if (selected) {
            o.chosenRow = int(*selected);
            // The nearest drop may lie above the allowance.
            if (drops[*selected] > A) {
                o.overAllowance = QStringLiteral("超出允许单位压降 %1%")
                                      .arg(QString::number(100 * (drops[*selected] - A) / A, 'f', 1));
            }
        }
        o.results.insert(QStringLiteral("preselected_diameter"), selected ? formatNumber(D[*selected]) : QString());
        o.results.insert(QStringLiteral("preselected_caption"), kPreselectCaption);
    } else if (o.mode == SectionMode::Given) {
        const double dx = parseLeadingNumber(c.text(in, QStringLiteral("given_diameter")));
        if (dx <= 0)
            return refused(notPositiveMessage(), o);
        const LowSection given = lowSection(Q, nu, T, rho, material, dx);
        if (!allFinite({dx, given.reynolds, given.drop}))
            return refused(outOfRangeMessage(), o);
        o.results.insert(QStringLiteral("given_reynolds"), formatNumber(given.reynolds));
        o.results.insert(QStringLiteral("given_state"), QString::fromUtf8(hs::FlowStateText(given.state)));
        o.results.insert(QStringLiteral("given_unit_drop"), formatNumber(given.drop));
    }
    return o;
}

// ---- Medium/high pressure ----

QString endPressureText(std::optional<double> endPressure)
{
    return endPressure ? formatNumber(*endPressure) : noEndPressureText();
}

Outcome runHighPressure(const Calculation &c, const Input &in)
{
    Outcome o;
    const double P1 = parseLeadingNumber(c.text(in, QStringLiteral("start_pressure")));
    const double L = parseLeadingNumber(c.text(in, QStringLiteral("length")));
    // Density, viscosity, temperature and flow are held in single precision and judged after rounding,
    // so a value below the float range counts as 0.
    const float rho = toSingle(parseLeadingNumber(c.text(in, QStringLiteral("density"))));
    const float nu = toSingle(parseLeadingNumber(c.text(in, QStringLiteral("viscosity"))));
    const float T = toSingle(parseLeadingNumber(c.text(in, QStringLiteral("temperature"))));
    const float Q = toSingle(parseLeadingNumber(c.text(in, QStringLiteral("flow"))));
    if (P1 <= 0 || L <= 0 || rho <= 0 || nu <= 0 || T <= 0 || Q <= 0)
        return refused(notPositiveMessage(), o);
    const double P1squared = P1 * P1;
    if (!allFinite({P1, L, rho, nu, T, Q, P1squared}))
        return refused(outOfRangeMessage(), o);

    const HighDrop drop = highDrop(c.selected(in, QStringLiteral("material")));
    const auto &D = pd::kHighPressureSection;
    std::array<double, D.size()> S{};
    std::array<std::optional<double>, D.size()> E{};
    for (std::size_t k = 0; k < D.size(); ++k) {
        S[k] = drop(Q, nu, rho, T, D[k]);
        E[k] = hs::HighPressureEndPressure(P1squared, L, S[k]);
        if (!allFinite({S[k], E[k].value_or(0)}))
            return refused(outOfRangeMessage());
        o.table.append({formatNumber(D[k]), formatNumber(S[k]), endPressureText(E[k])});
    }

    o.mode = modeOf(c, in);
    if (o.mode == SectionMode::Preselect) {
        const double P2a = parseLeadingNumber(c.text(in, QStringLiteral("allowable_end_pressure")));
        const float A = toSingle((P1squared - P2a * P2a) / L);
        if (P2a <= 0)
            return refused(notPositiveMessage(), o);
        // An allowance beyond the single range would leave every gap infinite and select nothing.
        if (!allFinite({P2a, A}))
            return refused(outOfRangeMessage(), o);
        const std::optional<std::size_t> selected = preselectDiameter(S, double(A));
        if (selected) {
            o.chosenRow = int(*selected);
            // The nearest drop may leave less than the allowable end pressure, or none.
            const std::optional<double> end = E[*selected];
            if (!end)
                o.overAllowance = noEndPressureText();
            else if (*end < P2a)
                o.overAllowance = QStringLiteral("低于允许终点压力 %1 kPa").arg(QString::number(P2a - *end, 'f', 1));
        }
        o.results.insert(QStringLiteral("preselected_diameter"), selected ? formatNumber(D[*selected]) : QString());
    } else if (o.mode == SectionMode::Given) {
        const double dx = parseLeadingNumber(c.text(in, QStringLiteral("given_diameter")));
        if (dx <= 0)
            return refused(notPositiveMessage(), o);
        const double Sx = drop(Q, nu, rho, T, dx);
        const std::optional<double> Ex = hs::HighPressureEndPressure(P1squared, L, Sx);
        if (!allFinite({dx, Sx, Ex.value_or(0)}))
            return refused(outOfRangeMessage(), o);
        o.results.insert(QStringLiteral("given_unit_drop"), formatNumber(Sx));
        o.results.insert(QStringLiteral("given_end_pressure"), endPressureText(Ex));
    }
    return o;
}

} // namespace

LowSection lowSection(double Q, double nu, double T, double rho, int material, double d)
{
    const double Re = hs::LowPressureReynolds(Q, nu, d);
    const hs::FlowState state = hs::LowPressureFlowState(Re);
    double drop = 0;
    switch (state) {
    case hs::FlowState::Laminar:
        drop = hs::LowPressureLaminarDrop(Q, nu, T, rho, d);
        break;
    case hs::FlowState::Critical:
        drop = hs::LowPressureCriticalDrop(Q, nu, T, rho, d);
        break;
    case hs::FlowState::Turbulent:
        if (material == 0)
            drop = hs::LowPressureSteelDrop(Q, nu, T, rho, d);
        else if (material == 1)
            drop = hs::LowPressureCastIronDrop(Q, nu, T, rho, d);
        else
            drop = hs::LowPressurePlasticDrop(Q, nu, T, rho, d);
        break;
    }
    return {Re, state, drop};
}

HighDrop highDrop(int material)
{
    if (material == 0)
        return hs::HighPressureSteelDrop;
    if (material == 1)
        return hs::HighPressureCastIronDrop;
    return hs::HighPressurePlasticDrop;
}

QString piText()
{
    return QStringLiteral("π = ") + formatNumber(hs::kPi);
}

QString t0Text()
{
    return QStringLiteral("T0 = %1 K").arg(formatNumber(hs::kT0));
}

namespace {

// 6.9E6 as "6.9×10^6".
QString powerOfTen(double value)
{
    const int exponent = int(std::floor(std::log10(value)));
    return formatNumber(value / std::pow(10.0, exponent)) + QStringLiteral("×10^") + QString::number(exponent);
}

} // namespace

QStringList materialTexts(bool highPressure)
{
    const Choice materials = pipeMaterials(QString());
    QStringList texts;
    for (std::size_t i = 0; i < hs::kMaterials.size(); ++i) {
        const hs::Roughness &m = hs::kMaterials[i];
        texts << QStringLiteral("%1：K = %2，b = %3，C = %4")
                     .arg(materials.options[i].caption, formatNumber(m.K), formatNumber(m.b),
                          powerOfTen(highPressure ? m.highC : m.lowC));
    }
    return texts;
}

Choice pipeMaterials(const QString &frame)
{
    return {QStringLiteral("material"),
            frame,
            QStringLiteral("选择管材"),
            {{QStringLiteral("Option1"), QStringLiteral("钢管")},
             {QStringLiteral("Option2"), QStringLiteral("铸铁管")},
             {QStringLiteral("Option3"), QStringLiteral("塑料管")}},
            0};
}

QString labelRange(int first, int count)
{
    return QStringLiteral("Label%1..Label%2").arg(first).arg(first + count - 1);
}

Calculation lowPressureSection()
{
    Calculation c;
    c.code = QStringLiteral("xd");
    c.title = QStringLiteral("低压管段水力计算");
    c.formula = {
        QStringLiteral("雷诺数 Re = Q / 0.9 / π / d / ν（d 以 mm 计）"),
        QStringLiteral("流态：Re < 2100 为层流，2100 ≤ Re ≤ 3500 为临界，Re > 3500 为紊流"),
        QStringLiteral("层流：ΔP/l = 1.13×10^10 · Q · ν · T · ρ / d^4 / T0"),
        QStringLiteral("临界：ΔP/l = 1.9×10^6 · (1 + (11.8Q − 7×10^4·d·ν) / (23Q − 10^5·d·ν)) · Q² · T · ρ / d^5 / T0"),
        QStringLiteral("紊流：ΔP/l = C · (K/d + b·d·ν/Q)^(1/4) · Q² · T · ρ / d^5 / T0"),
        QStringLiteral("对19种管径逐一计算；预选管径取单位压降最接近允许单位压力降者"),
    };
    c.constants = QStringList{piText(), t0Text()} + materialTexts(false)
        + QStringList{seriesText(QStringLiteral("管径系列(mm)："), pd::kLowPressureSection)};
    c.symbols = {{QStringLiteral("Q"), QStringLiteral("flow")},
                 {QStringLiteral("ν"), QStringLiteral("viscosity")},
                 {QStringLiteral("ρ"), QStringLiteral("density")},
                 {QStringLiteral("T"), QStringLiteral("temperature")},
                 {QStringLiteral("d"), QStringLiteral("given_diameter")}};
    c.fields = {
        {QStringLiteral("flow"), QStringLiteral("Text2"), QStringLiteral("计算流量："), QStringLiteral("Nm^3/h"),
         QStringLiteral("(Nm^3/h)")},
        {QStringLiteral("viscosity"), QStringLiteral("Text3"), QStringLiteral("燃气粘度："), QStringLiteral("m^2/s"),
         QStringLiteral("(m^2/s)")},
        {QStringLiteral("density"), QStringLiteral("Text5"), QStringLiteral("燃气密度："), QStringLiteral("kg/Nm^3"),
         QStringLiteral("(kg/Nm^3)")},
        {QStringLiteral("temperature"), QStringLiteral("Text4"), QStringLiteral("燃气温度："), QStringLiteral("K"),
         QStringLiteral("(K)")},
        {QStringLiteral("allowable_drop"), QStringLiteral("Text1"), QStringLiteral("允许单位压力降(Pa/m)："),
         QStringLiteral("Pa/m")},
        {QStringLiteral("given_diameter"), QStringLiteral("Text6"), QStringLiteral("录入管径(mm):"),
         QStringLiteral("mm")},
    };
    c.choices = {pipeMaterials(QStringLiteral("Frame1")),
                 {QStringLiteral("mode"),
                  QStringLiteral("Frame4"),
                  QStringLiteral("录入最不利环路计算压力降"),
                  {{QStringLiteral("Option4"), QString(), QStringLiteral("预选管径")},
                   {QStringLiteral("Option5"), QString(), QStringLiteral("根据管径求压力降")}},
                  -1}};
    c.checks = {modesCheck()};
    c.counts = modeFieldCounts;
    c.results = {
        {QStringLiteral("given_reynolds"), QStringLiteral("Label87"), QStringLiteral("雷诺数"), QString()},
        {QStringLiteral("given_state"), QStringLiteral("Label94"), QStringLiteral("流态"), QString()},
        {QStringLiteral("given_unit_drop"), QStringLiteral("Label95"), QStringLiteral("计算压力降(Pa/m)"),
         QStringLiteral("Pa/m")},
        {QStringLiteral("preselected_caption"), QStringLiteral("Label96"), kPreselectCaption, QString(), false},
        {QStringLiteral("preselected_diameter"), QStringLiteral("Label86"), kPreselectCaption, QStringLiteral("mm")},
    };
    c.tableColumns = {
        {QStringLiteral("diameter"), labelRange(1, 19), QStringLiteral("管径(mm)"), QStringLiteral("mm")},
        {QStringLiteral("reynolds"), labelRange(21, 19), QStringLiteral("雷诺数"), QString()},
        {QStringLiteral("state"), labelRange(41, 19), QStringLiteral("流态"), QString()},
        {QStringLiteral("unit_drop"), labelRange(61, 19), QStringLiteral("计算单位压降(Pa/m)"), QStringLiteral("Pa/m")},
    };
    c.run = runLowPressure;
    return c;
}

Calculation highPressureSection()
{
    Calculation c;
    c.code = QStringLiteral("gyxd");
    c.title = QStringLiteral("中高压管段水力计算");
    c.formula = {
        QStringLiteral("(P1² − P2²)/L = C · (K/d + b·d·ν/Q)^(1/4) · Q² · ρ · T / d^5 / T0（kPa²/km，d 以 mm 计）"),
        QStringLiteral("终点压力 P2 = √(P1² − L · (P1² − P2²)/L)；P1² 不大于 L · (P1² − P2²)/L 时为“压力差小于零”"),
        QStringLiteral("ρ、ν、T、Q 按单精度读入"),
        QStringLiteral("预选管径：允许值 A = (P1² − P2a²) / L，取压力平方差最接近 A 的管径"),
    };
    c.constants = QStringList{t0Text()} + materialTexts(true)
        + QStringList{seriesText(QStringLiteral("管径系列(mm)："), pd::kHighPressureSection)};
    c.symbols = {{QStringLiteral("P1"), QStringLiteral("start_pressure")},
                 {QStringLiteral("L"), QStringLiteral("length")},
                 {QStringLiteral("Q"), QStringLiteral("flow")},
                 {QStringLiteral("ν"), QStringLiteral("viscosity")},
                 {QStringLiteral("ρ"), QStringLiteral("density")},
                 {QStringLiteral("T"), QStringLiteral("temperature")},
                 {QStringLiteral("P2a"), QStringLiteral("allowable_end_pressure")},
                 {QStringLiteral("d"), QStringLiteral("given_diameter")}};
    c.fields = {
        {QStringLiteral("start_pressure"), QStringLiteral("Text1"), QStringLiteral("起点压力:"), QStringLiteral("kPa"),
         QStringLiteral("(kPa)")},
        {QStringLiteral("density"), QStringLiteral("Text5"), QStringLiteral("燃气密度:"), QStringLiteral("kg/Nm^3"),
         QStringLiteral("(kg/Nm^3)")},
        {QStringLiteral("length"), QStringLiteral("Text3"), QStringLiteral("管道长度:"), QStringLiteral("km"),
         QStringLiteral("(km)")},
        {QStringLiteral("temperature"), QStringLiteral("Text7"), QStringLiteral("燃气温度:"), QStringLiteral("K"),
         QStringLiteral("(K)")},
        {QStringLiteral("viscosity"), QStringLiteral("Text6"), QStringLiteral("运动粘度:"), QStringLiteral("m^2/s"),
         QStringLiteral("(m^2/s)")},
        {QStringLiteral("flow"), QStringLiteral("Text8"), QStringLiteral("计算流量"), QStringLiteral("Nm^3/h"),
         QStringLiteral("(Nm^3/h):")},
        {QStringLiteral("allowable_end_pressure"), QStringLiteral("Text4"), QStringLiteral("允许终点压力(KPa):"),
         QStringLiteral("kPa")},
        {QStringLiteral("given_diameter"), QStringLiteral("Text9"), QStringLiteral("录入管径(mm):"),
         QStringLiteral("mm")},
    };
    c.choices = {pipeMaterials(QStringLiteral("Frame2")),
                 {QStringLiteral("mode"),
                  QStringLiteral("Frame6"),
                  QStringLiteral("录入数据"),
                  {{QStringLiteral("Option4"), QString(), QStringLiteral("预选管径")},
                   {QStringLiteral("Option5"), QString(), QStringLiteral("根据管径求压力降")}},
                  -1}};
    c.checks = {modesCheck()};
    c.counts = modeFieldCounts;
    c.results = {
        {QStringLiteral("given_unit_drop"), QStringLiteral("Label44"), QStringLiteral("压力平方差:"),
         QStringLiteral("kPa^2/km")},
        {QStringLiteral("given_end_pressure"), QStringLiteral("Label52"), QStringLiteral("终点压力(KPa):"),
         QStringLiteral("kPa")},
        {QStringLiteral("preselected_diameter"), QStringLiteral("Label41"), kPreselectCaption, QStringLiteral("mm")},
    };
    c.tableColumns = {
        {QStringLiteral("diameter"), labelRange(1, 19), QStringLiteral("管径(mm)"), QStringLiteral("mm")},
        {QStringLiteral("unit_drop"), labelRange(21, 19), QStringLiteral("压力平方差"), QStringLiteral("kPa^2/km")},
        {QStringLiteral("end_pressure"), labelRange(58, 19), QStringLiteral("计算终点压力(kP)"), QStringLiteral("kPa")},
    };
    c.run = runHighPressure;
    return c;
}

} // namespace calc
