#include "controls/richtext/ui/tctlrichscrollbox.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace rtf {

namespace {

void applyBar(QScrollBar *bar, const ScrollBarState &state)
{
    bar->setVisible(state.visible);
    if (!state.visible) {
        bar->setRange(0, 0);
        return;
    }
    bar->setGeometry(state.geometry);
    bar->setRange(0, state.maximum);
    bar->setSingleStep(state.singleStep);
    bar->setPageStep(state.pageStep);
    bar->setValue(0);
}

} // namespace

TCtlRichScrollBox::TCtlRichScrollBox(QWidget *parent)
    : TCtlRichLabel(nullptr), m_horz(new QScrollBar(Qt::Horizontal, this)), m_vert(new QScrollBar(Qt::Vertical, this))
{
    setParentColor(false);
    setColor(palette().color(QPalette::Base));
    for (QScrollBar *bar : {m_horz, m_vert}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    }
    // Attached last, so that the first rendering finds the bars in place.
    setParent(parent);
}

QRect TCtlRichScrollBox::textArea() const
{
    return m_model.scrollTextArea(size());
}

void TCtlRichScrollBox::renderModel()
{
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_model.renderScrolling(size(), thickness);
    applyBar(m_horz, m_model.horizontalBar());
    applyBar(m_vert, m_model.verticalBar());
}

void TCtlRichScrollBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint offset(m_horz->isVisibleTo(this) ? m_horz->value() : 0, m_vert->isVisibleTo(this) ? m_vert->value() : 0);
    m_model.paint(painter, size(), palette().color(QPalette::Dark), palette().color(QPalette::Light), offset);
}

void TCtlRichScrollBox::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *bar = m_vert;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Up: action = QAbstractSlider::SliderSingleStepSub; break;
    case Qt::Key_Down: action = QAbstractSlider::SliderSingleStepAdd; break;
    case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
    case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
    case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
    case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
    case Qt::Key_Left:
        bar = m_horz;
        action = QAbstractSlider::SliderSingleStepSub;
        break;
    case Qt::Key_Right:
        bar = m_horz;
        action = QAbstractSlider::SliderSingleStepAdd;
        break;
    default:
        TCtlRichLabel::keyPressEvent(event);
        return;
    }
    if (bar->isVisibleTo(this))
        bar->triggerAction(action);
    event->accept();
}

} // namespace rtf
