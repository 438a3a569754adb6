#include "network_model.h"

#include "network_options.h"
#include "number_text.h"
#include "widgets.h"

#include <QBrush>
#include <QPromise>
#include <QThreadPool>
#include <QUndoStack>

#include <algorithm>

namespace {

QStringList cellsOf(const network::Network &net, NetworkTable table, int row)
{
    return table == NetworkTable::Nodes ? network::cellsOf(net.nodes[row]) : network::cellsOf(net.pipes[row]);
}

QString &cellRef(network::Network &net, NetworkTable table, int row, int column)
{
    if (table == NetworkTable::Nodes) {
        network::NodeRow &r = net.nodes[row];
        QString *cells[] = {&r.node, &r.load, &r.elevation, &r.x, &r.y, &r.sourcePressure};
        return *cells[column];
    }
    network::PipeRow &r = net.pipes[row];
    QString *cells[] = {&r.pipe, &r.from, &r.to, &r.length, &r.diameter, &r.material};
    return *cells[column];
}

// The columns that hold numbers, marked when their text is not read whole.
bool isNumberColumn(NetworkTable table, int column)
{
    return table == NetworkTable::Nodes ? column >= 1 && column <= 5 : column == 3 || column == 4;
}

QString unitOf(const network::Network &net)
{
    return net.settings.pressure == network::Pressure::Low ? QStringLiteral("Pa") : QStringLiteral("kPa");
}

} // namespace

// ---- The network ----

NetworkModel::NetworkModel(QUndoStack *undo, QObject *parent)
    : QObject(parent)
    , m_undo(undo)
    , m_nodes(new NetworkTableModel(this, NetworkTable::Nodes))
    , m_pipes(new NetworkTableModel(this, NetworkTable::Pipes))
    , m_loops(new LoopTableModel(this))
    , m_watcher(new QFutureWatcher<Solved>(this))
{
    connect(m_watcher, &QFutureWatcherBase::finished, this, &NetworkModel::backgroundSolved);
    solve();
}

NetworkTableModel *NetworkModel::table(NetworkTable table) const
{
    return table == NetworkTable::Nodes ? m_nodes : m_pipes;
}

int NetworkModel::rowCount(NetworkTable table) const
{
    return int(table == NetworkTable::Nodes ? m_network.nodes.size() : m_network.pipes.size());
}

QString NetworkModel::cell(NetworkTable table, int row, int column) const
{
    if (row < 0 || row >= rowCount(table) || column < 0 || column >= NetworkTableModel::kTypedColumns)
        return {};
    return cellsOf(m_network, table, row).value(column);
}

QList<QStringList> NetworkModel::rows(NetworkTable table) const
{
    QList<QStringList> all;
    for (int row = 0; row < rowCount(table); ++row)
        all << cellsOf(m_network, table, row);
    return all;
}

void NetworkModel::setSettings(const network::Settings &settings)
{
    const bool columnsChange = settings.pressure != m_network.settings.pressure;
    if (columnsChange) {
        m_nodes->beginResetModel();
        m_pipes->beginResetModel();
    }
    m_network.settings = settings;
    if (columnsChange) {
        m_nodes->endResetModel();
        m_pipes->endResetModel();
    }
    solve();
}

void NetworkModel::setCell(NetworkTable table, int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount(table) || column < 0 || column >= NetworkTableModel::kTypedColumns)
        return;
    cellRef(m_network, table, row, column) = text;
    solve();
}

void NetworkModel::insertRows(NetworkTable table, int row, const QList<QStringList> &rows)
{
    if (rows.isEmpty())
        return;
    row = std::clamp(row, 0, rowCount(table));
    NetworkTableModel *model = this->table(table);
    model->beginInsertRows(QModelIndex(), row, row + int(rows.size()) - 1);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (table == NetworkTable::Nodes)
            m_network.nodes.insert(row + i, network::NodeRow{});
        else
            m_network.pipes.insert(row + i, network::PipeRow{});
        for (int c = 0; c < NetworkTableModel::kTypedColumns; ++c)
            cellRef(m_network, table, int(row + i), c) = rows[i].value(c);
    }
    model->endInsertRows();
    solve();
}

