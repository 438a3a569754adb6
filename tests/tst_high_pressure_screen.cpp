#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTest>

namespace {

const QString kNoEnd = QStringLiteral("压力差小于零");

// The labels of a table row, k from 0: diameter, difference of squares, end pressure.
QStringList tableRow(int k)
{
    return {QStringLiteral("Label%1").arg(k + 1), QStringLiteral("Label%1").arg(k + 21),
            QStringLiteral("Label%1").arg(k + 58)};
}

// The six result labels of the result frame, in the order 78 44 79 52 50 41.
const QStringList kResults{"Label78", "Label44", "Label79", "Label52", "Label50", "Label41"};
const QString kGivenResults = QStringLiteral("Label78 Label44 Label79 Label52");
const QString kPreselectResults = QStringLiteral("Label50 Label41");

const QStringList kModeControls{"Option4", "Option5", "Text4", "Text9"};

// The worked case calculated once with a diameter pre-selected for an allowable end pressure of 300 kPa.
QStringList preselected()
{
    return kHighPressureCase + QStringList{"Check1", "Option4", "Text4=300", "Command1"};
}

} // namespace

class HighPressureScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheBannerOverAnEmptyTable()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        QVERIFY(gyxd);
        for (const char *box : {"Text1", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"})
            QCOMPARE(boxText(gyxd, box), QString());
        QVERIFY(checked(gyxd, "Option1"));
        QVERIFY(!checked(gyxd, "Check1"));
        for (const QString &control : kModeControls)
            QVERIFY2(!enabled(gyxd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(gyxd, "Option4") && !checked(gyxd, "Option5"));
        QCOMPARE(shownOf(gyxd, kResults), QString());
        for (int k = 0; k < 19; ++k)
            QCOMPARE(textsOf(gyxd, tableRow(k)), QStringList(3, QString()));
        QCOMPARE(textsOf(gyxd, {"Label20", "Label40", "Label77"}),
                 (QStringList{"管径(mm)", "压力平方差", "计算终点压力(kP)"}));

        // The banner panel lies inside the table frame, over its middle.
        auto *banner = gyxd->findChild<QGroupBox *>(QStringLiteral("Frame5"));
        auto *table = gyxd->findChild<QGroupBox *>(QStringLiteral("Frame4"));
        QVERIFY(shown(gyxd, "Frame5"));
        QCOMPARE(banner->parentWidget(), table);
        QVERIFY(banner->geometry().contains(table->rect().center()));
        auto *word = gyxd->findChild<QLabel *>(QStringLiteral("Label42"));
        QCOMPARE(word->text(), QStringLiteral("O\nr\nv\na\nn\ne"));
        QCOMPARE(word->font().pointSize(), 15);
    }

    void workedCaseFillsEveryRowAndKeepsItAcrossVisits()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase);
        QCOMPARE(s.calculate(gyxd), QStringList());
        QVERIFY(!shown(gyxd, "Frame5"));
        QVERIFY(!shown(gyxd, "Label42"));
        QCOMPARE(shownOf(gyxd, kResults), QString());

        clickOn(gyxd, "Command4");
        gyxd = s.openFromMenu("Command6");
        for (int k = 0; k < 19; ++k)
            QCOMPARE(textsOf(gyxd, tableRow(k)), kHighPressureTable[k]);
        QVERIFY(!shown(gyxd, "Frame5"));
    }

    void materialChoosesTheFormula_data()
    {
        QTest::addColumn<QString>("option");
        // The drop and end pressure at 100 mm, the end pressure at 1220 mm.
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("steel") << "Option1" << QStringList{"20146.2695875009", "345.987659931678", "399.999759073989"};
        QTest::newRow("cast iron") << "Option2"
                                   << QStringList{"36035.1012801136", "296.529589484376", "399.99949263711"};
        QTest::newRow("plastic") << "Option3"
                                 << QStringList{"14927.3334979506", "360.756611864701", "399.999760318111"};
    }

    void materialChoosesTheFormula()
    {
        QFETCH(QString, option);
        QFETCH(QStringList, expected);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Option3", option, "Command1"});
        QCOMPARE(textsOf(gyxd, {"Label24", "Label61", "Label76"}), expected);
        QCOMPARE(textOf(gyxd, "Label58"), kNoEnd);
    }

    void endPressureNeedsAStrictlyPositiveDifference_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("end100");
        // This length times the 100 mm drop is exactly 400 squared in double precision.
        QTest::newRow("start pressure squared equals length times drop") << "7.9419169541574384" << kNoEnd;
        QTest::newRow("one step shorter leaves a tiny end pressure") << "7.9419169541574375"
                                                                     << "5.39479660939444E-06";
    }

    void endPressureNeedsAStrictlyPositiveDifference()
    {
        QFETCH(QString, length);
        QFETCH(QString, end100);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Text3=" + length, "Command1"});
        QCOMPARE(textOf(gyxd, "Label24"), QStringLiteral("20146.2695875009"));
        QCOMPARE(textOf(gyxd, "Label61"), end100);
        QCOMPARE(textOf(gyxd, "Label60"), kNoEnd);
        QVERIFY(textOf(gyxd, "Label62") != kNoEnd);
    }

    void rejectedInputLeavesThePreviousTable_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters only for the start pressure") << "Text1"
                                                             << "abc" << kNotPositive;
        QTest::newRow("zero length") << "Text3"
                                     << "0" << kNotPositive;
        QTest::newRow("negative density") << "Text5"
                                          << "-0.72" << kNotPositive;
        QTest::newRow("empty viscosity") << "Text6"
                                         << "" << kNotPositive;
        QTest::newRow("letters only for the temperature") << "Text7"
                                                          << "K288" << kNotPositive;
        QTest::newRow("zero flow") << "Text8"
                                   << "0" << kNotPositive;
        QTest::newRow("density below the single range counts as zero") << "Text5"
                                                                       << "1e-46" << kNotPositive;
        QTest::newRow("viscosity below the single range counts as zero") << "Text6"
                                                                         << "1e-50" << kNotPositive;
        QTest::newRow("temperature below the single range counts as zero") << "Text7"
                                                                           << "1e-47" << kNotPositive;
        QTest::newRow("flow below the single range counts as zero") << "Text8"
                                                                    << "4e-46" << kNotPositive;
        QTest::newRow("negative infinite start pressure") << "Text1"
                                                          << "-1e400" << kNotPositive;
        QTest::newRow("flow beyond the single range") << "Text8"
                                                      << "1e39" << kOutOfRange;
        QTest::newRow("temperature beyond the single range") << "Text7"
                                                             << "3.5e38" << kOutOfRange;
        QTest::newRow("start pressure beyond the double range") << "Text1"
                                                                << "1e400" << kOutOfRange;
        QTest::newRow("length beyond the double range") << "Text3"
                                                        << "1e999" << kOutOfRange;
        QTest::newRow("square of the start pressure beyond the double range") << "Text1"
                                                                              << "1e200" << kOutOfRange;
    }

    void rejectedInputLeavesThePreviousTable()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Command1"});
        typeInto(gyxd, qPrintable(field), text);
        QCOMPARE(s.calculate(gyxd), QStringList{message});
        for (int k = 0; k < 19; ++k)
            QCOMPARE(textsOf(gyxd, tableRow(k)), kHighPressureTable[k]);
    }

    void firstRejectedClickOnlyHidesTheBanner()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Text8=1e39"});
        QCOMPARE(s.calculate(gyxd), QStringList{kOutOfRange});
        QVERIFY(!shown(gyxd, "Frame5"));
        QCOMPARE(textsOf(gyxd, tableRow(0)), QStringList(3, QString()));
    }

    void smallestSingleFlowIsStillPositive()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Text8=1e-45"});
        QCOMPARE(s.calculate(gyxd), QStringList());
        QCOMPARE(textOf(gyxd, "Label58"), QStringLiteral("400"));
    }

    void preselection_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("diameter");
        QTest::newRow("allowable end pressure 300 gives 100 mm")
            << QStringList{"Text1=400", "Text3=2", "Text4=300"} << "100";
        QTest::newRow("allowance nearer the larger neighbour")
            << QStringList{"Text1=400", "Text3=2", "Text4=370"} << "125";
        QTest::newRow("allowable end pressure equal to the start pressure")
            << QStringList{"Text1=400", "Text3=2", "Text4=400"} << "1220";
        QTest::newRow("allowable end pressure above the start pressure")
            << QStringList{"Text1=400", "Text3=2", "Text4=500"} << "1220";
        QTest::newRow("even the narrowest pipe stays within the allowance")
            << QStringList{"Text1=2000", "Text3=1", "Text4=1"} << "50";
        QTest::newRow("no gap below 1E16 selects nothing") << QStringList{"Text1=1e9", "Text3=1", "Text4=1"} << "";
    }

    void preselection()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, diameter);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, preselected());
        QCOMPARE(textOf(gyxd, "Label41"), QStringLiteral("100"));

        perform(gyxd, steps);
        QCOMPARE(s.calculate(gyxd), QStringList());
        QCOMPARE(textOf(gyxd, "Label41"), diameter);
        QCOMPARE(shownOf(gyxd, kResults), kPreselectResults);
        QCOMPARE(textOf(gyxd, "Label50"), QStringLiteral("预选管径(mm):"));
    }

    void rejectedAllowanceKeepsTheSelectionButNotTheTable_data()
    {
        QTest::addColumn<QString>("allowable");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero") << "0" << kNotPositive;
        QTest::newRow("negative") << "-300" << kNotPositive;
        QTest::newRow("letters only") << "abc" << kNotPositive;
        QTest::newRow("beyond the double range") << "1e400" << kOutOfRange;
        QTest::newRow("allowance beyond the single range") << "1e30" << kOutOfRange;
    }

    void rejectedAllowanceKeepsTheSelectionButNotTheTable()
    {
        QFETCH(QString, allowable);
        QFETCH(QString, message);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, preselected() + QStringList{"Option5", "Text9=100", "Command1"});
        QCOMPARE(shownOf(gyxd, kResults), kGivenResults);

        // The table is filled and the labels switched before the allowance is judged.
        perform(gyxd, {"Text8=2000", "Option4", "Text4=" + allowable});
        QCOMPARE(s.calculate(gyxd), QStringList{message});
        QCOMPARE(textOf(gyxd, "Label24"), QStringLiteral("78229.6022810376"));
        QCOMPARE(shownOf(gyxd, kResults), kPreselectResults);
        QCOMPARE(textOf(gyxd, "Label41"), QStringLiteral("100"));
    }

    void givenDiameter_data()
    {
        QTest::addColumn<QString>("diameter");
        // The difference of squares and the end pressure shown.
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("message");
        QTest::newRow("100 mm repeats its table row")
            << "100" << QStringList{"20146.2695875009", "345.987659931678"} << QString();
        QTest::newRow("a diameter outside the series")
            << "90" << QStringList{"34650.0629482545", "301.164197911191"} << QString();
        QTest::newRow("too narrow to carry the flow") << "50mm" << QStringList{"732241.197022794", kNoEnd} << QString();
        // Rejected diameters keep the 80 mm results of the previous click.
        const QStringList kept{"63657.9757076291", "180.78730205615"};
        QTest::newRow("zero") << "0" << kept << kNotPositive;
        QTest::newRow("negative") << "-100" << kept << kNotPositive;
        QTest::newRow("letters only") << "DN100" << kept << kNotPositive;
        QTest::newRow("beyond the double range") << "1e400" << kept << kOutOfRange;
        QTest::newRow("so narrow the drop overflows") << "1e-300" << kept << kOutOfRange;
    }

    void givenDiameter()
    {
        QFETCH(QString, diameter);
        QFETCH(QStringList, results);
        QFETCH(QString, message);
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Check1", "Option5", "Text9=80", "Command1"});
        typeInto(gyxd, "Text9", diameter);
        QCOMPARE(s.calculate(gyxd), messageList(message));
        QCOMPARE(shownOf(gyxd, kResults), kGivenResults);
        QCOMPARE(textsOf(gyxd, {"Label44", "Label52"}), results);
        QCOMPARE(textsOf(gyxd, {"Label78", "Label79"}), (QStringList{"压力平方差:", "终点压力(KPa):"}));
    }

    void checkBoxAndModeTransitions()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        perform(gyxd, kHighPressureCase + QStringList{"Check1"});
        for (const QString &control : kModeControls)
            QVERIFY2(enabled(gyxd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(gyxd, "Option4") && !checked(gyxd, "Option5"));

        clickOn(gyxd, "Option4");
        QVERIFY(enabled(gyxd, "Text4") && !enabled(gyxd, "Text9"));
        perform(gyxd, {"Text4=300", "Option5"});
        QVERIFY(!checked(gyxd, "Option4"));
        QVERIFY(!enabled(gyxd, "Text4") && enabled(gyxd, "Text9"));
        QVERIFY(checked(gyxd, "Option1"));
        perform(gyxd, {"Text9=100", "Command1"});
        QCOMPARE(shownOf(gyxd, kResults), kGivenResults);

        // Clearing the check box hides the results at once and returns to no mode; the texts stay.
        clickOn(gyxd, "Check1");
        QCOMPARE(shownOf(gyxd, kResults), QString());
        for (const QString &control : kModeControls)
            QVERIFY2(!enabled(gyxd, qPrintable(control)), qPrintable(control));
        QVERIFY(!checked(gyxd, "Option4") && !checked(gyxd, "Option5"));
        QCOMPARE(boxText(gyxd, "Text4"), QStringLiteral("300"));
        QCOMPARE(boxText(gyxd, "Text9"), QStringLiteral("100"));

        // The next calculation fills the table only.
        typeInto(gyxd, "Text8", QStringLiteral("2000"));
        QCOMPARE(s.calculate(gyxd), QStringList());
        QCOMPARE(textOf(gyxd, "Label24"), QStringLiteral("78229.6022810376"));
        QCOMPARE(shownOf(gyxd, kResults), QString());
        QCOMPARE(textOf(gyxd, "Label44"), QStringLiteral("20146.2695875009"));

        clickOn(gyxd, "Check1");
        QVERIFY(!checked(gyxd, "Option4") && !checked(gyxd, "Option5"));
        QVERIFY(enabled(gyxd, "Text4") && enabled(gyxd, "Text9"));
        QCOMPARE(shownOf(gyxd, kResults), QString());
    }

    void longNumbersAreNeverClipped()
    {
        Session s;
        QWidget *gyxd = s.openFromMenu("Command6");
        const QSize before = gyxd->size();
        perform(gyxd, kHighPressureCase + QStringList{"Text8=0.001", "Command1"});
        QCOMPARE(textOf(gyxd, "Label21"), QStringLiteral("1.17908623639783E-05"));
        gyxd->layout()->activate();
        for (int k = 0; k < 19; ++k) {
            for (const QString &cell : tableRow(k)) {
                auto *l = gyxd->findChild<QLabel *>(cell);
                QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), qPrintable(cell));
            }
        }
        QCOMPARE(gyxd->size(), before);
    }
};

QTEST_MAIN(HighPressureScreenTest)
#include "tst_high_pressure_screen.moc"
