#include "report/draw/trepdrawtext.h"

#include "report/draw/drawntextsink.h"
#include "rounding_p.h"
#include "spreadpixels_p.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace rep::draw {

namespace {

Q_LOGGING_CATEGORY(lcReportDraw, "telekado.report.draw", QtInfoMsg)

// Where the paragraph after the one ending at `end` (its CR, LF or CRLF, or the text's end)
// begins; -1 when there is none, a break at the very end opening no further line.
qsizetype nextParagraph(const QString &text, qsizetype end)
{
    const qsizetype n = text.size();
    if (end == n)
        return -1;
    qsizetype start = end + 1;
    if (text[end] == QLatin1Char('\r') && start < n && text[start] == QLatin1Char('\n'))
        ++start;
    return start == n ? -1 : start;
}

int readScreenDpi()
{
    const QImage probe(1, 1, QImage::Format_RGB32);
    const int dpi = probe.logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

// A pixel difference to spread, kept within int for absurd sizes.
int clampedPixels(long long pixels)
{
    return int(std::clamp<long long>(pixels, -1000000000LL, 1000000000LL));
}

bool isBlockSpace(QChar c)
{
    return c.unicode() == 32 || c.unicode() == 160;
}

} // namespace

TrepDrawText::TrepDrawText(int screenDpi)
    : m_screenDpi(screenDpi > 0 ? screenDpi : readScreenDpi())
{
    setFont(DrawFont{});
}

TrepDrawText &TrepDrawText::shared()
{
    static TrepDrawText text;
    return text;
}

bool TrepDrawText::tryLock()
{
    if (m_busy)
        return false;
    m_busy = true;
    return true;
}

void TrepDrawText::setFont(const DrawFont &font)
{
    m_font = font;
    // Whole points, halves away from zero, as the platform converts a height to a size.
    m_fontSize = std::max(1, roundAway(std::abs(font.Height) * 72.0 / m_screenDpi));
    m_measurePixels = std::max(1, roundAway(m_fontSize * double(MeasureDpi) / 72.0));
    m_fontKey = font.Name + QLatin1Char('/') + QString::number(font.Style & (fsBold | fsItalic))
                + QLatin1Char('/');
}

void TrepDrawText::setOptions(bool wordWrap, bool allowHtmlTags, int rotation, bool wordBreak,
                              bool rtlReading)
{
    m_wordWrap = wordWrap;
    m_allowHtmlTags = allowHtmlTags;
    m_rotation = ((rotation % 360) + 360) % 360;
    m_wordBreak = wordBreak;
    m_rtlReading = rtlReading;
}

void TrepDrawText::setGaps(double paragraphGap, double charSpacing, double lineSpacing)
{
    m_paragraphGap = paragraphGap;
    m_charSpacing = charSpacing;
    m_lineSpacing = lineSpacing;
}

void TrepDrawText::setDimensions(const TRect &textRect, const TRect &clipRect, double scaleX,
                                 double scaleY)
{
    m_textRect = textRect;
    m_clipRect = clipRect;
    m_scaleX = scaleX;
    m_scaleY = scaleY;
}

QRawFont TrepDrawText::rawFont(int pixelSize)
{
    const QString key = m_fontKey + QString::number(pixelSize);
    auto it = m_fonts.constFind(key);
    if (it != m_fonts.constEnd())
        return *it;
    QFont font(m_font.Name);
    font.setPixelSize(pixelSize);
    font.setBold(m_font.Style & fsBold);
    font.setItalic(m_font.Style & fsItalic);
    font.setKerning(false);
    QRawFont raw = QRawFont::fromFont(font);
    if (m_fonts.size() > 64)
        m_fonts.clear();
    m_fonts.insert(key, raw);
    return raw;
}

void TrepDrawText::setWidths()
{
    const bool rotated = (m_rotation >= 90 && m_rotation < 180) || m_rotation >= 270;
    const int areaWidth = rotated ? m_textRect.height() : m_textRect.width();
    // Screen pixels to 600 dpi; a paragraph's first line is narrower by the paragraph gap.
    m_maxWidth = roundEven(double(MeasureDpi) * areaWidth / m_screenDpi);
    m_firstWidth = roundEven((areaWidth - m_paragraphGap) * MeasureDpi / m_screenDpi);
    m_charSpacing600 = roundEven(double(MeasureDpi) * m_charSpacing / m_screenDpi);
}

void TrepDrawText::setText(const QString &text)
{
    m_lines.clear();
    setWidths();
    if (text.isEmpty())
        return;

    const QRawFont font = rawFont(m_measurePixels);
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (true) {
        qsizetype end = start;
        while (end < n && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        breakLine(font, text.mid(start, end - start));
        start = nextParagraph(text, end);
        if (start < 0)
            break;
    }
}

void TrepDrawText::breakLine(const QRawFont &font, const QString &source)
{
    // An empty line keeps its height: it is laid out as a single space.
    const QString text = source.isEmpty() ? QStringLiteral(" ") : source;
    const int n = int(text.size());

    std::vector<quint32> glyphs(n);
    int count = n;
    if (!font.glyphIndexesForChars(text.constData(), n, glyphs.data(), &count) || count != n) {
        // Surrogate pairs give fewer glyphs: map every code unit on its own instead.
        for (int i = 0; i < n; ++i) {
            int one = 1;
            if (!font.glyphIndexesForChars(text.constData() + i, 1, &glyphs[i], &one))
                glyphs[i] = 0;
        }
    }
    std::vector<QPointF> adv(n);
    if (n > 0 && !font.advancesForGlyphIndexes(glyphs.data(), adv.data(), n)) {
        qCWarning(lcReportDraw) << "no advances from font" << m_font.Name << "; the text is measured as empty";
        std::fill(adv.begin(), adv.end(), QPointF());
    }

    // ext[i]: cumulative extent of characters 1..i at the measuring resolution.
    std::vector<double> ext(n + 1);
    ext[0] = 0;
    for (int i = 1; i <= n; ++i)
        ext[i] = ext[i - 1] + adv[i - 1].x() + m_charSpacing600;

    const size_t firstIndex = m_lines.size();
    if (!m_wordWrap || n == 1 || ext[n] < m_firstWidth) {
        addLine(text, glyphs, ext, 1, n);
    } else {
        // Greedy breaking with 1-based character positions: a line grows from lineStart while
        // the extent since the end of the previous line, ext[i] - brokenExtent, fits the width
        // available (the first line's is narrower by the paragraph gap). On overflow the line
        // ends before the last space seen, which is dropped, or between characters without one.
        int lineStart = 1;
        int lastSpace = 1;       // lineStart while the line has no space yet
        double brokenExtent = 0; // ext at the end of the previous line
        int available = m_firstWidth;
        int i = 1;
        while (i <= n) {
            if (text[i - 1] == QLatin1Char(' '))
                lastSpace = i;
            if (ext[i] - brokenExtent <= available) {
                ++i;
                continue;
            }
            if (lastSpace == lineStart) {
                // No space since the line start: break between characters.
                if (i == lineStart) {
                    addLine(text, glyphs, ext, lineStart, lineStart);
                } else {
                    addLine(text, glyphs, ext, lineStart, i - 1);
                    lastSpace = i - 1;
                }
            } else {
                addLine(text, glyphs, ext, lineStart, lastSpace - 1);
            }
            brokenExtent = ext[lastSpace];
            lineStart = lastSpace + 1;
            lastSpace = lineStart;
            available = m_maxWidth;
            i = lineStart;
        }
        // When the last break ended exactly at the end nothing is left to make a line of.
        if (lineStart <= n)
            addLine(text, glyphs, ext, lineStart, n);
    }
    Q_ASSERT(m_lines.size() > firstIndex); // every source line gives at least one line
    m_lines[firstIndex].flags |= FirstOfParagraph;
    m_lines.back().flags |= LastOfParagraph;
}

void TrepDrawText::addLine(const QString &source, const std::vector<quint32> &glyphs,
                           const std::vector<double> &ext, int from, int to)
{
    Line line;
    if (to >= from) {
        line.text = source.mid(from - 1, to - from + 1);
        line.glyphs.assign(glyphs.begin() + (from - 1), glyphs.begin() + to);
        line.width600 = ext[to] - ext[from - 1];
    }
    m_lines.push_back(std::move(line));
}

QString TrepDrawText::plainText() const
{
    QString result;
    for (const Line &line : m_lines)
        result += line.text + QStringLiteral("\r\n");
    return result;
}

double TrepDrawText::lineHeight() const
{
    return m_measurePixels * double(m_screenDpi) / MeasureDpi + m_lineSpacing;
}

double TrepDrawText::textHeight() const
{
    return lineHeight() * double(m_lines.size());
}

TrepDrawText::Fit TrepDrawText::fit(const QString &text, double areaHeight)
{
    m_lines.clear();
    setWidths();
    Fit result;
    if (text.isEmpty())
        return result;
    // The spacing below the last line may fall outside: the glyphs end above it. A hair of
    // tolerance, so that a height holding n lines exactly does not lose the last to rounding.
    const double step = lineHeight();
    const double room = areaHeight + m_lineSpacing;
    const long long capacity =
        step > 0 && areaHeight > 0 ? static_cast<long long>(std::floor(room / step + 1e-9)) : 0;
    const QRawFont font = rawFont(m_measurePixels);
    const qsizetype n = text.size();
    qsizetype start = 0;
    auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (true) {
        const long long left = capacity - static_cast<long long>(m_lines.size());
        const size_t before = m_lines.size();
        // Only a prefix of a long source line is broken, and its end is looked for only that far:
        // once the prefix gives more lines than there is room for, the lines that fit are the
        // ones the whole line would give.
        long long take = std::min<long long>(n - start, (std::max(left, 0LL) + 1) * 256);
        qsizetype end = start;
        qsizetype length = 0;
        while (true) {
            const qsizetype limit = start + qsizetype(take);
            while (end < limit && !isBreak(text[end]))
                ++end;
            length = end - start;
            m_lines.resize(before);
            breakLine(font, text.mid(start, length));
            const bool complete = end < limit || limit == n;
            if (complete || static_cast<long long>(m_lines.size() - before) > left)
                break;
            take = std::min<long long>(n - start, take * 2);
        }
        const size_t laidOut = m_lines.size() - before;
        const size_t fitting = std::min<size_t>(laidOut, size_t(std::max(left, 0LL)));
        qsizetype pos = 0;
        for (size_t k = 0; k < fitting; ++k) {
            const Line &line = m_lines[before + k];
            const qsizetype chars = std::min<qsizetype>(line.text.size(), length - pos);
            const int width = (line.flags & FirstOfParagraph) ? m_firstWidth : m_maxWidth;
            if (line.width600 > width) {
                // Wider than the area (no wrapping, or one character alone): the characters up
                // to the right edge show.
                std::vector<QPointF> adv(line.glyphs.size());
                if (!adv.empty())
                    font.advancesForGlyphIndexes(line.glyphs.data(), adv.data(), int(adv.size()));
                double extent = 0;
                qsizetype shownHere = 0;
                for (qsizetype c = 0; c < chars; ++c) {
                    extent += adv[size_t(c)].x() + m_charSpacing600;
                    if (extent > width)
                        break;
                    ++shownHere;
                }
                result.shown += pos + shownHere;
                result.whole = false;
                m_lines.resize(before + k + 1);
                return result;
            }
            pos += chars;
            // A line broken at a space drops that space; it shows only between two shown lines.
            if (k + 1 < fitting && pos < length && text[start + pos] == QLatin1Char(' '))
                ++pos;
        }
        if (laidOut > fitting) {
            result.shown += pos;
            result.whole = false;
            m_lines.resize(before + fitting);
            return result;
        }
        result.shown += length;
        start = nextParagraph(text, end);
        if (start < 0)
            break;
    }
    return result;
}

double TrepDrawText::textWidth() const
{
    const int gap600 = roundEven(double(MeasureDpi) * m_paragraphGap / m_screenDpi);
    double widest = 0;
    for (const Line &line : m_lines) {
        const double width600 = line.width600 + ((line.flags & FirstOfParagraph) ? gap600 : 0);
        widest = std::max(widest, width600);
    }
    return widest / (double(MeasureDpi) / m_screenDpi);
}

int TrepDrawText::outputPixelHeight(int dpiY, bool printer) const
{
    const int points = printer ? m_fontSize : roundEven(m_fontSize * m_scaleY);
    const int dpi = printer ? dpiY : m_screenDpi;
    return std::max(1, roundAway(points * double(dpi) / 72.0));
}

TrepDrawText::Placement TrepDrawText::place(int dpiX, int dpiY, bool printer, TrepHAlign hAlign,
                                            TrepVAlign vAlign)
{
    Placement result;
    const int n = int(m_lines.size());
    if (n == 0 || dpiX <= 0 || dpiY <= 0)
        return result;

    const int pixelHeight = outputPixelHeight(dpiY, printer);
    result.pixelHeight = pixelHeight;
    // The ideal height is n lines of the measured height brought to this device plus the line
    // spacing; on a printer only the spacing is zoomed, elsewhere the whole line.
    const double measuredPerDevice = double(MeasureDpi) / dpiY;
    const double ideal = printer ? n * (m_lineSpacing * m_scaleY + m_measurePixels / measuredPerDevice)
                                 : n * (m_lineSpacing + m_measurePixels / measuredPerDevice) * m_scaleY;
    const int idealHeight = roundEven(ideal);
    result.idealHeight = idealHeight;
    const int step = roundEven(m_lineSpacing * m_scaleY) + pixelHeight;
    result.step = step;

    // The lines fill the ideal height: the difference goes to the gaps between them.
    std::vector<int> gaps(n > 1 ? n - 1 : 0, step);
    spreadPixels(clampedPixels(idealHeight - (long long)n * step), gaps);
    const bool gapsDescend = std::all_of(gaps.begin(), gaps.end(), [](int g) { return g > 0; });

    const TRect &clip = m_clipRect;
    const int x = clip.Left;
    int y = clip.Top;
    const int availW = clip.width();
    const int availH = clip.height();
    if (vAlign == vaBottom)
        y += roundEven(availH - double(idealHeight));
    else if (vAlign == vaCenter)
        y += roundEven((availH - double(idealHeight)) / 2);

    QRawFont out = rawFont(pixelHeight);
    const int charSpacing = roundEven(m_charSpacing * m_scaleX);
    const double toDevice = double(MeasureDpi) / dpiX;
    std::vector<QPointF> adv;

    for (int i = 0; i < n; ++i) {
        if (gapsDescend && y >= clip.Bottom)
            break;
        const Line &line = m_lines[i];
        // Glyphs reach below the top by about twice the nominal height at most.
        const bool visible = y < clip.Bottom && y + 2 * pixelHeight + 2 > clip.Top;
        if (visible && !line.glyphs.empty()) {
            const bool first = line.flags & FirstOfParagraph;
            const int indent = first && (hAlign == haLeft || hAlign == haBlock)
                                   ? roundEven(m_paragraphGap * m_scaleX)
                                   : 0;
            TrepHAlign align = hAlign;
            if (align == haBlock && (line.flags & LastOfParagraph))
                align = m_rtlReading ? haRight : haLeft;

            PlacedLine placed;
            placed.index = i;
            placed.y = y;
            placed.x = x + indent;
            const int lineRoom = availW - indent;
            const int count = int(line.glyphs.size());
            adv.resize(count);
            if (!out.advancesForGlyphIndexes(line.glyphs.data(), adv.data(), count)) {
                qCWarning(lcReportDraw) << "no advances from font" << m_font.Name << "at" << pixelHeight << "px";
                std::fill(adv.begin(), adv.end(), QPointF());
            }
            placed.advances.resize(count);
            long long drawnWidth = 0;
            for (int k = 0; k < count; ++k) {
                placed.advances[k] = roundEven(adv[k].x()) + charSpacing;
                drawnWidth += placed.advances[k];
            }
            // The ideal width is the 600-dpi width brought to this device (zoomed unless
            // printing); the rounded advances of the output font add up to drawnWidth, and
            // the difference is spread over the characters so that the line keeps its measure.
            const int idealWidth = printer ? roundEven(line.width600 / toDevice)
                                           : roundEven(line.width600 / toDevice * m_scaleX);
            placed.idealWidth = idealWidth;
            if (align == haRight)
                placed.x += roundEven(double(lineRoom) - idealWidth + 1);
            else if (align == haCenter)
                placed.x += roundEven((double(lineRoom) - idealWidth) / 2);

            bool spread = false;
            if (align == haBlock) {
                std::vector<int> spaces;
                for (int k = 0; k < count; ++k) {
                    if (isBlockSpace(line.text[k]))
                        spaces.push_back(k);
                }
                if (!spaces.empty()) {
                    // Justified: the spaces take up what the line leaves of its room.
                    std::vector<int> extra(spaces.size());
                    spreadPixels(clampedPixels(lineRoom - drawnWidth), extra);
                    for (size_t k = 0; k < spaces.size(); ++k)
                        placed.advances[spaces[k]] += extra[k];
                    spread = true;
                }
            }
            if (!spread)
                spreadPixels(clampedPixels(idealWidth - drawnWidth), placed.advances);
            result.lines.push_back(std::move(placed));
        }
        if (i < n - 1)
            y += gaps[i];
    }
    return result;
}

void TrepDrawText::drawText(QPainter &canvas, TrepHAlign hAlign, TrepVAlign vAlign, bool printer)
{
    if (m_lines.empty())
        return;
    const TRect &clip = m_clipRect;
    if (clip.width() <= 0 || clip.height() <= 0)
        return;
    const QColor color = toQColor(m_font.Color);
    if (!color.isValid())
        return;
    QPaintDevice *device = canvas.device();
    const int dpiX = device ? device->logicalDpiX() : m_screenDpi;
    const int dpiY = device ? device->logicalDpiY() : m_screenDpi;

    const Placement placement = place(dpiX, dpiY, printer, hAlign, vAlign);
    if (placement.lines.empty())
        return;
    const QRawFont out = rawFont(placement.pixelHeight);
    const int ascent = roundEven(out.ascent());

    canvas.save();
    const QRect clipRect(clip.Left, clip.Top, clip.width(), clip.height());
    canvas.setClipRect(clipRect, canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    canvas.setPen(color);

    // A recording canvas is told each line's text, which the glyph run does not carry.
    auto *sink = dynamic_cast<DrawnTextSink *>(device);
    const int cellHeight = ascent + roundEven(out.descent());

    QGlyphRun run;
    run.setRawFont(out);
    run.setUnderline(m_font.Style & fsUnderline);
    run.setStrikeOut(m_font.Style & fsStrikeOut);
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (const PlacedLine &placed : placement.lines) {
        const Line &line = m_lines[placed.index];
        glyphs.clear();
        positions.clear();
        long long pos = placed.x;
        const int count = int(line.glyphs.size());
        for (int k = 0; k < count; ++k) {
            // Only glyphs that can reach into the clip rectangle are output.
            if (pos >= clip.Right)
                break;
            if (pos + placed.advances[k] + 2LL * placement.pixelHeight > clip.Left) {
                glyphs.append(line.glyphs[k]);
                positions.append(QPointF(double(pos), double(placed.y + ascent)));
            }
            pos += placed.advances[k];
        }
        if (glyphs.isEmpty())
            continue;
        if (sink) {
            const long long width = std::accumulate(placed.advances.begin(), placed.advances.end(), 0LL);
            const QRect cell(placed.x, placed.y, int(std::min<long long>(width, clip.Right - placed.x)), cellHeight);
            sink->textDrawn(line.text, canvas.combinedTransform().mapRect(QRectF(cell.intersected(clipRect))));
        }
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        canvas.drawGlyphRun(QPointF(0, 0), run);
    }
    canvas.restore();
}

TrepDrawTextLock::TrepDrawTextLock(TrepDrawText &text)
    : m_used(&text)
{
    if (!text.tryLock()) {
        qCDebug(lcReportDraw) << "text layout busy: a nested user gets its own";
        m_own = new TrepDrawText(text.screenDpi());
        m_own->tryLock();
        m_used = m_own;
    }
}

TrepDrawTextLock::~TrepDrawTextLock()
{
    m_used->unlock();
    delete m_own;
}

} // namespace rep::draw
