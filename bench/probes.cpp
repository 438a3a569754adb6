#include "probes.h"

#include "message_box.h"
#include "offscreen.h"
#include "screen.h"
#include "screen_factory.h"
#include "shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QVBoxLayout>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace probe {

namespace {

using offscreen::waitExposed;
using Clock = std::chrono::steady_clock;

// A text in the program's own script, so that the bare dialog loads the same CJK
// font as the program does: the floor of memory for any Qt program that shows Chinese.
const QString kDialogText = QStringLiteral("欢迎使用！");

double nanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

// Peak resident set size of this process, KiB.
double peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    }
    return -1;
}

QDialog *bareDialog()
{
    auto *dialog = new QDialog;
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(kDialogText));
    dialog->show();
    return dialog;
}

void click(QWidget *screen, const char *name)
{
    if (auto *button = screen->findChild<QAbstractButton *>(QString::fromUtf8(name)))
        button->click();
    else if (auto *action = screen->findChild<QAction *>(QString::fromUtf8(name)))
        action->trigger();
}

// Logs in on the login screen and waits for the main menu; nullptr when that fails.
QWidget *logIn(Shell &shell)
{
    QWidget *hy = shell.screen(QStringLiteral("hy"));
    if (!hy || !waitExposed(hy))
        return nullptr;
    hy->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("wmk"));
    hy->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("862047"));
    click(hy, "Command1");
    QWidget *xz = shell.screen(QStringLiteral("xz"));
    return xz && waitExposed(xz) ? xz : nullptr;
}

// Creates a screen as the shell does the first time it is opened, shows it and
// waits for its first frame.
bool createAndShow(const QString &code)
{
    Screen *screen = createScreen(code);
    if (!screen)
        return false;
    screen->Form_Load();
    screen->adjustSize();
    screen->show();
    return waitExposed(screen);
}

// How the main menu opens each screen; the foreword has no way in and is made directly.
struct Opener
{
    const char *code;
    const char *control;
};
constexpr Opener kOpeners[]{
    {"jb", "Command1"},   {"ll", "Command2"},  {"yl", "Command3"}, {"fxgj", "Command4"}, {"xd", "Command5"},
    {"gyxd", "Command6"}, {"lll", "Command7"}, {"yt", "Command8"}, {"bh", "Command9"},   {"gy", "关于"},
};

bool openEveryScreen(Shell &shell)
{
    QWidget *xz = logIn(shell);
    if (!xz)
        return false;
    for (const Opener &o : kOpeners) {
        click(xz, o.control);
        QWidget *screen = shell.screen(QString::fromUtf8(o.code));
        if (!screen || !screen->isVisible() || !waitExposed(screen))
            return false;
        screen->hide();
        xz->show();
    }
    return createAndShow(QStringLiteral("cs"));
}

int print(double value)
{
    if (value < 0)
        return 1;
    std::printf("%.0f\n", value);
    return 0;
}

// Starts a program, waits for it and returns the one number that it printed.
std::optional<double> numberFrom(const QString &program, const QStringList &arguments, QString *error)
{
    const QString what = (QStringList{QFileInfo(program).fileName()} + arguments).join(QLatin1Char(' '));
    QProcess child;
    child.start(program, arguments);
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        *error = QStringLiteral("%1 did not finish").arg(what);
        return std::nullopt;
    }
    bool ok = false;
    const double value = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !ok) {
        *error = QStringLiteral("%1 failed: %2").arg(what, QString::fromLocal8Bit(child.readAllStandardError()));
        return std::nullopt;
    }
    return value;
}

} // namespace

const QStringList &screenCodes()
{
    static const QStringList codes{QStringLiteral("hy"),   QStringLiteral("xz"),   QStringLiteral("xd"),
                                   QStringLiteral("gyxd"), QStringLiteral("fxgj"), QStringLiteral("ll"),
                                   QStringLiteral("lll"),  QStringLiteral("yl"),   QStringLiteral("yt"),
                                   QStringLiteral("jb"),   QStringLiteral("bh"),   QStringLiteral("gy"),
                                   QStringLiteral("cs")};
    return codes;
}

bool requested(int argc, char *argv[])
{
    return argc >= 3 && std::strcmp(argv[1], "--probe") == 0;
}

int run(int argc, char *argv[])
{
    const QByteArray name = argv[2];
    const QString code = argc >= 4 ? QString::fromUtf8(argv[3]) : QString();
    // No probe may ever wait on a message box.
    setMessageHandler([](const QString &text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });

    // From the construction of QApplication to the login screen's first frame.
    if (name == "startup-app") {
        const Clock::time_point start = Clock::now();
        QApplication app(argc, argv);
        Shell shell;
        shell.start();
        const bool ok = waitExposed(shell.screen(QStringLiteral("hy")));
        return ok ? print(nanosecondsSince(start)) : 1;
    }

    QApplication app(argc, argv);
    // A screen made as the first window of the process, before any font is loaded.
    if (name == "create-first") {
        const Clock::time_point start = Clock::now();
        const bool ok = createAndShow(code);
        return ok ? print(nanosecondsSince(start)) : 1;
    }
    // A screen made first thing after a login, as a user meets it.
    if (name == "create-after-login") {
        Shell shell;
        shell.start();
        if (!logIn(shell))
            return 1;
        const Clock::time_point start = Clock::now();
        const bool ok = createAndShow(code);
        return ok ? print(nanosecondsSince(start)) : 1;
    }
    if (name == "memory-app") {
        Shell shell;
        shell.start();
        return openEveryScreen(shell) ? print(peakResidentKiB()) : 1;
    }
    if (name == "memory-dialog") {
        QDialog *dialog = bareDialog();
        const bool ok = waitExposed(dialog);
        const double peak = peakResidentKiB();
        delete dialog;
        return ok ? print(peak) : 1;
    }
    std::fprintf(stderr, "unknown probe %s\n", name.constData());
    return 2;
}

std::optional<double> spawn(const QStringList &arguments, QString *error)
{
    return numberFrom(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--probe")} + arguments,
                      error);
}

std::optional<double> plainLoginStartup(QString *error)
{
    return numberFrom(QCoreApplication::applicationDirPath() + QStringLiteral("/velmora_bench_plain_login"), {}, error);
}

} // namespace probe
