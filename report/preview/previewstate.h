#pragma once

#include "report/preview/pagelist.h"
#include "report/preview/previewoptions.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <functional>

namespace rep {

// The state of the preview control without its widgets: pages, zoom, scroll positions,
// current page and lock. The widget feeds it the client size and input and draws what it says.
class PreviewState
{
public:
    // The page sizes from the store; rebuilds the layout and updates.
    void setPageSizes(const QList<QSize> &sizes);
    int pageCount() const { return int(m_sizes.size()); }
    QSize pageSize(int index) const;

    QSize clientSize() const { return m_client; }
    // The workspace was resized: the fitted modes follow it.
    void setClientSize(QSize size);

    double zoom() const { return m_zoom; }
    TrepZoomMode zoomMode() const { return m_mode; }
    // The zoom becomes z (at least 0.25, at most kMaxZoom); two pages side by side go back to
    // one column.
    void setZoom(double z);
    // Stores the mode, rebuilds the layout and updates.
    void setZoomMode(TrepZoomMode mode);
    // Recomputes a fitted zoom and the scroll ranges; skipped while locked or without pages.
    // A change of zoom or layout keeps the point of the current page that stood at the top left
    // of what is shown where it was, as far as the ranges allow.
    void update();

    QPoint scroll() const { return m_scroll; }
    QSize scrollRange() const { return m_range; }
    QPoint maxScroll() const;
    // Moves to the position clamped to 0 ... range - client size; a vertical move makes the
    // page at the new position current.
    void setScroll(QPoint position);
    void scrollBy(int dx, int dy) { setScroll(m_scroll + QPoint(dx, dy)); }

    // 1-based.
    int currentPage() const { return m_currentPage; }
    // Scrolls so that page n (clamped to 1 ... count) lies 10 pixels below the top.
    void goToPage(int n);

    bool locked() const { return m_locked; }
    void lock();
    // Clears the lock and makes page 1 current without scrolling or notifying, then updates.
    void unlock();

    const TrepPageList &layout() const { return m_layout; }
    // A page's rectangle in client coordinates (scroll positions subtracted).
    QRect pageRect(int index) const;
    // The pages to draw: among the 41 around the page at the scroll position, those that
    // overlap the client area vertically and the given clip rectangle.
    QList<int> visiblePages(const QRect &clip) const;

    // Notifications: the page number changed; the effective zoom was set (rewrite the zoom
    // box); ranges, positions or content changed (sync the scroll bars and repaint).
    std::function<void()> pageChanged;
    std::function<void()> zoomChanged;
    std::function<void()> viewChanged;

private:
    // A point of a page, in report units from its corner, and where it stands in the client.
    struct ViewAnchor
    {
        int page = -1; // 0-based; -1: nothing to keep
        QPointF onPage;
        QPoint inClient;
    };
    // The anchor of what is shown: the top left of the visible part of the current page, or of
    // the page at the scroll position when the current one is out of view.
    ViewAnchor anchor() const;
    // Updates, then scrolls so that the anchor stands where it stood. With adoptPage the
    // anchor's page becomes current (it is the page shown).
    void updateKeeping(const ViewAnchor &keep, bool adoptPage);
    void rebuildLayout();
    void notify(const std::function<void()> &f) const
    {
        if (f)
            f();
    }

    QList<QSize> m_sizes;
    TrepPageList m_layout;
    QSize m_client;
    double m_zoom = 1.0;
    TrepZoomMode m_mode = zmDefault;
    QPoint m_scroll;
    QSize m_range;
    int m_currentPage = 1;
    bool m_locked = false;
};

} // namespace rep
