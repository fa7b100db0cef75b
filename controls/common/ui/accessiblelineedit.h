#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace ctl {

// A single-line edit as assistive technology sees it: an editable text whose value is the text
// shown. It stands in for Qt's own interface of line edits, which can loop forever when a client
// asks for the word or sentence at the end of the text. Text changes, caret moves and selections
// are announced by the line edit itself.
class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    // Whether a client may edit the text through the interface; with KeysOnly every character has
    // to come as a key, through the field's own filter.
    enum class ClientEdits { Allowed, KeysOnly };

    AccessibleLineEdit(QLineEdit *edit, ClientEdits edits);

    QLineEdit *lineEdit() const;

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    // The text as shown: hidden characters of a password field stay hidden.
    QString shownText() const;
    bool clientMayEdit() const;

    ClientEdits m_edits;
};

// Lets every line edit of the program answer through AccessibleLineEdit. Called by the controls
// built on line edits; registers with Qt's factory once, and creates nothing until asked.
void installLineEditAccessibility();

} // namespace ctl
