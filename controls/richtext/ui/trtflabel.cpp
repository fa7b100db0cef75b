#include "controls/richtext/ui/trtflabel.h"

#include "controls/richtext/richtextlayout.h"
#include "accessiblerichtext_p.h"
#include "controls/richtext/rtfreader.h"

#include <QAccessible>
#include <QPainter>
#include <QTextDocument>

namespace rtf {

TRTFLabel::TRTFLabel(QWidget *parent) : QWidget(parent), m_document(std::make_unique<QTextDocument>())
{
    installRichTextAccessibility();
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TRTFLabel::~TRTFLabel() = default;

void TRTFLabel::setRichText(const QByteArray &rtf)
{
    m_richText = rtf;
    m_stale = true;
    update();
    // What the caption says is its name.
    if (QAccessible::isActive() && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TRTFLabel::setTransparent(bool on)
{
    m_transparent = on;
    update();
}

void TRTFLabel::setColor(const QColor &colour)
{
    m_color = colour;
    update();
}

QColor TRTFLabel::color() const
{
    if (m_color.isValid())
        return m_color;
    return parentWidget() ? parentWidget()->palette().color(parentWidget()->backgroundRole())
                          : palette().color(QPalette::Window);
}

QTextDocument &TRTFLabel::document()
{
    if (m_stale) {
        ReadOptions options;
        options.defaultFont = font();
        readRtf(m_richText, *m_document, options);
        m_stale = false;
    }
    return *m_document;
}

void TRTFLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), color());
    if (!parentWidget())
        return;
    drawFitted(painter, document(), QRect(1, 1, width() - 1, height() - 1), palette().color(QPalette::WindowText));
}

} // namespace rtf
