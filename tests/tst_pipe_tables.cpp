// Tables and small formulas the network screens read: pipe catalogues, gas velocity,
// simultaneity coefficients, pipe quantities.
#include "calculation.h"
#include "catalogue.h"
#include "hs.h"
#include "number_text.h"
#include "quantities.h"

#include <QTest>

namespace {

QString nameOf(std::optional<pd::NominalName> nominal)
{
    return nominal ? QString::fromStdString(nominal->name) : QString();
}

} // namespace

class PipeTablesTest : public QObject
{
    Q_OBJECT

private slots:
    void defaultCatalogues_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<int>("sizes");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        const auto row = [](const char *name, int material, int sizes, const char *first, const char *last) {
            QTest::newRow(name) << material << sizes << QString(first) << QString(last);
        };
        row("steel", 0, 18, "DN15 21.3 2.8 15.7", "DN500 508 9 490");
        row("cast iron, bore only", 1, 10, "DN75 0 0 75", "DN500 0 0 500");
        row("PE SDR11", 2, 16, "dn32 32 3 26", "dn315 315 28.6 257.8");
        row("no such material", 3, 0, "", "");
    }

    void defaultCatalogues()
    {
        QFETCH(int, material);
        QFETCH(int, sizes);
        QFETCH(QString, first);
        QFETCH(QString, last);
        const std::vector<pd::PipeSize> catalogue = pd::DefaultCatalogue(material);
        QCOMPARE(int(catalogue.size()), sizes);
        const auto text = [&](std::size_t i) {
            if (i >= catalogue.size())
                return QString();
            const pd::PipeSize &s = catalogue[i];
            return QStringList{QString::fromStdString(s.name), formatShortest(s.outside), formatShortest(s.wall),
                               formatShortest(s.inner)}
                .join(u' ');
        };
        QCOMPARE(text(0), first);
        QCOMPARE(text(catalogue.size() - 1), last);
        for (std::size_t i = 0; i < catalogue.size(); ++i) {
            const pd::PipeSize &s = catalogue[i];
            // Outside less twice the wall, and exactly the decimal a file keeps ("15.7", not "15.700000000000001").
            if (s.outside > 0)
                QCOMPARE(formatShortest(s.inner), formatNumber(s.outside - 2 * s.wall));
            if (i > 0)
                QVERIFY2(s.inner > catalogue[i - 1].inner, s.name.c_str());
        }
    }

    // Sizes are edited by hand: whatever is typed, the bore is outside less twice the wall, to 0.01 mm.
    void innerDiameterOfTypedSizes_data()
    {
        QTest::addColumn<double>("outside");
        QTest::addColumn<double>("wall");
        QTest::addColumn<QString>("inner");
        QTest::newRow("rounded to the hundredth") << 100.004 << 0.0 << QStringLiteral("100");
        QTest::newRow("wall too thick") << 10.0 << 6.004 << QStringLiteral("-2.01");
        QTest::newRow("beyond any integer type") << 1e300 << 1.0 << QStringLiteral("1e+300");
    }

    void innerDiameterOfTypedSizes()
    {
        QFETCH(double, outside);
        QFETCH(double, wall);
        QFETCH(QString, inner);
        QCOMPARE(formatShortest(pd::InnerDiameter(outside, wall)), inner);
    }

    void nominalNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        const auto row = [](const char *name, const char *text, const char *expected) {
            QTest::newRow(name) << QString(text) << QString(expected);
        };
        row("steel", "DN100", "DN100");
        row("plastic", "dn110", "dn110");
        row("outside diameter of PE", "De110", "dn110");
        row("blanks and leading zero", " DN 0100 ", "DN100");
        row("plain number", "106.3", "");
        row("fraction", "DN100.5", "");
        row("sign", "DN-100", "");
        row("no number", "DN", "");
        row("zero", "DN0", "");
        row("beyond int", "DN99999999999", "");
        row("other letters", "Φ108×4", "");
    }

    void nominalNames()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(nameOf(pd::ParseNominalName(text.toStdString())), name);
    }

    void findSizes_data()
    {
        QTest::addColumn<int>("material");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found");
        const auto row = [](const char *name, int material, const char *text, const char *found) {
            QTest::newRow(name) << material << QString(text) << QString(found);
        };
        row("steel DN100", 0, "DN100", "DN100 106.3");
        row("case aside", 0, "dn100", "DN100 106.3");
        row("PE dn110", 2, "dn110", "dn110 90");
        row("PE De110", 2, "De110", "dn110 90");
        row("not in steel", 0, "DN110", "");
        row("a number is no name", 0, "106.3", "");
        row("cast iron", 1, "DN200", "DN200 200");
        // 3: the steel catalogue edited, a size added by hand and a DN100 added again after the default one.
        row("edited: own name", 3, " d108X4 ", "D108x4 100");
        row("edited: first of equal names", 3, "DN100", "DN100 106.3");
    }

    void findSizes()
    {
        QFETCH(int, material);
        QFETCH(QString, text);
        QFETCH(QString, found);
        std::vector<pd::PipeSize> catalogue = pd::DefaultCatalogue(material);
        if (material == 3) {
            catalogue = pd::DefaultCatalogue(0);
            catalogue.push_back({"D108x4", 108, 4, 100});
            catalogue.push_back({"DN100", 114, 4, 106});
        }
        const std::optional<std::size_t> i = pd::FindSize(catalogue, text.toStdString());
        QCOMPARE(i ? QString::fromStdString(catalogue[*i].name) + u' ' + formatShortest(catalogue[*i].inner)
                   : QString(),
                 found);
    }

    void gasVelocity_data()
    {
        QTest::addColumn<double>("Q");
        QTest::addColumn<double>("P");
        QTest::addColumn<double>("T");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("v");
        // 100 / (3.14159 x 0.1^2 / 4 x 3600): pi = 3.14159 and T0 = 273.15 K, each within the digits shown.
        QTest::newRow("standard state") << 100.0 << 101.325 << 273.15 << 100.0 << "3.53677950054307";
        QTest::newRow("medium pressure, warm") << 1000.0 << 301.325 << 288.0 << 150.0 << "5.57311746330982";
        QTest::newRow("low pressure, small pipe") << 50.0 << 103.325 << 293.15 << 40.0 << "11.6320938770044";
    }

    void gasVelocity()
    {
        QFETCH(double, Q);
        QFETCH(double, P);
        QFETCH(double, T);
        QFETCH(double, d);
        QFETCH(QString, v);
        QCOMPARE(formatNumber(hs::GasVelocity(Q, P, T, d)), v);
    }

    void simultaneity_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("N");
        QTest::addColumn<bool>("linear");
        QTest::addColumn<double>("k");
        QTest::addColumn<bool>("beyond");
        QTest::newRow("cooker, 12, linear: 0.54 - 0.06 x 2/5") << 1 << 12 << true << 0.516 << false;
        QTest::newRow("heater, 12, linear: 0.25 - 0.03 x 2/5") << 2 << 12 << true << 0.238 << false;
        QTest::newRow("cooker, 250, linear") << 1 << 250 << true << 0.305 << false;
        QTest::newRow("heater, 250, linear") << 2 << 250 << true << 0.155 << false;
        QTest::newRow("cooker, 1500, linear") << 1 << 1500 << true << 0.245 << false;
        QTest::newRow("heater, 1500, linear") << 2 << 1500 << true << 0.125 << false;
        QTest::newRow("cooker, 1500, steps") << 1 << 1500 << false << 0.25 << false;
        QTest::newRow("heater, 2, a listed row") << 2 << 2 << true << 0.56 << false;
        QTest::newRow("cooker, 2000, the last row") << 1 << 2000 << true << 0.24 << false;
        QTest::newRow("cooker, 2001, beyond") << 1 << 2001 << true << 0.24 << true;
        QTest::newRow("heater, 100000, beyond") << 2 << 100000 << false << 0.12 << true;
    }

    void simultaneity()
    {
        QFETCH(int, set);
        QFETCH(int, N);
        QFETCH(bool, linear);
        QFETCH(double, k);
        QFETCH(bool, beyond);
        const hs::Simultaneity s = hs::SimultaneityCoefficient(hs::Appliances(set), N, linear);
        QCOMPARE(s.k, k);
        QCOMPARE(s.beyond, beyond);
    }

    // Read in steps the design flow k·N falls where a new row starts; read linearly it never falls.
    void simultaneousFlowOverHouseholds_data()
    {
        QTest::addColumn<int>("N");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("after");
        QTest::newRow("14 -> 15") << 14 << 3.50 << 3.30;
        QTest::newRow("24 -> 25") << 24 << 5.04 << 5.00;
        QTest::newRow("199 -> 200") << 199 << 33.83 << 32.00;
    }

    void simultaneousFlowOverHouseholds()
    {
        QFETCH(int, N);
        QFETCH(double, before);
        QFETCH(double, after);
        const auto flow = [](hs::Appliances set, long n, bool linear) {
            return hs::SimultaneityCoefficient(set, n, linear).k * double(n);
        };
        QCOMPARE(flow(hs::Appliances::CookerAndHeater, N, false), before);
        QCOMPARE(flow(hs::Appliances::CookerAndHeater, N + 1, false), after);
        for (const hs::Appliances set : {hs::Appliances::Cooker, hs::Appliances::CookerAndHeater}) {
            for (long n = 1; n <= 2001; ++n)
                QVERIFY2(flow(set, n + 1, true) >= flow(set, n, true), qPrintable(QString::number(n)));
        }
    }

    // The flow screen by simultaneity reads the same table in steps, from 1 to 200 households.
    void flowScreenReadsTheTable()
    {
        const calc::Calculation *lll = calc::find(QStringLiteral("lll"));
        QVERIFY(lll);
        for (int N = 1; N <= 200; ++N) {
            calc::Input in;
            in.texts.insert(QStringLiteral("households"), QString::number(N));
            in.texts.insert(QStringLiteral("rated_flow"), QStringLiteral("1.5"));
            const double k = hs::SimultaneityCoefficient(hs::Appliances::CookerAndHeater, N, false).k;
            QCOMPARE(lll->calculate(in).results.value(QStringLiteral("flow")), formatNumber((k * N) * 1.5));
        }
    }

    void pipeQuantities()
    {
        const QList<quantities::Pipe> pipes{
            {2, "dn110", 90, 12.5}, {0, "DN100", 106.3, 100}, {0, "", 106.3, 7}, {0, "dn 100", 106.3, 50},
            {0, "DN50", 52.7, 30},  {1, "DN200", 200, 40},    {0, "", 80, 5},    {0, "", 80, 6},
        };
        const quantities::Table t = quantities::tally(pipes);
        QStringList rows;
        for (const quantities::Row &r : t.rows)
            rows << QStringLiteral("%1 %2 %3 %4").arg(r.materialCaption, r.size, formatNumber(r.length)).arg(r.count);
        QCOMPARE(rows,
                 (QStringList{"钢管 DN50 30 1", "钢管 80 11 2", "钢管 DN100 150 2", "钢管 106.3 7 1",
                              "铸铁管 DN200 40 1", "塑料管 dn110 12.5 1"}));
        QCOMPARE(formatNumber(t.length), QStringLiteral("250.5"));
        QCOMPARE(t.count, 8);
    }
};

QTEST_APPLESS_MAIN(PipeTablesTest)
#include "tst_pipe_tables.moc"
