#include "network_model.h"

#include "network_catalogue.h"
#include "network_columns.h"
#include "network_options.h"
#include "number_text.h"
#include "widgets.h"

#include <QBrush>
#include <QFont>
#include <QPromise>
#include <QThreadPool>

#include <algorithm>

namespace {

QString displayed(const network::Value &v, int digits)
{
    if (const double *number = std::get_if<double>(&v))
        return formatSignificant(*number, digits);
    if (const QString *text = std::get_if<QString>(&v))
        return *text;
    if (const bool *flag = std::get_if<bool>(&v))
        return *flag ? QStringLiteral("是") : QString();
    return {};
}

} // namespace

// ---- The network ----

NetworkModel::NetworkModel(EditSession *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_settings(network::initialSettings())
    , m_nodes(new NetworkTableModel(this, network::Table::Nodes))
    , m_pipes(new NetworkTableModel(this, network::Table::Pipes))
    , m_loops(new LoopTableModel(this))
    , m_quantities(new QuantityTableModel(this))
    , m_catalogues{new CatalogueTableModel(this, 0), new CatalogueTableModel(this, 1), new CatalogueTableModel(this, 2)}
    , m_watcher(new QFutureWatcher<Solved>(this))
{
    for (int material = 0; material < 3; ++material)
        m_catalogues[std::size_t(material)]->setTypedRows(network::defaultCatalogue(material));
    connect(m_watcher, &QFutureWatcherBase::finished, this, &NetworkModel::backgroundSolved);
    connect(m_session, &EditSession::recalculate, this, &NetworkModel::solve);
    solve();
}

NetworkModel::~NetworkModel()
{
    if (m_stop)
        m_stop->store(true);
    m_watcher->disconnect(this);
}

NetworkTableModel *NetworkModel::table(network::Table table) const
{
    return table == network::Table::Nodes ? m_nodes : m_pipes;
}

CatalogueTableModel *NetworkModel::catalogue(int material) const
{
    return m_catalogues[std::size_t(std::clamp(material, 0, 2))];
}

network::Network NetworkModel::network() const
{
    return network::Network{m_settings,
                            m_nodes->typedRows(),
                            m_pipes->typedRows(),
                            {m_catalogues[0]->typedRows(), m_catalogues[1]->typedRows(), m_catalogues[2]->typedRows()}};
}

void NetworkModel::setSettings(const network::Settings &settings)
{
    const bool columnsChange = settings.pressure != m_settings.pressure;
    if (columnsChange) {
        m_nodes->beginResetModel();
        m_pipes->beginResetModel();
    }
    m_settings = settings;
    if (columnsChange) {
        m_nodes->updateColumns();
        m_pipes->updateColumns();
        m_nodes->endResetModel();
        m_pipes->endResetModel();
    } else {
        // A pressure's caption says gauge or absolute.
        for (NetworkTableModel *model : {m_nodes, m_pipes})
            emit model->headerDataChanged(Qt::Horizontal, 0, model->columnCount() - 1);
    }
    m_session->changed();
}

void NetworkModel::setNetwork(const network::Network &net)
{
    const EditSession::Batch batch(m_session);
    setSettings(net.settings);
    m_nodes->setTypedRows(net.nodes);
    m_pipes->setTypedRows(net.pipes);
    for (std::size_t material = 0; material < m_catalogues.size(); ++material)
        m_catalogues[material]->setTypedRows(net.catalogues[material]);
}

void NetworkModel::solve()
{
    ++m_generation;
    ++m_solveCount;
    const network::Network net = network();
    if (net.nodes.size() + net.pipes.size() <= m_backgroundSize) {
        take(network::solve(net), net);
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
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, stop = m_stop, net = network(), generation = m_generation] {
        promise->addResult(Solved{generation, net, network::solve(net, stop.get())});
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
    if (m_stop)
        m_stop->store(true);
    ++m_generation; // the solve still running is of no use now
    const network::Network net = network();
    take(network::solve(net), net);
}

void NetworkModel::take(network::Result result, const network::Network &network)
{
    m_solving = false;
    m_result = std::move(result);
    m_solvedNetwork = network;
    refreshTables();
    m_loops->beginResetModel();
    m_loops->update();
    m_loops->endResetModel();
    m_quantities->beginResetModel();
    m_quantities->m_bill = network::quantitiesOf(m_result);
    m_quantities->endResetModel();
    for (CatalogueTableModel *model : m_catalogues) {
        if (model->rowCount() > 0)
            emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
    }
    emit solved();
}

void NetworkModel::refreshTables()
{
    for (NetworkTableModel *model : {m_nodes, m_pipes}) {
        if (model->rowCount() > 0)
            emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
    }
}

bool NetworkModel::isResultOf(network::Table table, int row) const
{
    if (row < 0 || m_solvedNetwork.settings.pressure != m_settings.pressure)
        return false;
    const QList<network::Row> &solved
        = table == network::Table::Nodes ? m_solvedNetwork.nodes : m_solvedNetwork.pipes;
    const NetworkTableModel *now = this->table(table);
    return row < now->typedRowCount() && row < solved.size() && solved[row].value(0) == now->cell(row, 0);
}

// ---- The node and pipe tables ----

NetworkTableModel::NetworkTableModel(NetworkModel *network, network::Table table)
    : TextTableModel(network->session(), network::typedCount(table), network)
    , m_network(network)
    , m_table(table)
{
    updateColumns();
}

void NetworkTableModel::updateColumns()
{
    m_columns.clear();
    const QList<network::Column> &all = network::columns(m_table);
    for (int c = 0; c < all.size(); ++c) {
        if (all[c].typed || all[c].serves(m_network->settings().pressure))
            m_columns << c;
    }
}

int NetworkTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

int NetworkTableModel::columnOf(const QString &key) const
{
    const QList<network::Column> &all = network::columns(m_table);
    for (qsizetype c = 0; c < m_columns.size(); ++c) {
        if (all[m_columns[c]].key == key)
            return int(c);
    }
    return -1;
}

QVariant NetworkTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const int row = index.row();
    const int column = index.column();
    const network::Column &description = network::columns(m_table)[m_columns[column]];
    const network::Result &r = m_network->result();
    const bool typed = column < typedColumns();
    // While a large network is solved, the results shown are of the rows as they were.
    const bool ofThisRow = m_network->isResultOf(m_table, row);
    const bool solvedOk = r.solved() && ofThisRow;
    const network::Problem::Table problemTable
        = m_table == network::Table::Nodes ? network::Problem::Table::Nodes : network::Problem::Table::Pipes;
    // A cell the solver refused: its table, row and column.
    const bool bad = typed && ofThisRow && r.refused && r.refused->row == row && r.refused->table == problemTable
        && description.key == r.refused->column;
    const QString text = typed ? cell(row, column) : QString();
    // A cell the program fills where it is left empty: the sized diameter, the course's length.
    const bool pipes = m_table == network::Table::Pipes;
    const bool sized = pipes && column == network::pipe::Diameter && text.trimmed().isEmpty() && solvedOk;
    const bool measured = pipes && column == network::pipe::Length && text.trimmed().isEmpty() && ofThisRow
        && row < r.pipes.size() && r.pipes[row].lengthFromGeometry;
    const QString readAs = typed && network::isNumberColumn(m_table, column) ? readAsText(text) : QString();
    const int digits = m_network->settings().digits;
    switch (role) {
    case Qt::DisplayRole:
        if (typed) {
            // A diameter sized by the solver shows in place of the empty cell, and so does a
            // length measured along the pipe's course, solved or not.
            if (sized)
                return r.pipes[row].size.isEmpty() ? displayed(description.value(r, row), digits) : r.pipes[row].size;
            if (measured)
                return formatSignificant(r.pipes[row].length, digits);
            return text;
        }
        return solvedOk ? displayed(description.value(r, row), digits) : QString();
    case Qt::EditRole:
        return typed ? text : data(index, Qt::DisplayRole);
    case Qt::ForegroundRole:
        if ((!typed && m_network->isSolving()) || sized || measured)
            return QBrush(Qt::gray);
        return {};
    case Qt::FontRole:
        if (sized || measured) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    case Qt::BackgroundRole:
        // A number not read whole is refused, as the solver refuses it, wherever it stands.
        if (bad || !readAs.isEmpty() || (!typed && solvedOk && description.marked && description.marked(r, row)))
            return QBrush(toolkit::kProblemColor);
        return {};
    case Qt::ToolTipRole: {
        QStringList tips;
        if (bad)
            tips << r.refused->text;
        else if (!readAs.isEmpty())
            tips << QStringLiteral("未能完整读取：读作 ") + readAs;
        if (!typed && solvedOk && description.marked && description.marked(r, row))
            tips << r.pipes.value(row).message;
        // A size typed by its name computes with its inner diameter.
        if (m_table == network::Table::Pipes && column == network::pipe::Diameter && solvedOk
            && !r.pipes.value(row).size.isEmpty())
            tips << QStringLiteral("%1：内径 %2 mm").arg(r.pipes[row].size, formatNumber(r.pipes[row].diameter));
        if (measured)
            tips << QStringLiteral("按图形计算的管长");
        if (sized)
            tips << QStringLiteral("自动选择的管径");
        return tips.isEmpty() ? QVariant() : QVariant(tips.join(u'\n'));
    }
    case Qt::TextAlignmentRole:
        if (description.kind == network::Column::Kind::Number)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
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
    if (section < 0 || section >= m_columns.size())
        return {};
    const network::Column &c = network::columns(m_table)[m_columns[section]];
    const QString caption = c.shownCaption(m_network->settings());
    return caption.isEmpty() ? c.lowCaption : caption;
}

// ---- The loops ----

LoopTableModel::LoopTableModel(NetworkModel *network)
    : QAbstractTableModel(network)
    , m_network(network)
{}

void LoopTableModel::update()
{
    m_lines.clear();
    const network::Result &r = m_network->result();
    if (!r.solved())
        return;
    for (qsizetype l = 0; l < r.loops.size(); ++l) {
        for (qsizetype i = 0; i < r.loops[l].pipes.size(); ++i)
            m_lines.append({int(l), int(i)});
        m_lines.append({int(l), -1});
    }
}

int LoopTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int LoopTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 6;
}

QVariant LoopTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const network::Result &r = m_network->result();
    const Line line = m_lines[index.row()];
    const network::Loop &loop = r.loops[line.loop];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column == 1 ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::FontRole && line.place < 0) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    const int digits = m_network->settings().digits;
    if (column == 0)
        return line.loop + 1;
    if (line.place < 0) {
        switch (column) {
        case 1:
            return QStringLiteral("合计");
        case 4:
            return formatSignificant(loop.closure, digits);
        case 5:
            return formatSignificant(loop.closurePercent, digits);
        default:
            return {};
        }
    }
    const int k = loop.pipes[line.place];
    switch (column) {
    case 1:
        return r.pipes.value(k).id;
    case 2:
        return loop.directions.value(line.place) > 0 ? QStringLiteral("+1") : QStringLiteral("-1");
    case 3:
        return formatSignificant(r.pipes.value(k).lawDrop, digits);
    default:
        return {};
    }
}

