#include "gui_test.h"
#include "shell.h"

#include <QTest>

namespace {

const QString kNotHouseholds = QStringLiteral("录入数据应为1~200的整数,嘿嘿");
const QString kRateAboveOne = QStringLiteral("气化率应在0~1之间,嘿嘿");

} // namespace

class FlowScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void nonUniformityFlow_data()
    {
        addCalculationColumns();
        addCalculation("a year of hourly quota per resident", {"1000", "1", "8760", "1"}, "3960");
        addCalculation("heating value divides last", {"100", "1", "8760", "3.96"}, "100");
        addCalculation("rate as a fraction", {"10000", "0.9", "2930000", "35000"}, "340.590998043053");
        addCalculation("a rate of 1 is accepted", {"10000", "1", "2930000", "35000"}, "378.434442270059");
        addRefusal("rate typed as a percentage", {"10000", "90", "2930000", "35000"}, kRateAboveOne);
        addRefusal("rate typed with a percent sign", {"10000", "90%", "2930000", "35000"}, kRateAboveOne);
        addRefusal("rate just above 1", {"10000", "1.0000001", "2930000", "35000"}, kRateAboveOne);
        addRefusal("rate above 1 with an empty field shows only the first message", {"", "90", "2930000", "35000"},
                   kNotPositive);
        addRefusal("all empty", {"", "", "", ""}, kNotPositive);
        addRefusal("zero rate", {"1000", "0", "8760", "1"}, kNotPositive);
        addRefusal("negative quota", {"1000", "1", "-8760", "1"}, kNotPositive);
        addRefusal("letters for the heating value", {"1000", "1", "8760", "kJ"}, kNotPositive);
        addRefusal("residents beyond the double range", {"1e400", "1", "8760", "1"}, kOutOfRange);
        addRefusal("product beyond the double range", {"1e300", "1", "1e300", "1"}, kOutOfRange);
    }

    void nonUniformityFlow() { checkCalculation("Command2", "Label6", {"1000", "1", "8760", "1"}); }

    void simultaneityFlow_data()
    {
        // Households, then the rated flow of one.
        addCalculationColumns();
        addCalculation("one household", {"1", "1.5"}, "1.5");
        addCalculation("two households", {"2", "1"}, "1.12");
        addCalculation("2.0 is two", {"2.0", "1"}, "1.12");
        addCalculation("nine, the last exact count", {"9", "2"}, "4.68");
        addCalculation("ten opens the first range", {"10", "2"}, "5");
        addCalculation("fraction within the first range", {"12.5", "1"}, "3.125");
        addCalculation("14.99 still in the first range", {"14.99", "1"}, "3.7475");
        addCalculation("15 opens the next range", {"15", "1"}, "3.3");
        addCalculation("100 opens the last range", {"100", "1"}, "17");
        addCalculation("150", {"150", "1.5"}, "38.25");
        addCalculation("199.9 in the last range", {"199.9", "1"}, "33.983");
        addCalculation("exactly 200", {"200", "2"}, "64");
        addRefusal("200.5", {"200.5", "1"}, kNotHouseholds);
        addRefusal("above 200", {"201", "1"}, kNotHouseholds);
        addRefusal("half a household", {"0.5", "1"}, kNotHouseholds);
        addRefusal("zero households", {"0", "1"}, kNotHouseholds);
        addRefusal("negative households", {"-2", "1"}, kNotHouseholds);
        addRefusal("empty households", {"", "1"}, kNotHouseholds);
        addRefusal("fraction below ten", {"2.5", "1"}, kNotHouseholds);
        addRefusal("fraction just above nine", {"9.5", "1"}, kNotHouseholds);
        addRefusal("almost two", {"2.0000001", "1"}, kNotHouseholds);
        addRefusal("households beyond the double range", {"1e400", "1"}, kNotHouseholds);
        addRefusal("households are checked before the rated flow", {"300", ""}, kNotHouseholds);
        addRefusal("empty rated flow", {"5", ""}, kNotPositive);
        addRefusal("zero rated flow", {"5", "0"}, kNotPositive);
        addRefusal("negative rated flow", {"5", "-1.5"}, kNotPositive);
        addRefusal("rated flow beyond the double range", {"5", "1e400"}, kOutOfRange);
        addRefusal("product beyond the double range", {"200", "1e308"}, kOutOfRange);
    }

    void simultaneityFlow() { checkCalculation("Command7", "Label4", {"200", "2"}); }

    void rejectedClicksAndCrossLinksKeepBothScreens()
    {
        Session s;
        QWidget *ll = s.openFromMenu("Command2");
        typeFields(ll, {"1000", "1", "8760", "1"});
        QCOMPARE(s.calculate(ll), QStringList());
        typeInto(ll, "Text2", QStringLiteral("0"));
        QCOMPARE(s.calculate(ll), QStringList{kNotPositive});

        chooseMenuItem(ll, QStringLiteral("同时工作系数法"));
        QWidget *lll = s.shell->screen(QStringLiteral("lll"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("lll"));
        perform(lll, {"Text1=200", "Text2=2", "Command1", "Text2=", "Command1", "Text1=2.5", "Command1"});
        QCOMPARE(s.messages.take(), (QStringList{kNotPositive, kNotHouseholds}));
        QCOMPARE(textOf(lll, "Label4"), QStringLiteral("64"));

        chooseMenuItem(lll, QStringLiteral("不均匀系数法"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("ll"));
        QCOMPARE(textOf(ll, "Label6"), QStringLiteral("3960"));
        QCOMPARE(boxText(ll, "Text2"), QStringLiteral("0"));
        clickOn(ll, "Command2");
        QCOMPARE(s.openFromMenu("Command7"), lll);
        QCOMPARE(textOf(lll, "Label4"), QStringLiteral("64"));
        QCOMPARE(boxText(lll, "Text1"), QStringLiteral("2.5"));
    }

    void captionsSayWhatIsTypedAndShown()
    {
        Session s;
        // The rate is a fraction, the flow is per hour, the note gives the coefficients.
        QWidget *ll = s.openFromMenu("Command2");
        QCOMPARE(textsOf(ll, {"Label2", "Label5", "Label8"}),
                 (QStringList{"气化率(0~1):", "计算流量(Nm^3/h)：", "取k1=1.2 k2=1.1 k3=3.0"}));
        clickOn(ll, "Command2");
        QCOMPARE(textOf(s.openFromMenu("Command7"), "Label3"), QStringLiteral("计算流量(Nm^3/h):"));
    }
};

QTEST_MAIN(FlowScreensTest)
#include "tst_flow_screens.moc"
