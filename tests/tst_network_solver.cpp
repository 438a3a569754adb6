#include "hs.h"
#include "pipe_law.h"
#include "sections.h"

#include <QTest>

#include <cmath>

using namespace network;
using Boundary = BoundaryHold::Boundary;

namespace {

constexpr double kNu = 1.5e-5, kT = 288, kRho = 0.72;

// A network of pipes only, the settings the tests share; nodes and loads added by hand.
Arrays pipesOf(bool low, const std::vector<int> &material, const std::vector<double> &diameter,
               const std::vector<double> &length)
{
    Arrays a;
    a.low = low;
    a.rho = kRho;
    a.nu = kNu;
    a.T = kT;
    a.material = material;
    a.diameter = diameter;
    a.length = length;
    a.w.assign(diameter.size(), 1.1);
    a.automatic.assign(diameter.size(), 0);
    a.from.assign(diameter.size(), 0);
    a.to.assign(diameter.size(), 1);
    return a;
}

double boundaryFlow(double reynolds, double d)
{
    return reynolds * 0.9 * hs::kPi * d * kNu;
}

double turbulentDrop(int material, double q, double d)
{
    return material == 0 ? hs::LowPressureSteelDrop(q, kNu, kT, kRho, d)
        : material == 1  ? hs::LowPressureCastIronDrop(q, kNu, kT, kRho, d)
                         : hs::LowPressurePlasticDrop(q, kNu, kT, kRho, d);
}

// The pipe's drop at a flow from the section formulas, as the section screens give it.
double formulaDrop(const Arrays &a, std::size_t k, double flow)
{
    const double q = std::fabs(flow);
    if (q == 0)
        return 0;
    const double unit = a.low ? calc::lowSection(q, a.nu, a.T, a.rho, a.material[k], a.diameter[k]).drop
                              : calc::highDrop(a.material[k])(q, a.nu, a.rho, a.T, a.diameter[k]);
    return std::copysign(unit * a.length[k] * a.w[k], flow);
}

} // namespace

