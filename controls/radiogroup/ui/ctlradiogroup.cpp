#include "controls/radiogroup/ui/ctlradiogroup.h"

#include "accessibleradiogroup_p.h"
#include "controls/common/ui/warninglook.h"
#include "runtime/messages.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace ctl {

TCtlRadioGroup::TCtlRadioGroup(QWidget *parent) : QWidget(parent)
{
    installRadioGroupAccessibility();
    setFocusPolicy(Qt::NoFocus);
    resize(185, 105);
}

TCtlRadioGroup::~TCtlRadioGroup() = default;

TCtlRadioGroupButton *TCtlRadioGroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void TCtlRadioGroup::setItemIndex(int index)
{
    m_model.setItemIndex(index);
    updateChecks();
}

void TCtlRadioGroup::setItems(const QStringList &items)
{
    m_model.setItems(items);
    syncButtons();
}

void TCtlRadioGroup::setColumns(int columns)
{
    m_model.setColumns(columns);
    doLayout();
}

void TCtlRadioGroup::setItemHeight(int height)
{
    m_model.setItemHeight(height);
    doLayout();
}

void TCtlRadioGroup::setItemOffset(int offset)
{
    m_model.setItemOffset(offset);
    doLayout();
}

void TCtlRadioGroup::setCaption(const QString &caption)
{
    m_caption = caption;
    grabAccelerator();
    doLayout();
    update();
    // The caption is the group's name unless it was given another.
    if (QAccessible::isActive() && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TCtlRadioGroup::setAlignment(TCtlGroupCaptionAlign alignment)
{
    m_model.setAlignment(alignment);
    doLayout();
    update();
}

void TCtlRadioGroup::setWarning(bool on)
{
    if (m_warning == on)
        return;
    m_warning = on;
    update();
}

void TCtlRadioGroup::setCaptionOffset(int offset)
{
    m_captionOffset = offset;
    update();
}

void TCtlRadioGroup::setCaptionFont(const QFont &font)
{
    m_captionFont = font;
    doLayout();
    update();
}

void TCtlRadioGroup::setCaptionParentFont(bool parentFont)
{
    if (parentFont)
        m_captionFont.reset();
    else if (!m_captionFont)
        m_captionFont = font();
    doLayout();
    update();
}

void TCtlRadioGroup::setGlyphSize(int size)
{
    m_glyphSize = size;
    for (auto *b : m_buttons)
        b->update();
}

void TCtlRadioGroup::setSpacing(int spacing)
{
    m_spacing = spacing;
    for (auto *b : m_buttons)
        b->update();
}

void TCtlRadioGroup::setShowAccelChar(bool show)
{
    m_showAccelChar = show;
    grabAccelerator();
    update();
}

void TCtlRadioGroup::grabAccelerator()
{
    if (m_shortcutId) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_showAccelChar)
        return;
    const QKeySequence key = QKeySequence::mnemonic(m_caption);
    if (!key.isEmpty())
        m_shortcutId = grabShortcut(key);
}

void TCtlRadioGroup::syncButtons()
{
    while (m_buttons.size() > m_model.count()) {
        TCtlRadioGroupButton *gone = m_buttons.takeLast();
        if (gone->hasFocus()) {
            // The focus must not vanish with the button.
            if (focusPolicy() != Qt::NoFocus)
                setFocus(Qt::OtherFocusReason);
            else if (parentWidget())
                parentWidget()->setFocus(Qt::OtherFocusReason);
        }
        delete gone;
    }
    while (m_buttons.size() < m_model.count()) {
        auto *b = new TCtlRadioGroupButton(this);
        b->hide();
        m_buttons.append(b);
    }
    for (auto *b : m_buttons)
        b->update();
    updateChecks();
    doLayout();
}

void TCtlRadioGroup::updateChecks()
{
    for (auto *b : m_buttons)
        b->update();
    announceChecks();
}

void TCtlRadioGroup::announceChecks()
{
    const int now = m_model.checkedIndex();
    if (now == m_announcedChecked)
        return;
    const int before = m_announcedChecked;
    m_announcedChecked = now;
    if (!QAccessible::isActive())
        return;
    QAccessible::State checked;
    checked.checked = true;
    for (TCtlRadioGroupButton *b : {button(before), button(now)}) {
        if (b) {
            QAccessibleStateChangeEvent event(b, checked);
            QAccessible::updateAccessibility(&event);
        }
    }
}

void TCtlRadioGroup::doLayout()
{
    const QList<QRect> rects = m_model.layout(size(), groupCaptionHeight(CaptionFont(), m_caption));
    for (int i = 0; i < m_buttons.size() && i < rects.size(); ++i) {
        m_buttons[i]->setGeometry(rects[i]);
        m_buttons[i]->show();
    }
}

void TCtlRadioGroup::focusWithoutChoosing()
{
    TCtlRadioGroupButton *target = button(m_model.checkedIndex());
    if (!target)
        target = button(0);
    if (!target)
        return;
    m_focusOnly = true;
    target->setFocus(Qt::OtherFocusReason);
    m_focusOnly = false;
}

void TCtlRadioGroup::buttonFocused(TCtlRadioGroupButton *button, Qt::FocusReason reason)
{
    // Coming back to an inactive window only restores the focus; it is not a choice.
    if (m_focusOnly || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    m_model.check(button->index());
    updateChecks();
}

void TCtlRadioGroup::buttonClicked(TCtlRadioGroupButton *button)
{
    if (m_model.click(button->index())) {
        updateChecks();
        // The program's handlers run inside a mouse or key event: their errors are shown by
        // the default error display afterwards, not carried through Qt's dispatch.
        rt::runHandler([this] { Q_EMIT OnClick(); });
        rt::runHandler([&] { Q_EMIT OnChange(button->index()); });
    }
}

void TCtlRadioGroup::moveFocus(TCtlRadioGroupButton *from, int step)
{
    TCtlRadioGroupButton *to = button(m_model.neighbour(from->index(), step));
    if (!to)
        return;
    to->setFocus(Qt::OtherFocusReason);
    if (to->hasFocus() && m_model.checkedIndex() == to->index())
        buttonClicked(to);
}

bool TCtlRadioGroup::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut && m_shortcutId) {
        // The accelerator focuses the checked button, or the first one, which becomes the choice.
        TCtlRadioGroupButton *target = button(m_model.checkedIndex());
        if (!target)
            target = button(0);
        if (target) {
            target->setFocus(Qt::ShortcutFocusReason);
            if (m_model.checkedIndex() == target->index())
                buttonClicked(target);
        }
        return true;
    }
    return QWidget::event(event);
}

