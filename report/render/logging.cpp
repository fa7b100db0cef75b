#include "logging_p.h"

namespace rep {

Q_LOGGING_CATEGORY(lcReportRender, "telekado.report.render", QtInfoMsg)

} // namespace rep
