#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// The classic numeric-text rules of the stored preferences: decimal with
// optional sign, fraction and exponent, or "&H" hex digits with an optional
// trailing "&"; leading and trailing blanks allowed.
namespace NumericText {
bool isNumeric(const QString &text);
// The value, or nullopt when the text is not numeric.
std::optional<double> value(const QString &text);

// Conversions that round half to even; they throw ConversionError with the
// description "Type mismatch" for non-numeric text and "Overflow" for a
// value outside the field.
int16_t toInt16(const QString &text);
int32_t toInt32(const QString &text);
}

struct ConversionError {
    QString description;
};
