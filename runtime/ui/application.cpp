#include "runtime/ui/application.h"

#include "runtime/messages.h"
#include "runtime/ui/designfonts.h"
#include "logging_p.h"
#include "runtime/ui/placement.h"

#include <QMessageBox>
#include <QPushButton>

namespace rt {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    installMessageBoxHandler();
    loadDesignFonts();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        // Handlers catch their own errors (rt::runHandler); one that got this far was missed.
        qCWarning(lcRuntimeUi, "an error reached the event dispatch: %s", e.what());
        showException(e);
    } catch (...) {
        qCWarning(lcRuntimeUi, "an unknown error reached the event dispatch");
        showException(std::runtime_error("Unknown error"));
    }
    return true;
}

void installMessageBoxHandler()
{
    setMessageHandler([](const Message &m) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        switch (m.icon) {
        case Message::Icon::None: icon = QMessageBox::NoIcon; break;
        case Message::Icon::Information: icon = QMessageBox::Information; break;
        case Message::Icon::Warning: icon = QMessageBox::Warning; break;
        case Message::Icon::Stop: icon = QMessageBox::Critical; break;
        }
        // Owned by the window the user is working in, and centred over it.
        QMessageBox box(icon, m.caption, m.text, QMessageBox::Ok, rt::workingWindow());
        // Alt+O answers it as well as Enter and Esc.
        box.button(QMessageBox::Ok)->setText(QStringLiteral("&OK"));
        rt::centreOverOwner(&box);
        box.exec();
    });
}

} // namespace rt
