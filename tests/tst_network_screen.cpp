// The network screen: typed and pasted tables solved as the command line solves
// them, bad cells, undo, the design file and the report.
#include "batch.h"
#include "csv.h"
#include "file_dialog.h"
#include "gui_test.h"
#include "message_box.h"
#include "network/drawing_import_dialog.h"
#include "network/network_model.h"
#include "network/network_editor.h"
#include "network/network_screen.h"
#include "network/network_view.h"
#include "network_columns.h"
#include "network_options.h"
#include "network_dxf.h"
#include "number_text.h"
#include "profile_view.h"
#include "report.h"
#include "shell.h"
#include "widgets.h"

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QFont>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUndoStack>

#include <cmath>

namespace {

NetworkScreen *openNetwork(Session &session)
{
    QWidget *xz = session.login();
    chooseMenuItem(xz, QStringLiteral("管网计算"));
    auto *gwjs = qobject_cast<NetworkScreen *>(session.shell->screen(QStringLiteral("gwjs")));
    return gwjs && QTest::qWaitForWindowExposed(gwjs) ? gwjs : nullptr;
}

// Pastes a block into a table from its first cell on.
void pasteInto(NetworkScreen *gwjs, network::Table table, const QString &block)
{
    gwjs->editor()->setActiveTable(table);
    gwjs->editor()->table(table)->setCurrentIndex(QModelIndex());
    gwjs->editor()->paste(block);
}

// The node table's column of the pressure: after the typed ones and the supply.
const int kPressure = network::typedCount(network::Table::Nodes) + 1;

const QStringList kSettings{"density=0.72", "viscosity=1.5E-5", "temperature=288", "minPressure=1000"};

// The network screen with the usual settings, and the nodes and pipes given pasted into it.
NetworkScreen *openWith(Session &session, const QString &nodes = {}, const QString &pipes = {})
{
    NetworkScreen *gwjs = openNetwork(session);
    if (!gwjs)
        return nullptr;
    perform(gwjs, kSettings);
    if (!nodes.isEmpty())
        pasteInto(gwjs, network::Table::Nodes, nodes);
    if (!pipes.isEmpty())
        pasteInto(gwjs, network::Table::Pipes, pipes);
    return gwjs;
}

QString cellText(NetworkScreen *gwjs, network::Table table, int row, int column)
{
    const NetworkTableModel *model = gwjs->editor()->model()->table(table);
    return model->data(model->index(row, column)).toString();
}

// A source, a node east of it reached round a bend, and a node north of that by a pipe of a
// typed length that is not its course's (120 m for 100 m).
const QString kPlacedNodes = QStringLiteral("S\t\t0\t0\t0\t3000\nA\t10\t0\t100\t0\nB\t5\t0\t100\t100\n");
const QString kPlacedPipes = QStringLiteral("1\tS\tA\t\t100\t\t\t\t50 -20\n2\tA\tB\t120\t80\t2\n");

QList<QStringList> typedRows(NetworkScreen *gwjs, network::Table table)
{
    QList<QStringList> rows = gwjs->editor()->model()->table(table)->typedRows();
    for (QStringList &row : rows)
        row.resize(network::typedCount(table));
    return rows;
}

QList<QStringList> widened(QList<QStringList> rows, network::Table table)
{
    for (QStringList &row : rows)
        row.resize(network::typedCount(table));
    return rows;
}

DrawnEnd nodeEnd(int row)
{
    return DrawnEnd{row, -1, {}};
}

DrawnEnd pipeEnd(int row, double x, double y)
{
    return DrawnEnd{-1, row, QPointF(x, y)};
}

DrawnEnd freeEnd(double x, double y)
{
    return DrawnEnd{-1, -1, QPointF(x, y)};
}

} // namespace

Q_DECLARE_METATYPE(DrawnEnd)

class NetworkScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void theScreenSolvesAsTheCommandLineDoes_data()
    {
        QTest::addColumn<QString>("nodes");
        QTest::addColumn<QString>("pipes");
        QTest::newRow("a tree sized automatically") << "S\t\t0\t\t\t3000\nA\t20\t5\nB\t15\t0\nC\t10\t0\n"
                                                    << "1\tS\tA\t200\t\n2\tA\tB\t150\t\n3\tA\tC\t100\t\n";
        QTest::newRow("a ring fed from two stations")
            << "S1\t\t0\t0\t0\t3000\nS2\t\t0\t200\t0\t2900\nA\t40\t0\t0\t100\nB\t30\t0\t200\t100\n"
            << "1\tS1\tA\t100\t100\n2\tA\tB\t200\t80\n3\tB\tS2\t100\t100\n4\tS1\tS2\t200\t100\n";
    }

    void theScreenSolvesAsTheCommandLineDoes()
    {
        QFETCH(QString, nodes);
        QFETCH(QString, pipes);
        Session session;
        NetworkScreen *gwjs = openWith(session, nodes, pipes);
        QVERIFY(gwjs);
        QVERIFY2(gwjs->editor()->model()->result().converged, qPrintable(textOf(gwjs, "networkVerdict")));

        QTemporaryDir dir;
        const QString design = dir.filePath(QStringLiteral("管网.velmora"));
        QVERIFY(session.shell->saveDesign(design));
        const BatchRun run
            = runBatch({QStringLiteral("network"), QStringLiteral("--csv"), QStringLiteral("pipes"), design},
                       [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = csv::read(run.output).table.rows;
        const QStringList header = rows.front();
        QCOMPARE(rows.size() - 1, gwjs->editor()->model()->table(network::Table::Pipes)->typedRowCount());
        for (int k = 0; k + 1 < rows.size(); ++k) {
            QCOMPARE(cellText(gwjs, network::Table::Pipes, k, 4), rows[k + 1][header.indexOf("diameter")]);
            QCOMPARE(cellText(gwjs, network::Table::Pipes, k, network::typedCount(network::Table::Pipes)),
                     rows[k + 1][header.indexOf("flow")]);
        }
        QVERIFY(textOf(gwjs, "networkVerdict").startsWith(QStringLiteral("结论：") + gwjs->editor()->model()->result().verdict));

        // The design opens again with the same tables, and the report holds them.
        const QList<QStringList> typed = gwjs->editor()->model()->table(network::Table::Pipes)->typedRows();
        gwjs->editor()->deleteRows();
        QVERIFY(session.shell->openDesign(design));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Pipes)->typedRows(), typed);
        const QString pdf = dir.filePath(QStringLiteral("计算书.pdf"));
        QVERIFY(session.shell->writeReport(pdf));
        // The drawing and the profile are in it as vector graphics, not pictures.
        QFile written(pdf);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(!written.readAll().contains("/Subtype /Image"));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            return;
        QProcess process;
        process.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished());
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY(text.contains(QStringLiteral("管网计算")));
        QVERIFY(text.contains(QStringLiteral("环网闭合差")) == !gwjs->editor()->model()->result().loops.isEmpty());
    }

    // Households and path loads typed per building and street main: their columns show,
    // the pipes their households, K and flows; the way K is read is a choice that
    // changes the flows, and the design file keeps it.
    void householdsAndTheirSimultaneityShow()
    {
        Session session;
        NetworkScreen *gwjs = openNetwork(session);
        QVERIFY(gwjs);
        perform(gwjs, kSettings + QStringList{"ratedFlow1=0.7", "ratedFlow2=2.6"});
        pasteInto(gwjs, network::Table::Nodes,
                  QStringLiteral("S\t\t0\t\t\t3000\nJ\t3.5\t0\nB1\t\t0\t\t\t\t24\t2\nB2\t\t0\t\t\t\t18\t双眼灶\n"));
        pasteInto(gwjs, network::Table::Pipes,
                  QStringLiteral("1\tS\tJ\t80\t\t\t\t6\n2\tJ\tB1\t30\t\t\t25\n3\tJ\tB2\t20\t\n"));
        NetworkTableModel *pipes = gwjs->editor()->model()->table(network::Table::Pipes);
        const auto header = [](NetworkTableModel *m, const char *key) {
            return m->headerData(m->columnOf(QString::fromLatin1(key)), Qt::Horizontal).toString();
        };
        QCOMPARE(header(gwjs->editor()->model()->table(network::Table::Nodes), "households"), QStringLiteral("户数"));
        QCOMPARE(header(pipes, "path_load"), QStringLiteral("途泄流量(Nm^3/h)"));
        QCOMPARE(header(pipes, "k_2"), QStringLiteral("K(双眼灶和快速热水器)"));
        // Pipe 1: 0.48 x 18 x 0.7 + 0.21 x 24 x 2.6 + 3.5 + 0.55 x 6.
        const auto cell = [pipes](int row, const char *key) {
            return pipes->data(pipes->index(row, pipes->columnOf(QString::fromLatin1(key)))).toString();
        };
        QCOMPARE((QStringList{cell(0, "flow"), cell(0, "households_1"), cell(0, "k_1"), cell(0, "households_2"),
                              cell(0, "k_2")}),
                 (QStringList{"25.952", "18", "0.48", "24", "0.21"}));
        QCOMPARE(cell(1, "k_1"), QString());
        QCOMPARE(textOf(gwjs, "flowRule"), QStringLiteral("流量计算方法：同时工作系数法（枝状）"));

        // Linear: 18 gives 0.462, 24 gives 0.202.
        auto *simultaneity = gwjs->findChild<QComboBox *>(QStringLiteral("simultaneity"));
        QVERIFY(simultaneity);
        QCOMPARE(simultaneity->currentText(), QStringLiteral("分段取值"));
        simultaneity->setCurrentIndex(simultaneity->findText(QStringLiteral("线性插值")));
        QCOMPARE((QStringList{cell(0, "flow"), cell(0, "k_1"), cell(0, "k_2")}),
                 (QStringList{"25.226", "0.462", "0.202"}));
        QCOMPARE(gwjs->editor()->typedNetwork().settings.text(QStringLiteral("simultaneity")), QStringLiteral("linear"));

        // A rated flow taken away: its box is marked with the reason.
        perform(gwjs, {"ratedFlow1="});
        QVERIFY(textOf(gwjs, "networkVerdict").contains(QStringLiteral("双眼灶额定流量应大于0")));
        QCOMPARE(gwjs->findChild<QLineEdit *>(QStringLiteral("ratedFlow1"))->property("problem").toString(),
                 gwjs->editor()->model()->result().refused->text);
        QCOMPARE(textOf(gwjs, "flowRule"), QString());
    }

    // The report says how the flows were found, in words with the constants, shows a
    // choice by its caption and holds the households' columns.
    void theReportStatesTheFlowRule()
    {
        network::Network net{network::initialSettings(),
                             {{"S", "", "0", "", "", "3000"}, {"J", "3.5", "0"}, {"B", "", "0", "", "", "", "18", "1"}},
                             {{"1", "S", "J", "80", "", "", "", "6"}, {"2", "J", "B", "20", ""}}};
        for (const QString &setting : kSettings + QStringList{"ratedFlow1=0.7", "simultaneity=linear"})
            net.settings.setText(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        report::Report r;
        r.networks.append(report::NetworkEntry{QStringLiteral("小区"), net, network::solve(net)});
        const QString html = report::html(r);
        // Pipe 1: 0.462 x 18 x 0.7 + 3.5 + 0.55 x 6.
        for (const QString &text :
             {QStringLiteral("<h3>计算公式</h3>"), QStringLiteral("流量计算方法：同时工作系数法（枝状）"),
              QStringLiteral("0.55 · Q途泄本段"), QStringLiteral("相连各管段途泄流量的1/2"),
              QStringLiteral("同时工作系数：线性插值"), QStringLiteral("默认用具：双眼灶和快速热水器"),
              QStringLiteral("途泄流量(Nm^3/h)"), QStringLiteral("K(双眼灶)"), QStringLiteral("12.6212")})
            QVERIFY2(html.contains(text), qPrintable(text));
    }

    // One item per node and per pipe; the selection follows both ways; a drag is one
    // undo step; the exported drawing holds every pipe.
    void theDrawingFollowsTheTables()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S1\t\t0\t0\t0\t3000\nS2\t\t0\t400\t0\t2950\nA\t40\t5\t0\t200\n"
                                 "B\t30\t5\t200\t200\nC\t35\t0\t400\t200\nD\t20\t10\t200\t0\n"), QStringLiteral("P1\tS1\tA\t200\t150\nP2\tA\tB\t200\t100\nP3\tB\tC\t200\t100\n"
                                 "P4\tC\tS2\t200\t150\nP5\tS1\tD\t200\t150\nP6\tD\tS2\t200\t150\n"
                                 "P7\tD\tB\t200\t80\n"));
        QVERIFY(gwjs);
        NetworkView *view = gwjs->editor()->view();
        QCOMPARE(view->nodeItems(), 6);
        QCOMPARE(view->pipeItems(), 7);
        // C is the most unfavourable node; its gas comes from S2 through P4, 200 m.
        QCOMPARE(gwjs->editor()->profileView()->profile().ids, (QStringList{"S2", "C"}));
        QCOMPARE(gwjs->editor()->profileView()->profile().distance, (QList<double>{0, 200}));

        gwjs->editor()->table(network::Table::Nodes)->setCurrentIndex(gwjs->editor()->model()->table(network::Table::Nodes)->index(2, 0));
        QCOMPARE(view->selectedNode(), 2);
        // A click on a pipe: the selection is that pipe alone.
        view->scene()->clearSelection();
        for (QGraphicsItem *item : view->scene()->items()) {
            if (item->data(1).toInt() == 2 && item->data(0).toInt() == 3)
                item->setSelected(true);
        }
        QVERIFY(gwjs->editor()->table(network::Table::Pipes)->selectionModel()->isRowSelected(3, QModelIndex()));

        // The tip over a node tells its pressure as solved with the last edit.
        gwjs->editor()->model()
            ->table(network::Table::Nodes)
            ->setData(gwjs->editor()->model()->table(network::Table::Nodes)->index(2, 1), QStringLiteral("45"));
        const double pressureOfA = cellText(gwjs, network::Table::Nodes, 2, kPressure).toDouble();
        QCOMPARE(view->toolTipAt(view->mapFromScene(QPointF(0, -200))),
                 QStringLiteral("A：%1 Pa").arg(QString::number(pressureOfA, 'g', 6)));
        gwjs->editor()->undoStack()->undo();

        // Four significant digits on show, fifteen kept; the design file keeps the choice.
        const QString full = cellText(gwjs, network::Table::Pipes, 0, network::typedCount(network::Table::Pipes));
        QVERIFY2(full.startsWith(QStringLiteral("68.268101404")) && full.size() == 16, qPrintable(full));
        gwjs->findChild<QComboBox *>(QStringLiteral("digits"))->setCurrentIndex(1);
        QCOMPARE(cellText(gwjs, network::Table::Pipes, 0, network::typedCount(network::Table::Pipes)), QStringLiteral("68.27"));
        QCOMPARE(gwjs->editor()->typedNetwork().settings.digits, 4);
        gwjs->findChild<QComboBox *>(QStringLiteral("digits"))->setCurrentIndex(0);

        gwjs->editor()->moveNode(0, QPointF(12.34, 56.78));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Nodes)->cell(0, 3), QStringLiteral("12.3"));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Nodes)->cell(0, 4), QStringLiteral("56.8"));
        gwjs->editor()->undoStack()->undo();
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Nodes)->cell(0, 3), QStringLiteral("0"));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Nodes)->cell(0, 4), QStringLiteral("0"));

        QTemporaryDir dir;
        const QString svg = dir.filePath(QStringLiteral("管网.svg"));
        QVERIFY(gwjs->editor()->exportPicture(svg));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // Labelled as the DXF drawing is: size and length above each pipe, flow and drop below.
        // The texts as a reader sees them: a run of another font ("Δ") is an element of its own.
        QString text = QString::fromUtf8(file.readAll());
        text.remove(QRegularExpression(QStringLiteral("<[^>]*>|\n")));
        const network::Result &solved = gwjs->editor()->model()->result();
        for (int k = 0; k < 7; ++k) {
            const dxf::PipeLabels labels = dxf::pipeLabels(dxf::pipeOf(solved, k), true);
            QVERIFY2(text.contains(labels.above + labels.below), qPrintable(labels.above + labels.below));
        }
        QVERIFY(text.contains(QStringLiteral("S1 P=3000.0")));

        // The profile from its context menu, with its nodes.
        const QString profile = dir.filePath(QStringLiteral("压力曲线.svg"));
        setFileDialogHandler([&](const FileDialogRequest &) { return profile; });
        gwjs->editor()->profileView()->findChild<QAction *>(QStringLiteral("exportProfile"))->trigger();
        setFileDialogHandler({});
        QFile profileFile(profile);
        QVERIFY(profileFile.open(QIODevice::ReadOnly));
        const QByteArray profileText = profileFile.readAll();
        QVERIFY(profileText.contains(">S2<") && profileText.contains(">C<"));
    }

    // The drawing of a network loaded (a design opened) is seen whole, whatever the zoom
    // before; a row selected puts its item left of the legend; nodes at one place (a riser)
    // print their ids one under the other; Ctrl+Z undoes while the drawing has the focus.
    void theDrawingIsSeenWholeAndReadable()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S\t\t0\t0\t0\t3000\nA\t10\t0\t1000\t0\nB1\t5\t3\t1000\t500\n"
                                 "B2\t5\t6\t1000\t500\n"), QStringLiteral("1\tS\tA\t1000\t100\n2\tA\tB1\t500\t50\n3\tB1\tB2\t3\t25\n"));
        QVERIFY(gwjs);
        NetworkEditor *editor = gwjs->editor();
        NetworkView *view = editor->view();
        QVERIFY(editor->model()->result().converged);
        const double left = view->viewport()->width() - picture::legendWidth(view->font(), view->viewport()) - 30;
        // Every node in the part of the view left of the legend.
        auto inSight = [&] {
            for (const picture::Node &n :
                 picture::sceneOf(editor->model()->result(), editor->layout(), picture::ColourBy::UnitDrop, 15).nodes) {
                const QPoint at = view->mapFromScene(QPointF(n.at.x(), -n.at.y()));
                if (at.x() < 0 || at.x() > left || at.y() < 0 || at.y() > view->viewport()->height())
                    return false;
            }
            return true;
        };
        QVERIFY(inSight());

        // Zoomed far in, then the design opened again: seen whole.
        view->scale(40, 40);
        QVERIFY(!inSight());
        QTemporaryDir dir;
        const QString design = dir.filePath(QStringLiteral("立管.velmora"));
        QVERIFY(session.shell->saveDesign(design));
        QVERIFY(session.shell->openDesign(design));
        editor = gwjs->editor();
        view = editor->view();
        QTRY_VERIFY(view->isVisible());
        QVERIFY(inSight());
        view->scale(40, 40);
        editor->loadNetwork(editor->typedNetwork());
        QVERIFY(inSight());

        // A row selected: its item at the middle of the part left of the legend.
        view->scale(40, 40);
        editor->table(network::Table::Nodes)
            ->setCurrentIndex(editor->model()->table(network::Table::Nodes)->index(1, 0));
        const QPoint a = view->mapFromScene(QPointF(1000, 0));
        QVERIFY2(std::abs(a.x() - left / 2) <= 16, qPrintable(QString::number(a.x())));
        editor->table(network::Table::Pipes)
            ->setCurrentIndex(editor->model()->table(network::Table::Pipes)->index(0, 0));
        QVERIFY(std::abs(view->mapFromScene(QPointF(500, 0)).x() - left / 2) <= 16);

        // B1 and B2 stand at one place: their ids one line apart, here and in the report's drawing.
        const picture::Scene scene
            = picture::sceneOf(editor->model()->result(), editor->layout(), picture::ColourBy::UnitDrop, 15);
        QCOMPARE(scene.nodes[2].at, scene.nodes[3].at);
        QCOMPARE((QList<int>{scene.nodes[0].stack, scene.nodes[1].stack, scene.nodes[2].stack, scene.nodes[3].stack}),
                 (QList<int>{0, 0, 0, 1}));
        QList<QRectF> riser;
        for (QGraphicsItem *item : view->scene()->items()) {
            if (item->data(1).toInt() == 1 && item->data(0).toInt() >= 2)
                riser << item->sceneBoundingRect();
        }
        QCOMPARE(riser.size(), 2);
        QVERIFY(riser[0] != riser[1]);

        // Ctrl+Z and Ctrl+Y on the drawing.
        QApplication::setActiveWindow(gwjs);
        editor->moveNode(1, QPointF(900, 0));
        QCOMPARE(editor->model()->table(network::Table::Nodes)->cell(1, network::node::X), QStringLiteral("900"));
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->model()->table(network::Table::Nodes)->cell(1, network::node::X), QStringLiteral("1000"));
        QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(editor->model()->table(network::Table::Nodes)->cell(1, network::node::X), QStringLiteral("900"));
    }

    // A large network is solved off the window's thread: the edits show at once, the
    // results of the latest edit when they come, none of an earlier state meanwhile.
    void aLargeNetworkIsSolvedInTheBackground()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session);
        QVERIFY(gwjs);
        gwjs->editor()->model()->setBackgroundSize(0);
        pasteInto(gwjs, network::Table::Nodes, QStringLiteral("S\t\t0\t\t\t3000\nA\t20\t0\nB\t10\t0\n"));
        pasteInto(gwjs, network::Table::Pipes, QStringLiteral("1\tS\tA\t100\t100\n2\tA\tB\t100\t80\n"));
        QTRY_VERIFY(!gwjs->editor()->model()->isSolving());
        NetworkTableModel *nodes = gwjs->editor()->model()->table(network::Table::Nodes);
        nodes->setData(nodes->index(1, 1), QStringLiteral("40"));
        nodes->setData(nodes->index(1, 1), QStringLiteral("60"));
        QVERIFY(gwjs->editor()->model()->isSolving());
        auto *verdict = gwjs->findChild<QLabel *>(QStringLiteral("networkVerdict"));
        QCOMPARE(verdict->text(), QStringLiteral("结论：计算中…"));
        QCOMPARE(nodes->data(nodes->index(1, kPressure), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::gray));
        // A row inserted above: the results of the rows below are not shown on the wrong rows.
        gwjs->editor()->model()->table(network::Table::Nodes)->insertTypedRows(0, {{QStringLiteral("N")}});
        QCOMPARE(cellText(gwjs, network::Table::Nodes, 2, kPressure), QString());
        gwjs->editor()->model()->table(network::Table::Nodes)->removeTypedRows({0});
        QTRY_VERIFY(!gwjs->editor()->model()->isSolving());
        const network::Result latest = network::solve(gwjs->editor()->model()->network());
        QCOMPARE(gwjs->editor()->model()->network().nodes[1][network::node::Load], QStringLiteral("60"));
        QCOMPARE(cellText(gwjs, network::Table::Nodes, 2, kPressure), formatSignificant(*latest.nodes[2].pressure, 15));
        QVERIFY(verdict->text().startsWith(QStringLiteral("结论：满足")));
    }

    // A pipe to a node that is not there: its cell is marked, the verdict says what is
    // missing; undo takes the paste back whole.
    void aBadCellIsMarkedAndAPasteUndoesWhole()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S\t\t0\t\t\t3000\nA\t10\t0\n"), QStringLiteral("1\tS\tA\t100\t100\n2\tA\tX\t50\t80\n"));
        QVERIFY(gwjs);
        const NetworkTableModel *pipes = gwjs->editor()->model()->table(network::Table::Pipes);
        const QModelIndex to = pipes->index(1, 2);
        QVERIFY(pipes->data(to, Qt::BackgroundRole).isValid());
        QVERIFY(!pipes->data(to, Qt::ToolTipRole).toString().isEmpty());
        QVERIFY(textOf(gwjs, "networkVerdict").startsWith(QStringLiteral("结论：数据不全: ")));
        QCOMPARE(cellText(gwjs, network::Table::Pipes, 0, network::typedCount(network::Table::Pipes)), QString());

        gwjs->editor()->undoStack()->undo();
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Pipes)->typedRowCount(), 0);
        gwjs->editor()->undoStack()->redo();
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Pipes)->typedRowCount(), 2);
        gwjs->editor()->model()->table(network::Table::Pipes)->setData(to, QStringLiteral("A"));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Pipes)->typedRowCount(), 2);
        gwjs->editor()->model()->table(network::Table::Pipes)->setData(pipes->index(1, 1), QStringLiteral("S"));
        QVERIFY2(gwjs->editor()->model()->result().converged, qPrintable(textOf(gwjs, "networkVerdict")));
        QVERIFY(!pipes->data(to, Qt::BackgroundRole).isValid());
        // "1,200" m is not 1 m: refused with what it would be read as, and the verdict says so.
        gwjs->editor()->model()->table(network::Table::Pipes)->setData(pipes->index(0, 3), QStringLiteral("1,200"));
        const QString refusal = QStringLiteral("管段“1”的管长未能完整读取：读作 1");
        QCOMPARE(pipes->data(pipes->index(0, 3), Qt::ToolTipRole).toString(), refusal);
        QCOMPARE(pipes->data(pipes->index(0, 3), Qt::BackgroundRole).value<QBrush>().color(), toolkit::kProblemColor);
        QCOMPARE(textOf(gwjs, "networkVerdict"), QStringLiteral("结论：数据不全: %1（管段表第1行）").arg(refusal));
    }

    // Switching 低压 ⇄ 中高压 converts the typed lengths (m ⇄ km) and pressures (Pa ⇄ kPa)
    // with the class, as one step to undo, and says so; a number that cannot be converted
    // is named in a question first and, switched anyway, left as typed.
    void switchingThePressureClassConvertsAndUndoes()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S\t\t0\t\t\t3000\nA\t20\t0\n"), QStringLiteral("1\tS\tA\t21\t100\n"));
        QVERIFY(gwjs);
        NetworkEditor *editor = gwjs->editor();
        const NetworkTableModel *nodes = editor->model()->table(network::Table::Nodes);
        const NetworkTableModel *pipes = editor->model()->table(network::Table::Pipes);
        auto typed = [&] {
            return QStringList{nodes->cell(0, network::node::SourcePressure), pipes->cell(0, network::pipe::Length),
                               boxText(gwjs, "minPressure")};
        };
        const int steps = editor->undoStack()->count();
        clickOn(gwjs, "highPressure");
        QCOMPARE(editor->settings().pressure, network::Pressure::High);
        QCOMPARE(typed(), (QStringList{"3", "0.021", "1"}));
        QCOMPARE(textOf(gwjs, "statusLine"), QStringLiteral("已换算为中高压：管长 m→km，压力 Pa→kPa（表压）"));
        // Low-pressure figures are gauge: 3000 Pa becomes 3 kPa 表压.
        QCOMPARE(editor->settings().text(gas::kPressureBasis), gas::kGauge);
        QVERIFY(editor->model()->result().converged);
        QCOMPARE(editor->undoStack()->count(), steps + 1);
        editor->undoStack()->undo();
        QCOMPARE(editor->settings().text(gas::kPressureBasis), gas::kAbsolute);
        QCOMPARE(editor->settings().pressure, network::Pressure::Low);
        QVERIFY(checked(gwjs, "lowPressure"));
        QCOMPARE(typed(), (QStringList{"3000", "21", "1000"}));
        QVERIFY(editor->model()->result().converged);

        // "1,200" cannot be converted: asked first; declined, nothing changes.
        editor->model()
            ->table(network::Table::Pipes)
            ->setData(pipes->index(0, network::pipe::Length), QStringLiteral("1,200"));
        QStringList asked;
        bool answer = false;
        setQuestionHandler([&](const QString &question) {
            asked << question;
            return answer;
        });
        clickOn(gwjs, "highPressure");
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.front().contains(QStringLiteral("“1,200”")), qPrintable(asked.front()));
        QCOMPARE(editor->settings().pressure, network::Pressure::Low);
        QVERIFY(checked(gwjs, "lowPressure"));
        QCOMPARE(typed(), (QStringList{"3000", "1,200", "1000"}));
        answer = true;
        clickOn(gwjs, "highPressure");
        QCOMPARE(editor->settings().pressure, network::Pressure::High);
        QCOMPARE(typed(), (QStringList{"3", "1,200", "1"}));
        QVERIFY(textOf(gwjs, "statusLine").endsWith(QStringLiteral("；1个数未能换算，保持原样")));
        setQuestionHandler([](const QString &) { return false; });
    }

    // A design holds several named networks, one tab each: they are kept and opened
    // again by name, velmora-batch reaches each, and a design of one network kept the
    // old way opens as "管网1".
    void aDesignHoldsSeveralNetworks()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S\t\t0\t\t\t3000\nA\t20\t0\n"), QStringLiteral("1\tS\tA\t100\t100\n"));
        QVERIFY(gwjs);
        NetworkEditor *ring = gwjs->addNetwork();
        QCOMPARE(gwjs->count(), 2);
        QCOMPARE(gwjs->editor(), ring);
        setTextQuestionHandler([](const QString &, const QString &) { return std::optional<QString>(QStringLiteral("环网")); });
        QVERIFY(gwjs->renameNetwork(1));
        setTextQuestionHandler({});
        perform(ring, kSettings);
        pasteInto(gwjs, network::Table::Nodes, QStringLiteral("S\t\t0\t\t\t3000\nA\t5\t0\nB\t5\t0\n"));
        pasteInto(gwjs, network::Table::Pipes, QStringLiteral("1\tS\tA\t100\t100\n2\tA\tB\t100\t100\n3\tB\tS\t100\t100\n"));
        QVERIFY(ring->model()->result().converged);

        QTemporaryDir dir;
        const QString design = dir.filePath(QStringLiteral("小区.velmora"));
        QVERIFY(session.shell->saveDesign(design));
        gwjs->removeNetwork(1); // asks: the tests answer no
        QCOMPARE(gwjs->count(), 2);
        QVERIFY(session.shell->openDesign(design));
        QCOMPARE(gwjs->count(), 2);
        QCOMPARE(gwjs->name(0), QStringLiteral("管网1"));
        QCOMPARE(gwjs->name(1), QStringLiteral("环网"));
        QCOMPARE(gwjs->editor(1)->model()->table(network::Table::Pipes)->typedRowCount(), 3);
        QCOMPARE(gwjs->editor(0)->model()->table(network::Table::Pipes)->typedRowCount(), 1);

        const BatchRun run = runBatch({QStringLiteral("network"), design, QStringLiteral("--network"),
                                       QStringLiteral("环网"), QStringLiteral("--csv"), QStringLiteral("loops")},
                                      [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        QCOMPARE(csv::read(run.output).table.rows.size(), 1 + 3); // a row for each pipe of the one loop
        QCOMPARE(runBatch({QStringLiteral("network"), design, QStringLiteral("--network"), QStringLiteral("无")},
                          [] { return QByteArray(); })
                     .status,
                 2);

        QFile old(dir.filePath(QStringLiteral("旧.velmora")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(R"({"format": "velmora-design", "version": 1, "screens": {"gwjs": {"nodes": [["S", "", "0", "", "", "3000"]], "pipes": []}}})");
        old.close();
        QVERIFY(session.shell->openDesign(old.fileName()));
        QCOMPARE(gwjs->count(), 1);
        QCOMPARE(gwjs->name(0), QStringLiteral("管网1"));
        QCOMPARE(gwjs->editor()->model()->table(network::Table::Nodes)->cell(0, network::node::SourcePressure),
                 QStringLiteral("3000"));
    }

    // An EPANET file that gives its sources no pressure: the screen asks once, with the
    // last answer offered, and the import is one undo step.
    void anEpanetImportAsksForTheSourcePressure()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session);
        QVERIFY(gwjs);
        QTemporaryDir dir;
        QFile inp(dir.filePath(QStringLiteral("外部.inp")));
        QVERIFY(inp.open(QIODevice::WriteOnly));
        inp.write("[RESERVOIRS]\nR1 0\nR2 0\n[JUNCTIONS]\nJ1 0 5\n[PIPES]\nP1 R1 J1 100 100 100 0 Open\n"
                  "P2 J1 R2 100 100 100 0 Open\n[DEMANDS]\nJ1 2\nJ1 3\n[END]\n");
        inp.close();
        QStringList asked;
        setTextQuestionHandler([&asked](const QString &label, const QString &initial) {
            asked << label + u'|' + initial;
            return std::optional<QString>(QStringLiteral("2950"));
        });
        QVERIFY(gwjs->editor()->importInp(inp.fileName()));
        QVERIFY(gwjs->editor()->importInp(inp.fileName()));
        setTextQuestionHandler({});
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[0].contains(QStringLiteral("2个气源没有压力")) && asked[0].endsWith(u'|'));
        QVERIFY(asked[1].endsWith(QStringLiteral("|2950")));
        const NetworkTableModel *nodes = gwjs->editor()->model()->table(network::Table::Nodes);
        QCOMPARE(nodes->typedRowCount(), 3);
        QCOMPARE(nodes->cell(0, network::node::SourcePressure), QStringLiteral("2950"));
        QCOMPARE(nodes->cell(2, network::node::Load), QStringLiteral("5")); // [DEMANDS] replace, and add up
        gwjs->editor()->undoStack()->undo();
        QCOMPARE(nodes->typedRowCount(), 3); // the second import undone, the first still there
        gwjs->editor()->undoStack()->undo();
        QCOMPARE(nodes->typedRowCount(), 0);
        // Refused: the question answered with nothing leaves the tables as they were.
        setTextQuestionHandler([](const QString &, const QString &) { return std::optional<QString>(); });
        QVERIFY(!gwjs->editor()->importInp(inp.fileName()));
        setTextQuestionHandler({});
        QCOMPARE(nodes->typedRowCount(), 0);
    }

    // Each edit in the drawing is one undo step that the tables and the drawing follow at once,
    // undone and redone whole.
    void editsInTheDrawingAreOneStepEach_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<DrawnEnd>("first");
        QTest::addColumn<DrawnEnd>("second");
        QTest::addColumn<double>("grid");
        QTest::addColumn<QList<QStringList>>("nodes");
        QTest::addColumn<QList<QStringList>>("pipes");
        const QList<QStringList> nodes{
            {"S", "", "0", "0", "0", "3000"}, {"A", "10", "0", "100", "0"}, {"B", "5", "0", "100", "100"}};
        const QStringList first{"1", "S", "A", "", "100", "", "", "", "50 -20"}, second{"2", "A", "B", "120", "80", "2"};
        QTest::newRow("a node on a pipe splits it, each half with its bends")
            << "split" << pipeEnd(0, 75, -10) << DrawnEnd() << 0.0
            << nodes + QList<QStringList>{{"J1", "", "", "75", "-10"}}
            << QList<QStringList>{
                   {"1", "S", "J1", "", "100", "", "", "", "50 -20"}, second, {"3", "J1", "A", "", "100", "", ""}};
        QTest::newRow("a node on a pipe of a typed length shares it")
            << "split" << pipeEnd(1, 100, 25) << DrawnEnd() << 0.0
            << nodes + QList<QStringList>{{"J1", "", "", "100", "25"}}
            << QList<QStringList>{first, {"2", "A", "J1", "30", "80", "2"}, {"3", "J1", "B", "90", "80", "2"}};
        QTest::newRow("a node deleted takes its pipes")
            << "delete" << nodeEnd(1) << DrawnEnd() << 0.0 << QList<QStringList>{nodes[0], nodes[2]}
            << QList<QStringList>{};
        QTest::newRow("a pipe deleted leaves its nodes")
            << "delete" << pipeEnd(1, 0, 0) << DrawnEnd() << 0.0 << nodes << QList<QStringList>{first};
        QTest::newRow("a pipe drawn to a free place on the grid")
            << "draw" << nodeEnd(2) << freeEnd(3, 104) << 10.0 << nodes + QList<QStringList>{{"J1", "", "", "0", "100"}}
            << QList<QStringList>{first, second, {"3", "B", "J1"}};
        QTest::newRow("a pipe drawn from the middle of a pipe")
            << "draw" << pipeEnd(1, 100, 50) << nodeEnd(0) << 0.0
            << nodes + QList<QStringList>{{"J1", "", "", "100", "50"}}
            << QList<QStringList>{
                   first, {"2", "A", "J1", "60", "80", "2"}, {"3", "J1", "B", "60", "80", "2"}, {"4", "J1", "S"}};
        QTest::newRow("a pipe from a node to itself is not drawn")
            << "draw" << nodeEnd(1) << pipeEnd(0, 100, 0) << 0.0 << nodes << QList<QStringList>{first, second};
    }

    void editsInTheDrawingAreOneStepEach()
    {
        QFETCH(QString, edit);
        QFETCH(DrawnEnd, first);
        QFETCH(DrawnEnd, second);
        QFETCH(double, grid);
        QFETCH(QList<QStringList>, nodes);
        QFETCH(QList<QStringList>, pipes);
        Session session;
        NetworkScreen *gwjs = openWith(session, kPlacedNodes, kPlacedPipes);
        QVERIFY(gwjs);
        NetworkEditor *editor = gwjs->editor();
        editor->findChild<QCheckBox *>(QStringLiteral("gridSnap"))->setChecked(grid > 0);
        editor->findChild<QLineEdit *>(QStringLiteral("gridStep"))->setText(QString::number(grid));
        const QList<QStringList> nodesBefore = typedRows(gwjs, network::Table::Nodes);
        const QList<QStringList> pipesBefore = typedRows(gwjs, network::Table::Pipes);
        const int steps = editor->undoStack()->count();

        bool changed = false;
        if (edit == u"split")
            changed = editor->splitPipe(first.pipe, first.at);
        else if (edit == u"delete")
            changed = first.node >= 0 ? editor->deleteItems({first.node}, {}) : editor->deleteItems({}, {first.pipe});
        else
            changed = editor->drawPipe(first, second);
        const bool expected = widened(nodes, network::Table::Nodes) != nodesBefore
            || widened(pipes, network::Table::Pipes) != pipesBefore;
        QCOMPARE(changed, expected);
        QCOMPARE(editor->undoStack()->count(), steps + (expected ? 1 : 0));
        for (int pass = 0; pass < 2; ++pass) {
            QCOMPARE(typedRows(gwjs, network::Table::Nodes), widened(nodes, network::Table::Nodes));
            QCOMPARE(typedRows(gwjs, network::Table::Pipes), widened(pipes, network::Table::Pipes));
            // The drawing is of the network as it is now, each item where its row puts it.
            QCOMPARE(editor->view()->nodeItems(), nodes.size());
            QCOMPARE(editor->view()->pipeItems(), pipes.size());
            for (const QStringList &n : typedRows(gwjs, network::Table::Nodes)) {
                const QString tip = editor->view()->toolTipAt(editor->view()->viewportAt(
                    QPointF(n[network::node::X].toDouble(), n[network::node::Y].toDouble())));
                QVERIFY2(tip == n[network::node::Id] || tip.startsWith(n[network::node::Id] + QStringLiteral("：")),
                         qPrintable(tip));
            }
            if (!expected)
                break;
            editor->undoStack()->undo();
            QCOMPARE(typedRows(gwjs, network::Table::Nodes), nodesBefore);
            QCOMPARE(typedRows(gwjs, network::Table::Pipes), pipesBefore);
            editor->undoStack()->redo();
        }
    }

    // The tools do by clicks and keys what the edits do: a node at a free place, a pipe between
    // two nodes, the selection deleted.
    void theToolsWorkByClicksAndKeys()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, kPlacedNodes, kPlacedPipes);
        QVERIFY(gwjs);
        NetworkEditor *editor = gwjs->editor();
        NetworkView *view = editor->view();
        view->fitAll();
        const int steps = editor->undoStack()->count();

        clickOn(editor, "nodeTool");
        QCOMPARE(view->tool(), NetworkView::Tool::Node);
        const QPoint free = view->viewportAt(QPointF(40, 60));
        const QPointF placed = view->typedAt(free);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, free);
        QCOMPARE(typedRows(gwjs, network::Table::Nodes).value(3),
                 widened({{"J1", "", "", formatNumber(std::round(placed.x() * 1000) / 1000),
                           formatNumber(std::round(placed.y() * 1000) / 1000)}},
                         network::Table::Nodes)
                     .front());

        clickOn(editor, "pipeTool");
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->viewportAt(QPointF(0, 0)));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->viewportAt(QPointF(100, 100)));
        QCOMPARE(typedRows(gwjs, network::Table::Pipes).value(2).mid(0, 3), (QStringList{"3", "S", "B"}));

        clickOn(editor, "selectTool");
        view->selectPipe(2);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(editor->model()->table(network::Table::Pipes)->typedRowCount(), 2);
        QCOMPARE(editor->undoStack()->count(), steps + 3);
    }

    // A pipe without a typed length is as long as its course, shown grey and italic and saying
    // so; a node moved changes it; a typed length is shown as typed.
    void aLengthFromTheCourseIsShownAsSuch()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, kPlacedNodes, kPlacedPipes);
        QVERIFY(gwjs);
        const NetworkTableModel *pipes = gwjs->editor()->model()->table(network::Table::Pipes);
        const QModelIndex measured = pipes->index(0, network::pipe::Length),
                          typed = pipes->index(1, network::pipe::Length);
        QCOMPARE(pipes->data(measured).toString(), formatNumber(std::hypot(50, 20) * 2));
        QCOMPARE(pipes->data(measured, Qt::ToolTipRole).toString(), QStringLiteral("按图形计算的管长"));
        QVERIFY(pipes->data(measured, Qt::FontRole).value<QFont>().italic());
        QCOMPARE(pipes->data(measured, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::gray));
        QCOMPARE(pipes->data(measured, Qt::EditRole).toString(), QString());
        QCOMPARE(pipes->data(typed).toString(), QStringLiteral("120"));
        QVERIFY(!pipes->data(typed, Qt::FontRole).isValid());
        gwjs->editor()->moveNode(1, QPointF(100, 50));
        QCOMPARE(pipes->data(measured).toString(), formatNumber(std::hypot(50, 20) + std::hypot(50, 70)));
        QCOMPARE(gwjs->editor()->model()->result().pipes[0].length, std::hypot(50, 20) + std::hypot(50, 70));
    }

    // Survey coordinates are drawn relative to an origin near the network: the items sit near the
    // scene's middle, and a place is found where it is.
    void surveyCoordinatesAreDrawnNearTheOrigin()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, QStringLiteral("S\t\t0\t3512300.25\t401200.75\t3000\nA\t10\t0\t3512360.5\t401280.125\n"), QStringLiteral("1\tS\tA\t\t100\n"));
        QVERIFY(gwjs);
        NetworkView *view = gwjs->editor()->view();
        view->fitAll();
        QCOMPARE(view->origin(), QPointF(3510000, 400000));
        for (const QGraphicsItem *item : view->scene()->items())
            QVERIFY(std::abs(item->pos().x()) < 1e5 && std::abs(item->pos().y()) < 1e5);
        QVERIFY(view->toolTipAt(view->viewportAt(QPointF(3512360.5, 401280.125))).startsWith(QStringLiteral("A：")));
        QCOMPARE(gwjs->editor()->model()->result().pipes[0].length, std::hypot(60.25, 79.375));
    }

    // 导入图纸 through its dialog's seam: the request names the file's layers with their lines; the
    // import replaces both tables as one undo step; a refused or cancelled import changes nothing.
    // The network comes from the screen's own DXF export, so that export and import meet.
    void aDrawingIsImportedAsOneStep()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session, kPlacedNodes, kPlacedPipes);
        QVERIFY(gwjs);
        NetworkEditor *editor = gwjs->editor();
        QTemporaryDir dir;
        const QString drawing = dir.filePath(QStringLiteral("管网.dxf"));
        QVERIFY(editor->exportDrawing(drawing));

        // The dialog itself: the report of the layers ticked, before anything is taken.
        DrawingImportRequest request{drawing, drawing::listLayers(drawing), network::Pressure::Low};
        {
            DrawingImportDialog dialog(request);
            QVERIFY2(textOf(&dialog, "importReport").contains(QStringLiteral("节点 3 个，管段 2 根")),
                     qPrintable(textOf(&dialog, "importReport")));
            QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("importCommit"))->isEnabled());
            // The size layers are offered ticked; the labels, nodes and title block are not pipes.
            QCOMPARE(dialog.options()->layers,
                     (QStringList{QStringLiteral("燃气-低压-Di100"), QStringLiteral("燃气-低压-Di80")}));
        }

        {
            // A drawing that states no units is not read until the user says which.
            QFile file(drawing);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray bytes = file.readAll();
            QVERIFY(bytes.contains("$INSUNITS\n70\n6\n"));
            bytes.replace("$INSUNITS\n70\n6\n", "$INSUNITS\n70\n0\n");
            QFile unitless(dir.filePath(QStringLiteral("无单位.dxf")));
            QVERIFY(unitless.open(QIODevice::WriteOnly) && unitless.write(bytes) == bytes.size());
            unitless.close();
            DrawingImportDialog dialog(
                {unitless.fileName(), drawing::listLayers(unitless.fileName()), network::Pressure::Low});
            auto *commit = dialog.findChild<QPushButton *>(QStringLiteral("importCommit"));
            QVERIFY(!commit->isEnabled());
            QVERIFY(textOf(&dialog, "importReport").contains(QStringLiteral("请选择图纸单位")));
            dialog.findChild<QComboBox *>(QStringLiteral("importUnits"))->setCurrentText(QStringLiteral("cm"));
            QTRY_VERIFY(commit->isEnabled());
            QVERIFY2(textOf(&dialog, "importReport").contains(QStringLiteral("总长 2.077")),
                     qPrintable(textOf(&dialog, "importReport")));
        }

        std::optional<DrawingImportRequest> asked;
        std::optional<drawing::Options> answer;
        setDrawingImportHandler([&](const DrawingImportRequest &r) {
            asked = r;
            return answer;
        });
        const QList<QStringList> nodesBefore = typedRows(gwjs, network::Table::Nodes);
        const QList<QStringList> pipesBefore = typedRows(gwjs, network::Table::Pipes);
        const int steps = editor->undoStack()->index();
        auto unchanged = [&] {
            return typedRows(gwjs, network::Table::Nodes) == nodesBefore
                && typedRows(gwjs, network::Table::Pipes) == pipesBefore && editor->undoStack()->index() == steps;
        };
        // Cancelled.
        QVERIFY(!editor->importDrawing(drawing));
        QVERIFY(asked && unchanged());
        QStringList lines;
        for (const drawing::LayerLines &l : asked->layers.layers)
            lines << l.name + u' ' + QString::number(l.lines);
        QVERIFY2(lines.contains(QStringLiteral("燃气-低压-Di100 1"))
                     && lines.contains(QStringLiteral("燃气-低压-Di80 1")),
                 qPrintable(lines.join(u',')));

        // Refused whole: a file cut short.
        QFile whole(drawing);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray bytes = whole.readAll();
        QFile cut(dir.filePath(QStringLiteral("断.dxf")));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(bytes.indexOf("AcDbPolyline") + 20));
        cut.close();
        session.messages.take();
        answer = drawing::Options{};
        asked.reset();
        QVERIFY(!editor->importDrawing(cut.fileName()));
        QVERIFY(unchanged());
        QVERIFY(session.messages.take().value(0).contains(QStringLiteral("未导入")));

        // Taken: the size layers, as one step.
        answer->layers = QStringList{QStringLiteral("燃气-低压-Di80"), QStringLiteral("燃气-低压-Di100")};
        QVERIFY(editor->importDrawing(drawing));
        setDrawingImportHandler({});
        QCOMPARE(editor->undoStack()->index(), steps + 1);
        const QList<QStringList> nodesAfter = typedRows(gwjs, network::Table::Nodes);
        const QList<QStringList> pipesAfter = typedRows(gwjs, network::Table::Pipes);
        QStringList places;
        for (const QStringList &n : nodesAfter)
            places << n[network::node::X] + u' ' + n[network::node::Y];
        QCOMPARE(places, (QStringList{"0 0", "100 0", "100 100"}));
        QCOMPARE(pipesAfter.size(), 2);
        QCOMPARE(pipesAfter[0][network::pipe::Vertices], QStringLiteral("50 -20"));
        // The same millimetres, labelled "Di100" and read back.
        QCOMPARE(pipesAfter[0][network::pipe::Diameter], QStringLiteral("100"));
        // The typed 120 m was not the drawing's 100 m: the drawing's is taken.
        QCOMPARE(pipesAfter[1][network::pipe::Length], QStringLiteral("100"));
        editor->undoStack()->undo();
        QVERIFY(unchanged());
        editor->undoStack()->redo();
        QCOMPARE(typedRows(gwjs, network::Table::Pipes), pipesAfter);

        // A network not solved has no drawing to export.
        QVERIFY(!editor->exportDrawing(dir.filePath(QStringLiteral("未求解.dxf"))));
        QVERIFY(session.messages.take().value(0).startsWith(QStringLiteral("管网未求解")));
    }

    // A large network is solved off the window's thread: the edits show at once, the
    // results of the latest edit when they come, none of an earlier state meanwhile.

    // A paste that adds rows, an import and a design opened each solve the network once.
    void eachEditSolvesOnce()
    {
        Session session;
        NetworkScreen *gwjs = openWith(session);
        QVERIFY(gwjs);
        NetworkModel *model = gwjs->editor()->model();
        int before = model->solveCount();
        pasteInto(gwjs, network::Table::Nodes, QStringLiteral("S\t\t0\t\t\t3000\nA\t20\t0\nB\t10\t0\n"));
        QCOMPARE(model->solveCount(), before + 1);
        QTemporaryDir dir;
        QFile inp(dir.filePath(QStringLiteral("环.inp")));
        QVERIFY(inp.open(QIODevice::WriteOnly));
        inp.write("[RESERVOIRS]\nR 0 ;source_pressure 3000 Pa\n[JUNCTIONS]\nJ 0 5\n[PIPES]\n"
                  "P1 R J 100 100 100 0 Open\n[END]\n");
        inp.close();
        before = model->solveCount();
        QVERIFY(gwjs->editor()->importInp(inp.fileName()));
        QCOMPARE(model->solveCount(), before + 1);
        before = model->solveCount();
        gwjs->editor()->loadNetwork(gwjs->editor()->typedNetwork());
        QCOMPARE(model->solveCount(), before + 1);
    }
};

QTEST_MAIN(NetworkScreenTest)
#include "tst_network_screen.moc"
