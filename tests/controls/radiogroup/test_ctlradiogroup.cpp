#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "runtime/errors.h"
#include "runtime/messages.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using ctl::TCtlRadioGroup;

// A window like a form section: a text field, the two groups, another text field.
class Fixture
{
public:
    Fixture()
    {
        QFont arial(QStringLiteral("Arial"));
        arial.setPixelSize(13);
        before = new QLineEdit(&window);
        alanya = new TCtlRadioGroup(&window);
        alanya->setFont(arial);
        alanya->setCaption(u"Az adó alanya"_s);
        alanya->setItems({u"magánszemély"_s, u"jogi személyiség nélküli gazdasági társaság"_s, u"jogi személy"_s,
                          u"a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése"_s});
        alanya->setColumns(2);
        alanya->setGeometry(24, 40, 649, 81);
        hasznalat = new TCtlRadioGroup(&window);
        hasznalat->setFont(arial);
        hasznalat->setCaption(u"Használat tipusa"_s);
        hasznalat->setItems({u"kizárólagos tulajdonos"_s, u"résztulajdonos"_s, u"haszonélvező"_s,
                             u"kezelői jogot gyakorló"_s, u"bérlő"_s, u"egyéb"_s});
        hasznalat->setColumns(3);
        hasznalat->setGeometry(24, 130, 473, 57);
        after = new QLineEdit(&window);
        before->setGeometry(24, 8, 200, 21);
        after->setGeometry(24, 200, 200, 21);
        window.resize(700, 240);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    QLineEdit *before;
    TCtlRadioGroup *alanya;
    TCtlRadioGroup *hasznalat;
    QLineEdit *after;
};

class TestCtlRadioGroup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithNothingChosen();
    void buttonsFollowTheLayout();
    void mouseClickChooses();
    void releaseOutsideStillChooses();
    void arrowKeysWrapWithinGroup_data();
    void arrowKeysWrapWithinGroup();
    void tabSkipsGroups();
    void focusWithoutChoosing();
    void settingItemIndexFiresNothing();
    void handlerErrorsShownAfterTheClick();
    void everyCaptionShowsWhole();
};

void TestCtlRadioGroup::startsWithNothingChosen()
{
    Fixture f;
    for (TCtlRadioGroup *g : {f.alanya, f.hasznalat}) {
        QCOMPARE(g->ItemIndex(), -1);
        for (int i = 0; i < g->buttonCount(); ++i)
            QVERIFY(!g->button(i)->Checked());
    }
}

void TestCtlRadioGroup::buttonsFollowTheLayout()
{
    Fixture f;
    QCOMPARE(f.alanya->button(2)->geometry(), QRect(325, 17, 318, 30));
    QCOMPARE(f.alanya->button(2)->Caption(), u"jogi személy"_s);
    QVERIFY(f.alanya->button(2)->isVisible());
    QCOMPARE(f.hasznalat->button(5)->geometry(), QRect(313, 35, 153, 18));
}

void TestCtlRadioGroup::mouseClickChooses()
{
    Fixture f;
    QSignalSpy click(f.alanya, &TCtlRadioGroup::OnClick);
    QSignalSpy change(f.alanya, &TCtlRadioGroup::OnChange);

    QTest::mouseClick(f.alanya->button(2), Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(f.alanya->ItemIndex(), 2);
    QVERIFY(f.alanya->button(2)->Checked());
    QVERIFY(f.alanya->button(2)->hasFocus());
    QCOMPARE(click.count(), 1);
    QCOMPARE(change.count(), 1);
    QCOMPARE(change.first().first().toInt(), 2);

    // The chosen button again changes nothing.
    QTest::mouseClick(f.alanya->button(2), Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(click.count(), 1);
    QCOMPARE(change.count(), 1);

    QTest::mouseClick(f.alanya->button(0), Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(f.alanya->ItemIndex(), 0);
    QVERIFY(!f.alanya->button(2)->Checked());
    QCOMPARE(change.count(), 2);
    QCOMPARE(change.last().first().toInt(), 0);

    QSignalSpy dblClick(f.alanya, &TCtlRadioGroup::OnDblClick);
    QTest::mouseDClick(f.alanya->button(0), Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(dblClick.count(), 1);
    QCOMPARE(change.count(), 2);
}

void TestCtlRadioGroup::releaseOutsideStillChooses()
{
    Fixture f;
    QSignalSpy change(f.hasznalat, &TCtlRadioGroup::OnChange);
    auto *b = f.hasznalat->button(1);

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 9));
    QVERIFY(b->Checked()); // checked by gaining the focus
    QVERIFY(b->isPressed());
    QCOMPARE(f.hasznalat->ItemIndex(), -1); // the index waits for the release
    QCOMPARE(change.count(), 0);

    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 200));
    QCOMPARE(f.hasznalat->ItemIndex(), 1);
    QVERIFY(b->Checked());
    QCOMPARE(change.count(), 1);
}

