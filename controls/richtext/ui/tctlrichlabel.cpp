#include "controls/richtext/ui/tctlrichlabel.h"

#include "accessiblerichtext_p.h"

#include <QAccessible>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>

namespace rtf {

TCtlRichLabel::TCtlRichLabel(QWidget *parent) : QWidget(parent)
{
    installRichTextAccessibility();
    setFocusPolicy(Qt::NoFocus);
    resize(100, 100);
}

void TCtlRichLabel::setLines(const QStringList &lines)
{
    m_model.setLines(lines);
    rerender();
    textChanged();
}

void TCtlRichLabel::setRichText(const QByteArray &rtf)
{
    m_model.setRichText(rtf);
    rerender();
    textChanged();
}

void TCtlRichLabel::textChanged()
{
    if (!QAccessible::isActive())
        return;
    // A caption's text is its name; the viewer's is its content.
    QAccessibleEvent event(this, accessibleName().isEmpty() ? QAccessible::NameChanged : QAccessible::VisibleDataChanged);
    QAccessible::updateAccessibility(&event);
}

void TCtlRichLabel::setWordWrap(bool on)
{
    m_model.setWordWrap(on);
    rerender();
}

void TCtlRichLabel::setTransparent(bool on)
{
    m_model.setTransparent(on);
    rerender();
}

void TCtlRichLabel::setBevel(const TCtlRTFBevel &bevel)
{
    m_model.setBevel(bevel);
    rerender();
}

void TCtlRichLabel::setColor(const QColor &colour)
{
    m_color = colour;
    m_parentColor = false;
    rerender();
}

QColor TCtlRichLabel::color() const
{
    if (m_parentColor && parentWidget())
        return parentWidget()->palette().color(parentWidget()->backgroundRole());
    return m_color;
}

void TCtlRichLabel::setParentColor(bool on)
{
    m_parentColor = on;
    rerender();
}

void TCtlRichLabel::rerender()
{
    if (!parentWidget())
        return;
    m_model.setColor(color());
    m_model.setTextColor(palette().color(QPalette::WindowText));
    if (m_model.font() != font())
        m_model.setFont(font());
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    renderModel();
    m_renderedSize = size();
    QGuiApplication::restoreOverrideCursor();
    ++m_renderCount;
    update();
}

void TCtlRichLabel::renderModel()
{
    m_model.render(m_model.textArea(size()).size());
}

void TCtlRichLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_model.paint(painter, size(), palette().color(QPalette::Dark), palette().color(QPalette::Light));
}

void TCtlRichLabel::resizeEvent(QResizeEvent *)
{
    // Hidden widgets get resize events again on showing and grabbing; only a new size counts.
    if (m_renderCount == 0 || size() != m_renderedSize)
        rerender();
}

bool TCtlRichLabel::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::ParentChange)
        rerender();
    return result;
}

void TCtlRichLabel::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        rerender();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

} // namespace rtf
