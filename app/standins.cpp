#include "app/standins.h"

#include "runtime/floatconv.h"
#include "runtime/formatsettings.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QRadioButton>

namespace app {

StandInNumEdit::StandInNumEdit(QWidget *parent) : QLineEdit(parent)
{
    setText(QStringLiteral("0"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

long double StandInNumEdit::value() const
{
    QString t = text();
    t.remove(rt::formatSettings().thousandSeparator);
    if (t.isEmpty())
        t = QStringLiteral("0");
    else if (t == QStringLiteral("-"))
        t = QStringLiteral("-0");
    return rt::StrToFloat(t);
}

void StandInNumEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // Exit means the focus moved to another control of the window, not that the window
    // lost activation or a popup opened.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    const QString normal = rt::formatFixed(value(), 14, 0);
    if (normal != text())
        setText(normal);
    if (OnExit)
        OnExit();
}

StandInRadioGroup::StandInRadioGroup(const QString &caption, const QStringList &items, int columns,
                                     QWidget *parent)
    : QGroupBox(caption, parent)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setVerticalSpacing(0);
    const int rows = (int(items.size()) + columns - 1) / columns;
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setFocusPolicy(Qt::ClickFocus);
        group->addButton(b, i);
        layout->addWidget(b, i % rows, i / rows);
        m_buttons.append(b);
    }
}

int StandInRadioGroup::itemIndex() const
{
    for (int i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->isChecked())
            return i;
    return -1;
}

void StandInRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < m_buttons.size())
        m_buttons[index]->setChecked(true);
}

ComputedLabel::ComputedLabel(int rightEdge, int top, QWidget *parent)
    : QLabel(parent), m_right(rightEdge), m_top(top)
{
    setAlignment(Qt::AlignRight | Qt::AlignTop);
    setCaption(QStringLiteral("0"));
}

void ComputedLabel::setCaption(const QString &caption)
{
    setText(caption);
    adjustSize();
    move(m_right - width(), m_top);
}

SectionPanel::SectionPanel(const QString &caption, QWidget *parent) : QFrame(parent), m_caption(caption)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xF6, 0xF4, 0xE7));
    setPalette(pal);
    auto *bar = new QLabel(caption, this);
    bar->setObjectName(QStringLiteral("caption"));
    bar->setGeometry(1, 1, 721 - 2, 21);
    bar->setAutoFillBackground(true);
    QPalette barPal = bar->palette();
    barPal.setColor(QPalette::Window, QColor(0xD2, 0xCF, 0xBE));
    barPal.setColor(QPalette::WindowText, QColor(0x4F, 0x50, 0x45));
    bar->setPalette(barPal);
    QFont f = bar->font();
    f.setBold(true);
    bar->setFont(f);
    bar->setIndent(3);
}

} // namespace app
