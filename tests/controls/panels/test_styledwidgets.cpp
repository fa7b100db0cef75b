#include "controls/panels/ui/styledmainmenu.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/panels/ui/styledpanel.h"
#include "controls/panels/ui/styledtoolpanel.h"
#include "tests/testhelpers.h"

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace ctl;

namespace {

QColor pixel(QWidget *w, QPoint at) { return w->grab().toImage().pixelColor(at); }

// QTest moves the mouse without buttons through the cursor, which the offscreen platform ignores.
void hover(QWidget *w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}
} // namespace

// Two sections on the background panel, as on the form: two fields in the first, one in the second.
class Form
{
public:
    Form()
    {
        background = new TStyledPanel(&window);
        background->setGeometry(8, 13, 761, 400);
        section1 = new TStyledToolPanel(background);
        section1->setCaption(u"  I. AZ ADÓ ALANYA"_s);
        section1->setGeometry(24, 20, 721, 120);
        name = new TStyledEdit(section1);
        name->setGeometry(152, 28, 521, 21);
        address = new TStyledEdit(section1);
        address->setGeometry(152, 52, 521, 21);
        section2 = new TStyledToolPanel(background);
        section2->setCaption(u"  II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)"_s);
        section2->setGeometry(24, 160, 721, 137);
        plot = new TStyledEdit(section2);
        plot->setGeometry(144, 28, 121, 21);
        window.resize(780, 420);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    TStyledPanel *background;
    TStyledToolPanel *section1;
    TStyledEdit *name;
    TStyledEdit *address;
    TStyledToolPanel *section2;
    TStyledEdit *plot;
};

class TestStyledWidgets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionFollowsFocus();
    void pressOnPanelSurfaceFocusesPanel();
    void enterChangesNothing_data();
    void enterChangesNothing();
    void tabSelectsAllClickPlacesCaret();
    void anyCharacterAccepted();
    void lineBreaksArriveAsBlanks_data();
    void lineBreaksArriveAsBlanks();
    void menuItemStates();
};

void TestStyledWidgets::captionFollowsFocus()
{
    Form f;
    QSignalSpy changed2(f.section2, &TStyledToolPanel::focusedChanged);
    const QPoint bar(700, 1); // right of the caption text

    QTest::mouseClick(f.name, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(f.section1->isFocused());
    QVERIFY(!f.section2->isFocused());
    QCOMPARE(pixel(f.section1, bar).name(), QStringLiteral("#fbe694"));
    QCOMPARE(pixel(f.section2, bar).name(), QStringLiteral("#d2cfbe"));

    QTest::mouseClick(f.plot, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(f.section2->isFocused());
    QVERIFY(!f.section1->isFocused());
    QCOMPARE(pixel(f.section2, bar).name(), QStringLiteral("#fbe694"));
    QCOMPARE(pixel(f.section1, bar).name(), QStringLiteral("#d2cfbe"));
    QCOMPARE(changed2.count(), 1);
    QCOMPARE(changed2.first().first().toBool(), true);

    // Moving within a section keeps it focused without repainting the state.
    QTest::mouseClick(f.address, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(f.name, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(f.section1->isFocused());
    QCOMPARE(changed2.count(), 2);
}

void TestStyledWidgets::pressOnPanelSurfaceFocusesPanel()
{
    Form f;
    f.plot->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(f.section1, Qt::LeftButton, {}, QPoint(50, 100));
    QCOMPARE(QApplication::focusWidget(), f.section1);
    QVERIFY(f.section1->isFocused());
    QVERIFY(!f.section2->isFocused());

    // A press on a caption label inside the section leaves the focus where it is.
    auto *label = new QLabel(u"neve:"_s, f.section2);
    label->setGeometry(24, 32, 100, 25);
    label->show();
    f.plot->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QApplication::focusWidget(), f.plot);
}

void TestStyledWidgets::enterChangesNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier);
}

void TestStyledWidgets::enterChangesNothing()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Form f;
    f.name->setFocus(Qt::OtherFocusReason);
    f.name->setText(u"Kovács János"_s);
    f.name->setCursorPosition(3);
    QSignalSpy returnPressed(f.name, &QLineEdit::returnPressed);
    QSignalSpy finished(f.name, &QLineEdit::editingFinished);

    QTest::keyClick(f.name, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.name->text(), u"Kovács János"_s);
    QCOMPARE(f.name->cursorPosition(), 3);
    QCOMPARE(QApplication::focusWidget(), f.name);
    QCOMPARE(returnPressed.count(), 0);
    QCOMPARE(finished.count(), 0);
}

