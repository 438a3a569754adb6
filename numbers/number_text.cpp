#include "number_text.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// strtod under the "C" locale: correctly rounded, gives ±HUGE_VAL past the
// double range and 0 or a subnormal below it. It only ever sees text that
// the grammar below has already accepted.
double convertDecimal(const std::string &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

// Mantissa digits and decimal exponent of a finite value, rounded to the given
// number of significant digits.
template<typename Float>
void decompose(Float value, int digits, std::string &mantissa, int &exponent)
{
    std::array<char, 64> buffer{};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, digits - 1);
    const std::string text(buffer.data(), result.ptr);
    const auto e = text.find('e');
    exponent = std::stoi(text.substr(e + 1));
    mantissa.clear();
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            mantissa += text[i];
    }
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
}

template<typename Float>
QString formatGeneral(Float value, int digits, int largeExponent)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0)
        return QStringLiteral("0");

    std::string mantissa;
    int exponent = 0;
    decompose(std::fabs(value), digits, mantissa, exponent);

    std::string out = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= largeExponent) {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += '.';
            out += mantissa.substr(1);
        }
        out += 'E';
        out += exponent < 0 ? '-' : '+';
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (exponent < 0) {
        out += "0.";
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        out += mantissa;
    } else {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= integerDigits) {
            out += mantissa;
            out += std::string(integerDigits - mantissa.size(), '0');
        } else {
            out += mantissa.substr(0, integerDigits);
            out += '.';
            out += mantissa.substr(integerDigits);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

} // namespace

double parseLeadingNumber(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }

    bool anyDigit = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            number += static_cast<char>(c.unicode());
        } else if (c == u'.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;

    // The exponent counts only when at least one digit follows it ("1e" is 1).
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += static_cast<char>(text[j].unicode());
            ++j;
        }
        const qsizetype firstDigit = j;
        while (j < n && isDigit(text[j])) {
            exponent += static_cast<char>(text[j].unicode());
            ++j;
        }
        if (j > firstDigit)
            number += exponent;
    }
    return convertDecimal(number);
}

QString formatNumber(double value)
{
    return formatGeneral(value, 15, 15);
}

QString formatSingle(float value)
{
    return formatGeneral(value, 7, 7);
}

float toSingle(double value)
{
    const double magnitude = std::fabs(value);
    if (std::isnan(value) || magnitude <= double(FLT_MAX))
        return static_cast<float>(value);
    // Half a unit in the last place above FLT_MAX still rounds down to it.
    const double overflowBound = double(FLT_MAX) + std::ldexp(1.0, 103);
    const float rounded = magnitude < overflowBound ? FLT_MAX : std::numeric_limits<float>::infinity();
    return value < 0 ? -rounded : rounded;
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}
