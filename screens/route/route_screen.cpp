#include "route_screen.h"

#include "copying.h"
#include "csv.h"
#include "design_file.h"
#include "file_dialog.h"
#include "message_box.h"
#include "pressure_switch.h"
#include "profile_view.h"
#include "settings_frame.h"
#include "table_editing.h"
#include "text_table.h"
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
    , m_session(new EditSession(m_undo, this))
    , m_model(new RouteModel(m_session, this))
{
    using namespace toolkit;
    auto *layout = new QVBoxLayout(this);
    m_settings = new SettingsFrame(route::textSettings(), gas::kMaterialCaption);
    layout->addWidget(m_settings);

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
    m_status = label("statusLine");
    layout->addWidget(m_status);

    m_verdict = label("routeVerdict");
    QFont big = m_verdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_verdict->setFont(big);
    layout->addWidget(m_verdict);

    m_editing = new TableEditing(m_table, m_model, QStringLiteral("管段"));
    m_editing->allowMoving();
    m_editing->setNewRowCells([](int row) { return QStringList{QString::number(row + 1)}; });
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
    addUndoButtons(buttons, m_undo);
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

    connect(m_session, &EditSession::recalculate, m_model, &RouteModel::recalculate);
    connect(m_model, &RouteModel::recalculated, this, &RouteScreen::showVerdict);
    connect(m_settings, &SettingsFrame::changed, this, [this] {
        const route::Settings s = settings();
        m_model->setSettings(s);
        // The rise of a section counts in low pressure only.
        m_table->setColumnHidden(route::Rise, s.pressure != route::Pressure::Low);
    });
    // The lengths follow the class (m or km); the route has no pressure that both classes type.
    connect(m_settings, &SettingsFrame::pressureRequested, this, [this](gas::Pressure pressure) {
        switchPressureClass(this, m_settings, m_session, {{{m_model, {route::Length}, {}}}, {}}, pressure, m_status);
    });
    m_model->setSettings(settings());
    m_table->setColumnHidden(route::Rise, false);
    resize(1100, 640);
}

route::Settings RouteScreen::settings() const
{
    return m_settings->settings();
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
    {
        const EditSession::Batch batch(m_session);
        m_settings->setSettings(settings);
        m_model->setSections(sections);
    }
    m_undo->clear();
}

void RouteScreen::showVerdict()
{
    const route::Result &result = m_model->result();
    toolkit::setText(m_verdict, QStringLiteral("结论：") + result.verdict);
    m_profile->show(picture::routeProfile(m_model->settings(), m_model->sections(), result));
    // The setting that cannot be used is marked on its field, with the reason.
    m_settings->showProblem(result.settingProblem.name, result.settingProblem.text);
    QPalette palette = m_verdict->palette();
    palette.setColor(QPalette::WindowText, result.met ? QColor(0, 128, 0) : QColor(200, 0, 0));
    m_verdict->setPalette(palette);
}

void RouteScreen::addSection()
{
    m_editing->addRow({QString::number(m_model->typedRowCount() + 1)}, route::Length);
}

void RouteScreen::insertSection()
{
    m_editing->insertRow(route::Name);
}

void RouteScreen::deleteSections()
{
    m_editing->deleteRows();
}

void RouteScreen::moveUp()
{
    m_editing->moveUp();
}

void RouteScreen::moveDown()
{
    m_editing->moveDown();
}

void RouteScreen::clearCells()
{
    m_editing->clearCells();
}

void RouteScreen::paste(const QString &text)
{
    m_editing->paste(text);
}

void RouteScreen::pasteClipboard()
{
    m_editing->pasteClipboard();
}

void RouteScreen::copyTable()
{
    m_editing->copyTable();
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
    QList<QStringList> rows;
    for (const route::Section &section : import.sections) {
        QStringList cells;
        for (int column = 0; column < route::kInputColumns; ++column)
            cells << route::sectionField(section, column);
        rows << cells;
    }
    m_editing->replaceRows(rows, QStringLiteral("导入CSV"));
    return true;
}

bool RouteScreen::exportCsv(const QString &path)
{
    return saveFile(this, path,
                    csv::write(route::tableRows(m_model->settings(), m_model->sections(), m_model->result()), true));
}
