#pragma once

#include "controls/richtext/ui/tctlrichlabel.h"

class QScrollBar;
class QTimer;

namespace rtf {

// A read-only rich-text viewer: a rich label with a vertical and a horizontal scroll bar
// whose positions give the offset of the rendered image in the text area. It takes no focus
// unless given a focus policy; with the focus it shows a caret, which the keys move through the
// text as laid out, scrolling to keep it in view, so that the text can be read where it stands.
class TCtlRichScrollBox : public TCtlRichLabel
{
    Q_OBJECT
public:
    explicit TCtlRichScrollBox(QWidget *parent = nullptr);

    QScrollBar *horizontalBar() const { return m_horz; }
    QScrollBar *verticalBar() const { return m_vert; }
    // The part of the box the rendered image is copied into.
    QRect textArea() const;

    // The caret: a position in the document (0 before its first character), kept in the text.
    int caretPosition() const { return m_caret; }
    void setCaretPosition(int position);
    // Where the text starts in the box's coordinates, the scrolling taken into account.
    QPoint textOrigin() const;
    // The laid-out line holding a position: its first position and its length, without the
    // paragraph mark. False for a position outside the text.
    bool lineAt(int position, int *start, int *length) const;

protected:
    void renderModel() override;
    void paintEvent(QPaintEvent *event) override;
    // With the focus, which it has only where a window gives it to it: the arrows move the caret by
    // character and by line (with Ctrl by word), Page Up and Page Down by a page, Home and End
    // (with Ctrl or without) to the text's ends; the text scrolls as it did before it had a caret.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int characterCount();
    // Moves the caret, scrolling it into view when `scroll`, and tells a listener.
    void moveCaret(int position, bool scroll);
    // The caret's rectangle in document coordinates.
    QRect caretRectInDocument();
    // The position on the laid-out line `lines` away from the caret's, at the caret's x.
    int positionLinesAway(int lines);
    int positionAtDocumentY(int y, qreal x);
    void ensureCaretVisible();

    QScrollBar *m_horz;
    QScrollBar *m_vert;
    int m_caret = 0;
    bool m_caretOn = false;
    QTimer *m_blink;
};

} // namespace rtf
