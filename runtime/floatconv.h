#pragma once

#include <QString>

namespace rt {

// A finite non-zero value as decimal digits: value = ±0.d1d2...dn × 10^exponent, d1 != 0.
// digits is empty for zero.
struct DecimalDigits
{
    QString digits;
    int exponent = 0;
    bool negative = false;
};

// The value rounded to `precision` significant digits (1..18), trailing zeros dropped.
// The value is first taken to 18 digits (to nearest, ties to even, as the processor's
// decimal store does) and that digit string is then rounded half up.
DecimalDigits toDecimal(long double value, int precision);

// Text to number in the locale's notation (decimal separator from formatSettings()).
// Throws EConvertError "'<text>' is not a valid floating point value".
long double StrToFloat(const QString &text);
// Same rules; false instead of the error.
bool TryStrToFloat(const QString &text, long double &value);

// General format, 15 significant digits: fixed for 1e-4 <= |v| < 1e15, otherwise scientific
// ("1E20", "1,5E-5"). Infinities and NaN are written "INF", "-INF" and "NAN".
QString FloatToStr(long double value);

// Fixed notation as a "0.00##" style format gives it: no grouping, at most maxFraction and at
// least minFraction fraction digits, `precision` significant digits at most. Values with more
// than 18 integer digits fall back to FloatToStr.
QString formatFixed(long double value, int maxFraction, int minFraction, int precision = 18);

// Puts the separator between groups of three digits counted from the right ("1234567" with "."
// gives "1.234.567"); the text must be digits only.
QString groupDigits(QStringView digits, QChar separator);

} // namespace rt
