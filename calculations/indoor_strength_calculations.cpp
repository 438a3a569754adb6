// Gravity head, indoor local loss and the wall thickness of a steel pipeline.
#include "descriptions.h"

#include "hs.h"
#include "number_text.h"

namespace calc {

namespace {

Outcome runAdditionalHead(const Calculation &c, const Input &in)
{
    const double rho = number(c, in, "density");
    const double dZ = number(c, in, "height_difference");
    // A downward run (negative height difference) is refused like an empty field.
    if (rho <= 0 || dZ <= 0)
        return refused(notPositiveMessage());
    const double head = hs::AdditionalPressureHead(rho, dZ);
    if (!allFinite({rho, dZ, head}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("head"), formatNumber(head));
}

Outcome runIndoorLocalLoss(const Calculation &c, const Input &in)
{
    const double Q = number(c, in, "flow");
    const double rho = number(c, in, "density");
    const double T = number(c, in, "temperature");
    const double zeta = number(c, in, "resistance");
    const double d = number(c, in, "diameter");
    if (Q <= 0 || rho <= 0 || T <= 0 || zeta <= 0 || d <= 0)
        return refused(notPositiveMessage());
    const double loss = hs::IndoorLocalPressureLoss(Q, rho, T, zeta, d);
    if (!allFinite({Q, rho, T, zeta, d, loss}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("loss"), formatNumber(loss));
}

Outcome runWallThickness(const Calculation &c, const Input &in)
{
    const double D = number(c, in, "diameter");
    const double P = number(c, in, "pressure");
    const double C = number(c, in, "corrosion_allowance");
    // Empty fields would show a thickness of 0, a negative pressure a negative
    // thickness: both are refused rather than shown as a result.
    if (D <= 0 || P <= 0 || C <= 0)
        return refused(notPositiveMessage());

    const WallFactors f
        = wallFactors(c.selected(in, QStringLiteral("weld")), c.selected(in, QStringLiteral("steel")),
                      c.selected(in, QStringLiteral("line")), c.selected(in, QStringLiteral("surroundings")));
    const double thickness = hs::PipeWallThickness(D, P, C, f.phi, f.sigmaS, f.F);
    if (!allFinite({D, P, C, thickness}))
        return refused(outOfRangeMessage());
    return shown(QStringLiteral("thickness"), formatNumber(thickness));
}

Choice choice(const char *key, const char *frame, const QString &caption, std::vector<Option> options)
{
    return {QString::fromLatin1(key), QString::fromLatin1(frame), caption, std::move(options), 0};
}

} // namespace

WallFactors wallFactors(int weld, int steel, int line, int surroundings)
{
    WallFactors f;
    // Seamless and straight or spiral seam pipe 1, submerged-arc spiral pipe 0.9.
    f.phi = 0.9;
    if (weld == 0)
        f.phi = 1;
    else if (weld == 1)
        f.phi = 1;
    // Yield strength, MPa: steel 20, A3F, else 16Mn.
    f.sigmaS = 353;
    if (steel == 0)
        f.sigmaS = 245;
    else if (steel == 1)
        f.sigmaS = 235;
    // Design factor by line (gas, oil) and surroundings (residential etc., open country).
    constexpr double kDesignFactor[2][2] = {{0.5, 0.6}, {0.6, 0.72}};
    f.F = kDesignFactor[line == 0 ? 0 : 1][surroundings == 0 ? 0 : 1];
    return f;
}

Calculation additionalHead()
{
    Calculation c;
    c.code = QStringLiteral("yt");
    c.title = QStringLiteral("附加压头计算");
    c.formula = {QStringLiteral("ΔP = (ρa − ρ) · ΔZ · g")};
    c.constants = {QStringLiteral("ρa = %1 kg/Nm^3（空气密度）").arg(formatNumber(hs::kAirDensity)),
                   QStringLiteral("g = %1 m/s²").arg(formatNumber(hs::kGravity))};
    c.symbols = {{QStringLiteral("ρ"), QStringLiteral("density")},
                 {QStringLiteral("ΔZ"), QStringLiteral("height_difference")}};
    c.fields = {
        {QStringLiteral("density"), QStringLiteral("Text1"), QStringLiteral("燃气密度(KG/Nm^3):"),
         QStringLiteral("kg/Nm^3")},
        {QStringLiteral("height_difference"), QStringLiteral("Text2"), QStringLiteral("高程差(m):"),
         QStringLiteral("m")},
    };
    c.results
        = {{QStringLiteral("head"), QStringLiteral("Label4"), QStringLiteral("附加压头(Pa):"), QStringLiteral("Pa")}};
    c.run = runAdditionalHead;
    return c;
}

Calculation indoorLocalLoss()
{
    Calculation c;
    c.code = QStringLiteral("jb");
    c.title = QStringLiteral("室内局部压力计算");
    c.formula = {QStringLiteral("ΔP = 8 · ζ · Q² · ρ · T / π² / d^4 / T0 / 3600² / (10^-6)²（d 以 mm 计）")};
    c.constants = {piText(), t0Text()};
    c.symbols = {{QStringLiteral("Q"), QStringLiteral("flow")},
                 {QStringLiteral("ρ"), QStringLiteral("density")},
                 {QStringLiteral("T"), QStringLiteral("temperature")},
                 {QStringLiteral("ζ"), QStringLiteral("resistance")},
                 {QStringLiteral("d"), QStringLiteral("diameter")}};
    c.fields = {
        {QStringLiteral("flow"), QStringLiteral("Text1"), QStringLiteral("计算流量(Nm^3/h):"),
         QStringLiteral("Nm^3/h")},
        {QStringLiteral("density"), QStringLiteral("Text2"), QStringLiteral("燃气密度(KG/Nm^3):"),
         QStringLiteral("kg/Nm^3")},
        {QStringLiteral("temperature"), QStringLiteral("Text3"), QStringLiteral("燃气温度(K):"), QStringLiteral("K")},
        {QStringLiteral("resistance"), QStringLiteral("Text4"), QStringLiteral("局部阻力系数:"), QString()},
        {QStringLiteral("diameter"), QStringLiteral("Text5"), QStringLiteral("室内管径(mm):"), QStringLiteral("mm")},
    };
    c.results = {
        {QStringLiteral("loss"), QStringLiteral("Label6"), QStringLiteral("室内局部压力(Pa):"), QStringLiteral("Pa")}};
    c.run = runIndoorLocalLoss;
    return c;
}

Calculation wallThickness()
{
    Calculation c;
    c.code = QStringLiteral("bh");
    c.title = QStringLiteral("壁厚设计计算");
    c.formula = {QStringLiteral("δ = D · P / 2 / σs / F / φ + C")};
    c.symbols = {{QStringLiteral("D"), QStringLiteral("diameter")},
                 {QStringLiteral("P"), QStringLiteral("pressure")},
                 {QStringLiteral("C"), QStringLiteral("corrosion_allowance")},
                 {QStringLiteral("φ"), QStringLiteral("weld")},
                 {QStringLiteral("σs"), QStringLiteral("steel")},
                 {QStringLiteral("F"), QStringLiteral("line")}};
    c.fields = {
        {QStringLiteral("diameter"), QStringLiteral("Text1"), QStringLiteral("内径(mm):"), QStringLiteral("mm")},
        {QStringLiteral("pressure"), QStringLiteral("Text2"), QStringLiteral("设计压力(MPa):"), QStringLiteral("MPa")},
        {QStringLiteral("corrosion_allowance"), QStringLiteral("Text3"), QStringLiteral("腐蚀余量(mm):"),
         QStringLiteral("mm")},
    };
    c.choices = {
        choice("weld", "Frame2", QStringLiteral("焊缝系数"),
               {{QStringLiteral("Option1"), QStringLiteral("无缝钢管")},
                {QStringLiteral("Option2"), QStringLiteral("直缝管和螺旋焊缝钢管")},
                {QStringLiteral("Option3"), QStringLiteral("螺旋埋地弧焊钢管")}}),
        choice("steel", "Frame3", QStringLiteral("钢管材质"),
               {{QStringLiteral("Option4"), QStringLiteral("优质碳素钢20")},
                {QStringLiteral("Option5"), QStringLiteral("碳素钢A3F")},
                {QStringLiteral("Option6"), QStringLiteral("低合金钢16Mn")}}),
        choice("line", "Frame4", QStringLiteral("管线"),
               {{QStringLiteral("Option7"), QStringLiteral("输气管线")},
                {QStringLiteral("Option8"), QStringLiteral("输油管线")}}),
        choice("surroundings", "Frame5", QStringLiteral("工作环境"),
               {{QStringLiteral("Option9"), QStringLiteral("居住区\\站场内\\穿越铁路\\公路\\小河渠")},
                {QStringLiteral("Option10"), QStringLiteral("野外地区")}}),
    };
    c.results
        = {{QStringLiteral("thickness"), QStringLiteral("Label4"), QStringLiteral("壁厚(mm):"), QStringLiteral("mm")}};
    // The factors of each option, as the calculation takes them.
    const std::vector<Option> &weld = c.choices[0].options;
    const std::vector<Option> &steel = c.choices[1].options;
    const std::vector<Option> &line = c.choices[2].options;
    const std::vector<Option> &surroundings = c.choices[3].options;
    QStringList phi;
    for (std::size_t i = 0; i < weld.size(); ++i)
        phi << weld[i].caption + QStringLiteral(" ") + QString::number(wallFactors(int(i), 0, 0, 0).phi);
    QStringList sigma;
    for (std::size_t i = 0; i < steel.size(); ++i)
        sigma << steel[i].caption + QStringLiteral(" ") + QString::number(wallFactors(0, int(i), 0, 0).sigmaS);
    QStringList design;
    for (std::size_t l = 0; l < line.size(); ++l) {
        for (std::size_t e = 0; e < surroundings.size(); ++e) {
            design << line[l].caption + QStringLiteral("、") + surroundings[e].caption + QStringLiteral(" ")
                    + QString::number(wallFactors(0, 0, int(l), int(e)).F);
        }
    }
    c.constants = {QStringLiteral("φ（焊缝系数）：") + phi.join(QStringLiteral("，")),
                   QStringLiteral("σs(MPa)：") + sigma.join(QStringLiteral("，")),
                   QStringLiteral("F（设计系数）：") + design.join(QStringLiteral("，"))};
    c.run = runWallThickness;
    return c;
}

} // namespace calc
