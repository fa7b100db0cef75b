#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

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

// The same display, once control is back in the event loop: for errors caught inside an event
// handler (a focus change, a paint), where a modal box would run in the middle of Qt's dispatch.
void showExceptionLater(const std::exception &error);

// Runs the work of an event handler. An error leaving it is shown by showExceptionLater, so no
// exception ever unwinds through Qt's event dispatch. Returns false when the work failed.
template <typename Work>
bool runHandler(Work &&work) noexcept
{
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        showExceptionLater(e);
    } catch (...) {
        showExceptionLater(std::runtime_error("Unknown error"));
    }
    return false;
}

} // namespace rt
