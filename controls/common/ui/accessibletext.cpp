#include "controls/common/ui/accessibletext.h"

#include <QTextBoundaryFinder>
#include <QWidget>

#include <algorithm>

namespace ctl {

void notifyTextChanged(QObject *object, const QString &before, const QString &after, int cursor)
{
    if (!QAccessible::isActive() || before == after)
        return;
    // The common start and end of both texts frame the one range that changed.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    const QString removed = before.mid(head, before.size() - head - tail);
    const QString inserted = after.mid(head, after.size() - head - tail);
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent event(object, int(head), inserted);
        event.setCursorPosition(cursor);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(object, int(head), removed);
        event.setCursorPosition(cursor);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(object, int(head), removed, inserted);
        event.setCursorPosition(cursor);
        QAccessible::updateAccessibility(&event);
    }
}

void notifyCaretMoved(QObject *object, int cursor)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent event(object, cursor);
    QAccessible::updateAccessibility(&event);
}

void notifySelectionChanged(QObject *object, int start, int end, int cursor)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextSelectionEvent event(object, start, end);
    event.setCursorPosition(cursor);
    QAccessible::updateAccessibility(&event);
}

namespace {

// The units of the text for a boundary kind, as consecutive ranges [first, second) that cover it.
QList<std::pair<int, int>> textUnits(const QString &text, QAccessible::TextBoundaryType boundary)
{
    QList<std::pair<int, int>> units;
    const int length = int(text.size());
    auto finderUnits = [&](QTextBoundaryFinder::BoundaryType type) {
        QTextBoundaryFinder finder(type, text);
        int from = 0;
        // Each step moves forward; the finder ends at the text's end or says -1.
        for (qsizetype next = finder.toNextBoundary(); next > from && next <= length; next = finder.toNextBoundary()) {
            units.append({from, int(next)});
            from = int(next);
        }
        if (from < length)
            units.append({from, length});
    };
    switch (boundary) {
    case QAccessible::CharBoundary:
        finderUnits(QTextBoundaryFinder::Grapheme);
        break;
    case QAccessible::WordBoundary:
        finderUnits(QTextBoundaryFinder::Word);
        break;
    case QAccessible::SentenceBoundary:
        finderUnits(QTextBoundaryFinder::Sentence);
        break;
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
        int from = 0;
        while (from < length) {
            const qsizetype nl = text.indexOf(QLatin1Char('\n'), from);
            const int to = nl < 0 ? length : int(nl) + 1;
            units.append({from, to});
            from = to;
        }
        break;
    }
    case QAccessible::NoBoundary:
    default:
        units.append({0, length});
        break;
    }
    return units;
}

} // namespace

QString textAround(const QString &text, int offset, QAccessible::TextBoundaryType boundary, TextSide side,
                   int *start, int *end)
{
    *start = *end = -1;
    const int length = int(text.size());
    if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length || length == 0)
        return QString();
    const QList<std::pair<int, int>> units = textUnits(text, boundary);
    // The unit holding the offset; at the very end none holds it, the one before is the last.
    qsizetype at = units.size();
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (offset >= units[i].first && offset < units[i].second) {
            at = i;
            break;
        }
    }
    qsizetype wanted = at;
    if (side == TextSide::Before)
        wanted = at - 1;
    else if (side == TextSide::After)
        wanted = at + 1;
    if (wanted < 0 || wanted >= units.size()) {
        if (offset == length && side != TextSide::Before)
            *start = *end = length;
        return QString();
    }
    *start = units[wanted].first;
    *end = units[wanted].second;
    return text.mid(*start, *end - *start);
}

void clampTextRange(int length, int *start, int *end)
{
    if (*end < 0 || *end > length)
        *end = length;
    *start = std::clamp(*start, 0, *end);
}

AccessibleReadOnlyText::AccessibleReadOnlyText(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void *AccessibleReadOnlyText::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleReadOnlyText::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
}

void AccessibleReadOnlyText::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

int AccessibleReadOnlyText::selectionCount() const
{
    return 0;
}

// Nothing here can be selected: the selection requests change nothing.
void AccessibleReadOnlyText::addSelection(int, int) {}
void AccessibleReadOnlyText::removeSelection(int) {}
void AccessibleReadOnlyText::setSelection(int, int, int) {}

int AccessibleReadOnlyText::cursorPosition() const
{
    return std::clamp(m_cursor, 0, characterCount());
}

void AccessibleReadOnlyText::setCursorPosition(int position)
{
    const int clamped = std::clamp(position, 0, characterCount());
    if (clamped == m_cursor)
        return;
    m_cursor = clamped;
    scrollToSubstring(m_cursor, m_cursor);
    notifyCaretMoved(object(), m_cursor);
}

QString AccessibleReadOnlyText::text(int startOffset, int endOffset) const
{
    const QString t = plainText();
    clampTextRange(int(t.size()), &startOffset, &endOffset);
    return t.mid(startOffset, endOffset - startOffset);
}

QString AccessibleReadOnlyText::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                 int *startOffset, int *endOffset) const
{
    return textAround(plainText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::Before,
                      startOffset, endOffset);
}

QString AccessibleReadOnlyText::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                int *startOffset, int *endOffset) const
{
    return textAround(plainText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::After,
                      startOffset, endOffset);
}

QString AccessibleReadOnlyText::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int *startOffset, int *endOffset) const
{
    return textAround(plainText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::At,
                      startOffset, endOffset);
}

int AccessibleReadOnlyText::characterCount() const
{
    return int(plainText().size());
}

QRect AccessibleReadOnlyText::characterRect(int) const
{
    return QRect();
}

int AccessibleReadOnlyText::offsetAtPoint(const QPoint &) const
{
    return -1;
}

void AccessibleReadOnlyText::scrollToSubstring(int, int) {}

QString AccessibleReadOnlyText::attributes(int offset, int *startOffset, int *endOffset) const
{
    plainAttributeRun(characterCount(), offset, startOffset, endOffset);
    return QString();
}

void plainAttributeRun(int length, int offset, int *start, int *end)
{
    if (offset >= 0 && offset < length) {
        *start = 0;
        *end = length;
    } else {
        *start = *end = std::clamp(offset, 0, std::max(0, length));
    }
}

} // namespace ctl
