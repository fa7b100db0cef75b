#pragma once

#include "report/print/pagesource.h"

namespace rep {

class TrepPreviewPages;

// The prepared pages of a report as the preview and the print job read them.
class ReportPageSource : public PageSource
{
public:
    // The store must outlive the source.
    explicit ReportPageSource(TrepPreviewPages &pages) : m_pages(pages) {}

    int count() const override;
    QSize pageSize(int index) const override;
    PagePrintParams printParams(int index) const override;
    void drawPage(int index, QPainter &painter, double scaleX, double scaleY, double offsetX,
                  double offsetY) override;
    void saveToFile(const QString &fileName) override;

private:
    TrepPreviewPages &m_pages;
};

} // namespace rep