QList<QStringList> NetworkModel::removeRows(NetworkTable table, const QList<int> &rows)
{
    QList<QStringList> removed;
    NetworkTableModel *model = this->table(table);
    // From the last, so that the rows before keep their places.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= rowCount(table))
            continue;
        removed.prepend(cellsOf(m_network, table, row));
        model->beginRemoveRows(QModelIndex(), row, row);
        if (table == NetworkTable::Nodes)
            m_network.nodes.removeAt(row);
        else
            m_network.pipes.removeAt(row);
        model->endRemoveRows();
    }
    solve();
    return removed;
}

void NetworkModel::setNetwork(const network::Network &net)
{
    m_nodes->beginResetModel();
    m_pipes->beginResetModel();
    m_network = net;
    m_nodes->endResetModel();
    m_pipes->endResetModel();
    solve();
}

NetworkModel::Batch::Batch(NetworkModel *model)
    : m_model(model)
{
    ++m_model->m_batchDepth;
}

NetworkModel::Batch::~Batch()
{
    if (--m_model->m_batchDepth == 0 && m_model->m_pending)
        m_model->solve();
}

void NetworkModel::solve()
{
    if (m_batchDepth > 0) {
        m_pending = true;
        return;
    }
    m_pending = false;
    ++m_generation;
    if (m_network.nodes.size() + m_network.pipes.size() <= m_backgroundSize) {
        take(network::solve(m_network), m_network);
        return;
    }
    // The typed cells show the edit at once, the results a moment later.
    m_solving = true;
    refreshTables();
    emit solving();
    if (!m_watcher->isRunning())
        solveInBackground();
}

void NetworkModel::solveInBackground()
{
    auto promise = std::make_shared<QPromise<Solved>>();
    m_watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, net = m_network, generation = m_generation] {
        promise->addResult(Solved{generation, net, network::solve(net)});
        promise->finish();
    });
}

void NetworkModel::backgroundSolved()
{
    if (m_watcher->future().resultCount() == 0)
        return;
    Solved done = m_watcher->result();
    if (done.generation == m_generation)
        take(std::move(done.result), done.network);
    else if (m_solving)
        solveInBackground(); // edited meanwhile: the latest edit wins
}

void NetworkModel::finishSolving()
{
    if (!m_solving)
        return;
    ++m_generation; // the solve still running is of no use now
    take(network::solve(m_network), m_network);
}

void NetworkModel::take(network::Result result, const network::Network &network)
{
    m_solving = false;
    m_result = std::move(result);
    m_solvedNetwork = network;
    refreshTables();
    m_loops->beginResetModel();
    m_loops->endResetModel();
    emit solved();
}

void NetworkModel::refreshTables()
{
    for (NetworkTableModel *model : {m_nodes, m_pipes}) {
        if (model->rowCount() > 0)
            emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
    }
}

bool NetworkModel::isResultOf(NetworkTable table, int row) const
{
    if (row < 0 || m_solvedNetwork.settings.pressure != m_network.settings.pressure)
        return false;
    if (table == NetworkTable::Nodes) {
        return row < m_network.nodes.size() && row < m_solvedNetwork.nodes.size()
            && m_solvedNetwork.nodes[row].node == m_network.nodes[row].node;
    }
    return row < m_network.pipes.size() && row < m_solvedNetwork.pipes.size()
        && m_solvedNetwork.pipes[row].pipe == m_network.pipes[row].pipe;
}

// ---- The node and pipe tables ----

NetworkTableModel::NetworkTableModel(NetworkModel *network, NetworkTable table)
    : QAbstractTableModel(network)
    , m_network(network)
    , m_table(table)
{}

int NetworkTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_network->rowCount(m_table);
}

int NetworkTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(captions().size());
}

