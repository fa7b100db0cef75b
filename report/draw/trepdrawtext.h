#pragma once

#include "report/draw/drawtypes.h"

#include <QHash>
#include <QRawFont>
#include <QString>

#include <vector>

class QPainter;

namespace rep::draw {

// The text layout object shared by the memos of a report. Text is broken into lines and
// measured at a fixed 600 pixels per inch with the memo's font at whole points, so that the
// line breaks and the proportions are the same on every device and at every zoom; only the
// final placement is scaled to the output canvas.
//
// A memo uses it in this order: setFont, setOptions, setGaps, setDimensions, setText, then
// drawText (or textHeight / textWidth). Memos hold it through TrepDrawTextLock.
class TrepDrawText
{
public:
    static constexpr int MeasureDpi = 600;

    // Line flags: first and last line of a source line (paragraph).
    enum LineFlag { FirstOfParagraph = 1, LastOfParagraph = 2 };

    struct Line
    {
        QString text;
        int flags = 0;
        double width600 = 0;           // sum of the measured advances, CharSpacing included
        std::vector<quint32> glyphs;   // one glyph per character
    };

    // One line as placed on an output canvas.
    struct PlacedLine
    {
        int index = 0;                 // into lines()
        int x = 0;                     // left of the first character
        int y = 0;                     // top of the line (top-aligned output)
        int idealWidth = 0;            // the device width the advances add up to
        std::vector<int> advances;     // per character, device pixels
    };

    // The placement of all lines that may touch the clip rectangle.
    struct Placement
    {
        int pixelHeight = 0;           // the output font's height
        int idealHeight = 0;           // the height all lines fill together
        int step = 0;                  // line step before spreading
        std::vector<PlacedLine> lines;
    };

    // screenDpi 0 reads the vertical resolution of a small off-screen image.
    explicit TrepDrawText(int screenDpi = 0);

    // The object used by memos that belong to no report.
    static TrepDrawText &shared();

    int screenDpi() const { return m_screenDpi; }

    // The busy flag. tryLock fails while another user holds the object.
    bool isBusy() const { return m_busy; }
    bool tryLock();
    void unlock() { m_busy = false; }

    void setFont(const DrawFont &font);
    void setOptions(bool wordWrap, bool allowHtmlTags, int rotation, bool wordBreak,
                    bool rtlReading);
    void setGaps(double paragraphGap, double charSpacing, double lineSpacing);
    // textRect: the text area at scale 1 and offset 0 (for line breaking); clipRect: in device
    // pixels (for drawing and clipping).
    void setDimensions(const TRect &textRect, const TRect &clipRect, double scaleX, double scaleY);
    // Breaks the text into lines. Lines end at CR LF, LF or CR; an empty text has no lines.
    void setText(const QString &text);

    // Draws the lines into the clip rectangle. printer selects the printer rules of font size
    // and text height.
    void drawText(QPainter &canvas, TrepHAlign hAlign, TrepVAlign vAlign, bool printer);

    // The placement drawText uses on a canvas of the given resolution.
    Placement place(int dpiX, int dpiY, bool printer, TrepHAlign hAlign, TrepVAlign vAlign);

    // How much of a text shows, top-aligned, in an area of the given height (report units) and
    // the width set by setDimensions: n lines show when n line heights less the last line's
    // spacing fit. Lines are laid out only until the area is full, so that a
    // huge text costs no more than the area holds; lines() then holds the lines laid out.
    struct Fit
    {
        qsizetype shown = 0; // characters on the lines that fit, line breaks not counted
        bool whole = true;   // nothing is cut off
    };
    Fit fit(const QString &text, double areaHeight);

    // Height of all lines and width of the widest line, in report units.
    double textHeight() const;
    double textWidth() const;

    const std::vector<Line> &lines() const { return m_lines; }
    QString plainText() const;

    // Inline tags, hyphenation and rotated output are not drawn; the options are kept for
    // callers that need them.
    bool allowHtmlTags() const { return m_allowHtmlTags; }
    bool wordBreak() const { return m_wordBreak; }
    int rotation() const { return m_rotation; }

    int fontSize() const { return m_fontSize; }               // whole points
    int measurePixelHeight() const { return m_measurePixels; } // the font's height at 600 dpi
    int maxWidth600() const { return m_maxWidth; }
    int firstWidth600() const { return m_firstWidth; }
    // The output font's pixel height on a canvas of that resolution.
    int outputPixelHeight(int dpiY, bool printer) const;

private:
    QRawFont rawFont(int pixelSize);
    void setWidths();
    double lineHeight() const;
    void breakLine(const QRawFont &font, const QString &source);
    void addLine(const QString &source, const std::vector<quint32> &glyphs,
                 const std::vector<double> &ext, int from, int to);

    int m_screenDpi = 96;
    bool m_busy = false;

    DrawFont m_font;
    int m_fontSize = 10;
    int m_measurePixels = 83;

    bool m_wordWrap = true;
    bool m_allowHtmlTags = false;
    int m_rotation = 0;
    bool m_wordBreak = false;
    bool m_rtlReading = false;

    double m_paragraphGap = 0;
    double m_charSpacing = 0;
    double m_lineSpacing = 2;

    TRect m_textRect;
    TRect m_clipRect;
    double m_scaleX = 1;
    double m_scaleY = 1;

    int m_maxWidth = 0;
    int m_firstWidth = 0;
    int m_charSpacing600 = 0;

    std::vector<Line> m_lines;

    QString m_fontKey;
    QHash<QString, QRawFont> m_fonts;
};

// Holds the text layout object for one memo; unlocks it when leaving the scope, also when
// drawing throws. When the object is busy (a nested user on the same thread, which could never
// see it freed by waiting) the lock hands out a private object instead.
class TrepDrawTextLock
{
public:
    explicit TrepDrawTextLock(TrepDrawText &text);
    ~TrepDrawTextLock();
    TrepDrawTextLock(const TrepDrawTextLock &) = delete;
    TrepDrawTextLock &operator=(const TrepDrawTextLock &) = delete;

    TrepDrawText &get() { return *m_used; }
    TrepDrawText *operator->() { return m_used; }

private:
    TrepDrawText *m_used;
    TrepDrawText *m_own = nullptr;
};

} // namespace rep::draw
