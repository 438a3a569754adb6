#include "route_screen.h"

#include "copying.h"
#include "csv.h"
#include "design_file.h"
#include "file_dialog.h"
#include "message_box.h"
#include "network/network_view.h"
#include "route_commands.h"
#include "route_csv.h"
#include "route_delegate.h"
#include "route_model.h"
#include "route_options.h"
#include "widgets.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A file larger than this is no route table.
constexpr qint64 kMaxImport = 16 * 1024 * 1024;

} // namespace

RouteScreen::RouteScreen()
    : Screen(route::kCode, route::kTitle, Border::Sizeable)
    , m_undo(new QUndoStack(this))
    , m_model(new RouteModel(m_undo, this))
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
        = optionGroup(QStringLiteral("material"), route::kMaterialCaption, optionsOf(route::materialOptions()));
    for (const route::NamedOption &o : route::materialOptions())
        m_materials << materialBox->findChild<QRadioButton *>(o.name);
    grid->addWidget(classBox, 0, 0, 1, 2);
    grid->addWidget(materialBox, 0, 2, 1, 4);
    // Where each setting sits in the grid (row, column), in the order of route::textSettings().
    constexpr int kPlaces[][2] = {{1, 0}, {1, 2}, {1, 4}, {2, 0}, {2, 2}, {3, 0}, {3, 2}};
    const QList<route::TextSetting> &texts = route::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const QByteArray name = texts[i].name.toLatin1();
        const QByteArray caption = name + "Caption";
        m_texts << addField(grid, kPlaces[i][0], caption.constData(), texts[i].caption, name.constData(),
                            kPlaces[i][1]);
        m_texts.back()->setText(route::Settings{}.*texts[i].member);
        toolkit::watchReading(m_texts.back());
    }
    m_digits = digitsChoice();
    grid->addWidget(label("digitsCaption", QStringLiteral("显示位数：")), 3, 4);
    grid->addWidget(m_digits, 3, 5);
    layout->addWidget(conditions);

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("routeTable"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new RouteDelegate(m_table));
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setDefaultSectionSize(
        m_table->fontMetrics().horizontalAdvance(QStringLiteral("-8.88888888888888E-30")) + 8);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->setMinimumSize(900, 320);
    m_profile = new ProfileView;
    auto *tableAndProfile = new QSplitter(Qt::Vertical);
    tableAndProfile->addWidget(m_table);
    tableAndProfile->addWidget(m_profile);
    tableAndProfile->setStretchFactor(0, 3);
    tableAndProfile->setStretchFactor(1, 1);
    layout->addWidget(tableAndProfile, 1);

    m_verdict = label("routeVerdict");
    QFont big = m_verdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_verdict->setFont(big);
    layout->addWidget(m_verdict);

    auto *buttons = new QHBoxLayout;
    const struct
    {
        const char *name;
        const char *caption;
        void (RouteScreen::*slot)();
    } rowButtons[] = {
        {"addSection", "添加管段", &RouteScreen::addSection},
        {"insertSection", "插入管段", &RouteScreen::insertSection},
        {"deleteSections", "删除管段", &RouteScreen::deleteSections},
        {"moveUp", "上移", &RouteScreen::moveUp},
        {"moveDown", "下移", &RouteScreen::moveDown},
        {"pasteBlock", "粘贴", &RouteScreen::pasteClipboard},
        {"copyTable", "复制表格", &RouteScreen::copyTable},
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
    QPushButton *importButton = commandButton("importCsv", QStringLiteral("导入CSV..."));
    QPushButton *exportButton = commandButton("exportCsv", QStringLiteral("导出CSV..."));
    connect(importButton, &QPushButton::clicked, this, [this] {
        const QString path
            = chooseFile(this, {FileDialogRequest::Mode::Open, QStringLiteral("导入管段"), kCsvFilter, {}});
        if (!path.isEmpty())
            importCsv(path);
    });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile(this,
                                        {FileDialogRequest::Mode::Save, QStringLiteral("导出水力计算表"), kCsvFilter,
                                         QStringLiteral("管网水力计算表.csv")});
        if (!path.isEmpty())
            exportCsv(path);
    });
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(commandButton("Command4", QStringLiteral("返回")));
    layout->addLayout(buttons);

    // Keys of the table: Insert, Ctrl+Delete, Ctrl+Up/Down, Delete, Ctrl+V, Ctrl+Z, Ctrl+Y.
    connect(toolkit::tableAction(m_table, QStringLiteral("插入管段"), {QKeySequence(Qt::Key_Insert)}),
            &QAction::triggered, this, &RouteScreen::insertSection);
    connect(toolkit::tableAction(m_table, QStringLiteral("删除管段"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)}),
            &QAction::triggered, this, &RouteScreen::deleteSections);
    connect(toolkit::tableAction(m_table, QStringLiteral("上移"), {QKeySequence(Qt::CTRL | Qt::Key_Up)}),
            &QAction::triggered, this, &RouteScreen::moveUp);
    connect(toolkit::tableAction(m_table, QStringLiteral("下移"), {QKeySequence(Qt::CTRL | Qt::Key_Down)}),
            &QAction::triggered, this, &RouteScreen::moveDown);
    connect(
        toolkit::tableAction(m_table, QStringLiteral("清除单元格"), QKeySequence::keyBindings(QKeySequence::Delete)),
        &QAction::triggered, this, &RouteScreen::clearCells);
    connect(toolkit::tableAction(m_table, QStringLiteral("粘贴"), QKeySequence::keyBindings(QKeySequence::Paste)),
            &QAction::triggered, this, &RouteScreen::pasteClipboard);
    connect(toolkit::tableAction(m_table, QStringLiteral("撤销"), QKeySequence::keyBindings(QKeySequence::Undo)),
            &QAction::triggered, m_undo, &QUndoStack::undo);
    connect(toolkit::tableAction(m_table, QStringLiteral("重做"), toolkit::redoKeys()), &QAction::triggered, m_undo,
            &QUndoStack::redo);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_low->setChecked(true);
    m_materials.front()->setChecked(true);
    for (QRadioButton *option : QList<QRadioButton *>{m_low, m_high} + m_materials)
        connect(option, &QRadioButton::toggled, this, &RouteScreen::settingsChanged);
    for (QLineEdit *box : m_texts)
        connect(box, &QLineEdit::textChanged, this, &RouteScreen::settingsChanged);
    connect(m_digits, &QComboBox::currentIndexChanged, this, &RouteScreen::settingsChanged);
    connect(m_model, &RouteModel::recalculated, this, &RouteScreen::showVerdict);
    settingsChanged();
    resize(1100, 640);
}

