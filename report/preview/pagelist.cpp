#include "report/preview/pagelist.h"

#include <cmath>

namespace rep {

namespace {
constexpr int kGap = 10;
constexpr int kA4Width = 794;
constexpr int kA4Height = 1123;

// Halves go to the even neighbour, as the platform's rounding does.
int roundInt(double v)
{
    return int(std::nearbyint(v));
}

int centredLeft(double zoom, int rowWidth, int workspaceWidth)
{
    const double scaled = zoom * rowWidth;
    if (scaled > workspaceWidth)
        return kGap;
    return roundInt((workspaceWidth - scaled) / 2);
}
} // namespace

void TrepPageList::build(const QList<QSize> &pageSizes, int columns)
{
    m_columns = columns < 1 ? 1 : columns;
    m_items.clear();
    m_rowOf.clear();
    m_rows.clear();
    m_widestRow = 0;
    int rowTop = kGap;
    int rowTallest = 0;
    int rowSum = 0;
    for (int i = 0; i < pageSizes.size(); ++i) {
        TrepPageItem item;
        item.width = pageSizes.at(i).width();
        item.height = pageSizes.at(i).height();
        if (i == 0) {
            item.column = 0;
        } else if (m_items.last().column + 1 < m_columns) {
            item.column = m_items.last().column + 1;
        } else {
            rowTop += rowTallest + kGap;
            item.column = 0;
        }
        if (item.column == 0) {
            m_rows.append(Row{i, i, item.width});
            rowTallest = 0;
            rowSum = 0;
        } else {
            m_rows.last().last = i;
            m_rows.last().width += kGap + item.width;
        }
        item.top = rowTop;
        rowTallest = qMax(rowTallest, item.height);
        rowSum += item.width + kGap;
        m_widestRow = qMax(m_widestRow, rowSum);
        m_items.append(item);
        m_rowOf.append(int(m_rows.size()) - 1);
    }
}

QRect TrepPageList::pageRect(int index, double zoom, int workspaceWidth) const
{
    if (index < 0 || index >= count()) {
        const int left = centredLeft(zoom, kA4Width, workspaceWidth);
        const int top = roundInt(zoom * kGap);
        return QRect(QPoint(left, top), QPoint(left + roundInt(zoom * kA4Width),
                                               top + roundInt(zoom * kA4Height))
                                            - QPoint(1, 1));
    }
    const TrepPageItem &it = m_items.at(index);
    const Row &row = m_rows.at(m_rowOf.at(index));
    int before = 0;
    for (int i = row.first; i < index; ++i)
        before += m_items.at(i).width + kGap;
    const int left = centredLeft(zoom, row.width, workspaceWidth) + roundInt(zoom * before);
    const int top = roundInt(zoom * it.top);
    const int right = left + roundInt(zoom * it.width);
    const int bottom = top + roundInt(zoom * it.height);
    // QRect's right and bottom are inclusive; the layout's are the first pixel outside.
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QSize TrepPageList::scrollRange(double zoom, int workspaceWidth) const
{
    const int horizontal = roundInt(zoom * m_widestRow) + kGap;
    const int lastBottom = count() > 0 ? pageRect(count() - 1, zoom, workspaceWidth).bottom() + 1 : 0;
    return QSize(horizontal, lastBottom + kGap);
}

int TrepPageList::pageAtPosition(int position, double zoom) const
{
    // Tops never decrease along the list, so the condition holds for a prefix of the pages.
    int lo = 0;
    int hi = count() - 1;
    int found = 0;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const TrepPageItem &it = m_items.at(mid);
        if (roundInt(zoom * it.top) <= position + zoom * it.height / 5) {
            found = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return found;
}

} // namespace rep
