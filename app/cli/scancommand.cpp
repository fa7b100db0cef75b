#include "app/cli/scancommand.h"

#include "app/cli/errorline.h"
#include "app/cli/outputfiles.h"
#include "declaration/draftfile.h"
#include "declaration/scan/codescan.h"
#include "runtime/errors.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace app {

int scanDeclarations(const QString &folder, const QStringList &inputs,
                     const std::function<void(const QString &)> &errorLine)
{
    int failures = 0;
    for (const QString &input : inputs) {
        const QString base = QFileInfo(input).completeBaseName();
        const QString fileError = decl::scanFile(input, [&](const decl::ScannedPage &page) {
            const QString source = decl::pageSource(input, page.page, page.pageCount);
            if (!page.draft) {
                errorLine(app::errorLine(source, u"Nincs beolvasható bevallás\n"_s + page.error));
                ++failures;
                return;
            }
            const QString stem = page.pageCount > 1 ? u"%1-%2"_s.arg(base).arg(page.page) : base;
            QString error;
            if (writeDraftUnder(folder, stem, *page.draft, &error).isEmpty()) {
                errorLine(app::errorLine(source, error));
                ++failures;
            }
        });
        if (!fileError.isEmpty()) {
            errorLine(app::errorLine(input, u"A fájl nem olvasható be\n"_s + fileError));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace app
