#include "network_editor.h"

#include "catalogue_dialog.h"
#include "copying.h"
#include "csv.h"
#include "design_file.h"
#include "file_dialog.h"
#include "message_box.h"
#include "network_columns.h"
#include "network_files.h"
#include "network_options.h"
#include "network_picture.h"
#include "network_view.h"
#include "number_text.h"
#include "pressure_switch.h"
#include "profile_view.h"
#include "route_options.h"
#include "settings_frame.h"
#include "table_editing.h"
#include "text_table.h"
#include "widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kMaxImport = 64 * 1024 * 1024;

QTableView *tableView(const char *name, QAbstractItemModel *model)
{
    auto *view = new QTableView;
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    return view;
}

const QString &typedName(network::Table table)
{
    static const QString nodes = QStringLiteral("节点"), pipes = QStringLiteral("管段");
    return table == network::Table::Nodes ? nodes : pipes;
}

} // namespace

NetworkEditor::NetworkEditor(QWidget *parent)
    : QWidget(parent)
    , m_undo(new QUndoStack(this))
    , m_session(new EditSession(m_undo, this))
    , m_model(new NetworkModel(m_session, this))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_settings = new SettingsFrame(network::textSettings(), QStringLiteral("默认管材"));
    layout->addWidget(m_settings);

    m_nodeTable = tableView("nodeTable", m_model->table(network::Table::Nodes));
    m_pipeTable = tableView("pipeTable", m_model->table(network::Table::Pipes));
    m_nodeEditing = new TableEditing(m_nodeTable, m_model->table(network::Table::Nodes), QStringLiteral("行"));
    m_pipeEditing = new TableEditing(m_pipeTable, m_model->table(network::Table::Pipes), QStringLiteral("行"));
    m_loopTable = tableView("loopTable", m_model->loops());
    m_loopTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A closure in full; the pipes of a loop take the rest of the width.
    m_loopTable->horizontalHeader()->setDefaultSectionSize(
        m_loopTable->fontMetrics().horizontalAdvance(QStringLiteral("-8.88888888888888E-30")) + 8);
    m_quantityTable = tableView("quantitiesTable", m_model->quantities());
    m_quantityTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_quantityTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto *results = new QTabWidget;
    results->setObjectName(QStringLiteral("resultTabs"));
    results->addTab(m_loopTable, QStringLiteral("环网闭合差"));
    results->addTab(m_quantityTable, QStringLiteral("管材统计"));
    auto *tables = new QSplitter(Qt::Vertical);
    tables->setObjectName(QStringLiteral("tables"));
    tables->addWidget(m_nodeTable);
    tables->addWidget(m_pipeTable);
    tables->addWidget(results);
    tables->setStretchFactor(0, 2);
    tables->setStretchFactor(1, 3);
    tables->setStretchFactor(2, 1);

    // The drawing with its choices.
    auto *drawing = new QWidget;
    auto *drawingLayout = new QVBoxLayout(drawing);
    drawingLayout->setContentsMargins(0, 0, 0, 0);
    m_view = new NetworkView;
    m_profile = new ProfileView;
    auto *pictures = new QSplitter(Qt::Vertical);
    pictures->addWidget(m_view);
    pictures->addWidget(m_profile);
    pictures->setStretchFactor(0, 3);
    pictures->setStretchFactor(1, 1);
    drawingLayout->addWidget(pictures, 1);
    auto *drawingButtons = new QHBoxLayout;
    m_colourBy = new QComboBox;
    m_colourBy->setObjectName(QStringLiteral("colourBy"));
    m_colourBy->addItems(picture::kColourByCaptions);
    m_labels = checkBox("showLabels", QStringLiteral("显示编号"));
    m_labels->setChecked(true);
    QPushButton *fit = commandButton("fitView", QStringLiteral("适合窗口"));
    QPushButton *keep = commandButton("saveLayout", QStringLiteral("保存布置"));
    QPushButton *picture = commandButton("exportPicture", QStringLiteral("导出图片..."));
    drawingButtons->addWidget(m_colourBy);
    drawingButtons->addWidget(m_labels);
    drawingButtons->addStretch();
    drawingButtons->addWidget(fit);
    drawingButtons->addWidget(keep);
    drawingButtons->addWidget(picture);
    drawingLayout->addLayout(drawingButtons);
    connect(m_colourBy, &QComboBox::currentIndexChanged, this, &NetworkEditor::redraw);
    connect(m_labels, &QCheckBox::toggled, m_view, &NetworkView::setLabelsShown);
    connect(fit, &QPushButton::clicked, m_view, &NetworkView::fitAll);
    connect(keep, &QPushButton::clicked, this, &NetworkEditor::saveLayout);
    connect(picture, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile(
            this,
            {FileDialogRequest::Mode::Save, QStringLiteral("导出图片"), kPictureFilter, QStringLiteral("管网.svg")});
        if (!path.isEmpty())
            exportPicture(path);
    });
    // Queued: the drawing is made anew after the move, once the dragged item has done with its event.
    connect(m_view, &NetworkView::nodeMoved, this, &NetworkEditor::moveNode, Qt::QueuedConnection);
    connect(m_view, &NetworkView::nodeClicked, this,
            [this](int row) { selectFromDrawing(network::Table::Nodes, row); });
    connect(m_view, &NetworkView::pipeClicked, this,
            [this](int row) { selectFromDrawing(network::Table::Pipes, row); });
    connect(m_nodeTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && m_view->selectedNode() != current.row())
                    m_view->selectNode(current.row());
            });
    connect(m_pipeTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && m_view->selectedPipe() != current.row())
                    m_view->selectPipe(current.row());
            });

    auto *main = new QSplitter(Qt::Horizontal);
    main->setObjectName(QStringLiteral("tablesAndDrawing"));
    main->addWidget(tables);
    main->addWidget(drawing);
    main->setStretchFactor(0, 3);
    main->setStretchFactor(1, 2);
    layout->addWidget(main, 1);
    for (QTableView *view : {m_nodeTable, m_pipeTable})
        view->installEventFilter(this);
    // The drawing's edits (a node dragged) are undone where they were made, too.
    connect(tableAction(m_view, QStringLiteral("撤销"), QKeySequence::keyBindings(QKeySequence::Undo)),
            &QAction::triggered, m_undo, &QUndoStack::undo);
    connect(tableAction(m_view, QStringLiteral("重做"), redoKeys()), &QAction::triggered, m_undo, &QUndoStack::redo);

    m_status = label("statusLine");
    layout->addWidget(m_status);

    m_verdict = label("networkVerdict");
    QFont big = m_verdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_verdict->setFont(big);
    m_verdict->setWordWrap(true);
    layout->addWidget(m_verdict);
    m_flowRule = label("flowRule");
    layout->addWidget(m_flowRule);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (NetworkEditor::*slot)();
    } rowButtons[] = {
        {"addRow", "添加行", &NetworkEditor::addRow},         {"insertRow", "插入行", &NetworkEditor::insertRow},
        {"deleteRows", "删除行", &NetworkEditor::deleteRows}, {"pasteBlock", "粘贴", &NetworkEditor::pasteClipboard},
        {"copyTable", "复制表格", &NetworkEditor::copyTable},
    };
    for (const auto &b : rowButtons) {
        QPushButton *button = commandButton(b.name, QString::fromUtf8(b.caption));
        connect(button, &QPushButton::clicked, this, b.slot);
        buttons->addWidget(button);
    }
    QPushButton *undo = commandButton("undo", QStringLiteral("撤销"));
    QPushButton *redo = commandButton("redo", QStringLiteral("重做"));
    connect(undo, &QPushButton::clicked, m_undo, &QUndoStack::undo);
    connect(redo, &QPushButton::clicked, m_undo, &QUndoStack::redo);
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    buttons->addWidget(undo);
    buttons->addWidget(redo);
    for (const network::Table table : {network::Table::Nodes, network::Table::Pipes}) {
        const bool nodes = table == network::Table::Nodes;
        QPushButton *in = commandButton(nodes ? "importNodes" : "importPipes",
                                        QStringLiteral("导入%1CSV...").arg(typedName(table)));
        QPushButton *out = commandButton(nodes ? "exportNodes" : "exportPipes",
                                         QStringLiteral("导出%1CSV...").arg(typedName(table)));
        connect(in, &QPushButton::clicked, this, [this, table] {
            const QString path = chooseFile(
                this, {FileDialogRequest::Mode::Open, QStringLiteral("导入%1").arg(typedName(table)), kCsvFilter, {}});
            if (!path.isEmpty())
                importCsv(table, path);
        });
        connect(out, &QPushButton::clicked, this, [this, table] {
            const QString path
                = chooseFile(this,
                             {FileDialogRequest::Mode::Save, QStringLiteral("导出%1").arg(typedName(table)), kCsvFilter,
                              typedName(table) + QStringLiteral(".csv")});
            if (!path.isEmpty())
                exportCsv(table, path);
        });
        buttons->addWidget(in);
        buttons->addWidget(out);
    }
    const QString inpFilter = QStringLiteral("EPANET 文件 (*.inp)");
    QPushButton *importInpButton = commandButton("importInp", QStringLiteral("导入EPANET..."));
    QPushButton *exportInpButton = commandButton("exportInp", QStringLiteral("导出EPANET..."));
    connect(importInpButton, &QPushButton::clicked, this, [this, inpFilter] {
        const QString path
            = chooseFile(this, {FileDialogRequest::Mode::Open, QStringLiteral("导入EPANET"), inpFilter, {}});
        if (!path.isEmpty())
            importInp(path);
    });
    connect(exportInpButton, &QPushButton::clicked, this, [this, inpFilter] {
        const QString path = chooseFile(
            this, {FileDialogRequest::Mode::Save, QStringLiteral("导出EPANET"), inpFilter, QStringLiteral("管网.inp")});
        if (!path.isEmpty())
            exportInp(path);
    });
    buttons->addWidget(importInpButton);
    buttons->addWidget(exportInpButton);
    QPushButton *quantitiesButton = commandButton("exportQuantities", QStringLiteral("导出管材统计CSV..."));
    connect(quantitiesButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile(this,
                                        {FileDialogRequest::Mode::Save, QStringLiteral("导出管材统计"), kCsvFilter,
                                         QStringLiteral("管材统计.csv")});
        if (!path.isEmpty())
            exportQuantities(path);
    });
    buttons->addWidget(quantitiesButton);
    QPushButton *sizes = commandButton("catalogues", QStringLiteral("管材规格..."));
    connect(sizes, &QPushButton::clicked, this, &NetworkEditor::showCatalogues);
    buttons->addWidget(sizes);
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(m_model, &NetworkModel::solved, this, &NetworkEditor::showVerdict);
    connect(m_model, &NetworkModel::solving, this, &NetworkEditor::showVerdict);
    connect(m_model, &NetworkModel::solved, this, &NetworkEditor::redraw);
    connect(m_settings, &SettingsFrame::changed, this, [this] {
        const network::Settings s = settings();
        m_model->setSettings(s);
        // The elevation counts in low pressure only.
        m_nodeTable->setColumnHidden(network::node::Elevation, s.pressure != network::Pressure::Low);
    });
    connect(m_settings, &SettingsFrame::pressureRequested, this, [this](gas::Pressure pressure) {
        const ClassUnits units{{{m_model->table(network::Table::Nodes), {}, {network::node::SourcePressure}},
                                {m_model->table(network::Table::Pipes), {network::pipe::Length}, {}}},
                               {network::kMinPressure},
                               true};
        switchPressureClass(this, m_settings, m_session, units, pressure, m_status);
    });
    m_model->setSettings(settings());
}

