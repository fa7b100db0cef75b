#include "accessiblerichtext_p.h"

#include "controls/common/ui/accessibletext.h"
#include "controls/richtext/ui/tctlrichlabel.h"
#include "controls/richtext/ui/tctlrichscrollbox.h"
#include "controls/richtext/ui/trtflabel.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace rtf {

namespace {

// The document's plain text; a caption's closing paragraph mark is no part of what it says.
QString plainTextOf(const QTextDocument &document)
{
    QString s = document.toPlainText();
    while (s.endsWith(QLatin1Char('\n')))
        s.chop(1);
    return s;
}

// Where the character at a position stands in the document as last laid out, in its coordinates.
QRect characterRectIn(QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    QTextLayout *layout = block.isValid() ? block.layout() : nullptr;
    if (!layout)
        return QRect();
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return QRect();
    const QPointF origin = document.documentLayout()->blockBoundingRect(block).topLeft();
    const qreal left = line.cursorToX(inBlock);
    const qreal right = line.cursorToX(inBlock + 1);
    return QRectF(origin.x() + left, origin.y() + line.y(), std::max<qreal>(1, right - left), line.height())
        .toAlignedRect();
}

// A rich text as a read-only text: a caption is a static text named by what it says; the viewer
// reads as a multi-line read-only text. `origin` says where the document's (0, 0) stands in the
// widget.
class AccessibleRichText : public ctl::AccessibleReadOnlyText
{
public:
    AccessibleRichText(QWidget *widget, QAccessible::Role role) : AccessibleReadOnlyText(widget, role) {}

    virtual QTextDocument &document() const = 0;
    virtual QPoint origin() const = 0;

    QString plainText() const override { return plainTextOf(document()); }

    QString text(QAccessible::Text t) const override
    {
        QString s = AccessibleReadOnlyText::text(t);
        if (t == QAccessible::Name && s.isEmpty() && role() == QAccessible::StaticText)
            s = plainText();
        return s;
    }
    using AccessibleReadOnlyText::text;

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        const QRect r = characterRectIn(document(), offset).translated(origin());
        if (r.isNull())
            return QRect();
        return QRect(widget()->mapToGlobal(r.topLeft()), r.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = widget()->mapFromGlobal(point);
        if (!widget()->rect().contains(local))
            return -1;
        const int hit = document().documentLayout()->hitTest(local - origin(), Qt::ExactHit);
        return hit < characterCount() ? hit : -1;
    }
};

class AccessibleRTFLabel : public AccessibleRichText
{
public:
    explicit AccessibleRTFLabel(TRTFLabel *label) : AccessibleRichText(label, QAccessible::StaticText) {}
    QTextDocument &document() const override { return static_cast<TRTFLabel *>(object())->document(); }
    // Drawn from one pixel inside the label's corner.
    QPoint origin() const override { return QPoint(1, 1); }
};

class AccessibleRichLabel : public AccessibleRichText
{
public:
    explicit AccessibleRichLabel(TCtlRichLabel *label) : AccessibleRichText(label, QAccessible::StaticText) {}
    TCtlRichLabel *label() const { return static_cast<TCtlRichLabel *>(object()); }
    QTextDocument &document() const override { return label()->model().document(); }
    QPoint origin() const override { return label()->model().textArea(label()->size()).topLeft(); }
};

// The laid-out line holding `offset` of a text of `count` characters, its paragraph mark
// included: false outside the text.
bool lineRange(const TCtlRichScrollBox *box, const QString &text, int offset, int *start, int *end)
{
    int s = 0, length = 0;
    if (offset < 0 || offset >= text.size() || !box->lineAt(offset, &s, &length))
        return false;
    s = std::clamp(s, 0, int(text.size()));
    int e = std::clamp(s + length, s, int(text.size()));
    if (e < text.size() && text.at(e) == QLatin1Char('\n'))
        ++e;
    if (e <= offset) // a paragraph mark alone
        e = offset + 1;
    *start = s;
    *end = e;
    return true;
}

// The viewer scrolls to show where a client reads: the caret is where reading goes on.
class AccessibleRichScrollBox : public AccessibleRichText
{
public:
    explicit AccessibleRichScrollBox(TCtlRichScrollBox *box) : AccessibleRichText(box, QAccessible::EditableText) {}
    TCtlRichScrollBox *box() const { return static_cast<TCtlRichScrollBox *>(object()); }
    QTextDocument &document() const override { return box()->model().document(); }
    QPoint origin() const override
    {
        const QScrollBar *h = box()->horizontalBar();
        const QScrollBar *v = box()->verticalBar();
        return box()->textArea().topLeft() - QPoint(h->isVisibleTo(box()) ? h->value() : 0,
                                                    v->isVisibleTo(box()) ? v->value() : 0);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = AccessibleRichText::state();
        s.multiLine = true;
        return s;
    }

