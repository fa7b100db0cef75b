#include "controls/maskedit/ui/ctlmaskedit.h"

#include "controls/common/ui/accessibletext.h"
#include "controls/common/ui/warninglook.h"
#include "controls/maskedit/appeditstate.h"
#include "accessiblemaskedit_p.h"
#include "runtime/messages.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

#include <cmath>

namespace ctl {

namespace {

// The field that is taking the focus back for an unfilled required position; other fields
// losing the focus to it must not do the same, or two of them would fight forever.
TCtlMaskEdit *s_reclaiming = nullptr;

bool clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

// An item of the context menu: the text Qt's own line edit gives the same command, in the language
// of Qt's translation, so that every text field of a window offers the same words; the field's
// own English text where no translation is loaded.
QString menuText(const char *lineEditText, const char *ownText)
{
    const QString translated = QCoreApplication::translate("QLineEdit", lineEditText);
    return translated == QLatin1StringView(lineEditText) ? QString::fromLatin1(ownText) : translated;
}

void updateModifierFlags(Qt::KeyboardModifiers m)
{
    AppEditState &st = appEditState();
    st.shift = m.testFlag(Qt::ShiftModifier);
    st.ctrl = m.testFlag(Qt::ControlModifier);
    st.alt = m.testFlag(Qt::AltModifier);
}

} // namespace

TCtlMaskEdit::TCtlMaskEdit(QWidget *parent) : QWidget(parent)
{
    installMaskEditAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(121, 21);

    connect(&m_model, &MaskEditModel::OnModified, this, &TCtlMaskEdit::OnModified);
    connect(&m_model, &MaskEditModel::OnTextChangedAt, this, &TCtlMaskEdit::OnTextChangedAt);
    // Assistive technology hears of a change before the program's handlers run.
    connect(&m_model, &MaskEditModel::OnChange, this, &TCtlMaskEdit::announceText);
    connect(&m_model, &MaskEditModel::OnChange, this, &TCtlMaskEdit::OnChange);
    connect(&m_model, &MaskEditModel::OnCursorPosChanged, this, [this] {
        stateChanged();
        announceCaret();
        Q_EMIT OnCursorPosChanged();
    });

    // Qt's flash time is a whole on-off cycle.
    m_caret.BlinkRate = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (m_caret.BlinkRate > 0)
        m_blinkTimer.setInterval(m_caret.BlinkRate);
    connect(&m_blinkTimer, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update(caretRect());
    });
    m_selectTimer.setInterval(200);
    connect(&m_selectTimer, &QTimer::timeout, this, [this] {
        if (m_drag == Drag::Selecting)
            rt::runHandler([this] { dragSelectTo(m_lastMousePos); });
    });
}

TCtlMaskEdit::~TCtlMaskEdit()
{
    if (s_reclaiming == this)
        s_reclaiming = nullptr;
}

QSize TCtlMaskEdit::sizeHint() const
{
    return QSize(121, 21);
}

QMenu *TCtlMaskEdit::popupMenu() const
{
    return m_popupMenu;
}

void TCtlMaskEdit::setPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
}

void TCtlMaskEdit::setHideSelection(bool on)
{
    m_hideSelection = on;
    update();
}

QColor TCtlMaskEdit::color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Base);
}

void TCtlMaskEdit::setColor(const QColor &c)
{
    m_color = c;
    update();
}

QColor TCtlMaskEdit::highlightBack() const
{
    return m_highlightBack.isValid() ? m_highlightBack : palette().color(QPalette::Highlight);
}

void TCtlMaskEdit::setHighlightBack(const QColor &c)
{
    m_highlightBack = c;
    update();
}

QColor TCtlMaskEdit::highlightText() const
{
    return m_highlightText.isValid() ? m_highlightText : palette().color(QPalette::HighlightedText);
}

void TCtlMaskEdit::setHighlightText(const QColor &c)
{
    m_highlightText = c;
    update();
}

void TCtlMaskEdit::setWarning(bool on)
{
    if (m_warning == on)
        return;
    m_warning = on;
    update();
}

void TCtlMaskEdit::setBevel(const TCtlBevel &bevel)
{
    m_bevel = bevel;
    ensureCaretVisible();
    update();
}

void TCtlMaskEdit::setCaret(const TCtlCaret &caret)
{
    m_caret = caret;
    if (m_caret.BlinkRate > 0)
        m_blinkTimer.setInterval(m_caret.BlinkRate);
    restartBlink();
}

QRect TCtlMaskEdit::textArea() const
{
    const int inset = m_bevel.width() + 1;
    return rect().adjusted(inset, inset, -inset, -inset);
}

