#include "gui_test.h"
#include "shell.h"

#include <QLineEdit>
#include <QTest>

namespace {

const QString kNotHouseholds = QStringLiteral("录入数据应为1~200的整数,嘿嘿");

} // namespace

class FlowScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void nonUniformityFlow_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("a year of hourly quota per resident") << QStringList{"1000", "1", "8760", "1"} << "3960" << "";
        QTest::newRow("heating value divides last") << QStringList{"100", "1", "8760", "3.96"} << "100" << "";
        QTest::newRow("rate as a fraction") << QStringList{"10000", "0.9", "2930000", "35000"} << "340.590998043053"
                                            << "";
        QTest::newRow("rate typed as a percentage is taken as typed")
            << QStringList{"10000", "90", "2930000", "35000"} << "34059.0998043053" << "";
        QTest::newRow("all empty") << QStringList{"", "", "", ""} << "" << kNotPositive;
        QTest::newRow("zero rate") << QStringList{"1000", "0", "8760", "1"} << "" << kNotPositive;
        QTest::newRow("negative quota") << QStringList{"1000", "1", "-8760", "1"} << "" << kNotPositive;
        QTest::newRow("letters for the heating value") << QStringList{"1000", "1", "8760", "kJ"} << "" << kNotPositive;
        QTest::newRow("residents beyond the double range")
            << QStringList{"1e400", "1", "8760", "1"} << "" << kOutOfRange;
        QTest::newRow("product beyond the double range")
            << QStringList{"1e300", "1e10", "8760", "1"} << "" << kOutOfRange;
    }

    void nonUniformityFlow()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *ll = s.openFromMenu("Command2");
        QCOMPARE(textOf(ll, "Label6"), QString());
        const char *boxes[] = {"Text1", "Text2", "Text3", "Text4"};
        for (int i = 0; i < 4; ++i)
            typeInto(ll, boxes[i], inputs.value(i));
        clickOn(ll, "Command1");
        QCOMPARE(textOf(ll, "Label6"), result);
        QCOMPARE(s.messages.take(), messageList(message));
    }

    void simultaneityFlow_data()
    {
        QTest::addColumn<QString>("households");
        QTest::addColumn<QString>("ratedFlow");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("one household") << "1" << "1.5" << "1.5" << "";
        QTest::newRow("two households") << "2" << "1" << "1.12" << "";
        QTest::newRow("2.0 is two") << "2.0" << "1" << "1.12" << "";
        QTest::newRow("nine, the last exact count") << "9" << "2" << "4.68" << "";
        QTest::newRow("ten opens the first range") << "10" << "2" << "5" << "";
        QTest::newRow("fraction within the first range") << "12.5" << "1" << "3.125" << "";
        QTest::newRow("14.99 still in the first range") << "14.99" << "1" << "3.7475" << "";
        QTest::newRow("15 opens the next range") << "15" << "1" << "3.3" << "";
        QTest::newRow("100 opens the last range") << "100" << "1" << "17" << "";
        QTest::newRow("150") << "150" << "1.5" << "38.25" << "";
        QTest::newRow("199.9 in the last range") << "199.9" << "1" << "33.983" << "";
        QTest::newRow("exactly 200") << "200" << "2" << "64" << "";
        QTest::newRow("200.5") << "200.5" << "1" << "" << kNotHouseholds;
        QTest::newRow("above 200") << "201" << "1" << "" << kNotHouseholds;
        QTest::newRow("half a household") << "0.5" << "1" << "" << kNotHouseholds;
        QTest::newRow("zero households") << "0" << "1" << "" << kNotHouseholds;
        QTest::newRow("negative households") << "-2" << "1" << "" << kNotHouseholds;
        QTest::newRow("empty households") << "" << "1" << "" << kNotHouseholds;
        QTest::newRow("fraction below ten") << "2.5" << "1" << "" << kNotHouseholds;
        QTest::newRow("fraction just above nine") << "9.5" << "1" << "" << kNotHouseholds;
        QTest::newRow("almost two") << "2.0000001" << "1" << "" << kNotHouseholds;
        QTest::newRow("households beyond the double range") << "1e400" << "1" << "" << kNotHouseholds;
        QTest::newRow("households are checked before the rated flow") << "300" << "" << "" << kNotHouseholds;
        QTest::newRow("empty rated flow") << "5" << "" << "" << kNotPositive;
        QTest::newRow("zero rated flow") << "5" << "0" << "" << kNotPositive;
        QTest::newRow("negative rated flow") << "5" << "-1.5" << "" << kNotPositive;
        QTest::newRow("rated flow beyond the double range") << "5" << "1e400" << "" << kOutOfRange;
        QTest::newRow("product beyond the double range") << "200" << "1e308" << "" << kOutOfRange;
    }

    void simultaneityFlow()
    {
        QFETCH(QString, households);
        QFETCH(QString, ratedFlow);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *lll = s.openFromMenu("Command7");
        QCOMPARE(textOf(lll, "Label4"), QString());
        typeInto(lll, "Text1", households);
        typeInto(lll, "Text2", ratedFlow);
        clickOn(lll, "Command1");
        QCOMPARE(textOf(lll, "Label4"), result);
        QCOMPARE(s.messages.take(), messageList(message));
    }

    void rejectedClicksAndCrossLinksKeepBothScreens()
    {
        Session s;
        QWidget *ll = s.openFromMenu("Command2");
        const char *boxes[] = {"Text1", "Text2", "Text3", "Text4"};
        const QStringList inputs{"1000", "1", "8760", "1"};
        for (int i = 0; i < 4; ++i)
            typeInto(ll, boxes[i], inputs[i]);
        clickOn(ll, "Command1");
        typeInto(ll, "Text2", QStringLiteral("0"));
        clickOn(ll, "Command1");
        QCOMPARE(s.messages.take(), QStringList{kNotPositive});
        QCOMPARE(textOf(ll, "Label6"), QStringLiteral("3960"));

        chooseMenuItem(ll, QStringLiteral("同时工作系数法"));
        QWidget *lll = s.shell->screen(QStringLiteral("lll"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("lll"));
        typeInto(lll, "Text1", QStringLiteral("200"));
        typeInto(lll, "Text2", QStringLiteral("2"));
        clickOn(lll, "Command1");
        typeInto(lll, "Text2", QString());
        clickOn(lll, "Command1");
        typeInto(lll, "Text1", QStringLiteral("2.5"));
        clickOn(lll, "Command1");
        QCOMPARE(s.messages.take(), (QStringList{kNotPositive, kNotHouseholds}));
        QCOMPARE(textOf(lll, "Label4"), QStringLiteral("64"));

        chooseMenuItem(lll, QStringLiteral("不均匀系数法"));
        QCOMPARE(s.visibleScreens(), QStringLiteral("ll"));
        QCOMPARE(textOf(ll, "Label6"), QStringLiteral("3960"));
        QCOMPARE(ll->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("0"));
        clickOn(ll, "Command2");
        QCOMPARE(s.openFromMenu("Command7"), lll);
        QCOMPARE(textOf(lll, "Label4"), QStringLiteral("64"));
        QCOMPARE(lll->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("2.5"));
    }

    void captionsSayWhatIsTypedAndShown_data()
    {
        QTest::addColumn<QString>("menuButton");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("rate is a fraction") << "Command2" << "Label2" << "气化率(0~1):";
        QTest::newRow("flow is per hour") << "Command2" << "Label5" << "计算流量(Nm^3/h)：";
        QTest::newRow("coefficients in the note") << "Command2" << "Label8" << "取k1=1.2 k2=1.1 k3=3.0";
        QTest::newRow("design flow") << "Command7" << "Label3" << "计算流量(Nm^3/h):";
    }

    void captionsSayWhatIsTypedAndShown()
    {
        QFETCH(QString, menuButton);
        QFETCH(QString, control);
        QFETCH(QString, text);
        Session s;
        QWidget *screen = s.openFromMenu(qPrintable(menuButton));
        QCOMPARE(textOf(screen, qPrintable(control)), text);
    }

    void tabOrderFollowsTheFields()
    {
        Session s;
        QWidget *ll = s.openFromMenu("Command2");
        QCOMPARE(tabOrder(ll, "Text1"), (QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2"}));
        clickOn(ll, "Command2");
        QWidget *lll = s.openFromMenu("Command7");
        QCOMPARE(tabOrder(lll, "Text1"), (QStringList{"Text1", "Text2", "Command1", "Command2"}));
    }
};

QTEST_MAIN(FlowScreensTest)
#include "tst_flow_screens.moc"
