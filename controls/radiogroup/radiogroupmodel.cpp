#include "controls/radiogroup/radiogroupmodel.h"

#include <QFontMetrics>

#include <algorithm>

namespace ctl {

CaptionSide captionSide(TCtlGroupCaptionAlign alignment)
{
    switch (alignment) {
    case TCtlGroupCaptionAlign::gcaTopLeft:
    case TCtlGroupCaptionAlign::gcaTopCenter:
    case TCtlGroupCaptionAlign::gcaTopRight:
        return CaptionSide::Top;
    case TCtlGroupCaptionAlign::gcaLeftBottom:
    case TCtlGroupCaptionAlign::gcaLeftCenter:
    case TCtlGroupCaptionAlign::gcaLeftTop:
        return CaptionSide::Left;
    case TCtlGroupCaptionAlign::gcaBottomLeft:
    case TCtlGroupCaptionAlign::gcaBottomCenter:
    case TCtlGroupCaptionAlign::gcaBottomRight:
        return CaptionSide::Bottom;
    case TCtlGroupCaptionAlign::gcaRightTop:
    case TCtlGroupCaptionAlign::gcaRightCenter:
    case TCtlGroupCaptionAlign::gcaRightBottom:
        return CaptionSide::Right;
    }
    return CaptionSide::Top;
}

int groupCaptionHeight(const QFont &captionFont, const QString &caption)
{
    if (caption.isEmpty())
        return 0;
    return QFontMetrics(captionFont).size(0, QStringLiteral("W")).height();
}

void RadioGroupModel::setItems(const QStringList &items)
{
    m_items = items;
    if (m_itemIndex >= count())
        m_itemIndex = count() - 1;
    m_checked = m_itemIndex;
}

bool RadioGroupModel::setItemIndex(int index)
{
    index = std::clamp(index, -1, count() - 1);
    m_checked = index;
    if (index == m_itemIndex)
        return false;
    m_itemIndex = index;
    return true;
}

void RadioGroupModel::check(int index)
{
    if (m_readOnly || index < 0 || index >= count())
        return;
    m_checked = index;
}

bool RadioGroupModel::click(int index)
{
    if (index < 0 || index >= count() || index == m_itemIndex)
        return false;
    m_itemIndex = index;
    m_checked = index;
    return true;
}

bool RadioGroupModel::releaseReportsClick(int index, bool inside) const
{
    if (inside)
        return true;
    return index == m_checked && index != m_itemIndex;
}

void RadioGroupModel::setColumns(int columns)
{
    m_columns = std::clamp(columns, MinColumns, MaxColumns);
}

QList<QRect> RadioGroupModel::layout(QSize size, int captionHeight) const
{
    const int n = count();
    if (n == 0)
        return {};
    const int f = FrameWidth;
    const int strip = std::max(f, captionHeight);
    // Edges as left, top, right, bottom with right and bottom exclusive.
    int left = f, top = f, right = size.width() - f, bottom = size.height() - f;
    switch (captionSide(m_alignment)) {
    case CaptionSide::Top:
        top = strip;
        break;
    case CaptionSide::Left:
        left = strip;
        break;
    case CaptionSide::Bottom:
        bottom = size.height() - strip;
        break;
    case CaptionSide::Right:
        right = size.width() - strip;
        break;
    }
    ++left;
    ++top;
    --right;
    --bottom;

    const int rows = (n + m_columns - 1) / m_columns;
    const int columnWidth = (right - left - m_itemOffset) / m_columns - 1;
    const int rowHeight = m_itemHeight >= 0 ? m_itemHeight : (bottom - top - 2) / rows;
    top += (rowHeight % rows) / 2 + 1;

    QList<QRect> rects;
    rects.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        rects.append(QRect(column * columnWidth + left + m_itemOffset, row * rowHeight + top,
                           std::max(0, columnWidth), std::max(0, rowHeight)));
    }
    return rects;
}

int RadioGroupModel::neighbour(int index, int step) const
{
    const int n = count();
    if (n == 0)
        return -1;
    return ((index + step) % n + n) % n;
}

} // namespace ctl
