#include "shell.h"

#include "login_screen.h"
#include "navigation.h"
#include "screen.h"
#include "screen_factory.h"

#include "appearance.h"
#include "design_file.h"
#include "file_dialog.h"
#include "formula_reference.h"
#include "message_box.h"
#include "project_dialog.h"
#include "work_screen.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

Shell::Shell() = default;

Shell::~Shell()
{
    for (auto &[code, screen] : m_screens)
        delete screen;
    delete m_formulaReference;
}

void Shell::start()
{
    toolkit::useSimplifiedChineseFont();
    toolkit::useChineseQtTexts();
    open(QStringLiteral("hy"), nullptr, false);
}

QWidget *Shell::screen(const QString &code) const
{
    const auto it = m_screens.find(code);
    return it == m_screens.end() ? nullptr : it->second;
}

Screen *Shell::ensure(const QString &code)
{
    if (const auto it = m_screens.find(code); it != m_screens.end())
        return it->second;
    Screen *screen = createScreen(code);
    if (!screen)
        return nullptr;
    m_screens.emplace(code, screen);
    wire(screen);
    screen->Form_Load();

    screen->adjustSize();
    if (const QScreen *display = QGuiApplication::primaryScreen()) {
        QRect frame = screen->frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        screen->move(frame.topLeft());
    }
    return screen;
}

void Shell::wire(Screen *screen)
{
    const QString code = screen->objectName();
    for (const NavigationRow &row : navigationTable()) {
        if (code != QLatin1String(row.screen))
            continue;
        const QString control = QString::fromUtf8(row.control);
        const NavigationRow *r = &row;
        auto go = [this, r, screen] { follow(*r, screen); };
        if (auto *login = qobject_cast<LoginScreen *>(screen); login && control == QLatin1String("Command1")) {
            QObject::connect(login, &LoginScreen::loginSucceeded, login, go);
        } else if (auto *button = screen->findChild<QAbstractButton *>(control)) {
            QObject::connect(button, &QAbstractButton::clicked, screen, go);
        } else if (auto *action = screen->findChild<QAction *>(control)) {
            QObject::connect(action, &QAction::triggered, screen, go);
        }
    }
    QObject::connect(screen, &Screen::closeRequested, screen, [this, screen] { closeRequested(screen); });
    addFileActions(screen);
}

void Shell::addFileActions(Screen *screen)
{
    const QString code = screen->objectName();
    // The menu items of the main menu, found by their captions.
    auto connectItem = [screen](const QString &caption, auto handler) {
        if (auto *action = screen->findChild<QAction *>(caption))
            QObject::connect(action, &QAction::triggered, screen, handler);
    };
    connectItem(QStringLiteral("打开设计..."), [this, screen] { openDesignFrom(screen); });
    connectItem(QStringLiteral("保存设计..."), [this, screen] { saveDesignFrom(screen); });
    connectItem(QStringLiteral("计算书..."), [this, screen] { previewReport(screen, {}); });
    connectItem(QStringLiteral("项目信息..."), [this, screen] { editProject(screen); });
    connectItem(QStringLiteral("公式说明"), [this] { showFormulaReference(); });
    if (!dynamic_cast<WorkScreen *>(screen))
        return;
    // The same keys on every calculation screen; Ctrl+P reports that screen alone.
    auto shortcut = [screen](const QKeySequence &keys, auto handler) {
        auto *action = new QAction(screen);
        action->setShortcut(keys);
        screen->addAction(action);
        QObject::connect(action, &QAction::triggered, screen, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), [this, screen] { openDesignFrom(screen); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this, screen] { saveFrom(screen); });
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this, screen] { saveDesignFrom(screen); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this, screen, code] { previewReport(screen, {code}); });
}

namespace {
const QString kDesignFilter = QStringLiteral("Velmora 设计文件 (*.velmora)");
} // namespace

void Shell::openDesignFrom(QWidget *parent)
{
    const QString path
        = chooseFile(parent, {FileDialogRequest::Mode::Open, QStringLiteral("打开设计"), kDesignFilter, {}});
    if (path.isEmpty())
        return;
    // Work typed since the design was last saved, opened or started is not replaced unasked.
    if (hasUnsavedWork()
        && !askQuestion(parent, QStringLiteral("当前设计尚未保存，仍要打开吗？"), QStringLiteral("打开"),
                        QStringLiteral("取消")))
        return;
    openDesign(path);
}

bool Shell::hasUnsavedWork() const
{
    // Until a design is saved or opened, the one kept is the one every screen starts with.
    const QByteArray kept = m_keptDesign.isEmpty() ? design::write(design::initial()) : m_keptDesign;
    return design::write(typedDesign()) != kept;
}

void Shell::saveFrom(QWidget *parent)
{
    if (m_designPath.isEmpty())
        saveDesignFrom(parent);
    else
        saveDesign(m_designPath);
}

void Shell::editProject(QWidget *parent)
{
    if (const std::optional<design::Project> project = askProject(parent, m_project))
        m_project = *project;
}

