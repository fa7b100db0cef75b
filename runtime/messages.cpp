#include "runtime/messages.h"

#include "runtime/errors.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

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

void showException(const std::exception &error)
{
    if (dynamic_cast<const EAbort *>(&error))
        return;
    QString text;
    if (auto *e = dynamic_cast<const Exception *>(&error))
        text = e->message();
    else
        text = QString::fromLocal8Bit(error.what());
    showMessage({applicationTitle(), displayMessage(text), Message::Icon::Stop});
}

} // namespace rt
