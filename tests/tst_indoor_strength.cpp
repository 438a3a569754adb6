#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

QStringList expectedMessages(const QString &message)
{
    return message.isEmpty() ? QStringList() : QStringList{message};
}

bool selected(QWidget *screen, const char *option)
{
    auto *o = screen->findChild<QRadioButton *>(QString::fromUtf8(option));
    return o && o->isChecked();
}

} // namespace

class IndoorStrengthTest : public QObject
{
    Q_OBJECT

private slots:
    void additionalHead_data()
    {
        QTest::addColumn<QString>("density");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("gas lighter than air gains head") << "0.7" << "10" << "58.1733" << "";
        QTest::newRow("gas denser than air gives a negative head") << "2" << "10" << "-69.3567" << "";
        QTest::newRow("gas as dense as air gives no head") << "1.293" << "5" << "0" << "";
        QTest::newRow("letters after the density are ignored") << "0.7kg" << "10" << "58.1733" << "";
        QTest::newRow("downward run is refused") << "0.7" << "-10" << "" << kNotPositive;
        QTest::newRow("empty height difference") << "0.7" << "" << "" << kNotPositive;
        QTest::newRow("zero density") << "0" << "10" << "" << kNotPositive;
        QTest::newRow("density beyond the double range") << "1e400" << "10" << "" << kOutOfRange;
        QTest::newRow("head overflows") << "0.7" << "1e308" << "" << kOutOfRange;
    }

    void additionalHead()
    {
        QFETCH(QString, density);
        QFETCH(QString, height);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *yt = s.openFromMenu("Command8");
        QCOMPARE(yt->objectName(), QStringLiteral("yt"));
        typeInto(yt, "Text1", density);
        typeInto(yt, "Text2", height);
        clickOn(yt, "Command1");
        QCOMPARE(textOf(yt, "Label4"), result);
        QCOMPARE(s.messages.take(), expectedMessages(message));
    }

