#include "app/commands/recoverycopy.h"

#include "logging_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace app {

namespace {

constexpr QStringView recoveryFormat = u"telekado-helyreallitas";
constexpr int recoveryVersion = 1;
const QString copySuffix = u".tkr"_s;
const QString lockSuffix = u".lock"_s;
const QString partSuffix = u".part"_s;
// A path is at most a few thousand characters, each at most six bytes as a JSON escape.
constexpr qint64 maxRecoverySize = decl::maxDraftFileSize + 64 * 1024;

QString damaged(const QString &fileName, const QString &reason)
{
    return u"A helyreállítási másolat sérült: %1\n%2"_s.arg(QDir::toNativeSeparators(fileName), reason);
}

std::optional<RecoveryContent> refuse(QString *errorString, const QString &message)
{
    if (errorString)
        *errorString = message;
    return std::nullopt;
}

// The reason in the user's words where it can be told.
QString systemError(int code)
{
    switch (code) {
    case ENOSPC:
    case EDQUOT: return u"Nincs elég szabad hely a lemezen."_s;
    case EACCES:
    case EPERM: return u"Nincs írási jog a mappához."_s;
    case EROFS: return u"A mappa csak olvasható lemezen van."_s;
    default: return QString::fromLocal8Bit(std::strerror(code));
    }
}

// Writes everything, going on after an interrupted or partial write.
bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString lockPathOf(const QString &copyPath)
{
    return copyPath.chopped(copySuffix.size()) + lockSuffix;
}

} // namespace

QByteArray recoveryBytes(const RecoveryContent &content)
{
    QJsonObject head;
    head.insert(u"format"_s, recoveryFormat.toString());
    head.insert(u"version"_s, recoveryVersion);
    head.insert(u"file"_s, content.filePath);
    head.insert(u"changed"_s, content.changed.toUTC().toString(Qt::ISODateWithMs));
    // The declaration goes in as the file would hold it, without being parsed back.
    QByteArray bytes = QJsonDocument(head).toJson(QJsonDocument::Compact);
    bytes.chop(1);
    bytes += ",\"declaration\":";
    bytes += decl::toJson(content.draft);
    bytes += "}\n";
    return bytes;
}

std::optional<RecoveryContent> readRecovery(QByteArrayView bytes, const QString &fileName, QString *errorString)
{
    if (bytes.size() > maxRecoverySize)
        return refuse(errorString, damaged(fileName, u"A fájl túl nagy: %1 bájt."_s.arg(bytes.size())));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return refuse(errorString, damaged(fileName, u"A fájl tartalma nem érvényes JSON-objektum."_s));
    const QJsonObject root = document.object();
    if (root.value(u"format"_s).toString() != recoveryFormat)
        return refuse(errorString, damaged(fileName, u"A fájl formátumjelölése nem „%1”."_s.arg(recoveryFormat)));
    if (root.value(u"version"_s).toInteger(-1) != recoveryVersion)
        return refuse(errorString, damaged(fileName, u"A fájl formátumváltozata ismeretlen."_s));
    const QJsonValue file = root.value(u"file"_s);
    const QDateTime changed = QDateTime::fromString(root.value(u"changed"_s).toString(), Qt::ISODateWithMs);
    const QJsonValue declaration = root.value(u"declaration"_s);
    if (!file.isString() || !changed.isValid() || !declaration.isObject())
        return refuse(errorString, damaged(fileName, u"Hiányzik a fájl neve, a módosítás ideje vagy a bevallás."_s));
    QString reason;
    const std::optional<decl::Draft> draft =
        decl::readDraft(QJsonDocument(declaration.toObject()).toJson(QJsonDocument::Compact), fileName, &reason,
                        decl::NumericTexts::AsTyped);
    if (!draft)
        return refuse(errorString, damaged(fileName, reason));
    return RecoveryContent{*draft, file.toString(), changed};
}

std::optional<RecoveryContent> loadRecovery(const QString &path, QString *errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(errorString, damaged(path, file.errorString()));
    const QByteArray bytes = file.read(maxRecoverySize + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(errorString, damaged(path, file.errorString()));
    return readRecovery(bytes, path, errorString);
}

bool writeDurably(const QString &path, const QByteArray &bytes, QString *reason)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray part = QFile::encodeName(path + partSuffix);
    auto fail = [&](int code, int fd) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(part.constData());
        if (reason)
            *reason = systemError(code);
        return false;
    };
    const int fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(errno, -1);
    if (!writeAll(fd, bytes.constData(), bytes.size()) || ::fsync(fd) != 0)
        return fail(errno, fd);
    if (::close(fd) != 0)
        return fail(errno, -1);
    if (::rename(part.constData(), target.constData()) != 0)
        return fail(errno, -1);
    // The rename itself reaches the disk only with the folder.
    if (!syncFolder(QFile::encodeName(QFileInfo(path).absolutePath()))) {
        if (reason)
            *reason = systemError(errno);
        return false;
    }
    return true;
}

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u"/recovery"_s;
}

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder),
      m_id(u"%1-%2"_s.arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch(), 0, 36))
{
}

