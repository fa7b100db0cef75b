#include "report/draw/trepdrawtext.h"
#include "report/draw/objectdraw.h"
#include "tests/report/drawfixture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>

#include <set>
#include <utility>

using namespace rep::draw;
using rep::test::lineTexts;
using rep::test::placed;

namespace {

using Pixels = std::set<std::pair<int, int>>;

const QRgb white = qRgb(255, 255, 255);
const QRgb green = qRgb(0, 255, 0);

QImage blank(int w, int h, QRgb fill = white, int dpi = 96)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    const int dpm = qRound(dpi / 0.0254);
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    return img;
}

Pixels inked(const QImage &img, QRgb background = white)
{
    Pixels result;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != (background & 0xFFFFFF))
                result.insert({x, y});
        }
    }
    return result;
}

// Smallest rectangle holding every inked pixel; null for a clean image.
QRect inkBounds(const QImage &img, QRgb background = white)
{
    QRect bounds;
    for (const auto &[x, y] : inked(img, background))
        bounds |= QRect(x, y, 1, 1);
    return bounds;
}

Pixels ring(int l, int t, int r, int b)
{
    Pixels p;
    for (int x = l; x <= r; ++x) {
        p.insert({x, t});
        p.insert({x, b});
    }
    for (int y = t; y <= b; ++y) {
        p.insert({l, y});
        p.insert({r, y});
    }
    return p;
}

QString describe(const Pixels &pixels)
{
    QStringList parts;
    for (const auto &[x, y] : pixels) {
        if (parts.size() == 40) {
            parts << QStringLiteral("...");
            break;
        }
        parts << QStringLiteral("(%1,%2)").arg(x).arg(y);
    }
    return parts.join(QLatin1Char(' '));
}

#define COMPARE_PIXELS(actual, expected)                                                         \
    QVERIFY2((actual) == (expected),                                                             \
             qPrintable(QStringLiteral("got %1\nwant %2").arg(describe(actual), describe(expected))))

DrawArgs argsFor(QPainter &p, double scale = 1, double ox = 0, double oy = 0, bool printer = false)
{
    DrawArgs a = drawArgs(p, scale, scale, ox, oy);
    a.Printer = printer;
    return a;
}

DrawFont arial(int height, TFontStyles style = 0)
{
    DrawFont f;
    f.Height = height;
    f.Style = style;
    return f;
}

DrawMemo memo(double left, double top, double width, double height, const QString &text,
              DrawFont font = DrawFont{})
{
    auto m = placed<DrawMemo>(left, top, width, height);
    m.Text = text;
    m.Font = font;
    return m;
}

// The remarks box of page 2 and the title box of page 1 of the printed form.
DrawMemo remarksMemo(const QString &text)
{
    return memo(215.43321, 857.95331, 495.11843, 151.1812, text);
}

DrawMemo titleMemo()
{
    DrawMemo m = memo(18.89765, 109.60637, 680.3154, 37.7953,
                      QString::fromUtf8("2006 évi telekadó, a telek nm2 alapján történő adó "
                                        "megállapitásához a helyi adókról szóló 1990. évi C. "
                                        "törvény alapján. (ingatlan adataiban bekövetkezett "
                                        "változás)"),
                      arial(-16));
    m.HAlign = haCenter;
    m.VAlign = vaCenter;
    return m;
}

QString longRemark(int words)
{
    static const char *vocabulary[] = {"a",       "telek",    "tulajdonosa", "változott,",
                                       "ezért",   "kérem",    "az",          "adó",
                                       "törlését", "Hollóberény", "2006.",   "évben"};
    QString text;
    for (int i = 0; i < words; ++i) {
        if (i)
            text += QLatin1Char(' ');
        text += QString::fromUtf8(vocabulary[i % 12]);
    }
    return text;
}

QRect toQRect(const TRect &r)
{
    return QRect(r.Left, r.Top, r.width(), r.height());
}

} // namespace

