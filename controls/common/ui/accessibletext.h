#pragma once

#include <QAccessibleWidget>
#include <QString>

namespace ctl {

// Change notifications for assistive technology; offsets count characters from 0. Nothing is
// computed or sent while no assistive technology listens.
//
// The text went from `before` to `after`: the one range that differs is announced as an
// insertion, a removal or a replacement, with the caret where it stands after the change.
void notifyTextChanged(QObject *object, const QString &before, const QString &after, int cursor);
void notifyCaretMoved(QObject *object, int cursor);
// The selection now runs from start to end (equal when it is empty); the caret is at cursor.
void notifySelectionChanged(QObject *object, int start, int end, int cursor);

// Which unit of text around an offset a client asks for.
enum class TextSide { Before, At, After };

// The unit of `boundary` kind (character, word, sentence, line or paragraph, the whole text) at,
// before or after `offset` in a plain text, with its range in *start and *end. Word and sentence
// units are the runs between the boundaries of QTextBoundaryFinder, lines and paragraphs end
// with their "\n". Offset -1 stands for the end of the text. An offset outside the text, or no
// such unit, gives an empty text and the range -1, -1 (at the very end: end, end). It answers every
// request, also those that make Qt's own default answer loop forever.
QString textAround(const QString &text, int offset, QAccessible::TextBoundaryType boundary, TextSide side,
                   int *start, int *end);

// The attribute run of a text without attributes: the whole text is one run, so that a reader
// walking the runs covers every character (a run of no width would make it lose the last one).
// Outside the text the run is empty, at the offset clamped into the text.
void plainAttributeRun(int length, int offset, int *start, int *end);

// Clamps a range asked for by an assistive client to a text of `length` characters: a negative
// start counts as 0, an end beyond the text or negative as the end; start > end gives an empty range.
void clampTextRange(int length, int *start, int *end);

// A plain text the user reads but does not edit (a caption, a computed value, a viewer), exposed
// with the text interface. The caret is where reading starts; a request outside the text gets an
// empty answer, never an error.
class AccessibleReadOnlyText : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    AccessibleReadOnlyText(QWidget *widget, QAccessible::Role role);

    // The text as it reads, lines separated by "\n".
    virtual QString plainText() const = 0;

    using QAccessibleWidget::text;
    void *interface_cast(QAccessible::InterfaceType type) override;
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

private:
    int m_cursor = 0;
};

} // namespace ctl
