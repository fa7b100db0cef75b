#pragma once

#include "report/draw/drawntextsink.h"

#include <QList>
#include <QPaintDevice>
#include <QRectF>
#include <QString>

#include <memory>

namespace rep {

class PageSource;

// One text output of a drawing, with its bounds in device coordinates.
struct TextRecord
{
    QString text;
    QRectF bounds;
};

// A paint device that keeps only the texts drawn on it, in drawing order: texts drawn with
// QPainter::drawText or QTextLayout, and memo lines, one record per drawn line. Find uses it
// as its recorded drawing of a page: nothing is rasterized.
class TextRecorder : public QPaintDevice, public draw::DrawnTextSink
{
public:
    explicit TextRecorder(QSize size = QSize(794, 1123));
    ~TextRecorder() override;

    const QList<TextRecord> &records() const;
    void clear();

    QPaintEngine *paintEngine() const override;
    void textDrawn(const QString &text, const QRectF &bounds) override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    std::unique_ptr<Engine> m_engine;
    QSize m_size;
};

// Draws the page at scale 1 and returns its texts in drawing order.
QList<TextRecord> recordPageText(PageSource &source, int index);

} // namespace rep
