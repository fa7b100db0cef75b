#include "toolbaricons_p.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

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

void printer(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);
    p.setPen(QColor(0x00, 0x80, 0x00));
    p.drawPoint(12, 8);
}

void wholePage(QPainter &p)
{
    sheet(p, QRect(3, 1, 10, 14));
}

void pageWidth(QPainter &p)
{
    sheet(p, QRect(1, 3, 14, 12));
    p.setPen(Qt::blue);
    p.drawLine(2, 1, 13, 1);
    p.drawLine(2, 0, 2, 2);
    p.drawLine(13, 0, 13, 2);
}

void oneToOne(QPainter &p)
{
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("1:1"));
}

void twoPages(QPainter &p)
{
    sheet(p, QRect(0, 2, 7, 11));
    sheet(p, QRect(8, 2, 7, 11));
}

void magnifier(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(0xdd, 0xee, 0xff));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(Qt::black, 2.5));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
}

void disk(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0x20, 0x40, 0xa0));
    p.drawRect(1, 1, 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(4, 2, 8, 5);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    p.drawRect(4, 10, 8, 5);
}

void folder(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(0xe0, 0xc0, 0x40));
    p.drawRect(1, 4, 14, 10);
    p.drawRect(1, 2, 5, 2);
}

// A page with a red band across it, as document files are usually shown.
void pdfPage(QPainter &p)
{
    sheet(p, QRect(3, 1, 10, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x10, 0x10));
    p.drawRect(1, 8, 14, 5);
    p.setPen(Qt::white);
    p.drawLine(3, 10, 12, 10);
}

// A black triangle pointing left or right, with a bar at its tip for the first and last page.
template<bool Left, bool Bar>
void arrow(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(Left ? QPolygonF({QPointF(11, 3), QPointF(11, 13), QPointF(5, 8)})
                       : QPolygonF({QPointF(5, 3), QPointF(5, 13), QPointF(11, 8)}));
    if (Bar)
        p.drawRect(Left ? 3 : 11, 3, 2, 10);
}

struct Picture
{
    const char *button;
    void (*draw)(QPainter &p);
};

const Picture kPictures[] = {
    {"PrintB", &printer},
    {"PdfB", &pdfPage},
    {"ZoomWholePageB", &wholePage},
    {"ZoomPageWidthB", &pageWidth},
    {"Zoom100B", &oneToOne},
    {"Zoom50B", &twoPages},
    {"FindB", &magnifier},
    {"ZoomToolB", &magnifier},
    {"SaveB", &disk},
    {"OpenB", &folder},
    {"FirstB", &arrow<true, true>},
    {"PriorB", &arrow<true, false>},
    {"NextB", &arrow<false, false>},
    {"LastB", &arrow<false, true>},
};

QIcon drawIcon(const QString &name)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const auto picture = std::find_if(std::begin(kPictures), std::end(kPictures),
                                      [&](const Picture &pic) { return name == QLatin1StringView(pic.button); });
    if (picture != std::end(kPictures))
        picture->draw(p);
    else
        sheet(p, QRect(2, 2, 11, 11));
    p.end();
    return QIcon(pm);
}

} // namespace

QIcon previewToolbarIcon(const QString &name)
{
    // Drawn once per run: the style keeps every icon pixmap it paints in the pixmap cache under
    // the pixmap's own key, so fresh pixmaps for each window would pile up there.
    static QHash<QString, QIcon> icons;
    static const bool cleared = [] {
        // Pixmaps must go while the application still exists.
        qAddPostRoutine([] { icons.clear(); });
        return true;
    }();
    Q_UNUSED(cleared);
    auto it = icons.constFind(name);
    if (it == icons.constEnd())
        it = icons.insert(name, drawIcon(name));
    return *it;
}

} // namespace rep
