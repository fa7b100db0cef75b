#pragma once

#include "app/commands/recoverycopy.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace app {

class DraftDocument;

// Keeps the recovery copy of a document in step with its changes. While the document has
// unsaved changes the copy is written at most every `interval` ms, the first time `interval` ms
// after the change that started it, so that it is never older than that; once the document is
// saved, or is again what its file holds, the copy goes.
//
// Only the snapshot of the form happens on the window's thread; the store writes on its own.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr int interval = 2000;

    RecoveryKeeper(RecoveryStore &store, const DraftDocument &document, QObject *parent = nullptr);

    RecoveryStore &store() { return m_store; }
    // Tests wait less.
    void setInterval(int ms) { m_timer.setInterval(ms); }
    // After every edit and command.
    void documentChanged();
    // Writes the copy of a changed document at once and waits until it is on disk (the program
    // is about to end); an unchanged document's copy goes. True when nothing was lost.
    bool writeNow();
    // The user gave the changes up as the program ends: the copy goes, is gone when this
    // returns, and no other is written.
    void discard();
    // The snapshot the copy is made of, on the window's thread (the benchmark measures it).
    QByteArray snapshot();

Q_SIGNALS:
    // A copy could not be written (ok false, with the reason), or could again after that.
    void problemChanged(bool ok, const QString &reason);

private:
    void writeDue();

    RecoveryStore &m_store;
    const DraftDocument &m_document;
    QTimer m_timer;
    // What the copy handed over last holds, so that a focus change without an edit writes
    // nothing; forgotten when the write failed, so that the next chance tries again.
    std::optional<decl::Draft> m_written;
    QString m_writtenPath;
    // A copy was handed over and not removed since.
    bool m_mayExist = true;
    QDateTime m_changed;
    bool m_failing = false;
    bool m_ended = false;
};

} // namespace app
