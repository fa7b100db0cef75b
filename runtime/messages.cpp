#include "runtime/messages.h"

#include "runtime/errors.h"
#include "logging_p.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace rt {

namespace {
MessageHandler &handlerInstance()
{
    static MessageHandler h;
    return h;
}
} // namespace

void showMessage(const Message &message)
{
    if (const MessageHandler &h = handlerInstance()) {
        h(message);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", message.caption.toLocal8Bit().constData(),
                 message.text.toLocal8Bit().constData());
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    MessageHandler old = std::move(handlerInstance());
    handlerInstance() = std::move(handler);
    return old;
}

QString applicationTitle()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return QStringLiteral("telekado");
    return QFileInfo(path).completeBaseName();
}

namespace {
// The box the default error display shows for an error; nothing for a silent abort.
std::optional<Message> errorMessage(const std::exception &error)
{
    if (dynamic_cast<const EAbort *>(&error))
        return std::nullopt;
    QString text;
    if (auto *e = dynamic_cast<const Exception *>(&error))
        text = e->message();
    else
        text = QString::fromLocal8Bit(error.what());
    return Message{applicationTitle(), displayMessage(text), Message::Icon::Stop};
}
} // namespace

void showException(const std::exception &error)
{
    if (const std::optional<Message> m = errorMessage(error))
        showMessage(*m);
}

void showExceptionLater(const std::exception &error)
{
    const std::optional<Message> m = errorMessage(error);
    if (!m)
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        qCDebug(lcRuntime, "no event loop to wait for: the error is shown at once");
        showMessage(*m);
        return;
    }
    QMetaObject::invokeMethod(app, [message = *m] { showMessage(message); }, Qt::QueuedConnection);
}

} // namespace rt
