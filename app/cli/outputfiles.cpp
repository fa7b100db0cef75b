#include "app/cli/outputfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace app {

QString writeDraftUnder(const QString &folder, const QString &stem, const decl::Draft &draft, QString *error)
{
    const QDir dir(folder);
    const QString temporary = dir.filePath(u".%1.%2.tkd-part"_s.arg(stem).arg(QCoreApplication::applicationPid()));
    if (!decl::saveDraft(temporary, draft, error))
        return QString();
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + u".tkd"_s : u"%1 (%2).tkd"_s.arg(stem).arg(n);
        if (QFile::rename(temporary, dir.filePath(name)))
            return name;
        if (!QFileInfo::exists(dir.filePath(name)))
            break; // not taken, yet not renamed: the folder refuses
    }
    QFile::remove(temporary);
    if (error)
        *error = u"A bevallásfájl nem írható a mappába: %1"_s.arg(QDir::toNativeSeparators(folder));
    return QString();
}

QString safeFileStem(const QString &value)
{
    QString stem;
    stem.reserve(value.size());
    for (const QChar c : value) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            stem += u' ';
        else if (QStringView(u"/\\:*?\"<>|").contains(c))
            stem += u'_';
        else
            stem += c;
    }
    stem = stem.simplified();
    while (stem.startsWith(u'.'))
        stem.remove(0, 1);
    if (stem.size() > 100) {
        stem.truncate(100);
        if (stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return stem.trimmed();
}

} // namespace app
