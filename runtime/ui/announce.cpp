#include "runtime/ui/announce.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace rt {

namespace {

// How long a told message stays in the tree: long enough for a reader to fetch its text after
// the event, short enough that the window does not gather them.
constexpr int keptMs = 15000;

class Notification : public QWidget
{
public:
    Notification(QWidget *parent, const QString &message) : QWidget(parent)
    {
        setObjectName(QStringLiteral("announcement"));
        setAccessibleName(message);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Not drawn and taking no room: a sighted user sees nothing.
        setGeometry(0, 0, 1, 1);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }
};

class NotificationInterface : public QAccessibleWidget
{
public:
    explicit NotificationInterface(QWidget *w) : QAccessibleWidget(w, QAccessible::Notification) {}
};

QAccessibleInterface *notificationFactory(const QString &, QObject *object)
{
    if (auto *w = dynamic_cast<Notification *>(object))
        return new NotificationInterface(w);
    return nullptr;
}

} // namespace

void announce(QWidget *window, const QString &message)
{
    if (!window || message.isEmpty() || !QAccessible::isActive())
        return;
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
    QPointer<Notification> n = new Notification(window, message);
    QTimer::singleShot(0, n, [n] {
        if (!n)
            return;
        n->lower();
        n->show();
        QTimer::singleShot(keptMs, n, [n] {
            if (n)
                n->deleteLater();
        });
    });
}

} // namespace rt
