#include "gradientbands_p.h"

#include <QPainter>

#include <cmath>

namespace ctl {

namespace {
int channel(int from, int to, int k, int count)
{
    return from + int(std::nearbyint(double(k) * (to - from) / count));
}
} // namespace

QColor bandColor(const QColor &from, const QColor &to, int k, int count)
{
    if (count <= 0)
        return from;
    return QColor(channel(from.red(), to.red(), k, count), channel(from.green(), to.green(), k, count),
                  channel(from.blue(), to.blue(), k, count));
}

QList<GradientBand> gradientBands(const QRect &rect, const QColor &from, const QColor &to, int count,
                                  Qt::Orientation direction)
{
    QList<GradientBand> bands;
    if (count <= 0 || rect.isEmpty())
        return bands;
    const int extent = direction == Qt::Vertical ? rect.height() : rect.width();
    bands.reserve(count);
    for (int k = 0; k < count; ++k) {
        const int start = k * extent / count;
        const int end = (k + 1) * extent / count;
        const QRect r = direction == Qt::Vertical ? QRect(rect.left(), rect.top() + start, rect.width(), end - start)
                                                  : QRect(rect.left() + start, rect.top(), end - start, rect.height());
        bands.append({r, bandColor(from, to, k, count)});
    }
    return bands;
}

void fillGradient(QPainter &painter, const QRect &rect, const QColor &from, const QColor &to, int count,
                  Qt::Orientation direction)
{
    for (const GradientBand &band : gradientBands(rect, from, to, count, direction))
        if (!band.rect.isEmpty())
            painter.fillRect(band.rect, band.color);
}

} // namespace ctl
