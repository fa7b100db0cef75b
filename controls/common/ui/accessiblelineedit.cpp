#include "controls/common/ui/accessiblelineedit.h"

#include "controls/common/ui/accessibletext.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace ctl {

AccessibleLineEdit::AccessibleLineEdit(QLineEdit *edit, ClientEdits edits)
    : QAccessibleWidget(edit, QAccessible::EditableText), m_edits(edits)
{
}

QLineEdit *AccessibleLineEdit::lineEdit() const
{
    return static_cast<QLineEdit *>(object());
}

void *AccessibleLineEdit::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface && m_edits == ClientEdits::Allowed)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString AccessibleLineEdit::shownText() const
{
    return lineEdit()->echoMode() == QLineEdit::Normal ? lineEdit()->text() : lineEdit()->displayText();
}

bool AccessibleLineEdit::clientMayEdit() const
{
    return m_edits == ClientEdits::Allowed && !lineEdit()->isReadOnly() && lineEdit()->isEnabled();
}

QString AccessibleLineEdit::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return shownText();
    QString s = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && s.isEmpty())
        s = lineEdit()->placeholderText();
    return s;
}

void AccessibleLineEdit::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    if (!clientMayEdit())
        return;
    // As the user would: everything selected and replaced, past the field's validator.
    lineEdit()->selectAll();
    lineEdit()->insert(text);
}

QAccessible::State AccessibleLineEdit::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = lineEdit()->isReadOnly();
    s.editable = !s.readOnly;
    s.selectableText = true;
    if (lineEdit()->echoMode() != QLineEdit::Normal)
        s.passwordEdit = true;
    // A field of no width or no height is there, but nobody can see it.
    if (lineEdit()->width() <= 0 || lineEdit()->height() <= 0)
        s.invisible = true;
    return s;
}

void AccessibleLineEdit::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && lineEdit()->hasSelectedText()) {
        *startOffset = lineEdit()->selectionStart();
        *endOffset = lineEdit()->selectionEnd();
    }
}

int AccessibleLineEdit::selectionCount() const
{
    return lineEdit()->hasSelectedText() ? 1 : 0;
}

void AccessibleLineEdit::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleLineEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        lineEdit()->deselect();
}

void AccessibleLineEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    clampTextRange(characterCount(), &startOffset, &endOffset);
    lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleLineEdit::cursorPosition() const
{
    return lineEdit()->cursorPosition();
}

void AccessibleLineEdit::setCursorPosition(int position)
{
    lineEdit()->setCursorPosition(std::clamp(position, 0, characterCount()));
}

QString AccessibleLineEdit::text(int startOffset, int endOffset) const
{
    const QString t = shownText();
    clampTextRange(int(t.size()), &startOffset, &endOffset);
    return t.mid(startOffset, endOffset - startOffset);
}

QString AccessibleLineEdit::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    return textAround(shownText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::Before,
                      startOffset, endOffset);
}

QString AccessibleLineEdit::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    return textAround(shownText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::After,
                      startOffset, endOffset);
}

QString AccessibleLineEdit::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const
{
    return textAround(shownText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::At,
                      startOffset, endOffset);
}

int AccessibleLineEdit::characterCount() const
{
    return int(shownText().size());
}

QRect AccessibleLineEdit::characterRect(int offset) const
{
    const QString t = lineEdit()->displayText();
    if (offset < 0 || offset >= t.size())
        return QRect();
    // Where the edit draws its line: inside its frame and margins, aligned as the edit is. The
    // forms' fields show their whole text, so the edit's own scrolling is left aside.
    QLineEdit *e = lineEdit();
    QStyleOptionFrame panel;
    panel.initFrom(e);
    panel.rect = e->rect();
    panel.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, e) : 0;
    const QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &panel, e).marginsRemoved(e->textMargins());
    const QFontMetrics fm = e->fontMetrics();
    const int margin = 2; // the edit keeps this much room beside its text
    const QRect line = contents.adjusted(margin, 0, -margin, 0);
    const int width = fm.horizontalAdvance(t);
    const Qt::Alignment align = QStyle::visualAlignment(e->layoutDirection(), e->alignment());
    int x = line.left();
    if (width < line.width()) {
        if (align & Qt::AlignRight)
            x = line.right() + 1 - width;
        else if (align & Qt::AlignHCenter)
            x = line.left() + (line.width() - width) / 2;
    }
    const int left = x + fm.horizontalAdvance(t.left(offset));
    const int right = x + fm.horizontalAdvance(t.left(offset + 1));
    const int top = contents.top() + (contents.height() - fm.height() + 1) / 2;
    const QRect r(left, top, std::max(1, right - left), fm.height());
    return QRect(e->mapToGlobal(r.topLeft()), r.size());
}

int AccessibleLineEdit::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = lineEdit()->mapFromGlobal(point);
    if (!lineEdit()->rect().contains(local))
        return -1;
    return lineEdit()->cursorPositionAt(local);
}

// The forms' fields show their whole text: nothing to scroll.
void AccessibleLineEdit::scrollToSubstring(int, int) {}

QString AccessibleLineEdit::attributes(int offset, int *startOffset, int *endOffset) const
{
    plainAttributeRun(characterCount(), offset, startOffset, endOffset);
    return QString();
}

void AccessibleLineEdit::deleteText(int startOffset, int endOffset)
{
    if (!clientMayEdit())
        return;
    clampTextRange(characterCount(), &startOffset, &endOffset);
    if (startOffset == endOffset)
        return;
    lineEdit()->setSelection(startOffset, endOffset - startOffset);
    lineEdit()->del();
}

void AccessibleLineEdit::insertText(int offset, const QString &text)
{
    if (!clientMayEdit() || text.isEmpty())
        return;
    lineEdit()->setCursorPosition(std::clamp(offset, 0, characterCount()));
    lineEdit()->insert(text);
}

void AccessibleLineEdit::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!clientMayEdit())
        return;
    clampTextRange(characterCount(), &startOffset, &endOffset);
    lineEdit()->setSelection(startOffset, endOffset - startOffset);
    lineEdit()->insert(text);
}

namespace {

QAccessibleInterface *lineEditFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("QLineEdit"))
        if (auto *edit = qobject_cast<QLineEdit *>(object))
            return new AccessibleLineEdit(edit, AccessibleLineEdit::ClientEdits::Allowed);
    return nullptr;
}

} // namespace

void installLineEditAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(lineEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ctl
