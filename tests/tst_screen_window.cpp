#include "gui_test.h"
#include "shell.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

using Fields = QList<QPair<QByteArray, QString>>;

// A screen that is left comes back as it was left: place, size, texts and focus.
class ScreenWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aScreenOpenedAgainIsAsItWasLeft_data()
    {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<QString>("code");
        QTest::addColumn<Fields>("fields");
        QTest::newRow("low-pressure section with its table")
            << QByteArray("Command5") << "xd"
            << Fields{{"Text2", "100"}, {"Text3", "1.5E-5"}, {"Text4", "288"}, {"Text5", "0.72"}};
        QTest::newRow("allowable drop, which opens over the main menu")
            << QByteArray("Command3") << "yl" << Fields{{"Text1", "2500"}, {"Text2", "1500"}, {"Text3", "400"}};
    }

    void aScreenOpenedAgainIsAsItWasLeft()
    {
        QFETCH(QByteArray, opener);
        QFETCH(QString, code);
        QFETCH(Fields, fields);
        Session s;
        QWidget *xz = s.login();
        clickOn(xz, opener.constData());
        QWidget *screen = s.shell->screen(code);
        QVERIFY(screen);
        QVERIFY(QTest::qWaitForWindowExposed(screen));
        for (const auto &[name, text] : fields)
            typeInto(screen, name.constData(), text);
        clickOn(screen, "Command1");
        QVERIFY(s.messages.take().isEmpty());

        const QPoint place = screen->pos();
        const QSize size = screen->size();
        QStringList texts;
        for (const QLabel *l : screen->findChildren<QLabel *>())
            texts << l->text();

        QWidget *focused = nullptr;
        for (int round = 0; round < 3; ++round) {
            clickOn(screen, backButtonOf(code));
            QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
            if (!focused)
                focused = screen->focusWidget();
            clickOn(xz, opener.constData());
            QCOMPARE(s.visibleScreens(), code);
            QVERIFY(QTest::qWaitForWindowExposed(screen));
        }

        QCOMPARE(screen->pos(), place);
        QCOMPARE(screen->size(), size);
        QStringList textsNow;
        for (const QLabel *l : screen->findChildren<QLabel *>())
            textsNow << l->text();
        QCOMPARE(textsNow, texts);
        for (const auto &[name, text] : fields)
            QCOMPARE(screen->findChild<QLineEdit *>(QString::fromUtf8(name))->text(), text);
        QVERIFY(focused);
        QCOMPARE(screen->focusWidget(), focused);
    }
};

QTEST_MAIN(ScreenWindowTest)
#include "tst_screen_window.moc"
