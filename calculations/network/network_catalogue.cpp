#include "network_catalogue.h"

#include "gas_settings.h"
#include "number_text.h"

#include <QRegularExpression>

#include <cmath>

namespace network {

namespace {

QString materialCaption(int material)
{
    return gas::materialOptions().value(material).caption;
}

// A positive number read whole, or nothing.
std::optional<double> positive(const QString &text)
{
    const NumberRead read = readLeadingNumber(text);
    if (text.trimmed().isEmpty() || !read.whole || !std::isfinite(read.value) || read.value <= 0)
        return std::nullopt;
    return read.value;
}

} // namespace

Catalogues defaultCatalogues()
{
    return {defaultCatalogue(0), defaultCatalogue(1), defaultCatalogue(2)};
}

QString catalogueKey(int material)
{
    return gas::materialOptions().value(material).name;
}

QList<Row> defaultCatalogue(int material)
{
    QList<Row> rows;
    for (const pd::NominalSize &s : pd::DefaultSizes(material)) {
        Row row(size::Count);
        row[size::Name] = QString::fromUtf8(s.name.data(), qsizetype(s.name.size()));
        if (s.outside > 0) {
            row[size::Outside] = formatShortest(s.outside);
            row[size::Wall] = formatShortest(s.wall);
        }
        rows << row;
    }
    return rows;
}

bool isSizeName(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QChar c = t.front();
    return !c.isDigit() && c != u'+' && c != u'-' && c != u'.';
}

std::optional<double> innerDiameter(const Row &row)
{
    const QString outside = row.value(size::Outside).trimmed(), wall = row.value(size::Wall).trimmed();
    if (outside.isEmpty() && wall.isEmpty()) {
        const std::optional<pd::NominalName> nominal = pd::ParseNominalName(row.value(size::Name).toStdString());
        return nominal ? std::optional<double>(nominal->size) : std::nullopt;
    }
    const std::optional<double> D = positive(outside), s = positive(wall);
    if (!D || !s || *D <= 2 * *s)
        return std::nullopt;
    return pd::InnerDiameter(*D, *s);
}

CatalogueRead readCatalogue(int material, const QList<Row> &rows)
{
    CatalogueRead r;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Row &row = rows[i];
        auto refuse = [&](const QString &text) {
            r.sizes.clear();
            r.row = int(i);
            r.problem = QStringLiteral("%1的管材规格第%2行：%3").arg(materialCaption(material)).arg(i + 1).arg(text);
            return r;
        };
        const QString name = row.value(size::Name).trimmed();
        const QString outside = row.value(size::Outside).trimmed(), wall = row.value(size::Wall).trimmed();
        if (name.isEmpty() && outside.isEmpty() && wall.isEmpty())
            continue;
        if (name.isEmpty())
            return refuse(QStringLiteral("规格名称为空"));
        if (!isSizeName(name))
            return refuse(QStringLiteral("规格名称“%1”应以字母开头（如 DN100、dn110）").arg(name));
        if (pd::FindSize(r.sizes, name.toStdString()))
            return refuse(QStringLiteral("规格“%1”重复").arg(name));
        if (outside.isEmpty() != wall.isEmpty())
            return refuse(QStringLiteral("规格“%1”须同时录入外径和壁厚").arg(name));
        if (!outside.isEmpty() && (!positive(outside) || !positive(wall)))
            return refuse(QStringLiteral("规格“%1”的外径和壁厚应为大于0的数").arg(name));
        const std::optional<double> inner = innerDiameter(row);
        if (!inner) {
            return refuse(outside.isEmpty() ? QStringLiteral("规格“%1”没有外径和壁厚，其名称也不是公称直径").arg(name)
                                            : QStringLiteral("规格“%1”的外径应大于两倍壁厚").arg(name));
        }
        r.sizes.push_back({name.toStdString(), outside.isEmpty() ? 0 : parseLeadingNumber(outside),
                           wall.isEmpty() ? 0 : parseLeadingNumber(wall), *inner});
    }
    return r;
}

MinimumRead readMinimum(const QString &text, const std::array<std::vector<pd::PipeSize>, 3> &catalogues)
{
    MinimumRead r;
    static const QRegularExpression separators(QStringLiteral("[,，、;；]"));
    for (const QString &item : text.split(separators)) {
        const QString t = item.trimmed();
        if (t.isEmpty())
            continue;
        auto raise = [](Minimum &m, double diameter, const QString &name) {
            if (diameter > m.diameter)
                m = Minimum{diameter, name};
        };
        if (!isSizeName(t)) {
            const std::optional<double> mm = positive(t);
            if (!mm) {
                r.problem = QStringLiteral("最小管径“%1”应为管材规格中的名称或大于0的管径(mm)").arg(t);
                return r;
            }
            for (Minimum &m : r.of)
                raise(m, *mm, formatNumber(*mm) + QStringLiteral(" mm"));
            continue;
        }
        bool found = false;
        for (std::size_t material = 0; material < catalogues.size(); ++material) {
            const std::vector<pd::PipeSize> &sizes = catalogues[material];
            if (const std::optional<std::size_t> i = pd::FindSize(sizes, t.toStdString())) {
                raise(r.of[material], sizes[*i].inner, QString::fromStdString(sizes[*i].name));
                found = true;
            }
        }
        if (!found) {
            r.problem = QStringLiteral("最小管径“%1”不在任何管材规格中").arg(t);
            return r;
        }
    }
    return r;
}

} // namespace network
