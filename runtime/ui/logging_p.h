#pragma once

#include <QLoggingCategory>

namespace rt {

Q_DECLARE_LOGGING_CATEGORY(lcRuntimeUi)

} // namespace rt
