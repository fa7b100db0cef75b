#include "report/preview/toolbaricons.h"

#include <QPainter>
#include <QPixmap>

namespace rep {

namespace {

void sheet(QPainter &p, const QRect &r)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int y = r.top() + 3; y < r.bottom() - 1; y += 2)
        p.drawLine(r.left() + 2, y, r.right() - 2, y);
}

} // namespace

QIcon previewToolbarIcon(const QString &name)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const auto is = [&](const char *n) { return name == QLatin1String(n); };
    if (is("PrintB")) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 6);
        p.setBrush(QColor(0xc0, 0xc0, 0xc0));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 5);
        p.setPen(QColor(0x00, 0x80, 0x00));
        p.drawPoint(12, 8);
    } else if (is("ZoomWholePageB")) {
        sheet(p, QRect(3, 1, 10, 14));
    } else if (is("ZoomPageWidthB")) {
        sheet(p, QRect(1, 3, 14, 12));
        p.setPen(Qt::blue);
        p.drawLine(2, 1, 13, 1);
        p.drawLine(2, 0, 2, 2);
        p.drawLine(13, 0, 13, 2);
    } else if (is("Zoom100B")) {
        QFont f = p.font();
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
    } else if (is("Zoom50B")) {
        sheet(p, QRect(0, 2, 7, 11));
        sheet(p, QRect(8, 2, 7, 11));
    } else if (is("FindB") || is("ZoomToolB")) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(0xdd, 0xee, 0xff));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(Qt::black, 2.5));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    } else if (is("SaveB")) {
        p.setPen(Qt::black);
        p.setBrush(QColor(0x20, 0x40, 0xa0));
        p.drawRect(1, 1, 14, 14);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 5);
        p.setBrush(QColor(0xc0, 0xc0, 0xc0));
        p.drawRect(4, 10, 8, 5);
    } else if (is("OpenB")) {
        p.setPen(Qt::black);
        p.setBrush(QColor(0xe0, 0xc0, 0x40));
        p.drawRect(1, 4, 14, 10);
        p.drawRect(1, 2, 5, 2);
    } else if (is("FirstB") || is("PriorB") || is("NextB") || is("LastB")) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const bool left = is("FirstB") || is("PriorB");
        QPolygonF tri = left ? QPolygonF({QPointF(11, 3), QPointF(11, 13), QPointF(5, 8)})
                             : QPolygonF({QPointF(5, 3), QPointF(5, 13), QPointF(11, 8)});
        p.drawPolygon(tri);
        if (is("FirstB"))
            p.drawRect(3, 3, 2, 10);
        if (is("LastB"))
            p.drawRect(11, 3, 2, 10);
    } else {
        sheet(p, QRect(2, 2, 11, 11));
    }
    p.end();
    return QIcon(pm);
}

} // namespace rep
