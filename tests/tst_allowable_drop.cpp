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
        QTest::addColumn<QString>("outlet");
        QTest::addColumn<QString>("meter");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        const QString notPositive = QStringLiteral("录入数据不能为0或小于0,嘿嘿");
        const QString outOfRange = QStringLiteral("录入数据超出计算范围,嘿嘿");
        QTest::newRow("worked case") << "2500" << "1500" << "400" << "2.5" << "";
        QTest::newRow("meter pressure above outlet") << "1500" << "2500" << "400" << "-2.5" << "";
        QTest::newRow("equal pressures") << "2000" << "2000" << "100" << "0" << "";
        QTest::newRow("trailing text is ignored") << "2500Pa" << " 1500" << "400m" << "2.5" << "";
        QTest::newRow("all empty") << "" << "" << "" << "" << notPositive;
        QTest::newRow("zero length") << "2500" << "1500" << "0" << "" << notPositive;
        QTest::newRow("negative outlet") << "-2500" << "1500" << "400" << "" << notPositive;
        QTest::newRow("text for a number") << "abc" << "1500" << "400" << "" << notPositive;
        QTest::newRow("outlet beyond the double range") << "1e400" << "1500" << "400" << "" << outOfRange;
        QTest::newRow("negative infinity is not positive") << "-1e400" << "1500" << "400" << "" << notPositive;
        QTest::newRow("quotient overflows") << "1e308" << "1" << "1e-10" << "" << outOfRange;
    }

    void calculation()
    {
        QFETCH(QString, outlet);
        QFETCH(QString, meter);
        QFETCH(QString, length);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *yl = s.openFromMenu("Command3");
        QCOMPARE(textOf(yl, "Label5"), QString());
        typeInto(yl, "Text1", outlet);
        typeInto(yl, "Text2", meter);
        typeInto(yl, "Text3", length);
        clickOn(yl, "Command1");
        QCOMPARE(textOf(yl, "Label5"), result);
        QCOMPARE(s.messages.take(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void rejectedClickKeepsThePreviousResult()
    {
        Session s;
        QWidget *yl = s.openFromMenu("Command3");
        typeInto(yl, "Text1", QStringLiteral("2500"));
        typeInto(yl, "Text2", QStringLiteral("1500"));
        typeInto(yl, "Text3", QStringLiteral("400"));
        clickOn(yl, "Command1");
        typeInto(yl, "Text3", QStringLiteral("0"));
        clickOn(yl, "Command1");
        QCOMPARE(s.messages.take(), QStringList{QStringLiteral("录入数据不能为0或小于0,嘿嘿")});
        QCOMPARE(textOf(yl, "Label5"), QStringLiteral("2.5"));

        clickOn(yl, "Command2");
        yl = s.openFromMenu("Command3");
        QCOMPARE(textOf(yl, "Label5"), QStringLiteral("2.5"));
        QCOMPARE(textOf(yl, "Label4"), QStringLiteral("允许单位压力降(Pa/m)："));
        QCOMPARE(textOf(yl, "Label6"), QStringLiteral("Orvane"));
    }
};

QTEST_MAIN(AllowableDropTest)
#include "tst_allowable_drop.moc"
