#include "report/print/logging_p.h"

namespace rep {

Q_LOGGING_CATEGORY(lcPrint, "telekado.report.print")

} // namespace rep
