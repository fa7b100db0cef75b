#include "workareafollower_p.h"

#include "logging_p.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace app {

namespace {
constexpr int maxAttempts = 5;
} // namespace

bool platformHasWorkArea()
{
    // Wayland tells a program no work area: a screen's available geometry is the whole output,
    // panels included, and a window cannot place itself anyway.
    return !QGuiApplication::platformName().startsWith(QLatin1StringView("wayland"));
}

WorkAreaFollower::WorkAreaFollower(QWidget *window) : QObject(window), m_window(window)
{
    Q_ASSERT(window && window->isWindow());
    if (!platformHasWorkArea()) {
        // The compositor maximises a window within the space its panels leave.
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return;
    }
    window->installEventFilter(this);
}

bool WorkAreaFollower::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (watched == m_window) {
            watchWindowHandle();
            // Before the window is mapped, so that it appears in place.
            apply();
        }
        break;
    case QEvent::Expose:
        // The frame exists once the window manager shows the window: its extents are known now.
        m_exposed = true;
        schedule();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
        schedule();
        break;
    default:
        break;
    }
    return false;
}

void WorkAreaFollower::watchWindowHandle()
{
    QWindow *handle = m_window->windowHandle();
    if (!handle || m_watchingHandle)
        return;
    m_watchingHandle = true;
    handle->installEventFilter(this);
    connect(handle, &QWindow::screenChanged, this, [this](QScreen *screen) {
        watchScreen(screen);
        schedule();
    });
    watchScreen(handle->screen());
}

void WorkAreaFollower::watchScreen(QScreen *screen)
{
    if (screen == m_screen)
        return;
    disconnect(m_workAreaConnection);
    m_screen = screen;
    if (screen)
        m_workAreaConnection = connect(screen, &QScreen::availableGeometryChanged, this, &WorkAreaFollower::schedule);
}

void WorkAreaFollower::schedule()
{
    // Before the window manager has shown the window it is still taking it over: a rectangle
    // asked for then may be lost, and the frame's extents read then may be half known.
    if (!m_exposed)
        return;
    // Once per turn of the event loop, after the move or resize in progress has finished.
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        apply();
    });
}

void WorkAreaFollower::apply()
{
    // A window in another state is placed by the window manager.
    const Qt::WindowStates placedElsewhere = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (!m_window->isVisible() || (m_window->windowState() & placedElsewhere))
        return;
    QWindow *handle = m_window->windowHandle();
    QScreen *screen = handle ? handle->screen() : m_window->screen();
    if (!screen)
        return;
    // The frame (title bar, borders) is part of what fills the work area.
    const QRect target = screen->availableGeometry().marginsRemoved(handle ? handle->frameMargins() : QMargins());
    if (target != m_lastTarget) {
        m_lastTarget = target;
        m_attempts = 0;
    }
    if (m_window->geometry() == target) {
        m_attempts = 0;
        return;
    }
    if (++m_attempts > maxAttempts) {
        if (m_attempts == maxAttempts + 1)
            qCWarning(lcWindow, "the window does not stay on the work area; it is left where it is");
        return;
    }
    m_window->setGeometry(target);
}

} // namespace app
