#pragma once

#include "report/print/printjob.h"

#include <QString>

#include <functional>

class QWidget;

namespace rep {

class PageSource;
class TrepPrintDialog;

struct PrintHooks
{
    // Called once the dialog is confirmed, before any page is printed.
    std::function<void()> lock;
    // Runs the dialog modally; true when confirmed. Tests replace it.
    std::function<bool(TrepPrintDialog &)> runDialog;
};

// The store's print operation: choose the printer, ask the dialog, then run the job on the
// current printer. Returns false when the dialog was cancelled, and at once, without a dialog,
// while another print is still running. Conversion errors of the copies and the page range,
// and a printer that cannot be opened, throw rt::Exception; nothing is printed then.
bool printReport(PageSource &pages, const TrepPrintOptions &options, int currentPage, const QString &documentName,
                 PrintJob &job, const PrintHooks &hooks, QWidget *parent = nullptr);

} // namespace rep