QTableView *NetworkEditor::table(network::Table table) const
{
    return table == network::Table::Nodes ? m_nodeTable : m_pipeTable;
}

TableEditing *NetworkEditor::editing(network::Table table) const
{
    return table == network::Table::Nodes ? m_nodeEditing : m_pipeEditing;
}

bool NetworkEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_nodeTable)
            m_active = network::Table::Nodes;
        else if (watched == m_pipeTable)
            m_active = network::Table::Pipes;
    }
    return QWidget::eventFilter(watched, event);
}

network::Settings NetworkEditor::settings() const
{
    return m_settings->settings();
}

void NetworkEditor::selectFromDrawing(network::Table table, int row)
{
    // The drawing is of the network last solved: a row inserted or deleted since is not the item's.
    if (!m_model->isResultOf(table, row))
        return;
    m_active = table;
    this->table(table)->selectRow(row);
}

void NetworkEditor::showVerdict()
{
    if (m_model->isSolving()) {
        // A large network solved in the background: no verdict of an earlier state.
        toolkit::setText(m_verdict, QStringLiteral("结论：计算中…"));
        toolkit::setText(m_flowRule, QString());
        QPalette palette = m_verdict->palette();
        palette.setColor(QPalette::WindowText, Qt::gray);
        m_verdict->setPalette(palette);
        return;
    }
    const network::Result &r = m_model->result();
    QString verdict;
    if (r.refused) {
        verdict = QStringLiteral("数据不全: ") + r.refused->text;
        if (r.refused->table == network::Problem::Table::Catalogue)
            verdict += QStringLiteral("（管材规格）");
        else if (r.refused->table == network::Problem::Table::Nodes)
            verdict += QStringLiteral("（节点表第%1行）").arg(r.refused->row + 1);
        else if (r.refused->table == network::Problem::Table::Pipes)
            verdict += QStringLiteral("（管段表第%1行）").arg(r.refused->row + 1);
    } else {
        verdict = network::verdictLine(r, m_model->settings().digits);
    }
    toolkit::setText(m_verdict, QStringLiteral("结论：") + verdict);
    toolkit::setText(m_flowRule, r.flowRule.isEmpty() ? QString() : QStringLiteral("流量计算方法：") + r.flowRule);
    const bool met = !r.refused && r.converged && r.met;
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, met ? QColor(0, 128, 0) : QColor(200, 0, 0));
    m_verdict->setPalette(palette);
    // A setting the solver refused is marked on its field.
    const bool setting = r.refused && r.refused->table == network::Problem::Table::Settings;
    m_settings->showProblem(setting ? r.refused->column : QString(), setting ? r.refused->text : QString());
}

