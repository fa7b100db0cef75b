#pragma once

#include <QString>

namespace rt {

// Text to integer: optional leading blanks and sign, decimal digits, 32-bit range. Throws
// EConvertError "'<text>' is not a valid integer value".
int StrToInt(const QString &text);

} // namespace rt
