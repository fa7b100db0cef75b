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

// What a number text holds, found without converting it.
struct FloatScan
{
    bool valid = false; // the text has the form StrToFloat reads
    bool negative = false;
    bool zero = true; // no mantissa digit other than 0
    // For a non-zero value: value = ±0.d… × 10^magnitude with d != 0. An exponent of more than
    // 15 digits (leading zeros not counted) counts as ±10^15.
    long long magnitude = 0;
};

// Reads the text as StrToFloat does: blanks, a sign, digits with at most one decimal separator
// (from formatSettings()), "E" or "e" with a sign and digits, blanks.
FloatScan scanFloat(QStringView text);

// How a non-zero value of a decimal magnitude fits the extended type: all such values convert
// (below the range to 0), none does, or, in the decade of the largest value, the digits decide.
enum class MagnitudeFit { Converts, Overflows, DigitsDecide };
MagnitudeFit magnitudeFit(long long magnitude);

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
// The same for the integer part of a number text ("-1234,5" gives "-1.234,5"): a leading "-"
// and everything from the decimal separator (formatSettings()) on stay as they are, and a text
// in exponent form comes back unchanged.
QString groupThousands(QStringView number, QChar separator);

} // namespace rt
