#include "report/model/types.h"

#include <cmath>

namespace rep {

QFont TrepFont::toQFont() const
{
    QFont font(Name);
    font.setPixelSize(std::max(1, std::abs(Height)));
    font.setBold(Style & (1 << fsBold));
    font.setItalic(Style & (1 << fsItalic));
    font.setUnderline(Style & (1 << fsUnderline));
    font.setStrikeOut(Style & (1 << fsStrikeOut));
    return font;
}

int TrepFont::heightFromPoints(double points, int ppi)
{
    return -int(std::lround(points * ppi / 72.0));
}

QVariant nullValue()
{
    return QVariant::fromValue(nullptr);
}

bool isNullValue(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<std::nullptr_t>();
}

QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

double toDateSerial(const QDateTime &dt)
{
    const double days = zeroDate().daysTo(dt.date());
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days + fraction;
}

QDateTime fromDateSerial(double days)
{
    const double whole = std::floor(days);
    const QDate date = zeroDate().addDays(qint64(whole));
    const int msecs = int(std::lround((days - whole) * 86400000.0));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(std::min(msecs, 86399999)));
}

} // namespace rep
