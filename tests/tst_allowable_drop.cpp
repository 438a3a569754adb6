#include "gui_test.h"
#include "hs.h"

#include <QTest>

class AllowableDropTest : public QObject
{
    Q_OBJECT

private slots:
    void formulaSubtractsThenDivides()
    {
        QCOMPARE(hs::AllowableUnitPressureDrop(2500, 1500, 400), 2.5);
        QCOMPARE(hs::AllowableUnitPressureDrop(0.3, 0.1, 0.2), (0.3 - 0.1) / 0.2);
    }

    void calculation_data()
    {
        addCalculationColumns();
        addCalculation("worked case", {"2500", "1500", "400"}, "2.5");
        addCalculation("meter pressure above outlet", {"1500", "2500", "400"}, "-2.5");
        addCalculation("equal pressures", {"2000", "2000", "100"}, "0");
        addCalculation("trailing text is ignored", {"2500Pa", " 1500", "400m"}, "2.5");
        addRefusal("all empty", {"", "", ""}, kNotPositive);
        addRefusal("zero length", {"2500", "1500", "0"}, kNotPositive);
        addRefusal("negative outlet", {"-2500", "1500", "400"}, kNotPositive);
        addRefusal("text for a number", {"abc", "1500", "400"}, kNotPositive);
        addRefusal("outlet beyond the double range", {"1e400", "1500", "400"}, kOutOfRange);
        addRefusal("negative infinity is not positive", {"-1e400", "1500", "400"}, kNotPositive);
        addRefusal("quotient overflows", {"1e308", "1", "1e-10"}, kOutOfRange);
    }

    void calculation() { checkCalculation("Command3", "Label5", {"2500", "1500", "400"}); }

    void resultStaysAfterAVisitToTheMainMenu()
    {
        Session s;
        QWidget *yl = s.openFromMenu("Command3");
        typeFields(yl, {"2500", "1500", "400"});
        QCOMPARE(s.calculate(yl), QStringList());
        clickOn(yl, "Command2");
        yl = s.openFromMenu("Command3");
        QCOMPARE(textsOf(yl, {"Label4", "Label5", "Label6"}), (QStringList{"允许单位压力降(Pa/m)：", "2.5", "Orvane"}));
    }
};

QTEST_MAIN(AllowableDropTest)
#include "tst_allowable_drop.moc"