QStringList NetworkTableModel::captions() const
{
    const network::Network &net = m_network->network();
    const bool low = net.settings.pressure == network::Pressure::Low;
    const QString unit = unitOf(net);
    if (m_table == NetworkTable::Nodes) {
        return {QStringLiteral("节点"),
                QStringLiteral("负荷(Nm^3/h)"),
                QStringLiteral("高程(m)"),
                QStringLiteral("X"),
                QStringLiteral("Y"),
                QStringLiteral("气源压力(%1)").arg(unit),
                QStringLiteral("压力(%1)").arg(unit),
                QStringLiteral("提示")};
    }
    QStringList c{QStringLiteral("管段"),        QStringLiteral("起点"),
                  QStringLiteral("终点"),        low ? QStringLiteral("管长(m)") : QStringLiteral("管长(km)"),
                  QStringLiteral("管径(mm)"),    QStringLiteral("管材"),
                  QStringLiteral("流量(Nm^3/h)")};
    if (low) {
        c << QStringLiteral("雷诺数") << QStringLiteral("流态") << QStringLiteral("单位压降(Pa/m)")
          << QStringLiteral("摩擦压降(Pa)") << QStringLiteral("局部压降(Pa)") << QStringLiteral("附加压头(Pa)")
          << QStringLiteral("管段压降(Pa)");
    } else {
        c << QStringLiteral("单位压降(kPa^2/km)") << QStringLiteral("ΔP²(kPa^2)");
    }
    c << QStringLiteral("自动") << QStringLiteral("提示");
    return c;
}

QString NetworkTableModel::computed(int row, int column) const
{
    const network::Result &r = m_network->result();
    const int k = column - kTypedColumns;
    const int digits = m_network->network().settings.digits;
    auto formatNumber = [digits](double v) { return formatSignificant(v, digits); };
    if (m_table == NetworkTable::Nodes) {
        if (row >= r.nodes.size())
            return {};
        const network::NodeResult &n = r.nodes[row];
        if (k == 0)
            return n.pressure ? formatNumber(*n.pressure) : n.message;
        return n.message;
    }
    if (row >= r.pipes.size())
        return {};
    const network::PipeResult &p = r.pipes[row];
    const bool low = m_network->network().settings.pressure == network::Pressure::Low;
    QStringList cells{formatNumber(p.flow)};
    if (low) {
        cells << formatNumber(p.reynolds) << p.state << formatNumber(p.unitDrop) << formatNumber(p.frictionDrop)
              << formatNumber(p.localDrop) << formatNumber(p.gravityHead) << formatNumber(p.pipeDrop);
    } else {
        cells << formatNumber(p.unitDrop) << formatNumber(p.dp2);
    }
    cells << (p.automatic ? QStringLiteral("是") : QString()) << p.message;
    return cells.value(k);
}

QVariant NetworkTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    const network::Result &r = m_network->result();
    const bool typed = column < kTypedColumns;
    // While a large network is solved, the results shown are of the rows as they were.
    const bool ofThisRow = m_network->isResultOf(m_table, row);
    const bool solvedOk = !r.refused && r.converged && ofThisRow;
    // A cell the solver refused: its table, row and column.
    const bool bad = typed && ofThisRow && r.refused && r.refused->row == row
        && ((m_table == NetworkTable::Nodes && r.refused->table == network::Problem::Table::Nodes)
            || (m_table == NetworkTable::Pipes && r.refused->table == network::Problem::Table::Pipes))
        && (m_table == NetworkTable::Nodes ? network::nodeKeys() : network::pipeKeys()).value(column)
            == r.refused->column;
    const QString text = typed ? m_network->cell(m_table, row, column) : QString();
    const QString readAs = typed && isNumberColumn(m_table, column) ? readAsText(text) : QString();
    switch (role) {
    case Qt::DisplayRole:
        if (typed) {
            // A diameter sized by the solver shows in place of the empty cell.
            if (m_table == NetworkTable::Pipes && column == 4 && text.trimmed().isEmpty() && solvedOk
                && row < r.pipes.size())
                return formatSignificant(r.pipes[row].diameter, m_network->network().settings.digits);
            return text;
        }
        return solvedOk ? computed(row, column) : QString();
    case Qt::EditRole:
        return typed ? text : data(index, Qt::DisplayRole);
    case Qt::ForegroundRole:
        if (!typed && m_network->isSolving())
            return QBrush(Qt::gray);
        return {};
    case Qt::BackgroundRole:
        if (bad)
            return QBrush(toolkit::kProblemColor);
        if (!readAs.isEmpty())
            return QBrush(toolkit::kReadAsColor);
        return {};
    case Qt::ToolTipRole: {
        QStringList tips;
        if (bad)
            tips << r.refused->text;
        if (!readAs.isEmpty())
            tips << QStringLiteral("读作 ") + readAs;
        return tips.isEmpty() ? QVariant() : QVariant(tips.join(u'\n'));
    }
    case Qt::TextAlignmentRole:
        if (column == 0 || (m_table == NetworkTable::Pipes && column <= 2) || column == columnCount() - 1)
            return {};
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant NetworkTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return captions().value(section);
}

