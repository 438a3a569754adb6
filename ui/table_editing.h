#pragma once

#include <QObject>
#include <QStringList>

class QTableView;
class TextTableModel;

// The row commands, keys and clipboard of an editable text table, the same on the
// route table and the network's tables: Insert, Ctrl+Delete, Delete, Ctrl+V, Ctrl+Z and
// Ctrl+Y (Ctrl+Shift+Z) on the table and its editors, and a context menu of them.
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
    // current cell moves to the given column of it.
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

private:
    QList<int> hiddenColumns() const;

    QTableView *m_view;
    TextTableModel *m_model;
    QString m_rowName;
};
