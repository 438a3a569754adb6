#include "gui_test.h"
#include "shell.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void startShowsOnlyTheLoginScreen()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        QVERIFY(hy);
        QVERIFY(QTest::qWaitForWindowExposed(hy));
        QCOMPARE(hy->windowTitle(), QStringLiteral("欢迎使用！"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("hy"));
        for (const char *code : {"xz", "xd", "gyxd", "fxgj", "ll", "lll", "yl", "yt", "jb", "bh", "gy", "cs"})
            QVERIFY2(!s.shell->screen(QString::fromUtf8(code)), code);
        QCOMPARE(textOf(hy, "Label3"), QStringLiteral("Velmora"));
        QCOMPARE(textOf(hy, "Label4"), QStringLiteral("Orvane"));
        QCOMPARE(qobject_cast<QLineEdit *>(hy->findChild<QLineEdit *>(QStringLiteral("Text2")))->echoMode(),
                 QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), hy->findChild<QWidget *>(QStringLiteral("Text1")));
    }

    void loginChecksTheExactPair_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("stored pair") << "wmk" << "862047" << true;
        QTest::newRow("user name in capitals") << "WMK" << "862047" << false;
        QTest::newRow("user name with trailing blank") << "wmk " << "862047" << false;
        QTest::newRow("password with leading blank") << "wmk" << " 862047" << false;
        QTest::newRow("password as a number with a point") << "wmk" << "862047.0" << false;
        QTest::newRow("partial password") << "wmk" << "86204" << false;
        QTest::newRow("swapped") << "862047" << "wmk" << false;
        QTest::newRow("both empty") << "" << "" << false;
    }

    void loginChecksTheExactPair()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        typeInto(hy, "Text1", user);
        typeInto(hy, "Text2", password);
        clickOn(hy, "Command1");
        if (accepted) {
            QCOMPARE(s.messages.take(), QStringList());
            QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
            QCOMPARE(s.shell->screen(QStringLiteral("xz"))->windowTitle(), QStringLiteral("选择计算项目"));
        } else {
            QCOMPARE(s.messages.take(), QStringList{QStringLiteral("用户名/密码不正确")});
            QCOMPARE(s.visibleScreens(), QStringLiteral("hy"));
            QVERIFY(!s.shell->screen(QStringLiteral("xz")));
        }
        QCOMPARE(hy->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), user);
        QCOMPARE(hy->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), password);
    }

    void failedLoginThenCorrectedOneLogsIn()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        typeInto(hy, "Text1", QStringLiteral("wmk"));
        typeInto(hy, "Text2", QStringLiteral("123"));
        clickOn(hy, "Command1");
        clickOn(hy, "Command1");
        QCOMPARE(s.messages.take().size(), 2);
        typeInto(hy, "Text2", QStringLiteral("862047"));
        clickOn(hy, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
    }

    void enterInAFieldPressesNoButton()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        QVERIFY(QTest::qWaitForWindowExposed(hy));
        typeInto(hy, "Text1", QStringLiteral("wmk"));
        typeInto(hy, "Text2", QStringLiteral("862047"));
        for (const char *field : {"Text1", "Text2"}) {
            auto *box = hy->findChild<QLineEdit *>(QString::fromUtf8(field));
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QCOMPARE(s.visibleScreens(), QStringLiteral("hy"));
        QCOMPARE(s.messages.take(), QStringList());
    }

    void loginTabOrderCycles()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        QCOMPARE(tabOrder(hy, "Text1"), (QStringList{"Text1", "Text2", "Command1"}));
    }

    void escapeAndCloseNeverLeaveTheProgramWithoutAWindow()
    {
        Session s;
        QWidget *xz = s.login();
        QTest::keyClick(xz, Qt::Key_Escape);
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        QWidget *yl = s.openFromMenu("Command3");
        QTest::keyClick(yl, Qt::Key_Escape);
        QCOMPARE(s.visibleScreens(), QStringLiteral("yl"));
        yl->close();
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        s.openFromMenu("Command5");
        QWidget *xd = s.shell->screen(QStringLiteral("xd"));
        xd->close();
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        chooseMenuItem(xz, QStringLiteral("关于"));
        s.shell->screen(QStringLiteral("gy"))->close();
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        QVERIFY(!s.shell->ended());
        xz->close();
        QVERIFY(s.shell->ended());
        QCOMPARE(s.visibleScreens(), QString());
    }

    void closingTheLoginScreenEndsTheProgram()
    {
        Session s;
        s.shell->screen(QStringLiteral("hy"))->close();
        QVERIFY(s.shell->ended());
        QCOMPARE(s.visibleScreens(), QString());
    }

    void mainMenuOpensEveryScreenAndComesBack_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("back");
        QTest::newRow("button jb") << "Command1" << "jb" << "室内局部压力计算" << "Command2";
        QTest::newRow("button ll") << "Command2" << "ll" << "流量计算-不均匀系数法" << "Command2";
        QTest::newRow("button yl") << "Command3" << "yl" << "允许单位压力降" << "Command2";
        QTest::newRow("button fxgj") << "Command4" << "fxgj" << "校验低压层流管段管径" << "Command2";
        QTest::newRow("button xd") << "Command5" << "xd" << "低压管段水力计算" << "Command4";
        QTest::newRow("button gyxd") << "Command6" << "gyxd" << "中高压管段水力计算" << "Command4";
        QTest::newRow("button lll") << "Command7" << "lll" << "流量计算-同时工作系数法" << "Command2";
        QTest::newRow("button yt") << "Command8" << "yt" << "附加压头计算" << "Command2";
        QTest::newRow("button bh") << "Command9" << "bh" << "Form1" << "Command2";
        QTest::newRow("item jb") << "室内局部压力计算" << "jb" << "室内局部压力计算" << "Command2";
        QTest::newRow("item ll") << "不均匀系数法" << "ll" << "流量计算-不均匀系数法" << "Command2";
        QTest::newRow("item yl") << "单位压降计算" << "yl" << "允许单位压力降" << "Command2";
        QTest::newRow("item fxgj") << "校验低压层流管段管径" << "fxgj" << "校验低压层流管段管径" << "Command2";
        QTest::newRow("item xd") << "低压管段预选管径" << "xd" << "低压管段水力计算" << "Command4";
        QTest::newRow("item gyxd") << "中高压管段预选管径" << "gyxd" << "中高压管段水力计算" << "Command4";
        QTest::newRow("item lll") << "同时工作系数法" << "lll" << "流量计算-同时工作系数法" << "Command2";
        QTest::newRow("item yt") << "附加压头" << "yt" << "附加压头计算" << "Command2";
        QTest::newRow("item gy") << "关于" << "gy" << "关于" << "Command1";
    }

    void mainMenuOpensEveryScreenAndComesBack()
    {
        QFETCH(QString, control);
        QFETCH(QString, code);
        QFETCH(QString, caption);
        QFETCH(QString, back);
        Session s;
        QWidget *xz = s.login();
        if (control.startsWith(QLatin1String("Command")))
            clickOn(xz, control.toUtf8().constData());
        else
            chooseMenuItem(xz, control);
        QWidget *screen = s.shell->screen(code);
        QVERIFY(screen);
        QCOMPARE(s.visibleScreens(), code);
        QCOMPARE(screen->windowTitle(), caption);
        QVERIFY(QTest::qWaitForWindowExposed(screen));
        clickOn(screen, back.toUtf8().constData());
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QVERIFY(!s.shell->screen(QStringLiteral("hy"))->isVisible());
    }

    void shortcutsOpenTheirScreens_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("code");
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "ll";
        QTest::newRow("Ctrl+T") << int(Qt::Key_T) << "lll";
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << "yl";
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << "jb";
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << "yt";
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << "xd";
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << "gyxd";
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << "fxgj";
    }

    void shortcutsOpenTheirScreens()
    {
        QFETCH(int, key);
        QFETCH(QString, code);
        Session s;
        QWidget *xz = s.login();
        QVERIFY(QTest::qWaitForWindowExposed(xz));
        QApplication::setActiveWindow(xz);
        QTest::keyClick(xz, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(s.visibleScreens(), code);
    }

    void exitEndsTheProgramFromTheMainMenu()
    {
        Session s;
        QWidget *xz = s.login();
        s.openFromMenu("Command5");
        clickOn(s.shell->screen(QStringLiteral("xd")), "Command4");
        QVERIFY(QTest::qWaitForWindowExposed(xz));
        QApplication::setActiveWindow(xz);
        QTest::keyClick(xz, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(s.shell->ended());
        QCOMPARE(s.visibleScreens(), QString());
    }

    void inertMenuItemsDoNothing()
    {
        Session s;
        QWidget *xz = s.login();
        for (const char *caption : {"修改密码", "帮助主题"}) {
            auto *item = xz->findChild<QAction *>(QString::fromUtf8(caption));
            QVERIFY(item);
            item->trigger();
        }
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QVERIFY(!s.shell->ended());
    }

    void crossLinksOpenTheirScreensAndBackReturnsToTheMenu_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("back");
        QTest::newRow("gyxd to xd") << "gyxd" << "Command6" << "低压管段水力计算" << "xd" << "Command4";
        QTest::newRow("gyxd to fxgj") << "gyxd" << "Command6" << "校验低压层流管段管径" << "fxgj" << "Command2";
        QTest::newRow("xd to gyxd") << "xd" << "Command5" << "中高压管段水力计算" << "gyxd" << "Command4";
        QTest::newRow("xd to fxgj") << "xd" << "Command5" << "校验低压层流管段管径" << "fxgj" << "Command2";
        QTest::newRow("fxgj to xd") << "fxgj" << "Command4" << "低压管段水力计算" << "xd" << "Command4";
        QTest::newRow("fxgj to gyxd") << "fxgj" << "Command4" << "中高压管段水力计算" << "gyxd" << "Command4";
        QTest::newRow("ll to lll") << "ll" << "Command2" << "同时工作系数法" << "lll" << "Command2";
        QTest::newRow("lll to ll") << "lll" << "Command7" << "不均匀系数法" << "ll" << "Command2";
    }

    void crossLinksOpenTheirScreensAndBackReturnsToTheMenu()
    {
        QFETCH(QString, from);
        QFETCH(QString, menuButton);
        QFETCH(QString, item);
        QFETCH(QString, to);
        QFETCH(QString, back);
        Session s;
        QWidget *origin = s.openFromMenu(menuButton.toUtf8().constData());
        QCOMPARE(origin->objectName(), from);
        chooseMenuItem(origin, item);
        QCOMPARE(s.visibleScreens(), to);
        clickOn(s.shell->screen(to), back.toUtf8().constData());
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QVERIFY(s.shell->screen(from));
        QVERIFY(!s.shell->screen(from)->isVisible());
    }

    void screensAreCreatedOnceAndKeepTheirState()
    {
        Session s;
        QWidget *yl = s.openFromMenu("Command3");
        typeInto(yl, "Text1", QStringLiteral("2500"));
        clickOn(yl, "Command2");
        QWidget *again = s.openFromMenu("Command3");
        QCOMPARE(again, yl);
        QCOMPARE(yl->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("2500"));
        // The login screen is never shown again after a successful login.
        QVERIFY(!s.shell->screen(QStringLiteral("hy"))->isVisible());
    }

    void fixedScreensHaveNoMinimiseOrMaximiseButtons()
    {
        Session s;
        s.login();
        for (const char *button : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6",
                                   "Command7", "Command8", "Command9"}) {
            QWidget *screen = s.openFromMenu(button);
            const Qt::WindowFlags flags = screen->windowFlags();
            const bool sizeable = screen->objectName() == QLatin1String("bh");
            QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), sizeable);
            QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), sizeable);
            clickOn(screen, backButtonOf(screen->objectName()));
        }
    }

    void severalShellsOneAfterAnother()
    {
        for (int i = 0; i < 3; ++i) {
            Session s;
            s.openFromMenu("Command5");
            QCOMPARE(s.visibleScreens(), QStringLiteral("xd"));
        }
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
