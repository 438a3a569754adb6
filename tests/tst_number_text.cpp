#include "number_text.h"

#include <QTest>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <limits>

class NumberTextTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A locale with a decimal comma must change nothing.
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }

    void parseTakesTheLongestLeadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("plain integer") << "2500" << 2500.0;
        QTest::newRow("decimal") << "0.72" << 0.72;
        QTest::newRow("exponent without digits is ignored") << "1e" << 1.0;
        QTest::newRow("exponent sign without digits is ignored") << "1e+" << 1.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("signed point exponent") << "-.5e1" << -5.0;
        QTest::newRow("leading blanks then trailing text") << "  12abc" << 12.0;
        QTest::newRow("leading tab") << "\t7" << 7.0;
        QTest::newRow("blank ends the number") << "1 2" << 1.0;
        QTest::newRow("second point ends the number") << "1.2.3" << 1.2;
        QTest::newRow("explicit plus") << "+3" << 3.0;
        QTest::newRow("capital exponent") << "1.5E-5" << 1.5e-5;
        QTest::newRow("point then digits") << ".25" << 0.25;
        QTest::newRow("digits then point") << "4." << 4.0;
        QTest::newRow("text only") << "abc" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("two signs") << "+-3" << 0.0;
        QTest::newRow("inf is not a number") << "inf" << 0.0;
        QTest::newRow("nan is not a number") << "nan" << 0.0;
        QTest::newRow("hexadecimal stops at x") << "0x1A" << 0.0;
        QTest::newRow("decimal comma stops the number") << "1,5" << 1.0;
        QTest::newRow("full-width digits are not digits") << "１２" << 0.0;
        QTest::newRow("blank between sign and digits") << "- 3" << 0.0;
        QTest::newRow("negative zero") << "-0" << 0.0;
        QTest::newRow("largest double") << "1.7976931348623157e308" << DBL_MAX;
        QTest::newRow("below the double range") << "1e-400" << 0.0;
        QTest::newRow("subnormal") << "1e-320" << 1e-320;
        QTest::newRow("long digit string") << QString(400, QLatin1Char('1')).prepend("0.") << 0.11111111111111111;
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("beyond the double range gives infinity") << "1e400" << inf;
        QTest::newRow("minus beyond the double range gives minus infinity") << "-1e400" << -inf;
        QTest::newRow("long digit string beyond the double range") << QString(400, QLatin1Char('9')) << inf;
    }

    void parseTakesTheLongestLeadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(parseLeadingNumber(text), expected);
    }

    // What a field not read whole is marked as; a text read whole (blanks aside) has no mark.
    void readAsNamesTheNumberOfATextNotReadWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readAs");
        QTest::newRow("thousands with a blank") << "12 000"
                                                << "12";
        QTest::newRow("thousands with a comma") << "1,200"
                                                << "1";
        QTest::newRow("a unit after the number") << "2500kPa"
                                                 << "2500";
        QTest::newRow("letters") << "abc"
                                 << "0";
        QTest::newRow("full-width digits") << "１２"
                                           << "0";
        QTest::newRow("a second point") << "1.2.3"
                                        << "1.2";
        QTest::newRow("blanks around") << " 12\t"
                                       << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks only") << "  "
                                     << "";
        QTest::newRow("exponent") << "1.5E-5"
                                  << "";
        QTest::newRow("beyond the double range is read whole") << "1e400"
                                                               << "";
    }

    void readAsNamesTheNumberOfATextNotReadWhole()
    {
        QFETCH(QString, text);
        QFETCH(QString, readAs);
        QCOMPARE(readAsText(text), readAs);
    }

    void fourSignificantDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("thousands") << 1234.4 << "1234";
        QTest::newRow("tens") << 12.345678 << "12.35";
        QTest::newRow("small") << 0.00123456 << "0.001235";
        QTest::newRow("large") << 12345678.0 << "1.235E+07";
        QTest::newRow("below the positional range") << 0.00001234 << "1.234E-05";
    }

    void fourSignificantDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(formatSignificant(value, 4), expected);
        QCOMPARE(withDigits(formatNumber(value), 4), expected);
        QCOMPARE(formatSignificant(value, 15), formatNumber(value));
    }

    void parseKeepsTheSignOfNegativeZero() { QVERIFY(std::signbit(parseLeadingNumber(QStringLiteral("-0")))); }

    void displayShowsFifteenSignificantDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole number") << 50.0 << "50";
        QTest::newRow("fifteen digits") << 15719.020002413667 << "15719.0200024137";
        QTest::newRow("small exponent form") << 8.17278062870177e-06 << "8.17278062870177E-06";
        QTest::newRow("exponent at 1E15") << 1e15 << "1E+15";
        QTest::newRow("largest positional") << 999999999999999.0 << "999999999999999";
        QTest::newRow("rounds up into exponent form") << 999999999999999.9 << "1E+15";
        QTest::newRow("smallest positional") << 0.0001 << "0.0001";
        QTest::newRow("just below positional") << 0.00009999 << "9.999E-05";
        QTest::newRow("negative") << -69.3567 << "-69.3567";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("half") << 2.5 << "2.5";
        QTest::newRow("binary fraction") << 0.1 << "0.1";
        QTest::newRow("third") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("three-digit exponent") << 1e-300 << "1E-300";
        QTest::newRow("largest double") << DBL_MAX << "1.79769313486232E+308";
        QTest::newRow("smallest subnormal") << 4.9406564584124654e-324 << "4.94065645841247E-324";
        QTest::newRow("negative exponent form") << -6.25440461773085e-08 << "-6.25440461773085E-08";
    }

    void displayShowsFifteenSignificantDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value), expected);
    }

    void singleDisplayShowsSevenSignificantDigits_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven digits") << 1057.72937f << "1057.729";
        QTest::newRow("standard size") << 25.0f << "25";
        QTest::newRow("float of a tenth") << 0.1f << "0.1";
        QTest::newRow("large") << 12345678.0f << "1.234568E+07";
    }

    void singleDisplayShowsSevenSignificantDigits()
    {
        QFETCH(float, value);
        QFETCH(QString, expected);
        QCOMPARE(formatSingle(value), expected);
    }

    void singleRoundingFollowsIeee_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("expected");
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("largest float") << double(FLT_MAX) << FLT_MAX;
        QTest::newRow("just above the largest float rounds down") << double(FLT_MAX) * (1 + 1e-9) << FLT_MAX;
        QTest::newRow("3.5e38 overflows") << 3.5e38 << inf;
        QTest::newRow("1e39 overflows") << 1e39 << inf;
        QTest::newRow("negative overflow") << -1e39 << -inf;
        QTest::newRow("below the float range") << 1e-50 << 0.0f;
        QTest::newRow("ordinary") << 0.72 << 0.72f;
    }

    void singleRoundingFollowsIeee()
    {
        QFETCH(double, value);
        QFETCH(float, expected);
        QCOMPARE(toSingle(value), expected);
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "tst_number_text.moc"
