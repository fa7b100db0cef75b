#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QPalette;

namespace ctl {

enum TCtlBevelMode { bmCustom, bmStandard, bmEdge, bmWindows };
enum TCtlBevelStyle { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };

// The frame of a control. Colours left invalid take the palette's button colours.
struct TCtlBevel
{
    TCtlBevelMode Mode = bmWindows;
    TCtlBevelStyle StyleInner = bvNone;
    TCtlBevelStyle StyleOuter = bvNone;
    int WidthInner = 1;
    int WidthOuter = 1;
    int BorderWidth = 0;
    int BorderInnerWidth = 0;
    QColor BorderColor;  // clBtnFace
    QColor LightColor;   // clBtnHighlight
    QColor ShadowColor;  // clBtnShadow

    // Pixels taken on every side.
    int width() const;
    // Draws the frame inside r; the inner margin is filled with fieldColor.
    void paint(QPainter &painter, const QRect &r, const QPalette &palette, const QColor &fieldColor) const;
};

} // namespace ctl