void TestCtlRadioGroup::arrowKeysWrapWithinGroup_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("last, Right -> first") << 5 << int(Qt::Key_Right) << 0;
    QTest::newRow("last, Down -> first") << 5 << int(Qt::Key_Down) << 0;
    QTest::newRow("first, Left -> last") << 0 << int(Qt::Key_Left) << 5;
    QTest::newRow("first, Up -> last") << 0 << int(Qt::Key_Up) << 5;
    QTest::newRow("bottom of column 1, Down -> top of column 2") << 1 << int(Qt::Key_Down) << 2;
}

void TestCtlRadioGroup::arrowKeysWrapWithinGroup()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    Fixture f;
    QTest::mouseClick(f.hasznalat->button(start), Qt::LeftButton, {}, QPoint(10, 9));
    QCOMPARE(f.hasznalat->ItemIndex(), start);
    QSignalSpy click(f.hasznalat, &TCtlRadioGroup::OnClick);
    QSignalSpy change(f.hasznalat, &TCtlRadioGroup::OnChange);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), f.hasznalat->button(expected));
    QCOMPARE(f.hasznalat->ItemIndex(), expected);
    QVERIFY(f.hasznalat->button(expected)->Checked());
    QVERIFY(!f.hasznalat->button(start)->Checked());
    QCOMPARE(click.count(), 1);
    QCOMPARE(change.count(), 1);
    QCOMPARE(change.first().first().toInt(), expected);
    QCOMPARE(f.alanya->ItemIndex(), -1); // the other group is untouched
}

void TestCtlRadioGroup::tabSkipsGroups()
{
    Fixture f;
    f.before->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(f.before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.after);
    QTest::keyClick(f.after, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), f.before);

    // From a focused button Tab leaves the group for the next tab stop.
    QTest::mouseClick(f.alanya->button(3), Qt::LeftButton, {}, QPoint(10, 15));
    QTest::keyClick(f.alanya->button(3), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.after);
    QCOMPARE(f.alanya->ItemIndex(), 3);

    // Focus given to a group goes on to its checked button, or past the group without one.
    f.alanya->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), f.alanya->button(3));
    f.before->setFocus(Qt::OtherFocusReason);
    f.hasznalat->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), f.after);
    QCOMPARE(f.hasznalat->ItemIndex(), -1);
}

