#include "app/printcommand.h"

#include "declaration/reportvalues.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/preview/showpreparedreport.h"
#include "report/preview/textrecorder.h"
#include "report/print/printers.h"
#include "report/print/printreport.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"

#include <QApplication>

namespace app {

QList<rep::TextRecord> pageTexts(rep::TrepReportPage &page)
{
    QList<rep::TextRecord> records;
    const double dx = page.LeftMargin * rep::mmToUnits;
    const double dy = page.TopMargin * rep::mmToUnits;
    for (rep::TrepComponent *object : page.AllObjects()) {
        auto *memo = dynamic_cast<rep::TrepCustomMemoView *>(object);
        if (!memo || memo->Text().isEmpty())
            continue;
        records.append({memo->Text(), QRectF(memo->AbsLeft() + dx, memo->AbsTop() + dy, memo->Width(),
                                             memo->Height())});
    }
    return records;
}

rep::PreviewHooks previewHooks(decl::DeclarationReport &report, rep::ReportPageSource &source)
{
    rep::PreviewHooks hooks;
    hooks.text = [](const QString &key) { return rep::repGet(key); };
    hooks.hasPhysicalPrinter = [] { return rep::TrepPrinters::instance().hasPhysicalPrinters(); };
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
        // The print dialog belongs to the preview that asked for it.
        rep::printReport(source, r.PrintOptions, host.currentPage(), r.ReportOptions.Name, job, printHooks,
                         QApplication::activeWindow());
    };
    hooks.pageText = [&report](int index) {
        rep::TrepCustomPreviewPages *pages = report.report().PreviewPages();
        rep::TrepReportPage *page = pages ? pages->GetPage(index) : nullptr;
        return page ? pageTexts(*page) : QList<rep::TextRecord>{};
    };
    return hooks;
}

void printDeclaration(decl::DeclarationReport &report)
{
    if (!report.prepare())
        return; // the report has shown its errors
    rep::ReportPageSource source(report.report());
    rep::TrepReport &r = report.report();
    rep::showPreparedReport(source, r.PreviewOptions, previewHooks(report, source), r.ReportOptions.Name);
}

} // namespace app
