#pragma once

#include <QLoggingCategory>

namespace decl {

Q_DECLARE_LOGGING_CATEGORY(lcDeclaration)

} // namespace decl
