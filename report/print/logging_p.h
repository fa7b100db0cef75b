#pragma once

#include <QLoggingCategory>

namespace rep {

// The printers' and the print dialog's log, "telekado.report.print".
Q_DECLARE_LOGGING_CATEGORY(lcPrint)

} // namespace rep
