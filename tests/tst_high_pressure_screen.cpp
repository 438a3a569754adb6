#include "gui_test.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kNoEnd = QStringLiteral("压力差小于零");

struct Row
{
    const char *diameter;
    const char *drop;
    const char *endPressure;
};

// Steel, P1 400 kPa, L 2 km, density 0.72, viscosity 1.5E-5, 288 K, 1000 Nm3/h; density, viscosity,
// temperature and flow enter in single precision.
const Row kWorkedCase[] = {
    {"50", "732241.197022794", "压力差小于零"},   {"70", "127137.156692969", "压力差小于零"},
    {"80", "63657.9757076291", "180.78730205615"}, {"100", "20146.2695875009", "345.987659931678"},
    {"125", "6431.16889364434", "383.585273717216"}, {"150", "2549.73497979823", "393.574046451749"},
    {"219", "383.377692420745", "399.04040474012"},  {"273", "129.231479013631", "399.676790722169"},
    {"325", "55.085450276218", "399.862262659841"},  {"377", "26.7756049666505", "399.933055385607"},
    {"426", "14.823338845275", "399.962939936076"},  {"480", "8.33646223814874", "399.979158301434"},
    {"530", "5.1758620923854", "399.987060135469"},  {"630", "2.25881427399544", "399.994352924453"},
    {"720", "1.19221374932556", "399.997019454522"}, {"820", "0.640467204926766", "399.998398828783"},
    {"920", "0.369845246158361", "399.999075385816"}, {"1020", "0.226131704893938", "399.999434670338"},
    {"1220", "0.0963703752328617", "399.999759073989"},
};

QByteArray cell(int number)
{
    return "Label" + QByteArray::number(number);
}

QWidget *openScreen(Session &s)
{
    QWidget *gyxd = s.openFromMenu("Command6");
    return gyxd && QTest::qWaitForWindowExposed(gyxd) ? gyxd : nullptr;
}

void typeWorkedCase(QWidget *gyxd)
{
    typeInto(gyxd, "Text1", QStringLiteral("400"));
    typeInto(gyxd, "Text3", QStringLiteral("2"));
    typeInto(gyxd, "Text5", QStringLiteral("0.72"));
    typeInto(gyxd, "Text6", QStringLiteral("1.5E-5"));
    typeInto(gyxd, "Text7", QStringLiteral("288"));
    typeInto(gyxd, "Text8", QStringLiteral("1000"));
}

bool selected(QWidget *screen, const char *option)
{
    auto *o = screen->findChild<QRadioButton *>(QString::fromUtf8(option));
    return o && o->isChecked();
}

// Which of the six result labels of the result frame are shown, in the order 78 44 79 52 50 41.
QString shownResults(QWidget *gyxd)
{
    QStringList names;
    for (const char *name : {"Label78", "Label44", "Label79", "Label52", "Label50", "Label41"}) {
        if (shown(gyxd, name))
            names << QString::fromUtf8(name);
    }
    return names.join(u' ');
}

} // namespace

class HighPressureScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheBannerOverAnEmptyTable()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        QVERIFY(gyxd);
        QCOMPARE(gyxd->objectName(), QStringLiteral("gyxd"));
        QCOMPARE(gyxd->windowTitle(), QStringLiteral("中高压管段水力计算"));
        for (const char *box : {"Text1", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"})
            QCOMPARE(gyxd->findChild<QLineEdit *>(QString::fromUtf8(box))->text(), QString());
        QVERIFY(selected(gyxd, "Option1"));
        QVERIFY(!gyxd->findChild<QCheckBox *>(QStringLiteral("Check1"))->isChecked());
        for (const char *control : {"Option4", "Option5", "Text4", "Text9"}) {
            QVERIFY2(!enabled(gyxd, control), control);
            QVERIFY2(!selected(gyxd, control), control);
        }
        QCOMPARE(shownResults(gyxd), QString());
        for (int k = 0; k < 19; ++k) {
            for (int number : {k + 1, k + 21, k + 58})
                QCOMPARE(textOf(gyxd, cell(number).constData()), QString());
        }
        QCOMPARE(textOf(gyxd, "Label20"), QStringLiteral("管径(mm)"));
        QCOMPARE(textOf(gyxd, "Label40"), QStringLiteral("压力平方差"));
        QCOMPARE(textOf(gyxd, "Label77"), QStringLiteral("计算终点压力(kP)"));

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
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QVERIFY(!shown(gyxd, "Frame5"));
        QVERIFY(!shown(gyxd, "Label42"));
        QCOMPARE(shownResults(gyxd), QString());

        clickOn(gyxd, "Command4");
        gyxd = openScreen(s);
        for (int k = 0; k < 19; ++k) {
            QCOMPARE(textOf(gyxd, cell(k + 1).constData()), QString::fromUtf8(kWorkedCase[k].diameter));
            QCOMPARE(textOf(gyxd, cell(k + 21).constData()), QString::fromUtf8(kWorkedCase[k].drop));
            QCOMPARE(textOf(gyxd, cell(k + 58).constData()), QString::fromUtf8(kWorkedCase[k].endPressure));
        }
        QVERIFY(!shown(gyxd, "Frame5"));
    }

    void materialChoosesTheFormula_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("drop100");
        QTest::addColumn<QString>("end100");
        QTest::addColumn<QString>("end1220");
        QTest::newRow("steel") << "Option1" << "20146.2695875009" << "345.987659931678" << "399.999759073989";
        QTest::newRow("cast iron") << "Option2" << "36035.1012801136" << "296.529589484376" << "399.99949263711";
        QTest::newRow("plastic") << "Option3" << "14927.3334979506" << "360.756611864701" << "399.999760318111";
    }

    void materialChoosesTheFormula()
    {
        QFETCH(QString, option);
        QFETCH(QString, drop100);
        QFETCH(QString, end100);
        QFETCH(QString, end1220);
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Option3");
        clickOn(gyxd, qPrintable(option));
        clickOn(gyxd, "Command1");
        QCOMPARE(textOf(gyxd, "Label24"), drop100);
        QCOMPARE(textOf(gyxd, "Label61"), end100);
        QCOMPARE(textOf(gyxd, "Label76"), end1220);
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
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        typeInto(gyxd, "Text3", length);
        clickOn(gyxd, "Command1");
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
        QTest::newRow("letters only for the start pressure") << "Text1" << "abc" << kNotPositive;
        QTest::newRow("zero length") << "Text3" << "0" << kNotPositive;
        QTest::newRow("negative density") << "Text5" << "-0.72" << kNotPositive;
        QTest::newRow("empty viscosity") << "Text6" << "" << kNotPositive;
        QTest::newRow("letters only for the temperature") << "Text7" << "K288" << kNotPositive;
        QTest::newRow("zero flow") << "Text8" << "0" << kNotPositive;
        QTest::newRow("density below the single range counts as zero") << "Text5" << "1e-46" << kNotPositive;
        QTest::newRow("viscosity below the single range counts as zero") << "Text6" << "1e-50" << kNotPositive;
        QTest::newRow("temperature below the single range counts as zero") << "Text7" << "1e-47" << kNotPositive;
        QTest::newRow("flow below the single range counts as zero") << "Text8" << "4e-46" << kNotPositive;
        QTest::newRow("negative infinite start pressure") << "Text1" << "-1e400" << kNotPositive;
        QTest::newRow("flow beyond the single range") << "Text8" << "1e39" << kOutOfRange;
        QTest::newRow("temperature beyond the single range") << "Text7" << "3.5e38" << kOutOfRange;
        QTest::newRow("start pressure beyond the double range") << "Text1" << "1e400" << kOutOfRange;
        QTest::newRow("length beyond the double range") << "Text3" << "1e999" << kOutOfRange;
        QTest::newRow("square of the start pressure beyond the double range") << "Text1" << "1e200" << kOutOfRange;
    }

    void rejectedInputLeavesThePreviousTable()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Command1");
        typeInto(gyxd, qPrintable(field), text);
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{message});
        for (int k = 0; k < 19; ++k) {
            QCOMPARE(textOf(gyxd, cell(k + 21).constData()), QString::fromUtf8(kWorkedCase[k].drop));
            QCOMPARE(textOf(gyxd, cell(k + 58).constData()), QString::fromUtf8(kWorkedCase[k].endPressure));
        }
    }

    void firstRejectedClickOnlyHidesTheBanner()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        typeInto(gyxd, "Text8", QStringLiteral("1e39"));
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{kOutOfRange});
        QVERIFY(!shown(gyxd, "Frame5"));
        QCOMPARE(textOf(gyxd, "Label1"), QString());
        QCOMPARE(textOf(gyxd, "Label21"), QString());
        QCOMPARE(textOf(gyxd, "Label58"), QString());
    }

    void smallestSingleFlowIsStillPositive()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        typeInto(gyxd, "Text8", QStringLiteral("1e-45"));
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(textOf(gyxd, "Label58"), QStringLiteral("400"));
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("allowable");
        QTest::addColumn<QString>("diameter");
        QTest::newRow("allowable end pressure 300 gives 100 mm") << "400" << "2" << "300" << "100";
        QTest::newRow("allowance nearer the larger neighbour") << "400" << "2" << "370" << "125";
        QTest::newRow("allowable end pressure equal to the start pressure") << "400" << "2" << "400" << "1220";
        QTest::newRow("allowable end pressure above the start pressure") << "400" << "2" << "500" << "1220";
        QTest::newRow("even the narrowest pipe stays within the allowance") << "2000" << "1" << "1" << "50";
        QTest::newRow("no gap below 1E16 selects nothing") << "1e9" << "1" << "1" << "";
    }

    void preselection()
    {
        QFETCH(QString, start);
        QFETCH(QString, length);
        QFETCH(QString, allowable);
        QFETCH(QString, diameter);
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Check1");
        clickOn(gyxd, "Option4");
        typeInto(gyxd, "Text4", QStringLiteral("300"));
        clickOn(gyxd, "Command1");
        QCOMPARE(textOf(gyxd, "Label41"), QStringLiteral("100"));

        typeInto(gyxd, "Text1", start);
        typeInto(gyxd, "Text3", length);
        typeInto(gyxd, "Text4", allowable);
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(textOf(gyxd, "Label41"), diameter);
        QCOMPARE(shownResults(gyxd), QStringLiteral("Label50 Label41"));
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
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Check1");
        clickOn(gyxd, "Option4");
        typeInto(gyxd, "Text4", QStringLiteral("300"));
        clickOn(gyxd, "Command1");
        clickOn(gyxd, "Option5");
        typeInto(gyxd, "Text9", QStringLiteral("100"));
        clickOn(gyxd, "Command1");
        QCOMPARE(shownResults(gyxd), QStringLiteral("Label78 Label44 Label79 Label52"));

        // The table is filled and the labels switched before the allowance is judged.
        typeInto(gyxd, "Text8", QStringLiteral("2000"));
        clickOn(gyxd, "Option4");
        typeInto(gyxd, "Text4", allowable);
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{message});
        QCOMPARE(textOf(gyxd, "Label24"), QStringLiteral("78229.6022810376"));
        QCOMPARE(shownResults(gyxd), QStringLiteral("Label50 Label41"));
        QCOMPARE(textOf(gyxd, "Label41"), QStringLiteral("100"));
    }

    void givenDiameter_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("drop");
        QTest::addColumn<QString>("endPressure");
        QTest::addColumn<QString>("message");
        QTest::newRow("100 mm repeats its table row") << "100" << "20146.2695875009" << "345.987659931678" << "";
        QTest::newRow("a diameter outside the series") << "90" << "34650.0629482545" << "301.164197911191" << "";
        QTest::newRow("too narrow to carry the flow") << "50mm" << "732241.197022794" << kNoEnd << "";
        // Rejected diameters keep the 80 mm results of the previous click.
        QTest::newRow("zero") << "0" << "63657.9757076291" << "180.78730205615" << kNotPositive;
        QTest::newRow("negative") << "-100" << "63657.9757076291" << "180.78730205615" << kNotPositive;
        QTest::newRow("letters only") << "DN100" << "63657.9757076291" << "180.78730205615" << kNotPositive;
        QTest::newRow("beyond the double range") << "1e400" << "63657.9757076291" << "180.78730205615"
                                                 << kOutOfRange;
        QTest::newRow("so narrow the drop overflows") << "1e-300" << "63657.9757076291" << "180.78730205615"
                                                      << kOutOfRange;
    }

    void givenDiameter()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, drop);
        QFETCH(QString, endPressure);
        QFETCH(QString, message);
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Check1");
        clickOn(gyxd, "Option5");
        typeInto(gyxd, "Text9", QStringLiteral("80"));
        clickOn(gyxd, "Command1");
        typeInto(gyxd, "Text9", diameter);
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(shownResults(gyxd), QStringLiteral("Label78 Label44 Label79 Label52"));
        QCOMPARE(textOf(gyxd, "Label44"), drop);
        QCOMPARE(textOf(gyxd, "Label52"), endPressure);
        QCOMPARE(textOf(gyxd, "Label78"), QStringLiteral("压力平方差:"));
        QCOMPARE(textOf(gyxd, "Label79"), QStringLiteral("终点压力(KPa):"));
    }

    void checkBoxAndModeTransitions()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        typeWorkedCase(gyxd);
        clickOn(gyxd, "Check1");
        for (const char *control : {"Option4", "Option5", "Text4", "Text9"})
            QVERIFY2(enabled(gyxd, control), control);
        QVERIFY(!selected(gyxd, "Option4") && !selected(gyxd, "Option5"));

        clickOn(gyxd, "Option4");
        QVERIFY(enabled(gyxd, "Text4") && !enabled(gyxd, "Text9"));
        typeInto(gyxd, "Text4", QStringLiteral("300"));
        clickOn(gyxd, "Option5");
        QVERIFY(!selected(gyxd, "Option4"));
        QVERIFY(!enabled(gyxd, "Text4") && enabled(gyxd, "Text9"));
        QVERIFY(selected(gyxd, "Option1"));
        typeInto(gyxd, "Text9", QStringLiteral("100"));
        clickOn(gyxd, "Command1");
        QCOMPARE(shownResults(gyxd), QStringLiteral("Label78 Label44 Label79 Label52"));

        // Clearing the check box hides the results at once and returns to no mode; the texts stay.
        clickOn(gyxd, "Check1");
        QCOMPARE(shownResults(gyxd), QString());
        for (const char *control : {"Option4", "Option5", "Text4", "Text9"}) {
            QVERIFY2(!enabled(gyxd, control), control);
            QVERIFY2(!selected(gyxd, control), control);
        }
        QCOMPARE(gyxd->findChild<QLineEdit *>(QStringLiteral("Text4"))->text(), QStringLiteral("300"));
        QCOMPARE(gyxd->findChild<QLineEdit *>(QStringLiteral("Text9"))->text(), QStringLiteral("100"));

        // The next calculation fills the table only.
        typeInto(gyxd, "Text8", QStringLiteral("2000"));
        clickOn(gyxd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(textOf(gyxd, "Label24"), QStringLiteral("78229.6022810376"));
        QCOMPARE(shownResults(gyxd), QString());
        QCOMPARE(textOf(gyxd, "Label44"), QStringLiteral("20146.2695875009"));

        clickOn(gyxd, "Check1");
        QVERIFY(!selected(gyxd, "Option4") && !selected(gyxd, "Option5"));
        QVERIFY(enabled(gyxd, "Text4") && enabled(gyxd, "Text9"));
        QCOMPARE(shownResults(gyxd), QString());
    }

    void tabVisitsTheFieldsInReadingOrder()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        QCOMPARE(tabOrder(gyxd, "Text1"),
                 (QStringList{"Text1", "Text5", "Text3", "Text7", "Text6", "Text8", "Option1", "Check1", "Command1",
                              "Command4"}));
    }

    void longNumbersAreNeverClipped()
    {
        Session s;
        QWidget *gyxd = openScreen(s);
        const QSize before = gyxd->size();
        typeWorkedCase(gyxd);
        typeInto(gyxd, "Text8", QStringLiteral("0.001"));
        clickOn(gyxd, "Command1");
        QCOMPARE(textOf(gyxd, "Label21"), QStringLiteral("1.17908623639783E-05"));
        gyxd->layout()->activate();
        for (int k = 0; k < 19; ++k) {
            for (int number : {k + 1, k + 21, k + 58}) {
                auto *l = gyxd->findChild<QLabel *>(QString::fromLatin1(cell(number)));
                QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), cell(number).constData());
            }
        }
        QCOMPARE(gyxd->size(), before);
    }
};

QTEST_MAIN(HighPressureScreenTest)
#include "tst_high_pressure_screen.moc"
