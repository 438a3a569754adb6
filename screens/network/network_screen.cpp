#include "network_screen.h"

#include "copying.h"
#include "csv.h"
#include "design_file.h"
#include "file_dialog.h"
#include "message_box.h"
#include "network_files.h"
#include "network_options.h"
#include "network_picture.h"
#include "network_view.h"
#include "number_text.h"
#include "route_options.h"
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

const QString &typedName(NetworkTable table)
{
    static const QString nodes = QStringLiteral("节点"), pipes = QStringLiteral("管段");
    return table == NetworkTable::Nodes ? nodes : pipes;
}

} // namespace

NetworkScreen::NetworkScreen()
    : Screen(network::kCode, network::kTitle, Border::Sizeable)
    , m_undo(new QUndoStack(this))
    , m_model(new NetworkModel(m_undo, this))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);

    QGroupBox *conditions = frame("conditions", QStringLiteral("计算条件"));
    auto *grid = new QGridLayout(conditions);
    auto optionsOf = [](const QList<route::NamedOption> &named) {
        QList<Option> options;
        for (const route::NamedOption &o : named)
            options.append({o.name, o.caption});
        return options;
    };
    QGroupBox *classBox
        = optionGroup(QStringLiteral("pressureClass"), route::kPressureCaption, optionsOf(route::pressureOptions()));
    m_low = classBox->findChild<QRadioButton *>(route::pressureOptions()[0].name);
    m_high = classBox->findChild<QRadioButton *>(route::pressureOptions()[1].name);
    QGroupBox *materialBox
        = optionGroup(QStringLiteral("material"), QStringLiteral("默认管材"), optionsOf(route::materialOptions()));
    for (const route::NamedOption &o : route::materialOptions())
        m_materials << materialBox->findChild<QRadioButton *>(o.name);
    grid->addWidget(classBox, 0, 0, 1, 2);
    grid->addWidget(materialBox, 0, 2, 1, 4);
    const QList<network::TextSetting> &texts = network::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QByteArray name = texts[i].name.toLatin1();
        const QByteArray caption = name + "Caption";
        m_texts << addField(grid, 1 + int(i) / 3, caption.constData(), texts[i].lowCaption, name.constData(),
                            2 * (int(i) % 3));
        m_captions << conditions->findChild<QLabel *>(QString::fromLatin1(caption));
        m_texts.back()->setText(network::Settings{}.*texts[i].member);
        watchReading(m_texts.back());
    }
    m_digits = digitsChoice();
    grid->addWidget(label("digitsCaption", QStringLiteral("显示位数：")), 2, 4);
    grid->addWidget(m_digits, 2, 5);
    layout->addWidget(conditions);

    m_nodeTable = tableView("nodeTable", m_model->table(NetworkTable::Nodes));
    m_pipeTable = tableView("pipeTable", m_model->table(NetworkTable::Pipes));
    m_loopTable = tableView("loopTable", m_model->loops());
    m_loopTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A closure in full; the pipes of a loop take the rest of the width.
    m_loopTable->horizontalHeader()->setDefaultSectionSize(
        m_loopTable->fontMetrics().horizontalAdvance(QStringLiteral("-8.88888888888888E-30")) + 8);
    m_loopTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto *tables = new QSplitter(Qt::Vertical);
    tables->setObjectName(QStringLiteral("tables"));
    tables->addWidget(m_nodeTable);
    tables->addWidget(m_pipeTable);
    tables->addWidget(m_loopTable);
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
    connect(m_colourBy, &QComboBox::currentIndexChanged, this, &NetworkScreen::redraw);
    connect(m_labels, &QCheckBox::toggled, m_view, &NetworkView::setLabelsShown);
    connect(fit, &QPushButton::clicked, m_view, &NetworkView::fitAll);
    connect(keep, &QPushButton::clicked, this, &NetworkScreen::saveLayout);
    connect(picture, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile(
            this,
            {FileDialogRequest::Mode::Save, QStringLiteral("导出图片"), kPictureFilter, QStringLiteral("管网.svg")});
        if (!path.isEmpty())
            exportPicture(path);
    });
    // Queued: the drawing is made anew after the move, once the dragged item has done with its event.
    connect(m_view, &NetworkView::nodeMoved, this, &NetworkScreen::moveNode, Qt::QueuedConnection);
    connect(m_view, &NetworkView::nodeClicked, this, [this](int row) {
        m_nodeTable->selectRow(row);
        m_active = NetworkTable::Nodes;
    });
    connect(m_view, &NetworkView::pipeClicked, this, [this](int row) {
        m_pipeTable->selectRow(row);
        m_active = NetworkTable::Pipes;
    });
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

    m_verdict = label("networkVerdict");
    QFont big = m_verdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_verdict->setFont(big);
    m_verdict->setWordWrap(true);
    layout->addWidget(m_verdict);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (NetworkScreen::*slot)();
    } rowButtons[] = {
        {"addRow", "添加行", &NetworkScreen::addRow},         {"insertRow", "插入行", &NetworkScreen::insertRow},
        {"deleteRows", "删除行", &NetworkScreen::deleteRows}, {"pasteBlock", "粘贴", &NetworkScreen::pasteClipboard},
        {"copyTable", "复制表格", &NetworkScreen::copyTable},
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
    for (const NetworkTable table : {NetworkTable::Nodes, NetworkTable::Pipes}) {
        const bool nodes = table == NetworkTable::Nodes;
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
    buttons->addStretch();
    buttons->addWidget(commandButton("Command4", QStringLiteral("返回")));
    layout->addLayout(buttons);

    // Keys of the two tables: Insert, Ctrl+Delete, Delete, Ctrl+V, Ctrl+Z, Ctrl+Y.
    for (const NetworkTable t : {NetworkTable::Nodes, NetworkTable::Pipes}) {
        QTableView *view = table(t);
        auto on = [this, t](void (NetworkScreen::*slot)()) {
            return [this, t, slot] {
                setActiveTable(t);
                (this->*slot)();
            };
        };
        connect(toolkit::tableAction(view, QStringLiteral("插入行"), {QKeySequence(Qt::Key_Insert)}),
                &QAction::triggered, this, on(&NetworkScreen::insertRow));
        connect(toolkit::tableAction(view, QStringLiteral("删除行"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)}),
                &QAction::triggered, this, on(&NetworkScreen::deleteRows));
        connect(
            toolkit::tableAction(view, QStringLiteral("清除单元格"), QKeySequence::keyBindings(QKeySequence::Delete)),
            &QAction::triggered, this, on(&NetworkScreen::clearCells));
        connect(toolkit::tableAction(view, QStringLiteral("粘贴"), QKeySequence::keyBindings(QKeySequence::Paste)),
                &QAction::triggered, this, on(&NetworkScreen::pasteClipboard));
        connect(toolkit::tableAction(view, QStringLiteral("撤销"), QKeySequence::keyBindings(QKeySequence::Undo)),
                &QAction::triggered, m_undo, &QUndoStack::undo);
        connect(toolkit::tableAction(view, QStringLiteral("重做"), toolkit::redoKeys()), &QAction::triggered, m_undo,
                &QUndoStack::redo);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    m_low->setChecked(true);
    m_materials.front()->setChecked(true);
    for (QRadioButton *option : QList<QRadioButton *>{m_low, m_high} + m_materials)
        connect(option, &QRadioButton::toggled, this, &NetworkScreen::settingsChanged);
    for (QLineEdit *box : m_texts)
        connect(box, &QLineEdit::textChanged, this, &NetworkScreen::settingsChanged);
    connect(m_digits, &QComboBox::currentIndexChanged, this, &NetworkScreen::settingsChanged);
    connect(m_model, &NetworkModel::solved, this, &NetworkScreen::showVerdict);
    connect(m_model, &NetworkModel::solving, this, &NetworkScreen::showVerdict);
    connect(m_model, &NetworkModel::solved, this, &NetworkScreen::redraw);
    settingsChanged();
    resize(1400, 800);
}

QTableView *NetworkScreen::table(NetworkTable table) const
{
    return table == NetworkTable::Nodes ? m_nodeTable : m_pipeTable;
}

void NetworkScreen::setActiveTable(NetworkTable table)
{
    m_active = table;
}

bool NetworkScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_nodeTable)
            m_active = NetworkTable::Nodes;
        else if (watched == m_pipeTable)
            m_active = NetworkTable::Pipes;
    }
    return Screen::eventFilter(watched, event);
}

