#include "runtime/ui/growtotexts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace rt {

namespace {

constexpr int unbounded = 1 << 20;

// Trailing blanks leave no ink; designed titles such as "Nyomtató  " need no room for them.
QString inkText(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// How much wider and taller the control must be for its text, as its style lays the text out.
QSize shortfall(QWidget *w)
{
    const QFontMetrics fm(w->font());
    QString text;
    QRect room;
    int flags = 0;
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
            return QSize(0, 0);
        text = label->text();
        const int m = label->margin();
        room = label->contentsRect().adjusted(m, m, -m, -m);
        if (label->wordWrap())
            flags = Qt::TextWordWrap;
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (group->title().isEmpty())
            return QSize(0, 0);
        QStyleOptionGroupBox opt;
        opt.initFrom(group);
        opt.text = group->title();
        opt.lineWidth = 1;
        opt.textAlignment = group->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (group->isCheckable())
            opt.subControls |= QStyle::SC_GroupBoxCheckBox;
        const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group);
        // The style sizes the title's room from the text; it must lie inside the box.
        return QSize(std::max(0, title.right() + 1 - group->width()), 0);
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QStyle::SubElement contents;
        if (qobject_cast<QCheckBox *>(w))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<QRadioButton *>(w))
            contents = QStyle::SE_RadioButtonContents;
        else if (qobject_cast<QPushButton *>(w))
            contents = QStyle::SE_PushButtonContents;
        else
            return QSize(0, 0);
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        text = button->text();
        room = button->style()->subElementRect(contents, &opt, button);
    } else {
        return QSize(0, 0);
    }
    text = inkText(text);
    if (text.isEmpty())
        return QSize(0, 0);
    const QRect needed = fm.boundingRect(QRect(0, 0, flags ? room.width() : unbounded, unbounded), flags, text);
    return QSize(std::max(0, needed.width() - room.width()), std::max(0, needed.height() - room.height()));
}

bool rowsOverlap(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// Grows the children of one container (its group boxes first) and returns how far their
// extent grew to the right and down.
QSize growChildren(QWidget *container, QWidget *window)
{
    if (container->layout())
        return QSize(0, 0);
    QList<QWidget *> children;
    for (QObject *o : container->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && w->isVisibleTo(window))
            children.append(w);
    }
    if (children.isEmpty())
        return QSize(0, 0);

    QHash<QWidget *, QRect> before;
    QHash<QWidget *, QSize> growth;
    QRect extentBefore;
    for (QWidget *w : std::as_const(children)) {
        before.insert(w, w->geometry());
        extentBefore |= w->geometry();
        QSize grow = shortfall(w);
        // A group box also grows by what its own contents need.
        if (qobject_cast<QGroupBox *>(w))
            grow = grow.expandedTo(growChildren(w, window));
        growth.insert(w, grow);
    }

    // Shifts follow the designed order: left to right within a row, top to bottom.
    std::sort(children.begin(), children.end(), [&](QWidget *a, QWidget *b) {
        const QRect ra = before.value(a), rb = before.value(b);
        return ra.left() != rb.left() ? ra.left() < rb.left() : ra.top() < rb.top();
    });
    QHash<QWidget *, int> shiftX;
    for (QWidget *w : std::as_const(children)) {
        const QRect r = before.value(w);
        int shift = 0;
        for (QWidget *v : std::as_const(children)) {
            const QRect rv = before.value(v);
            if (v != w && shiftX.contains(v) && rv.right() < r.left() && rowsOverlap(rv, r))
                shift = std::max(shift, shiftX.value(v) + growth.value(v).width());
        }
        shiftX.insert(w, shift);
    }
    std::sort(children.begin(), children.end(), [&](QWidget *a, QWidget *b) {
        return before.value(a).top() < before.value(b).top();
    });
    // Whatever lies wholly below a grown control moves down, the whole width of the container,
    // so that rows stay aligned.
    QHash<QWidget *, int> shiftY;
    for (QWidget *w : std::as_const(children)) {
        const QRect r = before.value(w);
        int shift = 0;
        for (QWidget *v : std::as_const(children))
            if (v != w && shiftY.contains(v) && before.value(v).bottom() < r.top())
                shift = std::max(shift, shiftY.value(v) + growth.value(v).height());
        shiftY.insert(w, shift);
    }

    QRect extentAfter;
    for (QWidget *w : std::as_const(children)) {
        const QRect r = before.value(w);
        const QRect moved(r.topLeft() + QPoint(shiftX.value(w), shiftY.value(w)), r.size() + growth.value(w));
        if (moved != r)
            w->setGeometry(moved);
        extentAfter |= moved;
    }
    return QSize(std::max(0, extentAfter.right() - extentBefore.right()),
                 std::max(0, extentAfter.bottom() - extentBefore.bottom()));
}

} // namespace

void growToTexts(QWidget *window)
{
    if (!window)
        return;
    const QSize grow = growChildren(window, window);
    if (grow.width() == 0 && grow.height() == 0)
        return;
    const QSize size = window->size() + grow;
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}

} // namespace rt
