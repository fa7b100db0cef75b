#include "app/commands/recoverykeeper.h"

#include "app/commands/draftdocument.h"

namespace app {

RecoveryKeeper::RecoveryKeeper(RecoveryStore &store, const DraftDocument &document, QObject *parent)
    : QObject(parent), m_store(store), m_document(document)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::writeDue);
    m_store.setWrittenHandler([this](bool ok, const QString &reason) {
        if (!ok)
            m_written.reset();
        if (ok == !m_failing)
            return;
        m_failing = !ok;
        Q_EMIT problemChanged(ok, reason);
    });
}

void RecoveryKeeper::documentChanged()
{
    if (m_ended)
        return;
    if (!m_document.isChanged()) {
        m_timer.stop();
        if (m_mayExist) {
            m_store.remove();
            m_mayExist = false;
        }
        m_written.reset();
        return;
    }
    // A running timer is not restarted: typing on never holds the copy back longer.
    if (!m_timer.isActive())
        m_timer.start();
}

QByteArray RecoveryKeeper::snapshot()
{
    const decl::Draft draft = m_document.draft();
    if (m_written && *m_written == draft && m_writtenPath == m_document.path())
        return QByteArray();
    m_changed = QDateTime::currentDateTimeUtc();
    QByteArray bytes = recoveryBytes({draft, m_document.path(), m_changed});
    m_written = draft;
    m_writtenPath = m_document.path();
    return bytes;
}

void RecoveryKeeper::writeDue()
{
    if (!m_document.isChanged())
        return documentChanged();
    QByteArray bytes = snapshot();
    if (!bytes.isEmpty()) {
        m_store.write(std::move(bytes));
        m_mayExist = true;
    }
}

bool RecoveryKeeper::writeNow()
{
    m_timer.stop();
    if (m_document.isChanged()) {
        QByteArray bytes = snapshot();
        if (!bytes.isEmpty()) {
            m_store.write(std::move(bytes));
            m_mayExist = true;
        }
        return m_store.flush();
    }
    documentChanged();
    m_store.flush();
    return true;
}

void RecoveryKeeper::discard()
{
    m_ended = true;
    m_timer.stop();
    m_store.remove();
    m_mayExist = false;
    m_written.reset();
    m_store.flush();
}

} // namespace app
