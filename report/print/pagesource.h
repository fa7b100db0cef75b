#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace rep {

// What a printer needs of a prepared page besides its drawing.
struct PagePrintParams
{
    int paperSize = 9;        // paper size code; 9 is A4, 256 a custom size
    int orientation = 0;      // 0 portrait, 1 landscape
    int duplex = 0;           // 0 simplex, 1 vertical, 2 horizontal (the driver gets duplex + 1)
    int bin = -1;             // paper source of the report's first page, -1 automatic
    int binOtherPages = -1;   // paper source of every other page
    double paperWidth = 210;  // millimetres
    double paperHeight = 297;
};

// The prepared pages as the preview and the print job see them.
class PageSource
{
public:
    virtual ~PageSource() = default;

    virtual int count() const = 0;
    // Page size in report units (pixels at 96 per inch), for page index 0 ... count() - 1.
    virtual QSize pageSize(int index) const = 0;
    virtual PagePrintParams printParams(int index) const = 0;
    // Draws a page onto any device: report coordinates times the scale plus the offset.
    virtual void drawPage(int index, QPainter &painter, double scaleX, double scaleY, double offsetX,
                          double offsetY) = 0;
    // Called after each printed page: rebuilt pages need not be kept.
    virtual void clearCache() {}
    // Writes the prepared-report file; throws rt::Exception with the reason on failure.
    virtual void saveToFile(const QString &fileName) = 0;
};

} // namespace rep
