#include "network_options.h"

namespace network {

const QList<TextSetting> &textSettings()
{
    static const QList<TextSetting> all{
        {QStringLiteral("density"), QStringLiteral("--density"), QStringLiteral("燃气密度(kg/Nm^3)："),
         QStringLiteral("燃气密度(kg/Nm^3)："), &Settings::density},
        {QStringLiteral("viscosity"), QStringLiteral("--viscosity"), QStringLiteral("运动粘度(m^2/s)："),
         QStringLiteral("运动粘度(m^2/s)："), &Settings::viscosity},
        {QStringLiteral("temperature"), QStringLiteral("--temperature"), QStringLiteral("燃气温度(K)："),
         QStringLiteral("燃气温度(K)："), &Settings::temperature},
        {QStringLiteral("localPercent"), QStringLiteral("--local-percent"), QStringLiteral("局部阻力(摩擦压降的%)："),
         QStringLiteral("局部阻力(摩擦压降的%)："), &Settings::localPercent},
        {QStringLiteral("minPressure"), QStringLiteral("--min-pressure"), QStringLiteral("最低压力(Pa)："),
         QStringLiteral("最低压力(kPa)："), &Settings::minPressure},
    };
    return all;
}

QStringList cellsOf(const NodeRow &r)
{
    return {r.node, r.load, r.elevation, r.x, r.y, r.sourcePressure};
}

QStringList cellsOf(const PipeRow &r)
{
    return {r.pipe, r.from, r.to, r.length, r.diameter, r.material};
}

NodeRow nodeRowOf(const QStringList &c)
{
    return {c.value(0), c.value(1), c.value(2), c.value(3), c.value(4), c.value(5)};
}

PipeRow pipeRowOf(const QStringList &c)
{
    return {c.value(0), c.value(1), c.value(2), c.value(3), c.value(4), c.value(5)};
}

} // namespace network
