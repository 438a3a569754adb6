#include "table_editing.h"

#include "copying.h"
#include "text_table.h"
#include "widgets.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QBoxLayout>
#include <QPushButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>

TableEditing::TableEditing(QTableView *view, TextTableModel *model, const QString &rowName)
    : QObject(view)
    , m_view(view)
    , m_model(model)
    , m_rowName(rowName)
{
    using toolkit::tableAction;
    QUndoStack *undo = model->session()->undoStack();
    connect(tableAction(view, QStringLiteral("插入") + rowName, {QKeySequence(Qt::Key_Insert)}), &QAction::triggered,
            this, [this] { insertRow(); });
    connect(tableAction(view, QStringLiteral("删除") + rowName, {QKeySequence(Qt::CTRL | Qt::Key_Delete)}),
            &QAction::triggered, this, &TableEditing::deleteRows);
    connect(tableAction(view, QStringLiteral("清除单元格"), QKeySequence::keyBindings(QKeySequence::Delete)),
            &QAction::triggered, this, &TableEditing::clearCells);
    connect(tableAction(view, QStringLiteral("粘贴"), QKeySequence::keyBindings(QKeySequence::Paste)),
            &QAction::triggered, this, &TableEditing::pasteClipboard);
    connect(tableAction(view, QStringLiteral("撤销"), QKeySequence::keyBindings(QKeySequence::Undo)),
            &QAction::triggered, undo, &QUndoStack::undo);
    connect(tableAction(view, QStringLiteral("重做"), toolkit::redoKeys()), &QAction::triggered, undo,
            &QUndoStack::redo);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    view->installEventFilter(this);
    // Enter in a cell's editor commits it and closes it with this hint; Tab, Esc and a click elsewhere do not.
    connect(view->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache)
                    goDown();
            });
}

bool TableEditing::eventFilter(QObject *watched, QEvent *event)
{
    // While a cell is typed in, its editor has the focus, and an Enter it leaves comes here
    // too: the editor's own closing (below) answers that one.
    if (watched != m_view || event->type() != QEvent::KeyPress || !m_view->hasFocus())
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    const bool last = currentRow() >= 0 && currentRow() == m_model->typedRowCount() - 1;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || (key->key() == Qt::Key_Down && last)) {
        goDown();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TableEditing::goDown()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int column = std::max(0, m_view->currentIndex().column());
    if (row + 1 < m_model->typedRowCount())
        startTyping(row + 1, column);
    else
        addRow(m_newRowCells ? m_newRowCells(row + 1) : QStringList(), column);
}

void TableEditing::startTyping(int row, int column)
{
    m_view->setFocus(Qt::OtherFocusReason);
    const QModelIndex cell = m_model->index(row, column);
    m_view->setCurrentIndex(cell);
    m_view->scrollTo(cell);
}

void TableEditing::allowMoving()
{
    connect(toolkit::tableAction(m_view, QStringLiteral("上移"), {QKeySequence(Qt::CTRL | Qt::Key_Up)}),
            &QAction::triggered, this, &TableEditing::moveUp);
    connect(toolkit::tableAction(m_view, QStringLiteral("下移"), {QKeySequence(Qt::CTRL | Qt::Key_Down)}),
            &QAction::triggered, this, &TableEditing::moveDown);
}

int TableEditing::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || current.row() >= m_model->typedRowCount())
        return -1;
    return current.row();
}

QList<int> TableEditing::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes()) {
        if (index.row() < m_model->typedRowCount() && !rows.contains(index.row()))
            rows << index.row();
    }
    if (rows.isEmpty() && currentRow() >= 0)
        rows << currentRow();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> TableEditing::hiddenColumns() const
{
    QList<int> hidden;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (m_view->isColumnHidden(c))
            hidden << c;
    }
    return hidden;
}

void TableEditing::addRow(const QStringList &cells, int column)
{
    const int row = m_model->typedRowCount();
    m_model->session()->undoStack()->push(
        new InsertRowsCommand(m_model, row, {cells}, QStringLiteral("添加") + m_rowName));
    startTyping(row, column);
}

void TableEditing::insertRow(int column)
{
    const int current = currentRow();
    const int row = current < 0 ? m_model->typedRowCount() : current;
    m_model->session()->undoStack()->push(
        new InsertRowsCommand(m_model, row, {QStringList()}, QStringLiteral("插入") + m_rowName));
    startTyping(row, column);
}

