#pragma once

// Answers the modal windows of the main window's commands, which block in their own event loop.

#include <QApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace tk::test {

// Answers the modal windows as they come up, one step each in order, and notes their classes;
// a window beyond the steps is closed. A step runs from a timer: it must not wait for the next
// window itself, since that opens only once the step's window has returned.
class ModalScript
{
public:
    using Step = std::function<void(QWidget *)>;
    explicit ModalScript(QList<Step> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == m_last || !modal->isVisible())
                return;
            m_last = modal;
            seen << QString::fromLatin1(modal->metaObject()->className());
            if (m_steps.isEmpty())
                modal->close();
            else
                m_steps.takeFirst()(modal);
        });
        m_timer.start();
    }
    QStringList seen;

private:
    QList<Step> m_steps;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};

} // namespace tk::test
