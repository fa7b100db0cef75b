#include "controls/richtext/ui/tctlrichlabel.h"
#include "controls/richtext/ui/tctlrichscrollbox.h"
#include "controls/richtext/ui/trtflabel.h"
#include "tests/accessibilitytest.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace rtf;
using tk::test::AccessibleEvents;

namespace {

QByteArray rtfOf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238{\\*\\fname Arial;}Arial CE;}}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 "
        + body + "\r\n}\r\n";
}

// Forty numbered paragraphs: more than a small viewer shows at once.
QByteArray manyLines()
{
    QByteArray body;
    for (int i = 1; i <= 40; ++i)
        body += "sor " + QByteArray::number(i) + "\\par ";
    return rtfOf(body);
}

} // namespace

class TestRichTextAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionsReadTheirPlainText()
    {
        QWidget window;
        window.resize(400, 200);
        auto *caption = new TRTFLabel(&window);
        caption->setGeometry(10, 10, 145, 25);
        // "adószáma:" with the code-page escape of "ó", the bold "a" of the form's captions.
        caption->setRichText(rtfOf("\\b ad\\'f3sz\\'e1ma:\\b0\\par"));
        auto *rich = new TCtlRichLabel(&window);
        rich->setGeometry(10, 50, 300, 80);
        rich->setRichText(rtfOf("c. be\\'e9pitetlen\\par (a-b):\\par"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QAccessibleInterface *c = QAccessible::queryAccessibleInterface(caption);
        QCOMPARE(c->role(), QAccessible::StaticText);
        QCOMPARE(c->text(QAccessible::Name), u"adószáma:"_s);
        QVERIFY(c->state().readOnly);
        QCOMPARE(c->textInterface()->text(0, -1), u"adószáma:"_s);

        QAccessibleInterface *r = QAccessible::queryAccessibleInterface(rich);
        QCOMPARE(r->role(), QAccessible::StaticText);
        QCOMPARE(r->text(QAccessible::Name), u"c. beépitetlen\n(a-b):"_s);
        QAccessibleTextInterface *t = r->textInterface();
        int s = 0, e = 0;
        QCOMPARE(t->textAtOffset(3, QAccessible::LineBoundary, &s, &e), u"c. beépitetlen\n"_s);
        QCOMPARE(t->textAfterOffset(3, QAccessible::LineBoundary, &s, &e), u"(a-b):"_s);
        // The characters stand where the label draws them, and back.
        for (QAccessibleInterface *i : {c, r}) {
            QAccessibleTextInterface *ti = i->textInterface();
            const QRect first = ti->characterRect(0);
            const QRect widget(static_cast<QWidget *>(i->object())->mapToGlobal(QPoint(0, 0)),
                               static_cast<QWidget *>(i->object())->size());
            QVERIFY(widget.contains(first));
            QCOMPARE(ti->offsetAtPoint(first.center()), 0);
            QVERIFY(ti->characterRect(ti->characterCount()).isNull());
            QCOMPARE(ti->offsetAtPoint(widget.bottomRight() + QPoint(50, 50)), -1);
        }
    }

    void viewerReadsAndScrollsToWhereItIsRead()
    {
        QWidget window;
        window.resize(400, 300);
        auto *box = new TCtlRichScrollBox(&window);
        box->setGeometry(10, 10, 300, 120);
        box->setRichText(manyLines());
        box->setAccessibleName(u"Kitöltési útmutató"_s);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QScrollBar *v = box->verticalBar();
        QVERIFY(v->isVisibleTo(box));

        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(i->role(), QAccessible::EditableText);
        QCOMPARE(i->text(QAccessible::Name), u"Kitöltési útmutató"_s);
        QVERIFY(i->state().readOnly);
        QVERIFY(i->state().multiLine);
        QVERIFY(!i->editableTextInterface());
        QAccessibleTextInterface *t = i->textInterface();
        const QString text = t->text(0, -1);
        QVERIFY(text.startsWith(u"sor 1\nsor 2\n"_s));
        QVERIFY(text.endsWith(u"sor 40"_s));

        // Reading on at the last line brings it into view; the caret is where reading goes on.
        const int last = int(text.lastIndexOf(u"sor 40"_s));
        AccessibleEvents events;
        t->setCursorPosition(last);
        QCOMPARE(t->cursorPosition(), last);
        QCOMPARE(events.of(box, QAccessible::TextCaretMoved).size(), 1);
        QVERIFY(v->value() > 0);
        const QRect shown(box->mapToGlobal(box->textArea().topLeft()), box->textArea().size());
        QVERIFY(shown.contains(t->characterRect(last).center()));
        t->scrollToSubstring(0, 3);
        QCOMPARE(v->value(), 0);

        // Requests outside the text are answered emptily.
        int s = 0, e = 0;
        QCOMPARE(t->text(-50, 3), u"sor"_s);
        QCOMPARE(t->text(int(text.size()) + 5, int(text.size()) + 9), QString());
        QCOMPARE(t->textAtOffset(int(text.size()), QAccessible::WordBoundary, &s, &e), QString());
        QCOMPARE(t->textBeforeOffset(int(text.size()), QAccessible::WordBoundary, &s, &e), u"40"_s);
        t->setCursorPosition(-4);
        QCOMPARE(t->cursorPosition(), 0);
        t->setCursorPosition(1 << 30);
        QCOMPARE(t->cursorPosition(), int(text.size()));
        t->scrollToSubstring(-3, 1 << 30);
        t->setSelection(0, 2, 9);
        QCOMPARE(t->selectionCount(), 0);
    }

    // With the focus the viewer has a caret that the keys move through the lines as laid out,
    // scrolling along; a reader hears each move and reads the line the caret is on.
    void caretMovesThroughTheLinesAsLaidOut()
    {
        QWidget window;
        window.resize(400, 300);
        auto *box = new TCtlRichScrollBox(&window);
        box->setGeometry(10, 10, 300, 120);
        const QByteArray wrapped = "Ez egy hosszu bekezdes, amely a keskeny dobozban tobb sorba tordelodik, "
                                   "mert sokkal szelesebb, mint a doboz maga, es meg folytatodik is.";
        box->setRichText(rtfOf("elso\\par " + wrapped + "\\par " + manyLines().mid(0, 0) + "harmadik\\par "
                               + QByteArray("sor\\par ").repeated(30)));
        QCOMPARE(box->focusPolicy(), Qt::NoFocus);
        box->setFocusPolicy(Qt::StrongFocus);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->setFocus();
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(box)->textInterface();
        QScrollBar *v = box->verticalBar();
        int s = 0, e = 0;
        QCOMPARE(t->cursorPosition(), 0);
        QCOMPARE(t->textAtOffset(0, QAccessible::LineBoundary, &s, &e), u"elso\n"_s);

        AccessibleEvents events;
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(t->cursorPosition(), 5);
        QCOMPARE(events.of(box, QAccessible::TextCaretMoved).size(), 1);
        // The paragraph reads as the lines it is drawn in: whole when put together, each line
        // below the one before.
        QStringList lines;
        int top = -1;
        for (int at = 5;;) {
            const QString line = t->textAtOffset(at, QAccessible::LineBoundary, &s, &e);
            QCOMPARE(s, at);
            QVERIFY(t->characterRect(s).top() > top);
            top = t->characterRect(s).top();
            lines << line;
            at = e;
            if (line.endsWith(u'\n'))
                break;
        }
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.join(QString()), QString::fromLatin1(wrapped) + u'\n');
        QCOMPARE(t->textAfterOffset(5, QAccessible::LineBoundary, &s, &e), lines.at(1));
        QCOMPARE(t->textBeforeOffset(5 + int(lines.at(0).size()), QAccessible::LineBoundary, &s, &e), lines.at(0));
        // Down goes to the next drawn line, not the next paragraph.
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(t->cursorPosition(), 5 + int(lines.at(0).size()));
        // By word.
        QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(t->textAtOffset(t->cursorPosition() - 1, QAccessible::CharBoundary, &s, &e), u" "_s);

        // A page down moves the caret and the text by a box's height; the ends of the text by Ctrl.
        const int before = t->cursorPosition();
        QTest::keyClick(box, Qt::Key_PageDown);
        QVERIFY(t->cursorPosition() > before);
        QVERIFY(v->value() > 0);
        const QRect shown(box->mapToGlobal(box->textArea().topLeft()), box->textArea().size());
        QVERIFY(shown.intersects(t->characterRect(t->cursorPosition())));
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(t->cursorPosition(), t->characterCount());
        QCOMPARE(v->value(), v->maximum());
        QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(t->cursorPosition(), 0);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(t->cursorPosition(), 0);
    }
};

QTEST_MAIN(TestRichTextAccessible)
#include "test_richtextaccessible.moc"
