#pragma once

class QWidget;

namespace rt {

// Makes every text under a window of designed, absolutely placed controls show whole with
// the fonts actually in use. A label, check box, radio button, push button or group box title
// whose text does not fit its designed box grows to it; the controls right of it in its row,
// and those below it, move along by the same amount, so nothing ends up covered; group boxes
// and the window grow to hold what they contain. The designed geometry is the minimum: nothing
// shrinks or moves when everything fits. Containers arranged by a QLayout are left to it.
// Call it once the texts are final (after localizing) and again when a text changes.
void growToTexts(QWidget *window);

} // namespace rt
