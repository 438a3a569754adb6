#include "route_csv.h"

#include "csv.h"

namespace route {

std::optional<int> columnOf(const QString &header)
{
    const QString h = header.trimmed();
    for (const Pressure pressure : {Pressure::Low, Pressure::High}) {
        const QList<Column> columns = inputColumns(pressure);
        for (int i = 0; i < columns.size(); ++i) {
            if (h == columns[i].key || h == columns[i].caption)
                return i;
        }
    }
    return std::nullopt;
}

Import sectionsFromCsv(const QByteArray &bytes)
{
    Import import;
    const csv::ReadResult read = csv::read(bytes);
    if (!read.ok()) {
        import.error = read.error;
        return import;
    }
    const csv::Table &table = read.table;
    if (table.rows.isEmpty()) {
        import.error = QStringLiteral("第1行：没有表头");
        return import;
    }
    // The columns that the table itself writes are read back or passed over, so an exported table imports again.
    QStringList computed{QStringLiteral("message"), QStringLiteral("verdict")};
    for (const Pressure pressure : {Pressure::Low, Pressure::High}) {
        for (const Column &c : computedColumns(pressure))
            computed << c.key << c.caption;
    }
    constexpr int kIgnored = -1;
    constexpr int kAuto = -2;
    QList<int> columns;
    for (const QString &cell : table.rows.front()) {
        std::optional<int> column = columnOf(cell);
        if (!column && cell.trimmed() == u"auto")
            column = kAuto;
        else if (!column && computed.contains(cell.trimmed()))
            column = kIgnored;
        if (!column) {
            import.error = QStringLiteral("第%1行：未知的列“%2”").arg(table.lines.front()).arg(cell);
            return import;
        }
        if (*column != kIgnored && columns.contains(*column)) {
            import.error = QStringLiteral("第%1行：列“%2”重复").arg(table.lines.front()).arg(cell);
            return import;
        }
        columns << *column;
    }
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const QStringList &cells = table.rows[r];
        if (cells.size() > columns.size()) {
            import.error = QStringLiteral("第%1行：单元格多于表头（%2 > %3）")
                               .arg(table.lines[r])
                               .arg(cells.size())
                               .arg(columns.size());
            import.sections.clear();
            return import;
        }
        Section section;
        bool automatic = false;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (columns[i] >= 0)
                sectionField(section, columns[i]) = cells[i];
            else if (columns[i] == kAuto)
                automatic = cells[i].trimmed() == u"1";
        }
        // The closing row of an exported table is no section.
        if (r == table.rows.size() - 1 && section.name == kTotalRow && section.flow.isEmpty())
            continue;
        if (automatic)
            section.diameter.clear();
        import.sections << section;
    }
    return import;
}

} // namespace route