QVariant LoopTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QString unit = m_network->settings().pressure == network::Pressure::Low ? QStringLiteral("(Pa)")
                                                                                  : QStringLiteral("(kPa^2)");
    const QStringList captions{
        QStringLiteral("环"),          QStringLiteral("管段"),          QStringLiteral("方向"),
        QStringLiteral("压降") + unit, QStringLiteral("闭合差") + unit, QStringLiteral("闭合差%")};
    return captions.value(section);
}

// ---- The bill of quantities ----

QuantityTableModel::QuantityTableModel(NetworkModel *network)
    : QAbstractTableModel(network)
    , m_network(network)
{}

int QuantityTableModel::rowCount(const QModelIndex &parent) const
{
    // The rows, and the totals below them.
    return parent.isValid() || m_bill.rows.isEmpty() ? 0 : int(m_bill.rows.size()) + 1;
}

int QuantityTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant QuantityTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const bool total = index.row() == m_bill.rows.size();
    if (role == Qt::TextAlignmentRole)
        return index.column() >= 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::FontRole && total) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    const int digits = m_network->settings().digits;
    if (total) {
        switch (index.column()) {
        case 0:
            return QStringLiteral("合计");
        case 2:
            return formatSignificant(m_bill.length, digits);
        case 3:
            return m_bill.count;
        default:
            return {};
        }
    }
    const quantities::Row &row = m_bill.rows[index.row()];
    switch (index.column()) {
    case 0:
        return row.materialCaption;
    case 1:
        return row.size;
    case 2:
        return formatSignificant(row.length, digits);
    default:
        return row.count;
    }
}

