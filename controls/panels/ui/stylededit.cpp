#include "controls/panels/ui/stylededit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <limits>

namespace ctl {

TStyledEdit::TStyledEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
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
