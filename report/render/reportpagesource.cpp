#include "report/render/reportpagesource.h"

#include "report/model/page.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"

namespace rep {

int ReportPageSource::count() const
{
    TrepCustomPreviewPages *pages = m_report.PreviewPages();
    return pages ? pages->Count() : 0;
}

QSize ReportPageSource::pageSize(int index) const
{
    TrepCustomPreviewPages *pages = m_report.PreviewPages();
    return pages ? pages->PageSize(index) : QSize(794, 1123);
}

PagePrintParams ReportPageSource::printParams(int index) const
{
    PagePrintParams p;
    TrepCustomPreviewPages *pages = m_report.PreviewPages();
    TrepReportPage *page = pages ? pages->GetPage(index) : nullptr;
    if (!page)
        return p;
    p.paperSize = page->PaperSize();
    p.orientation = page->Orientation() == poLandscape ? 1 : 0;
    p.duplex = int(page->Duplex);
    p.bin = page->Bin;
    p.binOtherPages = page->BinOtherPages;
    p.paperWidth = page->PaperWidth();
    p.paperHeight = page->PaperHeight();
    return p;
}

void ReportPageSource::drawPage(int index, QPainter &painter, double scaleX, double scaleY, double offsetX,
                                double offsetY)
{
    if (TrepCustomPreviewPages *pages = m_report.PreviewPages())
        pages->DrawPage(index, &painter, scaleX, scaleY, offsetX, offsetY);
}

void ReportPageSource::saveToFile(const QString &fileName)
{
    if (TrepCustomPreviewPages *pages = m_report.PreviewPages())
        pages->SaveToFile(fileName);
}

} // namespace rep
