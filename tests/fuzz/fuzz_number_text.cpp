// libFuzzer target for the leading-number parse and the number display.
// The input is read twice: as UTF-8 text typed into a text box, and (its first
// eight or four bytes) as a double or float whose display must keep its rules.
// Built and run by run_fuzz.sh; any broken rule aborts with the offending case.

#include "number_text.h"

#include <QString>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void fail(const char *rule, double value, const QString &text)
{
    std::fprintf(stderr, "broken rule: %s\n  value %.17g (%a)\n  text \"%s\"\n", rule, value, value,
                 text.toUtf8().constData());
    std::abort();
}

// The display is exactly what the parse reads in full: an optional minus, digits
// with at most one point, then an optional "E+dd"/"E-ddd". Gives the number of
// significant digits shown (leading zeros do not count), or -1 for another shape.
int significantDigits(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text[i] == u'-')
        ++i;
    int digits = 0;
    bool leading = true;
    bool point = false;
    bool any = false;
    for (; i < n && text[i] != u'E'; ++i) {
        const QChar c = text[i];
        if (c == u'.' && !point) {
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            any = true;
            if (c != u'0')
                leading = false;
            if (!leading)
                ++digits;
        } else {
            return -1;
        }
    }
    if (!any || text[i - 1] == u'.')
        return -1;
    if (i < n) {
        const qsizetype sign = i + 1;
        if (sign >= n || (text[sign] != u'+' && text[sign] != u'-'))
            return -1;
        const qsizetype exponentDigits = n - (sign + 1);
        if (exponentDigits < 2 || exponentDigits > 3)
            return -1;
        for (qsizetype j = sign + 1; j < n; ++j) {
            if (text[j] < u'0' || text[j] > u'9')
                return -1;
        }
    }
    return digits;
}

// formatNumber keeps at most 15 significant digits, never shows an infinity or
// NaN for a finite value, and its text reads back to the value within the
// rounding to 15 digits (half a unit in the 15th digit, at most 5e-15 relative),
// plus the parse's own rounding, which below the normal range is absolute.
void checkDisplay(double value)
{
    if (!std::isfinite(value))
        return;
    const QString text = formatNumber(value);
    const int digits = significantDigits(text);
    if (digits < 0)
        fail("display is a plain decimal or E-form number", value, text);
    if (digits > 15)
        fail("display keeps at most 15 significant digits", value, text);

    const double back = parseLeadingNumber(text);
    if (std::isinf(back)) {
        // Within half a unit of the 15th digit below the largest double the
        // display rounds up to "1.79769313486232E+308", beyond the double range.
        if (std::fabs(value) >= 1.797693134862315e308 && std::signbit(back) == std::signbit(value))
            return;
        fail("display of a finite value reads back as finite", value, text);
    }
    const double error = std::fabs(back - value);
    if (error > 5.2e-15 * std::fabs(value) + DBL_TRUE_MIN)
        fail("display reads back within 15-digit rounding", value, text);
    if (value != 0 && std::signbit(back) != std::signbit(value))
        fail("display keeps the sign", value, text);
}

// The same for formatSingle: 7 significant digits, read back within 5e-7.
void checkSingleDisplay(float value)
{
    if (!std::isfinite(value))
        return;
    const QString text = formatSingle(value);
    const int digits = significantDigits(text);
    if (digits < 0)
        fail("single display is a plain decimal or E-form number", value, text);
    if (digits > 7)
        fail("single display keeps at most 7 significant digits", value, text);
    const double back = parseLeadingNumber(text);
    if (std::fabs(back - double(value)) > 5.2e-7 * std::fabs(double(value)) + double(FLT_TRUE_MIN))
        fail("single display reads back within 7-digit rounding", value, text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A decimal comma in the C library's locale, where installed, must change nothing.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double parsed = parseLeadingNumber(text);
    if (std::isnan(parsed))
        fail("parse never gives NaN", parsed, text);
    checkDisplay(parsed);

    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkDisplay(value);
    }
    if (size >= sizeof(float)) {
        float value;
        std::memcpy(&value, data, sizeof value);
        checkSingleDisplay(value);
    }
    return 0;
}
