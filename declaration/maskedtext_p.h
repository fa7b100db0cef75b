#pragma once

#include "declaration/catalogue.h"

#include <QChar>
#include <QStringView>

namespace decl {

// The blank character of the form's masked fields.
inline constexpr char16_t maskBlank = u'*';

// A digit 0-9; other scripts' digits are no digits of a tax number or a year.
inline bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The mask of a masked field kind, empty for the other kinds.
QStringView maskOf(FieldKind kind);

// The masked edits' validity rule for the form's two masks: the text is not longer than the
// pattern, an "8" position holds a digit, a space or the blank, a literal position its literal
// or the blank. A shorter text is valid, as it is for the control.
bool fitsMask(QStringView text, FieldKind kind);

} // namespace decl
