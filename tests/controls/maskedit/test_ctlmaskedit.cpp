#include "controls/maskedit/appeditstate.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "runtime/errors.h"
#include "runtime/messages.h"
#include "tests/testhelpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>

using namespace ctl;

namespace {

const QString taxNumberMask = QStringLiteral("88888888\\-8\\-88");
const QString taxIdMask = QStringLiteral("8888888888");

// A field set up as on the declaration form.
struct FormField
{
    QWidget window;
    TCtlMaskEdit *edit;

    explicit FormField(const QString &mask)
    {
        QFont f(QStringLiteral("Tahoma"));
        f.setPixelSize(11);
        window.setFont(f);
        window.resize(300, 60);
        edit = new TCtlMaskEdit(&window);
        edit->setGeometry(10, 10, 177, 21);
        TCtlBevel bevel;
        bevel.Mode = bmCustom;
        bevel.StyleInner = bvLowered;
        bevel.BorderInnerWidth = 1;
        edit->setBevel(bevel);
        TCtlCaret caret;
        caret.BlinkRate = 530;
        edit->setCaret(caret);
        edit->setBlankChar(QLatin1Char('*'));
        edit->setMask(mask);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
    }
};

QStringList enabledItems(QMenu *menu)
{
    QStringList r;
    for (QAction *a : menu->actions()) {
        if (!a->isSeparator() && a->isEnabled())
            r << a->text();
    }
    return r;
}

} // namespace

class TestCtlMaskEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        appEditState() = AppEditState();
        QGuiApplication::clipboard()->clear();
    }

    void defaults()
    {
        TCtlMaskEdit e(nullptr);
        QCOMPARE(e.height(), 21);
        QCOMPARE(e.text(), QString());
        QCOMPARE(e.model().caret(), 1);
        QCOMPARE(e.model().maskType(), meMask);
        QCOMPARE(e.blankChar(), QLatin1Char('_'));
        QCOMPARE(e.caret().BlinkRate, QGuiApplication::styleHints()->cursorFlashTime() / 2);
        QCOMPARE(e.focusPolicy(), Qt::StrongFocus);
        QCOMPARE(e.cursor().shape(), Qt::IBeamCursor);
    }

    void typingTaxNumber()
    {
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        QTRY_VERIFY(e.hasFocus());
        QCOMPARE(e.text(), QStringLiteral("********-*-**"));
        QSignalSpy changes(&e, &TCtlMaskEdit::OnChange);
        QSignalSpy modified(&e, &TCtlMaskEdit::OnModified);
        QTest::keyClicks(&e, QStringLiteral("12345678"));
        QCOMPARE(e.text(), QStringLiteral("12345678-*-**"));
        QCOMPARE(e.model().caret(), 9);
        QVERIFY(!appEditState().insert);
        QTest::keyClicks(&e, QStringLiteral("9"));
        QCOMPARE(e.text(), QStringLiteral("12345678-*-**"));
        QTest::keyClicks(&e, QStringLiteral("-9"));
        QCOMPARE(e.text(), QStringLiteral("12345678-9-**"));
        QCOMPARE(changes.count(), 10);
        QCOMPARE(modified.count(), 1);
        // Non-Latin characters are refused without harm.
        tk::test::typeText(&e, u"ő");
        QCOMPARE(e.text(), QStringLiteral("12345678-9-**"));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("newCaret");
        QTest::addColumn<int>("selLength");
        const QString full = QStringLiteral("12345678-9-01");
        const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Backspace") << QStringLiteral("1234****-*-**") << 5 << int(Qt::Key_Backspace) << none
                                   << QStringLiteral("123*****-*-**") << 4 << 0;
        QTest::newRow("Backspace after a hyphen") << full << 10 << int(Qt::Key_Backspace) << none << full << 9 << 0;
        QTest::newRow("Delete") << full << 3 << int(Qt::Key_Delete) << none << QStringLiteral("12*45678-9-01") << 3 << 0;
        QTest::newRow("Shift+Delete deletes") << full << 3 << int(Qt::Key_Delete) << shift
                                              << QStringLiteral("12*45678-9-01") << 3 << 0;
        QTest::newRow("Ctrl+Delete deletes") << full << 3 << int(Qt::Key_Delete) << ctrl
                                             << QStringLiteral("12*45678-9-01") << 3 << 0;
        QTest::newRow("Left") << full << 3 << int(Qt::Key_Left) << none << full << 2 << 0;
        QTest::newRow("Shift+Right") << full << 3 << int(Qt::Key_Right) << shift << full << 4 << 1;
        QTest::newRow("Ctrl+Right without spaces") << full << 3 << int(Qt::Key_Right) << ctrl << full << 14 << 0;
        QTest::newRow("Shift+End") << full << 3 << int(Qt::Key_End) << shift << full << 14 << 11;
        QTest::newRow("Home") << full << 3 << int(Qt::Key_Home) << none << full << 1 << 0;
        QTest::newRow("Up does nothing") << full << 3 << int(Qt::Key_Up) << none << full << 3 << 0;
        QTest::newRow("Down does nothing") << full << 3 << int(Qt::Key_Down) << none << full << 3 << 0;
        QTest::newRow("Ctrl+A") << full << 3 << int(Qt::Key_A) << ctrl << full << 14 << 13;
        QTest::newRow("Enter") << full << 3 << int(Qt::Key_Return) << none << full << 3 << 0;
    }
    void keys()
    {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(start);
        e.model().setCaret(caret);
        QTest::keyClick(&e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(e.text(), "text");
        QTEST(e.model().caret(), "newCaret");
        QTEST(e.model().selLength(), "selLength");
        QVERIFY(e.hasFocus());
    }

    void deleteSelectionAcrossLiteral()
    {
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("12345678-9-01"));
        e.model().setCaret(7);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(e.text(), QStringLiteral("123456**-*-01"));
        QCOMPARE(e.text().size(), 13);
        QTest::keyClick(&e, Qt::Key_Escape);
        QCOMPARE(e.model().selLength(), 0);
    }

    void insertKeyAndKeyDown()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        QVERIFY(appEditState().insert);
        QTest::keyClick(&e, Qt::Key_Insert);
        QVERIFY(!appEditState().insert);
        QTest::keyClick(&e, Qt::Key_Insert);
        QVERIFY(appEditState().insert);

        QList<int> seen;
        e.OnKeyDown = [&](int &key, Qt::KeyboardModifiers) {
            seen << key;
            if (key == Qt::Key_5)
                key = 0; // cancelled
            QVERIFY(!appEditState().shift);
        };
        QTest::keyClicks(&e, QStringLiteral("152"));
        QCOMPARE(e.text(), QStringLiteral("12********"));
        QCOMPARE(seen, (QList<int>{Qt::Key_1, Qt::Key_5, Qt::Key_2}));
    }

    void ownKeysBeatWindowShortcuts()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        int fired = 0;
        for (const QKeySequence &k : {QKeySequence(Qt::CTRL | Qt::Key_A), QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_5)}) {
            auto *a = new QAction(&f.window);
            a->setShortcut(k);
            f.window.addAction(a);
            connect(a, &QAction::triggered, this, [&] { ++fired; });
        }
        QTest::keyClick(&e, Qt::Key_5);
        QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(fired, 0);
        QCOMPARE(e.text(), QStringLiteral("**********"));
    }

    void clipboard_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+V whole tax number") << taxNumberMask << QStringLiteral("12345678-9-01") << int(Qt::Key_V)
                                                 << ctrl << QStringLiteral("12345678-9-01");
        QTest::newRow("Shift+Insert") << taxIdMask << QStringLiteral("1234567890") << int(Qt::Key_Insert) << shift
                                      << QStringLiteral("1234567890");
        // A paste the mask refuses changes nothing; line breaks and tabs arrive as blanks.
        const QString blank = QStringLiteral("**********");
        QTest::newRow("line break as a blank") << taxIdMask << QStringLiteral("12345\n6789") << int(Qt::Key_V) << ctrl
                                               << QStringLiteral("12345 6789");
        QTest::newRow("CR LF as one blank") << taxIdMask << QStringLiteral("1234\r\n56789") << int(Qt::Key_Insert)
                                            << shift << QStringLiteral("1234 56789");
        QTest::newRow("tab as a blank") << taxIdMask << QStringLiteral("12\t34") << int(Qt::Key_V) << ctrl
                                        << QStringLiteral("12 34");
        QTest::newRow("too long with its line break") << taxIdMask << QStringLiteral("12345\n67890") << int(Qt::Key_V)
                                                      << ctrl << blank;
        QTest::newRow("too long over all") << taxIdMask << QString(5000, QLatin1Char('1')) << int(Qt::Key_V) << ctrl
                                           << blank;
        QTest::newRow("non-Latin over all") << taxIdMask << QString::fromUtf16(u"١٢٣٤٥٦٧٨٩٠") << int(Qt::Key_V) << ctrl
                                            << blank;
        QTest::newRow("control characters over all") << taxIdMask << QStringLiteral("12\t34\x01") << int(Qt::Key_V)
                                                     << ctrl << blank;
        QTest::newRow("empty clipboard") << taxIdMask << QString() << int(Qt::Key_V) << ctrl << blank;
    }
    void clipboard()
    {
        QFETCH(QString, mask);
        QFETCH(QString, clip);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        FormField f(mask);
        TCtlMaskEdit &e = *f.edit;
        if (!clip.isEmpty())
            QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(e.text(), "text");
        QVERIFY(e.model().isValid(e.text()));
    }

    // A refused paste leaves text, caret and selection as they were, whatever the shortcut:
    // over the whole of a filled tax number, and over the character at the caret in
    // overwrite mode.
    void refusedPasteChangesNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("clip");
        QTest::newRow("Ctrl+V letters") << int(Qt::Key_V) << int(Qt::ControlModifier) << QStringLiteral("abc");
        QTest::newRow("Shift+Insert letters") << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << QStringLiteral("abc");
        QTest::newRow("Ctrl+V a million digits") << int(Qt::Key_V) << int(Qt::ControlModifier)
                                                 << QString(1000000, QLatin1Char('7'));
        QTest::newRow("Shift+Insert a mixed million")
            << int(Qt::Key_Insert) << int(Qt::ShiftModifier)
            << QStringLiteral("12345678-9-01\r\nabc ").repeated(1000000 / 19);
    }
    void refusedPasteChangesNothing()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, clip);
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        const QString filled = QStringLiteral("12345678-9-01");
        e.setText(filled);
        QGuiApplication::clipboard()->setText(clip);
        QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(e.text(), filled);
        QCOMPARE(e.model().selStart(), 1);
        QCOMPARE(e.model().selLength(), 13);
        QCOMPARE(e.model().caret(), 14);

        e.model().setCaret(3);
        QTest::keyClick(&e, Qt::Key_Insert); // overwrite
        QVERIFY(!appEditState().insert);
        QTest::keyClick(&e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(e.text(), filled);
        QCOMPARE(e.model().caret(), 3);
        QCOMPARE(e.model().selLength(), 0);
    }

    // Moving a selection with the mouse in overwrite mode inserts it: the character where it
    // is dropped stays. A move the mask refuses changes nothing.
    void dragInOverwriteMode()
    {
        auto xAt = [](TCtlMaskEdit &field, int pos) {
            field.model().setCaret(pos);
            return field.caretRect().x();
        };
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("1234567890"));
        const int x3 = xAt(e, 3), x4 = xAt(e, 4), x5 = xAt(e, 5), x9 = xAt(e, 9);
        QTest::keyClick(&e, Qt::Key_Insert);
        QVERIFY(!appEditState().insert);
        auto drag = [&](int fromX, int toX) {
            QTest::mousePress(&e, Qt::LeftButton, {}, QPoint(fromX, 10));
            QMouseEvent move(QEvent::MouseMove, QPointF(toX, 10), e.mapToGlobal(QPointF(toX, 10)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&e, &move);
            QTest::mouseRelease(&e, Qt::LeftButton, {}, QPoint(toX, 10));
        };
        drag(x3, x5); // select "34"
        QCOMPARE(e.model().selectedText(), QStringLiteral("34"));
        drag(x4, x9); // move it before the 9
        QCOMPARE(e.text(), QStringLiteral("1256783490"));

        FormField t(taxNumberMask);
        TCtlMaskEdit &n = *t.edit;
        n.setText(QStringLiteral("12345678-9-01"));
        const int x2 = xAt(n, 2) + 2, x13 = xAt(n, 13);
        n.model().select(2, 2);
        QTest::mousePress(&n, Qt::LeftButton, {}, QPoint(x2, 10));
        QTest::mouseRelease(&n, Qt::LeftButton, {}, QPoint(x13, 10));
        QCOMPARE(n.text(), QStringLiteral("12345678-9-01"));
        QCOMPARE(n.model().selStart(), 2);
        QCOMPARE(n.model().selLength(), 2);
    }

    // Errors raised by the handlers the field calls reach the default error display after the
    // event; the field stays usable and consistent.
    void handlerErrorsDoNotLeaveTheField()
    {
        QStringList shown;
        const rt::MessageHandler previous = rt::setMessageHandler([&](const rt::Message &m) { shown << m.text; });
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        auto *other = new TCtlMaskEdit(&f.window);
        other->show();
        e.OnKeyDown = [](int &key, Qt::KeyboardModifiers) {
            if (key == Qt::Key_9)
                throw rt::EConvertError(QStringLiteral("key refused"));
        };
        connect(&e, &TCtlMaskEdit::OnChange, this, [&] {
            if (e.text().startsWith(QLatin1Char('5')))
                throw rt::EConvertError(QStringLiteral("change refused"));
        });
        connect(&e, &TCtlMaskEdit::OnExit, this, [] { throw rt::EConvertError(QStringLiteral("exit refused")); });
        QTest::keyClick(&e, Qt::Key_9);
        QCOMPARE(e.text(), QStringLiteral("**********"));
        QGuiApplication::clipboard()->setText(QStringLiteral("55"));
        e.model().select(1, 2);
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QStringLiteral("55********"));
        QCOMPARE(e.model().caret(), 3); // the state was whole before OnChange ran
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QTRY_COMPARE(shown, (QStringList{QStringLiteral("key refused."), QStringLiteral("change refused."),
                                         QStringLiteral("exit refused.")}));
        rt::setMessageHandler(previous);
    }

    void cutAndCopy()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("1234567890"));
        e.model().select(9, 2);
        QTest::keyClick(&e, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("90"));
        e.model().select(1, 2);
        QTest::keyClick(&e, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
        e.model().select(9, 2);
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e.text(), QStringLiteral("12345678"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("90"));
    }

    void contextMenu_data()
    {
        QTest::addColumn<int>("selLength");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("clipboardText");
        QTest::addColumn<bool>("undoAll");
        QTest::addColumn<QStringList>("enabled");
        const QString U = QStringLiteral("&Undo"), X = QStringLiteral("&Cut"), C = QStringLiteral("&Copy"),
                      P = QStringLiteral("&Paste"), D = QStringLiteral("&Delete"), A = QStringLiteral("Select all");
        QTest::newRow("fresh field") << 0 << false << false << false << QStringList{U, A};
        QTest::newRow("selection") << 2 << false << false << false << QStringList{U, X, C, D, A};
        QTest::newRow("clipboard text") << 0 << false << true << false << QStringList{U, P, A};
        QTest::newRow("read-only with selection and clipboard") << 2 << true << true << false << QStringList{U, C, D, A};
        QTest::newRow("after undoing everything") << 0 << false << false << true << QStringList{A};
    }
    void contextMenu()
    {
        QFETCH(int, selLength);
        QFETCH(bool, readOnly);
        QFETCH(bool, clipboardText);
        QFETCH(bool, undoAll);
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        if (undoAll) {
            QTest::keyClicks(&e, QStringLiteral("12"));
            e.model().undo();
            e.model().undo();
        }
        if (clipboardText)
            QGuiApplication::clipboard()->setText(QStringLiteral("1"));
        e.model().select(1, selLength);
        e.setReadOnly(readOnly);
        std::unique_ptr<QMenu> menu(e.createContextMenu(nullptr));
        QCOMPARE(menu->actions().size(), 8);
        QTEST(enabledItems(menu.get()), "enabled");
    }

    void rightClickMenu()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("1234567890"));
        e.model().select(9, 2);
        QTest::mouseClick(&e, Qt::RightButton, {}, QPoint(20, 10));
        QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *del = nullptr;
        for (QAction *a : menu->actions())
            if (a->text() == QStringLiteral("&Delete"))
                del = a;
        QVERIFY(del);
        del->trigger();
        menu->close();
        QCOMPARE(e.text(), QStringLiteral("12345678"));

        // A handler that takes the position suppresses the menu.
        QPoint offered;
        e.OnContextPopup = [&](QPoint pos, bool &handled) {
            offered = pos;
            handled = true;
        };
        QTest::mouseClick(&e, Qt::RightButton, {}, QPoint(30, 10));
        QCOMPARE(offered, QPoint(30, 10));
        QVERIFY(!QApplication::activePopupWidget());
    }

    void mouse()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("1234567890"));
        auto xAt = [&](int pos) {
            e.model().setCaret(pos);
            const int x = e.caretRect().x();
            e.model().setCaret(1);
            return x;
        };
        const int x3 = xAt(3), x4 = xAt(4), x6 = xAt(6), x9 = xAt(9);
        // A click puts the caret at the nearest boundary.
        QTest::mouseClick(&e, Qt::LeftButton, {}, QPoint(x3 + 1, 10));
        QCOMPARE(e.model().caret(), 3);
        QTest::mouseClick(&e, Qt::LeftButton, {}, QPoint(x4 - 1, 10));
        QCOMPARE(e.model().caret(), 4);
        // Dragging selects.
        QTest::mousePress(&e, Qt::LeftButton, {}, QPoint(x3, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(x6, 10), e.mapToGlobal(QPointF(x6, 10)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e, &move);
        QTest::mouseRelease(&e, Qt::LeftButton, {}, QPoint(x6, 10));
        QCOMPARE(e.model().selStart(), 3);
        QCOMPARE(e.model().selLength(), 3);
        // Dragging the selection moves it (insert mode: nothing typed yet).
        QTest::mousePress(&e, Qt::LeftButton, {}, QPoint(x4, 10));
        QTest::mouseRelease(&e, Qt::LeftButton, {}, QPoint(x9, 10));
        QCOMPARE(e.text(), QStringLiteral("1267834590"));
        // A double click selects the whole text when it holds no space.
        QTest::mouseDClick(&e, Qt::LeftButton, {}, QPoint(x4, 10));
        QCOMPARE(e.model().selLength(), 10);
    }

    void dragScrollsWithTheTimer()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.resize(30, 21);
        e.setText(QStringLiteral("1234567890"));
        QTest::mousePress(&e, Qt::LeftButton, {}, QPoint(4, 10));
        QCOMPARE(e.model().caret(), 1);
        const QPoint outside(200, 10);
        QMouseEvent move(QEvent::MouseMove, QPointF(outside), e.mapToGlobal(QPointF(outside)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e, &move);
        const int first = e.model().caret();
        QVERIFY(first < 11); // one step, not a jump to the end
        QTRY_COMPARE_WITH_TIMEOUT(e.model().caret(), 11, 5000);
        QVERIFY(e.horizontalOffset() > 0);
        QTest::mouseRelease(&e, Qt::LeftButton, {}, outside);
        QCOMPARE(e.model().selStart(), 1);
        QCOMPARE(e.model().selLength(), 10);
    }

    void drawing()
    {
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        e.setText(QStringLiteral("12345678-9-01"));
        e.model().setCaret(1);
        QCOMPARE(e.textArea(), QRect(3, 3, 171, 15));
        QImage img(e.size(), QImage::Format_RGB32);
        e.render(&img);
        const QPalette pal = e.palette();
        QCOMPARE(img.pixel(0, 0), pal.color(QPalette::Dark).rgb());         // lowered: top and left in shadow
        QCOMPARE(img.pixel(176, 20), pal.color(QPalette::Light).rgb());     // bottom and right in light
        QCOMPARE(img.pixel(1, 1), pal.color(QPalette::Base).rgb());         // one-pixel margin
        QCOMPARE(img.pixel(2, 10), pal.color(QPalette::Base).rgb());        // the text area's own pixel
        // The caret: one pixel wide at the text's left edge, as high as the font.
        QCOMPARE(e.caretRect(), QRect(3, 3, 1, e.fontMetrics().height()));
        QVERIFY(e.isCaretShown());
        QCOMPARE(img.pixel(3, 5), pal.color(QPalette::Text).rgb());
        // Text begins at the top edge of the text area: some ink in the first rows.
        bool ink = false;
        for (int x = 4; x < 60 && !ink; ++x)
            ink = img.pixel(x, 3 + e.fontMetrics().ascent() - 2) != pal.color(QPalette::Base).rgb();
        QVERIFY(ink);
        // The form's fields are wide enough never to scroll.
        e.model().end(false);
        QCOMPARE(e.horizontalOffset(), 0);
    }

    void selectionShownOnlyWithFocus()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        QTRY_VERIFY(e.hasFocus());
        e.model().selectAll();
        auto highlighted = [&] {
            QImage img(e.size(), QImage::Format_RGB32);
            e.render(&img);
            return img.pixel(5, 14) == e.palette().color(QPalette::Highlight).rgb();
        };
        QVERIFY(highlighted());
        e.clearFocus();
        QVERIFY(!highlighted());
        e.setHideSelection(false);
        QVERIFY(highlighted());
    }

    void scrollsToCaret()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        e.resize(30, 21);
        e.setText(QStringLiteral("1234567890"));
        e.model().end(false);
        QVERIFY(e.horizontalOffset() > 0);
        QVERIFY(e.textArea().contains(e.caretRect().topLeft()));
        e.model().home(false);
        QCOMPARE(e.horizontalOffset(), 0);
    }

    void caretBlinks()
    {
        FormField f(taxIdMask);
        TCtlMaskEdit &e = *f.edit;
        QTRY_VERIFY(e.hasFocus());
        QVERIFY(e.isCaretShown());
        QTRY_VERIFY_WITH_TIMEOUT(!e.isCaretShown(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(e.isCaretShown(), 2000);
        e.clearFocus();
        QVERIFY(!e.isCaretShown());
    }

    void leavingKeepsText()
    {
        FormField f(taxNumberMask);
        TCtlMaskEdit &e = *f.edit;
        auto *other = new TCtlMaskEdit(&f.window);
        other->show();
        QSignalSpy exits(&e, &TCtlMaskEdit::OnExit);
        QTest::keyClicks(&e, QStringLiteral("123"));
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(e.text(), QStringLiteral("123*****-*-**"));
        QCOMPARE(exits.count(), 1);
        QTest::qWait(20);
        QVERIFY(other->hasFocus());
    }

    void requiredPositionTakesFocusBack()
    {
        FormField f(QStringLiteral("0!0"));
        TCtlMaskEdit &e = *f.edit;
        auto *other = new TCtlMaskEdit(&f.window);
        other->setMask(QStringLiteral("!0"));
        other->show();
        other->setFocus();
        QTRY_VERIFY(e.hasFocus());
        QCOMPARE(e.model().selStart(), 2);
        QCOMPARE(e.model().selLength(), 1);
        QTest::qWait(20); // the other field does not fight back
        QVERIFY(e.hasFocus());
    }
};

QTEST_MAIN(TestCtlMaskEdit)
#include "test_ctlmaskedit.moc"
