// The route screen: reached from the menus, edited as a table, pasted into,
// undone, exported and imported; its table is the command line's.
#include "batch.h"
#include "csv.h"
#include "file_dialog.h"
#include "gui_test.h"
#include "route/route_model.h"
#include "route/route_screen.h"
#include "shell.h"
#include "widgets.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

const QStringList kLowRoute{"1,100,50,0,", "2,80,40,0,", "3,60,30,10,", "4,50,20,-5,100", "5,40,10,0,"};

RouteScreen *openRoute(Session &session)
{
    QWidget *xz = session.login();
    chooseMenuItem(xz, QStringLiteral("管网水力计算表"));
    auto *gw = qobject_cast<RouteScreen *>(session.shell->screen(QStringLiteral("gw")));
    return gw && QTest::qWaitForWindowExposed(gw) ? gw : nullptr;
}

void typeSettings(RouteScreen *gw, const QStringList &steps)
{
    perform(gw, steps);
}

// Types each cell as a user would: through the view's model, one edit each.
void typeRoute(RouteScreen *gw, const QStringList &lines)
{
    for (const QString &line : lines) {
        gw->addSection();
        const int row = int(gw->model()->sections().size()) - 1;
        const QStringList cells = line.split(u',');
        for (int c = 0; c < cells.size(); ++c)
            gw->model()->setData(gw->model()->index(row, c), cells[c]);
    }
}

const QStringList kLowSettings{"density=0.72", "viscosity=1.5E-5", "temperature=288", "allowableDrop=400"};

QStringList names(const RouteModel *model)
{
    QStringList list;
    for (const route::Section &s : model->sections())
        list << s.name;
    return list;
}

} // namespace

class RouteScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void reachedFromTheMenusAndBack()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        QVERIFY(gw);
        QCOMPARE(gw->windowTitle(), QStringLiteral("管网水力计算表"));
        QCOMPARE(session.visibleScreens(), QStringLiteral("gw"));
        clickOn(gw, "Command4");
        QCOMPARE(session.visibleScreens(), QStringLiteral("xz"));
        QWidget *xd = session.openFromMenu("Command5");
        chooseMenuItem(xd, QStringLiteral("管网水力计算表"));
        QCOMPARE(session.visibleScreens(), QStringLiteral("gw"));
        gw->close();
        QCOMPARE(session.visibleScreens(), QStringLiteral("xz"));
    }

    void theScreensTableIsTheCommandLines()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, kLowRoute);
        const RouteModel *model = gw->model();
        const BatchRun run = runBatch(
            {"route", "--density", "0.72", "--viscosity", "1.5E-5", "--temperature", "288", "--allowable-drop", "400"},
            [] { return ("section,length,flow,rise,diameter\n" + kLowRoute.join(u'\n')).toUtf8(); });
        QCOMPARE(run.status, 0);
        QCOMPARE(route::tableRows(model->settings(), model->sections(), model->result()),
                 csv::read(run.output).table.rows);
        // What the view shows: the chosen diameter of an automatic row, the total row, the verdict.
        QCOMPARE(model->data(model->index(0, route::Diameter)).toString(), QStringLiteral("100"));
        QCOMPARE(model->data(model->index(0, route::Diameter), Qt::EditRole).toString(), QString());
        QCOMPARE(model->data(model->index(5, route::Name)).toString(), QStringLiteral("合计"));
        QCOMPARE(model->data(model->index(5, route::Length)).toString(), QStringLiteral("330"));
        QCOMPARE(textOf(gw, "routeVerdict"), QStringLiteral("结论：满足"));
        QCOMPARE(gw->findChild<QLabel *>(QStringLiteral("routeVerdict"))->palette().color(QPalette::WindowText),
                 QColor(0, 128, 0));
    }

    void aBadCellIsMarkedAndTheOthersCalculate()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"1,100,50,0,", "2,0,40,0,", "3,60,30,10,"});
        const RouteModel *model = gw->model();
        const QModelIndex bad = model->index(1, route::Length);
        QCOMPARE(model->data(bad, Qt::ToolTipRole).toString(), QStringLiteral("录入数据不能为0或小于0,嘿嘿"));
        QVERIFY(model->data(bad, Qt::BackgroundRole).isValid());
        QVERIFY(!model->data(model->index(1, route::Flow), Qt::BackgroundRole).isValid());
        QCOMPARE(model->data(model->index(1, model->messageColumn())).toString(),
                 QStringLiteral("录入数据不能为0或小于0,嘿嘿"));
        QVERIFY(!model->data(model->index(2, route::kInputColumns)).toString().isEmpty());
        QCOMPARE(textOf(gw, "routeVerdict"), QStringLiteral("结论：数据不全"));
        QCOMPARE(gw->findChild<QLabel *>(QStringLiteral("routeVerdict"))->palette().color(QPalette::WindowText),
                 QColor(200, 0, 0));
    }

    void pasteFillsFromTheCurrentCellAndAddsRows()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"1,100,50,0,"});
        gw->table()->setCurrentIndex(gw->model()->index(0, route::Length));
        // A block copied from a spreadsheet: length, flow, rise of three rows, CRLF line ends.
        gw->paste(QStringLiteral("120\t55\t0\r\n80\t40\t2\r\n60\t30\t-1\r\n"));
        const QList<route::Section> &s = gw->model()->sections();
        QCOMPARE(s.size(), 3);
        QCOMPARE((QStringList{s[0].length, s[0].flow, s[1].rise, s[2].length}), (QStringList{"120", "55", "2", "60"}));
        QCOMPARE(s[0].name, QStringLiteral("1"));
        // One paste, one undo.
        gw->undoStack()->undo();
        QCOMPARE(gw->model()->sections().size(), 1);
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("100"));
        gw->undoStack()->redo();
        QCOMPARE(gw->model()->sections().size(), 3);
    }

    // 添加管段 leaves the table ready to type in the new row; Enter commits and goes down,
    // adding a row after the last, and so does ↓; the buttons never get the keys.
    void addingRowsLeavesTheTableReadyToType()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        QApplication::setActiveWindow(gw);
        clickOn(gw, "addSection");
        QTableView *table = gw->table();
        QVERIFY(table->hasFocus());
        QCOMPARE(table->currentIndex(), gw->model()->index(0, route::Length));
        QTest::keyClick(table, Qt::Key_1);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != table);
        QTest::keyClicks(editor, QStringLiteral("00"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(gw->model()->typedRowCount(), 2);
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("100"));
        QCOMPARE(gw->model()->sections()[1].name, QStringLiteral("2"));
        QCOMPARE(table->currentIndex(), gw->model()->index(1, route::Length));
        QTRY_VERIFY(table->hasFocus());
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(gw->model()->typedRowCount(), 3);
        QCOMPARE(gw->model()->sections()[2].name, QStringLiteral("3"));
        // Up and back down within the rows adds nothing.
        QTest::keyClick(table, Qt::Key_Up);
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(gw->model()->typedRowCount(), 3);
        QCOMPARE(table->currentIndex(), gw->model()->index(2, route::Length));
        // 插入管段 too: the inserted row's first cell.
        table->setCurrentIndex(gw->model()->index(1, route::Flow));
        clickOn(gw, "insertSection");
        QVERIFY(table->hasFocus());
        QCOMPARE(table->currentIndex(), gw->model()->index(1, route::Name));
        QCOMPARE(gw->undoStack()->count(), 5);
    }

    // Switching 低压 ⇄ 中高压 converts the typed lengths (m ⇄ km) with the class, one
    // step to undo, and says so; the allowable drop has no medium/high counterpart and stays.
    void switchingThePressureClassConvertsTheLengths()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"1,21,50,0,", "2,,40,0,100"});
        const int steps = gw->undoStack()->count();
        clickOn(gw, "highPressure");
        QCOMPARE(gw->settings().pressure, route::Pressure::High);
        QVERIFY(checked(gw, "highPressure"));
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("0.021"));
        QCOMPARE(gw->model()->sections()[1].length, QString());
        QCOMPARE(gw->model()->sections()[1].diameter, QStringLiteral("100"));
        QCOMPARE(boxText(gw, "allowableDrop"), QStringLiteral("400"));
        QCOMPARE(textOf(gw, "statusLine"), QStringLiteral("已换算为中高压：管长 m→km"));
        QCOMPARE(gw->undoStack()->count(), steps + 1);
        gw->undoStack()->undo();
        QCOMPARE(gw->settings().pressure, route::Pressure::Low);
        QVERIFY(checked(gw, "lowPressure"));
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("21"));
        QCOMPARE(textOf(gw, "statusLine"), QStringLiteral("已撤销换算：恢复为低压"));
        gw->undoStack()->redo();
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("0.021"));
        clickOn(gw, "lowPressure");
        QCOMPARE(gw->model()->sections()[0].length, QStringLiteral("21"));
        QCOMPARE(textOf(gw, "statusLine"), QStringLiteral("已换算为低压：管长 km→m"));
    }

    void pasteSkipsTheHiddenRiseInMediumPressure()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        clickOn(gw, "highPressure");
        QVERIFY(gw->table()->isColumnHidden(route::Rise));
        QVERIFY(!gw->findChild<QLineEdit *>(QStringLiteral("allowableDrop"))->isEnabled());
        gw->paste(QStringLiteral("A\t2\t1000\t100\n"));
        const route::Section s = gw->model()->sections().value(0);
        QCOMPARE((QStringList{s.name, s.length, s.flow, s.rise, s.diameter}),
                 (QStringList{"A", "2", "1000", "", "100"}));
    }

    void undoAfterDeleteBringsTheSectionBack()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, kLowRoute);
        const QString before = gw->model()->result().total;
        gw->table()->setCurrentIndex(gw->model()->index(2, 0));
        gw->table()->selectionModel()->select(gw->model()->index(2, 0), QItemSelectionModel::ClearAndSelect);
        gw->table()->selectionModel()->select(gw->model()->index(3, 1), QItemSelectionModel::Select);
        clickOn(gw, "deleteSections");
        QCOMPARE(names(gw->model()), (QStringList{"1", "2", "5"}));
        clickOn(gw, "undo");
        QCOMPARE(names(gw->model()), (QStringList{"1", "2", "3", "4", "5"}));
        QCOMPARE(gw->model()->result().total, before);
        clickOn(gw, "redo");
        QCOMPARE(names(gw->model()), (QStringList{"1", "2", "5"}));
    }

    void moveAndInsertWithKeys()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeRoute(gw, {"a,1,1,,", "b,1,1,,", "c,1,1,,"});
        gw->table()->setFocus();
        gw->table()->setCurrentIndex(gw->model()->index(2, 0));
        QTest::keyClick(gw->table(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(names(gw->model()), (QStringList{"a", "c", "b"}));
        QTest::keyClick(gw->table(), Qt::Key_Insert);
        QCOMPARE(names(gw->model()), (QStringList{"a", "", "c", "b"}));
        QTest::keyClick(gw->table(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(gw->table(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(names(gw->model()), (QStringList{"a", "b", "c"}));
        // Ctrl+Y redoes, as Ctrl+Shift+Z does.
        QTest::keyClick(gw->table(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(names(gw->model()), (QStringList{"a", "c", "b"}));
        QTest::keyClick(gw->table(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(names(gw->model()), (QStringList{"a", "", "c", "b"}));
    }

    // "1,200" m is not 1 m: the cell is refused with what it would be read as and the
    // route is incomplete; a setting that cannot be used is named on its field and in the verdict.
    void whatIsNotReadWholeAndWhatCannotBeUsedIsRefused()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"1,1,50,0,", "2,0x,40,0,"});
        RouteModel *model = gw->model();
        const QModelIndex length = model->index(0, route::Length);
        model->setData(length, QStringLiteral("1,200"));
        QCOMPARE(model->data(length, Qt::ToolTipRole).toString(), QStringLiteral("管长未能完整读取：读作 1"));
        QCOMPARE(model->data(length, Qt::BackgroundRole).value<QBrush>().color(), toolkit::kProblemColor);
        QCOMPARE(model->data(model->index(0, model->messageColumn())).toString(),
                 QStringLiteral("管长未能完整读取：读作 1"));
        QCOMPARE(model->data(model->index(1, route::Length), Qt::ToolTipRole).toString(),
                 QStringLiteral("管长未能完整读取：读作 0"));
        QVERIFY(!model->data(model->index(0, route::Flow), Qt::ToolTipRole).isValid());
        model->setData(model->index(1, route::Length), QStringLiteral("80"));
        QCOMPARE(textOf(gw, "routeVerdict"), QStringLiteral("结论：数据不全"));
        model->setData(length, QStringLiteral("1200"));
        QVERIFY(!model->data(length, Qt::ToolTipRole).isValid());
        QVERIFY(!model->data(length, Qt::BackgroundRole).isValid());
        QVERIFY(textOf(gw, "routeVerdict") != QStringLiteral("结论：数据不全"));

        auto *drop = gw->findChild<QLineEdit *>(QStringLiteral("allowableDrop"));
        typeInto(gw, "allowableDrop", QStringLiteral("-400"));
        QCOMPARE(textOf(gw, "routeVerdict"), QStringLiteral("结论：数据不全: 允许压降应大于0"));
        QCOMPARE(drop->property("problem").toString(), QStringLiteral("允许压降应大于0"));
        QCOMPARE(drop->toolTip(), QStringLiteral("允许压降应大于0"));
        typeInto(gw, "allowableDrop", QStringLiteral("400 Pa"));
        QVERIFY(!drop->property("problem").isValid());
        QCOMPARE(drop->toolTip(), QStringLiteral("读作 400"));
    }

    void csvRoundTrip()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"甲,100,50,0,", "\"乙\",80,40,0,100"});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("路线.csv"));
        setFileDialogHandler([&](const FileDialogRequest &) { return path; });
        clickOn(gw, "exportCsv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(csv::read(bytes).table.rows,
                 route::tableRows(gw->model()->settings(), gw->model()->sections(), gw->model()->result()));

        const QList<route::Section> exported = gw->model()->sections();
        clickOn(gw, "deleteSections");
        clickOn(gw, "importCsv");
        setFileDialogHandler({});
        // The automatic row comes back automatic, and the closing row is no section.
        QCOMPARE(gw->model()->sections().size(), exported.size());
        for (qsizetype i = 0; i < exported.size(); ++i) {
            const route::Section &a = gw->model()->sections()[i];
            const route::Section &b = exported[i];
            QCOMPARE((QStringList{a.name, a.length, a.flow, a.rise, a.diameter}),
                     (QStringList{b.name, b.length, b.flow, b.rise, b.diameter}));
        }
        QCOMPARE(session.messages.take(), QStringList());
    }

    void aBadImportChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown column") << QByteArray("section,slope\n1,2\n") << "第1行：未知的列“slope”";
        QTest::newRow("unbalanced quotes") << QByteArray("section\n\"1\n") << "第2行：引号不成对";
        QTest::newRow("not a text") << QByteArray("section\n\xff\n") << "不是UTF-8或GB18030编码的文本";
    }

    void aBadImportChangesNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        Session session;
        RouteScreen *gw = openRoute(session);
        typeRoute(gw, {"a,1,1,,"});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QVERIFY(!gw->importCsv(path));
        QCOMPARE(names(gw->model()), QStringList{"a"});
        const QStringList messages = session.messages.take();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains(message) && messages.front().contains(QStringLiteral("bad.csv")),
                 qPrintable(messages.front()));
    }

    void anExportThatCannotBeWrittenSaysSo()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        QVERIFY(!gw->exportCsv(QStringLiteral("/nonexistent/folder/route.csv")));
        const QStringList messages = session.messages.take();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().startsWith(QStringLiteral("无法保存“route.csv”")));
    }

    void copyTableGivesTabSeparatedText()
    {
        Session session;
        RouteScreen *gw = openRoute(session);
        typeSettings(gw, kLowSettings);
        typeRoute(gw, {"1,100,50,0,"});
        clickOn(gw, "copyTable");
        const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("管段号\t管长(m)\t流量(Nm^3/h)\t高程差(m)\t管径(mm)\t雷诺数")));
        QVERIFY(lines[2].startsWith(QStringLiteral("合计\t100")));
    }
};

QTEST_MAIN(RouteScreenTest)
#include "tst_route_screen.moc"
