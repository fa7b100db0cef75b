#include "logging_p.h"

namespace app {

Q_LOGGING_CATEGORY(lcWindow, "telekado.app.window")

} // namespace app
