#include "network_options.h"

namespace network {

const QList<gas::Setting> &textSettings()
{
    static const QList<gas::Setting> all = [] {
        QList<gas::Setting> list = gas::gasSettings();
        list.append({kMinPressure, QStringLiteral("--min-pressure"), QStringLiteral("最低压力(Pa)："),
                     QStringLiteral("最低压力(kPa)："), {}, {}, {}});
        return list;
    }();
    return all;
}

Settings initialSettings()
{
    return gas::initialSettings(textSettings());
}

} // namespace network
