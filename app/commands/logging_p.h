#pragma once

#include <QLoggingCategory>

namespace app {

// The log of the window's commands' part, "telekado.app.commands".
Q_DECLARE_LOGGING_CATEGORY(lcCommands)

} // namespace app
