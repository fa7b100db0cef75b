#pragma once

#include <QString>

namespace ctl {

// The text as a single-line field keeps it: every line break (CR LF, CR, LF, vertical tab,
// form feed, next line, line separator, paragraph separator) and every tab becomes one blank,
// so that nothing a field shows or prints starts a new line. When `position` is given it is
// moved along, so that it stays before the same character.
QString singleLine(const QString &text, int *position = nullptr);

} // namespace ctl