network::Network NetworkEditor::typedNetwork() const
{
    network::Network net = m_model->network();
    net.settings = settings();
    return net;
}

void NetworkEditor::loadNetwork(const network::Network &net)
{
    // A network loaded is seen whole, whatever the zoom of the one before.
    m_view->fitWhenShown();
    {
        const EditSession::Batch batch(m_session);
        m_settings->setSettings(net.settings);
        m_model->setNetwork(net);
    }
    m_undo->clear();
}

void NetworkEditor::addRow()
{
    editing(m_active)->addRow();
}

void NetworkEditor::insertRow()
{
    editing(m_active)->insertRow();
}

void NetworkEditor::deleteRows()
{
    editing(m_active)->deleteRows();
}

void NetworkEditor::clearCells()
{
    editing(m_active)->clearCells();
}

void NetworkEditor::paste(const QString &text)
{
    editing(m_active)->paste(text);
}

void NetworkEditor::pasteClipboard()
{
    editing(m_active)->pasteClipboard();
}

void NetworkEditor::copyTable()
{
    editing(m_active)->copyTable();
}

namespace {

// A file read whole for an import; nothing, after a message, when it cannot be.
std::optional<QByteArray> readImport(QWidget *parent, const QString &path, const QString &what)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(parent, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return std::nullopt;
    }
    if (file.size() > kMaxImport) {
        showMessage(parent, QStringLiteral("“%1”太大，不是%2").arg(name, what));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showMessage(parent, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool NetworkEditor::importCsv(network::Table table, const QString &path)
{
    const std::optional<QByteArray> bytes = readImport(this, path, typedName(table) + QStringLiteral("表"));
    if (!bytes)
        return false;
    const network::TableRead read = network::tableFromCsv(*bytes, table);
    if (!read.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(QFileInfo(path).fileName(), read.error));
        return false;
    }
    editing(table)->replaceRows(read.rows, QStringLiteral("导入%1").arg(typedName(table)));
    return true;
}

bool NetworkEditor::exportCsv(network::Table table, const QString &path)
{
    return saveFile(this, path, network::tableToCsv(table, m_model->table(table)->typedRows()));
}

bool NetworkEditor::importInp(const QString &path)
{
    const std::optional<QByteArray> bytes = readImport(this, path, QStringLiteral("EPANET文件"));
    if (!bytes)
        return false;
    const network::Pressure pressure = settings().pressure;
    network::InpRead read = network::fromInp(*bytes, pressure, QString());
    if (read.error.isEmpty() && read.sourcesWithoutPressure > 0) {
        // The file does not say at what pressure its sources hold: asked once for them all.
        const QString unit = pressure == network::Pressure::Low ? QStringLiteral("Pa") : QStringLiteral("kPa");
        const std::optional<QString> answer = askText(
            this,
            QStringLiteral("“%1”中有%2个气源没有压力，请输入气源压力（%3）：")
                .arg(QFileInfo(path).fileName())
                .arg(read.sourcesWithoutPressure)
                .arg(unit),
            m_lastSourcePressure);
        if (!answer || answer->trimmed().isEmpty())
            return false;
        m_lastSourcePressure = answer->trimmed();
        read = network::fromInp(*bytes, pressure, m_lastSourcePressure);
    }
    if (!read.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(QFileInfo(path).fileName(), read.error));
        return false;
    }
    auto *command = new BatchCommand(m_session, QStringLiteral("导入EPANET"));
    new ReplaceRowsCommand(m_model->table(network::Table::Nodes), read.nodes, QStringLiteral("导入节点"), command);
    new ReplaceRowsCommand(m_model->table(network::Table::Pipes), read.pipes, QStringLiteral("导入管段"), command);
    m_undo->push(command);
    return true;
}

bool NetworkEditor::exportInp(const QString &path)
{
    m_model->finishSolving();
    network::Network current = m_model->network();
    current.settings = settings();
    return saveFile(this, path, network::toInp(current, m_model->result()));
}

bool NetworkEditor::exportQuantities(const QString &path)
{
    m_model->finishSolving();
    return saveFile(this, path, csv::write(network::quantityRows(m_model->result()), true));
}

CatalogueDialog *NetworkEditor::showCatalogues()
{
    if (!m_catalogues)
        m_catalogues = new CatalogueDialog(m_model, this);
    m_catalogues->show();
    m_catalogues->raise();
    m_catalogues->activateWindow();
    return m_catalogues;
}

void NetworkEditor::redraw()
{
    // The places depend on the nodes' ids and X, Y and on which pipes join them: an
    // edit of a load or a diameter keeps them.
    const network::Result &r = m_model->result();
    QStringList key;
    key.reserve(r.nodes.size() + r.pipes.size());
    for (const network::NodeResult &n : r.nodes) {
        key << n.id + u'\t' + (n.place ? QString::number(n.place->x(), 'g', 17) + u'\t' + QString::number(n.place->y(), 'g', 17) : QString())
                + (n.source ? u'*' : u'\t');
    }
    for (const network::PipeResult &p : r.pipes)
        key << QString::number(p.from) + u'\t' + QString::number(p.to);
    if (key != m_layoutKey || m_layout.points.size() != r.nodes.size()) {
        m_layout = network::layOut(r);
        m_layoutKey = key;
    }
    m_view->show(picture::sceneOf(r, m_layout, picture::ColourBy(std::max(0, m_colourBy->currentIndex())),
                                  m_model->settings().digits));
    m_profile->show(picture::profileOf(r));
}

namespace {

// A place as typed: rounded to 0.1.
QString placeText(double v)
{
    return formatNumber(std::round(v * 10) / 10);
}

} // namespace

void NetworkEditor::moveNode(int row, QPointF at)
{
    // The row as drawn: still where it is in the table.
    if (!m_model->isResultOf(network::Table::Nodes, row))
        return;
    NetworkTableModel *nodes = m_model->table(network::Table::Nodes);
    QList<CellChange> changes;
    changes.append({row, network::node::X, nodes->cell(row, network::node::X), placeText(at.x())});
    changes.append({row, network::node::Y, nodes->cell(row, network::node::Y), placeText(at.y())});
    m_undo->push(new SetCellsCommand(nodes, changes, QStringLiteral("移动节点")));
}

void NetworkEditor::saveLayout()
{
    m_model->finishSolving();
    NetworkTableModel *nodes = m_model->table(network::Table::Nodes);
    QList<CellChange> changes;
    for (qsizetype i = 0; i < m_layout.points.size() && i < nodes->typedRowCount(); ++i) {
        if (!m_layout.automatic.value(i))
            continue;
        const int row = int(i);
        changes.append({row, network::node::X, nodes->cell(row, network::node::X), placeText(m_layout.points[i].x())});
        changes.append({row, network::node::Y, nodes->cell(row, network::node::Y), placeText(m_layout.points[i].y())});
    }
    if (!changes.isEmpty())
        m_undo->push(new SetCellsCommand(nodes, changes, QStringLiteral("保存布置")));
}

bool NetworkEditor::exportPicture(const QString &path)
{
    m_model->finishSolving();
    const picture::Scene scene
        = picture::sceneOf(m_model->result(), m_layout, picture::ColourBy(std::max(0, m_colourBy->currentIndex())),
                           m_model->settings().digits);
    return saveFile(this, path, picture::pictureFile(scene, path), QStringLiteral("图片"));
}
