#include "report/draw/objectdraw.h"

#include "report/draw/trepdrawtext.h"
#include "rounding_p.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <span>
#include <cstdlib>

namespace rep::draw {

namespace {

const QString totalPagesTag = QStringLiteral("[TOTALPAGES#]");

// The painter's state is restored on every way out of a drawing step.
class PainterState
{
public:
    explicit PainterState(QPainter &p)
        : m_p(p)
    {
        m_p.save();
        m_p.setRenderHint(QPainter::Antialiasing, false);
    }
    ~PainterState() { m_p.restore(); }
    PainterState(const PainterState &) = delete;
    PainterState &operator=(const PainterState &) = delete;

private:
    QPainter &m_p;
};

Qt::PenStyle penStyle(TrepFrameStyle style)
{
    switch (style) {
    case fsSolid: return Qt::SolidLine;
    case fsDash: return Qt::DashLine;
    case fsDot: return Qt::DotLine;
    case fsDashDot: return Qt::DashDotLine;
    case fsDashDotDot: return Qt::DashDotDotLine;
    case fsDouble: return Qt::NoPen; // the platform's pen after the dash styles is the null pen
    }
    return Qt::SolidLine;
}

Qt::BrushStyle brushPattern(TBrushStyle style)
{
    switch (style) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

QPen onePixelPen(const QColor &color, Qt::PenStyle style)
{
    QPen pen(color, 1, style, Qt::FlatCap);
    pen.setCosmetic(true);
    return pen;
}

// The offsets of the copies of a w-pixel line: -(w div 2) .. w div 2 (less one for even w).
int firstOffset(int w)
{
    return -(w / 2);
}

// On and off run lengths of the platform's one-pixel dash styles.
std::span<const int> dashPattern(TrepFrameStyle style)
{
    static const int dash[] = {18, 6};
    static const int dot[] = {3, 3};
    static const int dashDot[] = {9, 6, 3, 6};
    static const int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case fsDash: return dash;
    case fsDot: return dot;
    case fsDashDot: return dashDot;
    case fsDashDotDot: return dashDotDot;
    case fsSolid:
    case fsDouble:
        break;
    }
    return {};
}

// Collects pixels into runs along a row or a column and fills each run as one rectangle.
class PixelRuns
{
public:
    PixelRuns(QPainter &p, const QColor &color)
        : m_p(p)
        , m_color(color)
    {
    }
    ~PixelRuns() { flush(); }
    PixelRuns(const PixelRuns &) = delete;
    PixelRuns &operator=(const PixelRuns &) = delete;

