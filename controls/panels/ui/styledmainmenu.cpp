#include "controls/panels/ui/styledmainmenu.h"

#include "controls/panels/menubarpainting.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace ctl {

TStyledMainMenu::TStyledMainMenu(QWidget *parent) : QMenuBar(parent)
{
    // Menus drawn by the program itself, not handed to a platform menu bar.
    setNativeMenuBar(false);
    // The system menu font, not the window's font.
    setFont(QApplication::font(this));
    setMouseTracking(true);
}

MenuItemState TStyledMainMenu::itemState(QAction *action) const
{
    if (!action)
        return MenuItemState::Normal;
    if ((action->menu() && action->menu()->isVisible()) || (action == m_pressed && m_pressedInside))
        return MenuItemState::Open;
    if (action == activeAction())
        return MenuItemState::Hot;
    return MenuItemState::Normal;
}

void TStyledMainMenu::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintMenuBarBackground(p, rect());
    const bool underline = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this);
    const QColor text = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    for (QAction *a : actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        const QRect r = actionGeometry(a);
        if (r.isEmpty())
            continue;
        QColor c = text;
        if (!a->isEnabled())
            c = palette().color(QPalette::Disabled, QPalette::WindowText);
        paintMenuItem(p, r, a->text(), itemState(a), font(), c,
                      underline ? Qt::TextShowMnemonic : Qt::TextHideMnemonic);
    }
}

void TStyledMainMenu::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = actionAt(event->position().toPoint());
        m_pressedInside = m_pressed != nullptr;
        update();
    }
    QMenuBar::mousePressEvent(event);
}

void TStyledMainMenu::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressed) {
        const bool inside = actionAt(event->position().toPoint()) == m_pressed;
        if (inside != m_pressedInside) {
            m_pressedInside = inside;
            update();
        }
    }
    QMenuBar::mouseMoveEvent(event);
}

void TStyledMainMenu::mouseReleaseEvent(QMouseEvent *event)
{
    // Cleared before the command runs: it may open a modal window in a nested loop.
    if (event->button() == Qt::LeftButton) {
        m_pressed = nullptr;
        m_pressedInside = false;
        update();
    }
    QMenuBar::mouseReleaseEvent(event);
}

void TStyledMainMenu::leaveEvent(QEvent *event)
{
    QMenuBar::leaveEvent(event);
    update();
}

} // namespace ctl