QVariant QuantityTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const bool low = m_network->settings().pressure == network::Pressure::Low;
    const QStringList captions{QStringLiteral("管材"), QStringLiteral("规格"),
                               low ? QStringLiteral("管长(m)") : QStringLiteral("管长(km)"), QStringLiteral("根数")};
    return captions.value(section);
}

// ---- The catalogues ----

CatalogueTableModel::CatalogueTableModel(NetworkModel *network, int material)
    : TextTableModel(network->session(), network::size::Count, network)
    , m_network(network)
    , m_material(material)
{}

int CatalogueTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : network::size::Count + 1;
}

QVariant CatalogueTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= typedRowCount())
        return {};
    const int row = index.row(), column = index.column();
    const bool typed = column < typedColumns();
    const network::Result &r = m_network->result();
    const bool bad = r.refused && r.refused->table == network::Problem::Table::Catalogue && r.refused->row == row
        && r.refused->column == network::catalogueKey(m_material);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (typed)
            return cell(row, column);
        if (const std::optional<double> inner = network::innerDiameter(typedRows()[row]))
            return formatNumber(*inner);
        return {};
    case Qt::BackgroundRole:
        return bad ? QVariant(QBrush(toolkit::kProblemColor)) : QVariant();
    case Qt::ToolTipRole:
        return bad ? QVariant(r.refused->text) : QVariant();
    case Qt::TextAlignmentRole:
        return column == network::size::Name ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CatalogueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const QStringList captions{QStringLiteral("规格"), QStringLiteral("外径(mm)"), QStringLiteral("壁厚(mm)"),
                               QStringLiteral("内径(mm)")};
    return captions.value(section);
}
