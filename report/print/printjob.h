#pragma once

#include "report/model/types.h"
#include "report/print/pagerange.h"

#include <functional>

namespace rep {

class PageSource;
class TrepCustomPrinter;

struct PrintJobSettings
{
    int copies = 1;
    bool collate = true;
    PageRange range;
    TrepPrintPages printPages = TrepPrintPages::ppAll;
    bool reverse = false;
};

// Sends the chosen pages to a printer, page by page, in passes for collated copies.
class PrintJob
{
public:
    // Raised with the 1-based page number before each printed page.
    std::function<void(int page)> onPagePrinting;
    // Lets the platform process pending messages after each page (the cancel button).
    std::function<void()> processEvents;

    // Set from outside (the preview's cancel button): the next page aborts the document.
    void requestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop; }

    void run(PageSource &pages, TrepCustomPrinter &printer, const PrintJobSettings &settings);

private:
    // False when the job must stop.
    bool printPage(PageSource &pages, TrepCustomPrinter &printer, const PrintJobSettings &settings, int index,
                   int copiesPerPage);

    bool m_stop = false;
    bool m_begun = false;
    bool m_aborted = false;
};

} // namespace rep
