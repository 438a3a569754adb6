#include "batch.h"
#include "network.h"
#include "network_files.h"
#include "network_geometry.h"
#include "network_layout.h"
#include "network_options.h"
#include "route.h"
#include "route_options.h"
#include "sections.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace network;

namespace {

Settings lowSettings(const QString &minPressure = QStringLiteral("1000"))
{
    Settings s = initialSettings();
    s.setText(QStringLiteral("density"), QStringLiteral("0.72"));
    s.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
    s.setText(QStringLiteral("temperature"), QStringLiteral("288"));
    s.setText(QStringLiteral("minPressure"), minPressure);
    return s;
}

Settings highSettings()
{
    Settings s = lowSettings(QStringLiteral("200"));
    s.pressure = Pressure::High;
    return s;
}

Network make(const Settings &s, const QList<QStringList> &nodes, const QList<QStringList> &pipes)
{
    return Network{s, nodes, pipes};
}

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance * std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
}

} // namespace

class NetworkTest : public QObject
{
    Q_OBJECT

private slots:
    // A riser, a dead end without load and a branch sized from the pressure left at its take-off.
    void aTreeIsSolvedExactlyAndSizedMainLineFirst()
    {
        const Network net = make(
            lowSettings(QStringLiteral("2800")),
            {{"S", "0", "0", "", "", "3000"}, {"A", "20", "0"}, {"B", "15", "10"}, {"C", "10", "0"}, {"D", "0", "0"}},
            {{"1", "S", "A", "100", ""},
             {"2", "A", "B", "80", ""},
             {"3", "A", "C", "60", ""},
             {"4", "C", "D", "30", "50"}});
        const Result r = solve(net);
        QVERIFY(!r.refused);
        QVERIFY(r.converged);
        QCOMPARE(r.pipes[0].flow, 45.0);
        QCOMPARE(r.pipes[1].flow, 15.0);
        QCOMPARE(r.pipes[3].flow, 0.0);
        QCOMPARE(r.pipes[3].pipeDrop, 0.0); // no flow, no drop
        QCOMPARE(*r.nodes[4].pressure, *r.nodes[3].pressure);
        QCOMPARE(*r.nodes[0].supply, 45.0);
        // The main line to B (the riser lifts lighter gas) is sized first, within its budget per metre.
        for (const int k : {0, 1, 2}) {
            QVERIFY(r.pipes[k].automatic);
            const double i = r.pipes[k].unitDrop;
            QVERIFY(i > 0);
        }
        // By hand: P_B = 3000 - drop(1) - drop(2) + gravity head of the 10 m riser.
        const double gravity = ((1.293 - 0.72) * 10) * 9.81;
        QCOMPARE(r.pipes[1].gravityHead, gravity);
        QVERIFY(near(*r.nodes[2].pressure,
                     3000 - (r.pipes[0].frictionDrop + r.pipes[0].localDrop)
                         - (r.pipes[1].frictionDrop + r.pipes[1].localDrop) + gravity,
                     1e-12));
        // Each sized diameter is the smallest whose unit drop keeps within the budget: the next
        // smaller one would not.
        QVERIFY(r.met);
        QCOMPARE(r.verdict, QStringLiteral("满足"));
    }

    // The same tree with its diameters gives the route table's drops along each path.
    void aTreeAgreesWithTheRouteTable()
    {
        const Network net = make(
            lowSettings(), {{"S", "0", "0", "", "", "3000"}, {"A", "20", "0"}, {"B", "15", "10"}, {"C", "10", "-4"}},
            {{"1", "S", "A", "100", "80"}, {"2", "A", "B", "80", "50"}, {"3", "A", "C", "60", "40"}});
        const Result r = solve(net);
        QVERIFY(r.converged);
        for (const QList<QStringList> &path :
             QList<QList<QStringList>>{{{"1", "100", "45", "0", "80"}, {"2", "80", "15", "10", "50"}},
                                       {{"1", "100", "45", "0", "80"}, {"3", "60", "10", "-4", "40"}}}) {
            route::Settings s = route::initialSettings();
            s.setText(QStringLiteral("density"), QStringLiteral("0.72"));
            s.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
            s.setText(QStringLiteral("temperature"), QStringLiteral("288"));
            s.setText(QStringLiteral("allowableDrop"), QStringLiteral("1000"));
            QList<route::Section> sections;
            for (const QStringList &c : path)
                sections << route::Section{c[0], c[1], c[2], c[3], c[4]};
            const route::Result table = route::calculate(s, sections, false);
            const int end = path.size() == 2 && path[1][0] == u"2" ? 2 : 3;
            const double total = table.sections.back().values.back();
            QVERIFY2(near(3000 - *r.nodes[end].pressure, total, 1e-9), qPrintable(QString::number(total)));
        }
    }

