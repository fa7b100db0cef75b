#include "app/qttranslation.h"

#include "logging_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace app {

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
    return QCoreApplication::installTranslator(translator);
}

} // namespace app
