#pragma once

#include <QString>

namespace app {

class TForm1;

// Makes the main window usable with a screen reader and the keyboard alone: every field named
// after its screen caption in the catalogue (a repeated caption told apart by whose field it is),
// the computed values named after their rows, keys that lead into the radio groups, and
// controls that cannot be seen kept out of the focus chain.
void makeAccessible(TForm1 &form);

// The accessible name of a screen caption: the caption without its closing colon.
QString accessibleNameOf(const QString &screenCaption);

} // namespace app
