#pragma once

#include "report/model/report.h"
#include "report/pages/previewpages.h"

namespace rep {

// A report as a window holds it: the template (the object model alone), the engine installed in
// it, and the store of prepared pages that the engine fills and the preview and printer read.
class ReportDocument
{
public:
    ReportDocument();
    ReportDocument(const ReportDocument &) = delete;
    ReportDocument &operator=(const ReportDocument &) = delete;

    TrepReport &report() { return m_report; }
    TrepPreviewPages &pages() { return m_pages; }

private:
    // Declared first so that it outlives the report's engine, which writes into it.
    TrepPreviewPages m_pages;
    TrepReport m_report;
};

} // namespace rep
