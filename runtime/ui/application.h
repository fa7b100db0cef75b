#pragma once

#include <QApplication>

namespace rt {

// The application object. Qt's event loop cannot carry exceptions, so every event is
// delivered inside a try block here: an error leaving any handler is shown by the default
// error display and the program goes on. It also installs the fonts the windows were
// designed with (loadDesignFonts).
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Installs the message handler that shows rt::Message as a QMessageBox with an OK button.
void installMessageBoxHandler();

} // namespace rt
