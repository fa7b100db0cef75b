#include "app/window/accessibility.h"
#include "app/window/form1.h"
#include "app/window/form1layout.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "tests/accessibilitytest.h"
#include "tests/testhelpers.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using app::TForm1;
using tk::test::AccessibleEvent;
using tk::test::AccessibleEvents;

namespace {

QAccessibleInterface *ifaceOf(QWidget *w)
{
    return QAccessible::queryAccessibleInterface(w);
}

} // namespace

class TestForm1Accessible : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;

private Q_SLOTS:
    void initTestCase() { tk::test::useSeparators(QLatin1Char(',')); }

    void captionWithoutItsColon_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << u"neve:"_s << u"neve"_s;
        QTest::newRow("long") << u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):"_s
                              << u"A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év)"_s;
        QTest::newRow("colon inside kept") << u"f: helyi és helyközi:"_s << u"f: helyi és helyközi"_s;
        QTest::newRow("no colon") << u"nm2"_s << u"nm2"_s;
        QTest::newRow("blanks") << u"  cime: "_s << u"cime"_s;
    }
    void captionWithoutItsColon()
    {
        QFETCH(QString, caption);
        QTEST(app::accessibleNameOf(caption), "name");
    }

    // Every field of the catalogue is found by its screen caption with the role of its kind;
    // repeated captions are told apart by whose they are.
    void everyControlNamedFromTheCatalogue()
    {
        TForm1 form;
        for (const decl::Field &f : decl::fields()) {
            QAccessibleInterface *i = ifaceOf(form.control(f.component));
            QVERIFY2(i, qPrintable(f.component));
            QCOMPARE(i->role(), QAccessible::EditableText);
            QCOMPARE(i->text(QAccessible::Name), app::accessibleNameOf(f.screenCaption));
            QVERIFY(!i->text(QAccessible::Name).endsWith(u':'));
            QVERIFY2(i->textInterface(), qPrintable(f.component));
            // A masked field is read without its placeholders and says what it expects.
            const bool masked = f.kind == decl::FieldKind::TaxNumber || f.kind == decl::FieldKind::TaxId;
            const QString initial = decl::initialText(f.kind);
            QCOMPARE(i->text(QAccessible::Value), masked ? QString(initial.size(), u' ') : initial);
            const decl::FieldBlock *block = decl::findBlock(f);
            const QString whose = block ? block->name : QString();
            if (f.kind == decl::FieldKind::TaxNumber)
                QCOMPARE(i->text(QAccessible::Description), whose + u"; 8, 1 és 2 számjegy"_s);
            else if (f.kind == decl::FieldKind::TaxId)
                QCOMPARE(i->text(QAccessible::Description), whose + u"; 10 számjegy"_s);
            else
                QCOMPARE(i->text(QAccessible::Description), whose);
        }
        // Name and description together tell the four "neve" fields apart.
        QSet<QString> said;
        for (const decl::Field &f : decl::fields()) {
            QAccessibleInterface *i = ifaceOf(form.control(f.component));
            const QString whole = i->text(QAccessible::Name) + u'|' + i->text(QAccessible::Description);
            QVERIFY2(!said.contains(whole), qPrintable(whole));
            said.insert(whole);
        }
        QCOMPARE(ifaceOf(form.control(u"StyledEdit15"_s))->text(QAccessible::Description), u"1. tulajdonostárs"_s);
        QCOMPARE(ifaceOf(form.control(u"StyledEdit35"_s))->text(QAccessible::Description), u"adózó"_s);

        for (const decl::RadioGroup &g : decl::radioGroups()) {
            QAccessibleInterface *i = ifaceOf(form.control(g.component));
            QCOMPARE(i->role(), QAccessible::Grouping);
            QCOMPARE(i->text(QAccessible::Name), g.caption);
            QCOMPARE(i->childCount(), g.items.size());
            for (int k = 0; k < g.items.size(); ++k) {
                QCOMPARE(i->child(k)->role(), QAccessible::RadioButton);
                QCOMPARE(i->child(k)->text(QAccessible::Name), g.items.at(k));
                QVERIFY(!i->child(k)->state().checked);
            }
        }
        const QStringList sections{u"I. AZ ADÓ ALANYA"_s, u"II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)"_s,
                                   u"III. AZ ADÓ MEGÁLLAPITÁSA"_s, u"EGYÉB"_s};
        for (int k = 0; k < decl::sections().size(); ++k) {
            QAccessibleInterface *i = ifaceOf(form.control(decl::sections().at(k).panel));
            QCOMPARE(i->role(), QAccessible::Grouping);
            QCOMPARE(i->text(QAccessible::Name), sections.at(k));
        }
        // A value is named after its row and says itself, as it is read out.
        const QStringList values{u"c. beépitetlen belterületi földrészlet (a-b): 0 nm2"_s, u"j. levonás összesen: 0 nm2"_s,
                                 u"k. Adóalap: 0 nm2"_s, u"fizetendő adó: 0 Ft."_s};
        for (int k = 0; k < decl::computedLabels().size(); ++k) {
            QAccessibleInterface *i = ifaceOf(form.control(decl::computedLabels().at(k).component));
            QCOMPARE(i->role(), QAccessible::StaticText);
            QCOMPARE(i->text(QAccessible::Name), values.at(k));
            QCOMPARE(i->text(QAccessible::Value), u"0"_s);
            QVERIFY(i->state().readOnly);
            QCOMPARE(i->textInterface()->text(0, -1), u"0"_s);
        }
        // The captions read as what they say.
        for (const app::CaptionPlacement &c : app::form1Captions()) {
            QAccessibleInterface *i = ifaceOf(form.control(c.component));
            QCOMPARE(i->role(), QAccessible::StaticText);
            QCOMPARE(i->text(QAccessible::Name).simplified(), c.text);
        }
        // The window holds no unnamed field and no name with an accelerator marker.
        for (QAction *a : form.menuBar()->actions()) {
            QAccessibleInterface *i = ifaceOf(form.menuBar());
            for (int k = 0; k < i->childCount(); ++k)
                QVERIFY(!i->child(k)->text(QAccessible::Name).contains(u'&'));
            QVERIFY(!a->text().remove(u'&').isEmpty());
        }
    }

    void computedValuesAreToldWhenTheyChange()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        AccessibleEvents events;
        QWidget *a = form.control(u"NumEdit1"_s);
        a->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(a, u"1500"_s);
        QTest::keyClick(a, Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), u"300"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *tax = form.control(u"Label4"_s);
        QCOMPARE(ifaceOf(tax)->text(QAccessible::Value), u"250.800 Ft."_s);
        QCOMPARE(ifaceOf(tax)->textInterface()->text(0, -1), u"250.800 Ft."_s);
        // Each exit computed: after a, then after b; each new value is told whole.
        const QList<AccessibleEvent> told = events.of(tax, QAccessible::ValueChanged);
        QCOMPARE(told.size(), 2);
        QCOMPARE(told[0].value.toString(), u"313.500 Ft."_s);
        QCOMPARE(told[1].value.toString(), u"250.800 Ft."_s);
        // Qt's label adds edits of its own text layout while it can take the focus; the label's
        // own change events carry the old value whole.
        QList<AccessibleEvent> text;
        for (const AccessibleEvent &e : events.of(tax, QAccessible::TextUpdated))
            if (!e.removed.trimmed().isEmpty())
                text << e;
        QCOMPARE(text.size(), 2);
        QCOMPARE(text[0].removed, u"0"_s);
        QCOMPARE(text[1].removed, u"313.500 Ft."_s);
        QCOMPARE(text[1].inserted, u"250.800 Ft."_s);
        // Label2 stays 0: nothing to tell.
        QVERIFY(events.of(form.control(u"Label2"_s), QAccessible::ValueChanged).isEmpty());
        QCOMPARE(ifaceOf(form.control(u"Label1"_s))->text(QAccessible::Value), u"1200"_s);
        // A listener is told the values that changed, once per computation, grouped, with
        // their units, after the focus has moved.
        QVERIFY(events.announcements().isEmpty());
        QTRY_COMPARE(events.announcements().size(), 2);
        QCOMPARE(events.announcements().at(0),
                 u"c. beépitetlen belterületi földrészlet (a-b): 1.500 nm2. k. Adóalap: 1.500 nm2. "
                 u"fizetendő adó: 313.500 Ft."_s);
        QCOMPARE(events.announcements().at(1),
                 u"c. beépitetlen belterületi földrészlet (a-b): 1.200 nm2. k. Adóalap: 1.200 nm2. "
                 u"fizetendő adó: 250.800 Ft."_s);
        // Leaving a field with nothing changed tells nothing.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::qWait(50);
        QCOMPARE(events.announcements().size(), 2);
        QVERIFY(m_messages.isEmpty());
    }

    // While a screen reader listens the results are focus stops after the row above them; Tab
    // skips them again once it has gone.
    void resultsAreFocusStopsOnlyForAListener()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget *b = form.control(u"NumEdit2"_s);
        QWidget *h = form.control(u"NumEdit8"_s);
        {
            AccessibleEvents events;
            b->setFocus(Qt::TabFocusReason);
            QTest::keyClick(b, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), form.control(u"Label1"_s));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), form.control(u"NumEdit3"_s));
            h->setFocus(Qt::TabFocusReason);
            QStringList visited;
            for (int k = 0; k < 3; ++k) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                visited << QApplication::focusWidget()->objectName();
            }
            QCOMPARE(visited, QStringList({u"Label2"_s, u"Label3"_s, u"Label4"_s}));
        }
        b->setFocus(Qt::TabFocusReason);
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form.control(u"NumEdit3"_s));
    }

    // A warning is told as the field that raised it is left, once; it stays the description.
    void warningIsToldAsTheFieldIsLeft()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        AccessibleEvents events;
        QWidget *taxNumber = form.control(u"CtlMaskEdit6"_s);
        taxNumber->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(taxNumber, u"1234"_s);
        QTest::keyClick(taxNumber, Qt::Key_Tab);
        QTRY_COMPARE(events.announcements().size(), 1);
        QVERIFY(events.announcements().at(0).startsWith(u"Az adószám hiányos"_s));
        QVERIFY(ifaceOf(taxNumber)->text(QAccessible::Description).contains(events.announcements().at(0)));
        // Back and out again with the same warning: not told twice.
        taxNumber->setFocus(Qt::BacktabFocusReason);
        QTest::keyClick(taxNumber, Qt::Key_Tab);
        QTest::qWait(50);
        QCOMPARE(events.announcements().size(), 1);
    }

    void choosingAnOptionIsTold()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *group = qobject_cast<ctl::TCtlRadioGroup *>(form.control(u"CtlRadioGroup5"_s));
        QAccessibleInterface *jogi = ifaceOf(form.control(u"CtlRadioGroup5"_s))->child(2);
        QCOMPARE(jogi->text(QAccessible::Name), u"jogi személy"_s);
        AccessibleEvents events;
        jogi->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(form.form().itemIndex(u"CtlRadioGroup5"_s), 2);
        QVERIFY(jogi->state().checked);
        const QList<AccessibleEvent> changes = events.of(group->button(2), QAccessible::StateChanged);
        QCOMPARE(changes.size(), 1);
        QVERIFY(changes[0].changed.checked);
    }

    // Tab visits the section panels and the fields in the catalogue's order, never a control that
    // cannot be seen, and comes round again.
    void focusFollowsTheCatalogueAndSkipsTheInvisible()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget *hidden = form.control(QString::fromUtf16(decl::hiddenNumEdit));
        QCOMPARE(hidden->width(), 0);
        QCOMPARE(hidden->focusPolicy(), Qt::NoFocus);

        QStringList expected;
        for (int sec = 0; sec < decl::sections().size(); ++sec) {
            expected << decl::sections().at(sec).panel;
            QMap<int, QString> fields;
            for (const decl::Field &f : decl::fields())
                if (f.section == sec)
                    fields.insert(f.tab, f.component);
            expected << fields.values();
        }
        QWidget *start = QApplication::focusWidget();
        QVERIFY(start);
        QStringList visited;
        for (int k = 0; k < 200; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *w = QApplication::focusWidget();
            QVERIFY(w);
            QVERIFY2(w->width() > 0 && w->height() > 0 && w->isVisible(), qPrintable(w->objectName()));
            if (w == start)
                break;
            visited << w->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void menuCommandsHaveTheirOwnLetters()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QSet<QKeySequence> letters;
        for (QAction *a : form.menuBar()->actions()) {
            QCOMPARE(a->text().count(u'&'), 1);
            const QKeySequence letter = QKeySequence::mnemonic(a->text());
            QVERIFY2(!letter.isEmpty(), qPrintable(a->text()));
            QVERIFY(!letters.contains(letter));
            letters.insert(letter);
        }
        // F is the file menu's.
        QVERIFY(letters.contains(QKeySequence(Qt::ALT | Qt::Key_F)));

        // Alt with the letter runs the command, wherever the focus is.
        QAction *guide = form.menuBar()->findChild<QAction *>(u"Kitltsitmutat1"_s);
        QAction *leave = form.menuBar()->findChild<QAction *>(u"Kilps1"_s);
        QVERIFY(guide && leave);
        QSignalSpy guided(guide, &QAction::triggered);
        QSignalSpy left(leave, &QAction::triggered);
        QWidget *field = form.control(u"StyledEdit35"_s);
        field->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(guided.size(), 1);
        QTest::keyClick(field, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(left.size(), 1);
        QCOMPARE(qobject_cast<QLineEdit *>(field)->text(), QString());
    }

    // Tab never enters a radio group: Alt with a letter of its caption leads the keyboard there,
    // scrolled into view, without choosing; Space or the arrows choose. The letters are not
    // the menu's.
    void groupsReachedByTheirKeys_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("letter");
        QTest::newRow("Az adó alanya") << u"CtlRadioGroup5"_s << int(Qt::Key_A);
        QTest::newRow("Használat tipusa") << u"CtlRadioGroup6"_s << int(Qt::Key_H);
        QTest::newRow("Változás oka") << u"CtlRadioGroup1"_s << int(Qt::Key_V);
    }
    void groupsReachedByTheirKeys()
    {
        QFETCH(QString, group);
        QFETCH(int, letter);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (QAction *a : form.menuBar()->actions())
            QVERIFY(QKeySequence::mnemonic(a->text()) != QKeySequence(Qt::ALT | letter));
        auto *g = qobject_cast<ctl::TCtlRadioGroup *>(form.control(group));
        QVERIFY(g);
        QWidget *field = form.control(u"NumEdit3"_s);
        field->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), field);

        QTest::keyClick(field, Qt::Key(letter), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), g->button(0));
        QCOMPARE(g->ItemIndex(), -1);
        auto *scroll = form.findChild<QScrollArea *>();
        QVERIFY(scroll->viewport()->rect().contains(
            QRect(g->button(0)->mapTo(scroll->viewport(), QPoint(0, 0)), g->button(0)->size())));
        QTest::keyClick(g->button(0), Qt::Key_Space);
        QCOMPARE(g->ItemIndex(), 0);
        QTest::keyClick(g->button(0), Qt::Key_Right);
        QCOMPARE(g->ItemIndex(), 1);
        // Back in the group later, the focus lands on the choice.
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key(letter), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), g->button(1));
        QCOMPARE(g->ItemIndex(), 1);
    }
};

QTEST_MAIN(TestForm1Accessible)
#include "test_form1accessible.moc"
