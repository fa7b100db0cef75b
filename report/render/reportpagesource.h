#pragma once

#include "report/print/pagesource.h"

namespace rep {

class TrepReport;

// The prepared pages of a report as the preview and the print job read them.
class ReportPageSource : public PageSource
{
public:
    explicit ReportPageSource(TrepReport &report) : m_report(report) {}

    int count() const override;
    QSize pageSize(int index) const override;
    PagePrintParams printParams(int index) const override;
    void drawPage(int index, QPainter &painter, double scaleX, double scaleY, double offsetX,
                  double offsetY) override;
    void saveToFile(const QString &fileName) override;

private:
    TrepReport &m_report;
};

} // namespace rep
