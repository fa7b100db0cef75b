#pragma once

#include "controls/maskedit/ctlbevel.h"
#include "controls/maskedit/maskeditmodel.h"

#include <QPointer>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QMenu;

namespace ctl {

// The caret drawn by the field: 1 pixel wide, as high as "Qp" in the field's font.
// A new field blinks at the platform's rate; the declaration form sets 530 ms.
struct TCtlCaret
{
    enum TCtlCaretStyle { csDefault };
    TCtlCaretStyle Style = csDefault;
    int BlinkRate = 0;   // ms between on and off; 0 or less: no blinking
};

// A single-line field that keeps its text inside a mask and draws itself: frame, text,
// selection and caret. The editing is MaskEditModel's; this maps keys and mouse onto it.
class TCtlMaskEdit : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString Mask READ mask WRITE setMask)
    Q_PROPERTY(QChar BlankChar READ blankChar WRITE setBlankChar)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
    Q_PROPERTY(bool Warning READ warning WRITE setWarning)

public:
    explicit TCtlMaskEdit(QWidget *parent = nullptr);
    ~TCtlMaskEdit() override;

    MaskEditModel &model() { return m_model; }
    const MaskEditModel &model() const { return m_model; }

    QString text() const { return m_model.text(); }
    void setText(const QString &text) { m_model.setText(text); }
    QString mask() const { return m_model.mask(); }
    void setMask(const QString &mask) { m_model.setMask(mask); }
    QChar blankChar() const { return m_model.blankChar(); }
    void setBlankChar(QChar c) { m_model.setBlankChar(c); }
    bool readOnly() const { return m_model.readOnly(); }
    void setReadOnly(bool on) { m_model.setReadOnly(on); }

    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    bool hideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    bool tabOnEnter() const { return m_tabOnEnter; }
    void setTabOnEnter(bool on) { m_tabOnEnter = on; }

    // Colours; invalid ones follow the palette (Base, Highlight, HighlightedText).
    QColor color() const;
    void setColor(const QColor &c);
    QColor highlightBack() const;
    void setHighlightBack(const QColor &c);
    QColor highlightText() const;
    void setHighlightText(const QColor &c);
    // Drawn with the warning ground and frame (controls/common/ui/warninglook.h) in place of
    // color() and the bevel's outer pixel; the text and the editing are untouched.
    bool warning() const { return m_warning; }
    void setWarning(bool on);

    const TCtlBevel &bevel() const { return m_bevel; }
    void setBevel(const TCtlBevel &bevel);
    const TCtlCaret &caret() const { return m_caret; }
    void setCaret(const TCtlCaret &caret);

    // A menu shown instead of the built one on a right click; not owned.
    QMenu *popupMenu() const;
    void setPopupMenu(QMenu *menu);
    // The field's own context menu with its items enabled for the current state.
    QMenu *createContextMenu(QWidget *parent);

    // Geometry of the drawn state, in widget coordinates.
    QRect textArea() const;
    int horizontalOffset() const { return m_offset; }
    QRect caretRect() const;
    // Where the character at a 1-based position is drawn, in widget coordinates.
    QRect characterRect(int position) const;
    bool isCaretShown() const { return m_caretOn && hasFocus(); }
    // The caret position (1-based) of the character boundary nearest to x.
    int positionAt(int x) const;

    QSize sizeHint() const override;

    // Clipboard commands.
    void cutToClipboard();
    void copyToClipboard();
    void pasteFromClipboard();

    // Key events in the platform's manner: setting Key to 0 cancels the key.
    std::function<void(int &Key, Qt::KeyboardModifiers Shift)> OnKeyDown;
    std::function<void(int &Key, Qt::KeyboardModifiers Shift)> OnKeyUp;
    // Offered the right-click position first; Handled = true suppresses the menu.
    std::function<void(QPoint MousePos, bool &Handled)> OnContextPopup;

Q_SIGNALS:
    void OnModified();
    void OnTextChangedAt(int At);
    void OnChange();
    void OnCursorPosChanged();
    void OnEnter();
    void OnExit();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void handleKey(QKeyEvent *event);
    void handleMousePress(QMouseEvent *event);
    void handleMouseRelease(QMouseEvent *event);
    const QTextLayout &layout() const;
    qreal xOf(int position) const; // caret x before the scroll offset, from the text's left
    void stateChanged();
    void ensureCaretVisible();
    void restartBlink();
    void dragSelectTo(const QPoint &pos);
    void showContextMenu(const QPoint &globalPos);
    static bool handlesShortcut(const QKeyEvent *event);
    // Tells assistive technology what changed since it was last told.
    void announceText();
    void announceCaret();

    MaskEditModel m_model;
    TCtlBevel m_bevel;
    TCtlCaret m_caret;
    QColor m_color, m_highlightBack, m_highlightText;
    bool m_autoSelect = false;
    bool m_hideSelection = true;
    bool m_tabOnEnter = false;
    bool m_warning = false;
    QPointer<QMenu> m_popupMenu;

    int m_offset = 0;
    bool m_caretOn = false;
    QTimer m_blinkTimer;
    QTimer m_selectTimer;   // repeats the drag update so that the text scrolls
    QPoint m_lastMousePos;
    enum class Drag { None, Selecting, Moving } m_drag = Drag::None;

    mutable std::unique_ptr<QTextLayout> m_layout;
    mutable QString m_layoutText;

    // What assistive technology was last told: the text, the caret and the selection, from 0.
    QString m_announcedText;
    int m_announcedCaret = 0;
    int m_announcedSelStart = 0;
    int m_announcedSelEnd = 0;
};

} // namespace ctl
