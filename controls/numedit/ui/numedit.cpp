#include "controls/numedit/ui/numedit.h"

#include "accessiblenumedit_p.h"
#include "runtime/messages.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

namespace ctl {

namespace {

// A menu, the menu bar or another window taking the focus for a while: the field is
// neither left nor entered.
bool isPassingFocusChange(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason
        || reason == Qt::MenuBarFocusReason;
}

} // namespace

TNumEdit::TNumEdit(QWidget *parent) : QLineEdit(parent)
{
    installNumEditAccessibility();
    // Text may enter only through the filter: no dropping, no middle-button paste.
    setAcceptDrops(false);
    setDragEnabled(false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    QLineEdit::setText(m_model.text());
    setAlignmentStyle(TAlignment::taRightJustify);
    resize(100, sizeHint().height());
}

void TNumEdit::pull()
{
    const int cur = cursorPosition();
    int anchor = cur;
    if (hasSelectedText()) {
        const int start = selectionStart();
        anchor = cur == start ? start + selectionLength() : start;
    }
    m_model.setReadOnly(isReadOnly());
    m_model.sync(text(), anchor, cur);
}

void TNumEdit::push()
{
    if (text() != m_model.text())
        QLineEdit::setText(m_model.text());
    if (m_model.hasSelection())
        setSelection(m_model.anchor(), m_model.caret() - m_model.anchor());
    else
        setCursorPosition(m_model.caret());
}

void TNumEdit::beep()
{
    QApplication::beep();
    Q_EMIT beeped();
}

void TNumEdit::setDecimals(int decimals)
{
    pull();
    m_model.setDecimals(decimals);
    push();
}

void TNumEdit::setNumberFormat(TNumberFormat format)
{
    pull();
    m_model.setNumberFormat(format);
    push();
}

void TNumEdit::setAlignmentStyle(TAlignment alignment)
{
    m_alignment = alignment;
    Qt::Alignment h = Qt::AlignRight;
    if (alignment == TAlignment::taLeftJustify)
        h = Qt::AlignLeft;
    else if (alignment == TAlignment::taCenter)
        h = Qt::AlignHCenter;
    setAlignment(h | Qt::AlignVCenter);
}

long double TNumEdit::value() const
{
    return NumEditModel::valueOf(text());
}

void TNumEdit::setValue(long double value)
{
    pull();
    m_model.setValue(value);
    push();
}

void TNumEdit::setNumMaxLength(int maxLength)
{
    m_model.setMaxLength(maxLength);
    setMaxLength(maxLength > 0 ? maxLength : 32767);
}

QColor TNumEdit::color() const
{
    return m_color.isValid() ? m_color : QApplication::palette(this).color(QPalette::Active, QPalette::Base);
}

void TNumEdit::setColor(const QColor &color)
{
    m_color = color;
    applyColor();
}

QColor TNumEdit::disabledColor() const
{
    return m_disabledColor.isValid() ? m_disabledColor
                                     : QApplication::palette(this).color(QPalette::Active, QPalette::Button);
}

void TNumEdit::setDisabledColor(const QColor &color)
{
    m_disabledColor = color;
    applyColor();
}

void TNumEdit::applyColor()
{
    if (!m_color.isValid() && !m_disabledColor.isValid())
        return;
    QPalette pal = palette();
    const QColor c = isEnabled() ? color() : disabledColor();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, c);
    setPalette(pal);
}

void TNumEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        applyColor();
}

void TNumEdit::typeText(const QString &text)
{
    bool refused = false;
    for (QChar ch : text)
        if (!m_model.typeChar(ch))
            refused = true;
    push();
    if (refused)
        beep();
}

void TNumEdit::copyToClipboard()
{
    QGuiApplication::clipboard()->setText(m_model.copyText());
}

void TNumEdit::cutToClipboard()
{
    QGuiApplication::clipboard()->setText(m_model.cut());
    push();
}

void TNumEdit::pasteFromClipboard()
{
    const int refused = m_model.paste(QGuiApplication::clipboard()->text());
    push();
    // One beep stands for all refused characters: they would sound as one anyway.
    if (refused > 0)
        beep();
}

void TNumEdit::keyPressEvent(QKeyEvent *event)
{
    rt::runHandler([&] { handleKey(event); });
}

