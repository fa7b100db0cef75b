#include "runtime/logging_p.h"

namespace rt {

Q_LOGGING_CATEGORY(lcRuntime, "telekado.runtime", QtInfoMsg)

} // namespace rt
