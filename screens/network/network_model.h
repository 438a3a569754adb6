#pragma once

#include "network.h"
#include "quantities.h"
#include "text_table.h"

#include <QFutureWatcher>

#include <array>
#include <atomic>
#include <memory>

class CatalogueTableModel;
class NetworkTableModel;
class LoopTableModel;
class QuantityTableModel;

// The network as typed (settings, nodes, pipes) and as solved. Every change solves
// it again: at once, or in the background for a large network, the latest edit
// winning. The tables' edits go onto the undo stack through the edit session.
class NetworkModel : public QObject
{
    Q_OBJECT

public:
    explicit NetworkModel(EditSession *session, QObject *parent = nullptr);
    // A solve still running in the background is told to stop and not waited for.
    ~NetworkModel() override;

    EditSession *session() const { return m_session; }
    QUndoStack *undoStack() const { return m_session->undoStack(); }
    NetworkTableModel *table(network::Table table) const;
    LoopTableModel *loops() const { return m_loops; }
    QuantityTableModel *quantities() const { return m_quantities; }
    // The catalogue of a material: 0 steel, 1 cast iron, 2 plastic.
    CatalogueTableModel *catalogue(int material) const;

    // The network as typed now.
    network::Network network() const;
    const network::Settings &settings() const { return m_settings; }
    // The last results, and the network as it was when they were found: while a
    // large network is solved in the background, an earlier state of it.
    const network::Result &result() const { return m_result; }
    const network::Network &solvedNetwork() const { return m_solvedNetwork; }
    // Whether the results are of an earlier state, a solve of the present one running.
    bool isSolving() const { return m_solving; }
    // Whether the results' network has a row where it is now: the same id in the same place.
    bool isResultOf(network::Table table, int row) const;
    // Solves the present network at once if the results are of an earlier one.
    void finishSolving();
    // Networks of more nodes and pipes than this are solved in the background, so
    // that the window keeps answering; the latest edit wins.
    void setBackgroundSize(int size) { m_backgroundSize = size; }
    // How many times the network was solved (or a background solve started), for tests.
    int solveCount() const { return m_solveCount; }

    void setSettings(const network::Settings &settings);
    // The settings, both tables and the catalogues at once, solved once.
    void setNetwork(const network::Network &network);

    // Solves anew: the session calls it after every change.
    void solve();

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
    void solveInBackground();
    void backgroundSolved();
    void take(network::Result result, const network::Network &network);
    // Every cell of both tables may show something else.
    void refreshTables();

    EditSession *m_session;
    network::Settings m_settings;
    network::Network m_solvedNetwork;
    network::Result m_result;
    bool m_solving = false;
    quint64 m_generation = 0; // of the network, one more with each change
    int m_backgroundSize = 3000;
    int m_solveCount = 0;
    NetworkTableModel *m_nodes;
    NetworkTableModel *m_pipes;
    LoopTableModel *m_loops;
    QuantityTableModel *m_quantities;
    std::array<CatalogueTableModel *, 3> m_catalogues;
    QFutureWatcher<Solved> *m_watcher;
    std::shared_ptr<std::atomic<bool>> m_stop; // of the solve running in the background
};

// The node or pipe table: the typed columns, then the computed ones (read-only),
// as network_columns.h describes them, units in the headers. A cell the solver
// refused is marked red with its message, and so is a number not read whole, with
// what it would be read as.
class NetworkTableModel : public TextTableModel
{
    Q_OBJECT

public:
    NetworkTableModel(NetworkModel *network, network::Table table);

    network::Table which() const { return m_table; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The column of a key among those shown in the present pressure class; -1 for none.
    int columnOf(const QString &key) const;

private:
    friend class NetworkModel;
    // The columns shown in the pressure class: the typed ones, then the computed ones it serves.
    void updateColumns();

    NetworkModel *m_network;
    network::Table m_table;
    QList<int> m_columns; // shown column -> index in network::columns(m_table)
};

// The independent loops with their closures (环网闭合差), read-only, as a checker adds
// them up: a row for each pipe of a loop (its direction around the loop and its drop),
// then the loop's closure.
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
    void update();

    NetworkModel *m_network;
    struct Line
    {
        int loop;
        int place; // of the pipe in the loop; -1: the loop's closure
    };
    QList<Line> m_lines;
};

// The bill of quantities (管材统计): length and number of pipes of each material and size,
// and the totals; read-only.
class QuantityTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit QuantityTableModel(NetworkModel *network);

    const quantities::Table &bill() const { return m_bill; }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    friend class NetworkModel;
    NetworkModel *m_network;
    quantities::Table m_bill;
};

// A material's catalogue (管材规格): name, outside diameter and wall as typed, and the
// inner diameter the formulas take. Edits go onto the network's undo stack and solve it
// again; a row the network refused is marked.
class CatalogueTableModel : public TextTableModel
{
    Q_OBJECT

public:
    CatalogueTableModel(NetworkModel *network, int material);

    int material() const { return m_material; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    NetworkModel *m_network;
    int m_material;
};
