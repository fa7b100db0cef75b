#include "report/engine/reportdocument.h"

#include "engine_p.h"

namespace rep {

ReportDocument::ReportDocument()
{
    m_report.SetEngine(std::make_unique<TrepEngine>(m_report, m_pages));
}

} // namespace rep
