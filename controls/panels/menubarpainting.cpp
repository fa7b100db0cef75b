#include "controls/panels/menubarpainting.h"

#include "gradientbands_p.h"

#include <QPainter>

namespace ctl {

MenuItemLook menuItemLook(MenuItemState state)
{
    switch (state) {
    case MenuItemState::Normal:
        return {};
    case MenuItemState::Hot:
        return {QColor(0xFF, 0xF6, 0xCF), QColor(0xFF, 0xD8, 0x9D), QColor(0x4B, 0x4B, 0x6F)};
    case MenuItemState::Open:
        return {QColor(0xE8, 0xE8, 0xF2), QColor(0xB9, 0xB8, 0xCD), QColor(0x7C, 0x7C, 0x94)};
    }
    return {};
}

void paintMenuBarBackground(QPainter &painter, const QRect &bar)
{
    // One band per pixel column keeps the run smooth however wide the bar is.
    fillGradient(painter, bar, MenuBarColor, MenuBarColorTo, std::max(1, bar.width()), Qt::Horizontal);
}

void paintMenuItem(QPainter &painter, const QRect &item, const QString &text, MenuItemState state,
                   const QFont &font, const QColor &textColor, int textFlags)
{
    const MenuItemLook look = menuItemLook(state);
    painter.save();
    if (look.from && look.to)
        fillGradient(painter, item, *look.from, *look.to, std::max(1, item.height()), Qt::Vertical);
    if (look.border) {
        painter.setPen(*look.border);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(item.adjusted(0, 0, -1, -1));
    }
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(item, Qt::AlignCenter | Qt::TextSingleLine | textFlags, text);
    painter.restore();
}

} // namespace ctl
