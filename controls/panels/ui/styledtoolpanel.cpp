#include "controls/panels/ui/styledtoolpanel.h"

#include "accessiblepanels_p.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace ctl {

TStyledToolPanel::TStyledToolPanel(QWidget *parent) : QWidget(parent)
{
    installToolPanelAccessibility();
    // A tab stop. Clicks focus it only on its own surface (mousePressEvent), so that a press on a
    // label or a group frame inside does not pull the focus out of the field being edited.
    setFocusPolicy(Qt::TabFocus);
    applyLook();
    connect(qApp, &QApplication::focusChanged, this, &TStyledToolPanel::focusChanged);
}

void TStyledToolPanel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
    // The caption is the panel's name unless it was given another.
    if (QAccessible::isActive() && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TStyledToolPanel::setLook(const ToolPanelLook &look)
{
    m_look = look;
    applyLook();
    update();
}

void TStyledToolPanel::applyLook()
{
    // Children such as the radio groups paint their caption strips in the body colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_look.Color);
    setPalette(pal);
    // Controls aligned to the panel stay below the caption bar.
    setContentsMargins(1, m_look.ShowCaption ? CaptionBarHeight : 1, 1, 1);
}

void TStyledToolPanel::focusChanged(QWidget *, QWidget *now)
{
    // Only moves within this window count: losing the focus to another application or to a
    // dialog leaves the caption as it is.
    if (!now || now->window() != window())
        return;
    const bool focused = now == this || isAncestorOf(now);
    if (focused == m_focused)
        return;
    m_focused = focused;
    update();
    Q_EMIT focusedChanged(focused);
}

void TStyledToolPanel::mousePressEvent(QMouseEvent *event)
{
    // Presses that children ignore arrive here too: only the panel's own surface counts.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void TStyledToolPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The raised edge uses the system's button highlight and shadow colours.
    ToolPanelLook look = m_look;
    look.edgeLight = palette().color(QPalette::Light);
    look.edgeShadow = palette().color(QPalette::Dark);
    paintToolPanel(p, size(), look, m_caption, font(), m_focused);
}

} // namespace ctl
