#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QScreen;
class QWidget;

namespace app {

// Whether the platform tells programs a usable work area (X11 does, Wayland does not).
bool platformHasWorkArea();

// Keeps a top-level window, frame included, on the work area of its screen: when it is shown,
// when the window manager has put its frame around it, when the work area or the screen
// changes, and whenever the window is moved or resized by anyone else. Where the platform has
// no work area, the window is maximised instead.
class WorkAreaFollower : public QObject
{
    Q_OBJECT
public:
    explicit WorkAreaFollower(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    void schedule();
    void watchWindowHandle();
    void watchScreen(QScreen *screen);

    QWidget *m_window;
    QPointer<QScreen> m_screen;
    QMetaObject::Connection m_workAreaConnection;
    bool m_watchingHandle = false;
    bool m_pending = false;
    bool m_exposed = false;
    // A window manager that keeps refusing the rectangle is not asked for ever.
    int m_attempts = 0;
    QRect m_lastTarget;
};

} // namespace app
