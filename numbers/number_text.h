#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>

// The one way a text box becomes a number: leading blanks, an optional sign,
// digits with at most one decimal point, an optional exponent; the longest such
// prefix is taken and anything else gives 0. Independent of the locale.
double parseLeadingNumber(const QString &text);

// The number the rule reads, and whether it read the whole text (blanks before and
// after aside): "12 000", "1,200", "2500kPa" and "abc" are not read whole; an empty
// or blank text is (it is simply empty).
struct NumberRead
{
    double value = 0;
    bool whole = true;
};
NumberRead readLeadingNumber(const QString &text);
// The number a text is read as, in the display below, when the rule does not read
// all of it ("12 000" and "12,000": "12"; "abc": "0"); empty when it reads it whole
// or the text is blank.
QString readAsText(const QString &text);

// General decimal text of a double, at most 15 significant digits
// ("15719.0200024137", "8.17278062870177E-06", "50").
QString formatNumber(double value);
// The same display with fewer significant digits: 4 gives "1234", "12.35",
// "0.001235", "1.235E+07". 15 is formatNumber.
QString formatSignificant(double value, int digits);
// A text of a number in the display, shown again with fewer digits; other texts as they are.
QString withDigits(const QString &text, int digits);

// The shortest text that reads back as the same finite double ("0.1", "1e-07"), for
// files and the command line's JSON, where full precision counts.
QString formatShortest(double value);
// The same, appended to UTF-8 text being written.
void appendShortest(QByteArray &out, double value);

// The same for a single-precision value, at most 7 significant digits ("1057.729").
QString formatSingle(float value);

// Rounds to the nearest float as IEEE arithmetic does: beyond the float range the
// result is an infinity, never undefined behaviour.
float toSingle(double value);

// True when no value is an infinity or NaN.
bool allFinite(std::initializer_list<double> values);
