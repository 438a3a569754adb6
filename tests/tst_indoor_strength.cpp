#include "gui_test.h"

#include <QLabel>
#include <QTest>

namespace {

// The ticked ones of the wall thickness screen's ten option buttons.
QStringList tickedOptions(QWidget *bh)
{
    QStringList ticked;
    for (int i = 1; i <= 10; ++i) {
        const QString name = QStringLiteral("Option%1").arg(i);
        if (checked(bh, qPrintable(name)))
            ticked << name;
    }
    return ticked;
}

} // namespace

class IndoorStrengthTest : public QObject
{
    Q_OBJECT

private slots:
    void additionalHead_data()
    {
        // Density, then the height difference.
        addCalculationColumns();
        addCalculation("gas lighter than air gains head", {"0.7", "10"}, "58.1733");
        addCalculation("gas denser than air gives a negative head", {"2", "10"}, "-69.3567");
        addCalculation("gas as dense as air gives no head", {"1.293", "5"}, "0");
        addCalculation("letters after the density are ignored", {"0.7kg", "10"}, "58.1733");
        addRefusal("downward run is refused", {"0.7", "-10"}, kNotPositive);
        addRefusal("empty height difference", {"0.7", ""}, kNotPositive);
        addRefusal("zero density", {"0", "10"}, kNotPositive);
        addRefusal("density beyond the double range", {"1e400", "10"}, kOutOfRange);
        addRefusal("head overflows", {"0.7", "1e308"}, kOutOfRange);
    }

    void additionalHead() { checkCalculation("Command8", "Label4", {"0.7", "10"}); }

    void indoorLocalLoss_data()
    {
        addCalculationColumns();
        addCalculation("worked case with pi as 3.14159", {"10", "0.75", "288", "2", "20"}, "61.8567489665689");
        addCalculation("very small loss in exponent form", {"1", "1", "273", "1", "1000"}, "6.25440461773085E-08");
        addRefusal("temperature typed in degrees Celsius as 0", {"10", "0.75", "0", "2", "20"}, kNotPositive);
        addRefusal("empty diameter", {"10", "0.75", "288", "2", ""}, kNotPositive);
        addRefusal("negative resistance coefficient", {"10", "0.75", "288", "-2", "20"}, kNotPositive);
        addRefusal("text for the flow", {"abc", "0.75", "288", "2", "20"}, kNotPositive);
        addRefusal("flow beyond the double range", {"1e400", "0.75", "288", "2", "20"}, kOutOfRange);
        addRefusal("squared flow overflows", {"1e160", "0.75", "288", "2", "20"}, kOutOfRange);
    }

    void indoorLocalLoss() { checkCalculation("Command1", "Label6", {"10", "0.75", "288", "2", "20"}); }

    void wallThickness_data()
    {
        addCalculationColumns();
        const QStringList worked{"500", "4", "1"};
        addCalculation("defaults: seamless, steel 20, gas line, residential", worked, "9.16326530612245");
        addCalculation("spiral arc-welded 16Mn oil line in open country", worked, "5.37169936697793",
                       {"Option3", "Option6", "Option8", "Option10"});
        addCalculation("A3F gas line in open country", {"200", "1.6", "0.5"}, "1.63475177304965",
                       {"Option5", "Option10"});
        addCalculation("straight-seam pipe has the seamless coefficient", worked, "9.16326530612245", {"Option2"});
        addCalculation("spiral arc-welded pipe has a coefficient of its own", worked, "10.0702947845805", {"Option3"});
        addCalculation("gas line in open country", worked, "7.80272108843537", {"Option10"});
        addCalculation("oil line in a residential area has the same factor", worked, "7.80272108843537", {"Option8"});
        addCalculation("oil line in open country", worked, "6.66893424036281", {"Option8", "Option10"});
        addRefusal("all fields empty are refused", {"", "", ""}, kNotPositive);
        addRefusal("negative design pressure is refused", {"300", "-1", "0.5"}, kNotPositive);
        addRefusal("zero corrosion allowance is refused", {"500", "4", "0"}, kNotPositive);
        addRefusal("diameter beyond the double range", {"1e400", "4", "1"}, kOutOfRange);
        addRefusal("diameter times pressure overflows", {"1e308", "10", "1"}, kOutOfRange);
    }

    void wallThickness() { checkCalculation("Command9", "Label4", {"500", "4", "1"}); }

    void wallThicknessDefaultsAreSetOnceAndSelectionsStay()
    {
        Session s;
        QWidget *bh = s.openFromMenu("Command9");
        QCOMPARE(tickedOptions(bh), (QStringList{"Option1", "Option4", "Option7", "Option9"}));
        for (const char *text : {"Text1", "Text2", "Text3"})
            QCOMPARE(boxText(bh, text), QString());
        QCOMPARE(textOf(bh, "Label4"), QString());

        perform(bh, {"Option3", "Option5", "Option8", "Option10", "Text1=500", "Command2"});
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QCOMPARE(s.openFromMenu("Command9"), bh);
        QCOMPARE(tickedOptions(bh), (QStringList{"Option3", "Option5", "Option8", "Option10"}));
        QCOMPARE(boxText(bh, "Text1"), QStringLiteral("500"));
    }

    void screensCarryTheirCaptionsAndBanners()
    {
        Session s;
        QWidget *yt = s.openFromMenu("Command8");
        QCOMPARE(textsOf(yt, {"Label1", "Label3", "Label5"}),
                 (QStringList{"燃气密度(KG/Nm^3):", "附加压头(Pa):", "Orvane"}));
        clickOn(yt, "Command2");

        QWidget *jb = s.openFromMenu("Command1");
        QCOMPARE(textOf(jb, "Label7"), QStringLiteral("室内管径(mm):"));
        QCOMPARE(captionOf(jb, QStringLiteral("Frame2")), QStringLiteral("得到数据"));
        QVERIFY(shown(jb, "Label8"));
        clickOn(jb, "Command2");

        QWidget *bh = s.openFromMenu("Command9");
        QVERIFY(bh->minimumSize() != bh->maximumSize());
        for (QLabel *l : bh->findChildren<QLabel *>())
            QVERIFY2(!l->text().contains(QStringLiteral("Orvane")), qPrintable(l->objectName()));
        QCOMPARE(textOf(bh, "Label6"), QStringLiteral("根据实际情况在0.5~1之间"));
        QCOMPARE(captionOf(bh, QStringLiteral("Option9")), QStringLiteral("居住区\\站场内\\穿越铁路\\公路\\小河渠"));
    }
};

QTEST_MAIN(IndoorStrengthTest)
#include "tst_indoor_strength.moc"
