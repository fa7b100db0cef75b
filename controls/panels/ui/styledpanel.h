#pragma once

#include <QWidget>

namespace ctl {

// The flat background panel that carries the whole form: Color with a one-pixel border.
class TStyledPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)

public:
    explicit TStyledPanel(QWidget *parent = nullptr);

    QColor Color() const { return m_color; }
    // Children without a colour of their own take this one.
    void setColor(const QColor &color);
    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    // Inset of the (unused) text area; the border line itself stays one pixel.
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width) { m_borderWidth = width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color{0xEA, 0xE5, 0xCF};
    QColor m_borderColor{0x8D, 0xA4, 0xAC};
    int m_borderWidth = 3;
};

} // namespace ctl
