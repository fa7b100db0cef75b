#include "computedlabel_p.h"

namespace app {

ComputedLabel::ComputedLabel(int rightEdge, int top, QWidget *parent)
    : QLabel(parent), m_right(rightEdge), m_top(top)
{
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    setCaption(QStringLiteral("0"));
}

void ComputedLabel::setCaption(const QString &caption)
{
    setText(caption);
    adjustSize();
    move(m_right - width(), m_top);
}

} // namespace app
