#pragma once

#include "controls/richtext/rtfreader.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMargins>
#include <QStringList>
#include <QTextDocument>

#include <memory>

class QPainter;

namespace rtf {

enum TBevelCut { bvNone, bvLowered, bvRaised };

enum BorderSide { bsLeft = 1, bsTop = 2, bsRight = 4, bsBottom = 8, bsAll = 15 };

// The frame of a rich label: two one-pixel bevels on the chosen sides.
struct TCtlRTFBevel
{
    TBevelCut StyleOuter = bvNone;
    TBevelCut StyleInner = bvNone;
    int BorderSides = bsAll;

    bool operator==(const TCtlRTFBevel &) const = default;

    // Pixels the frame takes on each side; `sides` limits it to some of BorderSides.
    QMargins margins(int sides = bsAll) const;
    // Draws the frame inside `rect`: lowered bevels shadow at top and left, highlight at bottom
    // and right; raised bevels the other way round; the inner bevel one pixel inside the outer.
    void paint(QPainter &painter, const QRect &rect, const QColor &shadow, const QColor &highlight,
               int sides = bsAll) const;
};

// The text area of a rich label: the client rectangle less its frame and a 2-pixel margin.
inline constexpr int richLabelMargin = 2;

// The scroll bars of a rich scroll box, as the layout decides them.
struct ScrollBarState
{
    bool visible = false;
    int maximum = 0;
    int singleStep = 1;
    int pageStep = 1;
    QRect geometry;
};

// A rich label's model: its RTF text and looks, the rendered image and, for a scroll box,
// where its bars go. Rendering happens only when asked; the image is kept until then.
class RichLabelModel
{
public:
    RichLabelModel();

    void setLines(const QStringList &lines);
    const QStringList &lines() const { return m_lines; }
    // The whole document; lines are split at line breaks as a form stores them.
    void setRichText(QByteArrayView rtf);

    void setFont(const QFont &font);
    const QFont &font() const { return m_font; }
    void setWordWrap(bool on) { m_wordWrap = on; }
    bool wordWrap() const { return m_wordWrap; }
    void setTransparent(bool on) { m_transparent = on; }
    bool transparent() const { return m_transparent; }
    void setColor(const QColor &colour) { m_color = colour; }
    const QColor &color() const { return m_color; }
    void setTextColor(const QColor &colour) { m_textColor = colour; }
    void setBevel(const TCtlRTFBevel &bevel) { m_bevel = bevel; }
    const TCtlRTFBevel &bevel() const { return m_bevel; }

    QTextDocument &document();
    const ReadResult &readResult() const { return m_readResult; }

    // The text area inside a client rectangle of `client` size.
    QRect textArea(const QSize &client) const;

    // Renders the text for the given text area. An empty text or a text area narrower or lower
    // than 5 pixels leaves the image null.
    void render(const QSize &textArea);
    const QImage &image() const { return m_image; }

    // Renders a scroll box of `client` size with scroll bars `barThickness` wide and decides
    // their states; the text is measured again narrower when the vertical bar would cover it.
    void renderScrolling(const QSize &client, int barThickness);
    const ScrollBarState &horizontalBar() const { return m_horz; }
    const ScrollBarState &verticalBar() const { return m_vert; }
    // Where the image goes while scrolling: the text area less the strip of a shown vertical bar.
    QRect scrollTextArea(const QSize &client) const;

    // Paints the frame, the background of the margin and of the uncovered text area, and the
    // image cut to the text area, shifted by `offset` (the scroll positions).
    void paint(QPainter &painter, const QSize &client, const QColor &shadow, const QColor &highlight,
               const QPoint &offset = {}) const;

private:

    QStringList m_lines;
    QFont m_font;
    bool m_wordWrap = true;
    bool m_transparent = false;
    QColor m_color = Qt::white;
    QColor m_textColor = Qt::black;
    TCtlRTFBevel m_bevel;
    std::unique_ptr<QTextDocument> m_document;
    bool m_documentStale = true;
    ReadResult m_readResult;
    QImage m_image;
    bool m_scrolling = false;
    int m_barThickness = 0;
    ScrollBarState m_horz;
    ScrollBarState m_vert;
};

} // namespace rtf