network::Settings NetworkScreen::settings() const
{
    network::Settings s;
    s.pressure = m_high->isChecked() ? network::Pressure::High : network::Pressure::Low;
    s.material = 0;
    for (int i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i]->isChecked())
            s.material = i;
    }
    const QList<network::TextSetting> &texts = network::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        s.*texts[i].member = m_texts[i]->text();
    s.digits = toolkit::digitsOf(m_digits);
    return s;
}

void NetworkScreen::settingsChanged()
{
    if (m_loading)
        return;
    const network::Settings s = settings();
    const QList<network::TextSetting> &texts = network::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        toolkit::setText(m_captions[i], texts[i].caption(s.pressure));
    m_model->setSettings(s);
    // The elevation counts in low pressure only.
    m_nodeTable->setColumnHidden(2, s.pressure != network::Pressure::Low);
}

void NetworkScreen::showVerdict()
{
    if (m_model->isSolving()) {
        // A large network solved in the background: no verdict of an earlier state.
        toolkit::setText(m_verdict, QStringLiteral("结论：计算中…"));
        QPalette palette = m_verdict->palette();
        palette.setColor(QPalette::WindowText, Qt::gray);
        m_verdict->setPalette(palette);
        return;
    }
    const network::Result &r = m_model->result();
    QString verdict;
    if (r.refused) {
        verdict = QStringLiteral("数据不全: ") + r.refused->text;
        if (r.refused->table == network::Problem::Table::Nodes)
            verdict += QStringLiteral("（节点表第%1行）").arg(r.refused->row + 1);
        else if (r.refused->table == network::Problem::Table::Pipes)
            verdict += QStringLiteral("（管段表第%1行）").arg(r.refused->row + 1);
    } else {
        verdict = r.verdict;
        if (r.converged && r.met && r.worstNode >= 0) {
            verdict += QStringLiteral("，最不利节点 %1")
                           .arg(m_model->solvedNetwork().nodes.value(r.worstNode).node.trimmed());
        }
    }
    toolkit::setText(m_verdict, QStringLiteral("结论：") + verdict);
    const bool met = !r.refused && r.converged && r.met;
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, met ? QColor(0, 128, 0) : QColor(200, 0, 0));
    m_verdict->setPalette(palette);
    // A setting the solver refused is marked on its field.
    const bool setting = r.refused && r.refused->table == network::Problem::Table::Settings;
    for (QLineEdit *box : m_texts)
        toolkit::setProblem(box, setting && box->objectName() == r.refused->column ? r.refused->text : QString());
}

