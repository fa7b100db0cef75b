#include "runtime/ui/logging_p.h"

namespace rt {

Q_LOGGING_CATEGORY(lcRuntimeUi, "telekado.runtime.ui", QtInfoMsg)

} // namespace rt
