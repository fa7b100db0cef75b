#include "logging_p.h"

namespace app {

Q_LOGGING_CATEGORY(lcCommands, "telekado.app.commands")

} // namespace app