const QTextLayout &TCtlMaskEdit::layout() const
{
    if (!m_layout || m_layoutText != m_model.text() || m_layout->font() != font()) {
        m_layoutText = m_model.text();
        m_layout = std::make_unique<QTextLayout>(m_layoutText, font(), const_cast<TCtlMaskEdit *>(this));
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        m_layout->setTextOption(option);
        m_layout->beginLayout();
        QTextLine line = m_layout->createLine();
        if (line.isValid())
            line.setPosition(QPointF(0, 0));
        m_layout->endLayout();
    }
    return *m_layout;
}

qreal TCtlMaskEdit::xOf(int position) const
{
    const QTextLayout &l = layout();
    if (l.lineCount() == 0)
        return 0;
    return l.lineAt(0).cursorToX(position - 1);
}

int TCtlMaskEdit::positionAt(int x) const
{
    const QTextLayout &l = layout();
    if (l.lineCount() == 0)
        return 1;
    const qreal local = x - textArea().left() + m_offset;
    return l.lineAt(0).xToCursor(local, QTextLine::CursorBetweenCharacters) + 1;
}

QRect TCtlMaskEdit::caretRect() const
{
    const QRect area = textArea();
    const int x = area.left() - m_offset + int(std::floor(xOf(m_model.caret())));
    return QRect(x, area.top(), 1, fontMetrics().height());
}

QRect TCtlMaskEdit::characterRect(int position) const
{
    const QRect area = textArea();
    const int left = int(std::floor(xOf(position)));
    const int right = int(std::ceil(xOf(position + 1)));
    return QRect(area.left() - m_offset + left, area.top(), std::max(1, right - left), fontMetrics().height());
}

void TCtlMaskEdit::announceText()
{
    // The field may have been loaded or set without a change event: what counts is what was told.
    const QString now = m_model.spokenText();
    notifyTextChanged(this, m_announcedText, now, m_model.caret() - 1);
    m_announcedText = now;
}

void TCtlMaskEdit::announceCaret()
{
    const int caret = m_model.caret() - 1;
    const int selStart = m_model.hasSelection() ? m_model.selStart() - 1 : caret;
    const int selEnd = selStart + m_model.selLength();
    if (selStart != m_announcedSelStart || selEnd != m_announcedSelEnd) {
        // Only a selection that is or was there is news.
        if (selEnd > selStart || m_announcedSelEnd > m_announcedSelStart)
            notifySelectionChanged(this, selStart, selEnd, caret);
        m_announcedSelStart = selStart;
        m_announcedSelEnd = selEnd;
    }
    if (caret != m_announcedCaret) {
        notifyCaretMoved(this, caret);
        m_announcedCaret = caret;
    }
}

void TCtlMaskEdit::ensureCaretVisible()
{
    const int width = textArea().width();
    const int x = int(std::ceil(xOf(m_model.caret())));
    if (x - m_offset < 0)
        m_offset = x;
    else if (x - m_offset > width - 1)
        m_offset = x - width + 1;
    // Never scrolled further than the text needs.
    const QTextLayout &l = layout();
    const int textWidth = l.lineCount() ? int(std::ceil(l.lineAt(0).naturalTextWidth())) : 0;
    m_offset = qBound(0, m_offset, qMax(0, textWidth + 1 - width));
}

void TCtlMaskEdit::restartBlink()
{
    m_caretOn = true;
    if (hasFocus() && m_caret.BlinkRate > 0)
        m_blinkTimer.start();
    else
        m_blinkTimer.stop();
    update();
}

void TCtlMaskEdit::stateChanged()
{
    ensureCaretVisible();
    restartBlink();
}

void TCtlMaskEdit::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor field = m_warning ? QColor::fromRgb(warningGroundRgb) : color();
    p.fillRect(rect(), field);
    m_bevel.paint(p, rect(), palette(), field);
    if (m_warning) {
        p.setPen(QColor::fromRgb(warningFrameRgb));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    const QRect area = textArea();
    p.setClipRect(area);
    p.setPen(palette().color(QPalette::Text));
    QList<QTextLayout::FormatRange> selections;
    if (m_model.hasSelection() && (hasFocus() || !m_hideSelection)) {
        QTextLayout::FormatRange range;
        range.start = m_model.selStart() - 1;
        range.length = m_model.selLength();
        range.format.setBackground(highlightBack());
        range.format.setForeground(highlightText());
        selections.append(range);
    }
    layout().draw(&p, QPointF(area.left() - m_offset, area.top()), selections);
    if (isCaretShown())
        p.fillRect(caretRect(), palette().color(QPalette::Text));
}

void TCtlMaskEdit::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensureCaretVisible();
}

void TCtlMaskEdit::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layout.reset();
        ensureCaretVisible();
        update();
    }
}

