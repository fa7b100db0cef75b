#include "app/logging_p.h"

namespace app {

Q_LOGGING_CATEGORY(lcApp, "telekado.app")

} // namespace app
