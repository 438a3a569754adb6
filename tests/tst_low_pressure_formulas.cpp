#include "hs.h"
#include "number_text.h"
#include "preselect.h"

#include <QTest>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using Drop = double (*)(double, double, double, double, double);

enum Procedure { Laminar, Critical, Steel, CastIron, Plastic };
constexpr std::array<Drop, 5> kProcedures{hs::LowPressureLaminarDrop, hs::LowPressureCriticalDrop,
                                          hs::LowPressureSteelDrop, hs::LowPressureCastIronDrop,
                                          hs::LowPressurePlasticDrop};

constexpr std::array<double, 19> kSeries{15,  20,  25,  32,  40,  50,  70,  80,  100, 125,
                                         150, 219, 273, 325, 377, 426, 480, 580, 630};

// The drop a section screen shows for one diameter: the flow state picks the procedure.
double sectionDrop(Procedure turbulent, double Q, double nu, double T, double rho, double d)
{
    switch (hs::LowPressureFlowState(hs::LowPressureReynolds(Q, nu, d))) {
    case hs::FlowState::Laminar:
        return hs::LowPressureLaminarDrop(Q, nu, T, rho, d);
    case hs::FlowState::Critical:
        return hs::LowPressureCriticalDrop(Q, nu, T, rho, d);
    case hs::FlowState::Turbulent:
        break;
    }
    return kProcedures[turbulent](Q, nu, T, rho, d);
}

// Flow that gives the Reynolds number Re for the diameter d.
double flowFor(double Re, double nu, double d)
{
    return Re * 0.9 * 3.14159 * d * nu;
}

} // namespace

class LowPressureFormulasTest : public QObject
{
    Q_OBJECT

private slots:
    void workedValuesAndFactors_data()
    {
        QTest::addColumn<int>("procedure");
        QTest::addColumn<double>("Q");
        QTest::addColumn<double>("T");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("expected");
        QTest::newRow("laminar 150 mm") << int(Laminar) << 10.0 << 288.0 << 150.0 << 0.00254312;
        QTest::newRow("critical 80 mm") << int(Critical) << 10.0 << 288.0 << 80.0 << 0.0576548;
        QTest::newRow("critical 100 mm") << int(Critical) << 10.0 << 288.0 << 100.0 << 0.0167768;
        QTest::newRow("laminar 125 mm") << int(Laminar) << 10.0 << 288.0 << 125.0 << 0.00527342;
        QTest::newRow("steel turbulent 100 mm") << int(Steel) << 100.0 << 288.0 << 100.0 << 1.30829;
        QTest::newRow("cast iron turbulent 100 mm") << int(CastIron) << 100.0 << 288.0 << 100.0 << 2.64291;
        QTest::newRow("plastic turbulent 100 mm") << int(Plastic) << 100.0 << 288.0 << 100.0 << 1.22483;
        QTest::newRow("steel at 273 K has no temperature factor") << int(Steel) << 100.0 << 273.0 << 100.0 << 1.24015;
        QTest::newRow("steel turbulent 80 mm") << int(Steel) << 100.0 << 288.0 << 80.0 << 3.90584;
        QTest::newRow("cast iron turbulent 125 mm") << int(CastIron) << 100.0 << 288.0 << 125.0 << 0.906133;
        QTest::newRow("steel turbulent 90 mm") << int(Steel) << 100.0 << 288.0 << 90.0 << 2.18988;
    }

    void workedValuesAndFactors()
    {
        QFETCH(int, procedure);
        QFETCH(double, Q);
        QFETCH(double, T);
        QFETCH(double, d);
        QFETCH(double, expected);
        const Drop drop = kProcedures[procedure];
        const double base = drop(Q, 1.5E-5, T, 0.72, d);
        QVERIFY2(std::fabs(base - expected) <= 5E-6 * expected, qPrintable(formatNumber(base)));
        // Temperature and density are plain factors: doubling either, exact in binary, doubles the result exactly.
        QCOMPARE(drop(Q, 1.5E-5, 2 * T, 0.72, d), 2 * base);
        QCOMPARE(drop(Q, 1.5E-5, T, 1.44, d), 2 * base);
    }

    void fifteenDigitsFollowTheOrderOfOperations()
    {
        QCOMPARE(formatNumber(hs::LowPressureReynolds(10, 1.5E-5, 15)), QStringLiteral("15719.0200024137"));
        QCOMPARE(formatNumber(hs::LowPressureSteelDrop(10, 1.5E-5, 288, 0.72, 15)), QStringLiteral("223.468380160133"));
        QCOMPARE(formatNumber(hs::LowPressureLaminarDrop(10, 1.5E-5, 288, 0.72, 630)),
                 QStringLiteral("8.17278062870177E-06"));
    }

    void flowStateRule_data()
    {
        QTest::addColumn<double>("Re");
        QTest::addColumn<QString>("state");
        const double below2100 = std::nextafter(2100.0, 0.0);
        const double above3500 = std::nextafter(3500.0, 1E300);
        QTest::newRow("small Reynolds number is laminar") << 1.0 << "层流";
        QTest::newRow("just below 2100 is laminar") << below2100 << "层流";
        QTest::newRow("critical zone lower bound") << 2100.0 << "临界";
        QTest::newRow("inside the critical zone") << 2947.32 << "临界";
        QTest::newRow("critical zone upper bound") << 3500.0 << "临界";
        QTest::newRow("just above 3500 is turbulent") << above3500 << "紊流";
        QTest::newRow("large Reynolds number is turbulent") << 1E9 << "紊流";
    }

