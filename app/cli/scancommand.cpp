#include "app/cli/scancommand.h"

#include "app/cli/errorline.h"
#include "declaration/draftfile.h"
#include "declaration/scan/codescan.h"
#include "runtime/errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace app {

namespace {

// Writes the draft under the first free name of the series: through a file of its own that is
// renamed into place, since a rename never replaces a file that appeared meanwhile.
bool writeUnder(const QString &folder, const QString &stem, const decl::Draft &draft, QString *error)
{
    const QDir dir(folder);
    const QString temporary = dir.filePath(u".%1.%2.tkd-part"_s.arg(stem).arg(QCoreApplication::applicationPid()));
    if (!decl::saveDraft(temporary, draft, error))
        return false;
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + u".tkd"_s : u"%1 (%2).tkd"_s.arg(stem).arg(n);
        if (QFile::rename(temporary, dir.filePath(name)))
            return true;
        if (!QFileInfo::exists(dir.filePath(name)))
            break; // not taken, yet not renamed: the folder refuses
    }
    QFile::remove(temporary);
    if (error)
        *error = u"A bevallásfájl nem írható a mappába: %1"_s.arg(QDir::toNativeSeparators(folder));
    return false;
}

} // namespace

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
            if (!writeUnder(folder, stem, *page.draft, &error)) {
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