void TCtlRadioGroup::focusInEvent(QFocusEvent *event)
{
    // The group itself never keeps the focus: its checked button takes it, or the neighbour in
    // tab order when nothing is checked.
    QWidget::focusInEvent(event);
    if (TCtlRadioGroupButton *checked = button(m_model.checkedIndex())) {
        checked->setFocus(event->reason());
        return;
    }
    focusNextPrevChild(event->reason() != Qt::BacktabFocusReason);
}

void TCtlRadioGroup::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    doLayout();
}

void TCtlRadioGroup::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        doLayout();
        update();
    }
}

void TCtlRadioGroup::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    const int ch = groupCaptionHeight(CaptionFont(), m_caption);
    const int inset = std::max(0, ch / 2 - 1);
    const CaptionSide side = captionSide(m_model.Alignment());

    QRect frame(0, 0, w, h);
    switch (side) {
    case CaptionSide::Top:
        frame.setTop(inset);
        break;
    case CaptionSide::Left:
        frame.setLeft(inset);
        break;
    case CaptionSide::Bottom:
        frame.setBottom(h - 1 - inset);
        break;
    case CaptionSide::Right:
        frame.setRight(w - 1 - inset);
        break;
    }
    const QPalette &pal = palette();
    if (m_warning) {
        // The buttons are transparent: the ground shows through them.
        p.fillRect(frame.adjusted(1, 1, -1, -1), QColor::fromRgb(warningGroundRgb));
        p.setPen(QColor::fromRgb(warningFrameRgb));
        p.drawRect(frame.adjusted(0, 0, -1, -1));
    } else {
        // Classic etched frame: a shadow outline with a light one a pixel further in and down.
        p.setPen(pal.color(QPalette::Dark));
        p.drawRect(frame.adjusted(0, 0, -2, -2));
        p.setPen(pal.color(QPalette::Light));
        p.drawRect(frame.adjusted(1, 1, -1, -1));
    }

    if (m_caption.isEmpty())
        return;
    const QFont captionFont = CaptionFont();
    p.setFont(captionFont);
    const int flags = Qt::TextSingleLine | (m_showAccelChar ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    const int tw = QFontMetrics(captionFont).size(flags, m_caption).width();
    const bool vertical = side == CaptionSide::Left || side == CaptionSide::Right;
    const int length = vertical ? h : w;
    int start = m_captionOffset;
    switch (m_model.Alignment()) {
    case TCtlGroupCaptionAlign::gcaTopCenter:
    case TCtlGroupCaptionAlign::gcaBottomCenter:
    case TCtlGroupCaptionAlign::gcaLeftCenter:
    case TCtlGroupCaptionAlign::gcaRightCenter:
        start = (length - tw) / 2;
        break;
    case TCtlGroupCaptionAlign::gcaTopRight:
    case TCtlGroupCaptionAlign::gcaBottomRight:
    case TCtlGroupCaptionAlign::gcaLeftTop:
    case TCtlGroupCaptionAlign::gcaRightBottom:
        start = length - m_captionOffset - tw;
        break;
    default:
        break;
    }

    p.save();
    // Left and right captions run along the side, read from bottom to top resp. top to bottom.
    if (side == CaptionSide::Left) {
        p.translate(0, h);
        p.rotate(-90);
    } else if (side == CaptionSide::Right) {
        p.translate(w, 0);
        p.rotate(90);
    }
    const int across = side == CaptionSide::Bottom ? h - ch : 0;
    const QRect textRect(start, across, tw, ch);
    p.fillRect(textRect.adjusted(-2, 0, 0, 0), pal.color(backgroundRole()));
    p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(textRect, flags | Qt::AlignLeft | Qt::AlignTop, m_caption);
    p.restore();
}