void Shell::saveDesignFrom(QWidget *parent)
{
    const QString suggested = m_designPath.isEmpty() ? QStringLiteral("设计.velmora") : m_designPath;
    QString path
        = chooseFile(parent, {FileDialogRequest::Mode::Save, QStringLiteral("保存设计"), kDesignFilter, suggested});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".velmora");
    saveDesign(path);
}

bool Shell::saveDesign(const QString &path)
{
    const QByteArray bytes = design::write(typedDesign());
    if (!saveFile(QApplication::activeWindow(), path, bytes, QStringLiteral("设计")))
        return false;
    m_designPath = path;
    m_keptDesign = bytes;
    return true;
}

bool Shell::openDesign(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showMessage(QApplication::activeWindow(), QStringLiteral("无法打开设计“%1”：%2").arg(name, file.errorString()));
        return false;
    }
    // Read at most one byte past the limit: a larger file is refused without being read whole.
    const design::Read read = design::read(file.read(design::kMaxSize + 1));
    if (!read.ok()) {
        showMessage(QApplication::activeWindow(), QStringLiteral("无法打开设计“%1”：%2").arg(name, read.error));
        return false;
    }
    for (auto it = read.design.screens.begin(); it != read.design.screens.end(); ++it) {
        if (auto *work = dynamic_cast<WorkScreen *>(ensure(it.key())))
            work->loadState(it.value());
    }
    m_project = read.design.project;
    m_designPath = path;
    m_keptDesign = design::write(typedDesign());
    return true;
}

design::Design Shell::typedDesign() const
{
    design::Design d = design::initial();
    d.project = m_project;
    for (const auto &[code, screen] : m_screens) {
        if (const auto *work = dynamic_cast<const WorkScreen *>(screen))
            d.screens[code] = work->typedState();
    }
    return d;
}

report::Report Shell::currentReport(const QStringList &codes) const
{
    QMap<QString, design::Values> screens = typedDesign().screens;
    if (!codes.isEmpty())
        screens.removeIf([&codes](const auto &it) { return !codes.contains(it.key()); });
    return report::fromDesign(m_designPath.isEmpty() ? QString() : QFileInfo(m_designPath).fileName(), screens,
                              m_project);
}

bool Shell::writeReport(const QString &pdfPath)
{
    QString error;
    if (!report::writePdf(currentReport(), pdfPath, &error)) {
        showMessage(QApplication::activeWindow(),
                    QStringLiteral("无法写入计算书“%1”：%2").arg(QFileInfo(pdfPath).fileName(), error));
        return false;
    }
    return true;
}

void Shell::previewReport(QWidget *parent, const QStringList &codes)
{
    const report::Report r = currentReport(codes);
    // A PDF beside the design, named after it.
    const QFileInfo design(m_designPath);
    const QString pdf = m_designPath.isEmpty()
        ? QStringLiteral("计算书.pdf")
        : design.dir().filePath(design.completeBaseName() + QStringLiteral(".pdf"));
    showPrintPreview(parent, {QStringLiteral("计算书"), pdf},
                     [r](QPagedPaintDevice *device) { report::render(r, device); });
}

void Shell::showFormulaReference()
{
    if (!m_formulaReference)
        m_formulaReference = new FormulaReference;
    m_formulaReference->show();
    m_formulaReference->raise();
    m_formulaReference->activateWindow();
}

void Shell::follow(const NavigationRow &row, Screen *from)
{
    switch (row.effect) {
    case NavigationEffect::Open:
        open(QString::fromUtf8(row.target), from, false);
        break;
    case NavigationEffect::OpenHideFirst:
        open(QString::fromUtf8(row.target), from, true);
        break;
    case NavigationEffect::EndProgram:
        endProgram(from);
        break;
    }
}

void Shell::open(const QString &code, Screen *from, bool hideFirst)
{
    if (m_ended)
        return;
    Screen *target = ensure(code);
    if (!target || target == from)
        return;
    if (from && hideFirst)
        from->hide();
    target->show();
    target->activateWindow();
    if (from && !hideFirst)
        from->hide();
}

// The window's own close button does what the screen's back button does; on
// the login screen and the main menu it ends the program, so that no hidden
// program is ever left without a window.
void Shell::closeRequested(Screen *screen)
{
    const QString code = screen->objectName();
    for (const NavigationRow &row : navigationTable()) {
        if (row.back && code == QLatin1String(row.screen)) {
            follow(row, screen);
            return;
        }
    }
    endProgram(screen);
}

void Shell::endProgram(QWidget *parent)
{
    if (m_ended)
        return;
    // A design that is now kept in files is not lost by a click on "退出".
    if (hasUnsavedWork()
        && !askQuestion(parent, QStringLiteral("当前设计尚未保存，仍要退出吗？"), QStringLiteral("退出"),
                        QStringLiteral("取消")))
        return;
    m_ended = true;
    for (auto &[code, screen] : m_screens)
        screen->closeForExit();
    if (m_formulaReference)
        m_formulaReference->close();
    QCoreApplication::quit();
}
