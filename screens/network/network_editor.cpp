#include "network_editor.h"

#include "catalogue_dialog.h"
#include "copying.h"
#include "csv.h"
#include "design_file.h"
#include "drawing_import.h"
#include "drawing_import_dialog.h"
#include "file_dialog.h"
#include "message_box.h"
#include "network_columns.h"
#include "network_dxf.h"
#include "network_files.h"
#include "network_geometry.h"
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
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

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
    // The tools of the drawing, in a row over its other buttons: select and drag, add nodes, draw
    // pipes; and the grid new places snap to.
    auto *tools = new QHBoxLayout;
    auto *toolGroup = new QButtonGroup(this);
    const struct
    {
        const char *name;
        const char *caption;
        NetworkView::Tool tool;
    } toolButtons[] = {{"selectTool", "选择", NetworkView::Tool::Select},
                       {"nodeTool", "节点", NetworkView::Tool::Node},
                       {"pipeTool", "管段", NetworkView::Tool::Pipe}};
    for (const auto &t : toolButtons) {
        QPushButton *button = commandButton(t.name, QString::fromUtf8(t.caption));
        button->setCheckable(true);
        button->setChecked(t.tool == NetworkView::Tool::Select);
        toolGroup->addButton(button);
        tools->addWidget(button);
        connect(button, &QPushButton::toggled, this, [this, tool = t.tool](bool on) {
            if (on)
                m_view->setTool(tool);
        });
    }
    m_gridSnap = checkBox("gridSnap", QStringLiteral("网格捕捉"));
    m_gridStep = textBox("gridStep");
    m_gridStep->setText(QStringLiteral("1"));
    m_gridStep->setMaximumWidth(m_gridStep->fontMetrics().horizontalAdvance(QStringLiteral("8888.88")) + 12);
    tools->addSpacing(12);
    tools->addWidget(m_gridSnap);
    tools->addWidget(m_gridStep);
    tools->addWidget(label("gridStepUnit", QStringLiteral("m")));
    tools->addStretch();
    drawingLayout->addLayout(tools);
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
    connect(m_view, &NetworkView::nodeAddRequested, this, &NetworkEditor::addNode);
    connect(m_view, &NetworkView::pipeSplitRequested, this, &NetworkEditor::splitPipe);
    connect(m_view, &NetworkView::pipeDrawRequested, this, &NetworkEditor::drawPipe);
    connect(m_view, &NetworkView::deleteRequested, this, &NetworkEditor::deleteItems);
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
    addUndoButtons(buttons, m_undo);
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
    QPushButton *importDrawingButton = commandButton("importDrawing", QStringLiteral("导入图纸..."));
    QPushButton *exportDrawingButton = commandButton("exportDrawing", QStringLiteral("导出图纸..."));
    m_drawingScale = new QComboBox;
    m_drawingScale->setObjectName(QStringLiteral("drawingScale"));
    m_drawingScale->setToolTip(QStringLiteral("导出图纸的比例：文字和符号按此大小"));
    for (const int scale : {500, 200, 1000, 2000})
        m_drawingScale->addItem(QStringLiteral("1:%1").arg(scale), scale);
    connect(importDrawingButton, &QPushButton::clicked, this, [this] {
        const QString path
            = chooseFile(this,
                         {FileDialogRequest::Mode::Open,
                          QStringLiteral("导入图纸"),
                          QStringLiteral("图纸和GIS图层 (*.dxf *.shp *.gpkg *.geojson *.json);;所有文件 (*)"),
                          {}});
        if (!path.isEmpty())
            importDrawing(path);
    });
    connect(exportDrawingButton, &QPushButton::clicked, this, [this] {
        const QString path
            = chooseFile(this,
                         {FileDialogRequest::Mode::Save, QStringLiteral("导出图纸"), QStringLiteral("DXF 图纸 (*.dxf)"),
                          (m_name.isEmpty() ? QStringLiteral("管网") : m_name) + QStringLiteral(".dxf")});
        if (!path.isEmpty())
            exportDrawing(path, m_drawingScale->currentData().toDouble());
    });
    buttons->addWidget(importDrawingButton);
    buttons->addWidget(exportDrawingButton);
    buttons->addWidget(m_drawingScale);
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
    LayoutKey key;
    key.ids.reserve(r.nodes.size());
    key.places.reserve(r.nodes.size());
    key.sources.reserve(r.nodes.size());
    key.ends.reserve(r.pipes.size());
    for (const network::NodeResult &n : r.nodes) {
        key.ids << n.id;
        key.places << n.place;
        key.sources << n.source;
    }
    for (const network::PipeResult &p : r.pipes)
        key.ends << std::pair{p.from, p.to};
    if (key != m_layoutKey || m_layout.points.size() != r.nodes.size()) {
        m_layout = network::layOut(r);
        m_layoutKey = key;
    }
    // The screen draws ids, not the printed drawing's texts.
    m_view->show(picture::sceneOf(r, m_layout, picture::ColourBy(std::max(0, m_colourBy->currentIndex())),
                                  m_model->settings().digits, false));
    m_profile->show(picture::profileOf(r));
}

