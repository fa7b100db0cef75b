#include "report/print/printreport.h"

#include "report/print/logging_p.h"
#include "report/print/pagesource.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "runtime/intconv.h"

#include <QScopeGuard>

namespace rep {

bool printReport(PageSource &pages, const TrepPrintOptions &options, int currentPage, const QString &documentName,
                 PrintJob &job, const PrintHooks &hooks, QWidget *parent)
{
    // The printers are shared: a second print begun while one runs (from the events processed
    // between its pages) would end the first one's document under it.
    static bool running = false;
    if (running) {
        qCInfo(lcPrint, "a print was refused: another one runs");
        return false;
    }
    running = true;
    const auto notRunning = qScopeGuard([] { running = false; });

    PrintJobSettings settings;
    settings.copies = options.Copies;
    settings.collate = options.Collate;
    settings.printPages = options.PrintPages;
    settings.reverse = false;
    QString rangeText = options.PageNumbers;

    // "Default" and the empty name match no printer: the current one stays.
    TrepPrinters &printers = TrepPrinters::instance();
    printers.setPrinterByName(options.Printer);

    if (options.ShowDialog) {
        TrepPrintDialog dialog(parent);
        dialog.setup(options.Copies, options.Collate, options.PageNumbers, currentPage);
        const bool confirmed = hooks.runDialog ? hooks.runDialog(dialog) : dialog.exec() == QDialog::Accepted;
        if (!confirmed)
            return false;
        const PrintDialogChoice choice = dialog.choice();
        settings.copies = rt::StrToInt(choice.copiesText);
        settings.collate = choice.collate;
        rangeText = choice.pageRange;
        settings.printPages = choice.printPages;
        settings.reverse = choice.reverse;
    }
    if (hooks.lock)
        hooks.lock();
    settings.range = parsePageRange(rangeText, pages.count());
    TrepCustomPrinter *printer = printers.current();
    if (!printer) {
        qCWarning(lcPrint, "nothing is printed: there is no current printer");
        return false;
    }
    printer->documentName = documentName;
    job.run(pages, *printer, settings);
    return true;
}

} // namespace rep
