#include "app/cli/outputfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace app {

namespace {

enum class Placed { Done, Taken, Refused };

// Gives the file its name unless that name is taken, in one step: QFile::rename looks first and
// renames after, and when its rename fails it copies over whatever file appeared meanwhile.
Placed placeUnder(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Placed::Done;
    if (errno == EEXIST)
        return Placed::Taken;
    // A file system without the no-replace rename: a hard link is made only under a free name.
    if (errno == EINVAL || errno == ENOSYS) {
        if (::link(source.constData(), target.constData()) == 0) {
            ::unlink(source.constData());
            return Placed::Done;
        }
        if (errno == EEXIST)
            return Placed::Taken;
    }
    return Placed::Refused;
}

} // namespace

QString writeDraftUnder(const QString &folder, const QString &stem, const decl::Draft &draft, QString *error)
{
    const QDir dir(folder);
    const QString temporary = dir.filePath(u".%1.%2.tkd-part"_s.arg(stem).arg(QCoreApplication::applicationPid()));
    if (!decl::saveDraft(temporary, draft, error))
        return QString();
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + u".tkd"_s : u"%1 (%2).tkd"_s.arg(stem).arg(n);
        const Placed placed = placeUnder(temporary, dir.filePath(name));
        if (placed == Placed::Done)
            return name;
        if (placed == Placed::Refused)
            break;
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
