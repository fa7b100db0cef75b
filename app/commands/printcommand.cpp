#include "app/commands/printcommand.h"

#include "logging_p.h"
#include "declaration/reportvalues.h"
#include "report/model/report.h"
#include "report/preview/showpreparedreport.h"
#include "report/print/printers.h"
#include "report/print/printreport.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"

#include <QApplication>

namespace app {

rep::PreviewHooks previewHooks(decl::DeclarationReport &report, rep::ReportPageSource &source,
                               const AskPdfName &askPdfName)
{
    rep::PreviewHooks hooks;
    hooks.text = [](const QString &key) { return rep::repGet(key); };
    // Asked each time printing is asked for: printers come and go while the program runs.
    hooks.hasPhysicalPrinter = [] { return rep::TrepPrinters::readAgain().hasPhysicalPrinters(); };
    hooks.print = [&report, &source](rep::PreviewPrintHost &host) {
        rep::PrintJob job;
        job.onPagePrinting = [&host](int page) { host.pageBeingPrinted(page); };
        job.processEvents = [&host, &job] {
            QCoreApplication::processEvents();
            if (host.stopRequested())
                job.requestStop();
        };
        rep::PrintHooks printHooks;
        printHooks.lock = [&host] { host.lock(); };
        rep::TrepReport &r = report.report();
        // The document is named after the report, else its file; the declaration has neither.
        // The print dialog belongs to the preview that asked for it, active or not (a Wayland
        // compositor without a keyboard activates no window).
        rep::printReport(source, r.PrintOptions, host.currentPage(), r.ReportOptions.Name, job, printHooks,
                         host.dialogOwner());
    };
    if (askPdfName)
        hooks.savePdf = [&report, askPdfName](QWidget *parent) { savePreparedPdf(report, askPdfName, parent); };
    return hooks;
}

void printDeclaration(decl::DeclarationReport &report, const AskPdfName &askPdfName, QWidget *parent)
{
    if (!report.prepare()) {
        // The report has shown its errors.
        qCInfo(lcCommands, "the declaration was not prepared: no preview");
        return;
    }
    rep::ReportPageSource source(report.pages());
    rep::TrepReport &r = report.report();
    rep::showPreparedReport(source, r.PreviewOptions, previewHooks(report, source, askPdfName), r.ReportOptions.Name,
                            parent);
}

} // namespace app
