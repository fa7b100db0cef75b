#include "accessiblemaskedit_p.h"

#include "controls/common/ui/accessibletext.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "runtime/messages.h"

#include <QAccessibleWidget>

namespace ctl {

using namespace Qt::StringLiterals;

namespace {

// The masked field as assistive technology sees it: an editable text whose value is the text as
// read aloud (blanks as spaces, so a listener hears what was typed rather than the placeholders),
// of the displayed text's length, so that offsets are the same positions; the description says
// what the mask asks for. Offsets count from 0, the model's positions from 1.
// Edits asked for by a client go through the model like the user's, so the mask still decides.
class AccessibleMaskEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleMaskEdit(TCtlMaskEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    TCtlMaskEdit *edit() const { return static_cast<TCtlMaskEdit *>(object()); }
    MaskEditModel &model() const { return edit()->model(); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return model().spokenText();
        if (t == QAccessible::Description) {
            const QString own = QAccessibleWidget::text(t);
            const QString form = model().expectedForm();
            if (form.isEmpty())
                return own;
            // A warning ends with its full stop; the block name does not.
            return own.isEmpty() ? form : own + (own.endsWith(u'.') ? u" "_s : u"; "_s) + form;
        }
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        // A text the mask refuses leaves the field as it was.
        if (!model().readOnly())
            rt::runHandler([&] { model().setText(text); });
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !model().readOnly();
        s.readOnly = model().readOnly();
        s.selectableText = true;
        return s;
    }

    // Selection: at most one, the model's.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && model().hasSelection()) {
            *startOffset = model().selStart() - 1;
            *endOffset = *startOffset + model().selLength();
        }
    }
    int selectionCount() const override { return model().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            rt::runHandler([&] { model().clearSelection(); });
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        clampTextRange(characterCount(), &startOffset, &endOffset);
        rt::runHandler([&] { model().select(startOffset + 1, endOffset - startOffset); });
    }

    int cursorPosition() const override { return model().caret() - 1; }
    void setCursorPosition(int position) override
    {
        rt::runHandler([&] { model().setCaret(std::clamp(position, 0, characterCount()) + 1); });
    }

    QString text(int startOffset, int endOffset) const override
    {
        const QString t = model().spokenText();
        clampTextRange(int(t.size()), &startOffset, &endOffset);
        return t.mid(startOffset, endOffset - startOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override
    {
        return textAround(model().spokenText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::Before,
                          startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override
    {
        return textAround(model().spokenText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::After,
                          startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override
    {
        return textAround(model().spokenText(), offset == -2 ? cursorPosition() : offset, boundaryType, TextSide::At,
                          startOffset, endOffset);
    }
    int characterCount() const override { return int(model().spokenText().size()); }

    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return QRect();
        const QRect r = edit()->characterRect(offset + 1);
        return QRect(edit()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = edit()->mapFromGlobal(point);
        if (!edit()->rect().contains(local))
            return -1;
        return std::min(edit()->positionAt(local.x()) - 1, characterCount());
    }
    // The form's fields show their whole text: there is nothing to scroll.
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        plainAttributeRun(characterCount(), offset, startOffset, endOffset);
        return QString();
    }

    // Editing: the range is selected and replaced as a paste would replace it; Delete blanks.
    void deleteText(int startOffset, int endOffset) override
    {
        clampTextRange(characterCount(), &startOffset, &endOffset);
        if (startOffset == endOffset)
            return;
        rt::runHandler([&] {
            model().select(startOffset + 1, endOffset - startOffset);
            model().deleteKey();
        });
    }
    void insertText(int offset, const QString &text) override
    {
        if (text.isEmpty())
            return;
        rt::runHandler([&] {
            model().setCaret(std::clamp(offset, 0, characterCount()) + 1);
            model().paste(text);
        });
    }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (text.isEmpty()) {
            deleteText(startOffset, endOffset);
            return;
        }
        clampTextRange(characterCount(), &startOffset, &endOffset);
        rt::runHandler([&] {
            model().select(startOffset + 1, endOffset - startOffset);
            model().paste(text);
        });
    }
};

QAccessibleInterface *maskEditFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TCtlMaskEdit::staticMetaObject.className()))
        if (auto *edit = qobject_cast<TCtlMaskEdit *>(object))
            return new AccessibleMaskEdit(edit);
    return nullptr;
}

} // namespace

void installMaskEditAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(maskEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ctl
