#include "app/commands/pdfcommand.h"

#include "logging_p.h"
#include "declaration/declarationpdf.h"
#include "declaration/reportvalues.h"
#include "runtime/errors.h"

namespace app {

void saveDeclarationPdfCommand(decl::DeclarationReport &report, const AskPdfName &askName, QWidget *parent)
{
    if (!report.prepare()) {
        qCInfo(lcCommands, "the declaration was not prepared: no PDF");
        return;
    }
    savePreparedPdf(report, askName, parent);
}

void savePreparedPdf(decl::DeclarationReport &report, const AskPdfName &askName, QWidget *parent)
{
    const QString path = askName(parent);
    if (path.isEmpty())
        return;
    QString error;
    if (!decl::saveDeclarationPdf(report, path, &error))
        throw rt::Exception(error);
}

} // namespace app