void TNumEdit::handleKey(QKeyEvent *event)
{
    pull();
    const int key = event->key();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    // Backspace and Delete follow the rules whatever the modifiers: Shift+Delete is not Cut.
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        if (isReadOnly()) {
            event->ignore();
            return;
        }
        const bool ok = key == Qt::Key_Backspace ? m_model.keyBackspace() : m_model.keyDelete();
        push();
        // The Backspace character that follows the key is refused by the filter.
        if (!ok || key == Qt::Key_Backspace)
            beep();
        return;
    }
    // Ctrl+C, Ctrl+X and Ctrl+V, by their key or by the control character a layout gives,
    // and Ctrl+Insert, Shift+Insert.
    const QString t = event->text();
    const char16_t control = t.size() == 1 ? t.front().unicode() : 0;
    const bool insertKey = key == Qt::Key_Insert;
    if (event->matches(QKeySequence::Copy) || control == 3 || (insertKey && ctrl)) {
        copyToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut) || control == 24) {
        if (isReadOnly())
            copyToClipboard();
        else
            cutToClipboard();
        return;
    }
    if (event->matches(QKeySequence::Paste) || control == 22 || (insertKey && shift)) {
        if (!isReadOnly())
            pasteFromClipboard();
        return;
    }
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        beep();
        event->ignore(); // still there for a dialog's default and cancel buttons
        return;
    }
    if (!t.isEmpty()) {
        typeText(t);
        return;
    }
    // Keys without a character (function keys, modifiers) edit nothing here.
    event->ignore();
}

void TNumEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    rt::runHandler([&] {
        pull();
        if (!event->commitString().isEmpty())
            typeText(event->commitString());
    });
    event->accept();
}

void TNumEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    // A popup closing or the window coming back is not entering the field.
    if (isPassingFocusChange(reason))
        return;
    if (!m_autoSelect)
        return;
    selectAll();
    // The press that brought the focus would otherwise only place the caret.
    m_selectOnClick = reason == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
}

void TNumEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (isPassingFocusChange(reason))
        return;
    m_selectOnClick = false;
    // A text that does not convert, or an error in OnExit, is shown once the focus has
    // settled; the text stays as it was and OnExit does not run for this exit.
    rt::runHandler([this] { exitProcessing(); });
}

void TNumEdit::exitProcessing()
{
    pull();
    const NumEditModel::ExitResult result = m_model.exitProcessing();
    push();
    if (result == NumEditModel::ExitResult::OutOfRange) {
        if (OnInvalidEntry) {
            OnInvalidEntry();
            return;
        }
        m_model.clampToRange();
        push();
        beep();
        // Taken back once the focus change in progress has finished.
        if (isEnabled() && focusPolicy() != Qt::NoFocus)
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (isVisible())
                        setFocus(Qt::OtherFocusReason);
                },
                Qt::QueuedConnection);
        return;
    }
    if (OnExit)
        OnExit();
}

void TNumEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
    if (m_selectOnClick && event->button() == Qt::LeftButton) {
        m_selectOnClick = false;
        selectAll();
    }
}

void TNumEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button would paste the selection clipboard past the filter.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

QMenu *TNumEdit::createContextMenu()
{
    pull();
    auto *menu = new QMenu(this);
    const bool ro = isReadOnly();
    const bool sel = m_model.hasSelection();

    QAction *a = menu->addAction(QString::fromUtf16(u"&Visszavonás"), this, [this] {
        rt::runHandler([this] {
            pull();
            m_model.undo();
            push();
        });
    });
    a->setObjectName(QStringLiteral("undo"));
    a->setEnabled(!ro && m_model.canUndo());
    menu->addSeparator();

    a = menu->addAction(QString::fromUtf16(u"&Kivágás"), this, [this] {
        rt::runHandler([this] {
            pull();
            cutToClipboard();
        });
    });
    a->setObjectName(QStringLiteral("cut"));
    a->setEnabled(!ro && sel);

    a = menu->addAction(QString::fromUtf16(u"&Másolás"), this, [this] {
        rt::runHandler([this] {
            pull();
            copyToClipboard();
        });
    });
    a->setObjectName(QStringLiteral("copy"));
    a->setEnabled(sel);

    a = menu->addAction(QString::fromUtf16(u"&Beillesztés"), this, [this] {
        rt::runHandler([this] {
            pull();
            pasteFromClipboard();
        });
    });
    a->setObjectName(QStringLiteral("paste"));
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    a->setEnabled(!ro && mime && mime->hasText());

    // Delete acts on the text directly, as the edit control's own command does.
    a = menu->addAction(QString::fromUtf16(u"&Törlés"), this, [this] {
        rt::runHandler([this] {
            pull();
            m_model.deleteSelection();
            push();
        });
    });
    a->setObjectName(QStringLiteral("delete"));
    a->setEnabled(!ro && sel);
    menu->addSeparator();

    a = menu->addAction(QString::fromUtf16(u"Az össze&s kijelölése"), this, [this] { selectAll(); });
    a->setObjectName(QStringLiteral("selectAll"));
    a->setEnabled(!text().isEmpty() && m_model.selLength() < text().size());
    return menu;
}

void TNumEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace ctl
