#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;
class QTextDocument;

namespace rtf {

// How much of a document fits into a rectangle.
struct Fit
{
    int firstUnfitChar = 0;  // position of the first character that did not fit; the length when all fit
    int usedHeight = 0;      // bottom of the last line that fits, in pixels
    int lineCount = 0;       // lines that fit
    bool complete = true;    // every line fits
};

// Lays `document` out at `width` pixels (lines break at that edge) and finds the lines that lie
// wholly above `height`. No wrapping happens inside words longer than the width.
Fit fitDocument(QTextDocument &document, int width, int height);

// Draws the lines of `document` that fit into `rect` (laid out at its width), the document's
// origin at the rectangle's top-left corner. Nothing is drawn below the last whole line.
// Text without a colour of its own is drawn in `textColour`.
Fit drawFitted(QPainter &painter, QTextDocument &document, const QRect &rect, const QColor &textColour);

// The largest rendered image, in either direction.
inline constexpr int maxRenderSize = 3000;

// The rendered image of a rich label: the text laid out at `width` (or at maxRenderSize without
// word wrap), as high as the text uses, on `background` (transparent when invalid). A null
// image when the area is smaller than 5 pixels either way or when nothing fits.
QImage renderDocument(QTextDocument &document, const QSize &area, bool wordWrap, const QColor &background,
                      const QColor &textColour);

} // namespace rtf
