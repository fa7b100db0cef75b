#include "report/preview/previewstate.h"

#include "report/preview/previewzoom.h"

#include <cmath>

namespace rep {

void PreviewState::setPageSizes(const QList<QSize> &sizes)
{
    m_sizes = sizes;
    rebuildLayout();
    update();
}

QSize PreviewState::pageSize(int index) const
{
    if (index < 0 || index >= m_sizes.size())
        return {};
    return m_sizes.at(index);
}

void PreviewState::setClientSize(QSize size)
{
    const ViewAnchor keep = anchor();
    m_client = size;
    updateKeeping(keep, true);
}

void PreviewState::setZoom(double z)
{
    const ViewAnchor keep = anchor();
    // NaN compares false: it floors too.
    m_zoom = z >= kMinZoom ? qMin(z, kMaxZoom) : kMinZoom;
    if (m_mode == zmManyPages) {
        m_mode = zmDefault;
        rebuildLayout();
    }
    m_mode = zmDefault;
    updateKeeping(keep, true);
}

void PreviewState::setZoomMode(TrepZoomMode mode)
{
    const ViewAnchor keep = anchor();
    m_mode = mode;
    rebuildLayout();
    updateKeeping(keep, true);
}

void PreviewState::rebuildLayout()
{
    m_layout.build(m_sizes, m_mode == zmManyPages ? 2 : 1);
}

void PreviewState::update()
{
    updateKeeping(anchor(), true);
}

PreviewState::ViewAnchor PreviewState::anchor() const
{
    if (m_sizes.isEmpty() || m_client.isEmpty() || !(m_zoom > 0))
        return {};
    const QRect shown(QPoint(0, 0), m_client);
    int page = qBound(0, m_currentPage - 1, pageCount() - 1);
    QRect r = pageRect(page);
    if (!r.intersects(shown)) {
        page = m_layout.pageAtPosition(m_scroll.y(), m_zoom);
        r = pageRect(page);
    }
    const QRect visible = r.intersected(shown);
    const QPoint at = visible.isEmpty() ? r.topLeft() : visible.topLeft();
    return {page, QPointF(at - r.topLeft()) / m_zoom, at};
}

void PreviewState::updateKeeping(const ViewAnchor &keep, bool adoptPage)
{
    if (m_locked || m_sizes.isEmpty())
        return;
    // The fitted zoom follows the page that stays in view.
    const int fitPage = keep.page >= 0 && adoptPage ? keep.page : m_currentPage - 1;
    m_zoom = fittedZoom(m_mode, pageSize(fitPage), m_client, m_zoom);
    m_range = m_layout.scrollRange(m_zoom, m_client.width());
    QPoint wanted = m_scroll;
    if (keep.page >= 0) {
        const QRect r = m_layout.pageRect(keep.page, m_zoom, m_client.width());
        wanted = QPoint(r.left() + int(std::lround(keep.onPage.x() * m_zoom)) - keep.inClient.x(),
                        r.top() + int(std::lround(keep.onPage.y() * m_zoom)) - keep.inClient.y());
    }
    const QPoint max = maxScroll();
    m_scroll = QPoint(qBound(0, wanted.x(), max.x()), qBound(0, wanted.y(), max.y()));
    const bool pageMoved = adoptPage && keep.page >= 0 && keep.page + 1 != m_currentPage;
    if (pageMoved)
        m_currentPage = keep.page + 1;
    notify(viewChanged);
    notify(zoomChanged);
    if (pageMoved)
        notify(pageChanged);
}

QPoint PreviewState::maxScroll() const
{
    return QPoint(qMax(0, m_range.width() - m_client.width()), qMax(0, m_range.height() - m_client.height()));
}

void PreviewState::setScroll(QPoint position)
{
    const QPoint max = maxScroll();
    const QPoint clamped(qBound(0, position.x(), max.x()), qBound(0, position.y(), max.y()));
    if (clamped == m_scroll)
        return;
    const bool vertical = clamped.y() != m_scroll.y();
    m_scroll = clamped;
    notify(viewChanged);
    if (vertical && !m_sizes.isEmpty()) {
        m_currentPage = m_layout.pageAtPosition(m_scroll.y(), m_zoom) + 1;
        notify(pageChanged);
    }
}

void PreviewState::goToPage(int n)
{
    if (m_sizes.isEmpty())
        return;
    n = qBound(1, n, pageCount());
    const int top = m_layout.pageRect(n - 1, m_zoom, m_client.width()).top() - 10;
    const QPoint max = maxScroll();
    const QPoint target(m_scroll.x(), qBound(0, top, max.y()));
    m_currentPage = n;
    if (target != m_scroll) {
        m_scroll = target;
        notify(viewChanged);
    }
    notify(pageChanged);
}

void PreviewState::lock()
{
    m_locked = true;
    notify(viewChanged);
}

void PreviewState::unlock()
{
    // What was shown before the lock stays shown, but the page number is 1 again, quietly.
    const ViewAnchor keep = anchor();
    m_locked = false;
    m_currentPage = 1;
    updateKeeping(keep, false);
    notify(viewChanged);
}

QRect PreviewState::pageRect(int index) const
{
    return m_layout.pageRect(index, m_zoom, m_client.width()).translated(-m_scroll);
}

QList<int> PreviewState::visiblePages(const QRect &clip) const
{
    QList<int> pages;
    if (m_locked || m_sizes.isEmpty())
        return pages;
    const int current = m_layout.pageAtPosition(m_scroll.y(), m_zoom);
    const int first = qMax(0, current - 20);
    const int last = qMin(pageCount() - 1, current + 20);
    for (int i = first; i <= last; ++i) {
        const QRect r = pageRect(i);
        if (r.bottom() < 0 || r.top() >= m_client.height())
            continue;
        if (!r.intersects(clip))
            continue;
        pages.append(i);
    }
    return pages;
}

} // namespace rep
