#include "declaration/logging_p.h"

namespace decl {

Q_LOGGING_CATEGORY(lcDeclaration, "telekado.declaration", QtInfoMsg)

} // namespace decl
