#include "controls/panels/panelpainting.h"

#include "gradientbands_p.h"

#include <QFontMetrics>
#include <QPainter>

namespace ctl {

void paintStyledPanel(QPainter &painter, QSize size, const QColor &color, const QColor &borderColor)
{
    const QRect client(QPoint(0, 0), size);
    painter.fillRect(client, color);
    if (size.width() < 1 || size.height() < 1)
        return;
    painter.save();
    painter.setPen(borderColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(client.adjusted(0, 0, -1, -1));
    painter.restore();
}

CaptionColors captionColors(const ToolPanelLook &look, bool focused)
{
    if (focused)
        return {look.FocusCaptionColor, look.FocusCaptionColorTo, look.FocusCaptionFontColor};
    return {look.NoFocusCaptionColor, look.NoFocusCaptionColorTo, look.NoFocusCaptionFontColor};
}

QRect captionBarRect(QSize size)
{
    return QRect(1, 1, size.width() - 2, CaptionBarHeight - 2);
}

QRect captionTextRect(QSize size)
{
    return QRect(QPoint(4, 4), QPoint(size.width() - 37 - 1, 21 - 1));
}

QString elidedCaption(const QString &caption, const QFont &boldFont, QSize size)
{
    const QRect r = captionTextRect(size);
    return QFontMetrics(boldFont).elidedText(caption, Qt::ElideRight, std::max(0, r.width()));
}

void paintToolPanel(QPainter &painter, QSize size, const ToolPanelLook &look, const QString &caption,
                    const QFont &font, bool focused)
{
    const int w = size.width();
    const int h = size.height();
    if (w < 2 || h < 2)
        return;
    painter.save();
    // Raised one-pixel edge round the body.
    painter.fillRect(QRect(1, 1, w - 2, h - 2), look.Color);
    painter.fillRect(QRect(0, 0, w, 1), look.edgeLight);
    painter.fillRect(QRect(0, 0, 1, h), look.edgeLight);
    painter.fillRect(QRect(w - 1, 0, 1, h), look.edgeShadow);
    painter.fillRect(QRect(0, h - 1, w, 1), look.edgeShadow);

    // The body gradient covers the top edge, leaving the raised edge on three sides.
    fillGradient(painter, QRect(QPoint(1, 0), QPoint(w - 3, h - 3)), look.Color, look.ColorTo, BodyBands,
                 Qt::Vertical);

    if (look.ShowCaption) {
        const CaptionColors c = captionColors(look, focused);
        fillGradient(painter, captionBarRect(size), c.from, c.to, CaptionBands, Qt::Vertical);
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(c.text);
        painter.setBackgroundMode(Qt::TransparentMode);
        const QRect r = captionTextRect(size);
        painter.setClipRect(r);
        painter.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, elidedCaption(caption, bold, size));
    }
    painter.restore();
}

} // namespace ctl
