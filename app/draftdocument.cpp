#include "app/draftdocument.h"

#include "app/form1access.h"
#include "declaration/formaccess.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace app {

namespace {
// The name offered for a form that has no file yet.
const QString untitledName = u"bevallas"_s;
} // namespace

DraftDocument::DraftDocument(Form1Access &form, QWidget *window)
    : m_form(form), m_window(window), m_dialogs(standardFileDialogs()), m_saved(decl::draftOf(form))
{
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
    if (isChanged())
        title += u'*';
    return title;
}

bool DraftDocument::open()
{
    if (!maySaveChanges())
        return false;
    const QString folder = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    const QString path = m_dialogs.openDraftName(m_window, folder);
    if (path.isEmpty())
        return false;
    openFile(path);
    return true;
}

void DraftDocument::openFile(const QString &path)
{
    QString error;
    const std::optional<decl::Draft> read = decl::loadDraft(path, &error);
    if (!read)
        throw rt::Exception(error);
    // The file is the whole form: what it leaves out is as on an untouched form.
    decl::Draft whole = decl::draftOf(decl::MapForm());
    whole.texts.insert(read->texts);
    whole.choices.insert(read->choices);
    decl::applyDraft(whole, m_form);
    m_path = path;
    // As the controls hold it (numbers in their normal form): opening is no change.
    m_saved = decl::draftOf(m_form);
    decl::szamolas(m_form);
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
    m_path = path;
    decl::szamolas(m_form);
}

bool DraftDocument::save()
{
    if (m_path.isEmpty())
        return saveAs();
    saveTo(m_path);
    return true;
}

bool DraftDocument::saveAs()
{
    const QString suggested = m_path.isEmpty() ? untitledName + draftSuffix : m_path;
    const QString name = m_dialogs.saveDraftName(m_window, suggested);
    if (name.isEmpty())
        return false;
    saveTo(withDefaultSuffix(name, draftSuffix));
    return true;
}

void DraftDocument::saveTo(const QString &path)
{
    const decl::Draft draft = decl::draftOf(m_form);
    QString error;
    if (!decl::saveDraft(path, draft, &error))
        throw rt::Exception(error);
    m_path = path;
    m_saved = draft;
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
