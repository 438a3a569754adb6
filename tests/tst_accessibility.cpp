#include "gui_test.h"
#include "screen.h"
#include "screen_factory.h"
#include "shell.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kCopyTable = QStringLiteral("复制表格");

// The table as the clipboard holds it: tab-separated, a line a row, the header first.
QString tabSeparated(const QStringList &header, const QList<QStringList> &rows)
{
    QString text = header.join(u'\t') + u'\n';
    for (const QStringList &row : rows)
        text += row.join(u'\t') + u'\n';
    return text;
}

QAction *copyTableOf(QWidget *screen)
{
    return screen->findChild<QAction *>(kCopyTable);
}

// The texts of the items of the context menu that a right-click on the widget opens.
QStringList contextMenuOf(QWidget *widget)
{
    QStringList items;
    bool opened = false;
    QTimer::singleShot(0, widget, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            opened = true;
            for (const QAction *a : menu->actions())
                items << a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &event);
    QCoreApplication::processEvents();
    return opened ? items : QStringList{QStringLiteral("<no menu>")};
}

// Chooses the item with that text from the context menu of the widget; false when there is none.
bool chooseFromContextMenu(QWidget *widget, const QString &item)
{
    bool chosen = false;
    QTimer::singleShot(0, widget, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions()) {
                if (a->text() == item && a->isEnabled()) {
                    chosen = true;
                    a->trigger();
                }
            }
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &event);
    QCoreApplication::processEvents();
    return chosen;
}

