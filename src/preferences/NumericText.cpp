#include "NumericText.h"
#include <cmath>
#include <limits>

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexDigit(QChar c)
{
    if (isDigit(c))
        return c.unicode() - '0';
    const char16_t lower = c.toLower().unicode();
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// "&H" digits [&]. Up to four digits without the trailing "&" form a 16-bit
// literal, anything else a 32-bit one, so "&HFFFF" is -1 and "&HFFFF&" is
// 65535. Wider values come back unsigned and fail the later range check.
std::optional<double> hexValue(QStringView body)
{
    const bool longForm = body.endsWith(QLatin1Char('&'));
    if (longForm)
        body.chop(1);
    if (body.isEmpty())
        return std::nullopt;
    double magnitude = 0;
    for (QChar c : body) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * 16 + digit;
    }
    if (!longForm && body.size() <= 4)
        return double(int16_t(uint16_t(magnitude)));
    if (magnitude <= double(std::numeric_limits<uint32_t>::max()))
        return double(int32_t(uint32_t(magnitude)));
    return magnitude;
}

// [sign] digits [. digits] [e [sign] digits], at least one mantissa digit.
bool isDecimal(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipDigits = [&] {
        const qsizetype start = i;
        while (i < n && isDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype mantissaDigits = skipDigits();
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        mantissaDigits += skipDigits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        if (skipDigits() == 0)
            return false;
    }
    return i == n;
}

template <typename Integer>
Integer toInteger(const QString &text)
{
    const std::optional<double> number = NumericText::value(text);
    if (!number)
        throw ConversionError{QStringLiteral("Type mismatch")};
    // nearbyint rounds ties to even in the default rounding mode.
    const double rounded = std::nearbyint(*number);
    if (!(rounded >= std::numeric_limits<Integer>::min() && rounded <= std::numeric_limits<Integer>::max()))
        throw ConversionError{QStringLiteral("Overflow")};
    return Integer(rounded);
}
}

std::optional<double> NumericText::value(const QString &text)
{
    QStringView trimmed(text);
    while (!trimmed.isEmpty() && isBlank(trimmed.front()))
        trimmed = trimmed.mid(1);
    while (!trimmed.isEmpty() && isBlank(trimmed.back()))
        trimmed.chop(1);
    if (trimmed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return hexValue(trimmed.mid(2));
    if (!isDecimal(trimmed))
        return std::nullopt;
    // Locale-independent; a value beyond double's range comes back as an
    // infinity (or 0 when too small), which is what the range check wants.
    return trimmed.toDouble();
}

bool NumericText::isNumeric(const QString &text)
{
    return value(text).has_value();
}

int16_t NumericText::toInt16(const QString &text)
{
    return toInteger<int16_t>(text);
}

int32_t NumericText::toInt32(const QString &text)
{
    return toInteger<int32_t>(text);
}
