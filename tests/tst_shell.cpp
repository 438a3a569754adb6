#include "gui_test.h"
#include "shell.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
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
        QCOMPARE(textsOf(hy, {"Label3", "Label4"}), (QStringList{"Velmora", "Orvane"}));
        QCOMPARE(hy->findChild<QLineEdit *>(QStringLiteral("Text2"))->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), hy->findChild<QWidget *>(QStringLiteral("Text1")));
    }

    void loginChecksTheExactPair_data()
    {
        // The user name, then the password.
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("stored pair") << QStringList{"wmk", "862047"} << true;
        QTest::newRow("user name in capitals") << QStringList{"WMK", "862047"} << false;
        QTest::newRow("user name with trailing blank") << QStringList{"wmk ", "862047"} << false;
        QTest::newRow("password with leading blank") << QStringList{"wmk", " 862047"} << false;
        QTest::newRow("password as a number with a point") << QStringList{"wmk", "862047.0"} << false;
        QTest::newRow("partial password") << QStringList{"wmk", "86204"} << false;
        QTest::newRow("swapped") << QStringList{"862047", "wmk"} << false;
        QTest::newRow("both empty") << QStringList{"", ""} << false;
    }

    void loginChecksTheExactPair()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, accepted);
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        typeFields(hy, typed);
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
        QCOMPARE((QStringList{boxText(hy, "Text1"), boxText(hy, "Text2")}), typed);
    }

    void failedLoginThenCorrectedOneLogsIn()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        perform(hy, {"Text1=wmk", "Text2=123", "Command1", "Command1"});
        QCOMPARE(s.messages.take().size(), 2);
        perform(hy, {"Text2=862047", "Command1"});
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
    }

    void enterInAFieldPressesNoButton()
    {
        Session s;
        QWidget *hy = s.shell->screen(QStringLiteral("hy"));
        QVERIFY(QTest::qWaitForWindowExposed(hy));
        typeFields(hy, {"wmk", "862047"});
        for (const char *field : {"Text1", "Text2"}) {
            auto *box = hy->findChild<QLineEdit *>(QString::fromUtf8(field));
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter);
        }
        QCOMPARE(s.visibleScreens(), QStringLiteral("hy"));
        QCOMPARE(s.messages.take(), QStringList());
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
        // A button's design name or a menu item's caption, the screen it opens and that screen's caption.
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("caption");
        addTextRow("button jb", {"Command1", "jb", "室内局部压力计算"});
        addTextRow("button ll", {"Command2", "ll", "流量计算-不均匀系数法"});
        addTextRow("button yl", {"Command3", "yl", "允许单位压力降"});
        addTextRow("button fxgj", {"Command4", "fxgj", "校验低压层流管段管径"});
        addTextRow("button xd", {"Command5", "xd", "低压管段水力计算"});
        addTextRow("button gyxd", {"Command6", "gyxd", "中高压管段水力计算"});
        addTextRow("button lll", {"Command7", "lll", "流量计算-同时工作系数法"});
        addTextRow("button yt", {"Command8", "yt", "附加压头计算"});
        addTextRow("button bh", {"Command9", "bh", "Form1"});
        addTextRow("item jb", {"室内局部压力计算", "jb", "室内局部压力计算"});
        addTextRow("item ll", {"不均匀系数法", "ll", "流量计算-不均匀系数法"});
        addTextRow("item yl", {"单位压降计算", "yl", "允许单位压力降"});
        addTextRow("item fxgj", {"校验低压层流管段管径", "fxgj", "校验低压层流管段管径"});
        addTextRow("item xd", {"低压管段预选管径", "xd", "低压管段水力计算"});
        addTextRow("item gyxd", {"中高压管段预选管径", "gyxd", "中高压管段水力计算"});
        addTextRow("item lll", {"同时工作系数法", "lll", "流量计算-同时工作系数法"});
        addTextRow("item yt", {"附加压头", "yt", "附加压头计算"});
        addTextRow("item gy", {"关于", "gy", "关于"});
    }

    void mainMenuOpensEveryScreenAndComesBack()
    {
        QFETCH(QString, control);
        QFETCH(QString, code);
        QFETCH(QString, caption);
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
        clickOn(screen, backButtonOf(code));
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QVERIFY(!s.shell->screen(QStringLiteral("hy"))->isVisible());
    }

    void shortcutsOpenTheirScreens_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("shift");
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "ll" << false;
        QTest::newRow("Ctrl+T") << int(Qt::Key_T) << "lll" << false;
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << "yl" << false;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << "jb" << false;
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << "yt" << false;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << "xd" << false;
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << "gyxd" << false;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << "fxgj" << false;
        QTest::newRow("Ctrl+G") << int(Qt::Key_G) << "gw" << false;
        QTest::newRow("Ctrl+Shift+G") << int(Qt::Key_G) << "gwjs" << true;
    }

    void shortcutsOpenTheirScreens()
    {
        QFETCH(int, key);
        QFETCH(QString, code);
        QFETCH(bool, shift);
        Session s;
        QWidget *xz = s.login();
        QVERIFY(QTest::qWaitForWindowExposed(xz));
        QApplication::setActiveWindow(xz);
        QTest::keyClick(xz, Qt::Key(key), shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
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
        addTextRow("gyxd to xd", {"gyxd", "Command6", "低压管段水力计算", "xd"});
        addTextRow("gyxd to fxgj", {"gyxd", "Command6", "校验低压层流管段管径", "fxgj"});
        addTextRow("xd to gyxd", {"xd", "Command5", "中高压管段水力计算", "gyxd"});
        addTextRow("xd to fxgj", {"xd", "Command5", "校验低压层流管段管径", "fxgj"});
        addTextRow("fxgj to xd", {"fxgj", "Command4", "低压管段水力计算", "xd"});
        addTextRow("fxgj to gyxd", {"fxgj", "Command4", "中高压管段水力计算", "gyxd"});
        addTextRow("ll to lll", {"ll", "Command2", "同时工作系数法", "lll"});
        addTextRow("lll to ll", {"lll", "Command7", "不均匀系数法", "ll"});
    }

    void crossLinksOpenTheirScreensAndBackReturnsToTheMenu()
    {
        QFETCH(QString, from);
        QFETCH(QString, menuButton);
        QFETCH(QString, item);
        QFETCH(QString, to);
        Session s;
        QWidget *origin = s.openFromMenu(menuButton.toUtf8().constData());
        QCOMPARE(origin->objectName(), from);
        chooseMenuItem(origin, item);
        QCOMPARE(s.visibleScreens(), to);
        clickOn(s.shell->screen(to), backButtonOf(to));
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QVERIFY(s.shell->screen(from));
        QVERIFY(!s.shell->screen(from)->isVisible());
    }

    void screensAreCreatedOnceAndKeepTheirState()
    {
        Session s;
        QWidget *yl = s.openFromMenu("Command3");
        perform(yl, {"Text1=2500", "Command2"});
        QCOMPARE(s.openFromMenu("Command3"), yl);
        QCOMPARE(boxText(yl, "Text1"), QStringLiteral("2500"));
        // The login screen is never shown again after a successful login.
        QVERIFY(!s.shell->screen(QStringLiteral("hy"))->isVisible());
    }

    void fixedScreensHaveNoMinimiseOrMaximiseButtons()
    {
        Session s;
        s.login();
        for (const char *button : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6", "Command7",
                                   "Command8", "Command9"}) {
            QWidget *screen = s.openFromMenu(button);
            const Qt::WindowFlags flags = screen->windowFlags();
            const bool sizeable = screen->objectName() == QLatin1String("bh");
            QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), sizeable);
            QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), sizeable);
            clickOn(screen, backButtonOf(screen->objectName()));
        }
    }

    // Qt's own dialogs speak Chinese once the shell has started.
    void standardButtonsAreInChinese()
    {
        Session session;
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
        QCOMPARE(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("打开"));
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

    // A face whose fontconfig rule says "no hinting" (WenQuanYi Micro Hei's package
    // says so) is drawn unhinted; any other keeps the desktop's hinting. fc-match
    // tells what fontconfig says of the face that draws the text.
    void textIsHintedAsFontconfigSays()
    {
        Session session;
        const QLabel *title
            = session.shell->screen(QStringLiteral("hy"))->findChild<QLabel *>(QStringLiteral("Label3"));
        QVERIFY(title);
        for (const QFont &font : {QGuiApplication::font(), title->font()}) {
            const QString face = QFontInfo(font).family();
            QProcess fcMatch;
            fcMatch.start(QStringLiteral("fc-match"),
                          {QStringLiteral("-f"), QStringLiteral("%{family[0]}|%{hinting}"), face});
            if (!fcMatch.waitForFinished() || fcMatch.exitCode() != 0)
                QSKIP("fc-match is not at hand");
            const QStringList answer = QString::fromUtf8(fcMatch.readAllStandardOutput()).split(QLatin1Char('|'));
            const bool unhinted = answer.size() == 2 && answer[0] == face && answer[1] == QLatin1String("False");
            QCOMPARE(font.hintingPreference(), unhinted ? QFont::PreferNoHinting : QFont::PreferDefaultHinting);
        }
    }
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
