#include "gui_test.h"

#include <QLayout>
#include <QTest>

namespace {

// The labels of a table row, k from 0: diameter, Reynolds number, flow state, unit drop.
QStringList tableRow(int k)
{
    QStringList labels;
    for (int column : {1, 21, 41, 61})
        labels << QStringLiteral("Label%1").arg(k + column);
    return labels;
}

// All 76 table texts, row by row.
QStringList tableTexts(QWidget *xd)
{
    QStringList texts;
    for (int k = 0; k < 19; ++k)
        texts << textsOf(xd, tableRow(k));
    return texts;
}

// The worked gas (viscosity 1.5E-5, 288 K, density 0.72) at the flow Q, as steps.
QStringList gas(const QString &Q)
{
    return {"Text2=" + Q, "Text3=1.5E-5", "Text4=288", "Text5=0.72"};
}

// Ticks the check box when it is clear, then picks a mode with its value.
void chooseMode(QWidget *xd, const char *option, const char *field, const QString &value)
{
    if (!checked(xd, "Check1"))
        clickOn(xd, "Check1");
    clickOn(xd, option);
    typeInto(xd, field, value);
}

double numberOf(QWidget *xd, const char *label)
{
    return textOf(xd, label).toDouble();
}

// The result labels of the two modes: a given diameter's with their headers, and the pre-selection's.
const QStringList kResults{"Label87", "Label94", "Label95", "Label97", "Label98", "Label99", "Label86", "Label96"};
const QString kGivenResults = QStringLiteral("Label87 Label94 Label95 Label97 Label98 Label99");
const QString kPreselectResults = QStringLiteral("Label86 Label96");

const QStringList kModeControls{"Option4", "Option5", "Text1", "Text6"};

} // namespace

class LowPressureScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheBannerOverAnEmptyTable()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        QVERIFY(shown(xd, "Frame7"));
        auto *banner = xd->findChild<QLabel *>(QStringLiteral("Label88"));
        QVERIFY(banner->isVisibleTo(xd));
        QCOMPARE(banner->text().remove(QLatin1Char('\n')), QStringLiteral("Orvane"));
        QCOMPARE(banner->font().pointSize(), 15);
        QCOMPARE(tableTexts(xd), QStringList(76, QString()));

        QVERIFY(checked(xd, "Option1"));
        QVERIFY(!checked(xd, "Option2") && !checked(xd, "Option3"));
        QVERIFY(!checked(xd, "Check1"));
        for (const QString &control : kModeControls)
            QVERIFY2(!enabled(xd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
        QCOMPARE(shownOf(xd, kResults), QStringLiteral("Label87 Label94 Label95 Label86 Label96"));
        QCOMPARE(textsOf(xd, {"Label87", "Label94", "Label95", "Label86", "Label96"}), QStringList(5, QString()));
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QCOMPARE(boxText(xd, box), QString());
    }

    void everyControlCarriesItsCaption()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        const QStringList captions = QStringList{"Frame2=录入数据",    "Label81=计算流量：", "Label89=(Nm^3/h)",
                                                 "Label82=燃气粘度：", "Label91=(m^2/s)",    "Label83=燃气密度：",
                                                 "Label90=(kg/Nm^3)",  "Label84=燃气温度：", "Label92=(K)"}
            + QStringList{"Frame1=选择管材", "Option1=钢管", "Option2=铸铁管", "Option3=塑料管", "Option4=", "Option5="}
            + QStringList{"Check1=预选管径和根据管径求压力降", "Frame4=录入最不利环路计算压力降"}
            + QStringList{"Label85=允许单位压力降(Pa/m)：", "Label93=录入管径(mm):"}
            + QStringList{"Command1=计算",  "Command4=返回", "Frame6=得出结果",
                          "Label97=雷诺数", "Label98=流态",  "Label99=计算压力降(Pa/m)"}
            + QStringList{"Frame3=数据区", "Label20=管径(mm)",           "Label40=雷诺数",
                          "Label60=流态",  "Label80=计算单位压降(Pa/m)", "Frame7="};
        for (const QString &caption : captions) {
            const QString control = caption.section(u'=', 0, 0);
            QCOMPARE(control + u'=' + captionOf(xd, control), caption);
        }
    }

    void tabVisitsTheModeFieldAfterTheCheckBox()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, {"Check1", "Option5"});
        QCOMPARE(tabOrder(xd, "Text2"),
                 (QStringList{"Text2", "Text3", "Text5", "Text4", "Option1", "Check1", "Option5", "Text6", "Command1",
                              "Command4"}));
    }

    void tableOfTheWorkedCase()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        const QSize size = xd->size();
        perform(xd, kLowPressureCase);
        QCOMPARE(s.calculate(xd), QStringList());
        QVERIFY(!shown(xd, "Frame7"));
        QVERIFY(!shown(xd, "Label88"));
        for (int k = 0; k < 19; ++k)
            QCOMPARE(textsOf(xd, tableRow(k)), kLowPressureTable[k]);
        // The table is the whole result without a mode.
        QCOMPARE(textsOf(xd, {"Label87", "Label94", "Label95", "Label86", "Label96"}), QStringList(5, QString()));

        // No number is clipped, and the fixed window keeps its size through both modes.
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        chooseMode(xd, "Option4", "Text1", QStringLiteral("2"));
        clickOn(xd, "Command1");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(xd->size(), size);
        QStringList labels{"Label87", "Label95"};
        for (int k = 0; k < 19; ++k)
            labels << tableRow(k);
        for (const QString &name : labels) {
            auto *l = xd->findChild<QLabel *>(name);
            QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), qPrintable(name));
        }
    }

    void criticalZoneBoundsShowAsCritical_data()
    {
        QTest::addColumn<QString>("Q");
        QTest::addColumn<QString>("reynolds");
        addTextRow("Reynolds number exactly 2100", {"8.90640765", "2100"});
        addTextRow("Reynolds number exactly 3500", {"14.84401275", "3500"});
    }

    void criticalZoneBoundsShowAsCritical()
    {
        QFETCH(QString, Q);
        QFETCH(QString, reynolds);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas(Q) + QStringList{"Check1", "Option5", "Text6=100", "Command1"});
        QCOMPARE(textsOf(xd, {"Label29", "Label49"}), (QStringList{reynolds, "临界"}));
        QCOMPARE(textsOf(xd, {"Label87", "Label94"}), (QStringList{reynolds, "临界"}));
        QCOMPARE(textOf(xd, "Label95"), textOf(xd, "Label69"));
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("material");
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<QString>("selected");
        addTextRow("steel, nearest drop is below the allowance", {"Option1", "2", "100"});
        addTextRow("cast iron, nearest drop is above the allowance", {"Option2", "2", "100"});
        addTextRow("plastic", {"Option3", "2", "100"});
        addTextRow("allowance above every drop picks 15 mm", {"Option1", "1000000", "15"});
        addTextRow("allowance below every drop picks 630 mm", {"Option1", "0.000000001", "630"});
        addTextRow("allowance so large that nothing qualifies", {"Option1", "1E17", ""});
    }

    void preselection()
    {
        QFETCH(QString, material);
        QFETCH(QString, allowance);
        QFETCH(QString, selected);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100") + QStringList{material, "Check1", "Option4", "Text1=" + allowance});
        QCOMPARE(s.calculate(xd), QStringList());
        QCOMPARE(textsOf(xd, {"Label86", "Label96"}), (QStringList{selected, "预选管径(mm):"}));
        QCOMPARE(shownOf(xd, kResults), kPreselectResults);
        for (int k = 0; k < 19; ++k)
            QCOMPARE(textOf(xd, qPrintable(tableRow(k)[2])), QStringLiteral("紊流"));
    }

    void materialsOrderTheTurbulentDrops()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100"));
        QList<double> drops;
        for (const char *material : {"Option1", "Option2", "Option3"}) {
            perform(xd, {material, "Command1"});
            drops << numberOf(xd, "Label69");
        }
        QCOMPARE(qRound(drops[0] * 1E5), 130829);
        QCOMPARE(qRound(drops[1] * 1E5), 264291);
        QCOMPARE(qRound(drops[2] * 1E5), 122483);
        QCOMPARE(textOf(xd, "Label29").left(8), QStringLiteral("23578.53"));
    }

    void givenDiameter_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("state");
        QTest::addColumn<double>("reynolds");
        QTest::addColumn<double>("drop");
        QTest::newRow("diameter of the series") << "100"
                                                << "紊流" << 23578.53 << 1.30829;
        QTest::newRow("diameter between the sizes") << "90"
                                                    << "紊流" << 26198.37 << 2.18988;
        QTest::newRow("large diameter with trailing unit in laminar flow") << "2000mm"
                                                                           << "层流" << 1178.9265 << 8.046593E-7;
    }

    void givenDiameter()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, state);
        QFETCH(double, reynolds);
        QFETCH(double, drop);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100") + QStringList{"Check1", "Option5", "Text6=" + diameter});
        QCOMPARE(s.calculate(xd), QStringList());
        QCOMPARE(textOf(xd, "Label94"), state);
        QVERIFY2(qAbs(numberOf(xd, "Label87") - reynolds) < 0.005, qPrintable(textOf(xd, "Label87")));
        QVERIFY2(qAbs(numberOf(xd, "Label95") - drop) < 5E-6 * drop, qPrintable(textOf(xd, "Label95")));
        QCOMPARE(shownOf(xd, kResults), kGivenResults);
        if (diameter == QLatin1String("100"))
            QCOMPARE(textsOf(xd, {"Label87", "Label94", "Label95"}), textsOf(xd, {"Label29", "Label49", "Label69"}));
    }

    void rejectedGasDataLeaveTheTableUntouched_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        for (const char *field : {"Text2", "Text3", "Text4", "Text5"}) {
            QTest::addRow("text instead of a number in %s", field) << field << "abc" << kNotPositive;
            QTest::addRow("zero in %s", field) << field << "0" << kNotPositive;
            QTest::addRow("negative in %s", field) << field << "-1" << kNotPositive;
            QTest::addRow("empty %s", field) << field << "" << kNotPositive;
            QTest::addRow("beyond the double range in %s", field) << field << "1e400" << kOutOfRange;
            QTest::addRow("minus beyond the double range in %s", field) << field << "-1e400" << kNotPositive;
        }
        addTextRow("flow so large that the drop overflows", {"Text2", "1e300", kOutOfRange});
        addTextRow("viscosity so small that the Reynolds number overflows", {"Text3", "1e-310", kOutOfRange});
    }

    void rejectedGasDataLeaveTheTableUntouched()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, kLowPressureCase + QStringList{"Check1", "Option5", "Text6=90", "Command1"});
        const QStringList table = tableTexts(xd);
        const QString reynolds = textOf(xd, "Label87");
        QCOMPARE(table[1], QStringLiteral("15719.0200024137"));

        typeInto(xd, field.toLatin1().constData(), text);
        QCOMPARE(s.calculate(xd), QStringList{message});
        QCOMPARE(tableTexts(xd), table);
        QCOMPARE(textOf(xd, "Label87"), reynolds);
    }

    void firstPressHidesTheBannerForGoodEvenWhenRejected()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        QCOMPARE(s.calculate(xd), QStringList{kNotPositive});
        QVERIFY(!shown(xd, "Frame7"));
        QVERIFY(!shown(xd, "Label88"));
        QCOMPARE(tableTexts(xd), QStringList(76, QString()));

        clickOn(xd, "Command4");
        xd = s.openFromMenu("Command5");
        QVERIFY(!shown(xd, "Frame7"));
    }

    void rejectedModeValueKeepsTheTableAndThatModesResults_data()
    {
        // The mode and its rejected value; the other mode is calculated in between.
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero allowance") << QStringList{"Option4", "Text1=0"} << kNotPositive;
        QTest::newRow("text for an allowance") << QStringList{"Option4", "Text1=abc"} << kNotPositive;
        QTest::newRow("allowance beyond the double range") << QStringList{"Option4", "Text1=1e999"} << kOutOfRange;
        QTest::newRow("zero diameter") << QStringList{"Option5", "Text6=0"} << kNotPositive;
        QTest::newRow("negative diameter") << QStringList{"Option5", "Text6=-90"} << kNotPositive;
        QTest::newRow("diameter beyond the double range") << QStringList{"Option5", "Text6=1e400"} << kOutOfRange;
        QTest::newRow("diameter so small that the drop overflows")
            << QStringList{"Option5", "Text6=1e-300"} << kOutOfRange;
    }

    void rejectedModeValueKeepsTheTableAndThatModesResults()
    {
        QFETCH(QStringList, mode);
        QFETCH(QString, message);
        const bool preselect = mode.first() == QLatin1String("Option4");
        const QStringList results = preselect ? QStringList{"Label86"} : QStringList{"Label87", "Label94", "Label95"};
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100") + QStringList{"Check1", "Option4", "Text1=2", "Command1"});
        QCOMPARE(textOf(xd, "Label86"), QStringLiteral("100"));
        perform(xd, {"Option5", "Text6=90", "Command1"});
        const QStringList before = textsOf(xd, results);

        // The other mode shows its labels last before the rejected mode is chosen again.
        if (!preselect)
            perform(xd, {"Option4", "Command1"});
        perform(xd, mode + QStringList{"Text2=10"});
        QCOMPARE(s.calculate(xd), QStringList{message});
        QCOMPARE(textOf(xd, "Label21"), QStringLiteral("15719.0200024137"));
        QCOMPARE(textsOf(xd, results), before);
        QCOMPARE(shownOf(xd, kResults), preselect ? kPreselectResults : kGivenResults);
    }

    void modeOptionsEnableOnlyTheirOwnField()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        clickOn(xd, "Check1");
        for (const QString &control : kModeControls)
            QVERIFY2(enabled(xd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
        clickOn(xd, "Option4");
        QVERIFY(enabled(xd, "Text1") && !enabled(xd, "Text6"));
        clickOn(xd, "Option5");
        QVERIFY(!enabled(xd, "Text1") && enabled(xd, "Text6"));
        QVERIFY(!checked(xd, "Option4"));
        // The material options are a group of their own.
        QVERIFY(checked(xd, "Option1"));
    }

    void clearingTheCheckBoxLeavesOnlyTheTable()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100") + QStringList{"Check1", "Option4", "Text1=2", "Option5", "Text6=90", "Command1"});
        const QString reynolds = textOf(xd, "Label87");

        clickOn(xd, "Check1");
        QVERIFY(!checked(xd, "Check1"));
        QCOMPARE(shownOf(xd, kResults), QString());
        for (const QString &control : kModeControls)
            QVERIFY2(!enabled(xd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
        QCOMPARE(boxText(xd, "Text1"), QStringLiteral("2"));
        QCOMPARE(boxText(xd, "Text6"), QStringLiteral("90"));

        typeInto(xd, "Text2", QStringLiteral("10"));
        QCOMPARE(s.calculate(xd), QStringList());
        QCOMPARE(textOf(xd, "Label21"), QStringLiteral("15719.0200024137"));
        QCOMPARE(textOf(xd, "Label87"), reynolds);
        QVERIFY(!shown(xd, "Label87"));

        clickOn(xd, "Check1");
        QVERIFY(enabled(xd, "Option4") && enabled(xd, "Text6"));
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
    }

    void everythingStaysAfterAVisitToTheMainMenu()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        perform(xd, gas("100") + QStringList{"Option2", "Check1", "Option5", "Text6=90", "Command1"});
        const QStringList table = tableTexts(xd);
        const QString drop = textOf(xd, "Label95");

        clickOn(xd, "Command4");
        QCOMPARE(s.visibleScreens(), QStringLiteral("xz"));
        QWidget *again = s.openFromMenu("Command5");
        QCOMPARE(again, xd);
        QCOMPARE(s.visibleScreens(), QStringLiteral("xd"));
        QVERIFY(checked(xd, "Option2"));
        QVERIFY(checked(xd, "Check1") && checked(xd, "Option5"));
        QVERIFY(enabled(xd, "Text6") && !enabled(xd, "Text1"));
        QCOMPARE(boxText(xd, "Text2"), QStringLiteral("100"));
        QCOMPARE(tableTexts(xd), table);
        QCOMPARE(textOf(xd, "Label95"), drop);
        QVERIFY(shown(xd, "Label97"));
        QVERIFY(!shown(xd, "Frame7"));
    }
};

QTEST_MAIN(LowPressureScreenTest)
#include "tst_low_pressure_screen.moc"
