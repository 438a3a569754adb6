// Pipe catalogues and sizes by name, the smallest size and the largest velocity,
// gauge and absolute pressures, the bill of quantities and the verdict's margin: in the
// solver, the design file, the command line, the report and on the screen.
#include "batch.h"
#include "csv.h"
#include "design_file.h"
#include "gui_test.h"
#include "network.h"
#include "network/catalogue_dialog.h"
#include "network/network_editor.h"
#include "network/network_model.h"
#include "network/network_screen.h"
#include "network_catalogue.h"
#include "network_columns.h"
#include "network_options.h"
#include "number_text.h"
#include "report.h"
#include "sections.h"
#include "shell.h"
#include "support/test_files.h"
#include "widgets.h"

#include <QBrush>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <cmath>
#include <functional>

using namespace network;

namespace {

Settings lowSettings(const QString &minPressure = QStringLiteral("2800"))
{
    Settings s = initialSettings();
    s.setText(QStringLiteral("density"), QStringLiteral("0.72"));
    s.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
    s.setText(QStringLiteral("temperature"), QStringLiteral("288"));
    s.setText(QStringLiteral("minPressure"), minPressure);
    return s;
}

Settings highSettings(const QString &minPressure, const QString &basis)
{
    Settings s = lowSettings(minPressure);
    s.pressure = Pressure::High;
    s.setText(gas::kPressureBasis, basis);
    return s;
}

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

// A bill of quantities as its rows, the totals last.
QList<QStringList> billOf(const Result &r)
{
    QList<QStringList> rows = quantityRows(r);
    rows.removeFirst();
    return rows;
}

BatchRun batch(const QStringList &arguments)
{
    return runBatch(arguments, [] { return QByteArray(); });
}

} // namespace

class NetworkCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    // One pipe from the regulator to a building of 0.5 Nm^3/h: 15 mm keeps within any
    // budget, so what sizing picks is the smallest the series and the minimum allow.
    void sizingNeverPicksBelowTheMinimum_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("minSize");
        QTest::addColumn<QString>("material");
        QTest::addColumn<double>("diameter");
        QTest::addColumn<QString>("size");
        QTest::newRow("the 19 diameters, no minimum") << "section"
                                                      << ""
                                                      << "1" << 15.0 << "";
        QTest::newRow("the 19 diameters from 40 mm") << "section"
                                                     << "40"
                                                     << "1" << 40.0 << "";
        // dn63 is a plastic size of 63 - 2 x 5.8 = 51.4 mm: 50 is below it, 70 the next of the 19.
        QTest::newRow("the 19 diameters above a plastic name") << "section"
                                                               << "dn63"
                                                               << "3" << 70.0 << "";
        QTest::newRow("steel catalogue, no minimum") << "catalogue"
                                                     << ""
                                                     << "1" << 15.7 << "DN15";
        // DN25: 33.7 - 2 x 3.2.
        QTest::newRow("steel catalogue from DN25") << "catalogue"
                                                   << "dn63, DN25"
                                                   << "1" << 27.3 << "DN25";
        QTest::newRow("plastic catalogue from dn63") << "catalogue"
                                                     << "dn63, DN25"
                                                     << "3" << 51.4 << "dn63";
        // A plastic minimum leaves steel alone; millimetres hold for every material.
        QTest::newRow("a plastic minimum on steel") << "catalogue"
                                                    << "dn63"
                                                    << "1" << 15.7 << "DN15";
        QTest::newRow("steel catalogue from 30 mm") << "catalogue"
                                                    << "30"
                                                    << "1" << 35.4 << "DN32";
        QTest::newRow("cast iron catalogue") << "catalogue"
                                             << ""
                                             << "2" << 75.0 << "DN75";
    }

    void sizingNeverPicksBelowTheMinimum()
    {
        QFETCH(QString, series);
        QFETCH(QString, minSize);
        QFETCH(QString, material);
        QFETCH(double, diameter);
        QFETCH(QString, size);
        Settings s = lowSettings();
        s.setText(kSeries, series);
        s.setText(kMinSize, minSize);
        const Result r
            = solve({s, {{"S", "", "0", "", "", "3000"}, {"A", "0.5", "0"}}, {{"1", "S", "A", "100", "", material}}});
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QCOMPARE(r.pipes[0].diameter, diameter);
        QCOMPARE(r.pipes[0].size, size);
        QCOMPARE(sizeText(r.pipes[0]), size.isEmpty() ? formatShortest(diameter) : size);
    }

    // Enough flow that the budget, not the minimum, decides: the smallest size within it.
    void aCatalogueSizeIsTheSmallestWithinTheBudget()
    {
        Settings s = lowSettings();
        s.setText(kSeries, kCatalogueSeries);
        s.setText(kMinSize, QStringLiteral("DN25"));
        const Result r = solve({s, {{"S", "", "0", "", "", "3000"}, {"A", "40", "0"}}, {{"1", "S", "A", "100", ""}}});
        QVERIFY(r.solved());
        // The budget per metre: 200 Pa over 100 m with 10 % local loss.
        const double budget = (3000 - 2800) / (100 * 1.1);
        const std::vector<pd::PipeSize> steel = pd::DefaultCatalogue(0);
        const auto chosen = std::find_if(steel.begin(), steel.end(), [&r](const pd::PipeSize &p) {
            return p.name == r.pipes[0].size.toStdString();
        });
        QVERIFY(chosen != steel.end() && chosen != steel.begin());
        QCOMPARE(r.pipes[0].diameter, chosen->inner);
        QVERIFY(r.pipes[0].unitDrop <= budget);
        QVERIFY(calc::lowSection(40, 1.5E-5, 288, 0.72, 0, (chosen - 1)->inner).drop > budget);
        QVERIFY(r.pipes[0].diameter > 27.3);
        QVERIFY(r.pipes[0].message.isEmpty());
    }

    void aDiameterCellTakesASizeByName_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("material");
        QTest::addColumn<QList<QStringList>>("steel"); // the steel catalogue; empty: the default
        QTest::addColumn<double>("inner");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("refused");
        const QList<QStringList> none;
        QTest::newRow("DN100 of steel: 114.3 - 2 x 4") << "DN100"
                                                       << "" << none << 106.3 << "DN100"
                                                       << "";
        QTest::newRow("the name in another case") << " dn100 "
                                                  << "钢管" << none << 106.3 << "DN100"
                                                  << "";
        QTest::newRow("dn110 of PE: 110 - 2 x 10") << "dn110"
                                                   << "3" << none << 90.0 << "dn110"
                                                   << "";
        QTest::newRow("DN150 of cast iron: its bore") << "DN150"
                                                      << "2" << none << 150.0 << "DN150"
                                                      << "";
        QTest::newRow("millimetres as before") << "106.3"
                                               << "" << none << 106.3 << ""
                                               << "";
        QTest::newRow("a size of an edited catalogue")
            << "D108x4"
            << "" << QList<QStringList>{{"D108x4", "108", "4"}} << 100.0 << "D108x4"
            << "";
        QTest::newRow("a plastic name on steel") << "dn110"
                                                 << "1" << none << 0.0 << ""
                                                 << "管段“1”的管径“dn110”不在钢管的管材规格中";
        QTest::newRow("a name no catalogue has") << "Φ108"
                                                 << "" << none << 0.0 << ""
                                                 << "管段“1”的管径“Φ108”不在钢管的管材规格中";
        QTest::newRow("millimetres not read whole") << "100mm"
                                                    << "" << none << 0.0 << ""
                                                    << "管段“1”的管径未能完整读取：读作 100";
        QTest::newRow("a wall as thick as half the pipe") << "DN100"
                                                          << "" << QList<QStringList>{{"DN100", "8", "4"}} << 0.0 << ""
                                                          << "钢管的管材规格第1行：规格“DN100”的外径应大于两倍壁厚";
        QTest::newRow("a size named twice")
            << "DN100"
            << "" << QList<QStringList>{{"DN100", "114.3", "4"}, {"dn100", "110", "4"}} << 0.0 << ""
            << "钢管的管材规格第2行：规格“dn100”重复";
        QTest::newRow("an outside diameter without its wall")
            << "DN100"
            << "" << QList<QStringList>{{"DN100", "114.3", ""}} << 0.0 << ""
            << "钢管的管材规格第1行：规格“DN100”须同时录入外径和壁厚";
    }

    void aDiameterCellTakesASizeByName()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, material);
        QFETCH(QList<QStringList>, steel);
        QFETCH(double, inner);
        QFETCH(QString, size);
        QFETCH(QString, refused);
        Network net{lowSettings(QStringLiteral("1000")),
                    {{"S", "", "0", "", "", "3000"}, {"A", "20", "0"}},
                    {{"1", "S", "A", "100", diameter, material}}};
        if (!steel.isEmpty())
            net.catalogues[0] = steel;
        const Result r = solve(net);
        if (!refused.isEmpty()) {
            QVERIFY(r.refused);
            QCOMPARE(r.refused->text, refused);
            return;
        }
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QCOMPARE(r.pipes[0].diameter, inner);
        QCOMPARE(r.pipes[0].size, size);
        // The JSON's diameter is the inner one, its size the name (null for millimetres).
        const QList<Column> &pipes = columns(Table::Pipes);
        const auto sizeColumn
            = std::find_if(pipes.begin(), pipes.end(), [](const Column &c) { return c.key == u"size"; });
        QCOMPARE(sizeColumn->value(r, 0), size.isEmpty() ? Value() : Value(size));
    }

    // v = Q (P0/P) (T/T0) / (A 3600), P the absolute mean of the pipe's ends.
    void aVelocityIsWorkedByHand_data()
    {
        QTest::addColumn<bool>("high");
        QTest::addColumn<QString>("maxVelocity");
        QTest::addColumn<QString>("message");
        QTest::newRow("low pressure, under the largest") << false << "5"
                                                         << "";
        QTest::newRow("low pressure, over the largest") << false << "2.5"
                                                        << "流速超过 2.5 m/s";
        QTest::newRow("medium pressure as gauge") << true << ""
                                                  << "";
    }

    void aVelocityIsWorkedByHand()
    {
        QFETCH(bool, high);
        QFETCH(QString, maxVelocity);
        QFETCH(QString, message);
        Settings s = high ? highSettings(QStringLiteral("100"), gas::kGauge) : lowSettings(QStringLiteral("1000"));
        s.setText(kMaxVelocity, maxVelocity);
        const QString source = high ? QStringLiteral("300") : QStringLiteral("3000");
        const Result r = solve(
            {s, {{"S", "", "0", "", "", source}, {"A", "20", "0"}}, {{"1", "S", "A", high ? "0.5" : "100", "50"}}});
        QVERIFY(r.solved());
        const double P1 = source.toDouble(), P2 = *r.nodes[1].pressure;
        // Absolute kPa: low pressures are gauge in Pa; the medium pressures here gauge in kPa.
        const double mean = high ? (P1 + P2) / 2 + 101.325 : (P1 + P2) / 2 / 1000 + 101.325;
        const double area = 3.14159 * 0.05 * 0.05 / 4;
        const double v = 20 * (101.325 / mean) * (288 / 273.15) / (area * 3600);
        QVERIFY2(near(*r.pipes[0].velocity, v, 1e-12), qPrintable(QString::number(*r.pipes[0].velocity)));
        // Near 2.98 m/s at atmospheric pressure; less as the gas is compressed.
        QVERIFY(v > (high ? 0.6 : 2.8) && v < (high ? 0.8 : 3.0));
        QCOMPARE(r.pipes[0].tooFast, !message.isEmpty());
        QCOMPARE(r.pipes[0].message, message);
    }

    // The same network typed as gauge, and as absolute at pressures an atmosphere higher:
    // the same flows and sizes, pressures an atmosphere apart, the same margin.
    void gaugeAndAbsoluteGiveTheSameNetwork_data()
    {
        QTest::addColumn<QString>("atmosphere");
        QTest::newRow("the standard atmosphere") << "101.325";
        QTest::newRow("a high plateau") << "70";
    }

    void gaugeAndAbsoluteGiveTheSameNetwork()
    {
        QFETCH(QString, atmosphere);
        const double atm = atmosphere.toDouble();
        auto ring = [](const Settings &s, double source) {
            return Network{s,
                           {{"S", "", "", "", "", formatShortest(source)}, {"A", "300"}, {"B", "200"}, {"C", "300"}},
                           {{"1", "S", "A", "1", "150"},
                            {"2", "A", "B", "1", "100"},
                            {"3", "B", "C", "1", "100"},
                            {"4", "C", "S", "1", "150"}}};
        };
        auto tree = [](const Settings &s, double source) {
            return Network{s,
                           {{"S", "", "", "", "", formatShortest(source)}, {"A", "300"}, {"B", "200"}},
                           {{"1", "S", "A", "2", ""}, {"2", "A", "B", "1.5", ""}}};
        };
        for (const auto &make : {std::function<Network(const Settings &, double)>(ring),
                                 std::function<Network(const Settings &, double)>(tree)}) {
            Settings gauge = highSettings(QStringLiteral("100"), gas::kGauge);
            gauge.setText(gas::kAtmosphere, atmosphere);
            const Settings absolute = highSettings(formatShortest(100 + atm), gas::kAbsolute);
            const Result g = solve(make(gauge, 300)), a = solve(make(absolute, 300 + atm));
            QVERIFY(g.solved() && a.solved());
            QVERIFY(g.gauge && !a.gauge);
            for (qsizetype k = 0; k < g.pipes.size(); ++k) {
                QVERIFY(near(g.pipes[k].flow, a.pipes[k].flow, 1e-9));
                QCOMPARE(g.pipes[k].diameter, a.pipes[k].diameter);
                QVERIFY(near(*g.pipes[k].velocity, *a.pipes[k].velocity, 1e-9));
            }
            for (qsizetype i = 0; i < g.nodes.size(); ++i)
                QVERIFY(near(*g.nodes[i].pressure + atm, *a.nodes[i].pressure, 1e-9));
            QVERIFY(near(*g.margin, *a.margin, 1e-9));
            QCOMPARE(g.verdict, a.verdict);
        }
    }

    void theVerdictGivesTheWorstNodeAndTheMargin_data()
    {
        QTest::addColumn<QString>("minPressure");
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("margin");
        // No flow: A, 10 m below the source, has 3000 - (1.293 - 0.72) x 10 x 9.81 = 2943.7887 Pa.
        QTest::newRow("met") << "2900"
                             << "满足：最不利节点 A，2944 Pa，富余 43.79 Pa" << 43.7887;
        QTest::newRow("falls short") << "3000"
                                     << "不满足：最不利节点 A，2944 Pa，不足 56.21 Pa" << -56.2113;
    }

    void theVerdictGivesTheWorstNodeAndTheMargin()
    {
        QFETCH(QString, minPressure);
        QFETCH(QString, line);
        QFETCH(double, margin);
        const Result r = solve({lowSettings(minPressure),
                                {{"S", "0", "0", "", "", "3000"}, {"A", "0", "-10"}, {"B", "0", "0"}},
                                {{"1", "S", "A", "100", "50"}, {"2", "S", "B", "100", "50"}}});
        QVERIFY(r.solved());
        QCOMPARE(verdictLine(r, 4), line);
        QVERIFY(near(*r.margin, margin, 1e-9));
        QCOMPARE(r.met, margin >= 0);
        // The verdict of the files stays as it was.
        QCOMPARE(r.verdict.startsWith(QStringLiteral("满足")), margin >= 0);
    }

    // Two steel DN100 (50 m, 30 m), a steel pipe typed as 106.3 mm (DN100's bore, but a
    // number: a row of its own), a PE dn110 of 40 m and a sized PE pipe of 20 m, counted by hand.
    void theQuantitiesAreCountedByHand()
    {
        Settings s = lowSettings(QStringLiteral("1000"));
        s.setText(kSeries, kCatalogueSeries);
        s.setText(kMinSize, QStringLiteral("dn63"));
        const Network net{s,
                          {{"S", "", "0", "", "", "3000"}, {"A", "5"}, {"B", "5"}, {"C", "5"}, {"D", "5"}, {"E", "1"}},
                          {{"1", "S", "A", "50", "DN100"},
                           {"2", "A", "B", "30", "dn100", "1"},
                           {"3", "B", "C", "12.5", "106.3"},
                           {"4", "C", "D", "40", "dn110", "塑料管"},
                           {"5", "D", "E", "20", "", "3"}}};
        const Result r = solve(net);
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QCOMPARE(r.pipes[4].size, QStringLiteral("dn63")); // 1 Nm^3/h: the smallest allowed
        const QList<QStringList> expected{{"钢管", "DN100", "80", "2"},
                                          {"钢管", "106.3", "12.5", "1"},
                                          {"塑料管", "dn63", "20", "1"},
                                          {"塑料管", "dn110", "40", "1"},
                                          {"合计", "", "152.5", "5"}};
        QCOMPARE(billOf(r), expected);

        // The command line gives the same bill, and the JSON its rows and totals.
        QTemporaryDir dir;
        design::Design d = design::initial();
        d.screens.insert(kCode, design::networkScreenValues({{QStringLiteral("小区"), net}}));
        const QString file = dir.filePath(QStringLiteral("小区.velmora"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(design::write(d));
        f.close();
        const BatchRun csvRun = batch({"network", file, "--csv", "quantities"});
        QCOMPARE(csvRun.status, 0);
        QCOMPARE(
            QString::fromUtf8(csvRun.output),
            QStringLiteral("material,size,length,pipes\r\n钢管,DN100,80,2\r\n钢管,106.3,12.5,1\r\n塑料管,dn63,20,1\r\n"
                           "塑料管,dn110,40,1\r\n合计,,152.5,5\r\n"));
        const BatchRun jsonRun = batch({"network", file});
        QCOMPARE(jsonRun.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(jsonRun.output).object();
        const QJsonObject bill = root.value("quantities").toObject();
        QCOMPARE(bill.value("length").toDouble(), 152.5);
        QCOMPARE(bill.value("pipes").toDouble(), 5.0);
        QCOMPARE(bill.value("rows").toArray()[2].toObject().value("size").toString(), QStringLiteral("dn63"));
        QCOMPARE(bill.value("rows").toArray()[2].toObject().value("diameter").toDouble(), 51.4);
        const QJsonArray pipes = root.value("pipes").toArray();
        QCOMPARE(pipes[0].toObject().value("diameter").toDouble(), 106.3);
        QCOMPARE(pipes[0].toObject().value("size").toString(), QStringLiteral("DN100"));
        QVERIFY(pipes[2].toObject().value("size").isNull());
        QVERIFY(pipes[2].toObject().value("velocity").isDouble());
        QCOMPARE(root.value("margin").toDouble(), *r.margin);
        QCOMPARE(root.value("verdict").toString(), QStringLiteral("满足"));
    }

    // The options of sizing, velocity and gauge pressures; the loops a checker adds up.
    void theCommandLineTakesTheNewOptions()
    {
        QTemporaryDir dir;
        auto write = [&dir](const char *name, const QByteArray &bytes) { return writeFile(dir, name, bytes); };
        const QString nodes = write("n.csv", "node,load,source_pressure\nS,,300\nA,300,\nB,200,\nC,300,\n");
        const QString ring = write("ring.csv",
                                   "pipe,from,to,length,diameter\n1,S,A,1,DN150\n2,A,B,1,DN100\n"
                                   "3,B,C,1,DN100\n4,C,S,1,DN150\n");
        const QString tree = write("tree.csv",
                                   "pipe,from,to,length,diameter,material\n1,S,A,1,,3\n2,A,B,1,,3\n"
                                   "3,S,C,1,,1\n");
        const QStringList options{"network", "--pressure",    "high", "--density",      "0.72", "--viscosity",
                                  "1.5E-5",  "--temperature", "288",  "--min-pressure", "100"};
        BatchRun run
            = batch(options + QStringList{"--gauge", "--atmosphere", "100", "--nodes", nodes, "--pipes", ring});
        QCOMPARE(run.status, 0);
        QJsonObject root = QJsonDocument::fromJson(run.output).object();
        // Gauge pressures as typed: the source's 300 kPa is 400 kPa absolute.
        const QJsonArray nodeJson = root.value("nodes").toArray();
        QCOMPARE(nodeJson[0].toObject().value("pressure").toDouble(), 300.0);
        const QJsonObject loop = root.value("loops").toArray()[0].toObject();
        double closure = 0;
        for (qsizetype i = 0; i < loop.value("pipes").toArray().size(); ++i)
            closure += loop.value("directions")[i].toDouble() * loop.value("drops")[i].toDouble();
        QVERIFY(near(closure, loop.value("closure").toDouble(), 1e-9));
        // The CSV of the loops: a row for each pipe, adding up to the closure.
        run = batch(options + QStringList{"--gauge", "--nodes", nodes, "--pipes", ring, "--csv", "loops"});
        const QList<QStringList> loops = csv::read(run.output).table.rows;
        QCOMPARE(loops.front(), loopKeys());
        QCOMPARE(loops.size(), 5);
        double sum = 0;
        for (qsizetype i = 1; i < loops.size(); ++i)
            sum += loops[i][2].toDouble() * loops[i][3].toDouble();
        QVERIFY(near(sum, loops[1][4].toDouble(), 1e-9));

        // Sizing from the catalogues with a minimum for each material, given twice.
        run = batch(options
                    + QStringList{"--series", "catalogue", "--min-size", "dn90", "--min-size", "DN80", "--max-velocity",
                                  "10", "--nodes", nodes, "--pipes", tree});
        QCOMPARE(run.status, 0);
        root = QJsonDocument::fromJson(run.output).object();
        const QJsonArray pipeJson = root.value("pipes").toArray();
        for (const QJsonValue &p : pipeJson) {
            const bool plastic = p.toObject().value("material").toDouble() == 3;
            QVERIFY(p.toObject().value("diameter").toDouble() >= (plastic ? 90 - 2 * 8.2 : 88.9 - 2 * 4.0));
            QVERIFY(p.toObject().value("size").isString());
            QVERIFY(p.toObject().value("velocity").toDouble() > 0);
        }
        // Refused with one line: an unknown minimum, a series that is none, a table that is none.
        for (const auto &[extra, error] :
             {std::pair{QStringList{"--min-size", "DN7"}, QStringLiteral("最小管径“DN7”不在任何管材规格中")},
              std::pair{QStringList{"--series", "nominal"}, QStringLiteral("--series 应为 section|catalogue")},
              std::pair{QStringList{"--csv", "sizes"}, QStringLiteral("--csv 应为 nodes、pipes、loops 或 quantities")},
              std::pair{QStringList{"--max-velocity", "0"}, QStringLiteral("最大流速应大于0")}}) {
            run = batch(options + extra + QStringList{"--nodes", nodes, "--pipes", tree});
            QCOMPARE(run.status, 2);
            QVERIFY2(QString::fromUtf8(run.error).contains(error), run.error.constData());
        }
    }

    // The catalogues are kept with each network; a design without them opens with the defaults.
    void theCataloguesAreKeptInTheDesignFile()
    {
        Network net{lowSettings(), {{"S", "", "0", "", "", "3000"}}, {}};
        net.catalogues[0] = {{"D108x4", "108", "4"}, {"DN100", "114.3", "4"}};
        net.catalogues[1].clear();
        design::Design d = design::initial();
        d.screens.insert(kCode, design::networkScreenValues({{QStringLiteral("环网"), net}}));
        const design::Read back = design::read(design::write(d));
        QVERIFY2(back.ok(), qPrintable(back.error));
        const Network again = design::networksOf(back.design.screens.value(kCode)).front().network;
        QCOMPARE(again.catalogues[0], net.catalogues[0]);
        QVERIFY(again.catalogues[1].isEmpty());
        QCOMPARE(again.catalogues[2], defaultCatalogue(2));

        const QByteArray old = R"({"format": "velmora-design", "version": 1, "screens": {"gwjs": {"networks": [)"
                               R"({"name": "小区", "catalogues": {"plastic": [["dn63", "63", "5.8"]]}}]}}})";
        const design::Read read = design::read(old);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const Network opened = design::networksOf(read.design.screens.value(kCode)).front().network;
        QCOMPARE(opened.catalogues[0], defaultCatalogue(0));
        QCOMPARE(opened.catalogues[2], (QList<Row>{{"dn63", "63", "5.8"}}));
        QCOMPARE(design::read(QByteArray(old).replace("plastic", "copper")).error,
                 QStringLiteral("“gwjs/networks/catalogues”没有管材“copper”"));
    }

    // What a reviewer checks: materials, sizes and velocities in the pipe table, the
    // quantities, the loops pipe by pipe, the formulas and the verdict with its margin.
    void theReportHoldsWhatAReviewerChecks()
    {
        Settings s = highSettings(QStringLiteral("100"), gas::kGauge);
        s.setText(kMaxVelocity, QStringLiteral("1"));
        const Network net{s,
                          {{"S", "", "", "", "", "300"}, {"A", "300"}, {"B", "200"}, {"C", "300"}},
                          {{"1", "S", "A", "1", "DN150"},
                           {"2", "A", "B", "1", "dn110", "3"},
                           {"3", "B", "C", "1", "dn110", "3"},
                           {"4", "C", "S", "1", "DN150"}}};
        const Result r = solve(net);
        QVERIFY(r.solved());
        report::Report rep;
        rep.networks.append({QStringLiteral("中压环网"), net, r});
        const QString html = report::html(rep);
        for (const QString &text :
             {QStringLiteral("钢管"), QStringLiteral("塑料管"), QStringLiteral("流速(m/s)"), QStringLiteral("规格"),
              QStringLiteral("dn110"), QStringLiteral("管材统计"), QStringLiteral("合计"), QStringLiteral("方向"),
              QStringLiteral("压力(kPa，表压)"), QStringLiteral("最低压力(kPa，表压)：100"), QStringLiteral("流速 v ="),
              QStringLiteral("（超限）"), QStringLiteral("流速超过 1 m/s"), verdictLine(r, 15).toHtmlEscaped()})
            QVERIFY2(html.contains(text), qPrintable(text));
        QVERIFY(verdictLine(r, 15).contains(QStringLiteral("kPa（表压），富余")));
        QVERIFY(!html.contains(QStringLiteral("高程")));
    }

    // The screen: a size by name, the catalogue edited and undone, the bill, the verdict,
    // a velocity over the largest in red and the captions of gauge pressures.
    void theScreenEditsTheCataloguesAndShowsTheBill()
    {
        Session session;
        QWidget *xz = session.login();
        chooseMenuItem(xz, QStringLiteral("管网计算"));
        auto *gwjs = qobject_cast<NetworkScreen *>(session.shell->screen(QStringLiteral("gwjs")));
        QVERIFY(gwjs && QTest::qWaitForWindowExposed(gwjs));
        NetworkEditor *editor = gwjs->editor();
        Network net{lowSettings(QStringLiteral("1000")),
                    {{"S", "", "0", "", "", "3000"}, {"A", "20", "0"}},
                    {{"1", "S", "A", "100", "DN100"}}};
        net.settings.setText(kMaxVelocity, QStringLiteral("0.5"));
        editor->loadNetwork(net);
        NetworkModel *model = editor->model();
        QVERIFY(model->result().solved());
        QCOMPARE(model->result().pipes[0].diameter, 106.3);
        const NetworkTableModel *pipes = model->table(Table::Pipes);
        const QModelIndex diameter = pipes->index(0, pipe::Diameter);
        QCOMPARE(pipes->data(diameter).toString(), QStringLiteral("DN100"));
        QVERIFY(!pipes->data(diameter, Qt::BackgroundRole).isValid()); // a name, not a number misread
        const QModelIndex velocity = pipes->index(0, pipes->columnOf(QStringLiteral("velocity")));
        QCOMPARE(pipes->data(velocity, Qt::BackgroundRole).value<QBrush>().color(), toolkit::kProblemColor);

        // The steel DN100 with a wall of 6 mm: 102.3 mm, solved again, one undo step.
        CatalogueDialog *dialog = editor->showCatalogues();
        QVERIFY(dialog->isVisible());
        CatalogueTableModel *steel = model->catalogue(0);
        QCOMPARE(dialog->table(0)->model(), steel);
        const int row = int(pd::FindSize(pd::DefaultCatalogue(0), "DN100").value());
        QVERIFY(steel->setData(steel->index(row, size::Wall), QStringLiteral("6")));
        QCOMPARE(steel->data(steel->index(row, size::Count)).toString(), QStringLiteral("102.3"));
        QCOMPARE(model->result().pipes[0].diameter, 102.3);
        editor->undoStack()->undo();
        QCOMPARE(model->result().pipes[0].diameter, 106.3);
        // A wall too thick is refused where it was typed, and the verdict says so.
        QVERIFY(steel->setData(steel->index(row, size::Wall), QStringLiteral("60")));
        QCOMPARE(steel->data(steel->index(row, size::Wall), Qt::BackgroundRole).value<QBrush>().color(),
                 toolkit::kProblemColor);
        QVERIFY(editor->findChild<QLabel *>(QStringLiteral("networkVerdict"))
                    ->text()
                    .contains(QStringLiteral("规格“DN100”的外径应大于两倍壁厚")));
        editor->undoStack()->undo();

        QTableView *bill = editor->findChild<QTableView *>(QStringLiteral("quantitiesTable"));
        QVERIFY(bill);
        QCOMPARE(bill->model()->rowCount(), 2);
        QCOMPARE(bill->model()->index(0, 1).data().toString(), QStringLiteral("DN100"));
        QCOMPARE(bill->model()->index(1, 0).data().toString(), QStringLiteral("合计"));
        QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("networkVerdict"))->text(),
                 QStringLiteral("结论：") + verdictLine(model->result(), 15));

        // Sized from the catalogue: the cell shows the size's name; the smallest sizes are names, not numbers misread.
        Network sized = net;
        sized.settings.setText(kSeries, kCatalogueSeries);
        sized.settings.setText(kMinSize, QStringLiteral("dn63, DN25"));
        sized.pipes[0][pipe::Diameter].clear();
        editor->loadNetwork(sized);
        // 20 Nm^3/h within 2000 Pa over 110 m: DN25 loses too much, DN32 does not.
        QCOMPARE(model->result().pipes[0].size, QStringLiteral("DN32"));
        QCOMPARE(pipes->data(diameter).toString(), QStringLiteral("DN32"));
        QVERIFY(!editor->findChild<QLineEdit *>(kMinSize)->property("readAs").isValid());

        // Medium pressures as gauge: the captions say so.
        Network high = net;
        high.settings = highSettings(QStringLiteral("100"), gas::kGauge);
        high.nodes[0][node::SourcePressure] = QStringLiteral("300");
        editor->loadNetwork(high);
        const NetworkTableModel *nodes = model->table(Table::Nodes);
        QCOMPARE(nodes->headerData(nodes->columnOf(QStringLiteral("pressure")), Qt::Horizontal).toString(),
                 QStringLiteral("压力(kPa，表压)"));
        QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("minPressureCaption"))->text(),
                 QStringLiteral("最低压力(kPa，表压)："));
    }
};

QTEST_MAIN(NetworkCatalogueTest)
#include "tst_network_catalogue.moc"
