#pragma once

#include "declaration/draftfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QLockFile;

namespace app {

// What a recovery copy holds: the form's texts and choices, the declaration file the form
// belongs to (empty while it has none) and when the form last changed.
struct RecoveryContent
{
    decl::Draft draft;
    QString filePath;
    QDateTime changed;
};

// The copy's bytes, one JSON object:
//   {"changed": "2026-12-11T10:58:01Z", "file": "/home/…/kovacs.tkd", "format": "telekado-helyreallitas",
//    "version": 1, "declaration": {…the declaration file's object…}}
// Its size is bounded by the fields' texts: the declaration as a ".tkd" holds it, and one path.
QByteArray recoveryBytes(const RecoveryContent &content);

// Reads a copy's bytes as strictly as a declaration file, except that a number typed half-way
// stays as typed. Returns nothing and sets errorString, naming fileName, when it is damaged.
std::optional<RecoveryContent> readRecovery(QByteArrayView bytes, const QString &fileName, QString *errorString);

// Reads the copy at path; nothing, with the reason, when it cannot be read or is damaged.
std::optional<RecoveryContent> loadRecovery(const QString &path, QString *errorString);

// Writes the bytes so that a crash or power cut at any moment leaves either the old file or the
// new one whole: a temporary file beside it, synced, renamed over path, then the folder synced.
// Returns false and sets reason when it could not; the old file then stays as it was.
bool writeDurably(const QString &path, const QByteArray &bytes, QString *reason);

// The folder of recovery copies that every running program of the user shares, and this
// program's own copy in it. Each program names its copy after itself and holds a lock file
// beside it for as long as it runs, so that a copy whose lock can be taken is one whose program
// has ended; a living program's copy is never touched. A lock left on another host stays its.
//
// Writing happens on a thread of its own: the window's thread hands over the bytes and goes on.
class RecoveryStore
{
public:
    // Where copies live when nobody says otherwise: the user's data folder of the program.
    static QString defaultFolder();

    explicit RecoveryStore(const QString &folder);
    // Waits for the writer; the copy stays, the lock goes.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    const QString &folder() const { return m_folder; }
    // Makes the folder and takes this program's lock. False, with the reason, when copies cannot
    // be kept there: the program then goes on without them.
    bool open(QString *reason);
    bool isOpen() const { return m_lock != nullptr; }
    // This program's copy.
    QString copyPath() const;

    // A copy left by a program that has ended, locked for this one until adopted or discarded.
    struct Orphan
    {
        QString path;
        QDateTime modified;
        std::shared_ptr<QLockFile> lock;
    };
    // The copies whose programs have ended, newest first. What such programs left beside no
    // copy (their lock, a copy cut short) goes.
    std::vector<Orphan> orphans();
    // The orphan's copy becomes this program's own, so that it is not lost before this program
    // writes a newer one. Any copy of this program's own goes.
    void adopt(const Orphan &orphan);
    // Removes the orphan's copy and its lock.
    static void discard(const Orphan &orphan);
    // Moves a damaged copy out of the way under a name no program reads again; returns that name.
    static QString setAside(const Orphan &orphan);

    // Hands the bytes of this program's copy to the writer; a newer hand-over replaces one not
    // yet written.
    void write(QByteArray bytes);
    // This program's copy goes (a clean save, or the user gave the changes up).
    void remove();
    // Waits until the writer has done all it was handed; true when the last of it succeeded.
    bool flush();
    // Told on the window's thread after each write: whether it succeeded and why not.
    void setWrittenHandler(std::function<void(bool ok, const QString &reason)> handler);

private:
    struct Job
    {
        bool remove = false;
        QString path;
        QByteArray bytes;
    };
    void post(Job job);
    void work();

    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    std::shared_ptr<QLockFile> m_adopted;
    QObject m_context; // lives on the window's thread; results go to it
    std::function<void(bool, const QString &)> m_written;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    bool m_lastOk = true;
    std::thread m_thread;
};

} // namespace app
