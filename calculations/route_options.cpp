#include "route_options.h"

#include "descriptions.h"

namespace route {

const QList<TextSetting> &textSettings()
{
    static const QList<TextSetting> all{
        {QStringLiteral("density"), QStringLiteral("--density"), QStringLiteral("燃气密度(kg/Nm^3)："),
         &Settings::density},
        {QStringLiteral("viscosity"), QStringLiteral("--viscosity"), QStringLiteral("运动粘度(m^2/s)："),
         &Settings::viscosity},
        {QStringLiteral("temperature"), QStringLiteral("--temperature"), QStringLiteral("燃气温度(K)："),
         &Settings::temperature},
        {QStringLiteral("localPercent"), QStringLiteral("--local-percent"), QStringLiteral("局部阻力(摩擦压降的%)："),
         &Settings::localPercent},
        {QStringLiteral("allowableDrop"), QStringLiteral("--allowable-drop"), QStringLiteral("允许压降(Pa)："),
         &Settings::allowableDrop, true, false},
        {QStringLiteral("startPressure"), QStringLiteral("--start-pressure"), QStringLiteral("起点压力(kPa)："),
         &Settings::startPressure, false, true},
        {QStringLiteral("minEndPressure"), QStringLiteral("--min-end-pressure"), QStringLiteral("最低终点压力(kPa)："),
         &Settings::minEndPressure, false, true},
    };
    return all;
}

const QList<NamedOption> &pressureOptions()
{
    static const QList<NamedOption> all{{QStringLiteral("lowPressure"), QStringLiteral("低压")},
                                        {QStringLiteral("highPressure"), QStringLiteral("中高压")}};
    return all;
}

const QList<NamedOption> &materialOptions()
{
    static const QList<NamedOption> all = [] {
        const QStringList names{QStringLiteral("steel"), QStringLiteral("castIron"), QStringLiteral("plastic")};
        const calc::Choice materials = calc::pipeMaterials(QString());
        QList<NamedOption> options;
        for (std::size_t i = 0; i < materials.options.size(); ++i)
            options.append({names.value(qsizetype(i)), materials.options[i].caption});
        return options;
    }();
    return all;
}

} // namespace route