class NetworkSolverTest : public QObject
{
    Q_OBJECT

private slots:
    // The boundary flows, both formulas' drops there, and which way the law steps.
    void boundariesOfTheLowPressureLaw_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<double>("diameter");
        QTest::addColumn<bool>("stepsDown");
        QTest::newRow("cast iron steps up about twice") << 1 << 100.0 << false;
        QTest::newRow("steel under 200 mm steps up") << 0 << 150.0 << false;
        QTest::newRow("steel of 200 mm steps down") << 0 << 200.0 << true;
        QTest::newRow("steel of 630 mm steps down") << 0 << 630.0 << true;
        QTest::newRow("plastic steps down") << 2 << 100.0 << true;
    }
    void boundariesOfTheLowPressureLaw()
    {
        QFETCH(int, material);
        QFETCH(double, diameter);
        QFETCH(bool, stepsDown);
        const Arrays a = pipesOf(true, {material}, {diameter}, {100});
        const PipeLaw law(a, 0);
        const BoundaryHold &laminarEnd = law.boundaries()[0], &turbulentStart = law.boundaries()[1];
        QCOMPARE(laminarEnd.boundary, Boundary::LaminarEnd);
        QCOMPARE(turbulentStart.boundary, Boundary::TurbulentStart);
        QVERIFY(std::fabs(hs::LowPressureReynolds(laminarEnd.flow, kNu, diameter) - 2100) < 1e-9);
        QVERIFY(std::fabs(hs::LowPressureReynolds(turbulentStart.flow, kNu, diameter) - 3500) < 1e-9);
        const double q = turbulentStart.flow;
        QCOMPARE(turbulentStart.below, hs::LowPressureCriticalDrop(q, kNu, kT, kRho, diameter) * 110);
        QCOMPARE(turbulentStart.above, turbulentDrop(material, q, diameter) * 110);
        QCOMPARE(law.stepsDown(1), stepsDown);
        if (material == 1)
            QVERIFY(turbulentStart.above > 1.9 * turbulentStart.below);
        // The laminar end steps up a little for every material.
        QVERIFY(!law.stepsDown(0) && laminarEnd.above > laminarEnd.below);
        QVERIFY(laminarEnd.above < laminarEnd.below * 1.001);

        QVERIFY(turbulentStart.admits((turbulentStart.below + turbulentStart.above) / 2));
        QVERIFY(turbulentStart.admits(-turbulentStart.below));
        QVERIFY(!turbulentStart.admits(std::max(turbulentStart.below, turbulentStart.above) * 1.001));
        QVERIFY(turbulentStart.admits(std::max(turbulentStart.below, turbulentStart.above) * 1.001,
                                      0.002 * turbulentStart.above));
        QVERIFY(!BoundaryHold{}.admits(0));
    }

    // The flow at a pipe's drop is the flow that gives it, from any first guess; across an
    // upward step it is the boundary flow exactly.
    void theFlowAtADrop_data()
    {
        QTest::addColumn<bool>("low");
        QTest::addColumn<int>("material");
        QTest::addColumn<double>("diameter");
        QTest::addColumn<double>("flow"); // relative to the turbulent start at low pressure
        QTest::newRow("laminar") << true << 0 << 100.0 << 0.3;
        QTest::newRow("critical") << true << 1 << 100.0 << 0.8;
        QTest::newRow("turbulent cast iron") << true << 1 << 50.0 << 4.0;
        QTest::newRow("turbulent plastic, just past its step") << true << 2 << 150.0 << 1.02;
        QTest::newRow("turbulent steel, far") << true << 0 << 325.0 << 300.0;
        QTest::newRow("medium pressure, small flow") << false << 0 << 100.0 << 0.01;
        QTest::newRow("medium pressure, large flow") << false << 2 << 219.0 << 5000.0;
    }
    void theFlowAtADrop()
    {
        QFETCH(bool, low);
        QFETCH(int, material);
        QFETCH(double, diameter);
        QFETCH(double, flow);
        const Arrays a = pipesOf(low, {material}, {diameter}, {low ? 100 : 1.0});
        PipeLaw law(a, 0);
        const double q = low ? flow * boundaryFlow(3500, diameter) : flow;
        if (low)
            law.followAbove(1, flow > 1); // else a flow just past a step down may lie on the ramp to it
        for (const double sign : {1.0, -1.0}) {
            const double drop = formulaDrop(a, 0, sign * q);
            for (const double guess : {0.0, q, 3 * q, q / 3, -q}) {
                const PipeLaw::Point p = law.flowAt(drop, guess);
                QVERIFY2(std::fabs(p.flow - sign * q) <= 1e-12 * q, qPrintable(QString::number(p.flow, 'g', 17)));
                QVERIFY(p.slope > 0);
            }
        }
        if (!low)
            return;
        for (const BoundaryHold &hold : law.boundaries()) {
            const double middle = (hold.below + hold.above) / 2;
            if (hold.above > hold.below) {
                QCOMPARE(law.flowAt(middle, 0).flow, hold.flow);
                QCOMPARE(law.flowAt(-middle, 0).flow, -hold.flow);
                QCOMPARE(law.flowAt(middle, 0).slope, 0.0);
                QCOMPARE(law.holdAt(-hold.flow).boundary, hold.boundary);
            } else {
                // A step down: on either formula as chosen, each a state of the law.
                for (const bool above : {false, true}) {
                    law.followAbove(1, above);
                    const double f = law.flowAt(middle, q).flow;
                    QVERIFY(above ? f > hold.flow : f < hold.flow);
                    QVERIFY(std::fabs(formulaDrop(a, 0, f) - middle) < 1e-12 * middle);
                }
            }
        }
        QCOMPARE(law.holdAt(q * 1.000001).boundary, Boundary::None);
    }
};

QTEST_MAIN(NetworkSolverTest)
#include "tst_network_solver.moc"
