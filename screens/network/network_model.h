#pragma once

#include "network.h"

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QUndoCommand>

class QUndoStack;
class NetworkTableModel;
class LoopTableModel;

enum class NetworkTable { Nodes, Pipes };

// The network as typed (settings, nodes, pipes) and as solved. Every change solves
// it again at once. Edits made through the tables go onto the undo stack; the
// commands change the network through the functions below, which do not.
class NetworkModel : public QObject
{
    Q_OBJECT

public:
    explicit NetworkModel(QUndoStack *undo, QObject *parent = nullptr);

    QUndoStack *undoStack() const { return m_undo; }
    NetworkTableModel *table(NetworkTable table) const;
    LoopTableModel *loops() const { return m_loops; }

    const network::Network &network() const { return m_network; }
    // The last results, and the network as it was when they were found: while a
    // large network is solved in the background, an earlier state of it.
    const network::Result &result() const { return m_result; }
    const network::Network &solvedNetwork() const { return m_solvedNetwork; }
    // Whether the results are of an earlier state, a solve of the present one running.
    bool isSolving() const { return m_solving; }
    // Whether the results' network has a row where it is now: the same id in the same place.
    bool isResultOf(NetworkTable table, int row) const;
    // Solves the present network at once if the results are of an earlier one.
    void finishSolving();
    // Networks of more nodes and pipes than this are solved in the background, so
    // that the window keeps answering; the latest edit wins.
    void setBackgroundSize(int size) { m_backgroundSize = size; }
    int rowCount(NetworkTable table) const;
    QString cell(NetworkTable table, int row, int column) const;
    // The typed rows of a table as texts in column order.
    QList<QStringList> rows(NetworkTable table) const;

    // Changes that the undo commands make; each solves again.
    void setSettings(const network::Settings &settings);
    void setCell(NetworkTable table, int row, int column, const QString &text);
    void insertRows(NetworkTable table, int row, const QList<QStringList> &rows);
    QList<QStringList> removeRows(NetworkTable table, const QList<int> &rows);
    void setNetwork(const network::Network &network);

    // While a batch lives, changes wait for one solve when the last batch ends.
    class Batch
    {
    public:
        explicit Batch(NetworkModel *model);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        NetworkModel *m_model;
    };

signals:
    // The network was solved anew.
    void solved();
    // An edit was made; its results will come with solved().
    void solving();

private:
    struct Solved
    {
        quint64 generation = 0;
        network::Network network;
        network::Result result;
    };
    void solve();
    void solveInBackground();
    void backgroundSolved();
    void take(network::Result result, const network::Network &network);
    // Every cell of both tables may show something else.
    void refreshTables();

    int m_batchDepth = 0;
    bool m_pending = false;
    QUndoStack *m_undo;
    network::Network m_network;
    network::Network m_solvedNetwork;
    network::Result m_result;
    bool m_solving = false;
    quint64 m_generation = 0; // of the network, one more with each change
    int m_backgroundSize = 3000;
    NetworkTableModel *m_nodes;
    NetworkTableModel *m_pipes;
    LoopTableModel *m_loops;
    QFutureWatcher<Solved> *m_watcher;
};

// The node or pipe table: the typed columns, then the computed ones (read-only),
// units in the headers. A cell the solver refused is marked red with its message;
// a number not read whole is marked with what it is read as.
class NetworkTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    NetworkTableModel(NetworkModel *network, NetworkTable table);

    static constexpr int kTypedColumns = 6;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The table as a spreadsheet pastes it: captions, then every row, tab-separated.
    QString tabText() const;

private:
    friend class NetworkModel;
    QStringList captions() const;
    QString computed(int row, int column) const;

    NetworkModel *m_network;
    NetworkTable m_table;
};

// The independent loops with their closures (环网闭合差), read-only.
class LoopTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LoopTableModel(NetworkModel *network);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    friend class NetworkModel;
    NetworkModel *m_network;
};

// One cell's text before and after an edit.
struct NetworkCellChange
{
    NetworkTable table;
    int row;
    int column;
    QString before;
    QString after;
};

// Typing into cells, clearing them, or pasting over them.
class SetNetworkCellsCommand : public QUndoCommand
{
public:
    SetNetworkCellsCommand(NetworkModel *model, QList<NetworkCellChange> changes, const QString &text,
                           QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    NetworkModel *m_model;
    QList<NetworkCellChange> m_changes;
};

// New rows before a row of a table (at the end when the row is the table's size).
class InsertNetworkRowsCommand : public QUndoCommand
{
public:
    InsertNetworkRowsCommand(NetworkModel *model, NetworkTable table, int row, QList<QStringList> rows,
                             const QString &text, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    NetworkModel *m_model;
    NetworkTable m_table;
    int m_row;
    QList<QStringList> m_rows;
};

// Rows taken out of a table, wherever they stand.
class RemoveNetworkRowsCommand : public QUndoCommand
{
public:
    RemoveNetworkRowsCommand(NetworkModel *model, NetworkTable table, QList<int> rows, QUndoCommand *parent = nullptr);
    void undo() override;
    void redo() override;

private:
    NetworkModel *m_model;
    NetworkTable m_table;
    QList<int> m_rows; // ascending
    QList<QStringList> m_removed;
};
