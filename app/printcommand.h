#pragma once

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
// prepared pages in the modal preview, from which they are printed or saved.
void printDeclaration(decl::DeclarationReport &report);

// The preview's connections to the text table, the printers and the print job.
rep::PreviewHooks previewHooks(decl::DeclarationReport &report, rep::ReportPageSource &source);

} // namespace app
