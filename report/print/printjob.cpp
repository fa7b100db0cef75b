#include "report/print/printjob.h"

#include "report/print/pagesource.h"
#include "report/print/printerdevice.h"

#include <QLoggingCategory>

namespace rep {

namespace {
Q_LOGGING_CATEGORY(lcPrintJob, "telekado.report.printlogic")
} // namespace

void PrintJob::run(PageSource &pages, TrepCustomPrinter &printer, const PrintJobSettings &settings)
{
    m_stop = false;
    m_begun = false;
    m_aborted = false;
    const int copies = std::max(settings.copies, 1);
    const int copiesPerPage = settings.collate ? 1 : copies;
    const int passes = settings.collate ? copies : 1;
    const int count = pages.count();
    for (int pass = 0; pass < passes && !m_stop; ++pass) {
        for (int k = 0; k < count; ++k) {
            const int index = settings.reverse ? count - 1 - k : k;
            if (!printPage(pages, printer, settings, index, copiesPerPage))
                break;
        }
    }
    if (m_begun && !m_aborted)
        printer.endDoc();
}

bool PrintJob::printPage(PageSource &pages, TrepCustomPrinter &printer, const PrintJobSettings &settings,
                         int index, int copiesPerPage)
{
    const int number = index + 1;
    if (!settings.range.contains(number))
        return true;
    if (settings.printPages == TrepPrintPages::ppOdd && number % 2 == 0)
        return true;
    if (settings.printPages == TrepPrintPages::ppEven && number % 2 == 1)
        return true;
    if (m_stop) {
        qCInfo(lcPrintJob, "stopped on request before page %d", number);
        if (m_begun && !m_aborted) {
            printer.abort();
            m_aborted = true;
        }
        return false;
    }
    if (onPagePrinting)
        onPagePrinting(number);
    const PagePrintParams params = pages.printParams(index);
    if (!m_begun) {
        printer.beginDoc();
        m_begun = true;
    }
    int bin = index == 0 ? params.bin : params.binOtherPages;
    if (bin == -1)
        bin = 7; // automatic
    printer.setPrintParams(params, copiesPerPage, settings.collate, bin);
    printer.beginPage();
    const double dpiX = printer.dpiX();
    const double dpiY = printer.dpiY();
    const QPointF offset = printer.offsetMM();
    // Report coordinates are measured from the paper's corner, not from the printable area.
    pages.drawPage(index, printer.canvas(), dpiX / 96.0, dpiY / 96.0, -offset.x() * dpiX / 25.4,
                   -offset.y() * dpiY / 25.4);
    printer.endPage();
    if (processEvents)
        processEvents();
    pages.clearCache();
    return true;
}

} // namespace rep