void TestStyledWidgets::tabSelectsAllClickPlacesCaret()
{
    Form f;
    f.address->setText(u"Hollóberény, Fő utca 1."_s);
    f.name->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(f.name, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.address);
    QCOMPARE(f.address->selectedText(), u"Hollóberény, Fő utca 1."_s);

    f.name->setFocus(Qt::OtherFocusReason);
    const QPoint at(40, 10);
    QTest::mouseClick(f.address, Qt::LeftButton, {}, at);
    QCOMPARE(QApplication::focusWidget(), f.address);
    QVERIFY(!f.address->hasSelectedText());
    QCOMPARE(f.address->cursorPosition(), f.address->cursorPositionAt(at));
    QVERIFY(f.address->cursorPosition() > 0);
    QVERIFY(f.address->cursorPosition() < f.address->text().size());
}

void TestStyledWidgets::anyCharacterAccepted()
{
    Form f;
    f.plot->setFocus(Qt::OtherFocusReason);
    QTest::keyClicks(f.plot, QStringLiteral("Ab1 .,;:-/+()%&!?"));
    tk::test::typeText(f.plot, u"őűÁÉ");
    QCOMPARE(f.plot->text(), u"Ab1 .,;:-/+()%&!?őűÁÉ"_s);

    // No length limit beyond the platform's own.
    const QString longText(40000, QLatin1Char('x'));
    f.plot->setText(longText);
    QCOMPARE(f.plot->text().size(), 40000);
}

void TestStyledWidgets::lineBreaksArriveAsBlanks_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("text");
    QTest::newRow("LF") << u"Fő utca\n12."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("CR LF") << u"Fő utca\r\n12."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("CR") << u"Fő utca\r12."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("tab") << u"Fő utca\t12."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("line separator") << u"Fő utca\u202812."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("paragraph separator") << u"Fő utca\u202912."_s << u"<Fő utca 12.>"_s;
    QTest::newRow("trailing line break") << u"Fő utca 12.\r\n"_s << u"<Fő utca 12. >"_s;
}

// Pasted by either shortcut, dropped or set, a line break reaches the text as one blank and the
// caret stays behind what was inserted.
void TestStyledWidgets::lineBreaksArriveAsBlanks()
{
    QFETCH(QString, clip);
    QFETCH(QString, text);
    Form f;
    QGuiApplication::clipboard()->setText(clip);
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } shortcuts[] = {{Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier}};
    for (const auto &k : shortcuts) {
        f.name->setText(u"<>"_s);
        f.name->setFocus(Qt::OtherFocusReason);
        f.name->setCursorPosition(1);
        QTest::keyClick(f.name, k.key, k.modifiers);
        QCOMPARE(f.name->text(), text);
        QCOMPARE(f.name->cursorPosition(), text.size() - 1);
    }

    f.name->setText(u"<>"_s);
    QMimeData mime;
    mime.setText(clip);
    f.name->setCursorPosition(1);
    const QPoint between = f.name->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QDragEnterEvent enter(between, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.name, &enter);
    QDropEvent drop(QPointF(between), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.name, &drop);
    QCOMPARE(f.name->text(), text);

    f.name->setText(u"<"_s + clip + u">"_s);
    QCOMPARE(f.name->text(), text);
}

void TestStyledWidgets::menuItemStates()
{
    QMainWindow window;
    auto *menu = new TStyledMainMenu(&window);
    window.setMenuBar(menu);
    QAction *print = menu->addAction(u"Nyomtatás"_s);
    QAction *guide = menu->addAction(u"Kitöltési útmutató"_s);
    menu->addAction(u"Kilépés"_s);
    window.resize(500, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy triggered(guide, &QAction::triggered);

    const QRect r = menu->actionGeometry(guide);
    QCOMPARE(menu->itemState(guide), MenuItemState::Normal);
    hover(menu, r.center());
    QCOMPARE(menu->itemState(guide), MenuItemState::Hot);
    QCOMPARE(menu->itemState(print), MenuItemState::Normal);
    QCOMPARE(pixel(menu, QPoint(r.left(), r.center().y())).name(), QStringLiteral("#4b4b6f"));

    QTest::mousePress(menu, Qt::LeftButton, {}, r.center());
    QCOMPARE(menu->itemState(guide), MenuItemState::Open);
    QCOMPARE(pixel(menu, QPoint(r.left(), r.center().y())).name(), QStringLiteral("#7c7c94"));
    QCOMPARE(triggered.count(), 0);
    QTest::mouseRelease(menu, Qt::LeftButton, {}, r.center());
    QCOMPARE(triggered.count(), 1);
    QVERIFY(menu->itemState(guide) != MenuItemState::Open);
}

QTEST_MAIN(TestStyledWidgets)
#include "test_styledwidgets.moc"
