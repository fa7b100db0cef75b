#include "report/preview/previewzoom.h"

#include "runtime/floatconv.h"
#include "runtime/formatsettings.h"

#include <cmath>

namespace rep {

QString zoomText(double zoom)
{
    return QString::number(qint64(std::nearbyint(zoom * 100))) + QLatin1Char('%');
}

std::optional<double> parseZoomText(const QString &text)
{
    QString s = text;
    const qsizetype percent = s.indexOf(QLatin1Char('%'));
    if (percent >= 0)
        s[percent] = QLatin1Char(' ');
    s.remove(QLatin1Char(' '));
    const QChar sep = rt::formatSettings().decimalSeparator;
    s.replace(QLatin1Char(','), sep);
    s.replace(QLatin1Char('.'), sep);
    if (s.isEmpty())
        return std::nullopt;
    return double(rt::StrToFloat(s) / 100);
}

double fittedZoom(TrepZoomMode mode, QSize pageSize, QSize clientSize, double currentZoom)
{
    if (pageSize.width() <= 0 || pageSize.height() <= 0)
        return currentZoom;
    double fit = currentZoom;
    switch (mode) {
    case zmWholePage:
        fit = double(clientSize.height() - 20) / pageSize.height();
        break;
    case zmPageWidth:
        fit = double(clientSize.width() - 20) / pageSize.width();
        break;
    case zmManyPages:
        fit = double(clientSize.width() - 32) / (2.0 * pageSize.width());
        break;
    case zmDefault:
        break;
    }
    // A workspace smaller than the margins (not yet laid out, or squeezed) would give a zero
    // or negative zoom and pages turned inside out: keep the zoom until there is room.
    return fit > 0 ? fit : currentZoom;
}

} // namespace rep
