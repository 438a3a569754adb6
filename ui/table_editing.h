#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QBoxLayout;
class QTableView;
class QUndoStack;
class TextTableModel;

// The row commands, keys and clipboard of an editable text table, the same on the
// route table and the network's tables: Insert, Ctrl+Delete, Delete, Ctrl+V, Ctrl+Z and
// Ctrl+Y (Ctrl+Shift+Z) on the table and its editors, and a context menu of them. As in
// a spreadsheet, Enter (typing or not) goes one row down, and Enter or ↓ on the last
// row adds a row.
class TableEditing : public QObject
{
    Q_OBJECT

public:
    TableEditing(QTableView *view, TextTableModel *model, const QString &rowName);

    QTableView *view() const { return m_view; }
    TextTableModel *model() const { return m_model; }
    // The current typed row, -1 for none (or a closing row).
    int currentRow() const;
    // The selected typed rows, or the current one; ascending.
    QList<int> selectedRows() const;

    // A new row at the end (its first cells given), or before the current row; the
    // table takes the focus with the given column of it current, ready to type.
    void addRow(const QStringList &cells = {}, int column = 0);
    void insertRow(int column = 0);
    void deleteRows();
    void clearCells();
    // Moves the current row one place up or down.
    void moveUp();
    void moveDown();
    // Pastes tab-separated text from the current cell on, into the columns shown, adding
    // rows as needed: one undo step and one recalculation.
    void paste(const QString &text);
    void pasteClipboard();
    void copyTable();
    // Replaces every row (an import): one undo step.
    void replaceRows(const QList<QStringList> &rows, const QString &text);
    // Ctrl+Up and Ctrl+Down move rows (the route table's order matters).
    void allowMoving();
    // The first cells of a row that Enter or ↓ adds at the end (the row's number on the route).
    void setNewRowCells(std::function<QStringList(int row)> cells) { m_newRowCells = std::move(cells); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<int> hiddenColumns() const;
    // The table focused on a cell, so that a key typed starts editing it.
    void startTyping(int row, int column);
    // Enter: the next row, or a new one after the last.
    void goDown();

    QTableView *m_view;
    TextTableModel *m_model;
    QString m_rowName;
    std::function<QStringList(int row)> m_newRowCells;
};

// The buttons 撤销 and 重做 (design names undo, redo) of a screen's undo stack, enabled as it allows.
void addUndoButtons(QBoxLayout *buttons, QUndoStack *undo);
