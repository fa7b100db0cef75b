#include "controls/numedit/ui/numedit.h"
#include "tests/accessibilitytest.h"
#include "tests/testhelpers.h"

#include <QApplication>
#include <QTest>

using ctl::TNumEdit;
using tk::test::AccessibleEvent;
using tk::test::AccessibleEvents;

namespace {

// An area field as the form has it, shown and focused.
struct AreaField
{
    QWidget window;
    TNumEdit *edit;

    AreaField()
    {
        tk::test::useSeparators(QLatin1Char(','));
        window.resize(300, 60);
        edit = new TNumEdit(&window);
        edit->setGeometry(10, 10, 100, 24);
        edit->setAccessibleName(QStringLiteral("a. az ingatlannyilvántartásba bejegyzett földterület teljes területe"));
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus(Qt::TabFocusReason);
    }
    QAccessibleInterface *iface() const { return QAccessible::queryAccessibleInterface(edit); }
};

} // namespace

class TestNumEditAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldIsAnEditableTextWithItsNumber()
    {
        AreaField f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QAccessibleInterface *i = f.iface();
        QCOMPARE(i->role(), QAccessible::EditableText);
        QCOMPARE(i->text(QAccessible::Name), f.edit->accessibleName());
        QCOMPARE(i->text(QAccessible::Value), QStringLiteral("0"));
        QVERIFY(i->state().focused);
        QVERIFY(i->state().editable);
        QCOMPARE(i->textInterface()->characterCount(), 1);
        // The number stands at the right edge, as the field draws it.
        const QRect digit = i->textInterface()->characterRect(0);
        const QRect field(f.edit->mapToGlobal(QPoint(0, 0)), f.edit->size());
        QVERIFY(field.contains(digit));
        QVERIFY(digit.left() > field.center().x());
        // Every character has to pass the field's filter: no edits past it.
        QVERIFY(!i->editableTextInterface());
        i->setText(QAccessible::Value, QStringLiteral("abc"));
        QCOMPARE(f.edit->text(), QStringLiteral("0"));
    }

    void typingAnnouncesTextAndCaret()
    {
        AreaField f;
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        AccessibleEvents events;
        QTest::keyClicks(f.edit, QStringLiteral("1x2"));
        QCOMPARE(f.iface()->text(QAccessible::Value), QStringLiteral("12"));
        const QList<AccessibleEvent> changes = events.textChanges(f.edit);
        QCOMPARE(changes.size(), 2); // the refused "x" changes nothing
        QCOMPARE(changes.last().inserted, QStringLiteral("12"));
        const QList<AccessibleEvent> carets = events.of(f.edit, QAccessible::TextCaretMoved);
        QVERIFY(!carets.isEmpty());
        QCOMPARE(carets.last().cursor, 2);
        QCOMPARE(f.iface()->textInterface()->cursorPosition(), 2);

        // Leaving rewrites the text in its normal form; the new value is told as well.
        QTest::keyClicks(f.edit, QStringLiteral(",50"));
        events.clear();
        f.edit->clearFocus();
        QCOMPARE(f.edit->text(), QStringLiteral("12,5"));
        QVERIFY(!events.textChanges(f.edit).isEmpty());
        QCOMPARE(f.iface()->text(QAccessible::Value), QStringLiteral("12,5"));
    }

    void requestsAtTheEndAndOutOfRangeAnswer()
    {
        AreaField f;
        QTest::keyClicks(f.edit, QStringLiteral("1500"));
        QAccessibleTextInterface *t = f.iface()->textInterface();
        int s = 0, e = 0;
        // The word at the caret at the end of the number: an answer, not an endless loop.
        QCOMPARE(t->textAtOffset(-2, QAccessible::WordBoundary, &s, &e), QString());
        QCOMPARE(t->textBeforeOffset(4, QAccessible::WordBoundary, &s, &e), QStringLiteral("1500"));
        QCOMPARE(t->textAtOffset(4, QAccessible::SentenceBoundary, &s, &e), QString());
        QCOMPARE(t->text(-7, 2), QStringLiteral("15"));
        QCOMPARE(t->text(3, -1), QStringLiteral("0"));
        QCOMPARE(t->text(9, 2), QString());
        QVERIFY(t->characterRect(4).isNull());
        t->setSelection(0, 2, 1000);
        QCOMPARE(f.edit->selectedText(), QStringLiteral("00"));
        t->setCursorPosition(-9);
        QCOMPARE(f.edit->cursorPosition(), 0);
        QCOMPARE(f.edit->text(), QStringLiteral("1500"));
    }
};

QTEST_MAIN(TestNumEditAccessible)
#include "test_numeditaccessible.moc"
