#pragma once

#include <QString>

class QWidget;

namespace rt {

// Tells a screen reader a message that is not the focused object's own: a result computed, a
// warning arising, the page a preview turned to. The message is shown to assistive technology as
// a notification inside `window` (readers speak a notification as it appears, after what they
// are saying); nothing is seen on the screen. It is shown once control returns to the event loop,
// so that a focus change made by the same key is spoken first. While no assistive technology
// listens nothing is created.
void announce(QWidget *window, const QString &message);

} // namespace rt
