#include "declaration/scan/codescan.h"

#include "declaration/declarationcode.h"

#include <ZXing/ReadBarcode.h>

#include <poppler-qt6.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLoggingCategory>

#include <memory>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

QString sentence(const QString &headline, const QString &reason)
{
    return reason.isEmpty() ? headline : headline + u": "_s + reason;
}

bool looksLikePdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

Q_LOGGING_CATEGORY(lcScan, "telekado.declaration.scan", QtWarningMsg)

// Poppler's remarks on a damaged file go to the log, not to the standard error that the command
// line's one line per input stands on.
void popplerRemark(const QString &message, const QVariant &)
{
    qCDebug(lcScan) << "poppler:" << message;
}

QString scanPdf(const QString &path, const std::function<void(const ScannedPage &)> &pageDone)
{
    static const bool quiet = [] {
        Poppler::setDebugErrorFunction(&popplerRemark, QVariant());
        return true;
    }();
    (void)quiet;
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return u"A PDF sérült, nem olvasható."_s;
    if (document->isLocked())
        return u"A PDF jelszóval védett; jelszó nélkül mentve olvasható be."_s;
    const int count = document->numPages();
    if (count <= 0)
        return u"A PDF-ben nincs oldal."_s;
    document->setRenderHint(Poppler::Document::Antialiasing, true);
    for (int i = 0; i < count; ++i) {
        const QString source = pageSource(path, i + 1, count);
        std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page) {
            pageDone({i + 1, count, std::nullopt, u"Az oldal nem olvasható."_s});
            continue;
        }
        // A page far larger than A4 is rendered at a lower resolution, within the image bound.
        const QSizeF points = page->pageSizeF();
        double dpi = scanPdfDpi;
        const double pixels = points.width() / 72 * dpi * points.height() / 72 * dpi;
        if (pixels > double(maxScanPixels))
            dpi *= std::sqrt(double(maxScanPixels) / pixels);
        const QImage image = page->renderToImage(dpi, dpi);
        if (image.isNull()) {
            pageDone({i + 1, count, std::nullopt, u"Az oldal nem rajzolható ki."_s});
            continue;
        }
        ScannedPage scanned = scanImage(image, source);
        scanned.page = i + 1;
        scanned.pageCount = count;
        pageDone(scanned);
    }
    return {};
}

} // namespace

QString pageSource(const QString &path, int page, int pageCount)
{
    const QString name = QDir::toNativeSeparators(path);
    return pageCount > 1 ? u"%1, %2. oldal"_s.arg(name).arg(page) : name;
}

std::optional<QByteArray> readCodeBytes(const QImage &image, QString *reason)
{
    auto none = [&](const QString &why) -> std::optional<QByteArray> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (image.isNull())
        return none(u"A kép üres."_s);
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    // The other 2D kinds are looked for too, so that a code of another kind is named as such
    // rather than missed.
    const ZXing::DecodeHints hints = ZXing::DecodeHints()
                                         .setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix
                                                     | ZXing::BarcodeFormat::Aztec | ZXing::BarcodeFormat::PDF417)
                                         .setTryHarder(true)
                                         .setTryRotate(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return none(u"Az oldalon nincs olvasható kód."_s);
    if (result.format() != ZXing::BarcodeFormat::QRCode)
        return none(u"A kód nem QR-kód (%1), nem a telekadó-bevallás kódja."_s.arg(
            QString::fromStdString(ZXing::ToString(result.format()))));
    const ZXing::ByteArray &bytes = result.bytes();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

ScannedPage scanImage(const QImage &image, const QString &source)
{
    ScannedPage page;
    QString reason;
    const std::optional<QByteArray> bytes = readCodeBytes(image, &reason);
    if (!bytes) {
        page.error = reason;
        return page;
    }
    QString error;
    page.draft = readCode(*bytes, source, &error);
    if (!page.draft) {
        // The reader's message names the source on its first line; the reason follows.
        const qsizetype newline = error.indexOf(u'\n');
        page.error = newline >= 0 ? error.mid(newline + 1).replace(u'\n', u' ') : error;
    }
    return page;
}

QString scanFile(const QString &path, const std::function<void(const ScannedPage &)> &pageDone)
{
    const QFileInfo info(path);
    if (!info.exists())
        return u"A fájl nem létezik."_s;
    if (!info.isFile())
        return u"Nem fájl."_s;
    if (info.size() == 0)
        return u"A fájl üres."_s;
    if (looksLikePdf(path))
        return scanPdf(path, pageDone);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return sentence(u"A fájl nem kép és nem PDF"_s, reader.errorString()) + u'.';
    if (qint64(size.width()) * size.height() > maxScanPixels)
        return u"A kép túl nagy (%1 × %2 képpont); legfeljebb %3 millió képpontos kép olvasható be."_s
            .arg(size.width())
            .arg(size.height())
            .arg(maxScanPixels / 1'000'000);
    // Four bytes a pixel at most, over the platform's own bound for a single image.
    QImageReader::setAllocationLimit(int(maxScanPixels * 4 / (1024 * 1024)) + 1);
    const QImage image = reader.read();
    if (image.isNull())
        return sentence(u"A kép nem olvasható"_s, reader.errorString()) + u'.';
    pageDone(scanImage(image, QDir::toNativeSeparators(path)));
    return {};
}

} // namespace decl