    void indoorLocalLoss_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("worked case with pi as 3.14159")
            << QStringList{"10", "0.75", "288", "2", "20"} << "61.8567489665689" << "";
        QTest::newRow("very small loss in exponent form")
            << QStringList{"1", "1", "273", "1", "1000"} << "6.25440461773085E-08" << "";
        QTest::newRow("temperature typed in degrees Celsius as 0")
            << QStringList{"10", "0.75", "0", "2", "20"} << "" << kNotPositive;
        QTest::newRow("empty diameter") << QStringList{"10", "0.75", "288", "2", ""} << "" << kNotPositive;
        QTest::newRow("negative resistance coefficient")
            << QStringList{"10", "0.75", "288", "-2", "20"} << "" << kNotPositive;
        QTest::newRow("text for the flow") << QStringList{"abc", "0.75", "288", "2", "20"} << "" << kNotPositive;
        QTest::newRow("flow beyond the double range")
            << QStringList{"1e400", "0.75", "288", "2", "20"} << "" << kOutOfRange;
        QTest::newRow("squared flow overflows")
            << QStringList{"1e160", "0.75", "288", "2", "20"} << "" << kOutOfRange;
    }

    void indoorLocalLoss()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *jb = s.openFromMenu("Command1");
        QCOMPARE(jb->objectName(), QStringLiteral("jb"));
        const char *fields[] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
        for (int i = 0; i < 5; ++i)
            typeInto(jb, fields[i], inputs.at(i));
        clickOn(jb, "Command1");
        QCOMPARE(textOf(jb, "Label6"), result);
        QCOMPARE(s.messages.take(), expectedMessages(message));
    }

    void wallThickness_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        const QStringList worked{"500", "4", "1"};
        QTest::newRow("defaults: seamless, steel 20, gas line, residential")
            << worked << QStringList() << "9.16326530612245" << "";
        QTest::newRow("spiral arc-welded 16Mn oil line in open country")
            << worked << QStringList{"Option3", "Option6", "Option8", "Option10"} << "5.37169936697793" << "";
        QTest::newRow("A3F gas line in open country")
            << QStringList{"200", "1.6", "0.5"} << QStringList{"Option5", "Option10"} << "1.63475177304965" << "";
        QTest::newRow("straight-seam pipe has the seamless coefficient")
            << worked << QStringList{"Option2"} << "9.16326530612245" << "";
        QTest::newRow("gas line in open country") << worked << QStringList{"Option10"} << "7.80272108843537" << "";
        QTest::newRow("oil line in a residential area has the same factor")
            << worked << QStringList{"Option8"} << "7.80272108843537" << "";
        QTest::newRow("oil line in open country")
            << worked << QStringList{"Option8", "Option10"} << "6.66893424036281" << "";
        QTest::newRow("all fields empty are refused")
            << QStringList{"", "", ""} << QStringList() << "" << kNotPositive;
        QTest::newRow("negative design pressure is refused")
            << QStringList{"300", "-1", "0.5"} << QStringList() << "" << kNotPositive;
        QTest::newRow("zero corrosion allowance is refused")
            << QStringList{"500", "4", "0"} << QStringList() << "" << kNotPositive;
        QTest::newRow("diameter beyond the double range")
            << QStringList{"1e400", "4", "1"} << QStringList() << "" << kOutOfRange;
        QTest::newRow("diameter times pressure overflows")
            << QStringList{"1e308", "10", "1"} << QStringList() << "" << kOutOfRange;
    }

    void wallThickness()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, options);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Session s;
        QWidget *bh = s.openFromMenu("Command9");
        QCOMPARE(bh->objectName(), QStringLiteral("bh"));
        typeInto(bh, "Text1", inputs.at(0));
        typeInto(bh, "Text2", inputs.at(1));
        typeInto(bh, "Text3", inputs.at(2));
        for (const QString &option : options)
            clickOn(bh, option.toUtf8().constData());
        clickOn(bh, "Command1");
        QCOMPARE(textOf(bh, "Label4"), result);
        QCOMPARE(s.messages.take(), expectedMessages(message));
    }

    void rejectedClicksKeepThePreviousResult()
    {
        Session s;
        QWidget *yt = s.openFromMenu("Command8");
        typeInto(yt, "Text1", QStringLiteral("0.7"));
        typeInto(yt, "Text2", QStringLiteral("10"));
        clickOn(yt, "Command1");
        typeInto(yt, "Text2", QStringLiteral("-10"));
        clickOn(yt, "Command1");
        typeInto(yt, "Text2", QStringLiteral("1e308"));
        clickOn(yt, "Command1");
        QCOMPARE(s.messages.take(), (QStringList{kNotPositive, kOutOfRange}));
        QCOMPARE(textOf(yt, "Label4"), QStringLiteral("58.1733"));
        clickOn(yt, "Command2");

        QWidget *jb = s.openFromMenu("Command1");
        const char *fields[] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
        const char *values[] = {"10", "0.75", "288", "2", "20"};
        for (int i = 0; i < 5; ++i)
            typeInto(jb, fields[i], QString::fromUtf8(values[i]));
        clickOn(jb, "Command1");
        typeInto(jb, "Text5", QString());
        clickOn(jb, "Command1");
        QCOMPARE(s.messages.take(), QStringList{kNotPositive});
        QCOMPARE(textOf(jb, "Label6"), QStringLiteral("61.8567489665689"));
        clickOn(jb, "Command2");

        QWidget *bh = s.openFromMenu("Command9");
        typeInto(bh, "Text1", QStringLiteral("500"));
        typeInto(bh, "Text2", QStringLiteral("4"));
        typeInto(bh, "Text3", QStringLiteral("1"));
        clickOn(bh, "Command1");
        typeInto(bh, "Text2", QStringLiteral("-4"));
        clickOn(bh, "Command1");
        QCOMPARE(s.messages.take(), QStringList{kNotPositive});
        QCOMPARE(textOf(bh, "Label4"), QStringLiteral("9.16326530612245"));
    }

    void seamlessAndStraightSeamPipesGiveTheSameThickness()
    {
        Session s;
        QWidget *bh = s.openFromMenu("Command9");
        typeInto(bh, "Text1", QStringLiteral("500"));
        typeInto(bh, "Text2", QStringLiteral("4"));
        typeInto(bh, "Text3", QStringLiteral("1"));
        QStringList results;
        for (const char *weld : {"Option1", "Option2", "Option3"}) {
            clickOn(bh, weld);
            clickOn(bh, "Command1");
            results << textOf(bh, "Label4");
        }
        QCOMPARE(results, (QStringList{"9.16326530612245", "9.16326530612245", "10.0702947845805"}));
    }

    void wallThicknessDefaultsAreSetOnceAndSelectionsStay()
    {
        Session s;
        QWidget *bh = s.openFromMenu("Command9");
        QStringList defaults;
        for (int i = 1; i <= 10; ++i) {
            const QString name = QStringLiteral("Option%1").arg(i);
            if (selected(bh, name.toUtf8().constData()))
                defaults << name;
        }
        QCOMPARE(defaults, (QStringList{"Option1", "Option4", "Option7", "Option9"}));
        for (const char *text : {"Text1", "Text2", "Text3"})
            QCOMPARE(bh->findChild<QLineEdit *>(QString::fromUtf8(text))->text(), QString());
        QCOMPARE(textOf(bh, "Label4"), QString());

        for (const char *option : {"Option3", "Option5", "Option8", "Option10"})
            clickOn(bh, option);
        typeInto(bh, "Text1", QStringLiteral("500"));
        clickOn(bh, "Command2");
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));

        QCOMPARE(s.openFromMenu("Command9"), bh);
        QStringList kept;
        for (int i = 1; i <= 10; ++i) {
            const QString name = QStringLiteral("Option%1").arg(i);
            if (selected(bh, name.toUtf8().constData()))
                kept << name;
        }
        QCOMPARE(kept, (QStringList{"Option3", "Option5", "Option8", "Option10"}));
        QCOMPARE(bh->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("500"));
    }

    void screensCarryTheirCaptionsAndBanners()
    {
        Session s;
        QWidget *yt = s.openFromMenu("Command8");
        QCOMPARE(yt->windowTitle(), QStringLiteral("附加压头计算"));
        QCOMPARE(textOf(yt, "Label1"), QStringLiteral("燃气密度(KG/Nm^3):"));
        QCOMPARE(textOf(yt, "Label3"), QStringLiteral("附加压头(Pa):"));
        QCOMPARE(textOf(yt, "Label5"), QStringLiteral("Orvane"));
        QCOMPARE(tabOrder(yt, "Text1"), (QStringList{"Text1", "Text2", "Command1", "Command2"}));
        clickOn(yt, "Command2");

        QWidget *jb = s.openFromMenu("Command1");
        QCOMPARE(jb->windowTitle(), QStringLiteral("室内局部压力计算"));
        QCOMPARE(textOf(jb, "Label7"), QStringLiteral("室内管径(mm):"));
        QCOMPARE(jb->findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(), QStringLiteral("得到数据"));
        QVERIFY(shown(jb, "Label8"));
        QCOMPARE(tabOrder(jb, "Text1"),
                 (QStringList{"Text1", "Text2", "Text3", "Text4", "Text5", "Command1", "Command2"}));
        clickOn(jb, "Command2");

        QWidget *bh = s.openFromMenu("Command9");
        QCOMPARE(bh->windowTitle(), QStringLiteral("Form1"));
        QVERIFY(bh->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(bh->windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(bh->minimumSize() != bh->maximumSize());
        for (QLabel *l : bh->findChildren<QLabel *>())
            QVERIFY2(!l->text().contains(QStringLiteral("Orvane")), qPrintable(l->objectName()));
        QCOMPARE(textOf(bh, "Label6"), QStringLiteral("根据实际情况在0.5~1之间"));
        QCOMPARE(bh->findChild<QRadioButton *>(QStringLiteral("Option9"))->text(),
                 QStringLiteral("居住区\\站场内\\穿越铁路\\公路\\小河渠"));
        // Tab enters each option group at its selected button.
        QCOMPARE(tabOrder(bh, "Text1"), (QStringList{"Text1", "Text2", "Text3", "Option1", "Option4", "Option7",
                                                     "Option9", "Command1", "Command2"}));
    }
};

QTEST_MAIN(IndoorStrengthTest)
#include "tst_indoor_strength.moc"
