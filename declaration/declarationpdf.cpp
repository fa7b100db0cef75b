#include "declaration/declarationpdf.h"

#include "filesave_p.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "report/render/pdfdocument.h"
#include "report/render/reportpagesource.h"
#include "runtime/messages.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace decl {

bool saveDeclarationPdf(DeclarationReport &report, const QString &path, QString *errorString)
{
    rep::PdfDocumentInfo info;
    info.title = pdfTitle.toString();
    info.author = report.form().text(u"StyledEdit35"_s).trimmed();
    info.creator = rt::applicationTitle();
    rep::ReportPageSource pages(report.pages());
    QString reason;
    if (writeFileAtomically(path, rep::pagesToPdf(pages, info), &reason))
        return true;
    if (errorString)
        *errorString = u"A PDF nem menthető: %1"_s.arg(QDir::toNativeSeparators(path)) + u'\n' + reason;
    return false;
}

} // namespace decl