route::Settings RouteScreen::settings() const
{
    route::Settings s;
    s.pressure = m_high->isChecked() ? route::Pressure::High : route::Pressure::Low;
    s.material = 0;
    for (int i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i]->isChecked())
            s.material = i;
    }
    const QList<route::TextSetting> &texts = route::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        s.*texts[i].member = m_texts[i]->text();
    s.digits = toolkit::digitsOf(m_digits);
    return s;
}

QVariantMap RouteScreen::typedState() const
{
    return design::routeValues(settings(), m_model->sections());
}

void RouteScreen::loadState(const QVariantMap &state)
{
    loadRoute(design::routeSettings(state), design::routeSections(state));
}

void RouteScreen::loadRoute(const route::Settings &settings, const QList<route::Section> &sections)
{
    (settings.pressure == route::Pressure::High ? m_high : m_low)->setChecked(true);
    m_materials.value(settings.material, m_materials.front())->setChecked(true);
    const QList<route::TextSetting> &texts = route::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        m_texts[i]->setText(settings.*texts[i].member);
    toolkit::setDigits(m_digits, settings.digits);
    m_model->setSections(sections);
    m_undo->clear();
}

void RouteScreen::settingsChanged()
{
    const route::Settings s = settings();
    const QList<route::TextSetting> &texts = route::textSettings();
    for (qsizetype i = 0; i < texts.size(); ++i)
        m_texts[i]->setEnabled(texts[i].serves(s.pressure));
    m_model->setSettings(s);
    // The rise of a section counts in low pressure only.
    m_table->setColumnHidden(route::Rise, s.pressure != route::Pressure::Low);
}

void RouteScreen::showVerdict()
{
    const route::Result &result = m_model->result();
    toolkit::setText(m_verdict, QStringLiteral("结论：") + result.verdict);
    m_profile->show(picture::routeProfile(m_model->settings(), m_model->sections(), result));
    // The setting that cannot be used is marked on its field, with the reason.
    for (QLineEdit *box : m_texts) {
        const bool named = box->objectName() == result.settingProblem.name;
        toolkit::setProblem(box, named ? result.settingProblem.text : QString());
    }
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, result.met ? QColor(0, 128, 0) : QColor(200, 0, 0));
    m_verdict->setPalette(palette);
}

int RouteScreen::currentSection() const
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || m_model->isTotalRow(current.row()))
        return -1;
    return current.row();
}

QList<int> RouteScreen::selectedSections() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedIndexes()) {
        if (!m_model->isTotalRow(index.row()) && !rows.contains(index.row()))
            rows << index.row();
    }
    if (rows.isEmpty() && currentSection() >= 0)
        rows << currentSection();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void RouteScreen::addSection()
{
    const int row = int(m_model->sections().size());
    route::Section section;
    section.name = QString::number(row + 1);
    m_undo->push(new InsertSectionsCommand(m_model, row, {section}, QStringLiteral("添加管段")));
    m_table->setCurrentIndex(m_model->index(row, route::Length));
}