void TCtlMaskEdit::cutToClipboard()
{
    if (m_model.hasSelection())
        QGuiApplication::clipboard()->setText(m_model.cut());
}

void TCtlMaskEdit::copyToClipboard()
{
    if (m_model.hasSelection())
        QGuiApplication::clipboard()->setText(m_model.selectedText());
}

void TCtlMaskEdit::pasteFromClipboard()
{
    // Without text there is nothing to paste; in overwrite mode an empty paste would
    // otherwise still take the character at the caret.
    if (clipboardHasText())
        m_model.paste(QGuiApplication::clipboard()->text());
}

bool TCtlMaskEdit::handlesShortcut(const QKeyEvent *e)
{
    const Qt::KeyboardModifiers m = e->modifiers() & ~Qt::KeypadModifier;
    switch (e->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_Delete: case Qt::Key_Backspace: case Qt::Key_Insert:
        return true;
    case Qt::Key_X: case Qt::Key_C: case Qt::Key_V: case Qt::Key_A:
        if (m == Qt::ControlModifier)
            return true;
        break;
    default:
        break;
    }
    return (m & ~Qt::ShiftModifier) == Qt::NoModifier && !e->text().isEmpty() && e->text().at(0).isPrint();
}

bool TCtlMaskEdit::event(QEvent *event)
{
    // Keep the field's own keys away from the window's menu shortcuts.
    if (event->type() == QEvent::ShortcutOverride && handlesShortcut(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

// The field's handlers run the user's callbacks and the model's change signals; whatever they
// raise goes to the default error display, never through Qt's event dispatch.
void TCtlMaskEdit::keyPressEvent(QKeyEvent *event)
{
    rt::runHandler([&] { handleKey(event); });
}

void TCtlMaskEdit::handleKey(QKeyEvent *event)
{
    updateModifierFlags(event->modifiers());
    int key = event->key();
    if (OnKeyDown) {
        OnKeyDown(key, event->modifiers());
        if (key == 0)
            return;
    }
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool pattern = m_model.isPatternKind();
    switch (key) {
    case Qt::Key_Left:
        m_model.moveLeft(ctrl, shift);
        return;
    case Qt::Key_Right:
        m_model.moveRight(ctrl, shift);
        return;
    case Qt::Key_Up:
        if (!pattern)
            m_model.moveLeft(ctrl, shift);
        return;
    case Qt::Key_Down:
        if (!pattern)
            m_model.moveRight(ctrl, shift);
        return;
    case Qt::Key_Home:
        m_model.home(shift);
        return;
    case Qt::Key_End:
        m_model.end(shift);
        return;
    case Qt::Key_Escape:
        m_model.clearSelection();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_tabOnEnter)
            focusNextChild();
        else
            event->ignore();
        return;
    case Qt::Key_Insert:
        if (shift)
            pasteFromClipboard();
        else if (ctrl)
            copyToClipboard();
        else
            appEditState().insert = !appEditState().insert;
        return;
    case Qt::Key_Delete:
        m_model.deleteKey();
        return;
    case Qt::Key_Backspace:
        m_model.backspace();
        return;
    default:
        break;
    }
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (ctrl && !alt) {
        switch (key) {
        case Qt::Key_X: cutToClipboard(); return;
        case Qt::Key_C: copyToClipboard(); return;
        case Qt::Key_V: pasteFromClipboard(); return;
        case Qt::Key_A: m_model.selectAll(); return;
        default: break;
        }
    }
    const QString text = event->text();
    // Ctrl or Alt chords are commands for someone else, not characters.
    if (text.isEmpty() || ctrl != alt) {
        event->ignore();
        return;
    }
    for (QChar c : text)
        m_model.typeChar(c);
}

void TCtlMaskEdit::keyReleaseEvent(QKeyEvent *event)
{
    updateModifierFlags(event->modifiers());
    event->ignore();
    if (OnKeyUp)
        rt::runHandler([&] {
            int key = event->key();
            OnKeyUp(key, event->modifiers());
        });
}

void TCtlMaskEdit::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept();
    rt::runHandler([&] {
        for (QChar c : event->commitString())
            m_model.typeChar(c);
    });
}

void TCtlMaskEdit::mousePressEvent(QMouseEvent *event)
{
    rt::runHandler([&] { handleMousePress(event); });
}

void TCtlMaskEdit::handleMousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    m_lastMousePos = pos;
    // A press on a selected character starts moving the selection.
    const QTextLayout &l = layout();
    if (m_model.hasSelection() && l.lineCount() > 0) {
        const qreal local = pos.x() - textArea().left() + m_offset;
        const int index = l.lineAt(0).xToCursor(local, QTextLine::CursorOnCharacter);
        if (local >= 0 && local < l.lineAt(0).naturalTextWidth() && m_model.isSelected(index + 1)) {
            m_drag = Drag::Moving;
            return;
        }
    }
    m_drag = Drag::Selecting;
    m_model.setCaret(positionAt(pos.x()));
    m_selectTimer.start();
}

