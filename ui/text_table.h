#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <QUndoCommand>

class QUndoStack;

// The edits of one screen's tables: their undo stack, and one recalculation for
// every change, or for a whole batch of changes (a paste, an import, a load).
class EditSession : public QObject
{
    Q_OBJECT

public:
    explicit EditSession(QUndoStack *undo, QObject *parent = nullptr);

    QUndoStack *undoStack() const { return m_undo; }
    // A table changed: recalculate now, or when the last batch ends.
    void changed();

    class Batch
    {
    public:
        explicit Batch(EditSession *session);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        EditSession *m_session;
    };

signals:
    void recalculate();

private:
    QUndoStack *m_undo;
    int m_depth = 0;
    bool m_pending = false;
};

// A table whose first columns the user types, rows of texts, with computed columns
// beside them and any closing rows below (a subclass's). Edits through the view go
// onto the session's undo stack; the commands change the rows through the functions
// below, which do not.
class TextTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    TextTableModel(EditSession *session, int typedColumns, QObject *parent = nullptr);

    EditSession *session() const { return m_session; }
    int typedColumns() const { return m_typedColumns; }
    int typedRowCount() const { return int(m_rows.size()); }
    const QList<QStringList> &typedRows() const { return m_rows; }
    QString cell(int row, int column) const;
    // Rows after the typed ones that are not typed (a closing "合计").
    virtual int closingRows() const { return 0; }

    // Changes that the commands make; each tells the session.
    void setCell(int row, int column, const QString &text);
    void insertTypedRows(int row, const QList<QStringList> &rows);
    QList<QStringList> removeTypedRows(QList<int> rows);
    void moveTypedRow(int from, int to);
    void setTypedRows(const QList<QStringList> &rows);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The table as a spreadsheet pastes it: captions, then every row, tab-separated;
    // columns hidden in the view left out.
    QString tabText(const QList<int> &hidden = {}) const;

private:
    QStringList normalised(QStringList row) const;

    EditSession *m_session;
    int m_typedColumns;
    QList<QStringList> m_rows;
};

// One cell's text before and after an edit.
struct CellChange
{
    int row;
    int column;
    QString before;
    QString after;
};

// Typing into cells, clearing them, or pasting over them.
class SetCellsCommand : public QUndoCommand
{
public:
    SetCellsCommand(TextTableModel *model, QList<CellChange> changes, const QString &text,
                    QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    TextTableModel *m_model;
    QList<CellChange> m_changes;
};

// New rows before a row (at the end when the row is the number of rows).
class InsertRowsCommand : public QUndoCommand
{
public:
    InsertRowsCommand(TextTableModel *model, int row, QList<QStringList> rows, const QString &text,
                      QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    TextTableModel *m_model;
    int m_row;
    QList<QStringList> m_rows;
};

// Rows taken out, wherever they stand.
class RemoveRowsCommand : public QUndoCommand
{
public:
    RemoveRowsCommand(TextTableModel *model, QList<int> rows, const QString &text, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    TextTableModel *m_model;
    QList<int> m_rows; // ascending
    QList<QStringList> m_removed;
};

// One row one place up or down.
class MoveRowCommand : public QUndoCommand
{
public:
    MoveRowCommand(TextTableModel *model, int from, int to, const QString &text, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    TextTableModel *m_model;
    int m_from;
    int m_to;
};

// Every row at once, as an import brings them.
class ReplaceRowsCommand : public QUndoCommand
{
public:
    ReplaceRowsCommand(TextTableModel *model, QList<QStringList> rows, const QString &text,
                       QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    TextTableModel *m_model;
    QList<QStringList> m_before;
    QList<QStringList> m_after;
};

// Several commands as one step, recalculated once: a paste that adds rows and fills cells.
class BatchCommand : public QUndoCommand
{
public:
    BatchCommand(EditSession *session, const QString &text);
    void undo() override;
    void redo() override;

private:
    EditSession *m_session;
};
