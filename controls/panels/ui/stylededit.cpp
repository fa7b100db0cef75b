#include "controls/panels/ui/stylededit.h"

#include "controls/common/singleline.h"
#include "controls/common/ui/accessiblelineedit.h"
#include "controls/common/ui/warninglook.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QValidator>

#include <limits>

namespace ctl {

namespace {

// Every change of the text passes here, however it came (keys, paste, the middle button, a
// drop, an input method, setText): line breaks and tabs become blanks, so that the printed
// form never gets a line break from a single-line field.
class SingleLineValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        input = singleLine(input, &pos);
        return Acceptable;
    }
};

} // namespace

TStyledEdit::TStyledEdit(QWidget *parent) : QLineEdit(parent)
{
    installLineEditAccessibility();
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new SingleLineValidator(this));
}

void TStyledEdit::setWarning(bool on)
{
    if (m_warning == on)
        return;
    m_warning = on;
    update();
}

void TStyledEdit::initStyleOption(QStyleOptionFrame *option) const
{
    QLineEdit::initStyleOption(option);
    // Only the panel takes the warning ground; the text keeps the widget's own colours.
    if (m_warning)
        option->palette.setColor(QPalette::Base, QColor::fromRgb(warningGroundRgb));
}

void TStyledEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (!m_warning)
        return;
    QPainter p(this);
    p.setPen(QColor::fromRgb(warningFrameRgb));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TStyledEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Re-activating the window only gives the focus back; a mouse press places the caret itself.
    switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        break;
    default:
        if (m_autoSelect)
            selectAll();
        break;
    }
}

void TStyledEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Swallowed: no beep, no returnPressed, nothing passed on to a default button.
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ctl
