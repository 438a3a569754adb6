// Logs in, fills every calculation screen with a worked case, presses "计算"
// and saves a PNG of each of the thirteen screens into the folder it is given.
#include "information_screens.h"
#include "message_box.h"
#include "shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>

#include <cstdio>

namespace {

struct Entry
{
    const char *code;
    const char *opener; // main-menu button, or menu item caption
    QList<QPair<const char *, const char *>> fields;
    QList<const char *> clicks; // before "计算"
    bool calculate;
};

void save(QWidget *screen, const QString &folder, bool &ok)
{
    const QString path = QDir(folder).filePath(screen->objectName() + QStringLiteral(".png"));
    if (!screen->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok = false;
    }
}

QWidget *visibleScreen()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->objectName().isEmpty())
            return w;
    }
    return nullptr;
}

void click(QWidget *screen, const char *name)
{
    if (auto *b = screen->findChild<QAbstractButton *>(QString::fromUtf8(name)))
        b->click();
    else if (auto *a = screen->findChild<QAction *>(QString::fromUtf8(name)))
        a->trigger();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(folder);
    setMessageHandler([](const QString &text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); });

    bool ok = true;
    Shell shell;
    shell.start();
    QWidget *hy = shell.screen(QStringLiteral("hy"));
    hy->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("wmk"));
    hy->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("862047"));
    save(hy, folder, ok);
    click(hy, "Command1");
    QWidget *xz = shell.screen(QStringLiteral("xz"));
    save(xz, folder, ok);

    const QList<Entry> entries{
        {"xd",
         "Command5",
         {{"Text2", "100"}, {"Text3", "1.5E-5"}, {"Text4", "288"}, {"Text5", "0.72"}, {"Text1", "2"}},
         {"Check1", "Option4"},
         true},
        {"gyxd",
         "Command6",
         {{"Text1", "400"},
          {"Text3", "2"},
          {"Text5", "0.72"},
          {"Text6", "1.5E-5"},
          {"Text7", "288"},
          {"Text8", "1000"},
          {"Text4", "300"}},
         {"Check1", "Option4"},
         true},
        {"fxgj",
         "Command4",
         {{"Text1", "1"}, {"Text2", "2"}, {"Text3", "0.000015"}, {"Text4", "0.7"}, {"Text5", "288"}},
         {},
         true},
        {"ll", "Command2", {{"Text1", "10000"}, {"Text2", "0.9"}, {"Text3", "2930000"}, {"Text4", "35000"}}, {}, true},
        {"lll", "Command7", {{"Text1", "150"}, {"Text2", "1.5"}}, {}, true},
        {"yl", "Command3", {{"Text1", "2500"}, {"Text2", "1500"}, {"Text3", "400"}}, {}, true},
        {"yt", "Command8", {{"Text1", "0.7"}, {"Text2", "10"}}, {}, true},
        {"jb",
         "Command1",
         {{"Text1", "10"}, {"Text2", "0.75"}, {"Text3", "288"}, {"Text4", "2"}, {"Text5", "20"}},
         {},
         true},
        {"bh", "Command9", {{"Text1", "500"}, {"Text2", "4"}, {"Text3", "1"}}, {}, true},
        {"gy", "关于", {}, {}, false},
    };
    for (const Entry &e : entries) {
        click(xz, e.opener);
        QWidget *screen = visibleScreen();
        if (!screen || screen->objectName() != QLatin1String(e.code)) {
            std::fprintf(stderr, "could not open %s\n", e.code);
            return 1;
        }
        for (const auto &[name, text] : e.fields)
            screen->findChild<QLineEdit *>(QString::fromUtf8(name))->setText(QString::fromUtf8(text));
        for (const char *name : e.clicks)
            click(screen, name);
        if (e.calculate)
            click(screen, "Command1");
        save(screen, folder, ok);
        screen->hide();
        xz->show();
    }

    // No path of the program shows the foreword; make one to picture it.
    ForewordScreen foreword;
    foreword.show();
    save(&foreword, folder, ok);
    return ok ? 0 : 1;
}
