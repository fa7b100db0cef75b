#pragma once

// Plain Qt widgets standing in for the custom controls until those exist, with the
// behaviour the form relies on already now.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <functional>

class QRadioButton;

namespace app {

// Numeric field: starts at "0" and, on exit, rewrites its text into the normal form before
// its exit handler runs.
class StandInNumEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit StandInNumEdit(QWidget *parent = nullptr);

    long double value() const;
    std::function<void()> OnExit;

protected:
    void focusOutEvent(QFocusEvent *event) override;
};

// Radio group: a framed box of radio buttons in columns; ItemIndex -1 until chosen.
class StandInRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    StandInRadioGroup(const QString &caption, const QStringList &items, int columns, QWidget *parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);

private:
    QList<QRadioButton *> m_buttons;
};

// A computed label: bold, sized to its caption, its right edge fixed while it grows left.
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

// A section panel with its caption bar.
class SectionPanel : public QFrame
{
    Q_OBJECT
public:
    SectionPanel(const QString &caption, QWidget *parent = nullptr);
    QString caption() const { return m_caption; }

private:
    QString m_caption;
};

} // namespace app
