#include "route_options.h"

namespace route {

const QList<gas::Setting> &textSettings()
{
    static const QList<gas::Setting> all = [] {
        QList<gas::Setting> list = gas::gasSettings();
        list.append({kAllowableDrop, QStringLiteral("--allowable-drop"), QStringLiteral("允许压降(Pa)："), {}, {}, {}, {}});
        list.append(
            {kStartPressure, QStringLiteral("--start-pressure"), {}, QStringLiteral("起点压力(kPa)："), {}, {}, {}});
        list.append({kMinEndPressure, QStringLiteral("--min-end-pressure"), {}, QStringLiteral("最低终点压力(kPa)："),
                     {}, {}, {}});
        return list;
    }();
    return all;
}

Settings initialSettings()
{
    return gas::initialSettings(textSettings());
}

} // namespace route