Qt::ItemFlags NetworkTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < kTypedColumns)
        f |= Qt::ItemIsEditable;
    return f;
}

bool NetworkTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const QString before = m_network->cell(m_table, index.row(), index.column());
    const QString after = value.toString();
    if (before == after)
        return true;
    m_network->undoStack()->push(new SetNetworkCellsCommand(
        m_network, {{m_table, index.row(), index.column(), before, after}}, QStringLiteral("编辑单元格")));
    return true;
}

QString NetworkTableModel::tabText() const
{
    QStringList lines{captions().join(u'\t')};
    for (int row = 0; row < rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column)
            cells << data(index(row, column)).toString();
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

// ---- The loops ----

LoopTableModel::LoopTableModel(NetworkModel *network)
    : QAbstractTableModel(network)
    , m_network(network)
{}

int LoopTableModel::rowCount(const QModelIndex &parent) const
{
    const network::Result &r = m_network->result();
    return parent.isValid() || r.refused || !r.converged ? 0 : int(r.loops.size());
}

int LoopTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant LoopTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const network::Loop &loop = m_network->result().loops[index.row()];
    if (role == Qt::TextAlignmentRole)
        return index.column() == 1 ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return index.row() + 1;
    case 1: {
        QStringList ids;
        for (const int k : loop.pipes)
            ids << m_network->solvedNetwork().pipes.value(k).pipe.trimmed();
        return ids.join(u' ');
    }
    case 2:
        return formatSignificant(loop.closure, m_network->network().settings.digits);
    default:
        return formatSignificant(loop.closurePercent, m_network->network().settings.digits);
    }
}

QVariant LoopTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QString unit = m_network->network().settings.pressure == network::Pressure::Low ? QStringLiteral("(Pa)")
                                                                                          : QStringLiteral("(kPa^2)");
    const QStringList captions{QStringLiteral("环"), QStringLiteral("管段"), QStringLiteral("闭合差") + unit,
                               QStringLiteral("闭合差%")};
    return captions.value(section);
}

// ---- Undo commands ----

SetNetworkCellsCommand::SetNetworkCellsCommand(NetworkModel *model, QList<NetworkCellChange> changes,
                                               const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_changes(std::move(changes))
{}

void SetNetworkCellsCommand::undo()
{
    NetworkModel::Batch batch(m_model);
    for (auto it = m_changes.crbegin(); it != m_changes.crend(); ++it)
        m_model->setCell(it->table, it->row, it->column, it->before);
}

void SetNetworkCellsCommand::redo()
{
    NetworkModel::Batch batch(m_model);
    for (const NetworkCellChange &c : m_changes)
        m_model->setCell(c.table, c.row, c.column, c.after);
}

InsertNetworkRowsCommand::InsertNetworkRowsCommand(NetworkModel *model, NetworkTable table, int row,
                                                   QList<QStringList> rows, const QString &text, QUndoCommand *parent)
    : QUndoCommand(text, parent)
    , m_model(model)
    , m_table(table)
    , m_row(row)
    , m_rows(std::move(rows))
{}

void InsertNetworkRowsCommand::undo()
{
    QList<int> rows;
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        rows << m_row + int(i);
    m_model->removeRows(m_table, rows);
}

void InsertNetworkRowsCommand::redo()
{
    m_model->insertRows(m_table, m_row, m_rows);
}

RemoveNetworkRowsCommand::RemoveNetworkRowsCommand(NetworkModel *model, NetworkTable table, QList<int> rows,
                                                   QUndoCommand *parent)
    : QUndoCommand(QStringLiteral("删除行"), parent)
    , m_model(model)
    , m_table(table)
    , m_rows(std::move(rows))
{
    std::sort(m_rows.begin(), m_rows.end());
    m_rows.erase(std::unique(m_rows.begin(), m_rows.end()), m_rows.end());
}

void RemoveNetworkRowsCommand::undo()
{
    NetworkModel::Batch batch(m_model);
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        m_model->insertRows(m_table, m_rows[i], {m_removed.value(i)});
}

void RemoveNetworkRowsCommand::redo()
{
    m_removed = m_model->removeRows(m_table, m_rows);
}
