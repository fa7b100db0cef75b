#include "controls/maskedit/appeditstate.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "tests/accessibilitytest.h"

#include <QApplication>
#include <QTest>

using namespace ctl;
using tk::test::AccessibleEvent;
using tk::test::AccessibleEvents;

namespace {

// A tax-number field as the form has it, shown and focused, named as the form names it.
struct TaxNumberField
{
    QWidget window;
    TCtlMaskEdit *edit;

    TaxNumberField()
    {
        window.resize(300, 60);
        edit = new TCtlMaskEdit(&window);
        edit->setGeometry(10, 10, 177, 21);
        edit->setBlankChar(QLatin1Char('*'));
        edit->setMask(QStringLiteral("88888888\\-8\\-88"));
        edit->setAccessibleName(QStringLiteral("adószáma"));
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
    }
    QAccessibleInterface *iface() const { return QAccessible::queryAccessibleInterface(edit); }
    QAccessibleTextInterface *text() const { return iface()->textInterface(); }
};

} // namespace

class TestMaskEditAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { appEditState() = AppEditState(); }

    void untouchedFieldIsAnEditableText()
    {
        TaxNumberField f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QAccessibleInterface *i = f.iface();
        QVERIFY(i && i->isValid());
        QCOMPARE(i->role(), QAccessible::EditableText);
        QCOMPARE(i->text(QAccessible::Name), QStringLiteral("adószáma"));
        QCOMPARE(i->text(QAccessible::Value), QStringLiteral("             "));
        const QAccessible::State s = i->state();
        QVERIFY(s.focusable);
        QVERIFY(s.focused);
        QVERIFY(s.editable);
        QVERIFY(!s.readOnly);
        QVERIFY(s.selectableText);
        QVERIFY(i->editableTextInterface());

        QAccessibleTextInterface *t = f.text();
        QVERIFY(t);
        QCOMPARE(t->characterCount(), 13);
        QCOMPARE(t->text(0, 13), QStringLiteral("             "));
        QCOMPARE(t->cursorPosition(), 0);
        QCOMPARE(t->selectionCount(), 0);
        // The characters stand left to right inside the field.
        const QRect first = t->characterRect(0);
        const QRect second = t->characterRect(1);
        QVERIFY(!first.isEmpty());
        QVERIFY(second.left() >= first.right());
        QVERIFY(QRect(f.edit->mapToGlobal(QPoint(0, 0)), f.edit->size()).contains(first));
        QCOMPARE(t->offsetAtPoint(second.center()), 1);

        f.edit->setReadOnly(true);
        QVERIFY(f.iface()->state().readOnly);
        QVERIFY(!f.iface()->state().editable);
    }

    void typingAnnouncesEachChangeAndTheCaret()
    {
        TaxNumberField f;
        AccessibleEvents events;
        QTest::keyClicks(f.edit, QStringLiteral("12"));
        QCOMPARE(f.iface()->text(QAccessible::Value), QStringLiteral("12           "));
        // Each digit overwrites one blank and moves the caret on.
        QList<AccessibleEvent> changes = events.textChanges(f.edit);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes[0].type, QAccessible::TextUpdated);
        QCOMPARE(changes[0].position, 0);
        QCOMPARE(changes[0].removed, QStringLiteral(" "));
        QCOMPARE(changes[0].inserted, QStringLiteral("1"));
        QCOMPARE(changes[0].cursor, 1);
        QCOMPARE(changes[1].position, 1);
        QCOMPARE(changes[1].inserted, QStringLiteral("2"));
        QList<AccessibleEvent> carets = events.of(f.edit, QAccessible::TextCaretMoved);
        QCOMPARE(carets.size(), 2);
        QCOMPARE(carets[0].cursor, 1);
        QCOMPARE(carets[1].cursor, 2);
        QCOMPARE(f.text()->cursorPosition(), 2);

        // A refused character changes nothing and says nothing.
        events.clear();
        QTest::keyClick(f.edit, Qt::Key_A);
        QVERIFY(events.all().isEmpty());

        // Backspace blanks the digit before the caret.
        QTest::keyClick(f.edit, Qt::Key_Backspace);
        changes = events.textChanges(f.edit);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0].position, 1);
        QCOMPARE(changes[0].removed, QStringLiteral("2"));
        QCOMPARE(changes[0].inserted, QStringLiteral(" "));
        QCOMPARE(events.of(f.edit, QAccessible::TextCaretMoved).last().cursor, 1);

        // Selecting with Shift announces the selection; Esc announces it gone.
        events.clear();
        QTest::keyClick(f.edit, Qt::Key_Left, Qt::ShiftModifier);
        QList<AccessibleEvent> selections = events.of(f.edit, QAccessible::TextSelectionChanged);
        QCOMPARE(selections.size(), 1);
        QCOMPARE(selections[0].selectionStart, 0);
        QCOMPARE(selections[0].selectionEnd, 1);
        QCOMPARE(f.text()->selectionCount(), 1);
        int start = -1, end = -1;
        f.text()->selection(0, &start, &end);
        QCOMPARE(start, 0);
        QCOMPARE(end, 1);
        QTest::keyClick(f.edit, Qt::Key_Escape);
        selections = events.of(f.edit, QAccessible::TextSelectionChanged);
        QCOMPARE(selections.size(), 2);
        QCOMPARE(selections[1].selectionStart, selections[1].selectionEnd);
    }

    void requestsOutOfRangeGetEmptyAnswers_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 0 << 13 << QStringLiteral("             ");
        QTest::newRow("negative start") << -5 << 3 << QStringLiteral("   ");
        QTest::newRow("end beyond") << 11 << 1000 << QStringLiteral("  ");
        QTest::newRow("end -1 means the end") << 9 << -1 << QStringLiteral("    ");
        QTest::newRow("start after end") << 8 << 2 << QString();
        QTest::newRow("both beyond") << 100 << 200 << QString();
        QTest::newRow("both negative") << -9 << -3 << QStringLiteral("             ");
        QTest::newRow("extremes") << std::numeric_limits<int>::min() << std::numeric_limits<int>::max()
                                  << QStringLiteral("             ");
    }
    void requestsOutOfRangeGetEmptyAnswers()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        TaxNumberField f;
        QAccessibleTextInterface *t = f.text();
        QCOMPARE(t->text(start, end), expected);
        // Boundaries, rectangles and attributes asked for at the same offsets answer, emptily
        // where there is nothing.
        for (int offset : {start, end}) {
            int s = 0, e = 0;
            for (auto boundary : {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::LineBoundary,
                                  QAccessible::NoBoundary}) {
                const QString before = t->textBeforeOffset(offset, boundary, &s, &e);
                const QString at = t->textAtOffset(offset, boundary, &s, &e);
                const QString after = t->textAfterOffset(offset, boundary, &s, &e);
                if (offset < -1 || offset > 13)
                    QVERIFY(before.isEmpty() && at.isEmpty() && after.isEmpty());
            }
            if (offset < 0 || offset >= 13)
                QVERIFY(t->characterRect(offset).isNull());
            t->attributes(offset, &s, &e);
        }
        QCOMPARE(t->offsetAtPoint(QPoint(-10000, -10000)), -1);

        // Selections and carets asked for out of range stay inside the text.
        t->setSelection(0, start, end);
        int s = -1, e = -1;
        t->selection(0, &s, &e);
        QVERIFY(s >= 0 && s <= e && e <= 13);
        t->setCursorPosition(start);
        QVERIFY(t->cursorPosition() >= 0 && t->cursorPosition() <= 13);
        t->setCursorPosition(end);
        QVERIFY(t->cursorPosition() >= 0 && t->cursorPosition() <= 13);
        t->selection(7, &s, &e);
        QCOMPARE(s, 0);
        QCOMPARE(e, 0);
        QCOMPARE(f.edit->text(), QStringLiteral("********-*-**"));
    }

    void clientEditsGoThroughTheMask()
    {
        TaxNumberField f;
        QAccessibleEditableTextInterface *edit = f.iface()->editableTextInterface();
        edit->replaceText(0, 13, QStringLiteral("12345678-9-01"));
        QCOMPARE(f.edit->text(), QStringLiteral("12345678-9-01"));
        // Letters do not fit the mask: refused, the text stays.
        edit->replaceText(0, 2, QStringLiteral("ab"));
        QCOMPARE(f.edit->text(), QStringLiteral("12345678-9-01"));
        // Deleting blanks the positions and keeps the literal, as the Delete key does.
        edit->deleteText(7, 10);
        QCOMPARE(f.edit->text(), QStringLiteral("1234567*-*-01"));
        edit->deleteText(-4, 1000);
        QCOMPARE(f.edit->text(), QStringLiteral("********-*-**"));
        // Typed in at an offset, as a paste there: overwriting when the user's typing does.
        appEditState().insert = false;
        edit->insertText(2, QStringLiteral("5"));
        QCOMPARE(f.edit->text(), QStringLiteral("**5*****-*-**"));
        edit->insertText(99, QStringLiteral("5"));
        QCOMPARE(f.edit->text(), QStringLiteral("**5*****-*-**"));
        // The value set as a whole obeys the mask too.
        f.iface()->setText(QAccessible::Value, QStringLiteral("x"));
        QCOMPARE(f.edit->text(), QStringLiteral("**5*****-*-**"));
        f.iface()->setText(QAccessible::Value, QStringLiteral("87654321-0-99"));
        QCOMPARE(f.edit->text(), QStringLiteral("87654321-0-99"));

        f.edit->setReadOnly(true);
        edit->replaceText(0, 13, QStringLiteral("12345678-9-01"));
        edit->deleteText(0, 13);
        QCOMPARE(f.edit->text(), QStringLiteral("87654321-0-99"));
    }

    void noEventsWhileNobodyListens()
    {
        // Without assistive technology the field neither sends nor prepares anything; switched on
        // later, the first change is told against the text as it then stands.
        TaxNumberField f;
        QTest::keyClicks(f.edit, QStringLiteral("1"));
        AccessibleEvents events;
        QTest::keyClicks(f.edit, QStringLiteral("2"));
        const QList<AccessibleEvent> changes = events.textChanges(f.edit);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0].position, 1);
        QCOMPARE(changes[0].inserted, QStringLiteral("2"));
    }
};

QTEST_MAIN(TestMaskEditAccessible)
#include "test_maskeditaccessible.moc"
