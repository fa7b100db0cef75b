#pragma once

#include "controls/richtext/ui/tctlrichlabel.h"

class QScrollBar;

namespace rtf {

// A read-only rich-text viewer: a rich label with a vertical and a horizontal scroll bar
// whose positions give the offset of the rendered image in the text area. It takes no focus
// unless given a focus policy.
class TCtlRichScrollBox : public TCtlRichLabel
{
    Q_OBJECT
public:
    explicit TCtlRichScrollBox(QWidget *parent = nullptr);

    QScrollBar *horizontalBar() const { return m_horz; }
    QScrollBar *verticalBar() const { return m_vert; }
    // The part of the box the rendered image is copied into.
    QRect textArea() const;

protected:
    void renderModel() override;
    void paintEvent(QPaintEvent *event) override;
    // The arrow keys, Page Up and Page Down, Home and End scroll the text while the box has the
    // focus, which it has only where a window gives it to it.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QScrollBar *m_horz;
    QScrollBar *m_vert;
};

} // namespace rtf
