#pragma once

#include <QString>

namespace rep {

// The built-in text of one of the engine's own messages (saving, printers, expressions), which
// the start-up table does not list; the key itself for any other key. An entry added to the
// table for such a key overrides it.
QString hungarianMessage(const QString &key);

} // namespace rep