void RouteScreen::insertSection()
{
    const int current = currentSection();
    const int row = current < 0 ? int(m_model->sections().size()) : current;
    m_undo->push(new InsertSectionsCommand(m_model, row, {route::Section{}}, QStringLiteral("插入管段")));
    m_table->setCurrentIndex(m_model->index(row, route::Name));
}

void RouteScreen::deleteSections()
{
    const QList<int> rows = selectedSections();
    if (rows.isEmpty())
        return;
    m_undo->push(new RemoveSectionsCommand(m_model, rows));
    const int next = std::min(rows.front(), int(m_model->sections().size()) - 1);
    if (next >= 0)
        m_table->setCurrentIndex(m_model->index(next, std::max(0, m_table->currentIndex().column())));
}

void RouteScreen::moveUp()
{
    const int row = currentSection();
    if (row <= 0)
        return;
    const int column = m_table->currentIndex().column();
    m_undo->push(new MoveSectionCommand(m_model, row, row - 1));
    m_table->setCurrentIndex(m_model->index(row - 1, column));
}

void RouteScreen::moveDown()
{
    const int row = currentSection();
    if (row < 0 || row + 1 >= int(m_model->sections().size()))
        return;
    const int column = m_table->currentIndex().column();
    m_undo->push(new MoveSectionCommand(m_model, row, row + 1));
    m_table->setCurrentIndex(m_model->index(row + 1, column));
}

void RouteScreen::clearCells()
{
    QList<CellChange> changes;
    for (const QModelIndex &index : m_table->selectionModel()->selectedIndexes()) {
        if (!(m_model->flags(index) & Qt::ItemIsEditable))
            continue;
        const QString before = m_model->cell(index.row(), index.column());
        if (!before.isEmpty())
            changes.append({index.row(), index.column(), before, QString()});
    }
    if (!changes.isEmpty())
        m_undo->push(new SetCellsCommand(m_model, changes, QStringLiteral("清除单元格")));
}

void RouteScreen::paste(const QString &text)
{
    const QStringList lines = toolkit::pastedLines(text);
    if (lines.isEmpty())
        return;

    // The visible input columns from the current one on; a hidden rise is skipped.
    QList<int> columns;
    const int first = std::clamp(m_table->currentIndex().isValid() ? m_table->currentIndex().column() : 0, 0,
                                 route::kInputColumns - 1);
    for (int c = first; c < route::kInputColumns; ++c) {
        if (!m_table->isColumnHidden(c))
            columns << c;
    }
    const int start = currentSection() < 0 ? int(m_model->sections().size()) : currentSection();
    const int needed = start + int(lines.size()) - int(m_model->sections().size());

    auto *command = new MacroCommand(m_model, QStringLiteral("粘贴"));
    if (needed > 0) {
        new InsertSectionsCommand(m_model, int(m_model->sections().size()), QList<route::Section>(needed),
                                  QStringLiteral("添加管段"), command);
    }
    QList<CellChange> changes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList cells = lines[i].split(u'\t');
        const int row = start + int(i);
        for (qsizetype j = 0; j < cells.size() && j < columns.size(); ++j) {
            const QString before = row < int(m_model->sections().size()) ? m_model->cell(row, columns[j]) : QString();
            changes.append({row, columns[j], before, cells[j]});
        }
    }
    new SetCellsCommand(m_model, changes, QStringLiteral("粘贴"), command);
    m_undo->push(command);
}

void RouteScreen::pasteClipboard()
{
    paste(QGuiApplication::clipboard()->text());
}

void RouteScreen::copyTable()
{
    QGuiApplication::clipboard()->setText(m_model->tabText());
}

bool RouteScreen::importCsv(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(this, QStringLiteral("无法读取“%1”：%2").arg(name, file.errorString()));
        return false;
    }
    if (file.size() > kMaxImport) {
        showMessage(this, QStringLiteral("“%1”太大，不是管段表").arg(name));
        return false;
    }
    const route::Import import = route::sectionsFromCsv(file.readAll());
    if (!import.error.isEmpty()) {
        showMessage(this, QStringLiteral("“%1”未导入：%2").arg(name, import.error));
        return false;
    }
    m_undo->push(new ReplaceSectionsCommand(m_model, import.sections, QStringLiteral("导入CSV")));
    return true;
}

bool RouteScreen::exportCsv(const QString &path)
{
    return saveFile(this, path,
                    csv::write(route::tableRows(m_model->settings(), m_model->sections(), m_model->result()), true));
}
