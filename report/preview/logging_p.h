#pragma once

#include <QLoggingCategory>

namespace rep {

// The preview window's log, "telekado.report.preview".
Q_DECLARE_LOGGING_CATEGORY(lcPreview)

} // namespace rep
