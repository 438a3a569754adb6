#include "network_options.h"

namespace network {

const QList<gas::Setting> &textSettings()
{
    static const QList<gas::Setting> all = [] {
        QList<gas::Setting> list = gas::gasSettings();
        list.append({kMinPressure,
                     QStringLiteral("--min-pressure"),
                     QStringLiteral("最低压力(Pa)："),
                     QStringLiteral("最低压力(kPa)："),
                     {},
                     {},
                     {},
                     true});
        auto both = [](const QString &name, const char *option, const char *caption, const QString &initial = {},
                       const QStringList &values = {}, const QStringList &captions = {}) {
            const QString c = QString::fromUtf8(caption);
            return gas::Setting{name, QString::fromLatin1(option), c, c, initial, values, captions};
        };
        const QStringList sets = applianceCaptions();
        list.append(both(kAppliance, "--appliance", "默认用具：", QStringLiteral("2"),
                         {QStringLiteral("1"), QStringLiteral("2")}, sets));
        list.append(both(kRatedFlow[0], "--rated-flow-1", "双眼灶额定流量(Nm^3/h)："));
        list.append(both(kRatedFlow[1], "--rated-flow-2", "双眼灶和快速热水器额定流量(Nm^3/h)："));
        list.append(both(kSimultaneity, "--simultaneity", "同时工作系数：", QStringLiteral("steps"),
                         {QStringLiteral("steps"), QStringLiteral("linear")},
                         {QStringLiteral("分段取值"), QStringLiteral("线性插值")}));
        list.append(both(kSeries, "--series", "选径系列：", kSectionSeries, {kSectionSeries, kCatalogueSeries},
                         {QStringLiteral("管段计算的19种管径"), QStringLiteral("管材规格")}));
        gas::Setting minSize = both(kMinSize, "--min-size", "最小管径：");
        minSize.isNumber = false; // names of sizes as well as millimetres
        list.append(minSize);
        list.append(both(kMaxVelocity, "--max-velocity", "最大流速(m/s)："));
        // Low pressures are gauge: the basis is a medium/high-pressure setting alone.
        list.append({gas::kPressureBasis,
                     QStringLiteral("--gauge"),
                     {},
                     QStringLiteral("压力基准："),
                     gas::kAbsolute,
                     {gas::kAbsolute, gas::kGauge},
                     {QStringLiteral("绝压"), QStringLiteral("表压")}});
        list.append(both(gas::kAtmosphere, "--atmosphere", "大气压(kPa)：", kDefaultAtmosphere));
        return list;
    }();
    return all;
}

const QStringList &applianceCaptions()
{
    static const QStringList captions{QStringLiteral("双眼灶"), QStringLiteral("双眼灶和快速热水器")};
    return captions;
}

Settings initialSettings()
{
    return gas::initialSettings(textSettings());
}

QStringList formulaLines(Pressure pressure)
{
    QStringList lines{
        QStringLiteral("枝状管网（一个气源、无环）按同时工作系数法：管段计算流量 Q = Σ K(N) · N · Qn + ΣQ负荷 + "
                       "ΣQ途泄 + 0.55 · Q途泄本段；N 为管段下游使用同一用具的户数，两种用具分别计算，Qn 为其额定流量，"
                       "K 为同时工作系数，按用具和户数查表（1～2000户，表中户数之间分段取值或线性插值，超过2000户"
                       "按2000户取值）；ΣQ负荷、ΣQ途泄为下游各节点的负荷和下游各管段的途泄流量"),
        QStringLiteral("途泄流量沿管段均匀分出，按0.55计入本管段：相当于其0.55在管段终点、0.45在起点取用"),
        QStringLiteral("环状或多气源管网按节点流量法：节点负荷 = 负荷 + K(N) · N · Qn（本节点户数）+ "
                       "相连各管段途泄流量的1/2；管段流量使各节点流量平衡、各环压降闭合"),
        QStringLiteral("气源的供气量 = 经其管段流出的流量 + 气源节点本身的负荷"),
        QStringLiteral("管径：录入内径(mm)，或录入该管段管材的管材规格中的名称（如 DN100、dn110），按其内径计算；"
                       "内径 = 外径 − 2 × 壁厚，未给外径和壁厚的规格（铸铁管）内径取公称直径")};
    if (pressure == Pressure::Low) {
        lines << QStringLiteral("单位压降 i 按低压管段水力计算；摩擦压降 = i · L；局部压降 = 摩擦压降 · a / 100，"
                                "a 为管段的局部阻力(%)，未录入时取计算条件的值")
              << QStringLiteral("附加压头 = (1.293 − ρ) · ΔZ · 9.81；管段压降 = 摩擦压降 + 局部压降 − 附加压头")
              << QStringLiteral("自动选径（枝状管网）：最不利管线先定，i ≤ 可用压降 / Σ(L · (1 + a/100)) 的最小管径，"
                                "可用压降 = 气源压力 − 最低压力 − 已定管段压降 + 附加压头；支线从其起点的剩余压力起算")
              << QStringLiteral("低压的压力为表压(Pa)；求流速时的绝对压力 = 表压 / 1000 + 大气压(kPa)");
    } else {
        lines << QStringLiteral("压力平方差 s 按中高压管段水力计算；管段 ΔP² = s · L · (1 + a/100)，"
                                "a 为管段的局部阻力(%)，未录入时取计算条件的值")
              << QStringLiteral("节点压力 = √(上游节点压力² − ΔP²)，P 为绝对压力(kPa)")
              << QStringLiteral(
                     "自动选径（枝状管网）：最不利管线先定，s ≤ (P² − Pmin² − 已定管段 ΔP²) / Σ(L · (1 + a/100)) "
                     "的最小管径；支线从其起点的剩余压力起算")
              << QStringLiteral("压力基准：气源压力和最低压力按所选的表压或绝压录入，节点压力按同一基准显示；计算时"
                                "绝对压力 = 表压 + 大气压(kPa)，压力平方差均取绝对压力");
    }
    lines << QStringLiteral("选径系列：管段计算的19种管径（低压 15～630 mm，中高压 50～1220 mm），或各管段管材的"
                            "管材规格（按内径由小到大）；自动选取的管径不小于最小管径（名称按其内径比较，数值为毫米）")
          << QStringLiteral("流速 v = Q · (P0 / Pm) · (T / T0) / (A · 3600)，A = π · d² / 4；Q 为计算流量(Nm^3/h)，"
                            "Pm 为管段两端压力的平均值（绝对压力，kPa），T 为燃气温度(K)，d 为内径(m)；"
                            "P0 = 101.325 kPa，T0 = 273.15 K，π = 3.14159；超过最大流速的管段标出")
          << QStringLiteral("结论：压力最低的节点为最不利节点，其压力减最低压力为富余（不小于零时满足）或不足");
    return lines;
}

} // namespace network
