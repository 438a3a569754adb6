// The calculations without any window: descriptions, outcomes and their order.
#include "calculation.h"
#include "csv.h"
#include "number_text.h"
#include "sections.h"
#include "steps.h"
#include "worked_tables.h"

#include <QSet>
#include <QTest>

namespace {

const QString kNotPositive = QStringLiteral("录入数据不能为0或小于0,嘿嘿");
const QString kOutOfRange = QStringLiteral("录入数据超出计算范围,嘿嘿");
const QString kAbove630 = QStringLiteral("数据超出范围,计算管径已大于630,估计你数据错误,嘿嘿");
const QString kNotLaminar = QStringLiteral("本校验只适合层流,你的输入经计算不是层流,嘿嘿");
const QString kNotHouseholds = QStringLiteral("录入数据应为1~200的整数,嘿嘿");

calc::Outcome run(const QString &code, const QStringList &steps)
{
    const calc::Calculation *c = calc::find(code);
    Q_ASSERT(c);
    return c->calculate(inputFromSteps(*c, steps));
}

// "key=text" for every result shown, sorted, so that rows read as one list.
QStringList shownResults(const calc::Outcome &outcome)
{
    QStringList shown;
    if (outcome.stopped)
        return shown;
    for (auto it = outcome.results.constBegin(); it != outcome.results.constEnd(); ++it)
        shown << it.key() + u'=' + it.value();
    shown.sort();
    return shown;
}

} // namespace

class CalculationsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCalculationHasItsScreenCode()
    {
        QStringList codes;
        for (const calc::Calculation &c : calc::all())
            codes << c.code;
        QCOMPARE(codes, (QStringList{"ll", "lll", "yl", "jb", "yt", "xd", "gyxd", "fxgj", "bh"}));
        QVERIFY(!calc::find(QStringLiteral("hy")));
    }

    // Keys head the columns of the batch command and name the values of files: one meaning each.
    void keysAndDesignNamesAreUniqueWithinACalculation()
    {
        for (const calc::Calculation &c : calc::all()) {
            QStringList keys;
            QStringList designs;
            for (const calc::Field &f : c.fields)
                keys << f.key, designs << f.design;
            for (const calc::Check &k : c.checks)
                keys << k.key, designs << k.design;
            for (const calc::Choice &ch : c.choices) {
                keys << ch.key;
                for (const calc::Option &o : ch.options)
                    designs << o.design;
            }
            for (const calc::Result &r : c.results)
                keys << r.key, designs << r.design;
            for (const calc::Result &r : c.tableColumns)
                keys << r.key, designs << r.design;
            QVERIFY2(QSet<QString>(keys.begin(), keys.end()).size() == keys.size(), qPrintable(c.code));
            QVERIFY2(QSet<QString>(designs.begin(), designs.end()).size() == designs.size(), qPrintable(c.code));
            for (const QString &key : keys)
                QVERIFY2(QRegularExpression(QStringLiteral("^[a-z][a-z0-9_]*$")).match(key).hasMatch(),
                         qPrintable(c.code + u' ' + key));
            QVERIFY(c.run);
        }
    }

    void lowPressureWorkedTable()
    {
        const calc::Outcome o = run(QStringLiteral("xd"), kLowPressureCase);
        QCOMPARE(o.table, kLowPressureTable);
        QCOMPARE(o.messages, QStringList());
        QCOMPARE(o.mode, calc::SectionMode::Unchanged);
        QVERIFY(!o.chosenRow);
    }

    void highPressureWorkedTable()
    {
        const calc::Outcome o = run(QStringLiteral("gyxd"), kHighPressureCase);
        QCOMPARE(o.table, kHighPressureTable);
        QCOMPARE(o.messages, QStringList());
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("table");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<int>("chosenRow");

        const QStringList lowGas{"Text2=100", "Text3=1.5E-5", "Text4=288", "Text5=0.72"};
        QTest::newRow("xd: pre-selection of 100 mm for 2 Pa/m")
            << "xd" << lowGas + QStringList{"Check1", "Option4", "Text1=2"} << QStringList() << false << true
            << QStringList{"preselected_caption=预选管径(mm):", "preselected_diameter=100"} << 8;
        QTest::newRow("xd: cast iron still picks 100 mm")
            << "xd" << lowGas + QStringList{"Option2", "Check1", "Option4", "Text1=2"} << QStringList() << false << true
            << QStringList{"preselected_caption=预选管径(mm):", "preselected_diameter=100"} << 8;
        QTest::newRow("xd: a huge allowance picks 15 mm")
            << "xd" << lowGas + QStringList{"Check1", "Option4", "Text1=1000000"} << QStringList() << false << true
            << QStringList{"preselected_caption=预选管径(mm):", "preselected_diameter=15"} << 0;
        QTest::newRow("xd: given diameter of 90 mm")
            << "xd" << lowGas + QStringList{"Check1", "Option5", "Text6=90"} << QStringList() << false << true
            << QStringList{"given_reynolds=26198.3666706894", "given_state=紊流", "given_unit_drop=2.18987689006676"}
            << -1;
        QTest::newRow("xd: a refused allowance keeps the table, stops before the result")
            << "xd" << lowGas + QStringList{"Check1", "Option4", "Text1=0"} << QStringList{kNotPositive} << true << true
            << QStringList() << -1;
        QTest::newRow("xd: a mode option without the check box is no mode")
            << "xd" << lowGas + QStringList{"Option4", "Text1=2"} << QStringList() << false << true << QStringList()
            << -1;
        QTest::newRow("xd: letters for the flow stop before the table")
            << "xd" << QStringList{"Text2=abc", "Text3=1.5E-5", "Text4=288", "Text5=0.72"} << QStringList{kNotPositive}
            << true << false << QStringList() << -1;
        QTest::newRow("xd: flow beyond the double range")
            << "xd" << QStringList{"Text2=1e400", "Text3=1.5E-5", "Text4=288", "Text5=0.72"} << QStringList{kOutOfRange}
            << true << false << QStringList() << -1;
        QTest::newRow("gyxd: pre-selection against 300 kPa")
            << "gyxd" << kHighPressureCase + QStringList{"Check1", "Option4", "Text4=300"} << QStringList() << false
            << true << QStringList{"preselected_diameter=100"} << 3;
        QTest::newRow("gyxd: given diameter without an end pressure")
            << "gyxd" << kHighPressureCase + QStringList{"Check1", "Option5", "Text9=50"} << QStringList() << false
            << true << QStringList{"given_end_pressure=压力差小于零", "given_unit_drop=732241.197022794"} << -1;
        QTest::newRow("gyxd: density below the float range counts as 0")
            << "gyxd" << QStringList{"Text1=400", "Text3=2", "Text5=1e-50", "Text6=1.5E-5", "Text7=288", "Text8=1000"}
            << QStringList{kNotPositive} << true << false << QStringList() << -1;
        QTest::newRow("fxgj: laminar worked case")
            << "fxgj" << QStringList{"Text1=1", "Text2=2", "Text3=0.000015", "Text4=0.7", "Text5=288"} << QStringList()
            << false << false << QStringList{"diameter=25", "reynolds=1886.28244794114", "state=层流"} << -1;
        QTest::newRow("fxgj: above 630 mm, then not laminar; results still shown")
            << "fxgj" << QStringList{"Text1=0.0001", "Text2=1000", "Text3=0.000015", "Text4=0.7", "Text5=288"}
            << QStringList{kAbove630, kNotLaminar} << false << false
            << QStringList{"diameter=1057.729", "reynolds=22291.6555300909", "state="} << -1;
        QTest::newRow("ll: rate as a fraction")
            << "ll" << QStringList{"Text1=10000", "Text2=0.9", "Text3=2930000", "Text4=35000"} << QStringList() << false
            << false << QStringList{"flow=340.590998043053"} << -1;
        const QString kRate = QStringLiteral("气化率应在0~1之间,嘿嘿");
        for (const char *rate : {"1.0000001", "90", "90%", "1e400"}) {
            QTest::addRow("ll: rate %s is refused", rate)
                << "ll" << QStringList{"Text1=10000", QStringLiteral("Text2=") + rate, "Text3=2930000", "Text4=35000"}
                << QStringList{kRate} << true << false << QStringList() << -1;
        }
        QTest::newRow("ll: rate 1 is accepted")
            << "ll" << QStringList{"Text1=10000", "Text2=1", "Text3=2930000", "Text4=35000"} << QStringList() << false
            << false << QStringList{"flow=378.434442270059"} << -1;
        QTest::newRow("ll: rate 0.5") << "ll" << QStringList{"Text1=1000", "Text2=0.5", "Text3=8760", "Text4=1"}
                                      << QStringList() << false << false << QStringList{"flow=1980"} << -1;
        QTest::newRow("ll: a zero field and a rate above 1 give only the first message")
            << "ll" << QStringList{"Text1=0", "Text2=90", "Text3=2930000", "Text4=35000"} << QStringList{kNotPositive}
            << true << false << QStringList() << -1;
        QTest::newRow("ll: all empty") << "ll" << QStringList() << QStringList{kNotPositive} << true << false
                                       << QStringList() << -1;
        QTest::newRow("lll: 150 households") << "lll" << QStringList{"Text1=150", "Text2=1.5"} << QStringList() << false
                                             << false << QStringList{"flow=38.25"} << -1;
        QTest::newRow("lll: half a household") << "lll" << QStringList{"Text1=0.5", "Text2=1"}
                                               << QStringList{kNotHouseholds} << true << false << QStringList() << -1;
        QTest::newRow("yl: 2500 kPa reads as 2500")
            << "yl" << QStringList{"Text1=2500kPa", "Text2=1500", "Text3=400"} << QStringList() << false << false
            << QStringList{"allowable_drop=2.5"} << -1;
        QTest::newRow("yt: lighter than air") << "yt" << QStringList{"Text1=0.7", "Text2=10"} << QStringList() << false
                                              << false << QStringList{"head=58.1733"} << -1;
        QTest::newRow("jb: worked case") << "jb"
                                         << QStringList{"Text1=10", "Text2=0.75", "Text3=288", "Text4=2", "Text5=20"}
                                         << QStringList() << false << false << QStringList{"loss=61.8567489665689"}
                                         << -1;
        QTest::newRow("bh: initial choices") << "bh" << QStringList{"Text1=500", "Text2=4", "Text3=1"} << QStringList()
                                             << false << false << QStringList{"thickness=9.16326530612245"} << -1;
        QTest::newRow("bh: spiral arc-welded 16Mn oil line in open country")
            << "bh" << QStringList{"Text1=500", "Text2=4", "Text3=1", "Option3", "Option6", "Option8", "Option10"}
            << QStringList() << false << false << QStringList{"thickness=5.37169936697793"} << -1;
    }

    void outcomes()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, messages);
        QFETCH(bool, stopped);
        QFETCH(bool, table);
        QFETCH(QStringList, results);
        QFETCH(int, chosenRow);
        const calc::Outcome o = run(code, steps);
        QCOMPARE(o.messages, messages);
        QCOMPARE(o.stopped, stopped);
        QCOMPARE(!o.table.isEmpty(), table);
        QCOMPARE(shownResults(o), results);
        QCOMPARE(o.chosenRow.value_or(-1), chosenRow);
    }

    // The nearest drop may miss the allowance; the outcome says by how much, and
    // nothing when it meets it, exactly at the allowance included.
    void aPreselectionThatMissesItsAllowanceSaysByHowMuch_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("excess");
        const QStringList low{"Text2=25", "Text3=1.5E-5", "Text4=288", "Text5=0.72", "Check1", "Option4"};
        const QString exact = formatShortest(calc::lowSection(25, 1.5E-5, 288, 0.72, 0, 50).drop);
        QTest::newRow("xd: 50 mm at 3.11 Pa/m for 2")
            << "xd" << low + QStringList{"Text1=2"} << "超出允许单位压降 55.6%";
        QTest::newRow("xd: exactly at the allowance") << "xd" << low + QStringList{"Text1=" + exact} << QString();
        QTest::newRow("xd: below the allowance") << "xd" << low + QStringList{"Text1=0.7"} << QString();
        const QStringList high{"Text1=400",  "Text8=3000", "Text6=1.5E-5", "Text7=288",
                               "Text5=0.72", "Check1",     "Option4"};
        QTest::newRow("gyxd: 150 mm ends at 231.7 kPa")
            << "gyxd" << high + QStringList{"Text3=5", "Text4=300"} << "低于允许终点压力 68.3 kPa";
        QTest::newRow("gyxd: the nearest row has no end pressure")
            << "gyxd" << high + QStringList{"Text3=2.963", "Text4=1"} << "压力差小于零";
        QTest::newRow("gyxd: above the allowable end pressure")
            << "gyxd" << high + QStringList{"Text3=5", "Text4=200"} << QString();
    }

    void aPreselectionThatMissesItsAllowanceSaysByHowMuch()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, steps);
        QFETCH(QString, excess);
        const calc::Outcome o = run(code, steps);
        QVERIFY(o.chosenRow);
        QCOMPARE(o.overAllowance, excess);
    }

    void wallThicknessFactors_data()
    {
        QTest::addColumn<QList<int>>("options");
        QTest::addColumn<QList<double>>("factors");
        QTest::newRow("seamless, 20, gas, residential") << QList<int>{0, 0, 0, 0} << QList<double>{1, 245, 0.5};
        QTest::newRow("straight seam, A3F, gas, open country") << QList<int>{1, 1, 0, 1} << QList<double>{1, 235, 0.6};
        QTest::newRow("arc-welded, 16Mn, oil, residential") << QList<int>{2, 2, 1, 0} << QList<double>{0.9, 353, 0.6};
        QTest::newRow("oil line in open country") << QList<int>{0, 0, 1, 1} << QList<double>{1, 245, 0.72};
        QTest::newRow("nothing chosen takes the last of each")
            << QList<int>{-1, -1, -1, -1} << QList<double>{0.9, 353, 0.72};
    }

    void wallThicknessFactors()
    {
        QFETCH(QList<int>, options);
        QFETCH(QList<double>, factors);
        const calc::WallFactors f = calc::wallFactors(options[0], options[1], options[2], options[3]);
        QCOMPARE((QList<double>{f.phi, f.sigmaS, f.F}), factors);
    }

    // A section screen's table is a function of its inputs: the same input gives the same outcome.
    void outcomesAreValues()
    {
        const calc::Outcome a = run(QStringLiteral("xd"), kLowPressureCase);
        const calc::Outcome b = run(QStringLiteral("xd"), kLowPressureCase);
        QVERIFY(a == b);
        QVERIFY(!(a == run(QStringLiteral("xd"), kLowPressureCase + QStringList{"Option3"})));
    }

    void csvReads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("plain") << QByteArray("a,b\n1,2\n") << QList<QStringList>{{"a", "b"}, {"1", "2"}}
                               << QList<int>{1, 2};
        QTest::newRow("byte-order mark and CRLF") << QByteArray("\xEF\xBB\xBF"
                                                                "a,b\r\n1,2\r\n")
                                                  << QList<QStringList>{{"a", "b"}, {"1", "2"}} << QList<int>{1, 2};
        QTest::newRow("no final line end")
            << QByteArray("a\n1") << QList<QStringList>{{"a"}, {"1"}} << QList<int>{1, 2};
        QTest::newRow("quotes, commas and line ends inside a field")
            << QByteArray("a,b\n\"x,\"\"y\"\"\nz\",2\n3,\n")
            << QList<QStringList>{{"a", "b"}, {"x,\"y\"\nz", "2"}, {"3", ""}} << QList<int>{1, 2, 4};
        QTest::newRow("blank lines are skipped, a quoted empty field is a row")
            << QByteArray("a\n\n\"\"\n") << QList<QStringList>{{"a"}, {""}} << QList<int>{1, 3};
        QTest::newRow("a byte-order mark after the first line is a cell's text")
            << QByteArray("\r\xEF\xBB\xBF") << QList<QStringList>{{QString(QChar(0xFEFF))}} << QList<int>{2};
        QTest::newRow("Chinese") << QByteArray("计算流量：,备注\n10,\"甲,乙\"\n")
                                 << QList<QStringList>{{"计算流量：", "备注"}, {"10", "甲,乙"}} << QList<int>{1, 2};
        // 节点,负荷 as a spreadsheet on a Chinese system saves it.
        QTest::newRow("GB18030") << QByteArray("\xbd\xda\xb5\xe3,\xb8\xba\xba\xc9\r\nA1,12.5\r\n")
                                 << QList<QStringList>{{"节点", "负荷"}, {"A1", "12.5"}} << QList<int>{1, 2};
        QTest::newRow("GB18030 with its byte-order mark")
            << QByteArray("\x84\x31\x95\x33\xbd\xda\xb5\xe3\n") << QList<QStringList>{{"节点"}} << QList<int>{1};
    }

    void csvReads()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QList<int>, lines);
        const csv::ReadResult r = csv::read(text);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.table.rows, rows);
        QCOMPARE(r.table.lines, lines);
        // Written and read again, the cells are the same.
        QCOMPARE(csv::read(csv::write(rows, true)).table.rows, rows);
    }

    void csvRefuses_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("unbalanced quote") << QByteArray("a,b\n1,\"2\n3\n") << "第2行：引号不成对";
        QTest::newRow("text after a closing quote") << QByteArray("a\n\"1\"x\n") << "第2行：引号后应为逗号或换行";
        QTest::newRow("quote inside a bare field") << QByteArray("a\nx\"y\n") << "第2行：未加引号的字段中有引号";
        QTest::newRow("neither UTF-8 nor GB18030") << QByteArray("a\n\xff\n") << "不是UTF-8或GB18030编码的文本";
        QTest::newRow("GB18030 cut inside a character") << QByteArray("a\n\xbd") << "不是UTF-8或GB18030编码的文本";
        QTest::newRow("a byte-order mark says UTF-8")
            << QByteArray("\xEF\xBB\xBF\xbd\xda\xb5\xe3\n") << "不是UTF-8编码的文本";
    }

    void csvRefuses()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        const csv::ReadResult r = csv::read(text);
        QCOMPARE(r.error, error);
        QVERIFY(r.table.rows.isEmpty());
    }
};

QTEST_APPLESS_MAIN(CalculationsTest)
#include "tst_calculations.moc"
