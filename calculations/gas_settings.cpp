#include "gas_settings.h"

#include "descriptions.h"
#include "number_text.h"

#include <cmath>

namespace gas {

Settings initialSettings(const QList<Setting> &settings)
{
    Settings s;
    for (const Setting &setting : settings)
        s.setText(setting.name, setting.initial);
    return s;
}

bool isGauge(const Settings &s)
{
    return s.pressure == Pressure::High && s.text(kPressureBasis).trimmed() == kGauge;
}

QString withBasis(const QString &caption, const Settings &s)
{
    if (s.pressure != Pressure::High || !s.texts.contains(kPressureBasis))
        return caption;
    QString shown = caption;
    return shown.replace(QStringLiteral("(kPa)"),
                         isGauge(s) ? QStringLiteral("(kPa，表压)") : QStringLiteral("(kPa，绝压)"));
}

QString shownCaption(const Setting &setting, const Settings &s)
{
    const QString caption = setting.caption(s.pressure);
    return setting.isPressure ? withBasis(caption, s) : caption;
}

QList<Setting> gasSettings()
{
    auto both = [](const QString &name, const char *option, const char *caption, const QString &initial = {}) {
        const QString c = QString::fromUtf8(caption);
        return Setting{name, QString::fromLatin1(option), c, c, initial, {}, {}};
    };
    return {both(kDensity, "--density", "燃气密度(kg/Nm^3)："),
            both(kViscosity, "--viscosity", "运动粘度(m^2/s)："),
            both(kTemperature, "--temperature", "燃气温度(K)："),
            both(kLocalPercent, "--local-percent", "局部阻力(摩擦压降的%)：", QStringLiteral("10"))};
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

std::optional<QString> inClassUnits(const QString &text, Pressure from, Pressure to)
{
    if (text.trimmed().isEmpty() || from == to)
        return text;
    const NumberRead read = readLeadingNumber(text);
    // Divided rather than multiplied by 0.001, so that 21 m gives 0.021 km and back 21 m.
    const double converted = to == Pressure::High ? read.value / 1000 : read.value * 1000;
    if (!read.whole || !std::isfinite(converted))
        return std::nullopt;
    return formatNumber(converted);
}

} // namespace gas