    void loopsAndSourcesAreBalanced_data()
    {
        QTest::addColumn<bool>("high");
        QTest::addColumn<QList<QStringList>>("nodes");
        QTest::addColumn<QList<QStringList>>("pipes");
        QTest::addColumn<QList<double>>("flows"); // expected, where known
        QTest::addColumn<int>("loops");
        // A symmetric ring: each half carries half of the far node's load.
        QTest::newRow("symmetric ring, medium pressure")
            << true << QList<QStringList>{{"S", "0", "", "", "", "400"}, {"A", "300"}, {"B", "200"}, {"C", "300"}}
            << QList<QStringList>{{"1", "S", "A", "1", "150"},
                                  {"2", "A", "B", "1", "100"},
                                  {"3", "B", "C", "1", "100"},
                                  {"4", "C", "S", "1", "150"}}
            << QList<double>{400, 100, -100, -400} << 1;
        QTest::newRow("two sources, low pressure") << false
                                                   << QList<QStringList>{{"S1", "0", "0", "", "", "3000"},
                                                                         {"A", "30", "0"},
                                                                         {"B", "40", "5"},
                                                                         {"S2", "10", "0", "", "", "2900"}}
                                                   << QList<QStringList>{{"1", "S1", "A", "200", "100"},
                                                                         {"2", "A", "B", "150", "80"},
                                                                         {"3", "B", "S2", "200", "100"}}
                                                   << QList<double>{} << 0;
        // A ring through two sources is still one loop of the network.
        QTest::newRow("two sources on a ring, low pressure") << false
                                                             << QList<QStringList>{{"S1", "0", "0", "", "", "3000"},
                                                                                   {"A", "30", "0"},
                                                                                   {"S2", "0", "0", "", "", "2950"},
                                                                                   {"B", "20", "0"}}
                                                             << QList<QStringList>{{"1", "S1", "A", "200", "100"},
                                                                                   {"2", "A", "S2", "150", "80"},
                                                                                   {"3", "S2", "B", "200", "100"},
                                                                                   {"4", "B", "S1", "100", "80"}}
                                                             << QList<double>{} << 1;
        // A dead end without load: the medium/high-pressure law has no slope at zero flow.
        QTest::newRow("medium-pressure ring with a dead end")
            << true << QList<QStringList>{{"S", "0", "", "", "", "300"}, {"A", "500"}, {"B", "500"}, {"D", "0"}}
            << QList<QStringList>{{"1", "S", "A", "2", "200"},
                                  {"2", "A", "B", "1", "150"},
                                  {"3", "B", "S", "2", "200"},
                                  {"4", "B", "D", "0.5", "100"}}
            << QList<double>{500, 0, -500, 0} << 1;
    }

    void loopsAndSourcesAreBalanced()
    {
        QFETCH(bool, high);
        QFETCH(QList<QStringList>, nodes);
        QFETCH(QList<QStringList>, pipes);
        QFETCH(QList<double>, flows);
        QFETCH(int, loops);
        const Result r = solve(make(high ? highSettings() : lowSettings(), nodes, pipes));
        QVERIFY(!r.refused);
        QVERIFY2(r.converged, qPrintable(r.failure));
        // Every flow as known, within the balance tolerance; the sources supply the total load.
        double load = 0, supply = 0;
        for (qsizetype i = 0; i < r.nodes.size(); ++i) {
            load += r.nodes[i].load;
            if (r.nodes[i].supply)
                supply += *r.nodes[i].supply;
        }
        const double tolerance = 1e-9 * std::max(load, 1.0);
        for (qsizetype k = 0; k < flows.size(); ++k)
            QVERIFY2(std::fabs(r.pipes[k].flow - flows[k]) <= tolerance, qPrintable(QString::number(r.pipes[k].flow)));
        QVERIFY(std::fabs(supply - load) <= tolerance);
        QCOMPARE(r.loops.size(), loops);
        for (const Loop &loop : r.loops)
            QVERIFY(std::fabs(loop.closurePercent) < 1e-6);
    }

