#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "tests/accessibilitytest.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using ctl::TCtlRadioGroup;
using tk::test::AccessibleEvent;
using tk::test::AccessibleEvents;

namespace {

// "Az adó alanya" as the form has it, in a shown window.
struct Group
{
    QWidget window;
    TCtlRadioGroup *group;

    Group()
    {
        group = new TCtlRadioGroup(&window);
        group->setCaption(u"Az adó alanya"_s);
        group->setItems({u"magánszemély"_s, u"jogi személyiség nélküli gazdasági társaság"_s, u"jogi személy"_s,
                         u"a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése"_s});
        group->setColumns(2);
        group->setGeometry(24, 40, 649, 81);
        window.resize(700, 160);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QAccessibleInterface *iface() const { return QAccessible::queryAccessibleInterface(group); }
    QAccessibleInterface *option(int i) const { return QAccessible::queryAccessibleInterface(group->button(i)); }
    // The buttons whose checked state changed, by index, in the order told.
    QList<int> checkChanges(const AccessibleEvents &events) const
    {
        QList<int> r;
        for (const AccessibleEvent &e : events.all())
            if (e.type == QAccessible::StateChanged && e.changed.checked)
                for (int i = 0; i < group->buttonCount(); ++i)
                    if (e.object == group->button(i))
                        r << i;
        return r;
    }
};

} // namespace

class TestRadioGroupAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupingOfNamedOptions()
    {
        Group g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.window));
        QAccessibleInterface *i = g.iface();
        QCOMPARE(i->role(), QAccessible::Grouping);
        QCOMPARE(i->text(QAccessible::Name), u"Az adó alanya"_s);
        QCOMPARE(i->childCount(), 4);
        for (int k = 0; k < 4; ++k) {
            QAccessibleInterface *o = i->child(k);
            QVERIFY(o);
            QCOMPARE(o->object(), g.group->button(k));
            QCOMPARE(o->role(), QAccessible::RadioButton);
            QCOMPARE(o->text(QAccessible::Name), g.group->Items().at(k));
            QVERIFY(o->state().checkable);
            QVERIFY(!o->state().checked);
            QCOMPARE(o->parent()->object(), g.group);
            QVERIFY(o->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
        // The accelerator's marker is no part of the name.
        g.group->setCaption(u"Az adó &alanya && társai"_s);
        QCOMPARE(g.iface()->text(QAccessible::Name), u"Az adó alanya & társai"_s);
        g.group->setAccessibleName(u"Alany"_s);
        QCOMPARE(g.iface()->text(QAccessible::Name), u"Alany"_s);
    }

    void pressingAnOptionChoosesItAndTellsTheChecks()
    {
        Group g;
        QVERIFY(QTest::qWaitForWindowActive(&g.window));
        QSignalSpy change(g.group, &TCtlRadioGroup::OnChange);
        AccessibleEvents events;
        g.option(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(g.group->ItemIndex(), 2);
        QCOMPARE(change.size(), 1);
        QCOMPARE(change.at(0).at(0).toInt(), 2);
        QVERIFY(g.option(2)->state().checked);
        QVERIFY(g.option(2)->state().focused);
        QCOMPARE(g.checkChanges(events), QList<int>{2});

        // Another choice: the old option loses its mark, the new one gains it.
        events.clear();
        g.option(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(g.group->ItemIndex(), 0);
        QCOMPARE(g.checkChanges(events), (QList<int>{2, 0}));
        QVERIFY(!g.option(2)->state().checked);

        // The arrow keys move the choice on, and the checks are told again.
        events.clear();
        QTest::keyClick(g.group->button(0), Qt::Key_Down);
        QCOMPARE(g.group->ItemIndex(), 1);
        QCOMPARE(g.checkChanges(events), (QList<int>{0, 1}));

        // Choosing the chosen option again changes nothing and says nothing.
        events.clear();
        g.option(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(change.size(), 3);
        QVERIFY(g.checkChanges(events).isEmpty());
    }

    void choosingWithoutAnActiveWindowStillChecks()
    {
        Group g;
        QVERIFY(QTest::qWaitForWindowExposed(&g.window));
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        g.option(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(g.group->ItemIndex(), 3);
        QVERIFY(g.option(3)->state().checked);
    }

    void fewerItemsLeaveNoStaleButton()
    {
        Group g;
        AccessibleEvents events;
        g.option(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        g.group->setItems({u"egy"_s, u"kettő"_s});
        QCOMPARE(g.iface()->childCount(), 2);
        QCOMPARE(g.iface()->child(1)->text(QAccessible::Name), u"kettő"_s);
        QVERIFY(g.iface()->child(1)->state().checked);
    }
};

QTEST_MAIN(TestRadioGroupAccessible)
#include "test_radiogroupaccessible.moc"
