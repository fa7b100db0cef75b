#pragma once

#include "app/commands/filedialogs.h"
#include "declaration/draftfile.h"

#include <QString>

#include <memory>

class QLockFile;
class QWidget;

namespace decl {
class DeclarationReport;
}

namespace app {

class EditableForm;

// The form as a document: the declaration file it was opened from or last saved to, and the
// draft it held then (or at start), against which a change is told. Changed means a field's
// text or a choice differs from that draft, so typing a letter and deleting it again is no
// change. The commands of the "Fájl" menu and the question before ending work on it.
//
// Commands return false when the user cancelled; errors throw rt::Exception with a message that
// names the file and the reason, and leave the document as it was.
class DraftDocument
{
public:
    // Starts untitled and unchanged, with the form as it is now. The window is the parent of
    // the dialogs.
    DraftDocument(EditableForm &form, QWidget *window);
    ~DraftDocument();

    const QString &path() const { return m_path; }
    bool isChanged() const;
    // What the form holds now.
    decl::Draft draft() const;
    // The window's title: its caption, " - " and the file's name when there is a file (or where
    // a scanned form came from), and "*" while the form is changed.
    QString windowTitle(const QString &caption) const;

    void setDialogs(FileDialogs dialogs) { m_dialogs = std::move(dialogs); }
    // Where the file dialogs start while the document has no file of its own.
    void setLastFolder(const QString &folder) { m_lastFolder = folder; }
    const FileDialogs &dialogs() const { return m_dialogs; }

    // "Megnyitás...": after the question about unsaved changes, asks for a file and opens it.
    bool open();
    // Reads the file and makes the form exactly its content (what the file leaves out as on an
    // untouched form), then computes as leaving an area field does. A file that cannot be read
    // leaves the form untouched. An error of the computation is thrown after the file is open.
    // A file another program holds open is opened only when the user says so; false when not.
    bool openFile(const QString &path);
    // "Beolvasás képről...": after the question about unsaved changes, asks for a scanned page,
    // photo or PDF and reads the declaration from its code.
    bool openScan();
    // Reads the first page of the file that carries a declaration's code and makes the form its
    // content, as opening a file does; the form then has no file and counts as changed, and the
    // title names where it came from. Throws when no page gives a declaration, naming each
    // page's reason; the form is then untouched.
    void readScan(const QString &path);
    // "Mentés": into the document's file; asks for a name when there is none yet.
    bool save();
    // "Mentés másként...": always asks for the name.
    bool saveAs();
    // When the form is changed asks "Menti a bevallás változásait?": Igen saves (asking for a
    // name when untitled), Nem discards. False when the user chose Mégsem or cancelled the save:
    // the caller then stays where it is.
    bool maySaveChanges();

    // Brings work back from a recovery copy: the form holds the draft and belongs to the file
    // (none when empty), and is changed against what that file holds now, or against the
    // untouched form when there is no file or it cannot be read. Computes as opening does.
    void restore(const decl::Draft &draft, const QString &path);

    // Where a PDF of the form is suggested to go: beside the document's file, under its name.
    QString pdfSuggestion() const;

    // The lock file that tells other programs this document's file is open here.
    static QString lockPathOf(const QString &path);

private:
    bool saveTo(const QString &path);
    // The file's lock for this document, taken over from a program that has ended. Asks the
    // user when another program holds it; false when the user cancelled. Without a lock that
    // can be written (a read-only folder), the file is used unlocked.
    bool lockFile(const QString &path, bool saving, std::unique_ptr<QLockFile> *lock);

    EditableForm &m_form;
    QWidget *m_window;
    FileDialogs m_dialogs;
    QString m_path;
    QString m_scanned; // what the form was read from, while it has no file
    QString m_lastFolder;
    decl::Draft m_saved;
    // Held while m_path is this document's file.
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace app
