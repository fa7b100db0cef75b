#pragma once

#include "controls/panels/panelpainting.h"

#include <QWidget>

namespace ctl {

// A section panel with a caption bar whose colours show whether the focus is inside it.
// The panel counts as focused while the focus is on the panel itself or on anything inside it.
class TStyledToolPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TStyledToolPanel(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    const ToolPanelLook &look() const { return m_look; }
    // Colours, and whether the caption bar is shown.
    void setLook(const ToolPanelLook &look);
    // Whether the caption bar shows the focused colours.
    bool isFocused() const { return m_focused; }

Q_SIGNALS:
    void focusedChanged(bool focused);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void focusChanged(QWidget *old, QWidget *now);
    void applyLook();

    QString m_caption;
    ToolPanelLook m_look;
    bool m_focused = false;
};

} // namespace ctl
