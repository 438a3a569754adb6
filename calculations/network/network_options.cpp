#include "network_options.h"

namespace network {

const QList<gas::Setting> &textSettings()
{
    static const QList<gas::Setting> all = [] {
        QList<gas::Setting> list = gas::gasSettings();
        list.append({kMinPressure, QStringLiteral("--min-pressure"), QStringLiteral("最低压力(Pa)："),
                     QStringLiteral("最低压力(kPa)："), {}, {}, {}});
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

} // namespace network
