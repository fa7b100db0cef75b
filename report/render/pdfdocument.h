#pragma once

#include <QByteArray>
#include <QString>

namespace rep {

class PageSource;

// The document information a PDF carries besides its pages.
struct PdfDocumentInfo
{
    QString title;
    QString author; // left out when empty
    QString creator;
};

// The resolution the pages are drawn at: the one the text layout is measured at.
inline constexpr int pdfResolution = 600;

// Draws every page of the source into a PDF as the print job draws it onto a printer, each on
// paper of its own size without margins, fonts embedded; returns the file's bytes.
QByteArray pagesToPdf(PageSource &pages, const PdfDocumentInfo &info);

} // namespace rep
