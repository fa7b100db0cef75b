#pragma once

#include <QLoggingCategory>

namespace app {

// The log of the main window's part, "telekado.app.window".
Q_DECLARE_LOGGING_CATEGORY(lcWindow)

} // namespace app
