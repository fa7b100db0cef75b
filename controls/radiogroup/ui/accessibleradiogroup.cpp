#include "accessibleradiogroup_p.h"

#include "controls/radiogroup/ui/ctlradiogroup.h"

#include <QAccessibleWidget>

namespace ctl {

namespace {

// The caption as it reads: an "&" marks the accelerator, "&&" stands for one "&".
QString withoutAccelerator(const QString &caption)
{
    QString s;
    s.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&'))
                s += caption.at(++i);
            continue;
        }
        s += caption.at(i);
    }
    return s;
}

// The group: a grouping named by its caption, its buttons as children.
class AccessibleRadioGroup : public QAccessibleWidget
{
public:
    explicit AccessibleRadioGroup(TCtlRadioGroup *group) : QAccessibleWidget(group, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = withoutAccelerator(static_cast<TCtlRadioGroup *>(object())->Caption());
        return s;
    }
};

// One option: a radio button named by its text, checked as its glyph shows. Pressing it chooses
// it as a click does.
class AccessibleRadioButton : public QAccessibleWidget
{
public:
    explicit AccessibleRadioButton(TCtlRadioGroupButton *button)
        : QAccessibleWidget(button, QAccessible::RadioButton)
    {
    }

    TCtlRadioGroupButton *button() const { return static_cast<TCtlRadioGroupButton *>(object()); }

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = button()->Caption();
        return s;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->Checked();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            button()->choose();
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &) const override { return QStringList(); }
};

QAccessibleInterface *radioGroupFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TCtlRadioGroup::staticMetaObject.className())) {
        if (auto *group = qobject_cast<TCtlRadioGroup *>(object))
            return new AccessibleRadioGroup(group);
    } else if (className == QLatin1StringView(TCtlRadioGroupButton::staticMetaObject.className())) {
        if (auto *button = qobject_cast<TCtlRadioGroupButton *>(object))
            return new AccessibleRadioButton(button);
    }
    return nullptr;
}

} // namespace

void installRadioGroupAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(radioGroupFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ctl
