#include "app/window/accessibility.h"

#include "app/window/formview.h"

#include <QWidget>
#include "declaration/catalogue.h"

#include "runtime/floatconv.h"

#include <QAccessible>
#include <QLabel>
#include <QScrollArea>
#include <QStringList>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace app {

namespace {

// Tab never enters a radio group, and the groups' captions carry no accelerator: these keys lead
// the focus into a group without choosing anything; the arrows or Space then choose.
struct GroupKey
{
    const char16_t *group;
    Qt::Key letter;
};
constexpr GroupKey groupKeys[] = {
    {u"CtlRadioGroup5", Qt::Key_A}, // "Az adó alanya"
    {u"CtlRadioGroup6", Qt::Key_H}, // "Használat tipusa"
    {u"CtlRadioGroup1", Qt::Key_V}, // "Változás oka"
};

void giveGroupKeys(FormView &form)
{
    for (const GroupKey &k : groupKeys) {
        const QString group = QString::fromUtf16(k.group);
        if (!form.control(group))
            continue;
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | k.letter), form.widget());
        shortcut->setObjectName(group + u"Key"_s);
        QObject::connect(shortcut, &QShortcut::activated, form.widget(), [&form, group] { form.focusField(group); });
    }
}

void nameFields(FormView &form)
{
    for (const decl::Field &f : decl::fields()) {
        QWidget *w = form.control(f.component);
        if (!w)
            continue;
        w->setAccessibleName(accessibleNameOf(f.screenCaption));
        if (const decl::FieldBlock *block = decl::findBlock(f))
            w->setAccessibleDescription(block->name);
    }
    for (const decl::ComputedLabel &l : decl::computedLabels())
        if (QWidget *w = form.control(l.component))
            w->setAccessibleName(l.name);
}

// A control of no width or no height cannot be seen: neither Tab nor a screen reader may land there.
void keepInvisibleOutOfFocus(FormView &form)
{
    QWidget *outer = form.control(u"StyledPanel1"_s);
    if (!outer)
        return;
    const QList<QWidget *> all = outer->findChildren<QWidget *>();
    for (QWidget *w : all)
        if ((w->focusPolicy() & Qt::TabFocus) && (w->width() == 0 || w->height() == 0))
            w->setFocusPolicy(Qt::NoFocus);
}

// The window opens with the focus on the scrolling page, which lets a sighted user scroll before
// choosing a field; named after the form, it tells a listener where the focus is.
void nameFirstStop(FormView &form)
{
    if (auto *scroll = form.widget()->findChild<QScrollArea *>(u"Form1Scroll"_s)) {
        scroll->setAccessibleName(u"BEVALLÁS 2006 évi telekadó"_s);
        scroll->setAccessibleDescription(u"Tab: a következő mező, F1: kitöltési útmutató"_s);
    }
}

// The computed values stand in the Tab order after the row above them, as focus stops only while
// a screen reader listens: a listener reaches a result on demand, everybody else tabs as before.
struct ResultStop
{
    const char16_t *label;
    const char16_t *after;
};
constexpr ResultStop resultStops[] = {
    {u"Label1", u"NumEdit2"},
    {u"Label2", u"NumEdit8"},
    {u"Label3", u"Label2"},
    {u"Label4", u"Label3"},
};

void placeResultStops(FormView &form)
{
    // Qt orders only widgets that take the focus.
    for (const ResultStop &r : resultStops)
        if (QWidget *label = form.control(QString::fromUtf16(r.label)))
            label->setFocusPolicy(Qt::TabFocus);
    for (const ResultStop &r : resultStops) {
        QWidget *label = form.control(QString::fromUtf16(r.label));
        QWidget *after = form.control(QString::fromUtf16(r.after));
        if (label && after)
            QWidget::setTabOrder(after, label);
    }
    followScreenReader(form);
}

} // namespace

void followScreenReader(FormView &form)
{
    const Qt::FocusPolicy policy = QAccessible::isActive() ? Qt::TabFocus : Qt::NoFocus;
    for (const ResultStop &r : resultStops)
        if (QWidget *label = form.control(QString::fromUtf16(r.label)); label && label->focusPolicy() != policy)
            label->setFocusPolicy(policy);
}

QHash<QString, QString> computedResults(const FormView &form)
{
    QHash<QString, QString> values;
    for (const decl::ComputedLabel &l : decl::computedLabels())
        if (auto *label = qobject_cast<QLabel *>(form.control(l.component)))
            values.insert(l.component, label->text());
    return values;
}

QString spokenResult(const QString &component, const QString &value)
{
    // The areas are shown bare; read out, they are grouped as the tax is, with their unit. The
    // tax shows its own, but not before the first computation.
    if (value.endsWith(u"Ft."_s))
        return value;
    const bool tax = component == u"Label4"_s;
    return rt::groupThousands(value, u'.') + (tax ? u" Ft."_s : u" nm2"_s);
}

QString resultsMessage(const QHash<QString, QString> &before, const QHash<QString, QString> &after)
{
    QStringList told;
    for (const decl::ComputedLabel &l : decl::computedLabels()) {
        const QString value = after.value(l.component);
        if (value.isEmpty() || value == before.value(l.component))
            continue;
        told << l.name + u": "_s + spokenResult(l.component, value);
    }
    QString message = told.join(u". "_s);
    if (!message.isEmpty() && !message.endsWith(u'.'))
        message += u'.';
    return message;
}

QString accessibleNameOf(const QString &screenCaption)
{
    return decl::captionName(screenCaption);
}

void makeAccessible(FormView &form)
{
    nameFields(form);
    giveGroupKeys(form);
    keepInvisibleOutOfFocus(form);
    nameFirstStop(form);
    placeResultStops(form);
}

} // namespace app
