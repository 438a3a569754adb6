#include "gui_test.h"
#include "hs.h"
#include "message_box.h"
#include "pd.h"
#include "shell.h"

#include <QTest>

#include <cfloat>
#include <cmath>

namespace {

const QString kAbove630 = QStringLiteral("数据超出范围,计算管径已大于630,估计你数据错误,嘿嘿");
const QString kNotLaminar = QStringLiteral("本校验只适合层流,你的输入经计算不是层流,嘿嘿");

// The diameter, the Reynolds number and the flow state shown.
const QStringList kResults{"Label1", "Label7", "Label8"};

} // namespace

class LaminarCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void laminarDiameterWorksInDouble()
    {
        QCOMPARE(hs::LaminarDiameter(1, 1, 1, 273, 113), 100.0);
        QCOMPARE(float(hs::LaminarDiameter(2, 0.000015f, 0.7f, 288, 1)), 22.368244f);
        // 1e30 x 1.13e10 leaves the float range; the diameter must not.
        QVERIFY(std::isfinite(hs::LaminarDiameter(1e30f, 1, 1, 273, 1)));
        QCOMPARE(hs::LaminarDiameter(1e30f, 1, 1, 273, 1), std::sqrt(std::sqrt(double(1e30f) * 1.13e10)));
    }

    void selectStandardDiameter_data()
    {
        QTest::addColumn<float>("computed");
        QTest::addColumn<float>("selected");
        QTest::addColumn<bool>("message");
        QTest::newRow("below the smallest size") << 0.5f << 15.0f << false;
        QTest::newRow("exactly the smallest size") << 15.0f << 15.0f << false;
        QTest::newRow("just above the smallest size") << 15.0001f << 20.0f << false;
        QTest::newRow("between 150 and 219 there is no size") << 150.5f << 219.0f << false;
        QTest::newRow("just above 530") << 530.0001f << 630.0f << false;
        QTest::newRow("exactly the largest size") << 630.0f << 630.0f << false;
        QTest::newRow("just above the largest size stays as computed") << 630.0001f << 630.0001f << true;
        QTest::newRow("far above the largest size") << 1057.729f << 1057.729f << true;
    }

    void selectStandardDiameter()
    {
        QFETCH(float, computed);
        QFETCH(float, selected);
        QFETCH(bool, message);
        // Above the largest size there is no standard diameter: the caller keeps the computed one.
        const std::optional<float> standard = pd::SelectStandardDiameter(computed);
        QCOMPARE(standard.has_value(), !message);
        QCOMPARE(standard.value_or(computed), selected);
    }

    void everyStandardSizeStaysAndTheNextFloatMovesUp()
    {
        constexpr float sizes[]
            = {15, 20, 25, 32, 40, 50, 70, 80, 100, 125, 150, 219, 273, 325, 377, 426, 480, 530, 630};
        for (std::size_t i = 0; i < std::size(sizes); ++i) {
            QCOMPARE(pd::SelectStandardDiameter(sizes[i]), sizes[i]);
            QCOMPARE(pd::SelectStandardDiameter(std::nextafter(sizes[i], 0.0f)), sizes[i]);
            if (i + 1 < std::size(sizes))
                QCOMPARE(pd::SelectStandardDiameter(std::nextafter(sizes[i], FLT_MAX)), sizes[i + 1]);
        }
    }

    void calculation_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("laminar worked case") << QStringList{"1", "2", "0.000015", "0.7", "288"}
                                             << QStringList{"25", "1886.28244794114", "层流"} << QStringList();
        QTest::newRow("not laminar still shows diameter and Reynolds number")
            << QStringList{"1", "3", "0.000015", "0.7", "288"} << QStringList{"25", "2829.42367191171", ""}
            << QStringList{kNotLaminar};
        QTest::newRow("above 630 keeps the computed diameter, then not laminar")
            << QStringList{"0.0001", "1000", "0.000015", "0.7", "288"}
            << QStringList{"1057.729", "22291.6555300909", ""} << QStringList{kAbove630, kNotLaminar};
        QTest::newRow("exact standard size is not moved up")
            << QStringList{"113", "1", "1", "1", "273"} << QStringList{"100", "0.00353677950054307", "层流"}
            << QStringList();
        QTest::newRow("viscosity of the smallest float is positive")
            << QStringList{"1", "1", "1e-45", "1", "1"} << QStringList{"15", "1.68262012725328E+43", ""}
            << QStringList{kNotLaminar};
        // A refused click leaves the three labels empty.
        const auto refused = [](const char *name, const QStringList &inputs, const QString &message) {
            QTest::newRow(name) << inputs << QStringList(3, QString()) << QStringList{message};
        };
        refused("all empty", {"", "", "", "", ""}, kNotPositive);
        refused("letters for the temperature", {"1", "2", "0.000015", "0.7", "abc"}, kNotPositive);
        refused("negative unit drop", {"-1", "2", "0.000015", "0.7", "288"}, kNotPositive);
        refused("density rounding to zero in single precision", {"1", "2", "0.000015", "1e-50", "288"}, kNotPositive);
        refused("viscosity just under half the smallest float", {"1", "2", "1e-46", "0.7", "288"}, kNotPositive);
        refused("flow beyond the single-precision range", {"1", "1e39", "0.000015", "0.7", "288"}, kOutOfRange);
        refused("unit drop beyond the double range", {"1e400", "2", "0.000015", "0.7", "288"}, kOutOfRange);
        refused("negative infinity is not positive", {"1", "-1e400", "0.000015", "0.7", "288"}, kNotPositive);
        refused("diameter beyond the single-precision range, no 630 message", {"1e-45", "1e38", "1e38", "1e38", "1e38"},
                kOutOfRange);
    }

    void calculation()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, messages);
        Session s;
        QWidget *fxgj = s.openFromMenu("Command4");
        QCOMPARE(textsOf(fxgj, kResults), QStringList(3, QString()));
        typeFields(fxgj, inputs);
        QCOMPARE(s.calculate(fxgj), messages);
        QCOMPARE(textsOf(fxgj, kResults), shown);
    }

    void labelsAreWrittenAfterTheLastMessage()
    {
        Session s;
        QWidget *fxgj = s.openFromMenu("Command4");
        typeFields(fxgj, {"1", "2", "0.000015", "0.7", "288"});
        clickOn(fxgj, "Command1");
        QCOMPARE(textsOf(fxgj, kResults), (QStringList{"25", "1886.28244794114", "层流"}));

        QStringList seen;
        setMessageHandler([&](const QString &text) { seen << text << textsOf(fxgj, kResults).join(u'|'); });
        typeFields(fxgj, {"0.0001", "1000", "0.000015", "0.7", "288"});
        clickOn(fxgj, "Command1");
        const QString before = QStringLiteral("25|1886.28244794114|层流");
        setMessageHandler({});
        QCOMPARE(seen, (QStringList{kAbove630, before, kNotLaminar, before}));
        QCOMPARE(textsOf(fxgj, kResults), (QStringList{"1057.729", "22291.6555300909", ""}));
    }

    void rejectedClickAndLeavingKeepTheScreen()
    {
        Session s;
        QWidget *fxgj = s.openFromMenu("Command4");
        typeFields(fxgj, {"1", "2", "0.000015", "0.7", "288"});
        clickOn(fxgj, "Command1");
        typeInto(fxgj, "Text4", QStringLiteral("1e-50"));
        QCOMPARE(s.calculate(fxgj), QStringList{kNotPositive});
        QCOMPARE(textsOf(fxgj, kResults), (QStringList{"25", "1886.28244794114", "层流"}));

        chooseMenuItem(fxgj, QStringLiteral("低压管段水力计算"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("xd"));
        clickOn(s.shell->screen(QStringLiteral("xd")), "Command4");
        QCOMPARE(s.openFromMenu("Command4"), fxgj);
        QCOMPARE(textsOf(fxgj, kResults), (QStringList{"25", "1886.28244794114", "层流"}));
        QCOMPARE(boxText(fxgj, "Text4"), QStringLiteral("1e-50"));
    }

    void screenTexts()
    {
        Session s;
        QWidget *fxgj = s.openFromMenu("Command4");
        QCOMPARE(textsOf(fxgj, {"Label12", "Label15", "Label11", "Label13"}),
                 (QStringList{"    适合于低压燃气管道（层流状态）。无论预选还是最后选定管径都同样实用。一般用于效验",
                              "(Nm^3/h)", "管径(mm)：", "Orvane"}));
    }
};

QTEST_MAIN(LaminarCheckTest)
#include "tst_laminar_check.moc"
