#include "report/preview/previewstate.h"

#include "report/preview/previewzoom.h"

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
    m_client = size;
    update();
}

void PreviewState::setZoom(double z)
{
    m_zoom = z < kMinZoom ? kMinZoom : z;
    if (m_mode == zmManyPages) {
        m_mode = zmDefault;
        rebuildLayout();
    }
    m_mode = zmDefault;
    update();
}

void PreviewState::setZoomMode(TrepZoomMode mode)
{
    m_mode = mode;
    rebuildLayout();
    update();
}

void PreviewState::rebuildLayout()
{
    m_layout.build(m_sizes, m_mode == zmManyPages ? 2 : 1);
}

void PreviewState::update()
{
    if (m_locked || m_sizes.isEmpty())
        return;
    m_zoom = fittedZoom(m_mode, pageSize(m_currentPage - 1), m_client, m_zoom);
    m_range = m_layout.scrollRange(m_zoom, m_client.width());
    const QPoint max = maxScroll();
    m_scroll = QPoint(qBound(0, m_scroll.x(), max.x()), qBound(0, m_scroll.y(), max.y()));
    notify(viewChanged);
    notify(zoomChanged);
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
    m_locked = false;
    m_currentPage = 1;
    update();
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
