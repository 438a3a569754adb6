#include "hs.h"
#include "number_text.h"

#include <QTest>

#include <array>

namespace {

using Drop = double (*)(double Q, double nu, double rho, double T, double d);

constexpr std::array kSeries{50,  70,  80,  100, 125, 150, 219, 273,  325, 377,
                             426, 480, 530, 630, 720, 820, 920, 1020, 1220};

struct GasData
{
    double Q, nu, rho, T;
};

} // namespace

Q_DECLARE_METATYPE(Drop)
Q_DECLARE_METATYPE(GasData)

class HighPressureFormulasTest : public QObject
{
    Q_OBJECT

private slots:
    void dropOfEachMaterial_data()
    {
        QTest::addColumn<Drop>("drop");
        QTest::addColumn<double>("T");
        QTest::addColumn<QString>("expected");
        QTest::newRow("steel") << Drop(hs::HighPressureSteelDrop) << 288.0 << "20146.2688154331";
        QTest::newRow("cast iron") << Drop(hs::HighPressureCastIronDrop) << 288.0 << "36035.0999474797";
        QTest::newRow("plastic") << Drop(hs::HighPressurePlasticDrop) << 288.0 << "14927.3329747871";
        QTest::newRow("steel at the reference temperature")
            << Drop(hs::HighPressureSteelDrop) << 273.0 << "19096.9839812959";
    }

    void dropOfEachMaterial()
    {
        QFETCH(Drop, drop);
        QFETCH(double, T);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(drop(1000, 1.5E-5, 0.72, T, 100)), expected);
    }

    void dropFallsAlongTheSeriesScalesWithDensityAndTemperature_data()
    {
        QTest::addColumn<GasData>("gas");
        QTest::newRow("natural gas, 1000 Nm3/h") << GasData{1000, 1.5E-5, 0.72, 288};
        QTest::newRow("small flow, viscous term dominates") << GasData{0.5, 3E-5, 0.72, 288};
        QTest::newRow("large flow, roughness term dominates") << GasData{2E6, 1E-6, 1.2, 300};
    }

    void dropFallsAlongTheSeriesScalesWithDensityAndTemperature()
    {
        QFETCH(GasData, gas);
        double previous = 0;
        for (std::size_t k = 0; k < kSeries.size(); ++k) {
            const double d = kSeries[k];
            const double steel = hs::HighPressureSteelDrop(gas.Q, gas.nu, gas.rho, gas.T, d);
            const double castIron = hs::HighPressureCastIronDrop(gas.Q, gas.nu, gas.rho, gas.T, d);
            const double plastic = hs::HighPressurePlasticDrop(gas.Q, gas.nu, gas.rho, gas.T, d);
            QVERIFY2(castIron > steel && steel > plastic, qPrintable(QString::number(d)));
            if (k > 0)
                QVERIFY2(steel < previous, qPrintable(QString::number(d)));
            previous = steel;
            // Density and temperature are plain factors: doubling either, exact in binary, doubles the result
            // to the last bit.
            QCOMPARE(hs::HighPressureSteelDrop(gas.Q, gas.nu, 2 * gas.rho, gas.T, d), 2 * steel);
            QCOMPARE(hs::HighPressureCastIronDrop(gas.Q, gas.nu, gas.rho, 2 * gas.T, d), 2 * castIron);
        }
    }

    void endPressureNeedsAStrictlyPositiveDifference_data()
    {
        QTest::addColumn<double>("P1squared");
        QTest::addColumn<double>("L");
        QTest::addColumn<double>("drop");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no drop keeps the start pressure") << 160000.0 << 2.0 << 0.0 << "400";
        QTest::newRow("difference of one") << 160000.0 << 2.0 << 79999.5 << "1";
        QTest::newRow("start pressure squared equals length times drop") << 160000.0 << 2.0 << 80000.0 << "";
        QTest::newRow("drop beyond the start pressure") << 160000.0 << 2.0 << 90000.0 << "";
        QTest::newRow("an infinite drop leaves no end pressure") << 160000.0 << 2.0 << qInf() << "";
    }

    void endPressureNeedsAStrictlyPositiveDifference()
    {
        QFETCH(double, P1squared);
        QFETCH(double, L);
        QFETCH(double, drop);
        QFETCH(QString, expected);
        const std::optional<double> E = hs::HighPressureEndPressure(P1squared, L, drop);
        QCOMPARE(E ? formatNumber(*E) : QString(), expected);
    }
};

QTEST_MAIN(HighPressureFormulasTest)
#include "tst_high_pressure_formulas.moc"
