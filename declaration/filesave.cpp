#include "filesave_p.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

// Why a save failed. errorCode is errno right after the failing call: Qt's own message loses it
// when a write is cut short.
QString saveFailureReason(const QString &path, const QString &systemError, int errorCode, qint64 bytes)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QFileInfo dir(info.absolutePath());
    if (!dir.exists())
        return u"A mappa nem létezik: %1"_s.arg(folder);
    if (!dir.isDir())
        return u"A mentés helye nem mappa: %1"_s.arg(folder);
    if (info.isDir())
        return u"Ezen a néven mappa van, nem fájl."_s;
    switch (errorCode) {
    case ENOSPC:
    case EDQUOT: return u"Nincs elég szabad hely a lemezen."_s;
    case EACCES:
    case EPERM: return u"Nincs írási jog a mappához: %1"_s.arg(folder);
    case EROFS: return u"A mappa csak olvasható lemezen van: %1"_s.arg(folder);
    case EFBIG: return u"A fájl nagyobb lenne, mint amekkorát a rendszer megenged."_s;
    default: break;
    }
    if (!dir.isWritable())
        return u"Nincs írási jog a mappához: %1"_s.arg(folder);
    if (info.exists() && !info.isWritable())
        return u"A meglévő fájl írásvédett."_s;
    const QStorageInfo storage(dir.absoluteFilePath());
    if (storage.isValid() && storage.bytesTotal() > 0 && storage.bytesAvailable() < bytes + 64 * 1024)
        return u"Nincs elég szabad hely a lemezen."_s;
    return u"Az írás nem sikerült: %1"_s.arg(systemError);
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *reason)
{
    auto fail = [&](const QString &systemError, int code) {
        if (reason)
            *reason = saveFailureReason(path, systemError, code, bytes.size());
        return false;
    };
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return fail(file.errorString(), code);
    }
    // A write cut short (disk full, size limit) shows only in flush: commit would take the
    // shortened file for whole and put it in place of the old one.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int code = errno;
        const QString systemError = file.errorString();
        file.cancelWriting(); // the temporary file goes with `file`
        return fail(systemError, code);
    }
    errno = 0;
    if (!file.commit()) {
        const int code = errno;
        return fail(file.errorString(), code);
    }
    return true;
}

} // namespace decl
