// Design flow, allowable unit drop and the laminar diameter check.
#include "descriptions.h"

#include "hs.h"
#include "number_text.h"
#include "pd.h"

#include <cmath>

namespace calc {

namespace {

// ---- Laminar check ----

Outcome runLaminarCheck(const Calculation &c, const Input &in)
{
    // Every input is held in single precision and tested after rounding, so 1e-50 counts as 0.
    const float drop = toSingle(number(c, in, "unit_drop"));
    const float Q = toSingle(number(c, in, "flow"));
    const float nu = toSingle(number(c, in, "viscosity"));
    const float rho = toSingle(number(c, in, "density"));
    const float T = toSingle(number(c, in, "temperature"));
    if (drop <= 0 || Q <= 0 || nu <= 0 || rho <= 0 || T <= 0)
        return refused(notPositiveMessage());
    float diameter = toSingle(hs::LaminarDiameter(Q, nu, rho, T, drop));
    // An input beyond the single-precision range rounds to infinity, and so does a diameter beyond it.
    if (!allFinite({drop, Q, nu, rho, T, diameter}))
        return refused(outOfRangeMessage());

    Outcome o;
    // Above the largest size the computed diameter stays, after a word to the user.
    if (const std::optional<float> standard = pd::SelectStandardDiameter(diameter))
        diameter = *standard;
    else
        o.messages << QStringLiteral("数据超出范围,计算管径已大于630,估计你数据错误,嘿嘿");

    // Finite: every operand is a finite float and the diameter is at least 15 mm now.
    const double reynolds = double(Q) * 4 / hs::kPi / 3.6 / nu / diameter;
    QString state;
    if (reynolds < 2100)
        state = QStringLiteral("层流");
    else
        o.messages << QStringLiteral("本校验只适合层流,你的输入经计算不是层流,嘿嘿");

    o.results.insert(QStringLiteral("diameter"), formatSingle(diameter));
    o.results.insert(QStringLiteral("reynolds"), formatNumber(reynolds));
    o.results.insert(QStringLiteral("state"), state);
    return o;
}

// ---- Flow by non-uniformity coefficients ----

Outcome runNonUniformityFlow(const Calculation &c, const Input &in)
{
    const double N = number(c, in, "residents");
    const double r = number(c, in, "gasification_rate");
    const double q = number(c, in, "quota");
    const double H = number(c, in, "heating_value");
    if (N <= 0 || r <= 0 || q <= 0 || H <= 0)
        return refused(notPositiveMessage());
    // The rate is a fraction: 90 typed for 90 % would give a flow ninety times too large.
    if (r > 1)
        return refused(QStringLiteral("气化率应在0~1之间,嘿嘿"));
    // Annual consumption times k2, k1 and k3, spread over the hours of a year, per unit of heating value.
    const double flow = N * r * q * 1.1 * 1.2 * 3 / 365 / 24 / H;
    if (!allFinite({N, r, q, H, flow}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("flow"), formatNumber(flow));
}

// ---- Flow by simultaneity coefficients ----

// The screen reads its table up to 200 households: whole counts from 1 to 9, any count from 10 up to below 200
// (each row holding up to the next one), and exactly 200.
constexpr long kFirstRange = 10;
constexpr long kMostHouseholds = 200;

std::optional<double> simultaneityCoefficient(double households)
{
    const bool whole = households >= 1 && households < kFirstRange && households == std::floor(households);
    if (!whole && !(households >= kFirstRange && households < kMostHouseholds) && households != kMostHouseholds)
        return std::nullopt;
    // Every row starts at a whole count, so a count without its fraction falls in the count's own row.
    return hs::SimultaneityCoefficient(hs::Appliances::CookerAndHeater, long(households), false).k;
}

Outcome runSimultaneityFlow(const Calculation &c, const Input &in)
{
    const double N = number(c, in, "households");
    const double Qn = number(c, in, "rated_flow");
    const std::optional<double> k = simultaneityCoefficient(N);
    if (!k)
        return refused(QStringLiteral("录入数据应为1~200的整数,嘿嘿"));
    // A missing or negative rated flow would otherwise show a flow of 0 or below as if it were a result.
    if (Qn <= 0)
        return refused(notPositiveMessage());
    const double flow = (*k * N) * Qn;
    if (!allFinite({Qn, flow}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("flow"), formatNumber(flow));
}

// ---- Allowable unit drop ----

Outcome runAllowableDrop(const Calculation &c, const Input &in)
{
    const double P1 = number(c, in, "outlet_pressure");
    const double P2 = number(c, in, "meter_pressure");
    const double L = number(c, in, "loop_length");
    if (P1 <= 0 || P2 <= 0 || L <= 0)
        return refused(notPositiveMessage());
    const double drop = hs::AllowableUnitPressureDrop(P1, P2, L);
    if (!allFinite({P1, P2, L, drop}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("allowable_drop"), formatNumber(drop));
}

} // namespace

Calculation laminarCheck()
{
    Calculation c;
    c.code = QStringLiteral("fxgj");
    c.title = QStringLiteral("校验低压层流管段管径");
    c.formula = {QStringLiteral("d = (1.13×10^10 · Q · ν · ρ · T / T0 / (ΔP/l))^(1/4)，各值按单精度读入"),
                 QStringLiteral("d 向上取标准管径；大于630 mm 时保留计算值"),
                 QStringLiteral("Re = Q · 4 / π / 3.6 / ν / d；Re < 2100 为层流")};
    c.constants = {piText(), t0Text(), seriesText(QStringLiteral("标准管径(mm)："), pd::kStandardDiameters)};
    c.symbols = {{QStringLiteral("ΔP/l"), QStringLiteral("unit_drop")},
                 {QStringLiteral("Q"), QStringLiteral("flow")},
                 {QStringLiteral("ν"), QStringLiteral("viscosity")},
                 {QStringLiteral("ρ"), QStringLiteral("density")},
                 {QStringLiteral("T"), QStringLiteral("temperature")}};
    c.fields = {
        {QStringLiteral("unit_drop"), QStringLiteral("Text1"), QStringLiteral("计算压力降:"), QStringLiteral("Pa/m"),
         QStringLiteral("(Pa/m)")},
        {QStringLiteral("flow"), QStringLiteral("Text2"), QStringLiteral("计算流量:"), QStringLiteral("Nm^3/h"),
         QStringLiteral("(Nm^3/h)")},
        {QStringLiteral("viscosity"), QStringLiteral("Text3"), QStringLiteral("运动粘度:"), QStringLiteral("m^2/s"),
         QStringLiteral("(m^2/s)")},
        {QStringLiteral("density"), QStringLiteral("Text4"), QStringLiteral("燃气密度:"), QStringLiteral("kg/Nm^3"),
         QStringLiteral("(kg/Nm^3)")},
        {QStringLiteral("temperature"), QStringLiteral("Text5"), QStringLiteral("绝对温度:"), QStringLiteral("K"),
         QStringLiteral("(K)")},
    };
    c.results = {
        {QStringLiteral("state"), QStringLiteral("Label8"), QStringLiteral("流态："), QString()},
        {QStringLiteral("reynolds"), QStringLiteral("Label7"), QStringLiteral("雷诺数："), QString()},
        {QStringLiteral("diameter"), QStringLiteral("Label1"), QStringLiteral("管径(mm)："), QStringLiteral("mm")},
    };
    c.run = runLaminarCheck;
    return c;
}

Calculation nonUniformityFlow()
{
    Calculation c;
    c.code = QStringLiteral("ll");
    c.title = QStringLiteral("流量计算-不均匀系数法");
    c.formula
        = {QStringLiteral("Q = N · r · q · k2 · k1 · k3 / 365 / 24 / H"), QStringLiteral("气化率 r 为小数（0~1）")};
    c.constants = {QStringLiteral("k1 = 1.2（月高峰系数）"), QStringLiteral("k2 = 1.1（日高峰系数）"),
                   QStringLiteral("k3 = 3.0（小时高峰系数）")};
    c.symbols = {{QStringLiteral("N"), QStringLiteral("residents")},
                 {QStringLiteral("r"), QStringLiteral("gasification_rate")},
                 {QStringLiteral("q"), QStringLiteral("quota")},
                 {QStringLiteral("H"), QStringLiteral("heating_value")}};
    c.fields = {
        {QStringLiteral("residents"), QStringLiteral("Text1"), QStringLiteral("居民人数(人)："), QStringLiteral("人")},
        {QStringLiteral("gasification_rate"), QStringLiteral("Text2"), QStringLiteral("气化率(0~1):"), QString()},
        {QStringLiteral("quota"), QStringLiteral("Text3"), QStringLiteral("用气定额(kJ/人*a):"),
         QStringLiteral("kJ/人*a")},
        {QStringLiteral("heating_value"), QStringLiteral("Text4"), QStringLiteral("低热值(kJ/Nm^3)："),
         QStringLiteral("kJ/Nm^3")},
    };
    c.results = {{QStringLiteral("flow"), QStringLiteral("Label6"), QStringLiteral("计算流量(Nm^3/h)："),
                  QStringLiteral("Nm^3/h")}};
    c.run = runNonUniformityFlow;
    return c;
}

Calculation simultaneityFlow()
{
    Calculation c;
    c.code = QStringLiteral("lll");
    c.title = QStringLiteral("流量计算-同时工作系数法");
    c.formula = {QStringLiteral("Q = k · N · Qn，k 为同时工作系数，按户数 N 查表")};
    for (std::size_t i = 0; hs::kSimultaneity[i].households <= kMostHouseholds; ++i) {
        const hs::SimultaneityRow &row = hs::kSimultaneity[i];
        const double k = row.k(hs::Appliances::CookerAndHeater);
        c.constants << (row.households < kFirstRange || row.households == kMostHouseholds
                            ? QStringLiteral("N = %1：k = %2").arg(row.households).arg(k)
                            : QStringLiteral("%1 ≤ N < %2：k = %3")
                                  .arg(row.households)
                                  .arg(hs::kSimultaneity[i + 1].households)
                                  .arg(k));
    }
    c.symbols
        = {{QStringLiteral("N"), QStringLiteral("households")}, {QStringLiteral("Qn"), QStringLiteral("rated_flow")}};
    c.fields = {
        {QStringLiteral("households"), QStringLiteral("Text1"), QStringLiteral("户数(人):"), QStringLiteral("户")},
        {QStringLiteral("rated_flow"), QStringLiteral("Text2"), QStringLiteral("额定流量(Nm^3/h):"),
         QStringLiteral("Nm^3/h")},
    };
    c.results = {{QStringLiteral("flow"), QStringLiteral("Label4"), QStringLiteral("计算流量(Nm^3/h):"),
                  QStringLiteral("Nm^3/h")}};
    c.run = runSimultaneityFlow;
    return c;
}

Calculation allowableDrop()
{
    Calculation c;
    c.code = QStringLiteral("yl");
    c.title = QStringLiteral("允许单位压力降");
    c.formula = {QStringLiteral("ΔP/l = (P1 − P2) / L")};
    c.symbols = {{QStringLiteral("P1"), QStringLiteral("outlet_pressure")},
                 {QStringLiteral("P2"), QStringLiteral("meter_pressure")},
                 {QStringLiteral("L"), QStringLiteral("loop_length")}};
    c.fields = {
        {QStringLiteral("outlet_pressure"), QStringLiteral("Text1"), QStringLiteral("调压箱出口压力(Pa)："),
         QStringLiteral("Pa")},
        {QStringLiteral("meter_pressure"), QStringLiteral("Text2"), QStringLiteral("表前压力(Pa)："),
         QStringLiteral("Pa")},
        {QStringLiteral("loop_length"), QStringLiteral("Text3"), QStringLiteral("最不利环路管长(m)："),
         QStringLiteral("m")},
    };
    c.results = {{QStringLiteral("allowable_drop"), QStringLiteral("Label5"), QStringLiteral("允许单位压力降(Pa/m)："),
                  QStringLiteral("Pa/m")}};
    c.run = runAllowableDrop;
    return c;
}

} // namespace calc
