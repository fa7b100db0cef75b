#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class QPainter;

namespace ctl {

struct GradientBand
{
    QRect rect;
    QColor color;
};

// Colour of band k of count: per channel from + round(k × (to − from) ÷ count), halves to even.
// The last band therefore stops one step short of the end colour.
QColor bandColor(const QColor &from, const QColor &to, int k, int count);

// The rectangle split into count bands of (nearly) equal size, stacked from top to bottom for
// Qt::Vertical (the colour changes downwards) or from left to right for Qt::Horizontal.
QList<GradientBand> gradientBands(const QRect &rect, const QColor &from, const QColor &to, int count,
                                  Qt::Orientation direction);

void fillGradient(QPainter &painter, const QRect &rect, const QColor &from, const QColor &to, int count,
                  Qt::Orientation direction);

} // namespace ctl