    // The loops listed are the grid's cells, whatever tree the solver grows: a designer
    // tabulates the closure of each mesh, not of circuits around several.
    void theLoopsOfAGridAreItsCells()
    {
        QList<QStringList> nodes, pipes;
        auto id = [](int i, int j) { return QStringLiteral("n%1%2").arg(i).arg(j); };
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                nodes << QStringList{id(i, j), i + j == 0 ? "0" : "2", "0", "", "", i + j == 0 ? "3000" : ""};
                if (i < 3)
                    pipes << QStringList{QString::number(pipes.size() + 1), id(i, j), id(i + 1, j), "100", "100"};
                if (j < 3)
                    pipes << QStringList{QString::number(pipes.size() + 1), id(i, j), id(i, j + 1), "100", "100"};
            }
        }
        const Network net = make(lowSettings(), nodes, pipes);
        const Result r = solve(net);
        QVERIFY2(r.converged, qPrintable(r.failure));
        QCOMPARE(r.loops.size(), 9);
        QSet<QSet<int>> cells;
        for (const Loop &loop : r.loops) {
            QCOMPARE(loop.pipes.size(), 4);
            // Around the loop, each pipe meets the next at a node.
            for (qsizetype i = 0; i < 4; ++i) {
                const PipeResult &a = r.pipes[loop.pipes[i]], &b = r.pipes[loop.pipes[(i + 1) % 4]];
                const int end = loop.directions[i] > 0 ? a.to : a.from;
                const int start = loop.directions[(i + 1) % 4] > 0 ? b.from : b.to;
                QCOMPARE(end, start);
            }
            cells << QSet<int>(loop.pipes.begin(), loop.pipes.end());
        }
        QCOMPARE(cells.size(), 9);
    }

    // Cast iron near Re 3500: the drop doubles there, so the ring settles with a pipe at the boundary.
    void aPipeCanBeHeldAtARegimeBoundary()
    {
        Settings s = lowSettings();
        s.material = 1;
        // The flow of Re 3500 in a 100 mm pipe.
        const double qt = 3500 * 0.9 * 3.14159 * 100 * 1.5E-5;
        const Network net = make(s, {{"S", "0", "0", "", "", "3000"}, {"A", QString::number(2 * qt - 1, 'g', 17), "0"}},
                                 {{"1", "S", "A", "100", "100"}, {"2", "S", "A", "100", "100"}});
        const Result r = solve(net);
        QVERIFY2(r.converged, qPrintable(r.failure));
        QVERIFY(near(r.pipes[0].flow + r.pipes[1].flow, 2 * qt - 1, 1e-12));
        QStringList states{r.pipes[0].state, r.pipes[1].state};
        QVERIFY2(states.contains(QStringLiteral("临界/紊流")) || states == QStringList({"临界", "临界"}),
                 qPrintable(states.join(u',')));
    }

    void refusalsSayWhatAndWhere_data()
    {
        QTest::addColumn<QList<QStringList>>("nodes");
        QTest::addColumn<QList<QStringList>>("pipes");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        const QList<QStringList> ok{{"S", "0", "0", "", "", "3000"}, {"A", "10", "0"}};
        const QList<QStringList> pipe{{"1", "S", "A", "100", "50"}};
        QTest::newRow("empty node id") << QList<QStringList>{ok[0], {" ", "1"}} << pipe << 1 << "节点编号为空";
        QTest::newRow("duplicate node") << QList<QStringList>{ok[0], ok[1], ok[1]} << pipe << 2 << "节点“A”重复";
        QTest::newRow("negative load") << QList<QStringList>{ok[0], {"A", "-1"}} << pipe << 1
                                       << "节点“A”的负荷应不小于0";
        QTest::newRow("source pressure not positive")
            << QList<QStringList>{{"S", "0", "0", "", "", "0"}, ok[1]} << pipe << 0 << "节点“S”的气源压力应大于0";
        QTest::newRow("no source") << QList<QStringList>{{"S"}, ok[1]} << pipe << -1
                                   << "管网没有气源：至少一个节点须录入气源压力";
        QTest::newRow("unknown end") << ok << QList<QStringList>{{"1", "S", "X", "100", "50"}} << 0
                                     << "管段“1”的终点“X”不是节点";
        QTest::newRow("joins a node to itself")
            << ok << QList<QStringList>{{"1", "S", "S", "100", "50"}} << 0 << "管段“1”的起点与终点相同";
        QTest::newRow("length not positive")
            << ok << QList<QStringList>{{"1", "S", "A", "0", "50"}} << 0 << "管段“1”的管长应大于0";
        QTest::newRow("diameter not positive")
            << ok << QList<QStringList>{{"1", "S", "A", "10", "-5"}} << 0 << "管段“1”的管径应大于0";
        QTest::newRow("unknown material")
            << ok << QList<QStringList>{{"1", "S", "A", "10", "50", "铜管"}} << 0 << "管段“1”的管材“铜管”未知";
        QTest::newRow("duplicate pipe") << ok << QList<QStringList>{pipe[0], pipe[0]} << 1 << "管段“1”重复";
        QTest::newRow("unreached node") << QList<QStringList>{ok[0], ok[1], {"B", "1"}} << pipe << 2
                                        << "节点“B”不与任何气源相连";
        QTest::newRow("a ring left to be sized")
            << QList<QStringList>{ok[0], ok[1], {"B", "1"}}
            << QList<QStringList>{{"1", "S", "A", "10", "50"}, {"2", "A", "B", "10", ""}, {"3", "B", "S", "10", "50"}}
            << 1 << "环状管网或多气源管网的管径须全部录入";
    }

    void refusalsSayWhatAndWhere()
    {
        QFETCH(QList<QStringList>, nodes);
        QFETCH(QList<QStringList>, pipes);
        QFETCH(int, row);
        QFETCH(QString, text);
        const Result r = solve(make(lowSettings(), nodes, pipes));
        QVERIFY(r.refused);
        QCOMPARE(r.refused->text, text);
        QCOMPARE(r.refused->row, row);
        QVERIFY(!r.converged && r.loops.isEmpty());
    }

    // Sizing at the exact edge of the budget: a diameter whose drop equals the budget is taken.
    void sizingTakesADiameterExactlyAtTheBudget()
    {
        const double drop50 = calc::lowSection(15, 1.5E-5, 288, 0.72, 0, 50).drop;
        // One pipe of 100 m, a = 0: the budget per metre is (3000 - P_min) / 100.
        Settings s = lowSettings(QString::number(3000 - drop50 * 100, 'g', 17));
        s.setText(QStringLiteral("localPercent"), QStringLiteral("0"));
        const Result r
            = solve(make(s, {{"S", "0", "0", "", "", "3000"}, {"A", "15", "0"}}, {{"1", "S", "A", "100", ""}}));
        QVERIFY(r.converged);
        const double budget = (3000 - parseNumber(s.text(QStringLiteral("minPressure")))) / 100;
        QCOMPARE(r.pipes[0].diameter, drop50 <= budget ? 50.0 : 70.0);
        QVERIFY(r.pipes[0].message.isEmpty());
    }

    void theCommandLineWritesJsonAndRefusesWithALine()
    {
        QTemporaryDir dir;
        auto write = [&dir](const char *name, const QByteArray &bytes) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return f.fileName();
        };
        const QString nodes = write("n.csv", "\xEF\xBB\xBFnode,load,source_pressure\nS,,400\nA,300,\nB,200,\nC,300,\n");
        const QString pipes = write("p.csv",
                                    "pipe,from,to,length,diameter\n1,S,A,1,150\n2,A,B,1,100\n3,B,C,1,100\n"
                                    "4,C,S,1,150\n");
        const QStringList options{"network", "--pressure",    "high", "--density",      "0.72", "--viscosity",
                                  "1.5E-5",  "--temperature", "288",  "--min-pressure", "200"};
        BatchRun run = runBatch(options + QStringList{"--nodes", nodes, "--pipes", pipes}, [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.output).object();
        QCOMPARE(root.value("converged").toBool(), true);
        QCOMPARE(root.value("nodes").toArray().size(), 4);
        QCOMPARE(root.value("loops").toArray().size(), 1);
        QCOMPARE(root.value("pipes").toArray()[0].toObject().value("pipe_dp2").isDouble(), true);

        // An .inp round trip gives the same results.
        const QString inp = dir.filePath("net.inp");
        run = runBatch(options + QStringList{"--nodes", nodes, "--pipes", pipes, "--export-inp", inp},
                       [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        const BatchRun again
            = runBatch(options + QStringList{"--source-pressure", "400", inp}, [] { return QByteArray(); });
        QCOMPARE(again.status, 0);
        QCOMPARE(QJsonDocument::fromJson(again.output).object().value("pipes"), root.value("pipes"));

        // A bad row: exit 2, one line naming the file and line, nothing on standard output.
        const QString bad = write("bad.csv", "pipe,from,to,length,diameter\n1,S,A,1,150\n2,A,X,1,100\n");
        run = runBatch(options + QStringList{"--nodes", nodes, "--pipes", bad}, [] { return QByteArray(); });
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY(QString::fromUtf8(run.error).contains(QStringLiteral("bad.csv 第3行：管段“2”的终点“X”不是节点")));
        QCOMPARE(run.error.count('\n'), 1);
    }

    void inpFilesAreReadAsTheyAreWritten()
    {
        const QByteArray inp
            = "[OPTIONS]\nUNITS LPS\n[JUNCTIONS]\n;ID Elev Demand\nJ1 5 1 ; a comment\nJ2 6 0\n"
              "[RESERVOIRS]\nR 0\n[PIPES]\nP1 R J1 100 150 100 0 Open\nP2 J1 J2 50 100 100 0 Open\n"
              "P3 R J2 80 100 100 0 Closed\n[DEMANDS]\nJ2 2\n[TAGS]\nLINK P2 2\n[COORDINATES]\nJ1 1 2\n"
              "[CURVES]\nC1 1 1\n[END]\n";
        const InpRead r = fromInp(inp, Pressure::Low, QStringLiteral("3000"));
        QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
        QCOMPARE(r.nodes.size(), 3);
        QCOMPARE(r.nodes[0][node::Load], QStringLiteral("3.6"));
        QCOMPARE(r.nodes[1][node::Load], QStringLiteral("7.2")); // [DEMANDS] replace the junction's 0
        QCOMPARE(r.nodes[2][node::SourcePressure], QStringLiteral("3000"));
        QCOMPARE(r.nodes[0][node::X], QStringLiteral("1"));
        QCOMPARE(r.pipes.size(), 2); // the closed one left out
        QCOMPARE(r.pipes[1][pipe::Material], QStringLiteral("2"));
        QVERIFY(fromInp("[PUMPS]\nPU1 A B HEAD C1\n", Pressure::Low, "3000").error.contains(QStringLiteral("[PUMPS]")));
        QVERIFY(fromInp("[OPTIONS]\nUNITS GPM\n", Pressure::Low, "3000").error.contains(QStringLiteral("GPM")));
    }

    // A pipe whose length is left empty is as long as its course, from its first node through its
    // bends to its last, in the class's unit; a typed length wins; without places or with bends
    // that cannot be read it is refused.
    void anEmptyLengthIsTheCourses_data()
    {
        QTest::addColumn<bool>("high");
        QTest::addColumn<QStringList>("a");
        QTest::addColumn<QStringList>("typedPipe");
        QTest::addColumn<double>("length");
        QTest::addColumn<bool>("measured");
        QTest::addColumn<QString>("refusal");
        // Survey coordinates: 30 m east and 40 m north of the source, by a bend north of it.
        const QStringList a{"A", "10", "0", "3512330", "401240"};
        const QStringList bent{"1", "S", "A", "", "100", "", "3512300 401240"};
        QTest::newRow("through a bend, in metres") << false << a << bent << 70.0 << true << "";
        QTest::newRow("in kilometres at medium pressure") << true << a << bent << 0.07 << true << "";
        QTest::newRow("a typed length overrides the course")
            << false << a << QStringList{"1", "S", "A", "120", "100", "", "3512300 401240"} << 120.0 << false << "";
        QTest::newRow("no place and no length: refused")
            << false << QStringList{"A", "10"} << bent << 0.0 << false << "管段“1”的管长应大于0";
        QTest::newRow("bends that are not pairs: refused")
            << false << a << QStringList{"1", "S", "A", "", "100", "", "3512300 401240;7"} << 0.0 << false
            << "管段“1”的折点“3512300 401240;7”应为“x y;x y”";
    }

    void anEmptyLengthIsTheCourses()
    {
        QFETCH(bool, high);
        QFETCH(QStringList, a);
        QFETCH(QStringList, typedPipe);
        QFETCH(double, length);
        QFETCH(bool, measured);
        QFETCH(QString, refusal);
        const QString source = high ? QStringLiteral("300") : QStringLiteral("3000");
        const Result r = solve(make(high ? highSettings() : lowSettings(),
                                    {{"S", "0", "0", "3512300", "401200", source}, a}, {typedPipe}));
        QCOMPARE(r.pipes[0].lengthFromGeometry, measured);
        if (!refusal.isEmpty()) {
            QVERIFY(r.refused);
            QCOMPARE(r.refused->text, refusal);
            return;
        }
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QVERIFY(near(r.pipes[0].length, length, 1e-12));
        // Solved as if that length were typed.
        typedPipe[pipe::Length] = QString::number(length, 'g', 17);
        const Result typed = solve(make(high ? highSettings() : lowSettings(),
                                        {{"S", "0", "0", "3512300", "401200", source}, a}, {typedPipe}));
        QVERIFY(near(*r.nodes[1].pressure, *typed.nodes[1].pressure, 1e-12));
    }

    // The bends go to an EPANET file's [VERTICES] and come back from it; a length left to the
    // course is written as the course's.
    void bendsSurviveAnEpanetFile()
    {
        const Network net = make(lowSettings(), {{"S", "0", "0", "0", "0", "3000"}, {"A", "10", "0", "30", "40"}},
                                 {{"1", "S", "A", "", "100", "", "0 40;10.5 40.25"}});
        const QByteArray inp = toInp(net, solve(net));
        QVERIFY(inp.contains("[VERTICES]"));
        const InpRead back = fromInp(inp, Pressure::Low, QString());
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        QCOMPARE(back.pipes[0][pipe::Vertices], QStringLiteral("0 40;10.5 40.25"));
        QVERIFY(
            near(back.pipes[0][pipe::Length].toDouble(), 40 + std::hypot(10.5, 0.25) + std::hypot(19.5, 0.25), 1e-12));
        QVERIFY(fromInp("[VERTICES]\nP1 1\n", Pressure::Low, "3000").error.contains(QStringLiteral("折点")));
    }

    void nodesWithoutPlacesArePlacedFromThePipes()
    {
        // A pipe split by a node without X, Y: the node sits at the middle of the two ends.
        const Layout split = layOut(solve(make(
            lowSettings(), {{"S", "", "0", "0", "0", "3000"}, {"M", "1", "0", "", ""}, {"E", "1", "0", "300", "100"}},
            {{"1", "S", "M", "100", "100"}, {"2", "M", "E", "100", "100"}})));
        QCOMPARE(split.automatic, (QList<bool>{false, true, false}));
        QCOMPARE(split.points[1], QPointF(150, 50));
        // No places at all: layers from the source, 100 apart.
        const Layout tree = layOut(solve(
            make(lowSettings(), {{"S", "", "0", "", "", "3000"}, {"A", "1", "0", "", ""}, {"B", "1", "0", "", ""}},
                 {{"1", "S", "A", "100", "100"}, {"2", "A", "B", "100", "100"}})));
        QCOMPARE(tree.points[1].x() - tree.points[0].x(), 100.0);
        QCOMPARE(tree.points[2].x() - tree.points[1].x(), 100.0);
    }

private:
    static double parseNumber(const QString &text) { return text.toDouble(); }
};

QTEST_GUILESS_MAIN(NetworkTest)
#include "tst_network.moc"
