#include "report/draw/qrcode.h"

#include "report/draw/objectdraw.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/CharacterSet.h>
#include <ZXing/MultiFormatWriter.h>

#include <QHash>
#include <QMutex>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace Qt::StringLiterals;

namespace rep::draw {

namespace {

// ZXing's levels run 0..8; for QR Code they map in pairs onto L, M, Q, H.
int zxingLevel(TrepQRErrorLevel level)
{
    switch (level) {
    case qrLow: return 1;
    case qrMedium: return 3;
    case qrQuartile: return 5;
    case qrHigh: return 8;
    }
    return 3;
}

bool alphanumeric(const QString &text)
{
    static const QString set = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:");
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return set.contains(c); });
}

QRMatrix encodeUncached(const QString &text, TrepQRErrorLevel level)
{
    QRMatrix matrix;
    if (text.isEmpty())
        return matrix;
    try {
        ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::QRCode);
        writer.setEccLevel(zxingLevel(level)).setMargin(0);
        // UTF-8 (with its ECI) for any text; a text of the alphanumeric set needs no ECI, and
        // leaving it out keeps the encoder in the denser mode.
        if (!alphanumeric(text))
            writer.setEncoding(ZXing::CharacterSet::UTF8);
        const ZXing::BitMatrix bits = writer.encode(text.toStdWString(), 0, 0);
        matrix.size = bits.width();
        matrix.dark.resize(size_t(matrix.size) * size_t(matrix.size));
        for (int y = 0; y < matrix.size; ++y)
            for (int x = 0; x < matrix.size; ++x)
                matrix.dark[size_t(y) * size_t(matrix.size) + size_t(x)] = bits.get(x, y) ? 1 : 0;
    } catch (const std::exception &) {
        // Longer than the largest symbol holds.
        return {};
    }
    return matrix;
}

// What a text's symbol size depends on: the encoder's mode for it and its length in that mode's
// units, characters for digits alone or the alphanumeric set, UTF-8 bytes otherwise.
struct QRLength
{
    char mode; // '1' digits, 'A' alphanumeric, 'a' bytes: a character of a text of that mode
    qsizetype units;
};

QRLength lengthOf(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {'1', text.size()};
    if (alphanumeric(text))
        return {'A', text.size()};
    return {'a', text.toUtf8().size()};
}

} // namespace

QRMatrix encodeQR(const QString &text, TrepQRErrorLevel level)
{
    // A page is drawn many times (preview, zoom, print): the last few symbols are kept.
    static QMutex mutex;
    static QHash<QString, QRMatrix> cache;
    const QString key = QString::number(int(level)) + QLatin1Char(':') + text;
    {
        QMutexLocker lock(&mutex);
        const auto it = cache.constFind(key);
        if (it != cache.cend())
            return *it;
    }
    QRMatrix matrix = encodeUncached(text, level);
    QMutexLocker lock(&mutex);
    if (cache.size() >= 8)
        cache.clear();
    cache.insert(key, matrix);
    return matrix;
}

double qrModuleSize(const DrawQRCode &code, const QRMatrix &matrix)
{
    if (matrix.isEmpty())
        return 0;
    const int modules = matrix.size + 2 * std::max(0, code.QuietZone);
    const double side = std::min(std::abs(code.Width), std::abs(code.Height));
    const double size = side / modules;
    return size + 1e-9 >= code.MinModuleSize ? size : 0;
}

bool qrFitsBox(const DrawQRCode &code, const QString &text)
{
    if (text.isEmpty())
        return false;
    const QRLength length = lengthOf(text);
    // The largest symbol holds 7089 digits, 4296 alphanumeric characters or 2953 bytes.
    constexpr qsizetype most = 7089;
    static QMutex mutex;
    static QHash<QString, qsizetype> longest;
    const QString key = u"%1:%2:%3:%4:%5"_s.arg(int(code.ErrorLevel))
                            .arg(std::min(std::abs(code.Width), std::abs(code.Height)), 0, 'g', 17)
                            .arg(code.MinModuleSize, 0, 'g', 17)
                            .arg(code.QuietZone)
                            .arg(QLatin1Char(length.mode));
    QMutexLocker lock(&mutex);
    auto it = longest.constFind(key);
    if (it == longest.cend()) {
        // The longest length whose symbol fits: fits(0) holds by definition, fits(most + 1) not.
        qsizetype fitting = 0;
        qsizetype failing = most + 1;
        while (failing - fitting > 1) {
            const qsizetype middle = fitting + (failing - fitting) / 2;
            if (qrModuleSize(code, encodeUncached(QString(middle, QLatin1Char(length.mode)), code.ErrorLevel)) > 0)
                fitting = middle;
            else
                failing = middle;
        }
        it = longest.insert(key, fitting);
    }
    return length.units <= *it;
}

void drawQRCode(const DrawQRCode &code, const DrawArgs &args)
{
    if (!args.Canvas || (args.Printer && !code.Printable))
        return;
    QPainter &p = *args.Canvas;
    p.save();
    const DeviceRect d = deviceRect(code, args);
    drawBackground(code, d, args);
    const QRMatrix matrix = encodeQR(code.Text, code.ErrorLevel);
    const double module = qrModuleSize(code, matrix);
    if (module > 0) {
        const int quiet = std::max(0, code.QuietZone);
        const double side = module * (matrix.size + 2 * quiet);
        // Centred in the box; module edges rounded to device pixels one by one, so that no gap
        // or overlap opens between neighbours.
        const double left = code.Left + (code.Width - side) / 2 + quiet * module;
        const double top = code.Top + (code.Height - side) / 2 + quiet * module;
        auto edgeX = [&](int i) { return int(std::lround(args.OffsetX + args.ScaleX * (left + i * module))); };
        auto edgeY = [&](int i) { return int(std::lround(args.OffsetY + args.ScaleY * (top + i * module))); };
        p.setPen(Qt::NoPen);
        p.setRenderHint(QPainter::Antialiasing, false);
        const QBrush brush(toQColor(code.ModuleColor));
        for (int y = 0; y < matrix.size; ++y) {
            const int y0 = edgeY(y), y1 = edgeY(y + 1);
            for (int x = 0; x < matrix.size;) {
                if (!matrix.at(x, y)) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < matrix.size && matrix.at(end, y))
                    ++end;
                // One rectangle per run of dark modules in a row.
                const int x0 = edgeX(x), x1 = edgeX(end);
                p.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), brush);
                x = end;
            }
        }
    }
    drawFrame(code, d, args);
    p.restore();
}

} // namespace rep::draw
