#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QStringList>

namespace ctl {

// Side and position of a group's caption.
enum class TCtlGroupCaptionAlign {
    gcaTopLeft,
    gcaTopCenter,
    gcaTopRight,
    gcaLeftBottom,
    gcaLeftCenter,
    gcaLeftTop,
    gcaBottomLeft,
    gcaBottomCenter,
    gcaBottomRight,
    gcaRightTop,
    gcaRightCenter,
    gcaRightBottom,
};

enum class CaptionSide { Top, Left, Bottom, Right };
CaptionSide captionSide(TCtlGroupCaptionAlign alignment);

// Height of the caption strip: the height of "W" in the caption font, 0 without a caption.
int groupCaptionHeight(const QFont &captionFont, const QString &caption);

// A radio group without its widgets: the items, which one is checked, which one is chosen
// (ItemIndex), and where each button goes.
//
// Checking and choosing are separate on purpose: a button is checked as soon as it gains the
// focus, while ItemIndex follows only when the button reports its click.
class RadioGroupModel
{
public:
    static constexpr int MinColumns = 1;
    static constexpr int MaxColumns = 12;
    // Frame width in the bmWindows frame mode.
    static constexpr int FrameWidth = 2;

    const QStringList &Items() const { return m_items; }
    // Keeps ItemIndex within the new count.
    void setItems(const QStringList &items);
    int count() const { return int(m_items.size()); }

    int ItemIndex() const { return m_itemIndex; }
    // Clamps to -1 … count − 1 and checks that button; returns whether ItemIndex changed.
    bool setItemIndex(int index);

    // The button that shows its check mark, -1 for none.
    int checkedIndex() const { return m_checked; }
    // A button gained the focus: it is checked (unless read-only), every other one unchecked.
    void check(int index);

    // The button at index reports a click; returns true when ItemIndex changed, which is
    // when OnClick and OnChange fire.
    bool click(int index);
    // Whether releasing the mouse over the button (inside or not) reports a click.
    bool releaseReportsClick(int index, bool inside) const;

    int Columns() const { return m_columns; }
    void setColumns(int columns);
    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int height) { m_itemHeight = height; }
    int ItemOffset() const { return m_itemOffset; }
    void setItemOffset(int offset) { m_itemOffset = offset; }
    TCtlGroupCaptionAlign Alignment() const { return m_alignment; }
    void setAlignment(TCtlGroupCaptionAlign alignment) { m_alignment = alignment; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // The button rectangles for a group of this size whose caption strip is captionHeight high.
    QList<QRect> layout(QSize size, int captionHeight) const;

    // The button the arrow keys move to: step −1 (Left, Up) or +1 (Right, Down), wrapping.
    int neighbour(int index, int step) const;

private:
    QStringList m_items;
    int m_itemIndex = -1;
    int m_checked = -1;
    int m_columns = 1;
    int m_itemHeight = -1;
    int m_itemOffset = 4;
    TCtlGroupCaptionAlign m_alignment = TCtlGroupCaptionAlign::gcaTopLeft;
    bool m_readOnly = false;
};

} // namespace ctl
