#pragma once

#include "report/model/types.h"

#include <QString>
#include <QVariant>

namespace rep {

// The plain value-to-text conversion: strings unchanged, integers in decimal, floating point in
// general format (15 digits, the locale's decimal separator), Booleans "True"/"False", date-times
// as the short date when the time is zero, the time when the date is zero, else both.
QString plainText(const QVariant &value);

// Formats a value by a display format; a format that cannot be applied gives the plain text.
QString formatValue(const QVariant &value, const TrepFormat &format);

// The per-value format after " #" in an expression: "N", "D"/"T", "B" or any other letter.
TrepFormat parseFormatSuffix(const QString &suffix);

// A number picture such as "#,##0.00" (the first section of "pos;neg;zero").
bool formatNumberPicture(double value, const QString &picture, const QString &decimalSeparator, QString &out);
// A printf-like pattern with one floating-point argument ("%2.2f", "%n", "%g", "%d").
bool formatNumberPattern(double value, const QString &pattern, const QString &decimalSeparator, QString &out);
// A date-time picture such as "dd.mm.yyyy hh:nn".
QString formatDateTimePicture(const QDateTime &value, const QString &picture);

bool isStringValue(const QVariant &value);
bool valueToNumber(const QVariant &value, double &number);
bool valueToBool(const QVariant &value, bool &result);

} // namespace rep
