#pragma once

#include "controls/panels/menubarpainting.h"

#include <QMenuBar>

namespace ctl {

// The window's menu bar, drawn in its own style: one horizontal gradient behind all items, a
// light-orange highlight under the mouse and a grey-blue one while an item is pressed or open.
class TStyledMainMenu : public QMenuBar
{
    Q_OBJECT
public:
    explicit TStyledMainMenu(QWidget *parent = nullptr);

    // The state an item is drawn in now.
    MenuItemState itemState(QAction *action) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QAction *m_pressed = nullptr;
    bool m_pressedInside = false;
};

} // namespace ctl
