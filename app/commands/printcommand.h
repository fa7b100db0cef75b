#pragma once

#include "app/commands/pdfcommand.h"

namespace decl {
class DeclarationReport;
}

namespace rep {
struct PreviewHooks;
class ReportPageSource;
}

class QWidget;

namespace app {

// "Nyomtatás": prepares the declaration with the clear flag and, when that succeeds, shows the
// prepared pages in the modal preview, from which they are printed or saved, and written as a
// PDF under the name askPdfName gives. The preview belongs to parent, the main window.
void printDeclaration(decl::DeclarationReport &report, const AskPdfName &askPdfName = {},
                      QWidget *parent = nullptr);

// The preview's connections to the text table, the printers and the print job, and with
// askPdfName its "PDF" button.
rep::PreviewHooks previewHooks(decl::DeclarationReport &report, rep::ReportPageSource &source,
                               const AskPdfName &askPdfName = {});

} // namespace app
