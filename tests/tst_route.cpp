// The route table without a window: the arithmetic of low and medium/high
// pressure routes, the automatic sizing, and velmora-batch route.
#include "batch.h"
#include "calculation.h"
#include "csv.h"
#include "network_picture.h"
#include "number_text.h"
#include "route.h"
#include "route_options.h"
#include "sections.h"

#include <QTest>

#include <cmath>

namespace {

route::Settings lowSettings(const QString &allowable = QStringLiteral("400"))
{
    route::Settings s = route::initialSettings();
    s.setText(QStringLiteral("density"), QStringLiteral("0.72"));
    s.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
    s.setText(QStringLiteral("temperature"), QStringLiteral("288"));
    s.setText(QStringLiteral("allowableDrop"), allowable);
    return s;
}

route::Settings highSettings(const QString &start, const QString &minEnd)
{
    route::Settings s = lowSettings();
    s.pressure = route::Pressure::High;
    s.text(QStringLiteral("allowableDrop")).clear();
    s.setText(QStringLiteral("startPressure"), start);
    s.setText(QStringLiteral("minEndPressure"), minEnd);
    return s;
}

// Sections from "name,length,flow,rise,diameter" lines.
QList<route::Section> sections(const QStringList &lines)
{
    QList<route::Section> list;
    for (const QString &line : lines) {
        const QStringList c = line.split(u',');
        list.append({c.value(0), c.value(1), c.value(2), c.value(3), c.value(4)});
    }
    return list;
}

// Five sections of a low-pressure route, the third a riser of 10 m, the fourth falling 5 m with a given diameter.
const QStringList kLowRoute{"1,100,50,0,", "2,80,40,0,", "3,60,30,10,", "4,50,20,-5,100", "5,40,10,0,"};

// The unit drop that the low-pressure section screen shows for a flow and diameter.
QString sectionScreenDrop(const QString &flow, const QString &diameter)
{
    const calc::Calculation *xd = calc::find(QStringLiteral("xd"));
    calc::Input input = xd->initialInput();
    input.texts[QStringLiteral("flow")] = flow;
    input.texts[QStringLiteral("viscosity")] = QStringLiteral("1.5E-5");
    input.texts[QStringLiteral("temperature")] = QStringLiteral("288");
    input.texts[QStringLiteral("density")] = QStringLiteral("0.72");
    input.checks[QStringLiteral("modes_enabled")] = true;
    input.choices[QStringLiteral("mode")] = 1;
    input.texts[QStringLiteral("given_diameter")] = diameter;
    return xd->calculate(input).results.value(QStringLiteral("given_unit_drop"));
}

BatchRun batch(const QStringList &arguments, const QByteArray &input)
{
    return runBatch(arguments, [input] { return input; });
}

} // namespace

class RouteTest : public QObject
{
    Q_OBJECT

private slots:
    void lowRouteWorkedByHand()
    {
        const route::Result r = route::calculate(lowSettings(), sections(kLowRoute));
        QVERIFY(r.settingsValid);
        // The budget is 400 / (330 × 1.1) = 1.10192... Pa/m: 100 mm for 50 Nm3/h (80 mm would lose 1.1+).
        QStringList diameters;
        for (const route::SectionResult &s : r.sections)
            diameters << s.diameter + (s.automatic ? "*" : "");
        QCOMPARE(diameters, (QStringList{"100*", "80*", "70*", "100", "50*"}));
        // The riser: friction 0.843387842214615 × 60, local 10 % of it, head (1.293 − 0.72) × 10 × 9.81.
        QCOMPARE(r.sections[2].cells,
                 (QStringList{"10105.0842872659", "紊流", "0.843387842214615", "50.6032705328769", "5.06032705328769",
                              "56.2113", "-0.547702413835388", "105.96399698747"}));
        QCOMPARE(r.sections[3].cells[5], QStringLiteral("-28.10565"));
        QCOMPARE(r.sections[4].cells.back(), QStringLiteral("164.54579574383"));
        QCOMPARE(r.totalLength, QStringLiteral("330"));
        QCOMPARE(r.total, QStringLiteral("164.54579574383"));
        QCOMPARE(r.verdict, QStringLiteral("满足"));
        QVERIFY(r.met);
        // Left as numbers for a screen, every cell reads the same when shown.
        const route::Result unformatted = route::calculate(lowSettings(), sections(kLowRoute), false);
        for (qsizetype i = 0; i < r.sections.size(); ++i) {
            for (int c = 0; c < 8; ++c)
                QCOMPARE(unformatted.sections[i].cell(c), r.sections[i].cells[c]);
        }
        // Each unit drop is the one the low-pressure section screen gives for that flow and diameter.
        const QList<route::Section> route = sections(kLowRoute);
        for (qsizetype i = 0; i < route.size(); ++i)
            QCOMPARE(r.sections[i].cells[2], sectionScreenDrop(route[i].flow, r.sections[i].diameter));
    }

