#include "batch.h"
#include "calculation.h"
#include "design_file.h"
#include "hs.h"
#include "network.h"
#include "network_columns.h"
#include "network_files.h"
#include "network_geometry.h"
#include "network_layout.h"
#include "network_options.h"
#include "pd.h"
#include "route.h"
#include "route_options.h"
#include "sections.h"
#include "support/test_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdint>

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

// Rated flows of a household with a cooker, and with a cooker and a water heater.
Settings householdSettings(const QString &simultaneity = QStringLiteral("steps"))
{
    Settings s = lowSettings();
    s.setText(QStringLiteral("ratedFlow1"), QStringLiteral("0.7"));
    s.setText(QStringLiteral("ratedFlow2"), QStringLiteral("2.6"));
    s.setText(QStringLiteral("simultaneity"), simultaneity);
    return s;
}

// A courtyard from its regulator S (4 households of its own): a yard main to J1, a
// riser to B1 (24 households with heaters, 25 % local loss), a street main to J2 with
// 6 Nm^3/h taken along it and a shop of 3.5 Nm^3/h at its end, and from J2 the
// buildings B2 (18 households with cookers) and B3 (36 households of the default set).
const QList<QStringList> kCourtyardNodes{{"S", "", "0", "", "", "3000", "4", "2"},
                                         {"J1", "", "0"},
                                         {"B1", "", "0", "", "", "", "24", "双眼灶和快速热水器"},
                                         {"J2", "3.5", "0"},
                                         {"B2", "", "0", "", "", "", "18", "1"},
                                         {"B3", "", "0", "", "", "", "36", ""}};