    void add(int x, int y)
    {
        if (m_has) {
            if (m_run.height() == 1 && y == m_run.top()) {
                if (x == m_run.right() + 1) {
                    m_run.setRight(x);
                    return;
                }
                if (x == m_run.left() - 1) {
                    m_run.setLeft(x);
                    return;
                }
            }
            if (m_run.width() == 1 && x == m_run.left()) {
                if (y == m_run.bottom() + 1) {
                    m_run.setBottom(y);
                    return;
                }
                if (y == m_run.top() - 1) {
                    m_run.setTop(y);
                    return;
                }
            }
            flush();
        }
        m_run = QRect(x, y, 1, 1);
        m_has = true;
    }
    void flush()
    {
        if (m_has)
            m_p.fillRect(m_run, m_color);
        m_has = false;
    }

private:
    QPainter &m_p;
    QColor m_color;
    QRect m_run;
    bool m_has = false;
};

// Cuts an absurdly long line down to the part near the device (Liang-Barsky), so that the
// pixel loop below stays bounded whatever the geometry.
bool clipToDevice(QPainter &p, int &x1, int &y1, int &x2, int &y2)
{
    const long long dx = (long long)x2 - x1;
    const long long dy = (long long)y2 - y1;
    if (std::max(std::llabs(dx), std::llabs(dy)) <= 65536)
        return true;
    const QPaintDevice *dev = p.device();
    const double w = dev ? dev->width() : 65536;
    const double h = dev ? dev->height() : 65536;
    double t0 = 0;
    double t1 = 1;
    const double pq[4][2] = {{-double(dx), x1 + 2.0}, {double(dx), w + 2.0 - x1},
                             {-double(dy), y1 + 2.0}, {double(dy), h + 2.0 - y1}};
    for (const auto &[pp, q] : pq) {
        if (pp == 0) {
            if (q < 0)
                return false;
            continue;
        }
        const double r = q / pp;
        if (pp < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    if (t0 > t1)
        return false;
    const int nx1 = int(std::floor(x1 + t0 * dx));
    const int ny1 = int(std::floor(y1 + t0 * dy));
    x2 = int(std::floor(x1 + t1 * dx));
    y2 = int(std::floor(y1 + t1 * dy));
    x1 = nx1;
    y1 = ny1;
    return true;
}

// A one-pixel line from (x1, y1) to (x2, y2) with the end point left out, in a dash style.
void pixelLine(QPainter &p, int x1, int y1, int x2, int y2, const QColor &color,
               TrepFrameStyle style)
{
    if (!clipToDevice(p, x1, y1, x2, y2))
        return;
    const std::span<const int> pattern = dashPattern(style);
    if (pattern.empty() && (x1 == x2 || y1 == y2)) {
        const bool vertical = x1 == x2;
        const int from = vertical ? y1 : x1;
        const int to = vertical ? y2 : x2;
        if (from == to)
            return;
        // The end point is left out, whichever way the line runs.
        const int start = from < to ? from : to + 1;
        const int length = std::abs(to - from);
        if (vertical)
            p.fillRect(QRect(x1, start, 1, length), color);
        else
            p.fillRect(QRect(start, y1, length, 1), color);
        return;
    }
    // Vector devices (PDF, printer) get a real line: thousands of one-pixel squares would
    // bloat the output, and their pixels are placed by the device anyway.
    const QPaintEngine *engine = p.paintEngine();
    if (x1 != x2 && y1 != y2 && engine && engine->type() != QPaintEngine::Raster) {
        QPen pen(color, 1, pattern.empty() ? Qt::SolidLine : Qt::CustomDashLine, Qt::FlatCap);
        if (!pattern.empty())
            pen.setDashPattern(QList<qreal>(pattern.begin(), pattern.end()));
        p.setPen(pen);
        p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
        return;
    }
    PixelRuns runs(p, color);
    size_t seg = 0;
    int left = pattern.empty() ? 0 : pattern[0];
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long long err = (long long)dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        if (seg % 2 == 0)
            runs.add(x, y);
        if (!pattern.empty() && --left == 0) {
            seg = (seg + 1) % pattern.size();
            left = pattern[seg];
        }
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// A solid line of width w. Axis-parallel lines are filled rectangles so that every pixel is
// exactly where the layout rules put it; a wide line covers its ends as a round pen would.
void solidLine(QPainter &p, int x1, int y1, int x2, int y2, int w, const QColor &color)
{
    w = std::max(w, 1);
    if (w == 1 || (x1 != x2 && y1 != y2)) {
        drawThickLine(p, x1, y1, x2, y2, w, color, fsSolid);
        return;
    }
    // The pen's w copies start at offset lo: the band covers them from the near end to the far one.
    const int lo = firstOffset(w);
    if (y1 == y2) {
        const int first = std::min(x1, x2) + lo;
        const int last = std::max(x1, x2) + lo + w - 1;
        p.fillRect(QRect(first, y1 + lo, last - first + 1, w), color);
    } else {
        const int first = std::min(y1, y2) + lo;
        const int last = std::max(y1, y2) + lo + w - 1;
        p.fillRect(QRect(x1 + lo, first, w, last - first + 1), color);
    }
}

int signOf(int v)
{
    return v < 0 ? -1 : 1;
}

// fsDouble: two lines of width FW, FW outside and FW inside the side; where a neighbouring
// side is framed too, the outer line is lengthened and the inner one shortened so the corners
// meet. Between them the background colour at the side's own position.
void doubleSide(QPainter &p, const DrawView &view, unsigned side, int x1, int y1, int x2, int y2,
                int fw)
{
    const TrepFrameTypes typ = view.Frame.Typ;
    const bool horizontal = side == ftTop || side == ftBottom;
    const int outerSign = (side == ftLeft || side == ftTop) ? -1 : 1;
    const bool startFramed = horizontal ? (typ & ftLeft) : (typ & ftTop);
    const bool endFramed = horizontal ? (typ & ftRight) : (typ & ftBottom);
    const QColor frameColor = toQColor(view.Frame.Color);
    const QColor fill = toQColor(view.Color);

    auto line = [&](int offset, const QColor &color) {
        int a1 = horizontal ? x1 : y1;
        int a2 = horizontal ? x2 : y2;
        if (offset != 0) {
            const int dir = signOf(a2 - a1);
            const int delta = (offset < 0) == (outerSign < 0) ? fw : -fw;
            if (startFramed)
                a1 -= dir * delta;
            if (endFramed)
                a2 += dir * delta;
        }
        if (horizontal)
            solidLine(p, a1, y1 + offset, a2, y2 + offset, fw, color);
        else
            solidLine(p, x1 + offset, a1, x2 + offset, a2, fw, color);
    };
    line(-fw, frameColor);
    if (fill.isValid())
        line(0, fill);
    line(fw, frameColor);
}

QRect inclusiveBox(const DeviceRect &d)
{
    return QRect(QPoint(std::min(d.X, d.X1), std::min(d.Y, d.Y1)),
                 QPoint(std::max(d.X, d.X1), std::max(d.Y, d.Y1)));
}

// Outline of the inclusive box as four bands of width w centred on its edges.
void solidOutline(QPainter &p, const QRect &box, int w, const QColor &color)
{
    w = std::max(w, 1);
    const int lo = firstOffset(w);
    const int l = box.left() + lo;
    const int t = box.top() + lo;
    const int r = box.right() + lo;   // first column of the right band
    const int b = box.bottom() + lo;  // first row of the bottom band
    const int fullW = r + w - l;
    const int fullH = b + w - t;
    p.fillRect(QRect(l, t, fullW, w), color);
    p.fillRect(QRect(l, b, fullW, w), color);
    p.fillRect(QRect(l, t, w, fullH), color);
    p.fillRect(QRect(r, t, w, fullH), color);
}

void shapeOnce(QPainter &p, const DrawShape &shape, const DeviceRect &d, const QBrush &brush,
               const QColor &penColor)
{
    const TrepFrameStyle frameStyle = shape.Frame.Style;
    const Qt::PenStyle style = penStyle(frameStyle);
    const QRect box = inclusiveBox(d);
    const int fw = d.FW;
    const bool pen = penColor.isValid() && style != Qt::NoPen;
    if (shape.Shape == skRectangle) {
        if (brush.style() != Qt::NoBrush)
            p.fillRect(box, brush);
        if (!pen)
            return;
        // A pen wider than a pixel always draws solid on the platform.
        if (frameStyle == fsSolid || fw > 1) {
            solidOutline(p, box, fw, penColor);
        } else {
            const int l = box.left();
            const int t = box.top();
            const int r = box.right();
            const int b = box.bottom();
            pixelLine(p, l, t, r, t, penColor, frameStyle);
            pixelLine(p, r, t, r, b, penColor, frameStyle);
            pixelLine(p, r, b, l, b, penColor, frameStyle);
            pixelLine(p, l, b, l, t, penColor, frameStyle);
        }
        return;
    }
    QPen qpen = pen ? QPen(penColor, std::max(fw, 1), fw > 1 ? Qt::SolidLine : style)
                    : QPen(Qt::NoPen);
    if (fw <= 1)
        qpen.setCosmetic(true);
    p.setPen(qpen);
    p.setBrush(brush);
    const int l = box.left();
    const int t = box.top();
    const int r = box.right();
    const int b = box.bottom();
    const int cx = (l + r) / 2;
    const int cy = (t + b) / 2;
    switch (shape.Shape) {
    case skRoundRectangle: {
        const int radius = std::min(std::abs(d.DX), std::abs(d.DY)) / 4;
        p.drawRoundedRect(box.adjusted(0, 0, -1, -1), radius, radius);
        break;
    }
    case skEllipse:
        p.drawEllipse(box.adjusted(0, 0, -1, -1));
        break;
    case skTriangle:
        p.drawPolygon(QPolygon({QPoint(cx, t), QPoint(r, b), QPoint(l, b)}));
        break;
    case skDiamond:
        p.drawPolygon(QPolygon({QPoint(cx, t), QPoint(r, cy), QPoint(cx, b), QPoint(l, cy)}));
        break;
    case skDiagonal1:
        p.drawLine(l, b, r, t);
        break;
    case skDiagonal2:
        p.drawLine(l, t, r, b);
        break;
    case skRectangle:
        break;
    }
}

} // namespace

DeviceRect deviceRect(const DrawView &view, const DrawArgs &args)
{
    DeviceRect d;
    d.X = roundEven(args.OffsetX + args.ScaleX * view.Left);
    d.Y = roundEven(args.OffsetY + args.ScaleY * view.Top);
    d.X1 = roundEven(args.OffsetX + args.ScaleX * (view.Left + view.Width));
    d.Y1 = roundEven(args.OffsetY + args.ScaleY * (view.Top + view.Height));
    if (view.Frame.DropShadow) {
        d.X1 -= roundEven(args.ScaleX * view.Frame.ShadowWidth);
        d.Y1 -= roundEven(args.ScaleY * view.Frame.ShadowWidth);
    }
    d.DX = d.X1 - d.X;
    d.DY = d.Y1 - d.Y;
    d.FW = roundEven(args.ScaleX * view.Frame.Width);
    return d;
}

void drawBackground(const DrawView &view, const DeviceRect &d, const DrawArgs &args)
{
    QPainter &p = *args.Canvas;
    const QColor color = toQColor(view.Color);
    if (color.isValid()) {
        const int w = std::abs(d.X1 - d.X);
        const int h = std::abs(d.Y1 - d.Y);
        if (w > 0 && h > 0)
            p.fillRect(QRect(std::min(d.X, d.X1), std::min(d.Y, d.Y1), w, h), color);
    }
    if (view.BrushStyle != bsSolid) {
        const QColor frameColor = toQColor(view.Frame.Color);
        const Qt::BrushStyle pattern = brushPattern(view.BrushStyle);
        p.setBrush(frameColor.isValid() && pattern != Qt::NoBrush ? QBrush(frameColor, pattern)
                                                                  : QBrush());
        p.setPen(onePixelPen(color.isValid() ? color : QColor(Qt::white), Qt::SolidLine));
        p.drawRect(inclusiveBox(d).adjusted(0, 0, -1, -1));
        p.setBrush(QBrush());
    }
}

void drawFrame(const DrawView &view, const DeviceRect &d, const DrawArgs &args)
{
    QPainter &p = *args.Canvas;
    const DrawFrame &f = view.Frame;
    if (f.DropShadow) {
        const QColor shadow = toQColor(f.ShadowColor);
        const int sx = roundEven(args.ScaleX * f.ShadowWidth);
        const int sy = roundEven(args.ScaleY * f.ShadowWidth);
        if (shadow.isValid() && sx > 0 && sy > 0) {
            p.fillRect(QRect(d.X1, d.Y + sy, sx, d.Y1 - d.Y), shadow);
            p.fillRect(QRect(d.X + sx, d.Y1, d.X1 - d.X, sy), shadow);
        }
    }
    if (f.Typ == 0 || f.Color == clNone || f.Width == 0)
        return;
    const QColor color = toQColor(f.Color);
    const int fw = d.FW;
    struct Side
    {
        unsigned typ;
        int x1, y1, x2, y2;
    };
    const Side sides[] = {
        {ftLeft, d.X, d.Y, d.X, d.Y1},
        {ftRight, d.X1, d.Y, d.X1, d.Y1},
        {ftTop, d.X, d.Y, d.X1, d.Y},
        {ftBottom, d.X, d.Y1, fw == 1 ? d.X1 + 1 : d.X1, d.Y1},
    };
    for (const Side &s : sides) {
        if (!(f.Typ & s.typ))
            continue;
        switch (f.Style) {
        case fsSolid:
            solidLine(p, s.x1, s.y1, s.x2, s.y2, fw, color);
            break;
        case fsDouble:
            doubleSide(p, view, s.typ, s.x1, s.y1, s.x2, s.y2, fw);
            break;
        default:
            drawThickLine(p, s.x1, s.y1, s.x2, s.y2, fw, color, f.Style);
            break;
        }
    }
}

void drawView(const DrawView &view, const DrawArgs &args)
{
    if (!args.Canvas || (args.Printer && !view.Printable))
        return;
    PainterState state(*args.Canvas);
    const DeviceRect d = deviceRect(view, args);
    drawBackground(view, d, args);
    drawFrame(view, d, args);
}

TRect memoClipRect(const DrawMemo &memo, const DeviceRect &d, const DrawArgs &args)
{
    const int gx = roundEven(args.ScaleX * memo.GapX);
    const int gy = roundEven(args.ScaleY * memo.GapY);
    const TrepFrameTypes typ = memo.Frame.Typ;
    const double fw = memo.Frame.Width;
    TRect r;
    r.Left = d.X + gx + ((typ & ftLeft) ? roundEven((args.ScaleX * fw - 1) / 2) : 0);
    r.Top = d.Y + gy + ((typ & ftTop) ? roundEven((args.ScaleY * fw - 1) / 2) : 0);
    r.Right = d.X1 - gx + 1 - ((typ & ftRight) ? roundEven(args.ScaleX * fw / 2) : 0);
    r.Bottom = d.Y1 - gy + 1 - ((typ & ftBottom) ? roundEven(args.ScaleY * fw / 2) : 0);
    return r;
}

namespace {

// Sets everything the layout object needs for this memo, in the order it expects.
void prepareText(TrepDrawText &text, const DrawMemo &memo, const DrawFont &font,
                 const DrawArgs &args)
{
    text.setFont(font);
    text.setOptions(memo.WordWrap, memo.AllowHTMLTags, memo.Rotation, memo.WordBreak,
                    memo.RTLReading);
    text.setGaps(memo.ParagraphGap, memo.CharSpacing, memo.LineSpacing);
    DrawArgs unit;
    const TRect textRect = memoClipRect(memo, deviceRect(memo, unit), unit);
    const TRect clipRect = memoClipRect(memo, deviceRect(memo, args), args);
    text.setDimensions(textRect, clipRect, args.ScaleX, args.ScaleY);
    text.setText(memo.Text);
}

} // namespace

void drawMemo(DrawMemo &memo, const DrawArgs &args, TrepDrawText *text)
{
    if (!args.Canvas || (args.Printer && !memo.Printable))
        return;
    TrepDrawTextLock lock(text ? *text : TrepDrawText::shared());

    if (!memo.DesignMode) {
        const qsizetype at = memo.Text.indexOf(totalPagesTag, 0, Qt::CaseInsensitive);
        if (at >= 0)
            memo.Text.replace(at, totalPagesTag.size(), QString::number(memo.PageCount));
    }
    // The highlight changes font and colour for this drawing only; memo keeps its own.
    DrawView view = memo;
    const DrawFont &font = memo.Highlight.Active ? memo.Highlight.Font : memo.Font;
    if (memo.Highlight.Active)
        view.Color = memo.Highlight.Color;

    prepareText(lock.get(), memo, font, args);

    PainterState state(*args.Canvas);
    const DeviceRect d = deviceRect(view, args);
    drawBackground(view, d, args);
    drawFrame(view, d, args);
    lock->drawText(*args.Canvas, memo.HAlign, memo.VAlign, args.Printer);
}

void drawLine(DrawLine &line, const DrawArgs &args)
{
    if (!args.Canvas || (args.Printer && !line.Printable))
        return;
    if (!line.Diagonal) {
        if (line.Width <= line.Height) {
            line.Width = 0;
            line.Frame.Typ = ftLeft;
        } else {
            line.Height = 0;
            line.Frame.Typ = ftTop;
        }
    }
    PainterState state(*args.Canvas);
    const DeviceRect d = deviceRect(line, args);
    if (!line.Diagonal) {
        drawFrame(line, d, args);
        return;
    }
    if (line.Frame.Color == clNone || line.Frame.Width == 0)
        return;
    drawThickLine(*args.Canvas, d.X, d.Y, d.X1, d.Y1, d.FW, toQColor(line.Frame.Color),
                  line.Frame.Style);
}

void drawShape(const DrawShape &shape, const DrawArgs &args)
{
    if (!args.Canvas || (args.Printer && !shape.Printable))
        return;
    PainterState state(*args.Canvas);
    QPainter &p = *args.Canvas;
    const DeviceRect d = deviceRect(shape, args);
    const QColor penColor = toQColor(shape.Frame.Color);
    const QColor color = toQColor(shape.Color);
    if (shape.BrushStyle == bsSolid) {
        shapeOnce(p, shape, d, color.isValid() ? QBrush(color) : QBrush(), penColor);
        return;
    }
    if (color.isValid())
        shapeOnce(p, shape, d, QBrush(color), penColor);
    const Qt::BrushStyle pattern = brushPattern(shape.BrushStyle);
    shapeOnce(p, shape, d,
              penColor.isValid() && pattern != Qt::NoBrush ? QBrush(penColor, pattern) : QBrush(),
              penColor);
}

void drawThickLine(QPainter &canvas, int x1, int y1, int x2, int y2, int w, const QColor &color,
                   TrepFrameStyle style)
{
    if (!color.isValid())
        return;
    w = std::max(w, 1);
    const int from = firstOffset(w);
    const int to = w % 2 == 0 ? w / 2 - 1 : w / 2;
    const bool moreHorizontal = std::abs(x2 - x1) > std::abs(y2 - y1);
    for (int k = from; k <= to; ++k) {
        if (moreHorizontal)
            pixelLine(canvas, x1, y1 + k, x2, y2 + k, color, style);
        else
            pixelLine(canvas, x1 + k, y1, x2 + k, y2, color, style);
    }
}

namespace {

// The text's extent along one axis, both gaps, and the frame's share of the two sides across
// it: half of each framed side's width, half a pixel less at the start side.
int memoExtent(const DrawMemo &memo, TrepDrawText *text, bool vertical)
{
    TrepDrawTextLock lock(text ? *text : TrepDrawText::shared());
    prepareText(lock.get(), memo, memo.Highlight.Active ? memo.Highlight.Font : memo.Font,
                DrawArgs{});
    const double fw = memo.Frame.Width;
    const unsigned startSide = vertical ? ftTop : ftLeft;
    const unsigned endSide = vertical ? ftBottom : ftRight;
    const double share = ((memo.Frame.Typ & startSide) ? fw / 2 - 0.5 : 0)
                         + ((memo.Frame.Typ & endSide) ? fw / 2 : 0);
    const double extent = vertical ? lock->textHeight() + 2 * memo.GapY : lock->textWidth() + 2 * memo.GapX;
    return roundEven(extent + share);
}

} // namespace

int memoCalcHeight(const DrawMemo &memo, TrepDrawText *text)
{
    return memoExtent(memo, text, true);
}

int memoCalcWidth(const DrawMemo &memo, TrepDrawText *text)
{
    return memoExtent(memo, text, false);
}

MemoFit memoFit(const DrawMemo &memo, TrepDrawText *text)
{
    TrepDrawTextLock lock(text ? *text : TrepDrawText::shared());
    TrepDrawText &t = lock.get();
    t.setFont(memo.Highlight.Active ? memo.Highlight.Font : memo.Font);
    t.setOptions(memo.WordWrap, memo.AllowHTMLTags, memo.Rotation, memo.WordBreak, memo.RTLReading);
    t.setGaps(memo.ParagraphGap, memo.CharSpacing, memo.LineSpacing);
    DrawArgs unit;
    const TRect textRect = memoClipRect(memo, deviceRect(memo, unit), unit);
    t.setDimensions(textRect, textRect, 1, 1);
    // The height in exact units, not the unit-scale pixels: a printer has many more of them.
    const double fw = memo.Frame.Width;
    const double height = memo.Height - 2 * memo.GapY - ((memo.Frame.Typ & ftTop) ? fw / 2 : 0)
                          - ((memo.Frame.Typ & ftBottom) ? fw / 2 : 0);
    const TrepDrawText::Fit fit = t.fit(memo.Text, height);
    return {fit.shown, fit.whole};
}

} // namespace rep::draw
