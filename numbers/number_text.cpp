#include "number_text.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A decimal text that the grammar below has accepted ("-12.5e3", ".5", "5."),
// correctly rounded and independent of the locale. Past the double range it is
// ±HUGE_VAL (the non-finite message of the screens); below it, a signed zero.
// magnitude10 is the decimal exponent of the first significant digit.
double convertDecimal(const std::string &text, long long magnitude10)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const bool negative = text.front() == '-';
        value = magnitude10 >= 0 ? HUGE_VAL : 0.0;
        return negative ? -value : value;
    }
    return value;
}

// Mantissa digits (without trailing zeros) and decimal exponent of a finite
// value, rounded to the given number of significant digits.
struct Decomposed
{
    std::array<char, 32> digits{};
    int count = 0;
    int exponent = 0;
};

template<typename Float>
Decomposed decompose(Float value, int digits)
{
    std::array<char, 64> buffer{};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, digits - 1);
    Decomposed d;
    const char *e = std::find(buffer.data(), result.ptr, 'e');
    const char *exponentStart = e + 1;
    if (exponentStart < result.ptr && *exponentStart == '+')
        ++exponentStart;
    std::from_chars(exponentStart, result.ptr, d.exponent);
    for (const char *c = buffer.data(); c < e; ++c) {
        if (*c >= '0' && *c <= '9')
            d.digits[std::size_t(d.count++)] = *c;
    }
    while (d.count > 1 && d.digits[std::size_t(d.count - 1)] == '0')
        --d.count;
    return d;
}

// A short text built in place, without allocating.
class Text
{
public:
    void add(char c) { m_chars[std::size_t(m_size++)] = c; }
    void add(const char *chars, int count)
    {
        for (int i = 0; i < count; ++i)
            add(chars[i]);
    }
    void repeat(char c, int count)
    {
        for (int i = 0; i < count; ++i)
            add(c);
    }
    QString toString() const { return QString::fromLatin1(m_chars.data(), m_size); }

private:
    std::array<char, 96> m_chars{};
    int m_size = 0;
};

template<typename Float>
QString formatGeneral(Float value, int digits, int largeExponent)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0)
        return QStringLiteral("0");

    const Decomposed d = decompose(std::fabs(value), digits);
    const int exponent = d.exponent;
    Text out;
    if (value < 0)
        out.add('-');
    if (exponent < -4 || exponent >= largeExponent) {
        out.add(d.digits[0]);
        if (d.count > 1) {
            out.add('.');
            out.add(d.digits.data() + 1, d.count - 1);
        }
        out.add('E');
        out.add(exponent < 0 ? '-' : '+');
        const int magnitude = std::abs(exponent);
        if (magnitude < 10)
            out.add('0');
        std::array<char, 8> number{};
        const auto end = std::to_chars(number.data(), number.data() + number.size(), magnitude).ptr;
        out.add(number.data(), int(end - number.data()));
    } else if (exponent < 0) {
        out.add("0.", 2);
        out.repeat('0', -exponent - 1);
        out.add(d.digits.data(), d.count);
    } else {
        const int integerDigits = exponent + 1;
        if (d.count <= integerDigits) {
            out.add(d.digits.data(), d.count);
            out.repeat('0', integerDigits - d.count);
        } else {
            out.add(d.digits.data(), integerDigits);
            out.add('.');
            out.add(d.digits.data() + integerDigits, d.count - integerDigits);
        }
    }
    return out.toString();
}

} // namespace

NumberRead readLeadingNumber(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto isBlank = [&text](qsizetype k) { return text[k] == u' ' || text[k] == u'\t'; };
    while (i < n && isBlank(i))
        ++i;
    // Whether nothing but blanks follows position k.
    auto restBlank = [&](qsizetype k) {
        while (k < n && isBlank(k))
            ++k;
        return k == n;
    };
    if (i == n)
        return {0.0, true};

    std::string number;
    if (text[i] == u'+' || text[i] == u'-') {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }

    bool anyDigit = false;
    bool point = false;
    // For the decimal exponent of the first significant digit: the integer digits
    // from the first non-zero one, or the zeros after the point before it.
    long long integerDigits = 0;
    long long fractionZeros = 0;
    bool significant = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            anyDigit = true;
            number += static_cast<char>(c.unicode());
            significant = significant || c != u'0';
            if (!point && significant)
                ++integerDigits;
            else if (point && !significant)
                ++fractionZeros;
        } else if (c == u'.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!anyDigit)
        return {0.0, false};
    long long magnitude10 = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);

    // The exponent counts only when at least one digit follows it ("1e" is 1).
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        bool negativeExponent = false;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            negativeExponent = text[j] == u'-';
            exponent += static_cast<char>(text[j].unicode());
            ++j;
        }
        const qsizetype firstDigit = j;
        long long written = 0;
        while (j < n && isDigit(text[j])) {
            exponent += static_cast<char>(text[j].unicode());
            written = std::min(written * 10 + (text[j].unicode() - u'0'), 1LL << 40);
            ++j;
        }
        if (j > firstDigit) {
            number += exponent;
            magnitude10 += negativeExponent ? -written : written;
            i = j;
        }
    }
    return {convertDecimal(number, magnitude10), restBlank(i)};
}

QString readAsText(const QString &text)
{
    const NumberRead read = readLeadingNumber(text);
    return read.whole ? QString() : formatNumber(read.value);
}

double parseLeadingNumber(const QString &text)
{
    return readLeadingNumber(text).value;
}

QString formatNumber(double value)
{
    return formatGeneral(value, 15, 15);
}

QString formatSignificant(double value, int digits)
{
    return formatGeneral(value, digits, digits);
}

QString withDigits(const QString &text, int digits)
{
    if (digits >= 15 || text.trimmed().isEmpty())
        return text;
    const NumberRead read = readLeadingNumber(text);
    return read.whole && std::isfinite(read.value) ? formatSignificant(read.value, digits) : text;
}

QString formatShortest(double value)
{
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

void appendShortest(QByteArray &out, double value)
{
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    out.append(buffer.data(), end - buffer.data());
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
