#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace rep {

// One page in the workspace layout, in report units.
struct TrepPageItem
{
    int width = 0;
    int height = 0;
    int column = 0;
    int top = 0;
};

// Where the pages lie on the workspace: rows of one or two columns, 10 units apart.
class TrepPageList
{
public:
    // Lays the pages out in order, `columns` to a row (1, or 2 for two pages side by side).
    void build(const QList<QSize> &pageSizes, int columns);

    int count() const { return int(m_items.size()); }
    int columns() const { return m_columns; }
    const TrepPageItem &item(int index) const { return m_items.at(index); }
    // The widest row: the sum of width + 10 over its pages.
    int widestRow() const { return m_widestRow; }

    // The page's rectangle on the workspace at the zoom, before the scroll positions are
    // subtracted; an index outside the layout gets an A4 page at the top.
    QRect pageRect(int index, double zoom, int workspaceWidth) const;
    // Horizontal and vertical scroll ranges at the zoom.
    QSize scrollRange(double zoom, int workspaceWidth) const;
    // The last page whose scaled top is at or above `position` plus one fifth of its scaled
    // height; 0 when there is none.
    int pageAtPosition(int position, double zoom) const;

private:
    struct Row
    {
        int first = 0;
        int last = 0;
        int width = 0; // the page widths plus 10 between neighbours
    };

    QList<TrepPageItem> m_items;
    QList<int> m_rowOf;
    QList<Row> m_rows;
    int m_columns = 1;
    int m_widestRow = 0;
};

} // namespace rep
