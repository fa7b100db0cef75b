#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace ctl {

// Painting of the background panel: Color with a one-pixel BorderColor outline.
void paintStyledPanel(QPainter &painter, QSize size, const QColor &color, const QColor &borderColor);

// The colours of a section panel; the defaults are those the declaration form uses.
struct ToolPanelLook
{
    QColor Color{0xF6, 0xF4, 0xE7};
    QColor ColorTo{0xF6, 0xF4, 0xE7};
    QColor FocusCaptionColor{0xFB, 0xE6, 0x94};
    QColor FocusCaptionColorTo{0xEE, 0x95, 0x15};
    QColor FocusCaptionFontColor{0x00, 0x00, 0x00};
    QColor NoFocusCaptionColor{0xD2, 0xCF, 0xBE};
    QColor NoFocusCaptionColorTo{0xD2, 0xCF, 0xBE};
    QColor NoFocusCaptionFontColor{0x4F, 0x50, 0x45};
    bool ShowCaption = true;
    // The raised panel edge.
    QColor edgeLight{0xFF, 0xFF, 0xFF};
    QColor edgeShadow{0x80, 0x80, 0x80};
};

struct CaptionColors
{
    QColor from;
    QColor to;
    QColor text;
};

inline constexpr int CaptionBarHeight = 23;
inline constexpr int CaptionBands = 16;
inline constexpr int BodyBands = 128;

CaptionColors captionColors(const ToolPanelLook &look, bool focused);
// The caption bar: the top 23 pixels of the panel, inset by one pixel on every side.
QRect captionBarRect(QSize size);
// Where the caption text goes: 4 pixels in from the top-left, up to 37 before the right edge
// and 21 below the top.
QRect captionTextRect(QSize size);
// The caption as drawn: single line, cut with an ellipsis when it does not fit.
QString elidedCaption(const QString &caption, const QFont &boldFont, QSize size);

// Paints a section panel: raised edge, body gradient, caption bar and caption text (in the bold
// variant of font).
void paintToolPanel(QPainter &painter, QSize size, const ToolPanelLook &look, const QString &caption,
                    const QFont &font, bool focused);

} // namespace ctl
