#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace rep {

// One millimetre in report units (pixels at 96 per inch); deliberately not 96 / 25.4.
inline constexpr double mmToUnits = 3.77953;

// Colours are $00BBGGRR; clNone paints nothing.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clNone = 0x1FFFFFFF;

enum TrepHAlign { haLeft, haRight, haCenter, haBlock };
enum TrepVAlign { vaTop, vaBottom, vaCenter };
enum TrepFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble };
enum TrepFrameType { ftLeft, ftRight, ftTop, ftBottom };
using TrepFrameTypes = int; // bit (1 << TrepFrameType)
enum TrepShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2 };
// Error correction of a QR Code: about 7, 15, 25 and 30 % of the symbol may be lost.
enum TrepQRErrorLevel { qeLow, qeMedium, qeQuartile, qeHigh };
enum TrepAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom };
enum TrepShiftMode { smDontShift, smAlways, smWhenOverlapped };
enum TrepStretchMode { smDontStretch, smActualHeight, smMaxHeight };
enum TrepRestriction { rfDontModify, rfDontSize, rfDontMove, rfDontDelete };
using TrepRestrictions = int;
enum TrepFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
enum TrepDuplexMode { dmNone, dmVertical, dmHorizontal };
enum TrepPrintPages { ppAll, ppOdd, ppEven };
enum TrepZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
enum TrepPreviewButton { pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator };
using TrepPreviewButtons = int;
enum TPrinterOrientation { poPortrait, poLandscape };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = int;
// The platform's brush styles; only bsSolid and bsClear matter for drawing.
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

inline constexpr int DEFAULT_CHARSET = 1;

// A platform font as stored: name, height in pixels at 96 per inch (negative: without internal
// leading), style bits, character set and colour. Default Arial 10 points black.
struct TrepFont
{
    QString Name = QStringLiteral("Arial");
    int Height = -13;
    TFontStyles Style = 0;
    int Charset = DEFAULT_CHARSET;
    TColor Color = clBlack;

    bool operator==(const TrepFont &) const = default;
    bool bold() const { return Style & (1 << fsBold); }
    // A QFont of the character height |Height| pixels (Height > 0: cell height, taken as is).
    QFont toQFont() const;
    // Points to Height at the given pixels per inch: -round(points * ppi / 72).
    static int heightFromPoints(double points, int ppi = 96);
};

struct TrepFrame
{
    TrepFrameTypes Typ = 0;
    double Width = 1;
    TColor Color = clBlack;
    TrepFrameStyle Style = fsSolid;
    bool DropShadow = false;
    TColor ShadowColor = clBlack;
    double ShadowWidth = 4;

    bool has(TrepFrameType side) const { return Typ & (1 << side); }
};

struct TrepFormat
{
    TrepFormatKind Kind = fkText;
    QString FormatStr;
    QString DecimalSeparator;
};

struct TrepHighlight
{
    bool Active = false;
    QString Condition;
    TColor Color = clNone;
    TrepFont Font{QStringLiteral("Arial"), -13, 0, DEFAULT_CHARSET, clRed};
};

struct TrepEngineOptions
{
    bool ConvertNulls = true;
    bool DoublePass = false;
    int MaxMemSize = 10000000;
    bool PrintIfEmpty = true;
    bool SilentMode = false;
    QString TempDir;
    bool UseFileCache = false;
};

struct TrepPreviewOptions
{
    bool AllowEdit = true;
    TrepPreviewButtons Buttons = (1 << 11) - 1;
    bool DoubleBuffered = true;
    bool Maximized = true;
    bool MDIChild = false;
    bool Modal = true;
    bool OutlineVisible = false;
    int OutlineWidth = 120;
    bool ShowCaptions = false;
    double Zoom = 1;
    TrepZoomMode ZoomMode = zmDefault;
};

struct TrepPrintOptions
{
    int Copies = 1;
    bool Collate = true;
    QString PageNumbers;
    QString Printer; // default: the resource text of "prDefault", filled by the report
    TrepPrintPages PrintPages = ppAll;
    bool ShowDialog = true;
};

struct TrepReportOptions
{
    QString Author;
    QStringList Description;
    QString InitString;
    QString Name;
    QString Password;
    QString VersionBuild, VersionMajor, VersionMinor, VersionRelease;
    bool Compressed = false;
    double CreateDate = 0; // days since 30 December 1899
    double LastChange = 0;
};

// Variant values: an invalid QVariant is "empty" (unassigned), a std::nullptr_t QVariant is null.
QVariant nullValue();
bool isNullValue(const QVariant &v);

// Date-times as days since 30 December 1899 and back.
double toDateSerial(const QDateTime &dt);
QDateTime fromDateSerial(double days);
// The zero date (30 December 1899), date part of a pure time value.
QDate zeroDate();

} // namespace rep

Q_DECLARE_METATYPE(std::nullptr_t)
