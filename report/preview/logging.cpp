#include "report/preview/logging_p.h"

namespace rep {

Q_LOGGING_CATEGORY(lcPreview, "telekado.report.preview")

} // namespace rep