// Each label's text, by design name.
QMap<QString, QString> labelTexts(QWidget *screen)
{
    QMap<QString, QString> texts;
    for (const QLabel *l : screen->findChildren<QLabel *>())
        texts.insert(l->objectName(), l->text());
    return texts;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    // menuTargets: the table's frame, a column header and a cell.
    void copyTableFromTheTableMenuPutsTheTableOnTheClipboard_data()
    {
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QStringList>("workedCase");
        QTest::addColumn<QString>("table");
        // The table frame, a header and a cell: a right-click on each offers the item.
        QTest::addColumn<QStringList>("menuTargets");
        const QString lowPressure
            = tabSeparated({"管径(mm)", "雷诺数", "流态", "计算单位压降(Pa/m)"}, kLowPressureTable);
        const QString highPressure = tabSeparated({"管径(mm)", "压力平方差", "计算终点压力(kP)"}, kHighPressureTable);
        QTest::newRow("low-pressure section")
            << "Command5" << kLowPressureCase << lowPressure << QStringList{"Frame3", "Label20", "Label61"};
        QTest::newRow("medium/high-pressure section")
            << "Command6" << kHighPressureCase << highPressure << QStringList{"Frame4", "Label77", "Label21"};
    }

    void copyTableFromTheTableMenuPutsTheTableOnTheClipboard()
    {
        QFETCH(QString, menuButton);
        QFETCH(QStringList, workedCase);
        QFETCH(QString, table);
        QFETCH(QStringList, menuTargets);
        Session s;
        QWidget *screen = s.openFromMenu(menuButton.toUtf8().constData());
        QVERIFY(screen);
        QAction *copy = copyTableOf(screen);
        QVERIFY(copy);
        QCOMPARE(copy->text(), kCopyTable);
        auto *frame = screen->findChild<QGroupBox *>(menuTargets.first());
        QVERIFY(frame->actions().contains(copy));

        // Nothing to copy before the table is filled, not even after a press that validation refuses.
        QVERIFY(!copy->isEnabled());
        // Beside it, the export of the whole screen, which needs no result.
        QCOMPARE(contextMenuOf(frame),
                 (QStringList{kCopyTable + QStringLiteral(" (disabled)"), QStringLiteral("导出CSV...")}));
        QCOMPARE(s.calculate(screen).size(), 1);
        QVERIFY(!copy->isEnabled());

        perform(screen, workedCase);
        QCOMPARE(s.calculate(screen), QStringList());
        QVERIFY(copy->isEnabled());
        // The frame and a column header offer the table; a cell offers its own value first.
        const QStringList tableItems{kCopyTable, QStringLiteral("导出CSV...")};
        QCOMPARE(contextMenuOf(frame), tableItems);
        QCOMPARE(contextMenuOf(screen->findChild<QWidget *>(menuTargets[1])), tableItems);
        QCOMPARE(contextMenuOf(screen->findChild<QWidget *>(menuTargets[2])), QStringList{"复制"} + tableItems);
        QGuiApplication::clipboard()->clear();
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), table);

        // A later refused press keeps the table, and the item copies it still.
        typeInto(screen, "Text3", QStringLiteral("0"));
        QCOMPARE(s.calculate(screen).size(), 1);
        QVERIFY(copy->isEnabled());
        QGuiApplication::clipboard()->clear();
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), table);
    }

    void aTableCellCopiesItsValueFromItsMenu()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, kLowPressureCase + QStringList{"Command1"});
        auto *cell = xd->findChild<QLabel *>(QStringLiteral("Label21"));
        QGuiApplication::clipboard()->clear();
        QVERIFY(chooseFromContextMenu(cell, QStringLiteral("复制")));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("15719.0200024137"));
    }

    void everyResultOfACalculationCanBeCopied_data()
    {
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("low-pressure table and given diameter")
            << "Command5" << kLowPressureCase + QStringList{"Check1", "Option5", "Text6=100"};
        QTest::newRow("low-pressure pre-selection")
            << "Command5" << kLowPressureCase + QStringList{"Check1", "Text1=2"};
        QTest::newRow("high-pressure table and given diameter")
            << "Command6" << kHighPressureCase + QStringList{"Check1", "Option5", "Text9=100"};
        QTest::newRow("high-pressure pre-selection")
            << "Command6" << kHighPressureCase + QStringList{"Check1", "Text4=300"};
        QTest::newRow("laminar check") << "Command4"
                                       << QStringList{"Text1=1", "Text2=2", "Text3=1.5E-5", "Text4=0.7", "Text5=288"};
        QTest::newRow("flow by non-uniformity")
            << "Command2" << QStringList{"Text1=1000", "Text2=1", "Text3=8760", "Text4=1"};
        QTest::newRow("flow by simultaneity") << "Command7" << QStringList{"Text1=200", "Text2=2"};
        QTest::newRow("allowable unit drop") << "Command3" << QStringList{"Text1=2500", "Text2=1500", "Text3=400"};
        QTest::newRow("additional head") << "Command8" << QStringList{"Text1=0.7", "Text2=10"};
        QTest::newRow("indoor local loss")
            << "Command1" << QStringList{"Text1=10", "Text2=0.75", "Text3=288", "Text4=2", "Text5=20"};
        QTest::newRow("wall thickness") << "Command9" << QStringList{"Text1=500", "Text2=4", "Text3=1"};
    }

    void everyResultOfACalculationCanBeCopied()
    {
        QFETCH(QString, menuButton);
        QFETCH(QStringList, steps);
        Session s;
        QWidget *screen = s.openFromMenu(menuButton.toUtf8().constData());
        perform(screen, steps);
        const QMap<QString, QString> before = labelTexts(screen);
        QCOMPARE(s.calculate(screen), QStringList());
        int results = 0;
        for (const QLabel *l : screen->findChildren<QLabel *>()) {
            if (l->text() == before.value(l->objectName()))
                continue;
            ++results;
            QVERIFY2(l->textFormat() == Qt::PlainText, qPrintable(l->objectName()));
            QVERIFY2(contextMenuOf(const_cast<QLabel *>(l)).startsWith(QStringLiteral("复制")),
                     qPrintable(l->objectName()));
        }
        QVERIFY(results > 0);
    }

    void tabFollowsTheReadingOrder_data()
    {
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("login") << "" << QStringList{"Text1", "Text2", "Command1"};
        QTest::newRow("low-pressure section") << "Command5" << QStringList{"Text2",   "Text3",  "Text5",    "Text4",
                                                                           "Option1", "Check1", "Command1", "Command4"};
        QTest::newRow("medium/high-pressure section")
            << "Command6" << QStringList{"Text1", "Text5",   "Text3",  "Text7",    "Text6",
                                         "Text8", "Option1", "Check1", "Command1", "Command4"};
        QTest::newRow("laminar check") << "Command4" << QStringList{"Text1", "Text2",    "Text3",   "Text4",
                                                                    "Text5", "Command1", "Command2"};
        QTest::newRow("flow by non-uniformity")
            << "Command2" << QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2"};
        QTest::newRow("flow by simultaneity") << "Command7" << QStringList{"Text1", "Text2", "Command1", "Command2"};
        QTest::newRow("allowable unit drop")
            << "Command3" << QStringList{"Text1", "Text2", "Text3", "Command1", "Command2"};
        QTest::newRow("additional head") << "Command8" << QStringList{"Text1", "Text2", "Command1", "Command2"};
        QTest::newRow("indoor local loss")
            << "Command1" << QStringList{"Text1", "Text2", "Text3", "Text4", "Text5", "Command1", "Command2"};
        // Tab enters each option group at its selected button.
        QTest::newRow("wall thickness") << "Command9"
                                        << QStringList{"Text1",   "Text2",   "Text3",    "Option1", "Option4",
                                                       "Option7", "Option9", "Command1", "Command2"};
    }

    void tabFollowsTheReadingOrder()
    {
        QFETCH(QString, menuButton);
        QFETCH(QStringList, order);
        Session s;
        QWidget *screen = menuButton.isEmpty() ? s.shell->screen(QStringLiteral("hy"))
                                               : s.openFromMenu(menuButton.toUtf8().constData());
        QVERIFY(screen);
        QCOMPARE(tabOrder(screen, order.first().toUtf8().constData()), order);
    }

    void everyTextBoxIsNamedByItsCaption_data()
    {
        QTest::addColumn<QString>("code");
        for (const char *code : {"hy", "xz", "xd", "gyxd", "fxgj", "ll", "lll", "yl", "yt", "jb", "bh", "gy", "cs"})
            QTest::newRow(code) << QString::fromUtf8(code);
    }

    void everyTextBoxIsNamedByItsCaption()
    {
        QFETCH(QString, code);
        std::unique_ptr<Screen> screen(createScreen(code));
        QVERIFY(screen);
        screen->Form_Load();
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        const QList<QLabel *> labels = screen->findChildren<QLabel *>();
        for (QLineEdit *box : screen->findChildren<QLineEdit *>()) {
            const QLabel *caption = nullptr;
            for (const QLabel *l : labels) {
                if (l->buddy() == box)
                    caption = l;
            }
            QVERIFY2(caption, qPrintable(box->objectName()));
            QVERIFY2(!caption->text().isEmpty(), qPrintable(box->objectName()));
            QVERIFY2(caption->isVisibleTo(screen.get()), qPrintable(box->objectName()));
            // What a screen reader announces for the box.
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(box);
            QVERIFY(reader);
            QCOMPARE(reader->text(QAccessible::Name), caption->text());
        }
        screen->closeForExit();
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
