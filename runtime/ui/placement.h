#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace rt {

// The frame of a window of frameSize centred over the rectangle over (an owner's frame, or a
// screen), moved as little as needed to lie wholly inside the work area; when it cannot fit,
// its top-left corner (the title bar) stays inside.
QRect centredFrame(const QRect &over, const QSize &frameSize, const QRect &workArea);

// The window manager's frame around a top-level window; null while it has none.
QMargins frameMargins(const QWidget *window);

// The window the user is working in, to own a dialog that has no opener of its own: the topmost
// modal window, else the active window, else the one visible main window. Without a keyboard
// (a Wayland compositor without a seat) no window is ever active.
QWidget *workingWindow();

// Each time the dialog is shown it opens centred, frame included, over the window that owns it:
// its parent's window, else the window active at that moment. A dialog that has never been shown
// has no frame yet; the owner's frame stands in for it.
void centreOverOwner(QWidget *dialog);

} // namespace rt