void TCtlMaskEdit::dragSelectTo(const QPoint &pos)
{
    // Outside the text area the selection grows by one character per update, so that the
    // repeat timer scrolls the text steadily.
    const QRect area = textArea();
    int target = positionAt(pos.x());
    if (pos.x() > area.right())
        target = qMin(target, positionAt(area.right()) + 1);
    else if (pos.x() < area.left())
        target = qMax(target, positionAt(area.left()) - 1);
    m_model.moveCaret(target, true);
}

void TCtlMaskEdit::mouseMoveEvent(QMouseEvent *event)
{
    m_lastMousePos = event->position().toPoint();
    if (m_drag == Drag::Selecting && event->buttons().testFlag(Qt::LeftButton))
        rt::runHandler([this] { dragSelectTo(m_lastMousePos); });
}

void TCtlMaskEdit::mouseReleaseEvent(QMouseEvent *event)
{
    rt::runHandler([&] { handleMouseRelease(event); });
}

void TCtlMaskEdit::handleMouseRelease(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        showContextMenu(mapToGlobal(pos));
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_selectTimer.stop();
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag == Drag::Moving) {
        const int target = positionAt(pos.x());
        if (!m_model.moveSelectionTo(target))
            m_model.setCaret(target); // released on the selection: a plain click
    } else if (drag == Drag::Selecting) {
        dragSelectTo(pos);
    }
}

void TCtlMaskEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_drag = Drag::None;
    m_selectTimer.stop();
    rt::runHandler([&] { m_model.selectWordAt(positionAt(event->position().toPoint().x())); });
}

QMenu *TCtlMaskEdit::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const bool selection = m_model.hasSelection();
    const bool ro = m_model.readOnly();
    QAction *a =
        menu->addAction(menuText("&Undo", "&Undo"), this, [this] { rt::runHandler([this] { m_model.undo(); }); });
    a->setEnabled(m_model.canUndo());
    menu->addSeparator();
    a = menu->addAction(menuText("Cu&t", "&Cut"), this, [this] { rt::runHandler([this] { cutToClipboard(); }); });
    a->setEnabled(selection && !ro);
    a = menu->addAction(menuText("&Copy", "&Copy"), this, [this] { copyToClipboard(); });
    a->setEnabled(selection);
    a = menu->addAction(menuText("&Paste", "&Paste"), this,
                        [this] { rt::runHandler([this] { pasteFromClipboard(); }); });
    a->setEnabled(clipboardHasText() && !ro);
    a = menu->addAction(menuText("Delete", "&Delete"), this,
                        [this] { rt::runHandler([this] { m_model.deleteSelection(); }); });
    a->setEnabled(selection);
    menu->addSeparator();
    a = menu->addAction(menuText("Select All", "Select all"), this,
                        [this] { rt::runHandler([this] { m_model.selectAll(); }); });
    a->setEnabled(!m_model.text().isEmpty());
    return menu;
}

void TCtlMaskEdit::showContextMenu(const QPoint &globalPos)
{
    if (OnContextPopup) {
        bool handled = false;
        OnContextPopup(mapFromGlobal(globalPos), handled);
        if (handled)
            return;
    }
    if (m_popupMenu) {
        m_popupMenu->popup(globalPos);
        return;
    }
    QMenu *menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void TCtlMaskEdit::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    // The mouse's menu opens on the right button's release; only the keyboard's comes here.
    if (event->reason() != QContextMenuEvent::Mouse)
        rt::runHandler([this] { showContextMenu(mapToGlobal(caretRect().bottomLeft())); });
}

void TCtlMaskEdit::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (s_reclaiming == this)
        s_reclaiming = nullptr;
    restartBlink();
    rt::runHandler([&] {
        if (m_autoSelect && event->reason() != Qt::MouseFocusReason)
            m_model.selectAll();
        Q_EMIT OnEnter();
    });
}

void TCtlMaskEdit::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_blinkTimer.stop();
    m_caretOn = false;
    m_selectTimer.stop();
    m_drag = Drag::None;
    update();
    // Our own menu or the window going to the background is not leaving the field.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    rt::runHandler([this] { Q_EMIT OnExit(); });
    rt::runHandler([this] {
        const int required = m_model.firstUnfilledRequired();
        if (required <= 0 || s_reclaiming)
            return;
        s_reclaiming = this;
        QPointer<TCtlMaskEdit> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self)
                self->setFocus(Qt::OtherFocusReason);
            s_reclaiming = nullptr;
        });
        m_model.select(required, 1);
    });
}

} // namespace ctl
