// Logs in, fills every calculation screen with a worked case, presses "计算"
// and saves a PNG of each screen into the folder it is given.
#include "information_screens.h"
#include "message_box.h"
#include "network/network_editor.h"
#include "network/network_screen.h"
#include "network/network_view.h"
#include "route/route_screen.h"
#include "shell.h"
#include "worked_cases.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>

#include <cstdio>

namespace {

void save(QWidget *screen, const QString &folder, bool &ok, const QString &name = QString())
{
    const QString path = QDir(folder).filePath((name.isEmpty() ? screen->objectName() : name) + QStringLiteral(".png"));
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

    for (const WorkedInputs &e : workedInputs()) {
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
        click(screen, "Command1");
        save(screen, folder, ok);
        screen->hide();
        xz->show();
    }

    // A field that is not read whole: "12 000" people, read as 12 and marked.
    click(xz, "Command2");
    if (QWidget *ll = visibleScreen(); ll && ll->objectName() == QLatin1String("ll")) {
        ll->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("12 000"));
        click(ll, "Command1");
        save(ll, folder, ok, QStringLiteral("ll-read-as"));
        ll->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open ll\n");
        ok = false;
    }

    // The route table with the worked low-pressure route: five sections, a riser among them.
    click(xz, "管网水力计算表");
    if (auto *gw = qobject_cast<RouteScreen *>(visibleScreen())) {
        for (const auto &[name, text] : {std::pair{"density", "0.72"}, std::pair{"viscosity", "1.5E-5"},
                                         std::pair{"temperature", "288"}, std::pair{"allowableDrop", "400"}})
            gw->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
        gw->paste(QStringLiteral("1\t100\t50\t0\t\n2\t80\t40\t0\t\n3\t60\t30\t10\t\n4\t50\t20\t-5\t100\n"
                                 "5\t40\t10\t0\t\n"));
        gw->table()->resizeColumnsToContents();
        gw->resize(1280, 520);
        save(gw, folder, ok);
        gw->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open gw\n");
        ok = false;
    }

    // The network screen with a ring fed from two stations.
    click(xz, "管网计算");
    if (auto *gwjs = qobject_cast<NetworkScreen *>(visibleScreen())) {
        for (const auto &[name, text] : {std::pair{"density", "0.72"}, std::pair{"viscosity", "1.5E-5"},
                                         std::pair{"temperature", "288"}, std::pair{"minPressure", "2800"}})
            gwjs->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
        gwjs->editor()->setActiveTable(network::Table::Nodes);
        gwjs->editor()->paste(QStringLiteral("S1\t\t0\t0\t0\t3000\nS2\t\t0\t400\t0\t2950\nA\t40\t5\t0\t200\n"
                                   "B\t30\t5\t200\t200\nC\t35\t0\t400\t200\nD\t20\t10\t200\t0\n"));
        gwjs->editor()->setActiveTable(network::Table::Pipes);
        gwjs->editor()->paste(QStringLiteral("1\tS1\tA\t200\t150\n2\tA\tB\t200\t100\n3\tB\tC\t200\t100\n"
                                   "4\tC\tS2\t200\t150\n5\tS1\tD\t200\t150\n6\tD\tS2\t200\t150\n"
                                   "7\tD\tB\t200\t80\n"));
        for (const network::Table t : {network::Table::Nodes, network::Table::Pipes})
            gwjs->editor()->table(t)->resizeColumnsToContents();
        gwjs->resize(1700, 800);
        gwjs->editor()->view()->fitAll();
        save(gwjs, folder, ok);
        gwjs->hide();
        xz->show();
    } else {
        std::fprintf(stderr, "could not open gwjs\n");
        ok = false;
    }

    click(xz, "关于");
    if (QWidget *gy = visibleScreen())
        save(gy, folder, ok);

    // No path of the program shows the foreword; make one to picture it.
    ForewordScreen foreword;
    foreword.show();
    save(&foreword, folder, ok);
    return ok ? 0 : 1;
}
