#include "controls/richtext/richtextlayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace rtf {

namespace {

// The layout's device: 96 dots per inch, the resolution the captions and the twips of the
// paragraph formats are designed at, whatever the screen says.
QPaintDevice *layoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

} // namespace

Fit fitDocument(QTextDocument &document, int width, int height)
{
    if (document.documentLayout()->paintDevice() != layoutDevice())
        document.documentLayout()->setPaintDevice(layoutDevice());
    document.setDocumentMargin(0);
    if (document.textWidth() != width)
        document.setTextWidth(width);
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    Fit fit;
    fit.firstUnfitChar = document.characterCount() - 1;
    // Lines lie top to bottom, so the first that crosses the bottom edge ends the fitting part.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF blockRect = layout->blockBoundingRect(block);
        const QTextLayout *tl = block.layout();
        for (int i = 0; i < tl->lineCount(); ++i) {
            const QTextLine line = tl->lineAt(i);
            const qreal bottom = blockRect.top() + line.y() + line.height();
            if (bottom > height + 0.01) {
                fit.firstUnfitChar = block.position() + line.textStart();
                fit.complete = false;
                return fit;
            }
            fit.usedHeight = int(std::ceil(bottom - 0.01));
            ++fit.lineCount;
        }
    }
    return fit;
}

Fit drawFitted(QPainter &painter, QTextDocument &document, const QRect &rect, const QColor &textColour)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return Fit{0, 0, 0, document.isEmpty()};
    const Fit fit = fitDocument(document, rect.width(), rect.height());
    if (fit.lineCount == 0)
        return fit;
    painter.save();
    painter.translate(rect.topLeft());
    const QRect clip(0, 0, rect.width(), fit.usedHeight);
    painter.setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, textColour);
    document.documentLayout()->draw(&painter, ctx);
    painter.restore();
    return fit;
}

QImage renderDocument(QTextDocument &document, const QSize &area, bool wordWrap, const QColor &background,
                      const QColor &textColour)
{
    if (area.width() < 5 || area.height() < 5 || document.isEmpty())
        return {};
    const int width = wordWrap ? std::min(area.width(), maxRenderSize) : maxRenderSize;
    const Fit fit = fitDocument(document, width, maxRenderSize);
    if (fit.lineCount == 0 || fit.usedHeight <= 0)
        return {};
    QImage image(width, std::min(fit.usedHeight, maxRenderSize), QImage::Format_ARGB32_Premultiplied);
    image.fill(background.isValid() ? background : QColor(Qt::transparent));
    QPainter painter(&image);
    drawFitted(painter, document, QRect(QPoint(0, 0), image.size()), textColour);
    return image;
}

} // namespace rtf
