#include "report/preview/treppreviewworkspace.h"

#include "report/preview/logging_p.h"
#include "report/preview/previewstate.h"
#include "report/print/pagesource.h"
#include "runtime/messages.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace rep {

namespace {
const QColor kWorkspaceGrey(0x80, 0x80, 0x80);
constexpr int kLineStep = 8;
constexpr int kPageStep = 300;
constexpr int kWheelStep = 20;
} // namespace

TrepPreviewWorkspace::TrepPreviewWorkspace(PreviewState &state, QWidget *parent)
    : QAbstractScrollArea(parent), m_state(state)
{
    setObjectName(QStringLiteral("Workspace"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    viewport()->setCursor(Qt::OpenHandCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    for (QScrollBar *bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(kLineStep);
        bar->setPageStep(kPageStep);
    }
}

void TrepPreviewWorkspace::setHit(int page, const QRectF &bounds)
{
    m_hitPage = page;
    m_hitBounds = bounds;
    viewport()->update();
}

QRect TrepPreviewWorkspace::hitRect() const
{
    if (m_hitPage < 0 || m_state.locked())
        return {};
    const QRect page = m_state.pageRect(m_hitPage);
    const double z = m_state.zoom();
    const QRectF scaled(page.left() + m_hitBounds.left() * z, page.top() + m_hitBounds.top() * z,
                        m_hitBounds.width() * z, m_hitBounds.height() * z);
    // One pixel wider on the left and right so that the first and last letters are covered.
    return scaled.toAlignedRect().adjusted(-1, 0, 1, 0);
}

void TrepPreviewWorkspace::syncFromState()
{
    m_syncing = true;
    const QPoint max = m_state.maxScroll();
    horizontalScrollBar()->setRange(0, max.x());
    verticalScrollBar()->setRange(0, max.y());
    horizontalScrollBar()->setValue(m_state.scroll().x());
    verticalScrollBar()->setValue(m_state.scroll().y());
    m_syncing = false;

    const QPoint delta = m_shownScroll - m_state.scroll();
    const bool onlyMoved = m_shownZoom == m_state.zoom() && m_shownRange == m_state.scrollRange()
                           && m_shownLocked == m_state.locked();
    // A plain scroll moves the image already drawn and repaints only the uncovered strip.
    if (onlyMoved && !delta.isNull() && std::abs(delta.x()) < viewport()->width()
        && std::abs(delta.y()) < viewport()->height())
        viewport()->scroll(delta.x(), delta.y());
    else if (!onlyMoved || !delta.isNull())
        viewport()->update();
    m_shownScroll = m_state.scroll();
    m_shownZoom = m_state.zoom();
    m_shownRange = m_state.scrollRange();
    m_shownLocked = m_state.locked();
}

void TrepPreviewWorkspace::paintEvent(QPaintEvent *event)
{
    QPainter p(viewport());
    const QRect client = viewport()->rect();
    if (m_state.locked() || !m_source || m_state.pageCount() == 0) {
        p.fillRect(event->rect(), kWorkspaceGrey);
        return;
    }
    const QList<int> pages = m_state.visiblePages(event->rect());
    QRegion background = event->region() & client;
    for (int i : pages)
        background -= m_state.pageRect(i);
    for (const QRect &r : background)
        p.fillRect(r, kWorkspaceGrey);

    const double z = m_state.zoom();
    for (int i : pages) {
        const QRect r = m_state.pageRect(i);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawLine(r.right() + 1, r.top() + 1, r.right() + 1, r.bottom() + 1);
        p.drawLine(r.left() + 1, r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        p.save();
        try {
            m_source->drawPage(i, p, z, z, r.left(), r.top());
        } catch (const std::exception &e) {
            // A page that cannot be rebuilt stays blank. Its error is shown once, after the
            // paint event: a message box inside it would paint again and fail again.
            if (!m_drawErrorShown) {
                m_drawErrorShown = true;
                qCWarning(lcPreview, "page %d cannot be drawn: %s", i + 1, e.what());
                rt::showExceptionLater(e);
            }
        }
        p.restore();
    }
    if (m_hitPage >= 0 && pages.contains(m_hitPage)) {
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(hitRect(), Qt::black);
    }
}

bool TrepPreviewWorkspace::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize)
        m_state.setClientSize(viewport()->size());
    return QAbstractScrollArea::viewportEvent(event);
}

void TrepPreviewWorkspace::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_state.setScroll(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void TrepPreviewWorkspace::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragStart = event->position().toPoint();
        m_dragScroll = m_state.scroll();
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TrepPreviewWorkspace::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        m_state.setScroll(m_dragScroll - (event->position().toPoint() - m_dragStart));
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TrepPreviewWorkspace::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        viewport()->setCursor(Qt::OpenHandCursor);
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TrepPreviewWorkspace::wheelEvent(QWheelEvent *event)
{
    const int dy = event->angleDelta().y();
    if (dy != 0)
        m_state.scrollBy(0, dy > 0 ? -kWheelStep : kWheelStep);
    event->accept();
}

} // namespace rep
