#pragma once

#include "declaration/draftfile.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QImage;

namespace decl {

// The largest image read, in pixels: an A4 page scanned at 600 dpi is 35 million, a phone's
// photo up to 50 million. Larger ones are refused before they are decoded, which bounds the
// memory a scan takes to about 4 bytes a pixel of this.
inline constexpr qint64 maxScanPixels = 64'000'000;
// PDF pages are rendered at this resolution, an office scanner's own: a code of 0.4 mm modules
// gets more than 3 pixels each, which reads through a scanner's damage, at half the time of 300.
inline constexpr int scanPdfDpi = 200;

// One page of a scanned file and what its code gave.
struct ScannedPage
{
    int page = 1;                 // 1-based; an image is page 1 of 1
    int pageCount = 1;
    std::optional<Draft> draft;   // the declaration, when the page had a readable code of ours
    QString error;                // otherwise why not, one sentence in Hungarian
};

// The payload of the first 2D code on the image; nothing, with the reason, when there is none
// or it is not a QR Code.
std::optional<QByteArray> readCodeBytes(const QImage &image, QString *reason = nullptr);

// Reads the declaration on a page image: the code's bytes through readCode (the rules of a
// declaration file). source names the page in messages.
ScannedPage scanImage(const QImage &image, const QString &source);

// Reads every page of a scanned file (PNG, JPEG, TIFF or any image Qt reads, or a PDF of any
// number of pages), one page at a time, calling pageDone for each in order; a page's image is
// freed before the next is made. Returns an empty string when the file could be opened, else
// why not (missing, empty, not an image, too large, a PDF with a password or damaged), and no
// page is reported then.
QString scanFile(const QString &path, const std::function<void(const ScannedPage &)> &pageDone);

// How a page is named in messages: "FILE" for a one-page file, "FILE, 2. oldal" otherwise.
QString pageSource(const QString &path, int page, int pageCount);

} // namespace decl
