#include "text_table.h"

#include <QUndoStack>

#include <algorithm>

EditSession::EditSession(QUndoStack *undo, QObject *parent)
    : QObject(parent)
    , m_undo(undo)
{}

void EditSession::changed()
{
    if (m_depth > 0) {
        m_pending = true;
        return;
    }
    m_pending = false;
    emit recalculate();
}

EditSession::Batch::Batch(EditSession *session)
    : m_session(session)
{
    ++m_session->m_depth;
}

EditSession::Batch::~Batch()
{
    if (--m_session->m_depth == 0 && m_session->m_pending)
        m_session->changed();
}

TextTableModel::TextTableModel(EditSession *session, int typedColumns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_session(session)
    , m_typedColumns(typedColumns)
{}

QStringList TextTableModel::normalised(QStringList row) const
{
    row.resize(m_typedColumns);
    return row;
}

QString TextTableModel::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_typedColumns)
        return {};
    return m_rows[row].value(column);
}

void TextTableModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_typedColumns)
        return;
    m_rows[row][column] = text;
    emit dataChanged(index(row, column), index(row, column));
    m_session->changed();
}

void TextTableModel::insertTypedRows(int row, const QList<QStringList> &rows)
{
    if (rows.isEmpty())
        return;
    row = std::clamp(row, 0, typedRowCount());
    beginInsertRows(QModelIndex(), row, row + int(rows.size()) - 1);
    for (qsizetype i = 0; i < rows.size(); ++i)
        m_rows.insert(row + i, normalised(rows[i]));
    endInsertRows();
    m_session->changed();
}

QList<QStringList> TextTableModel::removeTypedRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QStringList> removed;
    // From the last, so that the rows before keep their places.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= typedRowCount())
            continue;
        beginRemoveRows(QModelIndex(), row, row);
        removed.prepend(m_rows.takeAt(row));
        endRemoveRows();
    }
    m_session->changed();
    return removed;
}

void TextTableModel::moveTypedRow(int from, int to)
{
    const int n = typedRowCount();
    if (from < 0 || to < 0 || from >= n || to >= n || from == to)
        return;
    // Qt's destination is the row before which the moved row lands, counted before the move.
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_rows.move(from, to);
    endMoveRows();
    m_session->changed();
}

void TextTableModel::setTypedRows(const QList<QStringList> &rows)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const QStringList &row : rows)
        m_rows << normalised(row);
    endResetModel();
    m_session->changed();
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : typedRowCount() + closingRows();
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.row() < typedRowCount() && index.column() < m_typedColumns)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TextTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString before = cell(index.row(), index.column());
    const QString after = value.toString();
    if (before == after)
        return true;
    m_session->undoStack()->push(
        new SetCellsCommand(this, {{index.row(), index.column(), before, after}}, QStringLiteral("编辑单元格")));
    return true;
}

QString TextTableModel::tabText(const QList<int> &hidden) const
{
    QString text;
    for (int row = -1; row < rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column) {
            if (hidden.contains(column))
                continue;
            cells << (row < 0 ? headerData(column, Qt::Horizontal).toString()
                              : data(index(row, column), Qt::DisplayRole).toString());
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

SetCellsCommand::SetCellsCommand(TextTableModel *model, QList<CellChange> changes, const QString &text,
                                 QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_changes(std::move(changes))
{}

void SetCellsCommand::redo()
{
    const EditSession::Batch batch(m_model->session());
    for (const CellChange &c : m_changes)
        m_model->setCell(c.row, c.column, c.after);
}

void SetCellsCommand::undo()
{
    const EditSession::Batch batch(m_model->session());
    for (auto it = m_changes.crbegin(); it != m_changes.crend(); ++it)
        m_model->setCell(it->row, it->column, it->before);
}

InsertRowsCommand::InsertRowsCommand(TextTableModel *model, int row, QList<QStringList> rows, const QString &text,
                                     QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_row(row)
    , m_rows(std::move(rows))
{}

void InsertRowsCommand::redo()
{
    m_model->insertTypedRows(m_row, m_rows);
}

void InsertRowsCommand::undo()
{
    QList<int> rows;
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        rows << m_row + int(i);
    m_model->removeTypedRows(rows);
}

RemoveRowsCommand::RemoveRowsCommand(TextTableModel *model, QList<int> rows, const QString &text,
                                     QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_rows(std::move(rows))
{
    std::sort(m_rows.begin(), m_rows.end());
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
}

void RemoveRowsCommand::redo()
{
    m_removed = m_model->removeTypedRows(m_rows);
}

void RemoveRowsCommand::undo()
{
    const EditSession::Batch batch(m_model->session());
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        m_model->insertTypedRows(m_rows[i], {m_removed.value(i)});
}

MoveRowCommand::MoveRowCommand(TextTableModel *model, int from, int to, const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_from(from)
    , m_to(to)
{}

void MoveRowCommand::redo()
{
    m_model->moveTypedRow(m_from, m_to);
}

void MoveRowCommand::undo()
{
    m_model->moveTypedRow(m_to, m_from);
}

ReplaceRowsCommand::ReplaceRowsCommand(TextTableModel *model, QList<QStringList> rows, const QString &text,
                                       QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_before(model->typedRows())
    , m_after(std::move(rows))
{}

void ReplaceRowsCommand::redo()
{
    m_model->setTypedRows(m_after);
}

void ReplaceRowsCommand::undo()
{
    m_model->setTypedRows(m_before);
}

BatchCommand::BatchCommand(EditSession *session, const QString &text)
    : QUndoCommand(text)
    , m_session(session)
{}

void BatchCommand::redo()
{
    const EditSession::Batch batch(m_session);
    QUndoCommand::redo();
}

void BatchCommand::undo()
{
    const EditSession::Batch batch(m_session);
    QUndoCommand::undo();
}