QVariantMap NetworkScreen::typedState() const
{
    network::Network net = m_model->network();
    net.settings = settings();
    return design::networkValues(net);
}

void NetworkScreen::loadState(const QVariantMap &state)
{
    const network::Network net = design::networkOf(state);
    m_loading = true;
    (net.settings.pressure == network::Pressure::High ? m_high : m_low)->setChecked(true);
    m_materials.value(net.settings.material, m_materials.front())->setChecked(true);
    const QList<network::TextSetting> &texts = network::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        m_texts[i]->setText(net.settings.*texts[i].member);
    toolkit::setDigits(m_digits, net.settings.digits);
    m_loading = false;
    m_model->setNetwork(net);
    settingsChanged();
    m_undo->clear();
}

int NetworkScreen::currentRow() const
{
    const QModelIndex current = table(m_active)->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QList<int> NetworkScreen::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : table(m_active)->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row()))
            rows << index.row();
    }
    if (rows.isEmpty() && currentRow() >= 0)
        rows << currentRow();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void NetworkScreen::addRow()
{
    const int row = m_model->rowCount(m_active);
    m_undo->push(new InsertNetworkRowsCommand(m_model, m_active, row, {QStringList()}, QStringLiteral("添加行")));
    table(m_active)->setCurrentIndex(m_model->table(m_active)->index(row, 0));
}

void NetworkScreen::insertRow()
{
    const int current = currentRow();
    const int row = current < 0 ? m_model->rowCount(m_active) : current;
    m_undo->push(new InsertNetworkRowsCommand(m_model, m_active, row, {QStringList()}, QStringLiteral("插入行")));
    table(m_active)->setCurrentIndex(m_model->table(m_active)->index(row, 0));
}

