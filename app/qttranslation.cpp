#include "app/qttranslation.h"

#include "logging_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace Qt::StringLiterals;

namespace app {

namespace {

struct Gap
{
    const char *context;
    const char *source;
    const char16_t *hungarian;
};

// Texts the file dialogs show that this Qt asks for under a context the Hungarian catalogue
// does not have yet: the type column of a folder, a drive, an unknown entry.
constexpr Gap catalogueGaps[] = {
    {"QAbstractFileIconProvider", "Folder", u"Mappa"},
    {"QAbstractFileIconProvider", "Drive", u"Meghajtó"},
    {"QAbstractFileIconProvider", "File", u"Fájl"},
};

class CatalogueGaps : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *source, const char * /*disambiguation*/,
                      int /*n*/) const override
    {
        const auto is = [&](const Gap &g) {
            return context && source && std::strcmp(g.context, context) == 0 && std::strcmp(g.source, source) == 0;
        };
        const auto *gap = std::find_if(std::begin(catalogueGaps), std::end(catalogueGaps), is);
        return gap == std::end(catalogueGaps) ? QString() : QString::fromUtf16(gap->hungarian);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

bool installQtTranslation(const QString &folder)
{
    QCoreApplication *application = QCoreApplication::instance();
    Q_ASSERT(application);
    const QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    // The exact file: the translator's own search would fall back on other languages' files.
    const QString file = QDir(from).filePath(u"qtbase_hu.qm"_s);
    auto *translator = new QTranslator(application);
    if (!QFileInfo::exists(file) || !translator->load(file)) {
        qCWarning(lcApp, "no Qt translation %s: Qt's own texts stay English", qUtf8Printable(file));
        delete translator;
        return false;
    }
    // The gaps only beside the catalogue: without it every Qt text stays English alike.
    return QCoreApplication::installTranslator(translator)
        && QCoreApplication::installTranslator(new CatalogueGaps(application));
}

} // namespace app
