#include "app/commands/draftdocument.h"

#include "app/commands/editableform.h"
#include "declaration/formaccess.h"
#include "declaration/scan/codescan.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace app {

namespace {
// The name offered for a form that has no file yet.
const QString untitledName = u"bevallas"_s;
} // namespace

DraftDocument::DraftDocument(EditableForm &form, QWidget *window)
    : m_form(form), m_window(window), m_dialogs(standardFileDialogs()), m_saved(decl::draftOf(form))
{
}

DraftDocument::~DraftDocument() = default;

QString DraftDocument::lockPathOf(const QString &path)
{
    const QFileInfo file(path);
    return file.dir().filePath(u"."_s + file.fileName() + u".lock"_s);
}

bool DraftDocument::lockFile(const QString &path, bool saving, std::unique_ptr<QLockFile> *lock)
{
    if (m_lock && QFileInfo(path) == QFileInfo(m_path))
        return true; // held already
    auto candidate = std::make_unique<QLockFile>(lockPathOf(path));
    // Never by age: a lock is given up only by a program on this host that has ended, and a
    // lock from another host on a shared folder is always shown.
    candidate->setStaleLockTime(0);
    if (candidate->tryLock(0)) {
        *lock = std::move(candidate);
        return true;
    }
    if (candidate->error() != QLockFile::LockFailedError)
        return true;
    qint64 pid = 0;
    FileHolder holder;
    QString application;
    candidate->getLockInfo(&pid, &holder.host, &application);
    // This program's own lock, from a second window of the same process, is no other program.
    if (pid == QCoreApplication::applicationPid() && holder.host == QSysInfo::machineHostName())
        return true;
    const QFileInfo lockInfo(lockPathOf(path));
    holder.file = path;
    holder.user = lockInfo.owner();
    holder.since = lockInfo.lastModified();
    return m_dialogs.askUseHeldFile(m_window, holder, saving);
}

bool DraftDocument::isChanged() const
{
    return decl::draftOf(m_form) != m_saved;
}

decl::Draft DraftDocument::draft() const
{
    return decl::draftOf(m_form);
}

QString DraftDocument::windowTitle(const QString &caption) const
{
    QString title = caption;
    if (!m_path.isEmpty())
        title += u" - "_s + QFileInfo(m_path).fileName();
    else if (!m_scanned.isEmpty())
        title += u" - "_s + m_scanned + u" (beolvasva)"_s;
    if (isChanged())
        title += u'*';
    return title;
}

bool DraftDocument::open()
{
    if (!maySaveChanges())
        return false;
    const QString folder = m_path.isEmpty() ? m_lastFolder : QFileInfo(m_path).absolutePath();
    const QString path = m_dialogs.openDraftName(m_window, folder);
    if (path.isEmpty())
        return false;
    return openFile(path);
}

bool DraftDocument::openScan()
{
    if (!maySaveChanges())
        return false;
    const QString folder = m_path.isEmpty() ? m_lastFolder : QFileInfo(m_path).absolutePath();
    const QString path = m_dialogs.openScanName(m_window, folder);
    if (path.isEmpty())
        return false;
    readScan(path);
    return true;
}

void DraftDocument::readScan(const QString &path)
{
    std::optional<decl::Draft> found;
    QString foundPage;
    QStringList reasons;
    const QString fileError = decl::scanFile(path, [&](const decl::ScannedPage &page) {
        if (found)
            return;
        const QString source = decl::pageSource(QFileInfo(path).fileName(), page.page, page.pageCount);
        if (page.draft) {
            found = page.draft;
            foundPage = source;
        } else {
            reasons << source + u": "_s + page.error;
        }
    });
    const QString headline = u"A bevallás nem olvasható be: %1"_s.arg(QDir::toNativeSeparators(path));
    if (!fileError.isEmpty())
        throw rt::Exception(headline + u'\n' + fileError);
    if (!found)
        throw rt::Exception(headline + u'\n' + reasons.join(u'\n'));
    // The code's reader gives the whole form, what the code leaves out as on an untouched form.
    decl::applyDraft(*found, m_form);
    // Read from paper, it is in no file yet: the form is changed until it is saved, and the file
    // open before is closed.
    m_path.clear();
    m_lock.reset();
    m_scanned = foundPage;
    m_saved = decl::draftOf(decl::MapForm());
    decl::szamolas(m_form);
}