const QList<QStringList> kCourtyardPipes{{"1", "S", "J1", "50", ""},
                                         {"2", "J1", "B1", "30", "", "", "25"},
                                         {"3", "J1", "J2", "80", "", "", "", "6"},
                                         {"4", "J2", "B2", "20", ""},
                                         {"5", "J2", "B3", "25", ""}};

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
        // The main line runs to C (B's riser lifts lighter gas: more room there). Its budget
        // per metre is what S may lose down to 2800 Pa over its length with local losses;
        // B's branch then has what is left at A, plus the gravity head, over its own length.
        const double head = ((1.293 - 0.72) * 10) * 9.81, w = 1.1;
        const double mainBudget = (3000 - 2800) / ((100 + 60) * w);
        const double atA = 3000 - r.pipes[0].unitDrop * 100 * w;
        const double branchBudget = (atA - (2800 - head)) / (80 * w);
        for (const auto &[k, flow, budget] :
             {std::tuple{0, 45.0, mainBudget}, std::tuple{2, 10.0, mainBudget}, std::tuple{1, 15.0, branchBudget}}) {
            QVERIFY(r.pipes[k].automatic);
            const auto &series = pd::kLowPressureSection;
            const auto chosen = std::find(series.begin(), series.end(), r.pipes[k].diameter);
            QVERIFY(chosen != series.end() && chosen != series.begin());
            // The smallest of the series within the budget: the next smaller one is not.
            QVERIFY(calc::lowSection(flow, 1.5E-5, 288, 0.72, 0, *chosen).drop <= budget);
            QVERIFY(calc::lowSection(flow, 1.5E-5, 288, 0.72, 0, *(chosen - 1)).drop > budget);
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

    // Two parallel cast-iron pipes, the shorter one held at Re 3500: at 1.9 times the
    // boundary flow neither both critical (the shorter would pass the boundary) nor both
    // turbulent (the longer would need more than its share) satisfies the laws.
    void aPipeHeldAtTheTurbulentStartIsReportedSo()
    {
        Settings s = lowSettings();
        s.material = 1;
        const double qt = 3500 * 0.9 * 3.14159 * 100 * 1.5E-5;
        const Result r = solve(make(s, {{"S", "0", "0", "", "", "3000"}, {"A", QString::number(1.9 * qt, 'g', 17), "0"}},
                                    {{"1", "S", "A", "100", "100"}, {"2", "S", "A", "150", "100"}}));
        QVERIFY2(r.converged, qPrintable(r.failure));
        const PipeResult &held = r.pipes[0], &free = r.pipes[1];
        QCOMPARE(held.state, QStringLiteral("临界/紊流"));
        QCOMPARE(held.hold, Hold::TurbulentStart);
        QCOMPARE(held.flow, qt);
        QCOMPARE(held.reynolds, 3500.0);
        QCOMPARE(free.state, QStringLiteral("临界"));
        QVERIFY(near(free.flow, 0.9 * qt, 1e-9));
        // The held pipe's drop lies between the two formulas' at the boundary, its unit
        // drop is what the pressures say, and both pipes drop alike.
        const double w = 1.1, critical = hs::LowPressureCriticalDrop(qt, 1.5E-5, 288, 0.72, 100),
                     turbulent = hs::LowPressureCastIronDrop(qt, 1.5E-5, 288, 0.72, 100);
        QVERIFY(critical < held.unitDrop && held.unitDrop < turbulent);
        const double shown = *r.nodes[0].pressure - *r.nodes[1].pressure;
        for (const PipeResult &p : {held, free}) {
            QCOMPARE(p.pipeDrop, shown);
            QVERIFY(near(p.frictionDrop + p.localDrop - p.gravityHead, p.pipeDrop, 1e-9));
        }
        QVERIFY(near(held.unitDrop * 100 * w, shown, 1e-12));
        QVERIFY(near(free.unitDrop, calc::lowSection(free.flow, 1.5E-5, 288, 0.72, 1, 100).drop, 1e-12));
    }

    // Random rings of both classes, every material, one or two sources: each solved, and
    // checked against the section formulas alone: the balance, each pipe's law or hold,
    // and the columns a reviewer adds up.
    void randomRingsAreSolvedAndEveryColumnIsTrue_data()
    {
        QTest::addColumn<bool>("high");
        QTest::newRow("low pressure") << false;
        QTest::newRow("medium/high pressure") << true;
    }

    void randomRingsAreSolvedAndEveryColumnIsTrue()
    {
        QFETCH(bool, high);
        std::uint64_t state = high ? 7 : 3;
        auto next = [&state](double low, double highest) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            return low + (highest - low) * double(state >> 11) / double(1ULL << 53);
        };
        const auto &series = high ? pd::kHighPressureSection : pd::kLowPressureSection;
        for (int ring = 0; ring < 40; ++ring) {
            Settings s = high ? highSettings() : lowSettings(QStringLiteral("100"));
            s.material = int(next(0, 3));
            const int n = 4 + int(next(0, 9)), sources = 1 + int(next(0, 2));
            QList<QStringList> nodes, pipes;
            for (int i = 0; i < n; ++i) {
                const bool source = i < sources;
                const double load = high ? next(50, 800) : next(0.5, 25);
                nodes << QStringList{QStringLiteral("N%1").arg(i), source ? QString() : QString::number(load),
                                     high ? QString() : QString::number(next(-10, 10)), QString(), QString(),
                                     source ? QString::number(high ? 400 - 20 * i : 3000 - 30 * i) : QString()};
            }
            auto pipe = [&](int a, int b) {
                const QString material = next(0, 1) < 0.3 ? QString::number(int(next(1, 4))) : QString();
                pipes << QStringList{QString::number(pipes.size() + 1), QStringLiteral("N%1").arg(a),
                                     QStringLiteral("N%1").arg(b), QString::number(high ? next(0.2, 3) : next(20, 300)),
                                     QString::number(series[std::size_t(next(high ? 2 : 5, high ? 9 : 12))]),
                                     material};
            };
            for (int i = 1; i < n; ++i)
                pipe(int(next(0, i)), i);
            for (int extra = 0, e = 1 + int(next(0, 4)); extra < e; ++extra) {
                const int a = int(next(0, n)), b = int(next(0, n));
                if (a != b)
                    pipe(a, b);
            }
            const Network net = make(s, nodes, pipes);
            const Result r = solve(net);
            QVERIFY2(r.converged, qPrintable(QStringLiteral("ring %1: %2").arg(ring).arg(r.failure)));
            double load = 0, top = 0;
            QList<double> balance(n, 0.0);
            for (qsizetype k = 0; k < r.pipes.size(); ++k) {
                balance[r.pipes[k].to] += r.pipes[k].flow;
                balance[r.pipes[k].from] -= r.pipes[k].flow;
            }
            for (int i = 0; i < n; ++i) {
                load += r.nodes[i].load;
                top = std::max(top, high ? 400.0 * 400.0 : 3000.0);
            }
            for (int i = sources; i < n; ++i)
                QVERIFY(std::fabs(balance[i] - r.nodes[i].load) <= 1e-9 * std::max(load, 1.0));
            for (qsizetype k = 0; k < r.pipes.size(); ++k) {
                const PipeResult &p = r.pipes[k];
                const double q = std::fabs(p.flow), L = p.length, w = 1.1;
                const auto &from = r.nodes[p.from], &to = r.nodes[p.to];
                if (high) {
                    const double law = calc::highDrop(p.material)(q, 1.5E-5, 0.72, 288, p.diameter) * L * w;
                    QVERIFY(std::fabs(std::copysign(law, p.flow) - p.dp2) <= 1e-8 * top);
                    // A node whose P^2 fell below zero has no pressure to compare.
                    if (from.pressure && to.pressure)
                        QVERIFY(std::fabs(p.dp2 - (*from.pressure * *from.pressure - *to.pressure * *to.pressure))
                                <= 1e-8 * top);
                    continue;
                }
                QCOMPARE(p.pipeDrop, *from.pressure - *to.pressure);
                QVERIFY(std::fabs(p.frictionDrop + p.localDrop - p.gravityHead - p.pipeDrop) <= 1e-8 * top);
                if (p.hold == Hold::None) {
                    QVERIFY(!p.state.contains(u'/'));
                    const double law = calc::lowSection(q, 1.5E-5, 288, 0.72, p.material, p.diameter).drop;
                    QVERIFY(near(p.unitDrop, law, 1e-12));
                    QVERIFY(std::fabs(std::copysign(law * L * w, p.flow) - (p.frictionDrop + p.localDrop)) <= 1e-8 * top);
                } else {
                    const double re = p.hold == Hold::LaminarEnd ? 2100 : 3500;
                    QCOMPARE(q, re * 0.9 * 3.14159 * p.diameter * 1.5E-5);
                    QCOMPARE(p.state, p.hold == Hold::LaminarEnd ? QStringLiteral("层流/临界") : QStringLiteral("临界/紊流"));
                    const double below = calc::lowSection(q * (1 - 1e-9), 1.5E-5, 288, 0.72, p.material, p.diameter).drop,
                                 above = calc::lowSection(q * (1 + 1e-9), 1.5E-5, 288, 0.72, p.material, p.diameter).drop;
                    QVERIFY(p.unitDrop >= std::min(below, above) * (1 - 1e-6) && p.unitDrop <= std::max(below, above) * (1 + 1e-6));
                }
            }
            // Each loop's closure adds up its pipes' law drops, as listed.
            for (const Loop &loop : r.loops) {
                double sum = 0;
                for (qsizetype i = 0; i < loop.pipes.size(); ++i)
                    sum += loop.directions[i] * r.pipes[loop.pipes[i]].lawDrop;
                QCOMPARE(loop.closure, sum);
                QVERIFY(std::fabs(sum) <= 1e-7 * top);
            }
        }
    }

    // What goes wrong is said: no convergence (an iteration cap for tests), gas flowing
    // back into a source, a pressure squared below zero, no diameter within the budget,
    // a node below the minimum.
    void failuresAreSaid_data()
    {
        QTest::addColumn<bool>("high");
        QTest::addColumn<QList<QStringList>>("nodes");
        QTest::addColumn<QList<QStringList>>("pipes");
        QTest::addColumn<int>("iterations");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("message"); // of a node ("N:") or a pipe ("P:")
        const QList<QStringList> ring{{"1", "S", "A", "100", "100"}, {"2", "A", "B", "100", "80"}, {"3", "B", "S", "100", "100"}};
        QTest::newRow("not converged") << false << QList<QStringList>{{"S", "", "0", "", "", "3000"}, {"A", "20", "0"}, {"B", "20", "0"}}
                                       << ring << 1 << QStringLiteral("管网平差不收敛，迭代1次后最大节点流量不平衡") << QString();
        QTest::newRow("back into a source") << false
            << QList<QStringList>{{"S", "", "0", "", "", "3000"}, {"T", "", "0", "", "", "2000"}, {"A", "1", "0"}}
            << QList<QStringList>{{"1", "S", "A", "100", "100"}, {"2", "A", "T", "100", "100"}} << 200
            << QStringLiteral("满足") << QStringLiteral("N1:气源倒流");
        QTest::newRow("pressure squared below zero") << true
            << QList<QStringList>{{"S", "", "", "", "", "100"}, {"A", "3000"}}
            << QList<QStringList>{{"1", "S", "A", "10", "50"}} << 200 << QStringLiteral("不满足,压力差小于零")
            << QStringLiteral("N1:") + calc::noEndPressureText();
        QTest::newRow("no diameter within the budget") << false
            << QList<QStringList>{{"S", "", "0", "", "", "3000"}, {"A", "100000", "0"}}
            << QList<QStringList>{{"1", "S", "A", "100", ""}} << 200 << QStringLiteral("不满足,节点 A 低于最低压力")
            << QStringLiteral("P0:") + kNoDiameter;
        QTest::newRow("below the minimum") << false
            << QList<QStringList>{{"S", "", "0", "", "", "3000"}, {"A", "100", "0"}}
            << QList<QStringList>{{"1", "S", "A", "100", "50"}} << 200 << QStringLiteral("不满足,节点 A 低于最低压力")
            << QString();
    }

    void failuresAreSaid()
    {
        QFETCH(bool, high);
        QFETCH(QList<QStringList>, nodes);
        QFETCH(QList<QStringList>, pipes);
        QFETCH(int, iterations);
        QFETCH(QString, verdict);
        QFETCH(QString, message);
        const Result r = solve(make(high ? highSettings() : lowSettings(), nodes, pipes), iterations);
        QVERIFY(!r.refused);
        QVERIFY2(r.verdict.startsWith(verdict), qPrintable(r.verdict));
        QCOMPARE(r.converged, iterations > 1);
        if (!r.converged) {
            QCOMPARE(r.failure, r.verdict);
            QVERIFY(r.failure.contains(QStringLiteral("（节点 ")));
            return;
        }
        QCOMPARE(r.met, verdict == u"满足");
        if (message.startsWith(u'N'))
            QCOMPARE(r.nodes[message.mid(1, 1).toInt()].message, message.mid(3));
        else if (message.startsWith(u'P'))
            QCOMPARE(r.pipes[message.mid(1, 1).toInt()].message, message.mid(3));
    }

    // Flows worked by hand: K of the households beyond each pipe, set by set, the shop's
    // load and the street main's path load (6 beyond pipe 1, 0.55 x 6 = 3.3 in pipe 3).
    void aCourtyardTreeCarriesItsHouseholdsAtTheirSimultaneity_data()
    {
        QTest::addColumn<QString>("simultaneity");
        QTest::addColumn<QList<double>>("flows");
        QTest::addColumn<QList<double>>("k1"); // 0: no households of the set beyond
        QTest::addColumn<QList<double>>("k2");
        // Pipe 4: 0.48 x 18 x 0.7 = 6.048; pipe 5: 0.19 x 36 x 2.6 = 17.784; pipe 2: 0.21 x 24 x 2.6 = 13.104;
        // pipe 3: 6.048 + 17.784 + 3.5 + 3.3; pipe 1: 6.048 + 0.176 x 60 x 2.6 + 3.5 + 6.
        QTest::newRow("K in steps") << "steps" << QList<double>{43.004, 13.104, 30.632, 6.048, 17.784}
                                    << QList<double>{0.48, 0, 0.48, 0.48, 0}
                                    << QList<double>{0.176, 0.21, 0.19, 0, 0.19};
        // 18: 0.48 - 0.03 x 3/5 = 0.462; 24: 0.21 - 0.01 x 4/5 = 0.202; 36: 0.19 - 0.01 x 6/10 = 0.184.
        QTest::newRow("K linear between the rows")
            << "linear" << QList<double>{42.7772, 12.6048, 29.8436, 5.8212, 17.2224}
            << QList<double>{0.462, 0, 0.462, 0.462, 0} << QList<double>{0.176, 0.202, 0.184, 0, 0.184};
    }

    void aCourtyardTreeCarriesItsHouseholdsAtTheirSimultaneity()
    {
        QFETCH(QString, simultaneity);
        QFETCH(QList<double>, flows);
        QFETCH(QList<double>, k1);
        QFETCH(QList<double>, k2);
        const Result r = solve(make(householdSettings(simultaneity), kCourtyardNodes, kCourtyardPipes));
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QCOMPARE(r.flowRule, QStringLiteral("同时工作系数法（枝状）"));
        const QList<double> households1{18, 0, 18, 18, 0}, households2{60, 24, 36, 0, 36};
        for (int k = 0; k < 5; ++k) {
            const PipeResult &p = r.pipes[k];
            QCOMPARE(p.flow, flows[k]);
            QCOMPARE(*p.households[0], households1[k]);
            QCOMPARE(*p.households[1], households2[k]);
            QCOMPARE(p.k[0].value_or(0), k1[k]);
            QCOMPARE(p.k[1].value_or(0), k2[k]);
            QCOMPARE(p.pathLoad, k == 2 ? 6.0 : 0.0);
            QCOMPARE(p.localPercent, k == 1 ? 25.0 : 10.0);
            QCOMPARE(p.localDrop, p.frictionDrop * (k == 1 ? 0.25 : 0.1));
        }
        // The regulator's own households at their own K: 0.38 x 4 x 2.6 = 3.952.
        QCOMPARE(*r.nodes[0].supply, flows[0] + 3.952);
        QCOMPARE((QList<int>{r.nodes[2].appliance, r.nodes[4].appliance, r.nodes[5].appliance}), (QList<int>{2, 1, 2}));
        QVERIFY(!r.nodes[1].calcLoad);
        QVERIFY(r.met);
        for (const NodeResult &n : r.nodes)
            QVERIFY(*n.pressure >= 1000);
    }

    // K N falls where a row of the table starts: the pipe nearer the source carries less
    // than the one beyond it, and the sizing and the pressures follow the flows as they are.
    void flowsMayFallTowardsTheSource_data()
    {
        QTest::addColumn<QString>("appliance");
        QTest::addColumn<int>("atA");
        QTest::addColumn<int>("atB");
        QTest::addColumn<double>("upstream");
        QTest::addColumn<double>("downstream");
        QTest::addColumn<bool>("beyondTable");
        QTest::newRow("14 -> 15") << "2" << 1 << 14 << 3.30 << 3.50 << false;
        QTest::newRow("24 -> 25") << "2" << 1 << 24 << 5.00 << 5.04 << false;
        QTest::newRow("199 -> 200") << "2" << 1 << 199 << 32.00 << 33.83 << false;
        QTest::newRow("2001: the last row holds") << "1" << 0 << 2001 << 480.24 << 480.24 << true;
    }

    void flowsMayFallTowardsTheSource()
    {
        QFETCH(QString, appliance);
        QFETCH(int, atA);
        QFETCH(int, atB);
        QFETCH(double, upstream);
        QFETCH(double, downstream);
        QFETCH(bool, beyondTable);
        Settings s = lowSettings(QStringLiteral("2500"));
        s.setText(QStringLiteral("ratedFlow1"), QStringLiteral("1"));
        s.setText(QStringLiteral("ratedFlow2"), QStringLiteral("1"));
        const Result r = solve(make(s,
                                    {{"S", "", "0", "", "", "3000"},
                                     {"A", "", "0", "", "", "", QString::number(atA), appliance},
                                     {"B", "", "0", "", "", "", QString::number(atB), appliance}},
                                    {{"1", "S", "A", "120", ""}, {"2", "A", "B", "80", ""}}));
        QVERIFY(r.solved());
        QCOMPARE(r.pipes[0].flow, upstream);
        QCOMPARE(r.pipes[1].flow, downstream);
        for (const PipeResult &p : r.pipes)
            QCOMPARE(p.message.contains(kBeyondSimultaneity), beyondTable);
        // Both pipes sized within the one budget of the line, the pressures by their own flows.
        const double budget = (3000 - 2500) / ((120 + 80) * 1.1);
        for (const PipeResult &p : r.pipes)
            QVERIFY2(p.unitDrop <= budget || p.message.contains(kNoDiameter), qPrintable(p.id));
        QVERIFY(near(*r.nodes[2].pressure, 3000 - r.pipes[0].pipeDrop - r.pipes[1].pipeDrop, 1e-12));
        QVERIFY(near(r.pipes[1].pipeDrop,
                     calc::lowSection(downstream, 1.5E-5, 288, 0.72, 0, r.pipes[1].diameter).drop * 80 * 1.1, 1e-12));
    }

    // With a loop, households and path loads become node loads: each node's own households
    // at their own K and half of each pipe's path load at either end; the flows balance them.
    void aRingTakesHouseholdsAndPathLoadsAtItsNodes()
    {
        Settings s = highSettings();
        s.setText(QStringLiteral("ratedFlow1"), QStringLiteral("0.7"));
        s.setText(QStringLiteral("ratedFlow2"), QStringLiteral("2.5"));
        const Result r = solve(make(s,
                                    {{"S", "0", "", "", "", "400"},
                                     {"A", "", "", "", "", "", "100", "1"},
                                     {"B", "50", "", "", "", "", "300", "2"},
                                     {"C"}},
                                    {{"1", "S", "A", "1", "150"},
                                     {"2", "A", "B", "1", "100", "", "", "20"},
                                     {"3", "B", "C", "1", "100", "", "", "6"},
                                     {"4", "C", "S", "1", "150", "", "", "8"}}));
        QVERIFY2(r.solved(), qPrintable(r.refused ? r.refused->text : r.failure));
        QCOMPARE(r.flowRule, QStringLiteral("节点流量法（环状）"));
        // S: 8/2; A: 0.34 x 100 x 0.7 + 20/2; B: 50 + 0.15 x 300 x 2.5 + 20/2 + 6/2; C: 6/2 + 8/2.
        const QList<double> loads{4, 33.8, 175.5, 7};
        double total = 0;
        for (int v = 0; v < 4; ++v) {
            QCOMPARE(*r.nodes[v].calcLoad, loads[v]);
            total += loads[v];
        }
        QVERIFY(std::fabs(*r.nodes[0].supply - total) <= 1e-9 * total);
        std::vector<double> inflow(4, 0.0);
        for (const PipeResult &p : r.pipes) {
            inflow[std::size_t(p.to)] += p.flow;
            inflow[std::size_t(p.from)] -= p.flow;
            QVERIFY(!p.households[0] && !p.households[1] && !p.k[0] && !p.k[1]);
        }
        for (int v = 1; v < 4; ++v)
            QVERIFY2(std::fabs(inflow[std::size_t(v)] - loads[v]) <= 1e-9 * total, qPrintable(r.nodes[v].id));
    }

    // A path load counted as 0.55 of it in its own pipe gives the flows, sizes and pressures
    // of 0.55 of it taken at the pipe's far node and 0.45 at its near one, whatever the path.
    void aPathLoadIsItsShareAtEitherEnd()
    {
        // A binary tree of 15 pipes under S, households and loads at some nodes.
        constexpr int kNodes = 16;
        auto id = [](int i) { return i == 0 ? QStringLiteral("S") : QStringLiteral("n%1").arg(i); };
        std::vector<double> loads(kNodes, 0.0);
        QList<QStringList> withPath, atNodes, pipes, plainPipes;
        for (int i = 1; i < kNodes; ++i) {
            const int parent = (i - 1) / 2;
            const double path = 1 + (i % 4) * 2.5;
            const QString length = QString::number(20 + 5 * i);
            pipes << QStringList{QString::number(i), id(parent), id(i), length, "", "", "", QString::number(path)};
            plainPipes << QStringList{QString::number(i), id(parent), id(i), length, ""};
            loads[std::size_t(i)] += (i % 4 == 0 ? 2.5 : 0.0) + 0.55 * path;
            loads[std::size_t(parent)] += 0.45 * path;
        }
        for (int i = 0; i < kNodes; ++i) {
            const QString source = i == 0 ? QStringLiteral("3000") : QString();
            const QString households = QString::number(i % 5 * 6);
            withPath << QStringList{id(i), i % 4 == 0 && i ? "2.5" : "", "0", "", "", source, households};
            atNodes << QStringList{id(i), QString::number(loads[std::size_t(i)], 'g', 17), "0", "", "", source,
                                   households};
        }
        const Result a = solve(make(householdSettings(), withPath, pipes));
        const Result b = solve(make(householdSettings(), atNodes, plainPipes));
        QVERIFY(a.solved() && b.solved());
        for (int k = 0; k < kNodes - 1; ++k) {
            QVERIFY2(near(a.pipes[k].flow, b.pipes[k].flow, 1e-12), qPrintable(a.pipes[k].id));
            QCOMPARE(a.pipes[k].diameter, b.pipes[k].diameter);
        }
        for (int v = 0; v < kNodes; ++v)
            QVERIFY2(near(*a.nodes[v].pressure, *b.nodes[v].pressure, 1e-12), qPrintable(a.nodes[v].id));
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
        // A number not read whole is refused with what it would be read as, never used as that.
        QTest::newRow("a load with a thousands comma")
            << QList<QStringList>{ok[0], {"A", "1,200"}} << pipe << 1 << "节点“A”的负荷未能完整读取：读作 1";
        QTest::newRow("a source pressure with its unit")
            << QList<QStringList>{{"S", "0", "0", "", "", "2500kPa"}, ok[1]} << pipe << 0
            << "节点“S”的气源压力未能完整读取：读作 2500";
        QTest::newRow("a place with a blank") << QList<QStringList>{ok[0], {"A", "10", "0", "12 5", "0"}} << pipe << 1
                                              << "节点“A”的坐标X未能完整读取：读作 12";
        QTest::newRow("a length with a thousands comma")
            << ok << QList<QStringList>{{"1", "S", "A", "1,200", "50"}} << 0 << "管段“1”的管长未能完整读取：读作 1";
        QTest::newRow("unreached node") << QList<QStringList>{ok[0], ok[1], {"B", "1"}} << pipe << 2
                                        << "节点“B”不与任何气源相连";
        QTest::newRow("a ring left to be sized")
            << QList<QStringList>{ok[0], ok[1], {"B", "1"}}
            << QList<QStringList>{{"1", "S", "A", "10", "50"}, {"2", "A", "B", "10", ""}, {"3", "B", "S", "10", "50"}}
            << 1 << "环状管网或多气源管网的管径须全部录入";
        QTest::newRow("households not whole") << QList<QStringList>{ok[0], {"A", "10", "0", "", "", "", "2.5"}} << pipe
                                              << 1 << "节点“A”的户数应为不小于0的整数";
        QTest::newRow("households negative") << QList<QStringList>{ok[0], {"A", "10", "0", "", "", "", "-1"}} << pipe
                                             << 1 << "节点“A”的户数应为不小于0的整数";
        QTest::newRow("unknown appliance") << QList<QStringList>{ok[0], {"A", "10", "0", "", "", "", "10", "燃气灶"}}
                                           << pipe << 1 << "节点“A”的用具“燃气灶”未知";
        QTest::newRow("households without their rated flow")
            << QList<QStringList>{ok[0], {"A", "10", "0", "", "", "", "10"}} << pipe << -1
            << "双眼灶和快速热水器额定流量应大于0（节点“A”的住户使用双眼灶和快速热水器）";
        QTest::newRow("negative path load") << ok << QList<QStringList>{{"1", "S", "A", "100", "50", "", "", "-2"}}
                                            << 0 << "管段“1”的途泄流量应不小于0";
        QTest::newRow("negative local loss") << ok << QList<QStringList>{{"1", "S", "A", "100", "50", "", "-5"}} << 0
                                             << "管段“1”的局部阻力应不小于0";
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
        auto write = [&dir](const char *name, const QByteArray &bytes) { return writeFile(dir, name, bytes); };
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

        // The program's own .inp export reads back without --source-pressure: two sources
        // keep their two pressures, and the results are the same.
        const QString twoNodes = write("n2.csv", "node,load,source_pressure\nS,,400\nA,300,\nB,200,\nC,300,380\n");
        const QString inp = dir.filePath("net.inp");
        run = runBatch(options + QStringList{"--nodes", twoNodes, "--pipes", pipes, "--export-inp", inp},
                       [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        const BatchRun again = runBatch(options + QStringList{inp}, [] { return QByteArray(); });
        QCOMPARE(again.status, 0);
        const QJsonObject back = QJsonDocument::fromJson(again.output).object();
        QCOMPARE(back.value("pipes"), QJsonDocument::fromJson(run.output).object().value("pipes"));
        QMap<QString, double> sourcePressures;
        for (const QJsonValue &node : back.value("nodes").toArray()) {
            if (node.toObject().value("source_pressure").isDouble())
                sourcePressures.insert(node.toObject().value("node").toString(),
                                       node.toObject().value("source_pressure").toDouble());
        }
        QCOMPARE(sourcePressures, (QMap<QString, double>{{"S", 400.0}, {"C", 380.0}}));
        // The ring's most unfavourable line: from S to B, the far side of the two 300 loads.
        QCOMPARE(root.value("worst_node").toString(), QStringLiteral("B"));
        QCOMPARE(root.value("worst_path").toArray().size(), 2);

        // A bad row: exit 2, one line naming the file and line, nothing on standard output.
        const QString bad = write("bad.csv", "pipe,from,to,length,diameter\n1,S,A,1,150\n2,A,X,1,100\n");
        run = runBatch(options + QStringList{"--nodes", nodes, "--pipes", bad}, [] { return QByteArray(); });
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY(QString::fromUtf8(run.error).contains(QStringLiteral("bad.csv 第3行：管段“2”的终点“X”不是节点")));
        QCOMPARE(run.error.count('\n'), 1);
        // A number not read whole is refused without --strict too, with what it would be read as.
        const QString partly = write("partly.csv", "pipe,from,to,length,diameter\n1,S,A,\"1,200\",150\n");
        run = runBatch(options + QStringList{"--nodes", nodes, "--pipes", partly}, [] { return QByteArray(); });
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY2(QString::fromUtf8(run.error).contains(
                     QStringLiteral("partly.csv 第2行：管段“1”的管长未能完整读取：读作 1")),
                 run.error.constData());
    }

    // The courtyard from CSV headed by captions, from a design file and back to CSV: the
    // same flows, households, K and path loads; the options' values are checked.
    void theCommandLineAndTheFilesCarryHouseholds()
    {
        QTemporaryDir dir;
        auto write = [&dir](const char *name, const QByteArray &bytes) { return writeFile(dir, name, bytes); };
        QList<QStringList> nodeRows, pipeRows;
        for (const QStringList &row : kCourtyardNodes)
            nodeRows << (QStringList(row) << QStringList(node::Count - row.size()));
        for (const QStringList &row : kCourtyardPipes)
            pipeRows << (QStringList(row) << QStringList(pipe::Count - row.size()));
        // The new columns under their captions.
        QByteArray nodeCsv = tableToCsv(Table::Nodes, nodeRows);
        nodeCsv.replace(",households,appliance\r\n", ",户数,用具\r\n");
        QByteArray pipeCsv = tableToCsv(Table::Pipes, pipeRows);
        pipeCsv.replace(",local_percent,path_load,vertices\r\n", ",局部阻力(%),途泄流量(Nm^3/h),折点\r\n");
        QVERIFY(nodeCsv.contains("户数,用具") && pipeCsv.contains("局部阻力(%),途泄流量(Nm^3/h)"));
        const QString nodes = write("n.csv", nodeCsv), pipes = write("p.csv", pipeCsv);
        const QStringList options{"network", "--density",      "0.72",  "--viscosity",    "1.5E-5", "--temperature",
                                  "288",     "--min-pressure", "1000",  "--rated-flow-1", "0.7",    "--rated-flow-2",
                                  "2.6",     "--simultaneity", "linear"};
        const BatchRun run
            = runBatch(options + QStringList{"--nodes", nodes, "--pipes", pipes}, [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.output).object();
        QCOMPARE(root.value("flow_rule").toString(), QStringLiteral("同时工作系数法（枝状）"));
        const QJsonArray pipeJson = root.value("pipes").toArray(), nodeJson = root.value("nodes").toArray();
        const QJsonObject main = pipeJson[0].toObject(), riser = pipeJson[1].toObject(),
                          street = pipeJson[2].toObject();
        QCOMPARE(main.value("flow").toDouble(), 42.7772);
        QCOMPARE(main.value("households_1").toDouble(), 18.0);
        QCOMPARE(main.value("households_2").toDouble(), 60.0);
        QCOMPARE(main.value("k_1").toDouble(), 0.462);
        QCOMPARE(main.value("k_2").toDouble(), 0.176);
        QCOMPARE(riser.value("households_1").toDouble(), 0.0);
        QVERIFY(riser.value("k_1").isNull());
        QCOMPARE(riser.value("local_percent").toDouble(), 25.0);
        QCOMPARE(main.value("local_percent").toDouble(), 10.0);
        QCOMPARE(street.value("path_load").toDouble(), 6.0);
        QCOMPARE(nodeJson[0].toObject().value("households").toDouble(), 4.0);
        QCOMPARE(nodeJson[4].toObject().value("appliance").toDouble(), 1.0);
        QCOMPARE(nodeJson[5].toObject().value("appliance").toDouble(), 2.0);
        QVERIFY(nodeJson[1].toObject().value("calc_load").isNull());

        // The default set changes B3's households to cookers: 36 between 30 (0.40) and 40 (0.39).
        BatchRun cookers = runBatch(options + QStringList{"--appliance", "1", "--nodes", nodes, "--pipes", pipes},
                                    [] { return QByteArray(); });
        QCOMPARE(cookers.status, 0);
        const QJsonObject toB3 = QJsonDocument::fromJson(cookers.output).object().value("pipes")[4].toObject();
        QCOMPARE(toB3.value("households_1").toDouble(), 36.0);
        QCOMPARE(toB3.value("k_1").toDouble(), 0.394);
        QVERIFY(toB3.value("k_2").isNull());
        cookers = runBatch(options + QStringList{"--simultaneity", "cubic", "--nodes", nodes, "--pipes", pipes},
                           [] { return QByteArray(); });
        QCOMPARE(cookers.status, 2);
        QVERIFY(QString::fromUtf8(cookers.error).contains(QStringLiteral("--simultaneity 应为 steps|linear")));
        // Without the rated flow of a set in use: refused, naming the setting.
        const BatchRun unrated = runBatch(QStringList{"network", "--density", "0.72", "--viscosity", "1.5E-5",
                                                      "--temperature", "288", "--min-pressure", "1000",
                                                      "--rated-flow-2", "2.6", "--nodes", nodes, "--pipes", pipes},
                                          [] { return QByteArray(); });
        QCOMPARE(unrated.status, 2);
        QVERIFY(QString::fromUtf8(unrated.error).contains(QStringLiteral("设置 ratedFlow1：双眼灶额定流量应大于0")));

        // A design file keeps the new columns and settings: the same results from it.
        Network net = make(householdSettings(QStringLiteral("linear")), kCourtyardNodes, kCourtyardPipes);
        design::Design d = design::initial();
        d.screens.insert(kCode, design::networkScreenValues({{QStringLiteral("小区"), net}}));
        const QString file = write("courtyard.velmora", design::write(d));
        const BatchRun fromDesign = runBatch({"network", file}, [] { return QByteArray(); });
        QCOMPARE(fromDesign.status, 0);
        QCOMPARE(QJsonDocument::fromJson(fromDesign.output).object().value("pipes"), root.value("pipes"));
        // And a design of rows of six texts, made before these columns, still opens and solves.
        QByteArray old = design::write(d);
        QJsonObject gwjs = QJsonDocument::fromJson(old).object()["screens"].toObject()[kCode].toObject()["networks"]
                               .toArray()[0]
                               .toObject();
        gwjs.remove("name"); // kept the old way: one network's values at the top
        QJsonObject shortRows = gwjs;
        QJsonArray sixTexts;
        for (const QJsonValue &row : gwjs["nodes"].toArray())
            sixTexts.append(QJsonArray::fromStringList(row.toVariant().toStringList().mid(0, 6)));
        shortRows["nodes"] = sixTexts;
        const design::Read read = design::read(QJsonDocument(QJsonObject{{"format", design::kFormat},
                                                                         {"version", design::kVersion},
                                                                         {"screens", QJsonObject{{kCode, shortRows}}}})
                                                   .toJson());
        QVERIFY2(read.ok(), qPrintable(read.error));
        const Network plain = design::networksOf(read.design.screens.value(kCode)).front().network;
        QCOMPARE(plain.nodes[3].size(), int(node::Count));
        const Result r = solve(plain);
        QVERIFY(r.solved());
        QCOMPARE(r.pipes[0].flow, 3.5 + 6); // the shop and the street main's path load
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
        const QStringList bent{"1", "S", "A", "", "100", "", "", "", "3512300 401240"};
        QTest::newRow("through a bend, in metres") << false << a << bent << 70.0 << true << "";
        QTest::newRow("in kilometres at medium pressure") << true << a << bent << 0.07 << true << "";
        QTest::newRow("a typed length overrides the course")
            << false << a << QStringList{"1", "S", "A", "120", "100", "", "", "", "3512300 401240"} << 120.0 << false << "";
        QTest::newRow("no place and no length: refused")
            << false << QStringList{"A", "10"} << bent << 0.0 << false << "管段“1”的管长应大于0";
        QTest::newRow("bends that are not pairs: refused")
            << false << a << QStringList{"1", "S", "A", "", "100", "", "", "", "3512300 401240;7"} << 0.0 << false
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
                                 {{"1", "S", "A", "", "100", "", "", "", "0 40;10.5 40.25"}});
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
