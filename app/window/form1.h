#pragma once

#include "app/commands/draftdocument.h"
#include "app/window/form1access.h"
#include "app/window/formview.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class QFont;
class QMenu;
class QScrollArea;

namespace guide {
class TForm2;
}

namespace decl {
class DeclarationReport;
enum class FieldKind;
}

namespace app {

class FieldWarnings;
class RecentFiles;
class RecoveryKeeper;
class RecoveryStore;
struct RecoveryContent;

// The main window: the whole declaration form on one vertically scrolling page.
class TForm1 : public QMainWindow, public FormView
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // A control of the form by its component name, nullptr when there is none.
    QWidget *control(const QString &component) const override;
    QWidget *widget() override { return this; }
    Form1Access &form() override { return m_access; }
    // The declaration file the form belongs to and whether it changed since.
    const DraftDocument &document() const { return *m_document; }
    // Tests answer the file dialogs and the question before ending.
    void setFileDialogs(FileDialogs dialogs) { m_document->setDialogs(std::move(dialogs)); }
    // Opens a declaration file into the form (start-up with a file). A file that cannot be read
    // leaves the form untouched; the error propagates.
    void openFile(const QString &path);
    // The warning look of the fields that fail a check.
    FieldWarnings &warnings() override { return *m_warnings; }
    // Puts the focus into a field or group, scrolled into view; a group's choice stays as it is.
    void focusField(const QString &component) override;

    // Lists the declarations used last in the "Fájl" menu, and starts the file dialogs in the
    // folder used last.
    void keepRecentFiles(RecentFiles &recent);
    // A declaration of the list: opened after the question about unsaved changes; one that has
    // gone is dropped from the list and named in the error.
    void openRecentFile(const QString &path);

    // Keeps a recovery copy of unsaved work in the store from now on.
    void keepRecoveryCopies(RecoveryStore &store);
    RecoveryKeeper *recovery() const { return m_recovery.get(); }
    // Brings the work of a recovery copy back into the form, shown as changed.
    void restoreRecovery(const RecoveryContent &content);
    // Tells the user, without taking the focus from where it is, that unsaved work is not kept
    // for recovery (why), or that it is again (empty reason).
    void showRecoveryProblem(const QString &reason);
    // The end of the session or a shutdown signal: the copy of unsaved work is written, and the
    // program ends with exit code 0 without asking anything.
    void endKeepingWork();
    // The session manager's request to end the session. With interaction the question of
    // "Kilépés" is asked; false when the user chose to stay. Without it the work is kept as on
    // a signal. Either way the program ends unless the user stays.
    bool endSession(bool mayInteract);

    // The filling-guide window, created hidden after this one.
    void setGuideWindow(guide::TForm2 *form2);

    // Commands of the menu bar. Their errors propagate; the menu's binding shows them.
    // The "Fájl" menu: open, save, save as, PDF.
    void Megnyits1Click();
    void Beolvass1Click();
    void Ments1Click();
    void Mentsmsknt1Click();
    void PDFbements1Click();
    void Nyomtats1Click();
    void Kitltsitmutat1Click();
    // Ends the program with exit code 0, once the question about unsaved changes allows it.
    void Kilps1Click();
    // The shared exit handler of the eight area fields. Its errors propagate; the fields'
    // binding shows them through the default error display.
    void szamolas();

protected:
    // The close box asks about unsaved changes as "Kilépés" does.
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void buildMenu();
    void buildFileMenu();
    void buildContent();
    // The parts of the content, in stacking order: panels, captions, fields, computed labels.
    QWidget *buildPanels();
    void buildCaptions();
    void buildFields();
    QWidget *newField(decl::FieldKind kind, const QFont &font);
    void buildComputedLabels();
    // Puts a control at its designed place under its parent and registers it by name.
    QWidget *place(QWidget *w, const QString &name);
    // A control built already; the tables name only such parents.
    QWidget *built(const QString &component) const;
    // Shows the file's name and the "*" of a changed form; any edit and every command call it.
    void updateTitle();
    void watchChanges(QWidget *field);
    // The name a PDF is written under; empty when the user cancelled.
    QString askPdfName(QWidget *parent) const;

    Form1Access m_access;
    QScrollArea *m_scroll = nullptr;
    QHash<QString, QWidget *> m_controls;
    guide::TForm2 *m_form2 = nullptr;
    std::unique_ptr<decl::DeclarationReport> m_report;
    // Made once the form is built: it starts from the untouched form.
    std::unique_ptr<DraftDocument> m_document;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    RecentFiles *m_recent = nullptr;
    QMenu *m_fileMenu = nullptr;
    QList<QAction *> m_recentActions;
    // Goes before the controls do, so that their last focus changes are not judged.
    std::unique_ptr<FieldWarnings> m_warnings;
};

} // namespace app
