#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace decl {
class DeclarationReport;
}

namespace app {

// Asks where a PDF goes: a path with its extension, empty when the user cancelled.
using AskPdfName = std::function<QString(QWidget *parent)>;

// "PDF-be mentés...": prepares the declaration as "Nyomtatás" does and writes its pages as a
// PDF under the name asked for. Nothing is asked or written when the preparation fails (the
// report has shown its errors). A PDF that cannot be written throws rt::Exception naming the
// file and the reason, and leaves no half-written file.
void saveDeclarationPdfCommand(decl::DeclarationReport &report, const AskPdfName &askName, QWidget *parent);

// The preview's "PDF" button: the pages as prepared for the preview, written the same way.
void savePreparedPdf(decl::DeclarationReport &report, const AskPdfName &askName, QWidget *parent);

} // namespace app
