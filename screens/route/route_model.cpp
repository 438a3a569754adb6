#include "route_model.h"

#include "number_text.h"
#include "widgets.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QUndoStack>

RouteModel::RouteModel(EditSession *session, QObject *parent)
    : TextTableModel(session, route::kInputColumns, parent)
{
    recalculate();
}

int RouteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : messageColumn() + 1;
}

int RouteModel::messageColumn() const
{
    static const int low = route::kInputColumns + int(route::computedColumns(route::Pressure::Low).size());
    static const int high = route::kInputColumns + int(route::computedColumns(route::Pressure::High).size());
    return m_settings.pressure == route::Pressure::Low ? low : high;
}

QVariant RouteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return isTotalRow(section) ? QVariant() : QVariant(section + 1);
    if (section < route::kInputColumns)
        return route::inputColumns(m_settings.pressure)[section].caption;
    if (section < messageColumn())
        return route::computedColumns(m_settings.pressure)[section - route::kInputColumns].caption;
    return QStringLiteral("提示");
}

QVariant RouteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    if (isTotalRow(row)) {
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role == Qt::TextAlignmentRole && column != route::Name && column != messageColumn())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return QVariant();
        if (column == route::Name)
            return route::kTotalRow;
        if (column == route::Length)
            return withDigits(m_result.totalLength, m_settings.digits);
        if (column == route::kInputColumns + route::totalColumn(m_settings.pressure))
            return withDigits(m_result.total, m_settings.digits);
        if (column == messageColumn())
            return m_result.verdict;
        return QString();
    }

    static const route::SectionResult kNone;
    const route::SectionResult &result = row < m_result.sections.size() ? m_result.sections[row] : kNone;
    const bool bad = column < route::kInputColumns && result.badColumns.contains(column);
    // A number whose text is not read whole: what it is read as.
    const QString readAs = column != route::Name && column < route::kInputColumns
        ? readAsText(cell(row, column))
        : QString();
    switch (role) {
    case Qt::DisplayRole:
        if (column == route::Diameter && result.automatic)
            return result.diameter;
        if (column < route::kInputColumns)
            return cell(row, column);
        if (column < messageColumn())
            return result.cell(column - route::kInputColumns, m_settings.digits);
        return result.message;
    case Qt::EditRole:
        if (column < route::kInputColumns)
            return cell(row, column);
        return data(index, Qt::DisplayRole);
    case Qt::BackgroundRole:
        if (bad)
            return QBrush(toolkit::kProblemColor);
        if (!readAs.isEmpty())
            return QBrush(toolkit::kReadAsColor);
        return QVariant();
    case Qt::ForegroundRole:
        if (column == route::Diameter && result.automatic)
            return QBrush(QColor(0x60, 0x60, 0x60));
        if (column == messageColumn() && !result.valid)
            return QBrush(QColor(0xB0, 0, 0));
        return QVariant();
    case Qt::FontRole:
        if (column == route::Diameter && result.automatic) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return QVariant();
    case Qt::ToolTipRole: {
        QStringList tips;
        if (bad)
            tips << result.message;
        else if (column == route::Diameter && result.automatic)
            tips << QStringLiteral("自动选定的管径");
        // A refused cell's message says what it was read as already.
        if (!readAs.isEmpty() && !bad)
            tips << QStringLiteral("读作 ") + readAs;
        return tips.isEmpty() ? QVariant() : QVariant(tips.join(u'\n'));
    }
    case Qt::TextAlignmentRole:
        if (column != route::Name && column != messageColumn())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    default:
        return QVariant();
    }
}

void RouteModel::setSettings(const route::Settings &settings)
{
    const bool classChanged = settings.pressure != m_settings.pressure;
    if (classChanged)
        beginResetModel();
    m_settings = settings;
    if (classChanged)
        endResetModel();
    session()->changed();
}

void RouteModel::setSections(const QList<route::Section> &sections)
{
    QList<QStringList> rows;
    rows.reserve(sections.size());
    for (const route::Section &section : sections) {
        QStringList cells;
        for (int column = 0; column < route::kInputColumns; ++column)
            cells << route::sectionField(section, column);
        rows << cells;
    }
    setTypedRows(rows);
}

void RouteModel::recalculate()
{
    m_sections.resize(typedRowCount());
    for (int row = 0; row < typedRowCount(); ++row) {
        const QStringList &cells = typedRows()[row];
        for (int column = 0; column < route::kInputColumns; ++column)
            route::sectionField(m_sections[row], column) = cells[column];
    }
    // Numbers are formatted when a cell is shown.
    m_result = route::calculate(m_settings, m_sections, false);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit recalculated();
}
