#pragma once

#include "report/draw/drawtypes.h"

#include <QString>

#include <vector>

namespace rep::draw {

// Error correction of a QR Code: the share of the symbol that may be lost and still read.
enum TrepQRErrorLevel { qrLow, qrMedium, qrQuartile, qrHigh };

// The modules of a QR Code symbol without its quiet zone: size × size, row by row.
struct QRMatrix
{
    int size = 0;
    std::vector<unsigned char> dark;

    bool isEmpty() const { return size == 0; }
    bool at(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)] != 0; }
};

// The symbol of a text, encoded as UTF-8 (a text of digits, capitals and " $%*+-./:" alone in
// the denser alphanumeric mode). Empty when the text is empty or longer than the largest symbol
// holds at that level.
QRMatrix encodeQR(const QString &text, TrepQRErrorLevel level);

// A 2D code view: its box, the text it carries and how it is laid out. The symbol is drawn as
// large as the box takes it, centred, with whole quiet zones, in modules of at least
// MinModuleSize units; when even that does not fit, nothing is drawn (never a cut symbol).
struct DrawQRCode : DrawView
{
    QString Text;
    TrepQRErrorLevel ErrorLevel = qrMedium;
    double MinModuleSize = 1.5118; // units (0.4 mm)
    int QuietZone = 4;             // modules of white around the symbol
    TColor ModuleColor = clBlack;
};

// The module size the symbol takes in the box, in units; 0 when it does not fit.
double qrModuleSize(const DrawQRCode &code, const QRMatrix &matrix);

// Whether the text's symbol fits the box: qrModuleSize(code, encodeQR(text, level)) > 0, without
// encoding the text. The encoder writes a text in one mode throughout, so the symbol grows with
// the text's length alone; the longest text of each mode that fits is searched once per layout
// and then every question is a comparison.
bool qrFitsBox(const DrawQRCode &code, const QString &text);

// Draws the symbol as filled rectangles whose edges fall on whole device pixels, so that every
// module has the same size on every device; vector paths on a printer or PDF.
void drawQRCode(const DrawQRCode &code, const DrawArgs &args);

} // namespace rep::draw