    // The caret is the box's own, which the keys move and the box shows.
    int cursorPosition() const override { return std::min(box()->caretPosition(), characterCount()); }
    void setCursorPosition(int position) override { box()->setCaretPosition(std::clamp(position, 0, characterCount())); }

    // Lines are those laid out on the screen, each with the paragraph mark that ends it; every
    // other unit is the plain text's.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return AccessibleRichText::textAtOffset(offset, boundary, start, end);
        return lineText(offset, ctl::TextSide::At, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return AccessibleRichText::textBeforeOffset(offset, boundary, start, end);
        return lineText(offset, ctl::TextSide::Before, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return AccessibleRichText::textAfterOffset(offset, boundary, start, end);
        return lineText(offset, ctl::TextSide::After, start, end);
    }

    QString lineText(int offset, ctl::TextSide side, int *start, int *end) const
    {
        const QString text = plainText();
        if (offset == -2)
            offset = cursorPosition();
        if (offset == -1)
            offset = int(text.size());
        *start = *end = -1;
        if (offset < 0 || offset > text.size())
            return QString();
        int s = 0, e = 0;
        if (!lineRange(box(), text, std::min(offset, int(text.size()) - 1), &s, &e)) {
            *start = *end = int(text.size());
            return QString();
        }
        if (side == ctl::TextSide::Before && !(s > 0 && lineRange(box(), text, s - 1, &s, &e)))
            return QString();
        if (side == ctl::TextSide::After && !(e < text.size() && lineRange(box(), text, e, &s, &e)))
            return QString();
        *start = s;
        *end = e;
        return text.mid(s, e - s);
    }

    void scrollToSubstring(int startIndex, int) override
    {
        if (startIndex < 0 || startIndex >= characterCount())
            return;
        const QRect r = characterRectIn(document(), startIndex);
        QScrollBar *v = box()->verticalBar();
        if (r.isNull() || !v->isVisibleTo(box()))
            return;
        const int height = box()->textArea().height();
        if (r.top() < v->value() || r.bottom() >= v->value() + height)
            v->setValue(r.top());
    }
};

QAccessibleInterface *richTextFactory(const QString &className, QObject *object)
{
    // Most derived first: the scroll box is a rich label too.
    if (className == QLatin1StringView(TCtlRichScrollBox::staticMetaObject.className())) {
        if (auto *box = qobject_cast<TCtlRichScrollBox *>(object))
            return new AccessibleRichScrollBox(box);
    } else if (className == QLatin1StringView(TCtlRichLabel::staticMetaObject.className())) {
        if (auto *label = qobject_cast<TCtlRichLabel *>(object))
            return new AccessibleRichLabel(label);
    } else if (className == QLatin1StringView(TRTFLabel::staticMetaObject.className())) {
        if (auto *label = qobject_cast<TRTFLabel *>(object))
            return new AccessibleRTFLabel(label);
    }
    return nullptr;
}

} // namespace

void installRichTextAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(richTextFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace rtf