class TestObjectDraw : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceRectRounding()
    {
        auto v = placed<DrawView>(18.89765, 200.31509, 143.62214, 18.89765);
        DrawArgs a;
        const DeviceRect d = deviceRect(v, a);
        QCOMPARE(d.X, 19);
        QCOMPARE(d.Y, 200);
        QCOMPARE(d.X1, 163);
        QCOMPARE(d.Y1, 219);
        QCOMPARE(d.FW, 1);
        // Halves go to the even neighbour; a negative width leaves X1 left of X.
        v.Left = 2.5;
        v.Width = -1;
        a.OffsetX = 0;
        const DeviceRect n = deviceRect(v, a);
        QCOMPARE(n.X, 2);
        QCOMPARE(n.X1, 2);
        v.Left = 3.5;
        v.Width = -2;
        QCOMPARE(deviceRect(v, a).X, 4);
        QCOMPARE(deviceRect(v, a).X1, 2);
    }

    // The two lines over one 2 mm option box, one with a negative width, draw an X.
    void diagonalLinesDrawAnX()
    {
        QImage img = blank(60, 360);
        QPainter p(&img);
        auto down = placed<DrawLine>(34.01577, 340.1577, 7.55906, 7.55906);
        down.Diagonal = true;
        DrawLine up = down;
        up.Left = 41.57483;
        up.Width = -7.55906;
        drawLine(down, argsFor(p));
        drawLine(up, argsFor(p));
        p.end();
        Pixels expected;
        for (int k = 0; k < 8; ++k) {
            expected.insert({34 + k, 340 + k});
            expected.insert({42 - k, 340 + k});
        }
        COMPARE_PIXELS(inked(img), expected);
        QCOMPARE(img.pixel(34, 340), qRgb(0, 0, 0));
    }

    // fsDouble at width 1: one line a pixel above Top, one a pixel below, none on it.
    void doubleLineAboveAndBelow()
    {
        QImage img = blank(720, 110);
        QPainter p(&img);
        auto line = placed<DrawLine>(0, 98.26778, 714.33117, 0);
        line.Frame.Typ = ftTop;
        line.Frame.Style = fsDouble;
        drawLine(line, argsFor(p));
        p.end();
        Pixels expected;
        for (int x = 0; x < 714; ++x) {
            expected.insert({x, 97});
            expected.insert({x, 99});
        }
        COMPARE_PIXELS(inked(img), expected);
    }

    // A frame on all four sides of the box from (10, 10) to (30, 30).
    void frameStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<QRect>>("rings");
        QTest::newRow("solid: one closed ring") << int(fsSolid) << 1
                                                << QList<QRect>{QRect(QPoint(10, 10), QPoint(30, 30))};
        QTest::newRow("double: outer and inner rings meet at the corners")
            << int(fsDouble) << 1
            << QList<QRect>{QRect(QPoint(9, 9), QPoint(31, 31)), QRect(QPoint(11, 11), QPoint(29, 29))};
        QTest::newRow("solid 3 wide: rings around the middle")
            << int(fsSolid) << 3
            << QList<QRect>{QRect(QPoint(9, 9), QPoint(31, 31)), QRect(QPoint(10, 10), QPoint(30, 30)),
                            QRect(QPoint(11, 11), QPoint(29, 29))};
    }
    void frameStyles()
    {
        QFETCH(int, style);
        QFETCH(int, width);
        QFETCH(QList<QRect>, rings);
        QImage img = blank(40, 40);
        QPainter p(&img);
        auto v = placed<DrawView>(10, 10, 20, 20);
        v.Frame.Typ = ftLeft | ftRight | ftTop | ftBottom;
        v.Frame.Style = TrepFrameStyle(style);
        v.Frame.Width = width;
        drawView(v, argsFor(p));
        p.end();
        Pixels expected;
        for (const QRect &r : rings)
            expected.merge(ring(r.left(), r.top(), r.right(), r.bottom()));
        COMPARE_PIXELS(inked(img), expected);
    }

    void frameSidesAndBackground()
    {
        QImage img = blank(40, 40);
        QPainter p(&img);
        auto v = placed<DrawView>(10, 10, 20, 20);
        v.Color = 0x0000FF00; // green, painted before the frame
        v.Frame.Typ = ftBottom;
        drawView(v, argsFor(p));
        p.end();
        QCOMPARE(img.pixel(10, 10), green);
        QCOMPARE(img.pixel(29, 29), green);
        QCOMPARE(img.pixel(30, 29), white);   // the fill leaves out X1 and Y1
        QCOMPARE(img.pixel(30, 30), qRgb(0, 0, 0)); // a 1-pixel bottom reaches X1
        QCOMPARE(img.pixel(10, 30), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(31, 30), white);
    }

    void thickLineCopies_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("0 counts as 1") << 0 << QList<int>{20};
        QTest::newRow("1") << 1 << QList<int>{20};
        QTest::newRow("2: one above") << 2 << QList<int>{19, 20};
        QTest::newRow("3: centred") << 3 << QList<int>{19, 20, 21};
        QTest::newRow("4: two above, one below") << 4 << QList<int>{18, 19, 20, 21};
    }
    void thickLineCopies()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, rows);
        QImage img = blank(30, 30);
        QPainter p(&img);
        drawThickLine(p, 5, 20, 15, 22, width, Qt::black); // more horizontal: copies shift vertically
        p.end();
        Pixels ink = inked(img);
        std::set<int> firstColumn;
        for (const auto &[x, y] : ink) {
            if (x == 5)
                firstColumn.insert(y);
            QVERIFY(x >= 5 && x < 15);
        }
        QCOMPARE(QList<int>(firstColumn.begin(), firstColumn.end()), rows);
    }

    // One-pixel dash patterns start at the first pixel: 48 pixels hold two periods.
    void dashStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("count");
        QTest::newRow("dash 18 on 6 off") << int(fsDash) << 36;
        QTest::newRow("dot 3 on 3 off") << int(fsDot) << 24;
        QTest::newRow("dash dot") << int(fsDashDot) << 24;
        QTest::newRow("dash dot dot") << int(fsDashDotDot) << 30;
    }
    void dashStyles()
    {
        QFETCH(int, style);
        QFETCH(int, count);
        QImage img = blank(60, 20);
        QPainter p(&img);
        DrawLine line;
        line.Left = 5;
        line.Top = 10;
        line.Width = 48;
        line.Frame.Style = TrepFrameStyle(style);
        drawLine(line, argsFor(p));
        p.end();
        const Pixels ink = inked(img);
        QCOMPARE(int(ink.size()), count);
        QVERIFY(ink.count({5, 10}) == 1);
        QCOMPARE(inkBounds(img).top(), 10);
        QCOMPARE(inkBounds(img).bottom(), 10);
    }

    void highlightChangesFontAndColourForOneDrawing()
    {
        QImage img = blank(120, 40);
        QPainter p(&img);
        DrawMemo m = memo(0, 0, 120, 40, QStringLiteral("HHHH"), arial(-24));
        m.Highlight.Active = true;
        m.Highlight.Color = 0x0000FF00;           // green background
        m.Highlight.Font = arial(-24);
        m.Highlight.Font.Color = 0x00FF0000;      // blue text
        drawMemo(m, argsFor(p));
        p.end();
        QCOMPARE(m.Color, clNone);
        QCOMPARE(img.pixel(1, 38), green);
        bool blue = false;
        for (int y = 0; y < 40 && !blue; ++y) {
            for (int x = 0; x < 120 && !blue; ++x)
                blue = img.pixel(x, y) == qRgb(0, 0, 255);
        }
        QVERIFY(blue);
    }

    void rectangleShape_data()
    {
        QTest::addColumn<unsigned>("color");
        QTest::addColumn<QRgb>("inside");
        QTest::newRow("clNone: outline only") << unsigned(clNone) << green;
        QTest::newRow("filled") << unsigned(0x000000FF) << qRgb(255, 0, 0);
    }
    void rectangleShape()
    {
        QFETCH(unsigned, color);
        QFETCH(QRgb, inside);
        QImage img = blank(60, 360, green);
        QPainter p(&img);
        auto s = placed<DrawShape>(34.01577, 340.1577, 7.55906, 7.55906);
        s.Color = color;
        drawShape(s, argsFor(p));
        p.end();
        // Device rectangle (34, 340)-(42, 348): the outline covers X to X1 and Y to Y1.
        const Pixels outline = ring(34, 340, 42, 348);
        for (const auto &[x, y] : outline)
            QCOMPARE(img.pixel(x, y), qRgb(0, 0, 0));
        for (int y = 341; y <= 347; ++y) {
            for (int x = 35; x <= 41; ++x)
                QCOMPARE(img.pixel(x, y), inside);
        }
        QCOMPARE(inkBounds(img, green), QRect(QPoint(34, 340), QPoint(42, 348)));
    }

    void lineMadeAxisParallel_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("newWidth");
        QTest::addColumn<double>("newHeight");
        QTest::addColumn<unsigned>("typ");
        QTest::addColumn<QRect>("ink");
        QTest::newRow("wider: horizontal") << 20.0 << 3.0 << 20.0 << 0.0 << unsigned(ftTop)
                                           << QRect(10, 10, 20, 1);
        QTest::newRow("taller: vertical") << 2.0 << 15.0 << 0.0 << 15.0 << unsigned(ftLeft)
                                          << QRect(10, 10, 1, 15);
        QTest::newRow("square: vertical") << 5.0 << 5.0 << 0.0 << 5.0 << unsigned(ftLeft)
                                          << QRect(10, 10, 1, 5);
    }
    void lineMadeAxisParallel()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, newWidth);
        QFETCH(double, newHeight);
        QFETCH(unsigned, typ);
        QFETCH(QRect, ink);
        QImage img = blank(40, 40);
        QPainter p(&img);
        auto line = placed<DrawLine>(10, 10, width, height);
        line.Frame.Typ = ftBottom | ftRight;
        drawLine(line, argsFor(p));
        p.end();
        QCOMPARE(line.Width, newWidth);
        QCOMPARE(line.Height, newHeight);
        QCOMPARE(line.Frame.Typ, typ);
        QCOMPARE(inkBounds(img), ink);
        QCOMPARE(int(inked(img).size()), ink.width() * ink.height());
    }

    void nothingWithoutFrameColourOrWidth()
    {
        QImage img = blank(40, 40);
        QPainter p(&img);
        auto diagonal = placed<DrawLine>(5, 5, 10, 10);
        diagonal.Diagonal = true;
        diagonal.Frame.Color = clNone;
        drawLine(diagonal, argsFor(p));
        DrawLine rule;
        rule.Left = 5;
        rule.Top = 20;
        rule.Width = 20;
        rule.Frame.Width = 0;
        drawLine(rule, argsFor(p));
        p.end();
        QVERIFY(inked(img).empty());
    }

    void printableOnlyOnScreen_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<bool>("printable");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("screen, not printable") << false << false << true;
        QTest::newRow("printer, printable") << true << true << true;
        QTest::newRow("printer, not printable") << true << false << false;
    }
    void printableOnlyOnScreen()
    {
        QFETCH(bool, printer);
        QFETCH(bool, printable);
        QFETCH(bool, drawn);
        QImage img = blank(40, 40);
        QPainter p(&img);
        auto s = placed<DrawShape>(5, 5, 10, 10);
        s.Printable = printable;
        drawShape(s, argsFor(p, 1, 0, 0, printer));
        DrawMemo m = memo(5, 20, 30, 15, QStringLiteral("x"));
        m.Printable = printable;
        m.Frame.Typ = ftTop;
        drawMemo(m, argsFor(p, 1, 0, 0, printer));
        p.end();
        QCOMPARE(!inked(img).empty(), drawn);
    }

    void printerDevices()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        QPainter pp(&pdf);
        QVERIFY(drawArgs(pp, 6.25, 6.25).Printer);
        pp.end();
        QImage img = blank(4, 4);
        QPainter pi(&img);
        QVERIFY(!drawArgs(pi, 1, 1).Printer);
    }

    void totalPagesReplaced_data()
    {
        QTest::addColumn<bool>("design");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first tag, any case")
            << false << QStringLiteral("[totalpages#] / [TOTALPAGES#]")
            << QStringLiteral("2 / [TOTALPAGES#]");
        QTest::newRow("design mode keeps it") << true << QStringLiteral("[TOTALPAGES#]")
                                              << QStringLiteral("[TOTALPAGES#]");
        QTest::newRow("no tag") << false << QStringLiteral("[PAGE#]") << QStringLiteral("[PAGE#]");
    }
    void totalPagesReplaced()
    {
        QFETCH(bool, design);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QImage img = blank(200, 40);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = memo(0, 0, 200, 20, text);
        m.PageCount = 2;
        m.DesignMode = design;
        drawMemo(m, argsFor(p), &layout);
        QCOMPARE(m.Text, expected);
        QCOMPARE(lineTexts(layout), QStringList{expected});
    }

    // "neve:" beside the taxpayer's name on page 1: Y 200, Y1 219, clip 201 to 219, L = 17,
    // so the line starts half a pixel (rounded to even: 0) below the clip top.
    void oneLineMemoStartsAtRow201()
    {
        QImage img = blank(200, 240);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = memo(18.89765, 200.31509, 143.62214, 18.89765, QStringLiteral("neve:"),
                          arial(-15));
        m.VAlign = vaCenter;
        const DrawArgs a = argsFor(p);
        drawMemo(m, a, &layout);
        p.end();
        const TRect clip = memoClipRect(m, deviceRect(m, a), a);
        QCOMPARE(clip, (TRect{21, 201, 162, 219}));
        const auto placement = layout.place(96, 96, false, haLeft, vaCenter);
        QCOMPARE(placement.idealHeight, 17);
        QCOMPARE(placement.lines.size(), size_t(1));
        QCOMPARE(placement.lines.front().y, 201);
        QCOMPARE(placement.lines.front().x, 21);
        const QRect ink = inkBounds(img);
        QVERIFY(!ink.isNull());
        QVERIFY2(toQRect(clip).contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4")
                                                            .arg(ink.x()).arg(ink.y())
                                                            .arg(ink.width()).arg(ink.height())));
        QVERIFY(ink.left() <= 22); // the text starts at the clip's left edge
    }

    void emptyLineKeepsItsHeight()
    {
        QImage img = blank(120, 80);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = memo(0, 0, 120, 80, QStringLiteral("HHH\r\n\r\nHHH"), arial(-15));
        drawMemo(m, argsFor(p), &layout);
        p.end();
        const auto placement = layout.place(96, 96, false, haLeft, vaTop);
        QCOMPARE(placement.lines.size(), size_t(3));
        // Three lines of 16.72 are 50 pixels: steps 16 and 17 (the first gap gives up the pixel).
        QCOMPARE(placement.lines[2].y - placement.lines[0].y, 33);
        const QRect ink = inkBounds(img);
        QVERIFY(ink.bottom() >= placement.lines[2].y + 10);
        // Nothing is drawn on the empty line's band.
        for (int y = placement.lines[1].y + 2; y < placement.lines[2].y; ++y) {
            for (int x = 0; x < img.width(); ++x)
                QCOMPARE(img.pixel(x, y), white);
        }
    }

    // A long remark in the 40 mm high remarks box is cut off at the box: no ink outside.
    void longRemarkConfinedToItsBox()
    {
        QImage img = blank(794, 1123);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = remarksMemo(longRemark(600));
        const DrawArgs a = argsFor(p);
        drawMemo(m, a, &layout);
        p.end();
        const TRect clip = memoClipRect(m, deviceRect(m, a), a);
        const QRect ink = inkBounds(img);
        QVERIFY(toQRect(clip).contains(ink));
        QVERIFY(layout.lines().size() > 20);      // far more than fits
        QVERIFY(ink.bottom() >= clip.Bottom - 8); // the box is filled to its bottom
        QVERIFY(ink.right() >= clip.Right - 40);  // and across
        for (const auto &line : layout.lines())
            QVERIFY(line.width600 <= layout.maxWidth600());
    }

    // The composed title of about 150 characters wraps to two lines inside its box.
    void titleWrapsInsideItsBox()
    {
        QImage img = blank(794, 200);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = titleMemo();
        QVERIFY(m.Text.size() > 150);
        const DrawArgs a = argsFor(p);
        drawMemo(m, a, &layout);
        p.end();
        QCOMPARE(layout.lines().size(), size_t(2));
        QCOMPARE(layout.lines()[0].flags, 1);
        QCOMPARE(layout.lines()[1].flags, 2);
        const TRect clip = memoClipRect(m, deviceRect(m, a), a);
        QCOMPARE(clip.height(), 36);
        const auto placement = layout.place(96, 96, false, haCenter, vaCenter);
        QCOMPARE(placement.idealHeight, 36); // 2 x (2 + 100 x 96 / 600)
        const QRect ink = inkBounds(img);
        QVERIFY(toQRect(clip).contains(ink));
        const int middle = clip.Top + clip.height() / 2;
        QVERIFY(ink.top() < middle && ink.bottom() > middle + 8);
    }

    // Line breaks come from the 600 dpi measurement: a 600 dpi printer, zoom 1 and zoom 2
    // break the same memo alike, and the printed widths are the screen's times 6.25.
    void sameLinesOnPrinterAndScreen_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("title") << 0;
        QTest::newRow("remarks") << 1;
    }
    void sameLinesOnPrinterAndScreen()
    {
        QFETCH(int, which);
        const DrawMemo source = which == 0 ? titleMemo() : remarksMemo(longRemark(120));
        struct Run
        {
            double scale;
            int dpi;
            bool printer;
        };
        const Run runs[] = {{1, 96, false}, {6.25, 600, true}, {2, 96, false}};
        QList<QStringList> texts;
        QList<std::vector<int>> widths;
        for (const Run &run : runs) {
            const QRectF area(source.Left * run.scale, source.Top * run.scale,
                              source.Width * run.scale, source.Height * run.scale);
            QImage img = blank(int(area.width()) + 20, int(area.height()) + 20, white, run.dpi);
            QPainter p(&img);
            TrepDrawText layout(96);
            DrawMemo m = source;
            const DrawArgs a = argsFor(p, run.scale, 10 - area.left(), 10 - area.top(), run.printer);
            drawMemo(m, a, &layout);
            p.end();
            texts << lineTexts(layout);
            const auto placement = layout.place(run.dpi, run.dpi, run.printer, m.HAlign, m.VAlign);
            std::vector<int> w;
            for (const auto &line : placement.lines)
                w.push_back(line.idealWidth);
            widths << w;
            const TRect clip = memoClipRect(m, deviceRect(m, a), a);
            QVERIFY(toQRect(clip).contains(inkBounds(img)));
        }
        QVERIFY(texts[0].size() >= 2);
        QCOMPARE(texts[1], texts[0]);
        QCOMPARE(texts[2], texts[0]);
        for (size_t i = 0; i < widths[0].size() && i < widths[1].size(); ++i)
            QVERIFY(std::abs(widths[1][i] - 6.25 * widths[0][i]) <= 3.7);
    }

    // Any text draws without a crash and never outside its box.
    void badTextStaysInsideItsBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("very long") << longRemark(30000);
        QTest::newRow("one unbroken word of 5000 characters") << QString(5000, QLatin1Char('W'));
        QTest::newRow("many line breaks") << QStringLiteral("x\r\n").repeated(5000);
        QTest::newRow("only line breaks") << QStringLiteral("\r\n\n\r").repeated(1000);
        QTest::newRow("characters without glyphs")
            << QString::fromUtf16(u"\uE000\uE001 \u4E2D\u6587 \U0001F600 \xD800 x\ty\u0001\uFFFF");
        QTest::newRow("spaces only") << QString(3000, QLatin1Char(' '));
    }
    void badTextStaysInsideItsBox()
    {
        QFETCH(QString, text);
        QImage img = blank(300, 200);
        QPainter p(&img);
        TrepDrawText layout(96);
        DrawMemo m = memo(20, 20, 200, 100, text, arial(-15));
        m.VAlign = vaCenter;
        m.HAlign = haCenter;
        const DrawArgs a = argsFor(p);
        drawMemo(m, a, &layout);
        p.end();
        const QRect ink = inkBounds(img);
        if (text.trimmed().isEmpty())
            QVERIFY(ink.isNull());
        else
            QVERIFY(toQRect(memoClipRect(m, deviceRect(m, a), a)).contains(ink));
    }

    void calcHeightAndWidth()
    {
        TrepDrawText layout(96);
        DrawMemo m = memo(0, 0, 80, 20, QStringLiteral("nnnn nnnn nnnn"), arial(-15));
        m.GapX = 0;
        // Two lines of 16.72 units plus 2 x GapY.
        QCOMPARE(memoCalcHeight(m, &layout), 35);
        m.Frame.Typ = ftTop | ftBottom;
        m.Frame.Width = 3;
        QCOMPARE(memoCalcHeight(m, &layout), 38); // 33.44 + 2 + 1 + 1.5
        m.Frame.Typ = 0;
        m.Width = 400;
        QCOMPARE(memoCalcWidth(m, &layout), 106); // (12 x 51.15625 + 2 x 25.546875) / 6.25
    }
};

QTEST_MAIN(TestObjectDraw)
#include "test_objectdraw.moc"