void NetworkScreen::deleteRows()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    m_undo->push(new RemoveNetworkRowsCommand(m_model, m_active, rows));
}

void NetworkScreen::clearCells()
{
    QList<NetworkCellChange> changes;
    const NetworkTableModel *model = m_model->table(m_active);
    for (const QModelIndex &index : table(m_active)->selectionModel()->selectedIndexes()) {
        if (!(model->flags(index) & Qt::ItemIsEditable))
            continue;
        const QString before = m_model->cell(m_active, index.row(), index.column());
        if (!before.isEmpty())
            changes.append({m_active, index.row(), index.column(), before, QString()});
    }
    if (!changes.isEmpty())
        m_undo->push(new SetNetworkCellsCommand(m_model, changes, QStringLiteral("清除单元格")));
}

void NetworkScreen::paste(const QString &text)
{
    const QStringList lines = toolkit::pastedLines(text);
    if (lines.isEmpty())
        return;
    const QModelIndex current = table(m_active)->currentIndex();
    const int first = std::clamp(current.isValid() ? current.column() : 0, 0, NetworkTableModel::kTypedColumns - 1);
    const int start = current.isValid() ? current.row() : m_model->rowCount(m_active);
    const int needed = start + int(lines.size()) - m_model->rowCount(m_active);

    m_undo->beginMacro(QStringLiteral("粘贴"));
    if (needed > 0) {
        m_undo->push(new InsertNetworkRowsCommand(m_model, m_active, m_model->rowCount(m_active),
                                                  QList<QStringList>(needed), QStringLiteral("添加行")));
    }
    QList<NetworkCellChange> changes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(u'\t');
        const int row = start + int(i);
        for (qsizetype j = 0; j < cells.size() && first + j < NetworkTableModel::kTypedColumns; ++j) {
            const int column = first + int(j);
            changes.append({m_active, row, column, m_model->cell(m_active, row, column), cells[j]});
        }
    }
    m_undo->push(new SetNetworkCellsCommand(m_model, changes, QStringLiteral("粘贴")));
    m_undo->endMacro();
}

void NetworkScreen::pasteClipboard()
{
    paste(QGuiApplication::clipboard()->text());
}

void NetworkScreen::copyTable()
{
    QGuiApplication::clipboard()->setText(m_model->table(m_active)->tabText());
}

void NetworkScreen::replaceRows(NetworkTable table, const QList<QStringList> &rows, const QString &text)
{
    m_undo->beginMacro(text);
    QList<int> all;
    for (int row = 0; row < m_model->rowCount(table); ++row)
        all << row;
    if (!all.isEmpty())
        m_undo->push(new RemoveNetworkRowsCommand(m_model, table, all));
    if (!rows.isEmpty())
        m_undo->push(new InsertNetworkRowsCommand(m_model, table, 0, rows, text));
    m_undo->endMacro();
}

bool NetworkScreen::importCsv(NetworkTable table, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(this, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return false;
    }
    if (file.size() > kMaxImport) {
        showMessage(this, QStringLiteral("“%1”太大，不是%2表").arg(name, typedName(table)));
        return false;
    }
    const network::TableRead read = network::tableFromCsv(
        file.readAll(), table == NetworkTable::Nodes ? network::nodeKeys() : network::pipeKeys());
    if (!read.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(name, read.error));
        return false;
    }
    replaceRows(table, read.rows, QStringLiteral("导入%1").arg(typedName(table)));
    return true;
}

bool NetworkScreen::exportCsv(NetworkTable table, const QString &path)
{
    QList<QStringList> rows{table == NetworkTable::Nodes ? network::nodeKeys() : network::pipeKeys()};
    rows += m_model->rows(table);
    return saveFile(this, path, csv::write(rows, true));
}

