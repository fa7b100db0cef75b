#include "controls/richtext/richlabelmodel.h"

#include "controls/richtext/richtextlayout.h"

#include <QLoggingCategory>
#include <QPainter>

#include <algorithm>

namespace rtf {

namespace {
Q_LOGGING_CATEGORY(lcRichText, "telekado.controls.richtext", QtInfoMsg)
} // namespace

QMargins TCtlRTFBevel::margins(int sides) const
{
    const int width = (StyleOuter != bvNone ? 1 : 0) + (StyleInner != bvNone ? 1 : 0);
    const int s = BorderSides & sides;
    return QMargins(s & bsLeft ? width : 0, s & bsTop ? width : 0, s & bsRight ? width : 0,
                    s & bsBottom ? width : 0);
}

void TCtlRTFBevel::paint(QPainter &painter, const QRect &rect, const QColor &shadow, const QColor &highlight,
                         int sides) const
{
    const int s = BorderSides & sides;
    QRect r = rect;
    for (TBevelCut style : {StyleOuter, StyleInner}) {
        if (style == bvNone)
            continue;
        const QColor topLeft = style == bvLowered ? shadow : highlight;
        const QColor bottomRight = style == bvLowered ? highlight : shadow;
        if (s & bsTop)
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
        if (s & bsLeft)
            painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
        if (s & bsBottom)
            painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
        if (s & bsRight)
            painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        r = r.marginsRemoved(QMargins(s & bsLeft ? 1 : 0, s & bsTop ? 1 : 0, s & bsRight ? 1 : 0,
                                      s & bsBottom ? 1 : 0));
    }
}

RichLabelModel::RichLabelModel() = default;

void RichLabelModel::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_documentStale = true;
}

void RichLabelModel::setRichText(QByteArrayView rtf)
{
    QStringList lines = QString::fromLatin1(rtf).split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    setLines(lines);
}

void RichLabelModel::setFont(const QFont &font)
{
    m_font = font;
    m_documentStale = true;
}

namespace {

// The lines as RTF bytes: they hold 8-bit text; anything beyond travels as \u escapes.
QByteArray rtfBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            bytes += '\n';
        for (QChar c : lines.at(i)) {
            if (c.unicode() <= 0xFF)
                bytes += char(c.unicode());
            else
                bytes += "\\u" + QByteArray::number(qint16(c.unicode())) + '?';
        }
    }
    return bytes;
}

} // namespace

QTextDocument &RichLabelModel::document()
{
    if (!m_document)
        m_document = std::make_unique<QTextDocument>();
    if (m_documentStale) {
        ReadOptions options;
        options.defaultFont = m_font;
        m_readResult = readRtf(rtfBytes(m_lines), *m_document, options);
        if (!m_readResult.ok)
            qCWarning(lcRichText, "rich text read in part: %s", qUtf8Printable(m_readResult.errorString));
        m_documentStale = false;
    }
    return *m_document;
}

QRect RichLabelModel::textArea(const QSize &client) const
{
    const QRect r = QRect(QPoint(0, 0), client).marginsRemoved(m_bevel.margins());
    return r.marginsRemoved(QMargins(richLabelMargin, richLabelMargin, richLabelMargin, richLabelMargin));
}

void RichLabelModel::render(const QSize &area)
{
    m_scrolling = false;
    m_horz = m_vert = ScrollBarState{};
    if (m_lines.isEmpty() || area.width() <= 0 || area.height() <= 0) {
        m_image = QImage();
        return;
    }
    m_image = renderDocument(document(), area, m_wordWrap, m_transparent ? QColor() : m_color, m_textColor);
}

void RichLabelModel::renderScrolling(const QSize &client, int barThickness)
{
    const QRect area = textArea(client);
    render(area.size());
    m_scrolling = true;
    m_barThickness = barThickness;
    if (m_image.isNull())
        return;
    if (m_image.height() > area.height() && m_image.width() <= area.width())
        render(QSize(area.width() - barThickness - 1, area.height())); // keep words clear of the bar
    m_scrolling = true;
    if (m_image.isNull())
        return;

    const int rw = m_image.width();
    const int rh = m_image.height();
    bool vert = rh > client.height() - 4;
    bool horz = rw > client.width() - 4;
    if (vert && !horz)
        horz = rw > client.width() - barThickness - 4;
    else if (horz && !vert)
        vert = rh > client.height() - barThickness - 4;
    m_vert.visible = vert;
    m_horz.visible = horz;

    if (horz) {
        const int length = client.width() - (vert ? barThickness : 0);
        m_horz.geometry = QRect(0, client.height() - barThickness, length, barThickness);
        m_horz.maximum = std::max(0, rw - length);
        m_horz.singleStep = 10;
        m_horz.pageStep = std::max(1, length - 4);
    }
    if (vert) {
        const int areaHeight = scrollTextArea(client).height();
        m_vert.geometry = QRect(client.width() - barThickness, 0, barThickness,
                                client.height() - (horz ? barThickness : 0));
        m_vert.maximum = std::max(0, rh - areaHeight + 4);
        m_vert.singleStep = std::max(1, rh / int(std::max<qsizetype>(1, m_lines.size())));
        m_vert.pageStep = std::max(1, areaHeight - 4);
    }
}

QRect RichLabelModel::scrollTextArea(const QSize &client) const
{
    if (!m_scrolling)
        return textArea(client);
    const int sides = m_vert.visible ? (bsAll & ~bsRight) : bsAll;
    QRect r = QRect(QPoint(0, 0), client).marginsRemoved(m_bevel.margins(sides));
    r = r.marginsRemoved(QMargins(richLabelMargin, richLabelMargin, richLabelMargin, richLabelMargin));
    if (m_vert.visible)
        r.setRight(r.right() - m_barThickness - 1);
    if (m_horz.visible)
        r.setBottom(r.bottom() - m_barThickness - 1);
    return r;
}

void RichLabelModel::paint(QPainter &painter, const QSize &client, const QColor &shadow,
                           const QColor &highlight, const QPoint &offset) const
{
    const int sides = m_scrolling && m_vert.visible ? (bsAll & ~bsRight) : bsAll;
    const QRect whole(QPoint(0, 0), client);
    m_bevel.paint(painter, whole, shadow, highlight, sides);
    const QRect inside = whole.marginsRemoved(m_bevel.margins(sides));
    const QRect area = scrollTextArea(client);
    if (!m_transparent)
        painter.fillRect(inside, m_color);
    if (m_image.isNull() || area.width() <= 0 || area.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.drawImage(area.topLeft(), m_image, QRect(offset, area.size()));
    painter.restore();
}

} // namespace rtf
