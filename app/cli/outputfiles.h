#pragma once

#include "declaration/draftfile.h"

#include <QString>

namespace app {

// Writes the draft as a declaration file in folder under the first free name of the series
// "stem.tkd", "stem (2).tkd", …: through a file of its own that is renamed into place, since a
// rename never replaces a file that appeared meanwhile (another run writing into the same folder).
// Returns the name written, or an empty string with the reason; nothing half-written stays.
QString writeDraftUnder(const QString &folder, const QString &stem, const decl::Draft &draft, QString *error);

// A value made fit to name a file: no folder separators, control characters or characters other
// systems refuse, no leading dot, no blanks at the ends, at most 100 characters; empty for a
// value with nothing left.
QString safeFileStem(const QString &value);

} // namespace app