    void flowStateRule()
    {
        QFETCH(double, Re);
        QFETCH(QString, state);
        QCOMPARE(QString::fromUtf8(hs::FlowStateText(hs::LowPressureFlowState(Re))), state);
    }

    void reynoldsNumberHitsTheBoundsExactly()
    {
        // These flows give exactly 2100 and 3500 at 100 mm; the screen test types them.
        QCOMPARE(hs::LowPressureReynolds(8.90640765, 1.5E-5, 100), 2100.0);
        QCOMPARE(hs::LowPressureReynolds(14.84401275, 1.5E-5, 100), 3500.0);
        QVERIFY(std::fabs(hs::LowPressureReynolds(100, 1.5E-5, 90) - 26198.37) < 0.005);
    }

    void zonesMeetNearlyContinuously_data()
    {
        QTest::addColumn<double>("Re");
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("lower");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("critical 0.01 % over laminar at 2100")
            << 2100.0 << int(Critical) << int(Laminar) << 1.0001 << 0.00001;
        QTest::newRow("steel 0.5 % over critical at 3500") << 3500.0 << int(Steel) << int(Critical) << 1.005 << 0.0005;
        QTest::newRow("cast iron 110 % over critical at 3500")
            << 3500.0 << int(CastIron) << int(Critical) << 2.1 << 0.005;
        QTest::newRow("plastic 0.7 % under critical at 3500")
            << 3500.0 << int(Plastic) << int(Critical) << 0.993 << 0.0005;
    }

    void zonesMeetNearlyContinuously()
    {
        QFETCH(double, Re);
        QFETCH(int, upper);
        QFETCH(int, lower);
        QFETCH(double, ratio);
        QFETCH(double, tolerance);
        const double nu = 1.5E-5;
        const double d = 100;
        const double Q = flowFor(Re, nu, d);
        const double found = kProcedures[upper](Q, nu, 288, 0.72, d) / kProcedures[lower](Q, nu, 288, 0.72, d);
        QVERIFY2(std::fabs(found - ratio) <= tolerance, qPrintable(formatNumber(found)));
    }

    void dropsFallAlongTheSeries_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<double>("Q");
        for (double Q : {0.5, 10.0, 100.0, 3000.0}) {
            QTest::addRow("steel, %g Nm3/h", Q) << int(Steel) << Q;
            QTest::addRow("cast iron, %g Nm3/h", Q) << int(CastIron) << Q;
            QTest::addRow("plastic, %g Nm3/h", Q) << int(Plastic) << Q;
        }
    }

    void dropsFallAlongTheSeries()
    {
        QFETCH(int, material);
        QFETCH(double, Q);
        const auto turbulent = static_cast<Procedure>(material);
        double previous = std::numeric_limits<double>::infinity();
        for (double d : kSeries) {
            const double drop = sectionDrop(turbulent, Q, 1.5E-5, 288, 0.72, d);
            QVERIFY2(drop < previous, qPrintable(QStringLiteral("%1 mm").arg(d)));
            previous = drop;
        }
    }

    void castIronAboveSteelAbovePlastic_data()
    {
        QTest::addColumn<double>("Q");
        QTest::addColumn<double>("d");
        QTest::newRow("just turbulent") << flowFor(3600, 1.5E-5, 50) << 50.0;
        QTest::newRow("ordinary street main") << 100.0 << 100.0;
        QTest::newRow("small service pipe") << 10.0 << 15.0;
        QTest::newRow("very high flow") << 1E5 << 630.0;
    }

    void castIronAboveSteelAbovePlastic()
    {
        QFETCH(double, Q);
        QFETCH(double, d);
        const double steel = hs::LowPressureSteelDrop(Q, 1.5E-5, 288, 0.72, d);
        QVERIFY(hs::LowPressureCastIronDrop(Q, 1.5E-5, 288, 0.72, d) > steel);
        QVERIFY(hs::LowPressurePlasticDrop(Q, 1.5E-5, 288, 0.72, d) < steel);
    }

    void preselection_data()
    {
        QTest::addColumn<std::vector<double>>("drops");
        QTest::addColumn<double>("allowance");
        QTest::addColumn<int>("selected");
        const std::vector<double> falling{9, 5, 3, 1, 0.5};
        QTest::newRow("nearest drop below the allowance") << falling << 3.4 << 2;
        QTest::newRow("nearest drop above the allowance") << falling << 2.4 << 2;
        QTest::newRow("equal gaps pick the smaller diameter") << falling << 4.0 << 1;
        QTest::newRow("allowance above every drop picks the first") << falling << 1E6 << 0;
        QTest::newRow("allowance below every drop picks the last") << falling << 1E-9 << 4;
        QTest::newRow("a first gap of exactly 1E16 qualifies nothing")
            << std::vector<double>{10, 5, 1} << 1E16 + 10 << -1;
        QTest::newRow("an allowance far beyond qualifies nothing") << falling << 1E17 << -1;
        QTest::newRow("just under 1E16 still picks the first") << falling << 1E16 << 0;
    }

    void preselection()
    {
        QFETCH(std::vector<double>, drops);
        QFETCH(double, allowance);
        QFETCH(int, selected);
        const std::optional<std::size_t> found = preselectDiameter(drops, allowance);
        QCOMPARE(found ? int(*found) : -1, selected);
    }
};

QTEST_MAIN(LowPressureFormulasTest)
#include "tst_low_pressure_formulas.moc"
