#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;

namespace ctl {

enum class MenuItemState { Normal, Hot, Open };

struct MenuItemLook
{
    // Normal items show the bar's own gradient: no fill of their own.
    std::optional<QColor> from;
    std::optional<QColor> to;
    std::optional<QColor> border;
};

// The bar runs horizontally from the first colour to the second behind all its items.
inline const QColor MenuBarColor{0xD7, 0xD7, 0xE5};
inline const QColor MenuBarColorTo{0xF2, 0xF2, 0xF7};

MenuItemLook menuItemLook(MenuItemState state);

void paintMenuBarBackground(QPainter &painter, const QRect &bar);
// One top-level item: its state's gradient and border, then the text centred in the item.
void paintMenuItem(QPainter &painter, const QRect &item, const QString &text, MenuItemState state,
                   const QFont &font, const QColor &textColor, int textFlags);

} // namespace ctl
