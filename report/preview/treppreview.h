#pragma once

#include "report/preview/previewoptions.h"
#include "report/preview/previewstate.h"
#include "report/preview/previewtexts.h"
#include "report/preview/printhost.h"
#include "report/preview/textsearch.h"

#include <QWidget>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace rep {

class PageSource;
class TrepPreviewWorkspace;

// What the search dialog returns; accepted is false when it was cancelled.
struct SearchRequest
{
    bool accepted = false;
    QString text;
    bool fromTop = false;
    bool caseSensitive = false;
};

// The connections of the preview to the rest of the program. Every member may stay empty:
// texts then come from the built-in Hungarian table, the save and search dialogs are the
// standard ones, and without print callbacks printing reports that there is no printer.
struct PreviewHooks
{
    // The report text table (key -> text; a missing key comes back as itself).
    TextLookup text;
    // Whether a physical printer exists; false or empty shows "Nincs nyomtató telepítve".
    std::function<bool()> hasPhysicalPrinter;
    // Runs the print dialog and the job. It calls host.lock() once the dialog is confirmed,
    // host.pageBeingPrinted(n) before each page and stops when host.stopRequested(). The
    // preview unlocks afterwards whether it returns or throws.
    std::function<void(PreviewPrintHost &host)> print;
    // Asks for the file name to save to; an empty result cancels. Default: QFileDialog.
    std::function<QString(QWidget *parent, const QString &filter)> saveFileName;
    // Asks for the text to find. Default: TrepSearchDialog.
    std::function<SearchRequest(QWidget *parent, const QString &lastText)> askSearch;
    // Writes the prepared pages as a PDF under a name it asks for; throws with the reason when it
    // cannot. Empty: the window has no "PDF" button.
    std::function<void(QWidget *parent)> savePdf;
};

// The preview control: the workspace with the pages, the message panel shown while printing
// or saving, and the commands the window's buttons and keys call.
class TrepPreview : public QWidget, private PreviewPrintHost
{
    Q_OBJECT
public:
    explicit TrepPreview(QWidget *parent);
    ~TrepPreview() override;

    void setHooks(PreviewHooks hooks);
    QString text(const QString &key) const;

    // Attaches the prepared pages (the preview does not own them) and goes to page 1.
    void setSource(PageSource *source);
    void setOutline(bool visible, int width);

    double zoom() const { return m_state.zoom(); }
    TrepZoomMode zoomMode() const { return m_state.zoomMode(); }
    void setZoom(double z);
    void setZoomMode(TrepZoomMode mode);

    int currentPage() const override { return m_state.currentPage(); }
    int pageCount() const { return m_state.pageCount(); }
    void first() { pageNo(1); }
    void prior() { pageNo(m_state.currentPage() - 1); }
    void next() { pageNo(m_state.currentPage() + 1); }
    void last() { pageNo(m_state.pageCount()); }
    void pageNo(int n);

    // The commands below do nothing while busy(). None lets an error out: it is shown through
    // the default error display once the event loop has control back, and the preview is
    // unlocked afterwards.

    // The print button and Ctrl+P: print when a physical printer exists, else the error box.
    void printCommand();
    void print();
    // Ctrl+S: asks for a name, forces the ".prp" extension and saves the pages.
    void saveToFile();
    // The "PDF" button: the pages as a PDF, through the hook.
    void savePdf();
    bool canSavePdf() const { return bool(m_hooks.savePdf); }
    // Ctrl+F and F3.
    void find();
    void findNext();

    void lock() override;
    void unlock();
    // What the message panel's "Mégsem" does: a print in progress stops at its next page.
    void requestStop() { m_stop = true; }
    bool locked() const { return m_state.locked(); }
    // Locked by printing or saving, or inside one of the commands (its dialog is open).
    bool busy() const { return m_state.locked() || m_commandRunning; }

    const PreviewState &state() const { return m_state; }
    TrepPreviewWorkspace *workspace() const { return m_workspace; }
    QFrame *messagePanel() const { return m_messagePanel; }

Q_SIGNALS:
    void pageChanged(int current, int count);
    void zoomChanged(double zoom);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void pageBeingPrinted(int pageNumber) override;
    bool stopRequested() const override { return m_stop; }
    QWidget *dialogOwner() override { return window(); }

    // The store's print with this preview as the host; unlocks afterwards in every case.
    void printPages();
    // Runs a command unless busy; an error is shown later, and a lock it left is released.
    template<typename Work>
    void runCommand(Work &&work);
    void showMessage(const QString &text, bool withCancel);
    void placeMessagePanel();
    void reloadPages();
    void showHit();
    QList<TextRecord> pageText(int page);

    PreviewHooks m_hooks;
    TextLookup m_text;
    PageSource *m_source = nullptr;
    PreviewState m_state;
    TrepPreviewWorkspace *m_workspace = nullptr;
    QTreeWidget *m_outline = nullptr;
    QFrame *m_messagePanel = nullptr;
    QLabel *m_messageLabel = nullptr;
    QPushButton *m_messageCancel = nullptr;
    bool m_stop = false;
    bool m_commandRunning = false;
    TextSearch m_search;
    bool m_findEnabled = false;
};

} // namespace rep