namespace {

// A place as typed: rounded to 0.1.
QString placeText(double v)
{
    return formatNumber(std::round(v * 10) / 10);
}

// A place the program works out (on a pipe, on the grid): to the millimetre.
QString exactText(double v)
{
    return formatNumber(std::round(v * 1000) / 1000 + 0.0);
}

} // namespace

QPointF NetworkEditor::snapped(QPointF at) const
{
    const NumberRead step = readLeadingNumber(m_gridStep->text());
    if (!m_gridSnap->isChecked() || !step.whole || !(step.value > 0) || !std::isfinite(step.value))
        return at;
    return QPointF(std::round(at.x() / step.value) * step.value, std::round(at.y() / step.value) * step.value);
}

void NetworkEditor::moveNode(int row, QPointF at)
{
    // The row as drawn: still where it is in the table.
    if (!m_model->isResultOf(network::Table::Nodes, row))
        return;
    NetworkTableModel *nodes = m_model->table(network::Table::Nodes);
    const bool grid = m_gridSnap->isChecked();
    at = snapped(at);
    const QString x = grid ? exactText(at.x()) : placeText(at.x()), y = grid ? exactText(at.y()) : placeText(at.y());
    QList<CellChange> changes;
    changes.append({row, network::node::X, nodes->cell(row, network::node::X), x});
    changes.append({row, network::node::Y, nodes->cell(row, network::node::Y), y});
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

// Both tables as an edit in the drawing leaves them: rows changed in place, rows added after
// the others.
struct NetworkEditor::Draft
{
    QList<network::Row> nodes;
    QList<network::Row> pipes;
    QHash<QString, int> nodeRows; // by id

    int nodeRow(const QString &id) const { return nodeRows.value(id.trimmed(), -1); }
    int addNode(const QString &id, QPointF at)
    {
        network::Row row(network::node::Count);
        row[network::node::Id] = id;
        row[network::node::X] = exactText(at.x());
        row[network::node::Y] = exactText(at.y());
        nodes.append(row);
        nodeRows.insert(id, int(nodes.size() - 1));
        return int(nodes.size() - 1);
    }
};

namespace {

// The next free id: the prefix and one more than the largest number after it ("J12" after "J11").
QString nextId(const QList<network::Row> &rows, const QString &prefix)
{
    QSet<QString> taken;
    qint64 largest = 0;
    for (const network::Row &row : rows) {
        const QString id = row.value(0).trimmed();
        taken.insert(id);
        bool number = false;
        const qint64 n = id.startsWith(prefix) ? id.mid(prefix.size()).toLongLong(&number) : 0;
        // Numbers beyond a trillion are no one's count of pipes: passed over, not overflowed.
        if (number && n > largest && n < 1'000'000'000'000)
            largest = n;
    }
    qint64 n = largest + 1;
    while (taken.contains(prefix + QString::number(n)))
        ++n;
    return prefix + QString::number(n);
}

} // namespace

std::optional<QPointF> NetworkEditor::placeOf(const Draft &draft, int node) const
{
    const network::Row &row = draft.nodes[node];
    const NumberRead x = readLeadingNumber(row.value(network::node::X)),
                     y = readLeadingNumber(row.value(network::node::Y));
    if (!row.value(network::node::X).trimmed().isEmpty() && !row.value(network::node::Y).trimmed().isEmpty() && x.whole
        && y.whole && std::isfinite(x.value) && std::isfinite(y.value))
        return QPointF(x.value, y.value);
    if (node < m_layout.points.size() && m_model->isResultOf(network::Table::Nodes, node))
        return m_layout.points[node];
    return std::nullopt;
}

QString NetworkEditor::splitInDraft(Draft &d, int k, QPointF at) const
{
    network::Row &pipe = d.pipes[k];
    const int from = d.nodeRow(pipe.value(network::pipe::From)), to = d.nodeRow(pipe.value(network::pipe::To));
    if (from < 0 || to < 0)
        return {};
    const std::optional<QPointF> a = placeOf(d, from), b = placeOf(d, to);
    if (!a || !b)
        return {};
    // Bends are drawn, and split, between ends that have typed places.
    const std::optional<QList<QPointF>> bends = network::readVertices(pipe.value(network::pipe::Vertices));
    const bool typedEnds = !d.nodes[from].value(network::node::X).trimmed().isEmpty()
        && !d.nodes[to].value(network::node::X).trimmed().isEmpty();
    const bool withBends = bends && typedEnds;
    QList<QPointF> course{*a};
    if (withBends)
        course += *bends;
    course << *b;
    const double total = network::courseLength(course);
    const network::OnCourse on = network::nearestOnCourse(course, at);
    // A place at an end is that end's node: nothing to split. A millimetre is what a place is typed to.
    if (!(total > 0) || on.along <= 1e-3)
        return d.nodes[from].value(network::node::Id).trimmed();
    if (on.along >= total - 1e-3)
        return d.nodes[to].value(network::node::Id).trimmed();

    const QString id = nextId(d.nodes, QStringLiteral("J"));
    d.addNode(id, on.at);
    network::Row second = pipe;
    second[network::pipe::Id] = nextId(d.pipes, QString());
    second[network::pipe::From] = id;
    pipe[network::pipe::To] = id;
    if (withBends) {
        pipe[network::pipe::Vertices] = network::verticesText(bends->mid(0, on.piece));
        second[network::pipe::Vertices] = network::verticesText(bends->mid(on.piece));
    } else {
        second[network::pipe::Vertices].clear();
    }
    // A typed length is shared as the course is; an empty one stays the course's on both halves.
    const QString length = pipe.value(network::pipe::Length);
    const NumberRead L = readLeadingNumber(length);
    if (!length.trimmed().isEmpty() && L.whole && std::isfinite(L.value) && L.value > 0) {
        const bool low = m_model->settings().pressure == network::Pressure::Low;
        const double unit = low ? 1e-3 : 1e-6; // a millimetre
        const double first = std::round(L.value * on.along / total / unit) * unit;
        pipe[network::pipe::Length] = formatNumber(first);
        second[network::pipe::Length] = formatNumber(std::round((L.value - first) / unit) * unit);
    }
    d.pipes.append(second);
    return id;
}

void NetworkEditor::pushDraft(const Draft &d, const QString &text)
{
    auto *command = new BatchCommand(m_session, text);
    for (const auto &[model, rows] : {std::pair{m_model->table(network::Table::Nodes), &d.nodes},
                                      std::pair{m_model->table(network::Table::Pipes), &d.pipes}}) {
        const int before = model->typedRowCount();
        QList<CellChange> changes;
        for (int i = 0; i < before; ++i) {
            for (int c = 0; c < model->typedColumns(); ++c) {
                const QString was = model->cell(i, c), now = (*rows)[i].value(c);
                if (was != now)
                    changes.append({i, c, was, now});
            }
        }
        if (!changes.isEmpty())
            new SetCellsCommand(model, changes, text, command);
        if (rows->size() > before)
            new InsertRowsCommand(model, before, rows->mid(before), text, command);
    }
    m_undo->push(command);
}

NetworkEditor::Draft NetworkEditor::draft() const
{
    Draft d;
    d.nodes = m_model->table(network::Table::Nodes)->typedRows();
    d.pipes = m_model->table(network::Table::Pipes)->typedRows();
    for (qsizetype i = 0; i < d.nodes.size(); ++i) {
        const QString id = d.nodes[i].value(network::node::Id).trimmed();
        // The first of a repeated id, as the solver reads it.
        if (!id.isEmpty() && !d.nodeRows.contains(id))
            d.nodeRows.insert(id, int(i));
    }
    return d;
}

bool NetworkEditor::addNode(QPointF at)
{
    Draft d = draft();
    d.addNode(nextId(d.nodes, QStringLiteral("J")), snapped(at));
    pushDraft(d, QStringLiteral("添加节点"));
    return true;
}

bool NetworkEditor::splitPipe(int row, QPointF at)
{
    if (!m_model->isResultOf(network::Table::Pipes, row))
        return false;
    Draft d = draft();
    const qsizetype before = d.nodes.size();
    splitInDraft(d, row, at);
    if (d.nodes.size() == before)
        return false;
    pushDraft(d, QStringLiteral("拆分管段"));
    return true;
}

bool NetworkEditor::drawPipe(const DrawnEnd &from, const DrawnEnd &to)
{
    for (const DrawnEnd &end : {from, to}) {
        if ((end.node >= 0 && !m_model->isResultOf(network::Table::Nodes, end.node))
            || (end.pipe >= 0 && !m_model->isResultOf(network::Table::Pipes, end.pipe)))
            return false;
    }
    Draft d = draft();
    // The halves a pipe was split into by the first end: the second end may fall on either.
    QList<int> pieces;
    auto endId = [&](const DrawnEnd &end) -> QString {
        if (end.node >= 0)
            return d.nodes[end.node].value(network::node::Id).trimmed();
        if (end.pipe >= 0) {
            int nearest = end.pipe;
            if (pieces.contains(end.pipe)) {
                double best = std::numeric_limits<double>::infinity();
                for (const int k : pieces) {
                    const int a = d.nodeRow(d.pipes[k].value(network::pipe::From)),
                              b = d.nodeRow(d.pipes[k].value(network::pipe::To));
                    const std::optional<QPointF> pa = a >= 0 ? placeOf(d, a) : std::nullopt,
                                                 pb = b >= 0 ? placeOf(d, b) : std::nullopt;
                    if (!pa || !pb)
                        continue;
                    QList<QPointF> course{*pa};
                    course
                        += network::readVertices(d.pipes[k].value(network::pipe::Vertices)).value_or(QList<QPointF>());
                    course << *pb;
                    const double distance = network::nearestOnCourse(course, end.at).distance;
                    if (distance < best) {
                        best = distance;
                        nearest = k;
                    }
                }
            }
            const qsizetype before = d.pipes.size();
            const QString id = splitInDraft(d, nearest, end.at);
            if (d.pipes.size() > before)
                pieces << end.pipe << int(before);
            return id;
        }
        const QString id = nextId(d.nodes, QStringLiteral("J"));
        d.addNode(id, snapped(end.at));
        return id;
    };
    const QString a = endId(from);
    const QString b = endId(to);
    if (a.isEmpty() || b.isEmpty() || a == b)
        return false;
    network::Row pipe(network::pipe::Count);
    pipe[network::pipe::Id] = nextId(d.pipes, QString());
    pipe[network::pipe::From] = a;
    pipe[network::pipe::To] = b;
    d.pipes.append(pipe);
    pushDraft(d, QStringLiteral("绘制管段"));
    return true;
}

bool NetworkEditor::deleteItems(const QList<int> &nodes, const QList<int> &pipes)
{
    for (const int row : nodes) {
        if (!m_model->isResultOf(network::Table::Nodes, row))
            return false;
    }
    for (const int row : pipes) {
        if (!m_model->isResultOf(network::Table::Pipes, row))
            return false;
    }
    NetworkTableModel *nodeTable = m_model->table(network::Table::Nodes);
    NetworkTableModel *pipeTable = m_model->table(network::Table::Pipes);
    QSet<QString> gone;
    for (const int row : nodes)
        gone.insert(nodeTable->cell(row, network::node::Id).trimmed());
    QList<int> pipeRows = pipes;
    for (int k = 0; k < pipeTable->typedRowCount(); ++k) {
        if (gone.contains(pipeTable->cell(k, network::pipe::From).trimmed())
            || gone.contains(pipeTable->cell(k, network::pipe::To).trimmed()))
            pipeRows << k;
    }
    std::sort(pipeRows.begin(), pipeRows.end());
    pipeRows.erase(std::unique(pipeRows.begin(), pipeRows.end()), pipeRows.end());
    QList<int> nodeRows = nodes;
    std::sort(nodeRows.begin(), nodeRows.end());
    nodeRows.erase(std::unique(nodeRows.begin(), nodeRows.end()), nodeRows.end());
    if (nodeRows.isEmpty() && pipeRows.isEmpty())
        return false;
    auto *command = new BatchCommand(m_session, QStringLiteral("删除"));
    if (!pipeRows.isEmpty())
        new RemoveRowsCommand(pipeTable, pipeRows, QStringLiteral("删除管段"), command);
    if (!nodeRows.isEmpty())
        new RemoveRowsCommand(nodeTable, nodeRows, QStringLiteral("删除节点"), command);
    m_undo->push(command);
    return true;
}

bool NetworkEditor::importDrawing(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const drawing::Layers layers = drawing::listLayers(path);
    if (!layers.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(name, layers.error));
        return false;
    }
    const network::Pressure pressure = settings().pressure;
    std::optional<drawing::Options> options = chooseDrawingImport(this, {path, layers, pressure});
    if (!options)
        return false;
    // The lengths in the unit of the network they go into.
    options->pressure = pressure;
    const drawing::Import read = drawing::importDrawing(path, *options);
    if (!read.ok()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(name, read.error));
        return false;
    }
    auto *command = new BatchCommand(m_session, QStringLiteral("导入图纸"));
    new ReplaceRowsCommand(m_model->table(network::Table::Nodes), read.nodes, QStringLiteral("导入节点"), command);
    new ReplaceRowsCommand(m_model->table(network::Table::Pipes), read.pipes, QStringLiteral("导入管段"), command);
    m_undo->push(command);
    // Another place, at another scale: the whole of it in view.
    m_view->fitAll();
    return true;
}

bool NetworkEditor::exportDrawing(const QString &path, double scale)
{
    m_model->finishSolving();
    const network::Result &r = m_model->result();
    if (!r.solved()) {
        const QString why = r.refused ? r.refused->text : r.failure;
        showMessage(this, QStringLiteral("管网未求解，不能导出图纸：%1").arg(why));
        return false;
    }
    dxf::TitleBlock title;
    if (!m_name.isEmpty())
        title.title = m_name + QStringLiteral(" 水力计算图");
    return saveFile(this, path, dxf::write(dxf::drawingOf(r, m_layout, scale, title)), QStringLiteral("图纸"));
}
