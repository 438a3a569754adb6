#include "quantities.h"

#include "catalogue.h"
#include "descriptions.h"
#include "number_text.h"

#include <QHash>

#include <algorithm>
#include <compare>

namespace quantities {

Table tally(const QList<Pipe> &pipes)
{
    const calc::Choice materials = calc::pipeMaterials(QString());
    Table table;
    QHash<QString, qsizetype> rowOf;
    for (const Pipe &pipe : pipes) {
        const QString name = pipe.size.trimmed();
        const QString size = name.isEmpty() ? formatShortest(pipe.diameter) : name;
        // Names match as the catalogue matches them ("DN100", "dn100", "DN 100"); a name and a number never
        // share a row, even where the number is that size's bore.
        QString key = QString::number(pipe.material);
        if (name.isEmpty())
            key += u'#' + size;
        else if (const std::optional<pd::NominalName> nominal = pd::ParseNominalName(name.toStdString()))
            key += u'=' + QString::number(nominal->size);
        else
            key += u'=' + name.toCaseFolded();
        auto found = rowOf.constFind(key);
        if (found == rowOf.constEnd()) {
            Row row;
            row.material = pipe.material;
            if (pipe.material >= 0 && std::size_t(pipe.material) < materials.options.size())
                row.materialCaption = materials.options[std::size_t(pipe.material)].caption;
            row.size = size;
            row.diameter = pipe.diameter;
            found = rowOf.insert(key, table.rows.size());
            table.rows << row;
        }
        Row &row = table.rows[*found];
        row.length += pipe.length;
        ++row.count;
    }
    // A total order even for a diameter that is not a number, which std::stable_sort needs.
    std::stable_sort(table.rows.begin(), table.rows.end(), [](const Row &a, const Row &b) {
        if (a.material != b.material)
            return a.material < b.material;
        return std::strong_order(a.diameter, b.diameter) < 0;
    });
    for (const Row &row : table.rows) {
        table.length += row.length;
        table.count += row.count;
    }
    return table;
}

} // namespace quantities
