#pragma once

#include <QLabel>

namespace app {

// A computed label: sized to its caption, its right edge fixed while the caption grows left.
// Assistive technology reads its caption as a value and hears of each change.
class ComputedLabel : public QLabel
{
    Q_OBJECT
public:
    ComputedLabel(int rightEdge, int top, QWidget *parent = nullptr);
    void setCaption(const QString &caption);

private:
    int m_right;
    int m_top;
};

} // namespace app
