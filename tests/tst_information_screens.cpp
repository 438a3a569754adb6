#include "appearance.h"
#include "gui_test.h"
#include "information_screens.h"
#include "navigation.h"
#include "shell.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class InformationScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void aboutOpensFromTheHelpMenuAndReturnsToTheMainMenu()
    {
        Session s;
        QWidget *xz = s.login();
        auto *help = xz->findChild<QMenu *>(QStringLiteral("帮助"));
        QVERIFY(help);
        QAction *about = help->findChild<QAction *>(QStringLiteral("关于"));
        QVERIFY(about);
        QVERIFY(help->actions().contains(about));

        about->trigger();
        QWidget *gy = s.shell->screen(QStringLiteral("gy"));
        QVERIFY(gy);
        QCOMPARE(s.visibleScreens(), QStringLiteral("gy"));

        clickOn(gy, "Command1");
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        about->trigger();
        QCOMPARE(s.shell->screen(QStringLiteral("gy")), gy);
        QCOMPARE(s.visibleScreens(), QStringLiteral("gy"));
        QVERIFY2(!s.shell->screen(QStringLiteral("cs")), "no path of the program opens the foreword");
    }

    void aboutShowsTitleBannerAndContact()
    {
        Session s;
        chooseMenuItem(s.login(), QStringLiteral("关于"));
        QWidget *gy = s.shell->screen(QStringLiteral("gy"));
        QCOMPARE(textsOf(gy, {"Label1", "Label2", "Label4"}), (QStringList{"Velmora", "Orvane", "交流学习"}));
        QVERIFY(!textOf(gy, "Label3").isEmpty());
        auto *frame = gy->findChild<QGroupBox *>(QStringLiteral("Frame1"));
        QVERIFY(frame);
        QCOMPARE(frame->title(), QString());
        for (const char *inside : {"Label3", "Label4", "Command1"})
            QVERIFY2(frame->isAncestorOf(gy->findChild<QWidget *>(QString::fromUtf8(inside))), inside);
        QCOMPARE(gy->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("确定"));
        QCOMPARE(gy->findChild<QWidget *>(QStringLiteral("Label1"))->font().families(), toolkit::heiti().families());
    }

    void forewordIsSignedAndLeadsToTheLogin()
    {
        ForewordScreen cs;
        QCOMPARE(cs.objectName(), QStringLiteral("cs"));
        QCOMPARE(cs.windowTitle(), QStringLiteral("写在前面的话"));
        const QString note = textOf(&cs, "Label1");
        QVERIFY(note.count(QLatin1Char('\n')) > 3);
        QVERIFY(note.trimmed().endsWith(QStringLiteral("Velmora 开发组")));
        auto *understood = cs.control<QPushButton>(QStringLiteral("Command1"));
        QVERIFY(understood);
        QCOMPARE(understood->text(), QStringLiteral("了解"));

        // The shell wires the button by its name; the foreword is never opened,
        // but its button must still lead to the login screen.
        const NavigationRow *row = nullptr;
        for (const NavigationRow &r : navigationTable()) {
            if (QLatin1String(r.screen) == QLatin1String("cs"))
                row = &r;
        }
        QVERIFY(row);
        QCOMPARE(QString::fromUtf8(row->control), understood->objectName());
        QCOMPARE(QString::fromUtf8(row->target), QStringLiteral("hy"));
    }
};

QTEST_MAIN(InformationScreensTest)
#include "tst_information_screens.moc"