bool DraftDocument::openFile(const QString &path)
{
    std::unique_ptr<QLockFile> lock;
    if (QFileInfo::exists(path) && !lockFile(path, false, &lock))
        return false;
    QString error;
    const std::optional<decl::Draft> read = decl::loadDraft(path, &error);
    if (!read)
        throw rt::Exception(error);
    // The file is the whole form: what it leaves out is as on an untouched form.
    decl::Draft whole = decl::draftOf(decl::MapForm());
    whole.texts.insert(read->texts);
    whole.choices.insert(read->choices);
    decl::applyDraft(whole, m_form);
    if (lock || QFileInfo(path) != QFileInfo(m_path))
        m_lock = std::move(lock);
    m_path = path;
    m_scanned.clear();
    // As the controls hold it (numbers in their normal form): opening is no change.
    m_saved = decl::draftOf(m_form);
    decl::szamolas(m_form);
    return true;
}

void DraftDocument::restore(const decl::Draft &draft, const QString &path)
{
    const decl::Draft untouched = decl::draftOf(decl::MapForm());
    decl::Draft base = untouched;
    if (!path.isEmpty()) {
        if (const std::optional<decl::Draft> file = decl::loadDraft(path)) {
            base.texts.insert(file->texts);
            base.choices.insert(file->choices);
        }
    }
    // The baseline as the controls hold it, so that numbers in another notation are no change.
    decl::applyDraft(base, m_form);
    m_saved = decl::draftOf(m_form);
    decl::Draft whole = untouched;
    whole.texts.insert(draft.texts);
    whole.choices.insert(draft.choices);
    decl::applyDraft(whole, m_form);
    m_lock.reset();
    if (!path.isEmpty()) {
        // The program that held it has ended; a living one keeps its lock.
        auto lock = std::make_unique<QLockFile>(lockPathOf(path));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            m_lock = std::move(lock);
    }
    m_path = path;
    m_scanned.clear();
    decl::szamolas(m_form);
}

bool DraftDocument::save()
{
    if (m_path.isEmpty())
        return saveAs();
    return saveTo(m_path);
}

bool DraftDocument::saveAs()
{
    QString suggested = m_path.isEmpty() ? untitledName + draftSuffix : m_path;
    if (m_path.isEmpty() && !m_lastFolder.isEmpty())
        suggested = QDir(m_lastFolder).filePath(suggested);
    const QString name = m_dialogs.saveDraftName(m_window, suggested);
    if (name.isEmpty())
        return false;
    return saveTo(withDefaultSuffix(name, draftSuffix));
}

bool DraftDocument::saveTo(const QString &path)
{
    std::unique_ptr<QLockFile> lock;
    if (!lockFile(path, true, &lock))
        return false;
    const decl::Draft draft = decl::draftOf(m_form);
    QString error;
    if (!decl::saveDraft(path, draft, &error))
        throw rt::Exception(error);
    if (lock)
        m_lock = std::move(lock);
    else if (QFileInfo(path) != QFileInfo(m_path))
        m_lock.reset();
    m_path = path;
    m_scanned.clear();
    m_saved = draft;
    return true;
}

bool DraftDocument::maySaveChanges()
{
    if (!isChanged())
        return true;
    switch (m_dialogs.askSaveChanges(m_window)) {
    case QMessageBox::Yes:
        return save();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

QString DraftDocument::pdfSuggestion() const
{
    if (m_path.isEmpty())
        return untitledName + pdfSuffix;
    const QFileInfo file(m_path);
    return file.dir().filePath(file.completeBaseName() + pdfSuffix);
}

} // namespace app
