#include "gui_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QTest>

#include <array>

namespace {

// The design names of the 76 table labels, row by row.
QList<QByteArray> tableLabels()
{
    QList<QByteArray> names;
    for (int k = 1; k <= 19; ++k) {
        for (int column : {0, 20, 40, 60})
            names << "Label" + QByteArray::number(k + column);
    }
    return names;
}

QStringList tableTexts(QWidget *xd)
{
    QStringList texts;
    for (const QByteArray &name : tableLabels())
        texts << textOf(xd, name.constData());
    return texts;
}

// Flow, viscosity, temperature and density, in the fields' design names.
void enterGas(QWidget *xd, const QString &Q, const QString &nu = QStringLiteral("1.5E-5"),
              const QString &T = QStringLiteral("288"), const QString &rho = QStringLiteral("0.72"))
{
    typeInto(xd, "Text2", Q);
    typeInto(xd, "Text3", nu);
    typeInto(xd, "Text4", T);
    typeInto(xd, "Text5", rho);
}

// Ticks the check box and picks a mode with its value.
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

constexpr std::array kGivenResults{"Label87", "Label94", "Label95", "Label97", "Label98", "Label99"};
constexpr std::array kPreselectResults{"Label86", "Label96"};

} // namespace

class LowPressureScreenTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheBannerOverAnEmptyTable()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        QCOMPARE(xd->objectName(), QStringLiteral("xd"));
        QCOMPARE(xd->windowTitle(), QStringLiteral("低压管段水力计算"));
        QVERIFY(shown(xd, "Frame7"));
        auto *banner = xd->findChild<QLabel *>(QStringLiteral("Label88"));
        QVERIFY(banner->isVisibleTo(xd));
        QCOMPARE(banner->text().remove(QLatin1Char('\n')), QStringLiteral("Orvane"));
        QCOMPARE(banner->font().pointSize(), 15);
        QCOMPARE(tableTexts(xd), QStringList(76, QString()));

        QVERIFY(checked(xd, "Option1"));
        QVERIFY(!checked(xd, "Option2") && !checked(xd, "Option3"));
        QVERIFY(!checked(xd, "Check1"));
        for (const char *control : {"Option4", "Option5", "Text1", "Text6"})
            QVERIFY2(!enabled(xd, control), control);
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
        for (const char *header : {"Label97", "Label98", "Label99"})
            QVERIFY2(!shown(xd, header), header);
        for (const char *result : {"Label87", "Label94", "Label95", "Label86", "Label96"}) {
            QVERIFY2(shown(xd, result), result);
            QCOMPARE(textOf(xd, result), QString());
        }
        for (const char *box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
            QCOMPARE(xd->findChild<QLineEdit *>(QString::fromUtf8(box))->text(), QString());
    }

    void everyControlCarriesItsCaption()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        const std::pair<const char *, const char *> captions[]{{"Frame2", "录入数据"},
                                                               {"Label81", "计算流量："},
                                                               {"Label89", "(Nm^3/h)"},
                                                               {"Label82", "燃气粘度："},
                                                               {"Label91", "(m^2/s)"},
                                                               {"Label83", "燃气密度："},
                                                               {"Label90", "(kg/Nm^3)"},
                                                               {"Label84", "燃气温度："},
                                                               {"Label92", "(K)"},
                                                               {"Frame1", "选择管材"},
                                                               {"Option1", "钢管"},
                                                               {"Option2", "铸铁管"},
                                                               {"Option3", "塑料管"},
                                                               {"Check1", "预选管径和根据管径求压力降"},
                                                               {"Frame4", "录入最不利环路计算压力降"},
                                                               {"Option4", ""},
                                                               {"Label85", "允许单位压力降(Pa/m)："},
                                                               {"Option5", ""},
                                                               {"Label93", "录入管径(mm):"},
                                                               {"Command1", "计算"},
                                                               {"Command4", "返回"},
                                                               {"Frame6", "得出结果"},
                                                               {"Label97", "雷诺数"},
                                                               {"Label98", "流态"},
                                                               {"Label99", "计算压力降(Pa/m)"},
                                                               {"Frame3", "数据区"},
                                                               {"Label20", "管径(mm)"},
                                                               {"Label40", "雷诺数"},
                                                               {"Label60", "流态"},
                                                               {"Label80", "计算单位压降(Pa/m)"},
                                                               {"Frame7", ""}};
        for (const auto &[control, caption] : captions) {
            QWidget *w = xd->findChild<QWidget *>(QString::fromUtf8(control));
            QString text = QStringLiteral("<missing>");
            if (auto *l = qobject_cast<QLabel *>(w))
                text = l->text();
            else if (auto *b = qobject_cast<QAbstractButton *>(w))
                text = b->text();
            else if (auto *f = qobject_cast<QGroupBox *>(w))
                text = f->title();
            QVERIFY2(text == QString::fromUtf8(caption), control);
        }
    }

    void tabVisitsFieldsInReadingOrderThenTheButtons()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        QCOMPARE(tabOrder(xd, "Text2"),
                 (QStringList{"Text2", "Text3", "Text5", "Text4", "Option1", "Check1", "Command1", "Command4"}));
        clickOn(xd, "Check1");
        clickOn(xd, "Option5");
        QCOMPARE(tabOrder(xd, "Text2"),
                 (QStringList{"Text2", "Text3", "Text5", "Text4", "Option1", "Check1", "Option5", "Text6", "Command1",
                              "Command4"}));
    }

    void tableOfTheWorkedCase()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        QVERIFY(QTest::qWaitForWindowExposed(xd));
        const QSize size = xd->size();
        enterGas(xd, QStringLiteral("10"));
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QVERIFY(!shown(xd, "Frame7"));
        QVERIFY(!shown(xd, "Label88"));

        const QStringList diameters{"15",  "20",  "25",  "32",  "40",  "50",  "70",  "80",  "100", "125",
                                    "150", "219", "273", "325", "377", "426", "480", "580", "630"};
        for (int k = 1; k <= 19; ++k) {
            const QByteArray row = QByteArray::number(k);
            QCOMPARE(textOf(xd, ("Label" + row).constData()), diameters[k - 1]);
            const QString state = k <= 6 ? QStringLiteral("紊流")
                : k <= 9                 ? QStringLiteral("临界")
                                         : QStringLiteral("层流");
            QCOMPARE(textOf(xd, ("Label" + QByteArray::number(k + 40)).constData()), state);
        }
        QCOMPARE(textOf(xd, "Label21"), QStringLiteral("15719.0200024137"));
        QCOMPARE(textOf(xd, "Label61"), QStringLiteral("223.468380160133"));
        QCOMPARE(textOf(xd, "Label79"), QStringLiteral("8.17278062870177E-06"));
        QCOMPARE(qRound(numberOf(xd, "Label29") * 1000), 2357853);
        QCOMPARE(qRound(numberOf(xd, "Label69") * 1E7), 167768);
        QCOMPARE(qRound(numberOf(xd, "Label30") * 1000), 1886282);
        QCOMPARE(qRound(numberOf(xd, "Label70") * 1E8), 527342);
        // The table is the whole result without a mode.
        for (const char *result : {"Label87", "Label94", "Label95", "Label86", "Label96"})
            QCOMPARE(textOf(xd, result), QString());

        // No number is clipped, and the fixed window keeps its size through both modes.
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        chooseMode(xd, "Option4", "Text1", QStringLiteral("2"));
        clickOn(xd, "Command1");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(xd->size(), size);
        for (const QByteArray &name : tableLabels() + QList<QByteArray>{"Label87", "Label95"}) {
            auto *l = xd->findChild<QLabel *>(QString::fromLatin1(name));
            QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()), name.constData());
        }
    }

    void criticalZoneBoundsShowAsCritical_data()
    {
        QTest::addColumn<QString>("Q");
        QTest::addColumn<QString>("reynolds");
        QTest::newRow("Reynolds number exactly 2100") << "8.90640765"
                                                      << "2100";
        QTest::newRow("Reynolds number exactly 3500") << "14.84401275"
                                                      << "3500";
    }

    void criticalZoneBoundsShowAsCritical()
    {
        QFETCH(QString, Q);
        QFETCH(QString, reynolds);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, Q);
        chooseMode(xd, "Option5", "Text6", QStringLiteral("100"));
        clickOn(xd, "Command1");
        QCOMPARE(textOf(xd, "Label29"), reynolds);
        QCOMPARE(textOf(xd, "Label49"), QStringLiteral("临界"));
        QCOMPARE(textOf(xd, "Label87"), reynolds);
        QCOMPARE(textOf(xd, "Label94"), QStringLiteral("临界"));
        QCOMPARE(textOf(xd, "Label95"), textOf(xd, "Label69"));
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("material");
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<QString>("selected");
        QTest::newRow("steel, nearest drop is below the allowance") << "Option1"
                                                                    << "2"
                                                                    << "100";
        QTest::newRow("cast iron, nearest drop is above the allowance") << "Option2"
                                                                        << "2"
                                                                        << "100";
        QTest::newRow("plastic") << "Option3"
                                 << "2"
                                 << "100";
        QTest::newRow("allowance above every drop picks 15 mm") << "Option1"
                                                                << "1000000"
                                                                << "15";
        QTest::newRow("allowance below every drop picks 630 mm") << "Option1"
                                                                 << "0.000000001"
                                                                 << "630";
        QTest::newRow("allowance so large that nothing qualifies") << "Option1"
                                                                   << "1E17"
                                                                   << "";
    }

    void preselection()
    {
        QFETCH(QString, material);
        QFETCH(QString, allowance);
        QFETCH(QString, selected);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, QStringLiteral("100"));
        clickOn(xd, material.toLatin1().constData());
        chooseMode(xd, "Option4", "Text1", allowance);
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(textOf(xd, "Label86"), selected);
        QCOMPARE(textOf(xd, "Label96"), QStringLiteral("预选管径(mm):"));
        for (const char *label : kPreselectResults)
            QVERIFY2(shown(xd, label), label);
        for (const char *label : kGivenResults)
            QVERIFY2(!shown(xd, label), label);
        for (int k = 41; k <= 59; ++k)
            QCOMPARE(textOf(xd, ("Label" + QByteArray::number(k)).constData()), QStringLiteral("紊流"));
    }

    void materialsOrderTheTurbulentDrops()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, QStringLiteral("100"));
        QList<double> drops;
        for (const char *material : {"Option1", "Option2", "Option3"}) {
            clickOn(xd, material);
            clickOn(xd, "Command1");
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
        enterGas(xd, QStringLiteral("100"));
        chooseMode(xd, "Option5", "Text6", diameter);
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
        QCOMPARE(textOf(xd, "Label94"), state);
        QVERIFY2(qAbs(numberOf(xd, "Label87") - reynolds) < 0.005, qPrintable(textOf(xd, "Label87")));
        QVERIFY2(qAbs(numberOf(xd, "Label95") - drop) < 5E-6 * drop, qPrintable(textOf(xd, "Label95")));
        for (const char *label : kGivenResults)
            QVERIFY2(shown(xd, label), label);
        for (const char *label : kPreselectResults)
            QVERIFY2(!shown(xd, label), label);
        if (diameter == QLatin1String("100")) {
            QCOMPARE(textOf(xd, "Label87"), textOf(xd, "Label29"));
            QCOMPARE(textOf(xd, "Label94"), textOf(xd, "Label49"));
            QCOMPARE(textOf(xd, "Label95"), textOf(xd, "Label69"));
        }
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
        QTest::newRow("flow so large that the drop overflows") << "Text2"
                                                               << "1e300" << kOutOfRange;
        QTest::newRow("viscosity so small that the Reynolds number overflows") << "Text3"
                                                                               << "1e-310" << kOutOfRange;
    }

    void rejectedGasDataLeaveTheTableUntouched()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, QStringLiteral("10"));
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        const QStringList table = tableTexts(xd);
        const QString reynolds = textOf(xd, "Label87");
        QCOMPARE(table[1], QStringLiteral("15719.0200024137"));

        typeInto(xd, field.toLatin1().constData(), text);
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{message});
        QCOMPARE(tableTexts(xd), table);
        QCOMPARE(textOf(xd, "Label87"), reynolds);
    }

    void firstPressHidesTheBannerForGoodEvenWhenRejected()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{kNotPositive});
        QVERIFY(!shown(xd, "Frame7"));
        QVERIFY(!shown(xd, "Label88"));
        QCOMPARE(tableTexts(xd), QStringList(76, QString()));

        clickOn(xd, "Command4");
        xd = s.openFromMenu("Command5");
        QVERIFY(!shown(xd, "Frame7"));
    }

    void rejectedAllowanceKeepsTheTableAndTheModeLabels_data()
    {
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero allowance") << "0" << kNotPositive;
        QTest::newRow("text for an allowance") << "abc" << kNotPositive;
        QTest::newRow("allowance beyond the double range") << "1e999" << kOutOfRange;
    }

    void rejectedAllowanceKeepsTheTableAndTheModeLabels()
    {
        QFETCH(QString, allowance);
        QFETCH(QString, message);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, QStringLiteral("100"));
        chooseMode(xd, "Option4", "Text1", QStringLiteral("2"));
        clickOn(xd, "Command1");
        QCOMPARE(textOf(xd, "Label86"), QStringLiteral("100"));

        // Given-diameter mode first shows its labels, then pre-selection is rejected.
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        chooseMode(xd, "Option4", "Text1", allowance);
        typeInto(xd, "Text2", QStringLiteral("10"));
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{message});
        QCOMPARE(textOf(xd, "Label21"), QStringLiteral("15719.0200024137"));
        QCOMPARE(textOf(xd, "Label86"), QStringLiteral("100"));
        for (const char *label : kPreselectResults)
            QVERIFY2(shown(xd, label), label);
        for (const char *label : kGivenResults)
            QVERIFY2(!shown(xd, label), label);
    }

    void rejectedDiameterKeepsTheTableAndThePreviousValues_data()
    {
        QTest::addColumn<QString>("diameter");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero diameter") << "0" << kNotPositive;
        QTest::newRow("negative diameter") << "-90" << kNotPositive;
        QTest::newRow("diameter beyond the double range") << "1e400" << kOutOfRange;
        QTest::newRow("diameter so small that the drop overflows") << "1e-300" << kOutOfRange;
    }

    void rejectedDiameterKeepsTheTableAndThePreviousValues()
    {
        QFETCH(QString, diameter);
        QFETCH(QString, message);
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        enterGas(xd, QStringLiteral("100"));
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        const QStringList given{textOf(xd, "Label87"), textOf(xd, "Label94"), textOf(xd, "Label95")};

        chooseMode(xd, "Option4", "Text1", QStringLiteral("2"));
        clickOn(xd, "Command1");
        chooseMode(xd, "Option5", "Text6", diameter);
        typeInto(xd, "Text2", QStringLiteral("10"));
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList{message});
        QCOMPARE(textOf(xd, "Label21"), QStringLiteral("15719.0200024137"));
        QCOMPARE((QStringList{textOf(xd, "Label87"), textOf(xd, "Label94"), textOf(xd, "Label95")}), given);
        for (const char *label : kGivenResults)
            QVERIFY2(shown(xd, label), label);
        for (const char *label : kPreselectResults)
            QVERIFY2(!shown(xd, label), label);
    }

    void modeOptionsEnableOnlyTheirOwnField()
    {
        Session s;
        QWidget *xd = s.openFromMenu("Command5");
        clickOn(xd, "Check1");
        for (const char *control : {"Option4", "Option5", "Text1", "Text6"})
            QVERIFY2(enabled(xd, control), control);
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
        enterGas(xd, QStringLiteral("100"));
        chooseMode(xd, "Option4", "Text1", QStringLiteral("2"));
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
        const QString reynolds = textOf(xd, "Label87");

        clickOn(xd, "Check1");
        QVERIFY(!checked(xd, "Check1"));
        for (const char *label :
             {"Label87", "Label94", "Label95", "Label97", "Label98", "Label99", "Label86", "Label96"})
            QVERIFY2(!shown(xd, label), label);
        for (const char *control : {"Option4", "Option5", "Text1", "Text6"})
            QVERIFY2(!enabled(xd, control), control);
        QVERIFY(!checked(xd, "Option4") && !checked(xd, "Option5"));
        QCOMPARE(xd->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("2"));
        QCOMPARE(xd->findChild<QLineEdit *>(QStringLiteral("Text6"))->text(), QStringLiteral("90"));

        typeInto(xd, "Text2", QStringLiteral("10"));
        clickOn(xd, "Command1");
        QCOMPARE(s.messages.take(), QStringList());
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
        enterGas(xd, QStringLiteral("100"));
        clickOn(xd, "Option2");
        chooseMode(xd, "Option5", "Text6", QStringLiteral("90"));
        clickOn(xd, "Command1");
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
        QCOMPARE(xd->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("100"));
        QCOMPARE(tableTexts(xd), table);
        QCOMPARE(textOf(xd, "Label95"), drop);
        QVERIFY(shown(xd, "Label97"));
        QVERIFY(!shown(xd, "Frame7"));
    }
};

QTEST_MAIN(LowPressureScreenTest)
#include "tst_low_pressure_screen.moc"
