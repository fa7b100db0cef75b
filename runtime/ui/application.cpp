#include "runtime/ui/application.h"

#include "runtime/messages.h"
#include "runtime/ui/designfonts.h"

#include <QMessageBox>

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
        showException(e);
    } catch (...) {
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
        QMessageBox box(icon, m.caption, m.text, QMessageBox::Ok);
        box.exec();
    });
}

} // namespace rt
