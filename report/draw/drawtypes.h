#pragma once

// Plain parameter structs for drawing report objects. Their members carry the report model's
// property names so that a model object maps onto them field by field.

#include <QColor>
#include <QString>

#include <cstdint>

class QPainter;

namespace rep::draw {

// A stored colour: $00BBGGRR, clNone for "paint nothing", $80xxxxxx for a system colour.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clRed = 0x000000FF;

// QColor of a stored colour; system colours come from the application palette.
// Returns an invalid QColor for clNone.
QColor toQColor(TColor color);

enum TrepHAlign { haLeft, haRight, haCenter, haBlock };
enum TrepVAlign { vaTop, vaBottom, vaCenter };
enum TrepFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble };
enum TrepShapeKind {
    skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2
};

// Frame sides as set bits, as stored.
enum TrepFrameType : unsigned { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };
using TrepFrameTypes = unsigned;

// The platform's brush styles in their stored order.
enum TBrushStyle {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

// Font style bits.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

struct DrawFont
{
    QString Name = QStringLiteral("Arial");
    int Height = -13; // pixels at 96 per inch; negative: character height without leading
    TFontStyles Style = 0;
    TColor Color = clBlack;
};

struct DrawFrame
{
    TrepFrameTypes Typ = 0;
    double Width = 1;
    TColor Color = clBlack;
    TrepFrameStyle Style = fsSolid;
    bool DropShadow = false;
    TColor ShadowColor = clBlack;
    double ShadowWidth = 4;
};

// A view: position in report units on the page (AbsLeft, AbsTop), size, background, frame.
struct DrawView
{
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    TColor Color = clNone;
    TBrushStyle BrushStyle = bsSolid;
    DrawFrame Frame;
    bool Printable = true;
};

struct DrawHighlight
{
    bool Active = false;
    TColor Color = clNone;
    DrawFont Font{QStringLiteral("Arial"), -13, 0, clRed};
};

struct DrawMemo : DrawView
{
    QString Text; // lines separated by CR LF (a lone LF or CR also ends a line)
    DrawFont Font;
    TrepHAlign HAlign = haLeft;
    TrepVAlign VAlign = vaTop;
    double GapX = 2;
    double GapY = 1;
    double LineSpacing = 2;
    double CharSpacing = 0;
    double ParagraphGap = 0;
    bool WordWrap = true;
    bool WordBreak = false;
    bool AllowHTMLTags = false;
    bool RTLReading = false;
    int Rotation = 0;
    DrawHighlight Highlight;
    int PageCount = 0;        // replaces "[TOTALPAGES#]" when drawn outside design mode
    bool DesignMode = false;
};

struct DrawLine : DrawView
{
    bool Diagonal = false;
};

struct DrawShape : DrawView
{
    TrepShapeKind Shape = skRectangle;
};

// The drawing arguments: the canvas, device pixels per report unit and the offsets in device
// pixels. Printer decides the printer rules of font size, text height and the Printable flag.
struct DrawArgs
{
    QPainter *Canvas = nullptr;
    double ScaleX = 1;
    double ScaleY = 1;
    double OffsetX = 0;
    double OffsetY = 0;
    bool Printer = false;
};

// True for a painter on a printer or a PDF writer; such canvases get the printer rules. Asks the
// painter's own engine, never the device's: a widget would log a warning for that.
bool isPrinterCanvas(const QPainter &canvas);

// Arguments for a painter, with Printer taken from its device.
DrawArgs drawArgs(QPainter &canvas, double scaleX, double scaleY, double offsetX = 0,
                  double offsetY = 0);

// A rectangle of device pixels whose Right and Bottom lie just outside it.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    friend bool operator==(const TRect &, const TRect &) = default;
};

// The device rectangle of a view: integer device pixels, kept for the other drawing steps.
struct DeviceRect
{
    int X = 0;
    int Y = 0;
    int X1 = 0;
    int Y1 = 0;
    int DX = 0;
    int DY = 0;
    int FW = 0;
};

} // namespace rep::draw