void TableEditing::deleteRows()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const int column = std::max(0, m_view->currentIndex().column());
    m_model->session()->undoStack()->push(new RemoveRowsCommand(m_model, rows, QStringLiteral("删除") + m_rowName));
    const int next = std::min(rows.front(), m_model->typedRowCount() - 1);
    if (next >= 0)
        m_view->setCurrentIndex(m_model->index(next, column));
}

void TableEditing::clearCells()
{
    QList<CellChange> changes;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes()) {
        if (!(m_model->flags(index) & Qt::ItemIsEditable))
            continue;
        const QString before = m_model->cell(index.row(), index.column());
        if (!before.isEmpty())
            changes.append({index.row(), index.column(), before, QString()});
    }
    if (!changes.isEmpty())
        m_model->session()->undoStack()->push(new SetCellsCommand(m_model, changes, QStringLiteral("清除单元格")));
}

void TableEditing::moveUp()
{
    const int row = currentRow();
    if (row <= 0)
        return;
    const int column = m_view->currentIndex().column();
    m_model->session()->undoStack()->push(new MoveRowCommand(m_model, row, row - 1, QStringLiteral("上移")));
    m_view->setCurrentIndex(m_model->index(row - 1, column));
}

void TableEditing::moveDown()
{
    const int row = currentRow();
    if (row < 0 || row + 1 >= m_model->typedRowCount())
        return;
    const int column = m_view->currentIndex().column();
    m_model->session()->undoStack()->push(new MoveRowCommand(m_model, row, row + 1, QStringLiteral("下移")));
    m_view->setCurrentIndex(m_model->index(row + 1, column));
}

void TableEditing::paste(const QString &text)
{
    const QStringList lines = toolkit::pastedLines(text);
    if (lines.isEmpty())
        return;
    // The typed columns shown, from the current one on; a hidden column is skipped.
    QList<int> columns;
    const int typed = m_model->typedColumns();
    const int first = std::clamp(m_view->currentIndex().isValid() ? m_view->currentIndex().column() : 0, 0, typed - 1);
    for (int c = first; c < typed; ++c) {
        if (!m_view->isColumnHidden(c))
            columns << c;
    }
    const int rows = m_model->typedRowCount();
    const int start = currentRow() < 0 ? rows : currentRow();
    const int needed = start + int(lines.size()) - rows;

    auto *command = new BatchCommand(m_model->session(), QStringLiteral("粘贴"));
    if (needed > 0)
        new InsertRowsCommand(m_model, rows, QList<QStringList>(needed), QStringLiteral("添加") + m_rowName, command);
    QList<CellChange> changes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(u'\t');
        const int row = start + int(i);
        for (qsizetype j = 0; j < cells.size() && j < columns.size(); ++j)
            changes.append({row, columns[j], m_model->cell(row, columns[j]), cells[j]});
    }
    new SetCellsCommand(m_model, changes, QStringLiteral("粘贴"), command);
    m_model->session()->undoStack()->push(command);
}

void TableEditing::pasteClipboard()
{
    paste(QGuiApplication::clipboard()->text());
}

void TableEditing::copyTable()
{
    QGuiApplication::clipboard()->setText(m_model->tabText(hiddenColumns()));
}

void TableEditing::replaceRows(const QList<QStringList> &rows, const QString &text)
{
    m_model->session()->undoStack()->push(new ReplaceRowsCommand(m_model, rows, text));
}

void addUndoButtons(QBoxLayout *buttons, QUndoStack *undo)
{
    QPushButton *back = toolkit::commandButton("undo", QStringLiteral("撤销"));
    QPushButton *again = toolkit::commandButton("redo", QStringLiteral("重做"));
    QObject::connect(back, &QPushButton::clicked, undo, &QUndoStack::undo);
    QObject::connect(again, &QPushButton::clicked, undo, &QUndoStack::redo);
    QObject::connect(undo, &QUndoStack::canUndoChanged, back, &QPushButton::setEnabled);
    QObject::connect(undo, &QUndoStack::canRedoChanged, again, &QPushButton::setEnabled);
    back->setEnabled(undo->canUndo());
    again->setEnabled(undo->canRedo());
    buttons->addWidget(back);
    buttons->addWidget(again);
}