    void lowRouteOverItsAllowance()
    {
        const route::Result r = route::calculate(lowSettings(QStringLiteral("100")), sections({"1,100,50,0,100"}));
        // 100 m of 100 mm at 50 Nm3/h loses 41.3358735580776 Pa... with 100 Pa allowed it is met.
        QCOMPARE(r.verdict, QStringLiteral("满足"));
        const route::Result over = route::calculate(lowSettings(QStringLiteral("40")), sections({"1,100,50,0,100"}));
        QCOMPARE(over.verdict, QStringLiteral("不满足,超出 1.33587355807759 Pa"));
        QVERIFY(!over.met);
    }

    void automaticSizingAtTheBudgetsEdge()
    {
        // One metre without local losses: the budget is the allowance itself, here exactly the 100 mm drop.
        const double drop100 = calc::lowSection(50, 1.5E-5, 288, 0.72, 0, 100).drop;
        route::Settings s = lowSettings(QString::number(drop100, 'g', 17));
        s.setText(QStringLiteral("localPercent"), QStringLiteral("0"));
        QCOMPARE(route::calculate(s, sections({"1,1,50,0,"})).sections[0].diameter, QStringLiteral("100"));
        s.setText(QStringLiteral("allowableDrop"), QString::number(std::nextafter(drop100, 0.0), 'g', 17));
        QCOMPARE(route::calculate(s, sections({"1,1,50,0,"})).sections[0].diameter, QStringLiteral("125"));
    }

    void noDiameterQualifies()
    {
        const route::Result r
            = route::calculate(lowSettings(QStringLiteral("0.000001")), sections({"1,100,50,0,", "2,10,5,0,"}));
        QCOMPARE(r.sections[0].diameter, QStringLiteral("630"));
        QCOMPARE(r.sections[0].message, QStringLiteral("管径系列中无满足允许压降的管径,嘿嘿"));
        QVERIFY(r.sections[0].valid);
        QVERIFY(r.verdict.startsWith(QStringLiteral("不满足,超出 ")));
    }

