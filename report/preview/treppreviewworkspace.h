#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRectF>

namespace rep {

class PageSource;
class PreviewState;

// The grey scrolling area on which the pages lie. It shows what the preview state says:
// only the visible pages are drawn, each in a white frame with a shadow; the found text is
// inverted. Scroll bars, wheel and dragging change the state's scroll positions.
class TrepPreviewWorkspace : public QAbstractScrollArea
{
    Q_OBJECT
public:
    TrepPreviewWorkspace(PreviewState &state, QWidget *parent);

    void setSource(PageSource *source) { m_source = source; }
    // Marks a text on a page (bounds at scale 1); a negative page clears the mark.
    void setHit(int page, const QRectF &bounds);
    // The inverted rectangle in client coordinates; empty without a mark.
    QRect hitRect() const;

    // Takes the state's ranges and positions after it changed, and repaints.
    void syncFromState();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    PreviewState &m_state;
    PageSource *m_source = nullptr;
    bool m_syncing = false;
    QPoint m_shownScroll;
    double m_shownZoom = 0;
    QSize m_shownRange;
    bool m_shownLocked = false;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragScroll;
    bool m_drawErrorShown = false;
    int m_hitPage = -1;
    QRectF m_hitBounds;
};

} // namespace rep
