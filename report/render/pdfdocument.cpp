#include "report/render/pdfdocument.h"

#include "report/print/pagesource.h"
#include "logging_p.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QDateTime>
#include <QPdfWriter>
#include <QTimeZone>
#include <QRegularExpression>

namespace rep {

namespace {

QPageLayout layoutOf(const PagePrintParams &p)
{
    const bool landscape = p.paperWidth > p.paperHeight;
    const QSizeF portrait = landscape ? QSizeF(p.paperHeight, p.paperWidth) : QSizeF(p.paperWidth, p.paperHeight);
    // A4 and the other named sizes are recognised, so that readers report the paper by name.
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

// A PDF text string in UTF-16 with its byte-order mark, written in hex so that no character
// needs escaping.
QByteArray pdfTextString(const QString &text)
{
    QByteArray utf16("\xFE\xFF", 2);
    for (QChar c : text) {
        utf16.append(char(c.unicode() >> 8));
        utf16.append(char(c.unicode() & 0xFF));
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

// Qt's writer has no author entry. A revision appended to the file (an incremental update, which
// every reader applies) replaces the document information dictionary with a copy that has one.
// Returns false, leaving the bytes as they were, when the file's end is not laid out as Qt
// writes it.
bool appendAuthor(QByteArray &pdf, const QString &author)
{
    static const QRegularExpression trailerPattern(QStringLiteral(
        R"(trailer\s*<<(?=[\s\S]*/Size\s+(\d+))(?=[\s\S]*/Info\s+(\d+)\s+0\s+R)(?=[\s\S]*/Root\s+(\d+)\s+0\s+R)[\s\S]*?>>\s*startxref\s+(\d+)\s*%%EOF\s*$)"));
    const qsizetype tailStart = pdf.lastIndexOf("trailer");
    if (tailStart < 0)
        return false;
    const QRegularExpressionMatch m = trailerPattern.match(QString::fromLatin1(pdf.mid(tailStart)));
    if (!m.hasMatch())
        return false;
    const QByteArray size = m.captured(1).toLatin1();
    const QByteArray info = m.captured(2).toLatin1();
    const QByteArray root = m.captured(3).toLatin1();
    const QByteArray previousXref = m.captured(4).toLatin1();

    // The old dictionary's entries (title, creator, producer, date) are kept as they are.
    const QByteArray objectHead = '\n' + info + " 0 obj";
    const qsizetype object = pdf.indexOf(objectHead);
    const qsizetype open = object < 0 ? -1 : pdf.indexOf("<<", object);
    const qsizetype end = open < 0 ? -1 : pdf.indexOf("endobj", open);
    const qsizetype close = end < 0 ? -1 : pdf.lastIndexOf(">>", end);
    if (close <= open)
        return false;
    const QByteArray entries = pdf.mid(open + 2, close - open - 2);

    if (!pdf.endsWith('\n'))
        pdf.append('\n');
    const qsizetype objectOffset = pdf.size();
    pdf += info + " 0 obj\n<<" + entries + "/Author " + pdfTextString(author) + "\n>>\nendobj\n";
    const qsizetype xrefOffset = pdf.size();
    pdf += "xref\n" + info + " 1\n" + QByteArray::number(objectOffset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + size + "\n/Info " + info + " 0 R\n/Root " + root + " 0 R\n/Prev " + previousXref
        + "\n>>\nstartxref\n" + QByteArray::number(xrefOffset) + "\n%%EOF\n";
    return true;
}

// With SOURCE_DATE_EPOCH set (the reproducible-builds convention: seconds since 1970, UTC) the
// creation date is that moment instead of now, so that the same pages give the same bytes. The
// date has the same length either way: the file's offsets stay right.
void applySourceDate(QByteArray &pdf)
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (!ok || epoch < 0)
        return;
    const QByteArray date =
        QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc()).toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (date.size() != 14)
        return;
    static const QByteArray head = "/CreationDate (D:";
    for (qsizetype at = pdf.indexOf(head); at >= 0; at = pdf.indexOf(head, at + 1)) {
        const qsizetype digits = at + head.size();
        if (digits + 16 <= pdf.size() && pdf.mid(digits + 14, 2) == "Z)")
            pdf.replace(digits, 14, date);
    }
}

} // namespace

QByteArray pagesToPdf(PageSource &pages, const PdfDocumentInfo &info)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(pdfResolution);
        writer.setTitle(info.title);
        writer.setCreator(info.creator);
        if (pages.count() > 0)
            writer.setPageLayout(layoutOf(pages.printParams(0)));
        QPainter painter(&writer);
        const double scale = pdfResolution / 96.0;
        for (int i = 0; i < pages.count(); ++i) {
            if (i > 0) {
                writer.setPageLayout(layoutOf(pages.printParams(i)));
                writer.newPage();
            }
            // Drawn from the paper's corner: there is no unprintable edge to leave out.
            pages.drawPage(i, painter, scale, scale, 0, 0);
            pages.clearCache();
        }
        painter.end();
    }
    if (!info.author.isEmpty() && !appendAuthor(bytes, info.author))
        qCWarning(lcReportRender, "the PDF's end is not as expected: written without its author");
    applySourceDate(bytes);
    return bytes;
}

} // namespace rep