    void invalidRowsInTheMiddle_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QList<int>>("bad");
        QTest::addColumn<QString>("message");
        QTest::newRow("length 0") << "x,0,40,0," << QList<int>{route::Length} << "录入数据不能为0或小于0,嘿嘿";
        QTest::newRow("no flow") << "x,80,,0," << QList<int>{route::Flow} << "录入数据不能为0或小于0,嘿嘿";
        // A number not read whole is refused with what it would be read as, never used as that.
        QTest::newRow("letters for a diameter")
            << "x,80,40,0,abc" << QList<int>{route::Diameter} << "管径未能完整读取：读作 0";
        QTest::newRow("a length with a thousands blank")
            << "x,1 200,40,0," << QList<int>{route::Length} << "管长未能完整读取：读作 1";
        QTest::newRow("a flow and a rise with their units") << "x,80,40m3/h,5m," << QList<int>{route::Flow, route::Rise}
                                                            << "流量未能完整读取：读作 40；高程差未能完整读取：读作 5";
        QTest::newRow("negative length and flow")
            << "x,-1,-1,0," << QList<int>{route::Length, route::Flow} << "录入数据不能为0或小于0,嘿嘿";
        QTest::newRow("rise beyond the double range")
            << "x,80,40,1e400," << QList<int>{route::Rise} << "录入数据超出计算范围,嘿嘿";
    }

    void invalidRowsInTheMiddle()
    {
        QFETCH(QString, row);
        QFETCH(QList<int>, bad);
        QFETCH(QString, message);
        const route::Result r = route::calculate(lowSettings(), sections({"1,100,50,0,", row, "3,60,30,10,"}));
        QVERIFY(!r.sections[1].valid);
        QCOMPARE(r.sections[1].badColumns, bad);
        QCOMPARE(r.sections[1].message, message);
        QCOMPARE(r.sections[1].cells, QStringList(8, QString()));
        QCOMPARE(r.verdict, route::kIncomplete);
        // The other rows are sized against their own lengths, 160 m × 1.1, and still add up.
        const route::Result alone = route::calculate(lowSettings(), sections({"1,100,50,0,", "3,60,30,10,"}));
        QCOMPARE(r.sections[2].cells, alone.sections[1].cells);
        QCOMPARE(r.total, alone.total);
        QCOMPARE(r.totalLength, QStringLiteral("160"));
    }

    void settingsThatAreNotPositive_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("density") << "density"
                                 << "0";
        QTest::newRow("viscosity") << "viscosity"
                                   << "";
        QTest::newRow("temperature") << "temperature"
                                     << "-288";
        QTest::newRow("negative local percent") << "localPercent"
                                                << "-1";
        QTest::newRow("allowable drop") << "allowableDrop"
                                        << "abc";
    }

    void settingsThatAreNotPositive()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        route::Settings s = lowSettings();
        s.setText(field, value);
        const route::Result r = route::calculate(s, sections(kLowRoute));
        QVERIFY(!r.settingsValid);
        QCOMPARE(r.settingProblem.name, field);
        QCOMPARE(r.verdict, route::kIncomplete + QStringLiteral(": ") + route::settingsProblem(s));
        for (const route::SectionResult &section : r.sections)
            QCOMPARE(section.cells, QStringList(8, QString()));
        QVERIFY(!route::settingsProblem(s).isEmpty());
    }

    // The profile falls from the allowable drop by each section's cumulative drop, over its length.
    void theProfileFallsSectionBySection()
    {
        const QList<route::Section> route = sections(kLowRoute);
        const route::Result r = route::calculate(lowSettings(), route);
        const picture::Profile p = picture::routeProfile(lowSettings(), route, r);
        QCOMPARE(p.ids, (QStringList{"起点", "1", "2", "3", "4", "5"}));
        QCOMPARE(p.distance, (QList<double>{0, 100, 180, 240, 290, 330}));
        const double allowable = parseLeadingNumber(lowSettings().text(QStringLiteral("allowableDrop")));
        QCOMPARE(p.pressure.front(), allowable);
        QCOMPARE(p.pressure.back(), allowable - parseLeadingNumber(r.total));
        QCOMPARE(p.minPressure, std::optional<double>(0));
    }

    void aLocalPercentOfZeroIsAllowed()
    {
        route::Settings s = lowSettings();
        s.setText(QStringLiteral("localPercent"), QStringLiteral("0"));
        const route::Result r = route::calculate(s, sections({"1,100,50,0,100"}));
        QCOMPARE(r.sections[0].cells[4], QStringLiteral("0"));
        QCOMPARE(r.verdict, QStringLiteral("满足"));
    }

    void highRouteGivesTheSectionScreensDigits()
    {
        // 2 km of 100 mm at 1000 Nm3/h from 400 kPa: the drop of the section screen's 100 mm row.
        const route::Result r = route::calculate(highSettings("400", "200"), sections({"A,2,1000,,100"}));
        QCOMPARE(r.sections[0].cells[0], QStringLiteral("20146.2695875009"));
        // ΔP² = s × L × 1.1; end = √(400² − ΔP²).
        QCOMPARE(r.sections[0].cells[1], formatNumber(20146.2695875009 * 2 * 1.1));
        QCOMPARE(r.sections[0].cells[3], QStringLiteral("340.114990712697"));
        QCOMPARE(r.verdict, QStringLiteral("满足"));
        // The flow is held in single precision: a difference below it changes nothing.
        QCOMPARE(route::calculate(highSettings("400", "200"), sections({"A,2,1000.00001,,100"})).sections[0].cells,
                 r.sections[0].cells);
    }

    void highRouteWhosePressureRunsOut()
    {
        const route::Result r
            = route::calculate(highSettings("400", "100"), sections({"A,2,1000,,100", "B,1,1000,,50", "C,1,600,,80"}));
        QCOMPARE(r.sections[0].cells[2], QStringLiteral("400"));
        QCOMPARE(r.sections[1].cells[2], QStringLiteral("340.114990712697"));
        QCOMPARE(r.sections[1].cells[3], QStringLiteral("压力差小于零"));
        // Beyond it: the unit drop and ΔP², no pressures.
        QVERIFY(!r.sections[2].cells[0].isEmpty());
        QVERIFY(!r.sections[2].cells[1].isEmpty());
        QCOMPARE(r.sections[2].cells.mid(2), (QStringList{"", ""}));
        QCOMPARE(r.total, QStringLiteral("压力差小于零"));
        QCOMPARE(r.verdict, QStringLiteral("不满足,压力差小于零"));
        QCOMPARE(r.totalLength, QStringLiteral("4"));
    }

    void highRouteBelowItsMinimumEndPressure()
    {
        const route::Result r = route::calculate(highSettings("400", "350"), sections({"A,2,1000,,100"}));
        QCOMPARE(r.verdict, QStringLiteral("不满足,低于最低终点压力 9.88500928730303 kPa"));
    }

    void highRouteSizedAutomatically()
    {
        // (400² − 200²) / (4 × 1.1) = 27272.7...: 100 mm drops 20146 per km at 1000 Nm3/h, 80 mm 63658.
        const route::Result r = route::calculate(highSettings("400", "200"), sections({"A,4,1000,,"}));
        QCOMPARE(r.sections[0].diameter, QStringLiteral("100"));
        QVERIFY(r.sections[0].automatic);
    }

    void highSettingsNeedAStartAboveTheEnd()
    {
        QCOMPARE(route::settingsProblem(highSettings("200", "200")), QStringLiteral("起点压力应高于最低终点压力"));
        QVERIFY(!route::calculate(highSettings("200", "300"), sections({"A,1,100,,"})).settingsValid);
    }

    void commandLineWritesTheTable()
    {
        const BatchRun run = batch(
            {"route", "--density", "0.72", "--viscosity=1.5E-5", "--temperature", "288", "--allowable-drop", "400"},
            ("管段号,管长(m),流量(Nm^3/h),高程差(m),管径(mm)\n" + kLowRoute.join(u'\n')).toUtf8());
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = csv::read(run.output).table.rows;
        QCOMPARE(
            rows,
            route::tableRows(lowSettings(), sections(kLowRoute), route::calculate(lowSettings(), sections(kLowRoute))));
        QCOMPARE(rows.front().mid(0, 6), (QStringList{"section", "length", "flow", "rise", "diameter", "auto"}));
        QCOMPARE(rows[1].mid(4, 2), (QStringList{"100", "1"}));
        QCOMPARE(rows.back().front(), QStringLiteral("合计"));
        QCOMPARE(rows.back().back(), QStringLiteral("满足"));
        QCOMPARE(rows.back()[rows.front().indexOf(QStringLiteral("cumulative_drop"))],
                 QStringLiteral("164.54579574383"));

        // "1,200" m is not 1 m: the row says so and the route is incomplete, without --strict too.
        const BatchRun partly = batch(
            {"route", "--density", "0.72", "--viscosity=1.5E-5", "--temperature", "288", "--allowable-drop", "400"},
            "section,length,flow,rise,diameter\n1,\"1,200\",50,0,\n");
        QCOMPARE(partly.status, 0);
        const QList<QStringList> refused = csv::read(partly.output).table.rows;
        QCOMPARE(refused[1][refused.front().indexOf(QStringLiteral("message"))],
                 QStringLiteral("管长未能完整读取：读作 1"));
        QCOMPARE(refused.back().back(), route::kIncomplete);
    }

    void commandLineOutputReadsBackAsInput()
    {
        const QStringList args{"route", "--density",        "0.72", "--viscosity", "1.5E-5", "--temperature",
                               "288",   "--allowable-drop", "400"};
        const BatchRun first = batch(args, ("section,length,flow,rise,diameter\n" + kLowRoute.join(u'\n')).toUtf8());
        const BatchRun again = batch(args, first.output);
        QCOMPARE(again.status, 0);
        QCOMPARE(again.output, first.output);
    }

    void commandLineHighPressure()
    {
        const BatchRun run
            = batch({"route", "--pressure", "high", "--material", "钢管", "--density", "0.72", "--viscosity", "1.5E-5",
                     "--temperature", "288", "--start-pressure", "400", "--min-end-pressure", "100"},
                    "section,length,flow,diameter\nA,2,1000,100\nB,1,1000,50\n");
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = csv::read(run.output).table.rows;
        QCOMPARE(rows.front().mid(6),
                 (QStringList{"unit_drop", "section_dp2", "start_pressure", "end_pressure", "message", "verdict"}));
        QCOMPARE(rows.back()[rows.front().indexOf(QStringLiteral("end_pressure"))], QStringLiteral("压力差小于零"));
    }

    void commandLineRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("error");
        const QStringList gas{"--density", "0.72", "--viscosity", "1.5E-5", "--temperature", "288"};
        const QByteArray rows = "section,length,flow\n1,100,50\n";
        QTest::newRow("no allowable drop") << QStringList{"route"} + gas << rows << "允许压降应大于0";
        QTest::newRow("no density") << QStringList{"route", "--allowable-drop", "400"} << rows << "燃气密度应大于0";
        QTest::newRow("negative local percent")
            << QStringList{"route", "--local-percent", "-5", "--allowable-drop", "400"} + gas << rows
            << "局部阻力百分数不能小于0";
        QTest::newRow("start not above the minimum end")
            << QStringList{"route", "--pressure", "high", "--start-pressure", "100", "--min-end-pressure", "100"} + gas
            << rows << "起点压力应高于最低终点压力";
        QTest::newRow("unknown pressure class") << QStringList{"route", "--pressure", "medium"} << rows << "--pressure";
        QTest::newRow("unknown material") << QStringList{"route", "--material", "4"} << rows << "--material";
        QTest::newRow("option without a value") << QStringList{"route", "--density"} << rows << "缺少取值";
        QTest::newRow("unknown column") << QStringList{"route", "--allowable-drop", "400"} + gas
                                        << QByteArray("section,slope\n1,2\n") << "第1行：未知的列“slope”";
        QTest::newRow("more cells than the header") << QStringList{"route", "--allowable-drop", "400"} + gas
                                                    << QByteArray("section,length\n1,2,3\n") << "第2行：单元格多于表头";
        QTest::newRow("unbalanced quotes")
            << QStringList{"route", "--allowable-drop", "400"} + gas << QByteArray("section\n\"1\n") << "引号不成对";
    }

    void commandLineRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, error);
        const BatchRun run = batch(arguments, input);
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY2(QString::fromUtf8(run.error).contains(error), run.error.constData());
        QCOMPARE(run.error.count('\n'), 1);
    }
};

QTEST_APPLESS_MAIN(RouteTest)
#include "tst_route.moc"
