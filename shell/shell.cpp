#include "shell.h"

#include "login_screen.h"
#include "navigation.h"
#include "screen.h"
#include "screen_factory.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

Shell::Shell() = default;

Shell::~Shell()
{
    for (auto &[code, screen] : m_screens)
        delete screen;
}

void Shell::start()
{
    toolkit::useSimplifiedChineseFont();
    toolkit::usePaintedFrames();
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
        endProgram();
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
    endProgram();
}

void Shell::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    for (auto &[code, screen] : m_screens)
        screen->closeForExit();
    QCoreApplication::quit();
}
