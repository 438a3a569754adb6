#include "route_model.h"

#include "number_text.h"
#include "route_commands.h"
#include "widgets.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QUndoStack>

RouteModel::RouteModel(QUndoStack *undo, QObject *parent)
    : QAbstractTableModel(parent)
    , m_undo(undo)
{
    recalculate();
}

int RouteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sections.size()) + 1;
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

    const route::Section &section = m_sections[row];
    const route::SectionResult &result = resultOf(row);
    const bool bad = column < route::kInputColumns && result.badColumns.contains(column);
    // A number whose text is not read whole: what it is read as.
    const QString readAs = column != route::Name && column < route::kInputColumns
        ? readAsText(route::sectionField(section, column))
        : QString();
    switch (role) {
    case Qt::DisplayRole:
        if (column == route::Diameter && result.automatic)
            return result.diameter;
        if (column < route::kInputColumns)
            return route::sectionField(section, column);
        if (column < messageColumn())
            return result.cell(column - route::kInputColumns, m_settings.digits);
        return result.message;
    case Qt::EditRole:
        if (column < route::kInputColumns)
            return route::sectionField(section, column);
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
        if (!readAs.isEmpty())
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

Qt::ItemFlags RouteModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!isTotalRow(index.row()) && index.column() < route::kInputColumns)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RouteModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString text = value.toString();
    if (text == cell(index.row(), index.column()))
        return true;
    m_undo->push(new SetCellsCommand(this, {{index.row(), index.column(), cell(index.row(), index.column()), text}},
                                     QStringLiteral("编辑单元格")));
    return true;
}

void RouteModel::setSettings(const route::Settings &settings)
{
    const bool classChanged = settings.pressure != m_settings.pressure;
    if (classChanged)
        beginResetModel();
    m_settings = settings;
    if (classChanged)
        endResetModel();
    recalculate();
}

QString RouteModel::cell(int row, int column) const
{
    if (row < 0 || row >= int(m_sections.size()) || column < 0 || column >= route::kInputColumns)
        return QString();
    return route::sectionField(m_sections[row], column);
}

void RouteModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= int(m_sections.size()) || column < 0 || column >= route::kInputColumns)
        return;
    route::sectionField(m_sections[row], column) = text;
    recalculate();
}

void RouteModel::insertSections(int row, const QList<route::Section> &sections)
{
    if (sections.isEmpty())
        return;
    row = std::clamp(row, 0, int(m_sections.size()));
    beginInsertRows(QModelIndex(), row, row + int(sections.size()) - 1);
    for (qsizetype i = 0; i < sections.size(); ++i)
        m_sections.insert(row + i, sections[i]);
    endInsertRows();
    recalculate();
}

QList<route::Section> RouteModel::removeSections(int row, int count)
{
    if (row < 0 || count <= 0 || row + count > int(m_sections.size()))
        return {};
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    const QList<route::Section> removed = m_sections.mid(row, count);
    m_sections.remove(row, count);
    endRemoveRows();
    recalculate();
    return removed;
}

void RouteModel::moveSection(int from, int to)
{
    const int n = int(m_sections.size());
    if (from < 0 || to < 0 || from >= n || to >= n || from == to)
        return;
    // Qt's destination is the row before which the moved row lands, counted before the move.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_sections.move(from, to);
    endMoveRows();
    recalculate();
}

void RouteModel::setSections(const QList<route::Section> &sections)
{
    beginResetModel();
    m_sections = sections;
    endResetModel();
    recalculate();
}

RouteModel::Batch::Batch(RouteModel *model)
    : m_model(model)
{
    ++m_model->m_batchDepth;
}

RouteModel::Batch::~Batch()
{
    if (--m_model->m_batchDepth == 0 && m_model->m_pending)
        m_model->recalculate();
}

const route::SectionResult &RouteModel::resultOf(int row) const
{
    static const route::SectionResult kNone;
    return row < m_result.sections.size() ? m_result.sections[row] : kNone;
}

void RouteModel::recalculate()
{
    if (m_batchDepth > 0) {
        m_pending = true;
        return;
    }
    m_pending = false;
    // Numbers are formatted when a cell is shown.
    m_result = route::calculate(m_settings, m_sections, false);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit recalculated();
}

QString RouteModel::tabText() const
{
    QString text;
    for (int row = -1; row < rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column) {
            if (m_settings.pressure == route::Pressure::High && column == route::Rise)
                continue;
            cells << (row < 0 ? headerData(column, Qt::Horizontal).toString()
                              : data(index(row, column), Qt::DisplayRole).toString());
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}
