#pragma once

#include <QLoggingCategory>

namespace rep {

// The page drawing's log, "telekado.report.render".
Q_DECLARE_LOGGING_CATEGORY(lcReportRender)

} // namespace rep
