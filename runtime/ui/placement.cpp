#include "runtime/ui/placement.h"

#include "logging_p.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace rt {

QRect centredFrame(const QRect &over, const QSize &frameSize, const QRect &workArea)
{
    QRect r(QPoint(), frameSize);
    r.moveCenter(over.center());
    r.moveRight(std::min(r.right(), workArea.right()));
    r.moveBottom(std::min(r.bottom(), workArea.bottom()));
    r.moveLeft(std::max(r.left(), workArea.left()));
    r.moveTop(std::max(r.top(), workArea.top()));
    return r;
}

QMargins frameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

QWidget *workingWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    QWidget *shown = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() != Qt::Window)
            continue;
        if (shown)
            return nullptr; // no telling which
        shown = w;
    }
    return shown;
}

namespace {

class OwnerCentring : public QObject
{
public:
    explicit OwnerCentring(QWidget *dialog) : QObject(dialog) { dialog->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || m_delivering || watched != parent())
            return false;
        auto *dialog = static_cast<QWidget *>(watched);
        // The dialog handles its show event first: a message box takes its final size there.
        // The window is mapped only after this returns, so it appears in its place at once.
        m_delivering = true;
        QCoreApplication::sendEvent(dialog, event);
        m_delivering = false;
        place(dialog);
        return true;
    }

private:
    static void place(QWidget *dialog)
    {
        QWidget *owner = dialog->parentWidget() ? dialog->parentWidget()->window() : workingWindow();
        if (!owner || owner == dialog || !owner->isVisible())
            return; // the platform's placement stands
        QScreen *screen = owner->screen();
        if (!screen) {
            qCDebug(lcRuntimeUi, "the owner of a dialog is on no screen: the platform places it");
            return;
        }
        QMargins frame = frameMargins(dialog);
        if (frame.isNull())
            frame = frameMargins(owner);
        const QRect outer =
            centredFrame(owner->frameGeometry(), dialog->size().grownBy(frame), screen->availableGeometry());
        // Placed by its client area: before the frame exists the platform could not tell the two apart.
        dialog->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), dialog->size()));
    }

    bool m_delivering = false;
};

} // namespace

void centreOverOwner(QWidget *dialog)
{
    new OwnerCentring(dialog);
}

} // namespace rt
