#pragma once

#include <QString>

namespace app {

// Installs Qt's own Hungarian texts (file dialogs, context menus, the command line's usage and
// errors, the page setup) into the application object, whatever the desktop's language: every
// text of the program itself is Hungarian. The file comes from folder, Qt's translations folder
// unless given. Without it Qt's texts stay English, and the absence is logged once. Returns
// whether the translation was installed.
bool installQtTranslation(const QString &folder = QString());

} // namespace app
