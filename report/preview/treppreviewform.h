#pragma once

#include "report/preview/previewoptions.h"
#include "report/preview/treppreview.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace rep {

class PageSource;
struct PreviewToolbarEntry;

// The preview window: toolbar, preview control and status bar. Texts come from the hooks'
// text table ("TrepPreviewForm" window lines and the messages).
class TrepPreviewForm : public QDialog
{
    Q_OBJECT
public:
    explicit TrepPreviewForm(QWidget *parent, PreviewHooks hooks = {});
    ~TrepPreviewForm() override;

    // Sets the window up from the report's preview options and attaches the pages; a
    // non-empty report name becomes the caption.
    void init(PageSource *source, const TrepPreviewOptions &options, const QString &reportName = {});

    TrepPreview *preview() const { return m_preview; }
    QComboBox *zoomBox() const { return m_zoomBox; }
    QStatusBar *statusBar() const { return m_statusBar; }
    // The status bar's first panel: "1. oldal 2 oldalból".
    QString pageText() const;
    // The toolbar controls in their order, by object name, separators and panels included.
    QList<QWidget *> toolbarControls() const { return m_toolbarControls; }

    // The zoom box was chosen from (index) or confirmed with Enter (index -1).
    void applyZoomBox(int index);
    // Writes the effective zoom into the zoom box.
    void rewriteZoomBox();

    // "Bezár", Esc and the close box. While printing, the job stops at its next page.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The control of one entry of the toolbar's table.
    QWidget *createToolbarControl(const PreviewToolbarEntry &entry);
    QWidget *createZoomPanel(const QString &name);
    QWidget *createPagePanel(const QString &name);
    void updateStatus();
    // Names the toolbar's edits, which show no caption, by their hints from the text table.
    void nameByHints();
    void applyButtons(TrepPreviewButtons buttons);

    TrepPreview *m_preview = nullptr;
    QWidget *m_toolbar = nullptr;
    QList<QWidget *> m_toolbarControls;
    QComboBox *m_zoomBox = nullptr;
    QWidget *m_zoomPanel = nullptr;
    QLineEdit *m_pageEdit = nullptr;
    QWidget *m_pagePanel = nullptr;
    QPushButton *m_closeButton = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusPage = nullptr;
    QLabel *m_statusProgress = nullptr;
    // What a listener last heard of the page and the zoom; a change is told, the first showing
    // is spoken with the focus.
    QString m_toldPage;
    QString m_toldZoom;
    bool m_zoomTellPending = false;
};

} // namespace rep
