#pragma once

#include <QString>

#include <functional>

namespace rt {

// A message box request. Engine code that must tell the user something goes through
// showMessage so that it needs no widgets and tests can record what would be shown.
struct Message
{
    enum class Icon { None, Information, Warning, Stop };
    QString caption;
    QString text;
    Icon icon = Icon::Stop;
};

using MessageHandler = std::function<void(const Message &)>;

// Shows the message through the installed handler (stderr when none is installed).
void showMessage(const Message &message);
// Installs a handler and returns the previous one.
MessageHandler setMessageHandler(MessageHandler handler);

// The application title: the executable's file name without its extension.
QString applicationTitle();

// The default error display: the error's message, with its full stop, in a box
// captioned with the application title. A silent abort shows nothing.
void showException(const std::exception &error);

} // namespace rt