bool NetworkScreen::importInp(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(this, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return false;
    }
    if (file.size() > kMaxImport) {
        showMessage(this, QStringLiteral("“%1”太大，不是EPANET文件").arg(name));
        return false;
    }
    const network::InpRead read = network::fromInp(file.readAll(), settings().pressure, QString());
    if (!read.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(name, read.error));
        return false;
    }
    QList<QStringList> nodes, pipes;
    for (const network::NodeRow &row : read.nodes)
        nodes << network::cellsOf(row);
    for (const network::PipeRow &row : read.pipes)
        pipes << network::cellsOf(row);
    m_undo->beginMacro(QStringLiteral("导入EPANET"));
    replaceRows(NetworkTable::Nodes, nodes, QStringLiteral("导入节点"));
    replaceRows(NetworkTable::Pipes, pipes, QStringLiteral("导入管段"));
    m_undo->endMacro();
    return true;
}

bool NetworkScreen::exportInp(const QString &path)
{
    m_model->finishSolving();
    const network::Network &net = m_model->network();
    const network::Result &r = m_model->result();
    QList<double> diameters;
    for (qsizetype k = 0; k < net.pipes.size(); ++k) {
        const bool solvedOk = !r.refused && r.converged && k < r.pipes.size();
        diameters << (solvedOk ? r.pipes[k].diameter : parseLeadingNumber(net.pipes[k].diameter));
    }
    network::Network current = net;
    current.settings = settings();
    return saveFile(this, path, network::toInp(current, diameters));
}

void NetworkScreen::redraw()
{
    // The places depend on the nodes' ids and X, Y and on which pipes join them: an
    // edit of a load or a diameter keeps them.
    const network::Network &net = m_model->solvedNetwork();
    QStringList key;
    key.reserve(net.nodes.size() + net.pipes.size());
    for (const network::NodeRow &n : net.nodes)
        key << n.node + u'\t' + n.x + u'\t' + n.y + (n.sourcePressure.trimmed().isEmpty() ? u'\t' : u'*');
    for (const network::PipeRow &p : net.pipes)
        key << p.from + u'\t' + p.to;
    if (key != m_layoutKey || m_layout.points.size() != net.nodes.size()) {
        m_layout = network::layOut(net);
        m_layoutKey = key;
    }
    m_view->show(
        picture::sceneOf(net, m_model->result(), m_layout, picture::ColourBy(std::max(0, m_colourBy->currentIndex()))));
    m_profile->show(picture::profileOf(net, m_model->result()));
}

namespace {

// A place as typed: rounded to 0.1.
QString placeText(double v)
{
    return formatNumber(std::round(v * 10) / 10);
}

} // namespace

void NetworkScreen::moveNode(int row, QPointF at)
{
    // The row as drawn: still where it is in the table.
    if (!m_model->isResultOf(NetworkTable::Nodes, row))
        return;
    const QString x = placeText(at.x()), y = placeText(at.y());
    QList<NetworkCellChange> changes;
    changes.append({NetworkTable::Nodes, row, 3, m_model->cell(NetworkTable::Nodes, row, 3), x});
    changes.append({NetworkTable::Nodes, row, 4, m_model->cell(NetworkTable::Nodes, row, 4), y});
    m_undo->push(new SetNetworkCellsCommand(m_model, changes, QStringLiteral("移动节点")));
}

void NetworkScreen::saveLayout()
{
    m_model->finishSolving();
    QList<NetworkCellChange> changes;
    for (qsizetype i = 0; i < m_layout.points.size() && i < m_model->rowCount(NetworkTable::Nodes); ++i) {
        if (!m_layout.automatic.value(i))
            continue;
        const int row = int(i);
        changes.append({NetworkTable::Nodes, row, 3, m_model->cell(NetworkTable::Nodes, row, 3),
                        placeText(m_layout.points[i].x())});
        changes.append({NetworkTable::Nodes, row, 4, m_model->cell(NetworkTable::Nodes, row, 4),
                        placeText(m_layout.points[i].y())});
    }
    if (!changes.isEmpty())
        m_undo->push(new SetNetworkCellsCommand(m_model, changes, QStringLiteral("保存布置")));
}

bool NetworkScreen::exportPicture(const QString &path)
{
    m_model->finishSolving();
    const picture::Scene scene = picture::sceneOf(m_model->network(), m_model->result(), m_layout,
                                                  picture::ColourBy(std::max(0, m_colourBy->currentIndex())));
    return saveFile(this, path, picture::pictureFile(scene, path), QStringLiteral("图片"));
}
