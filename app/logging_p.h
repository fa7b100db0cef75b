#pragma once

#include <QLoggingCategory>

namespace app {

// The application's log, "telekado.app".
Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace app
