#include "report/render/reportpagesource.h"

#include "report/model/page.h"
#include "report/pages/previewpages.h"

namespace rep {

int ReportPageSource::count() const
{
    return m_pages.Count();
}

QSize ReportPageSource::pageSize(int index) const
{
    return m_pages.PageSize(index);
}

PagePrintParams ReportPageSource::printParams(int index) const
{
    PagePrintParams p;
    TrepReportPage *page = m_pages.GetPage(index);
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
    m_pages.DrawPage(index, &painter, scaleX, scaleY, offsetX, offsetY);
}

void ReportPageSource::saveToFile(const QString &fileName)
{
    m_pages.SaveToFile(fileName);
}

} // namespace rep
