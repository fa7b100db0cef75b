#include "app/accessibility.h"

#include "app/form1.h"
#include "declaration/catalogue.h"

#include "runtime/floatconv.h"

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

void giveGroupKeys(TForm1 &form)
{
    for (const GroupKey &k : groupKeys) {
        const QString group = QString::fromUtf16(k.group);
        if (!form.control(group))
            continue;
        auto *shortcut = new QShortcut(QKeySequence(Qt::ALT | k.letter), &form);
        shortcut->setObjectName(group + u"Key"_s);
        QObject::connect(shortcut, &QShortcut::activated, &form, [&form, group] { form.focusField(group); });
    }
}

void nameFields(TForm1 &form)
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
void keepInvisibleOutOfFocus(TForm1 &form)
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
void nameFirstStop(TForm1 &form)
{
    if (auto *scroll = form.findChild<QScrollArea *>(u"Form1Scroll"_s)) {
        scroll->setAccessibleName(u"BEVALLÁS 2006 évi telekadó"_s);
        scroll->setAccessibleDescription(u"Tab: a következő mező, F1: kitöltési útmutató"_s);
    }
}

} // namespace

QHash<QString, QString> computedResults(const TForm1 &form)
{
    QHash<QString, QString> values;
    for (const decl::ComputedLabel &l : decl::computedLabels())
        if (auto *label = qobject_cast<QLabel *>(form.control(l.component)))
            values.insert(l.component, label->text());
    return values;
}

QString resultsMessage(const QHash<QString, QString> &before, const QHash<QString, QString> &after)
{
    QStringList told;
    for (const decl::ComputedLabel &l : decl::computedLabels()) {
        const QString value = after.value(l.component);
        if (value.isEmpty() || value == before.value(l.component))
            continue;
        // The areas are shown bare; read out, they are grouped as the tax is, with their unit.
        const bool amount = value.endsWith(u"Ft."_s);
        told << l.name + u": "_s + (amount ? value : rt::groupThousands(value, u'.') + u" nm2"_s);
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

void makeAccessible(TForm1 &form)
{
    nameFields(form);
    giveGroupKeys(form);
    keepInvisibleOutOfFocus(form);
    nameFirstStop(form);
}

} // namespace app