RecoveryStore::~RecoveryStore()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
}

bool RecoveryStore::open(QString *reason)
{
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir()) {
        *reason = u"Ezen a helyen fájl van, nem mappa: %1"_s.arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        *reason = u"A mappa nem hozható létre: %1"_s.arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    // The copies hold what the user typed: nobody else reads them.
    QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    auto lock = std::make_unique<QLockFile>(lockPathOf(copyPath()));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        *reason = u"A mappába nem lehet írni: %1"_s.arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    m_lock = std::move(lock);
    return true;
}

QString RecoveryStore::copyPath() const
{
    return m_folder + u'/' + m_id + copySuffix;
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans()
{
    std::vector<Orphan> found;
    const QFileInfoList copies = QDir(m_folder).entryInfoList({u"*"_s + copySuffix}, QDir::Files);
    for (const QFileInfo &copy : copies) {
        const QString path = copy.absoluteFilePath();
        if (path == copyPath())
            continue;
        auto lock = std::make_shared<QLockFile>(lockPathOf(path));
        // Never by age: only a dead program on this host gives its lock up.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        found.push_back({path, copy.lastModified(), std::move(lock)});
    }
    std::sort(found.begin(), found.end(), [](const Orphan &a, const Orphan &b) { return a.modified > b.modified; });
    // What ended programs left without a copy: a lock, a copy cut short by the end.
    const QFileInfoList rest = QDir(m_folder).entryInfoList({u"*"_s + lockSuffix, u"*"_s + copySuffix + partSuffix},
                                                           QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : rest) {
        const QString name = file.fileName();
        const QString id = name.left(name.indexOf(u'.'));
        const QString copy = m_folder + u'/' + id + copySuffix;
        if (copy == copyPath() || QFileInfo::exists(copy))
            continue;
        QLockFile lock(lockPathOf(copy));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            QFile::remove(copy + partSuffix); // the lock goes as `lock` does
    }
    return found;
}

void RecoveryStore::adopt(const Orphan &orphan)
{
    flush();
    QFile::remove(copyPath());
    const QString name = QFileInfo(orphan.path).fileName();
    m_id = name.chopped(copySuffix.size());
    if (m_lock)
        m_lock->unlock();
    m_adopted = orphan.lock;
}

void RecoveryStore::discard(const Orphan &orphan)
{
    QFile::remove(orphan.path);
    QFile::remove(orphan.path + partSuffix);
    orphan.lock->unlock();
}

QString RecoveryStore::setAside(const Orphan &orphan)
{
    const QString aside = orphan.path + u".serult-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    if (!QFile::rename(orphan.path, aside))
        qCWarning(lcCommands, "the damaged recovery copy %s could not be set aside", qUtf8Printable(orphan.path));
    orphan.lock->unlock();
    return aside;
}

void RecoveryStore::write(QByteArray bytes)
{
    post({false, copyPath(), std::move(bytes)});
}

void RecoveryStore::remove()
{
    post({true, copyPath(), {}});
}

void RecoveryStore::post(Job job)
{
    if (!isOpen())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(job);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { work(); });
    }
    m_wake.notify_all();
}

bool RecoveryStore::flush()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait(lock, [this] { return !m_pending && !m_busy; });
    return m_lastOk;
}

void RecoveryStore::setWrittenHandler(std::function<void(bool, const QString &)> handler)
{
    m_written = std::move(handler);
}

void RecoveryStore::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_pending; });
        if (!m_pending)
            return;
        const Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();

        QString reason;
        bool ok = true;
        if (job.remove) {
            ok = !QFile::exists(job.path) || QFile::remove(job.path);
            if (!ok)
                reason = u"A másolat nem törölhető."_s;
        } else {
            ok = writeDurably(job.path, job.bytes, &reason);
        }
        if (!job.remove || !ok) {
            QMetaObject::invokeMethod(&m_context, [this, ok, reason] {
                if (m_written)
                    m_written(ok, reason);
            }, Qt::QueuedConnection);
        }

        lock.lock();
        m_busy = false;
        m_lastOk = ok;
        m_wake.notify_all();
    }
}

} // namespace app
