#include "controls/maskedit/ctlbevel.h"

#include <QPainter>
#include <QPalette>

namespace ctl {

namespace {

int styleWidth(TCtlBevelStyle style, int width)
{
    switch (style) {
    case bvNone: return 0;
    case bvFrameLowered:
    case bvFrameRaised: return width + 1;
    default: return width;
    }
}

// One-pixel-wide rings, from r inwards: top and left in tl, bottom and right in br.
QRect drawRings(QPainter &p, QRect r, int count, const QColor &tl, const QColor &br)
{
    for (int i = 0; i < count && r.width() > 0 && r.height() > 0; ++i) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), tl);
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), tl);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), br);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), br);
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

QRect drawStyle(QPainter &p, QRect r, TCtlBevelStyle style, int width, const QColor &light, const QColor &shadow)
{
    switch (style) {
    case bvNone: return r;
    case bvLowered: return drawRings(p, r, width, shadow, light);
    case bvRaised: return drawRings(p, r, width, light, shadow);
    case bvFrameLowered: return drawRings(p, drawRings(p, r, width, shadow, light), 1, light, shadow);
    case bvFrameRaised: return drawRings(p, drawRings(p, r, width, light, shadow), 1, shadow, light);
    case bvNormal: return drawRings(p, r, width, shadow, shadow);
    case bvShadow: return drawRings(p, r, width, light, shadow.darker(150));
    }
    return r;
}

} // namespace

int TCtlBevel::width() const
{
    if (Mode != bmCustom)
        return 2;
    return BorderWidth + BorderInnerWidth + styleWidth(StyleOuter, WidthOuter) + styleWidth(StyleInner, WidthInner);
}

void TCtlBevel::paint(QPainter &p, const QRect &rect, const QPalette &pal, const QColor &fieldColor) const
{
    const QColor light = LightColor.isValid() ? LightColor : pal.color(QPalette::Light);
    const QColor shadow = ShadowColor.isValid() ? ShadowColor : pal.color(QPalette::Dark);
    const QColor border = BorderColor.isValid() ? BorderColor : pal.color(QPalette::Button);
    if (Mode != bmCustom) {
        // The platform's sunken edit edge: two lowered rings.
        QRect r = drawRings(p, rect, 1, shadow, light);
        drawRings(p, r, 1, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight));
        return;
    }
    QRect r = drawStyle(p, rect, StyleOuter, WidthOuter, light, shadow);
    r = drawRings(p, r, BorderWidth, border, border);
    r = drawStyle(p, r, StyleInner, WidthInner, light, shadow);
    drawRings(p, r, BorderInnerWidth, fieldColor, fieldColor);
}

} // namespace ctl
