#include "controls/panels/ui/styledpanel.h"

#include "controls/panels/panelpainting.h"

#include <QPainter>

namespace ctl {

TStyledPanel::TStyledPanel(QWidget *parent) : QWidget(parent)
{
    setColor(m_color);
}

void TStyledPanel::setColor(const QColor &color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    update();
}

void TStyledPanel::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

void TStyledPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintStyledPanel(p, size(), m_color, m_borderColor);
}

} // namespace ctl