TCtlRadioGroupButton::TCtlRadioGroupButton(TCtlRadioGroup *group) : QWidget(group), m_group(group)
{
    setFocusPolicy(Qt::ClickFocus);
}

int TCtlRadioGroupButton::index() const
{
    const qsizetype i = m_group->m_buttons.indexOf(const_cast<TCtlRadioGroupButton *>(this));
    Q_ASSERT(i >= 0); // a group holds each of its buttons
    return int(i);
}

QString TCtlRadioGroupButton::Caption() const
{
    const int i = index();
    return i >= 0 && i < m_group->m_model.count() ? m_group->m_model.Items().at(i) : QString();
}

bool TCtlRadioGroupButton::Checked() const
{
    const int i = index();
    return i >= 0 && m_group->m_model.checkedIndex() == i;
}

QRect TCtlRadioGroupButton::glyphRect() const
{
    const int g = m_group->m_glyphSize;
    return QRect(0, (height() - g) / 2, g, g);
}

QRect TCtlRadioGroupButton::textRect() const
{
    const QFontMetrics fm(font());
    const int left = m_group->m_glyphSize + m_group->m_spacing;
    QSize ts = fm.size(Qt::TextSingleLine, Caption());
    // A caption wider than its column wraps when the row has room for the further lines, so
    // that no option is cut off.
    const int room = std::max(0, width() - left);
    if (ts.width() > room) {
        const QSize wrapped = fm.boundingRect(QRect(0, 0, room, height()), textFlags(), Caption()).size();
        if (wrapped.height() <= height())
            ts = wrapped;
    }
    return QRect(left, (height() - ts.height()) / 2, ts.width(), ts.height());
}

void TCtlRadioGroupButton::choose()
{
    setFocus(Qt::OtherFocusReason);
    // Without an active window the focus does not arrive, and with it not the check mark.
    if (!m_group->m_model.ReadOnly() && !Checked()) {
        m_group->m_model.check(index());
        m_group->updateChecks();
    }
    m_group->buttonClicked(this);
}

int TCtlRadioGroupButton::textFlags()
{
    return Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter;
}

void TCtlRadioGroupButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionButton glyph;
    glyph.initFrom(this);
    glyph.rect = glyphRect();
    glyph.state &= ~QStyle::State_HasFocus;
    glyph.state |= Checked() ? QStyle::State_On : QStyle::State_Off;
    if (m_pressed)
        glyph.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &glyph, &p, this);

    const QRect text = textRect();
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(text, textFlags(), Caption());

    if (hasFocus()) {
        // A dotted rectangle round the caption text, as the platform marks a focused option.
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(text.adjusted(-2, -1, 0, 0).adjusted(0, 0, -1, -1));
    }
}

void TCtlRadioGroupButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The focus came with the press (click focus) and checked the button already.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    m_mouseDown = true;
    m_pressed = true;
    update();
}

void TCtlRadioGroupButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_mouseDown)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_pressed) {
        m_pressed = inside;
        update();
    }
}

void TCtlRadioGroupButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_mouseDown) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_mouseDown = false;
    m_pressed = false;
    update();
    const bool inside = rect().contains(event->position().toPoint());
    if (m_group->m_model.releaseReportsClick(index(), inside))
        m_group->buttonClicked(this);
}

void TCtlRadioGroupButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        rt::runHandler([this] { Q_EMIT m_group->OnDblClick(); });
}

void TCtlRadioGroupButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        m_group->moveFocus(this, -1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        m_group->moveFocus(this, +1);
        break;
    case Qt::Key_Space:
        // A button reached without being chosen (a program led the user here) is chosen as
        // a radio button is chosen from the keyboard anywhere else.
        if (!event->isAutoRepeat())
            choose();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TCtlRadioGroupButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_group->buttonFocused(this, event->reason());
    update();
}

void TCtlRadioGroupButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace ctl