// A program leading the user to a group puts the focus on a button without checking it (focus
// arriving by itself checks the button it lands on); with a choice made, the focus goes to the
// chosen button. Space chooses the focused button; the arrows work as usual.
void TestCtlRadioGroup::focusWithoutChoosing()
{
    Fixture f;
    QSignalSpy change(f.hasznalat, &TCtlRadioGroup::OnChange);
    f.before->setFocus(Qt::OtherFocusReason);
    f.hasznalat->focusWithoutChoosing();
    QCOMPARE(QApplication::focusWidget(), f.hasznalat->button(0));
    QVERIFY(!f.hasznalat->button(0)->Checked());
    QCOMPARE(f.hasznalat->ItemIndex(), -1);
    // Space chooses the button the focus was led to; again, it changes nothing.
    QTest::keyClick(f.hasznalat->button(0), Qt::Key_Space);
    QCOMPARE(f.hasznalat->ItemIndex(), 0);
    QVERIFY(f.hasznalat->button(0)->Checked());
    QCOMPARE(change.count(), 1);
    QTest::keyClick(f.hasznalat->button(0), Qt::Key_Space);
    QCOMPARE(change.count(), 1);
    QTest::keyClick(f.hasznalat->button(0), Qt::Key_Right);
    QCOMPARE(f.hasznalat->ItemIndex(), 1);
    QCOMPARE(change.count(), 2);

    f.alanya->setItemIndex(2);
    f.alanya->focusWithoutChoosing();
    QCOMPARE(QApplication::focusWidget(), f.alanya->button(2));
    QVERIFY(f.alanya->button(2)->Checked());
    QCOMPARE(f.alanya->ItemIndex(), 2);

    f.before->setFocus(Qt::OtherFocusReason);
    f.hasznalat->button(4)->setFocus(Qt::OtherFocusReason);
    QVERIFY(f.hasznalat->button(4)->Checked());
}

void TestCtlRadioGroup::settingItemIndexFiresNothing()
{
    Fixture f;
    QSignalSpy change(f.hasznalat, &TCtlRadioGroup::OnChange);
    f.hasznalat->setItemIndex(10);
    QCOMPARE(f.hasznalat->ItemIndex(), 5);
    QVERIFY(f.hasznalat->button(5)->Checked());
    f.hasznalat->setItemIndex(-5);
    QCOMPARE(f.hasznalat->ItemIndex(), -1);
    QVERIFY(!f.hasznalat->button(5)->Checked());
    QCOMPARE(change.count(), 0);
}

// An error in the program's OnClick is shown after the click, by the default error display;
// the choice is made and OnChange still reports it.
void TestCtlRadioGroup::handlerErrorsShownAfterTheClick()
{
    QStringList shown;
    const rt::MessageHandler previous = rt::setMessageHandler([&](const rt::Message &m) { shown << m.text; });
    Fixture f;
    connect(f.alanya, &TCtlRadioGroup::OnClick, this, [] { throw rt::EConvertError(u"click failed"_s); });
    connect(f.alanya, &TCtlRadioGroup::OnDblClick, this, [] { throw rt::EConvertError(u"double click failed"_s); });
    QSignalSpy change(f.alanya, &TCtlRadioGroup::OnChange);
    QTest::mouseClick(f.alanya->button(1), Qt::LeftButton, {}, QPoint(20, 15));
    QCOMPARE(f.alanya->ItemIndex(), 1);
    QCOMPARE(change.count(), 1);
    QTest::mouseDClick(f.alanya->button(1), Qt::LeftButton, {}, QPoint(20, 15));
    QTRY_COMPARE(shown, (QStringList{u"click failed."_s, u"double click failed."_s}));
    rt::setMessageHandler(previous);
}

QTEST_MAIN(TestCtlRadioGroup)

// A caption wider than its column ("a magánszemélyek … egyesülése") wraps within its row, so no
// option is cut; the drawn text lies inside its button.
void TestCtlRadioGroup::everyCaptionShowsWhole()
{
    Fixture f;
    for (TCtlRadioGroup *g : {f.alanya, f.hasznalat}) {
        for (int i = 0; i < g->buttonCount(); ++i) {
            auto *b = g->button(i);
            const QRect text = b->textRect();
            QVERIFY2(b->rect().contains(text), qPrintable(b->Caption()));
            const QFontMetrics fm(b->font());
            const QRect needed = fm.boundingRect(QRect(0, 0, text.width(), 10000), Qt::TextWordWrap, b->Caption());
            QVERIFY2(needed.width() <= text.width() && needed.height() <= text.height(), qPrintable(b->Caption()));
        }
    }
}

#include "test_ctlradiogroup.moc"
