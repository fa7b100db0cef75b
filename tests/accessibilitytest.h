#pragma once

// Assistive technology as the tests see it: the platform's accessibility switched on, as a
// screen reader connecting switches it on, and every event the program sends recorded.
// Needs Qt6::GuiPrivate: Qt offers no public switch for this.

#include <QAccessible>
#include <QList>
#include <QStringList>
#include <QString>
#include <QVariant>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace tk::test {

// One event, with what its kind carries.
struct AccessibleEvent
{
    QAccessible::Event type = QAccessible::InvalidEvent;
    QObject *object = nullptr;
    int position = -1;      // where a text changed
    int cursor = -1;        // the caret after a text change, a caret move or a selection change
    QString removed;
    QString inserted;
    int selectionStart = -1;
    int selectionEnd = -1;
    QAccessible::State changed; // for state changes
    QVariant value;             // for value changes
    QString announced;          // what a notification that appeared tells
};

// Records the events from its construction until its destruction. One at a time.
class AccessibleEvents
{
public:
    AccessibleEvents()
    {
        Q_ASSERT(!current());
        current() = this;
        platform()->setActive(true);
        m_previous = QAccessible::installUpdateHandler(record);
    }
    ~AccessibleEvents()
    {
        QAccessible::installUpdateHandler(m_previous);
        platform()->setActive(false);
        current() = nullptr;
    }
    AccessibleEvents(const AccessibleEvents &) = delete;
    AccessibleEvents &operator=(const AccessibleEvents &) = delete;

    void clear() { m_events.clear(); }
    const QList<AccessibleEvent> &all() const { return m_events; }
    // The events of one kind about one object, in order.
    QList<AccessibleEvent> of(const QObject *object, QAccessible::Event type) const
    {
        QList<AccessibleEvent> r;
        for (const AccessibleEvent &e : m_events)
            if (e.object == object && e.type == type)
                r << e;
        return r;
    }
    // What the notifications that appeared told, in order.
    QStringList announcements() const
    {
        QStringList r;
        for (const AccessibleEvent &e : m_events)
            if (e.type == QAccessible::ObjectShow && !e.announced.isEmpty())
                r << e.announced;
        return r;
    }
    // The text changes of one object, of whichever kind.
    QList<AccessibleEvent> textChanges(const QObject *object) const
    {
        QList<AccessibleEvent> r;
        for (const AccessibleEvent &e : m_events)
            if (e.object == object
                && (e.type == QAccessible::TextInserted || e.type == QAccessible::TextRemoved
                    || e.type == QAccessible::TextUpdated))
                r << e;
        return r;
    }

private:
    static QPlatformAccessibility *platform()
    {
        QPlatformAccessibility *p = QGuiApplicationPrivate::platformIntegration()->accessibility();
        Q_ASSERT(p);
        return p;
    }
    static AccessibleEvents *&current()
    {
        static AccessibleEvents *c = nullptr;
        return c;
    }
    static void record(QAccessibleEvent *event)
    {
        AccessibleEvent e;
        e.type = event->type();
        e.object = event->object();
        switch (event->type()) {
        case QAccessible::TextInserted: {
            auto *t = static_cast<QAccessibleTextInsertEvent *>(event);
            e.position = t->changePosition();
            e.inserted = t->textInserted();
            e.cursor = t->cursorPosition();
            break;
        }
        case QAccessible::TextRemoved: {
            auto *t = static_cast<QAccessibleTextRemoveEvent *>(event);
            e.position = t->changePosition();
            e.removed = t->textRemoved();
            e.cursor = t->cursorPosition();
            break;
        }
        case QAccessible::TextUpdated: {
            auto *t = static_cast<QAccessibleTextUpdateEvent *>(event);
            e.position = t->changePosition();
            e.removed = t->textRemoved();
            e.inserted = t->textInserted();
            e.cursor = t->cursorPosition();
            break;
        }
        case QAccessible::TextCaretMoved:
            e.cursor = static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
            break;
        case QAccessible::TextSelectionChanged: {
            auto *t = static_cast<QAccessibleTextSelectionEvent *>(event);
            e.selectionStart = t->selectionStart();
            e.selectionEnd = t->selectionEnd();
            e.cursor = t->cursorPosition();
            break;
        }
        case QAccessible::StateChanged:
            e.changed = static_cast<QAccessibleStateChangeEvent *>(event)->changedStates();
            break;
        case QAccessible::ValueChanged:
            e.value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
            break;
        case QAccessible::ObjectShow:
            if (QAccessibleInterface *i = event->accessibleInterface(); i && i->role() == QAccessible::Notification)
                e.announced = i->text(QAccessible::Name);
            break;
        default:
            break;
        }
        current()->m_events << e;
    }

    QList<AccessibleEvent> m_events;
    QAccessible::UpdateHandler m_previous = nullptr;
};

} // namespace tk::test
