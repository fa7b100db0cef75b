#include "controls/common/ui/accessiblelineedit.h"
#include "controls/common/ui/accessibletext.h"
#include "tests/accessibilitytest.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace ctl;
using tk::test::AccessibleEvent;
using tk::test::AccessibleEvents;

Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)
Q_DECLARE_METATYPE(ctl::TextSide)

class TestAccessibleText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { installLineEditAccessibility(); }

    void textAround_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
        QTest::addColumn<TextSide>("side");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        const QString words = QStringLiteral("ab cd");
        const auto W = QAccessible::WordBoundary;
        const auto C = QAccessible::CharBoundary;
        const auto S = QAccessible::SentenceBoundary;
        const auto L = QAccessible::LineBoundary;
        const auto P = QAccessible::ParagraphBoundary;
        const auto N = QAccessible::NoBoundary;
        const auto before = TextSide::Before, at = TextSide::At, after = TextSide::After;
        QTest::newRow("char at 1") << words << 1 << C << at << QStringLiteral("b") << 1 << 2;
        QTest::newRow("char before 1") << words << 1 << C << before << QStringLiteral("a") << 0 << 1;
        QTest::newRow("char after 1") << words << 1 << C << after << QStringLiteral(" ") << 2 << 3;
        QTest::newRow("word at 0") << words << 0 << W << at << QStringLiteral("ab") << 0 << 2;
        QTest::newRow("word at 4") << words << 4 << W << at << QStringLiteral("cd") << 3 << 5;
        QTest::newRow("word after 0") << words << 0 << W << after << QStringLiteral(" ") << 2 << 3;
        // At the very end: nothing at it, the last word before it. Qt's default loops forever here.
        QTest::newRow("word at the end") << words << 5 << W << at << QString() << 5 << 5;
        QTest::newRow("word at -1 (the end)") << words << -1 << W << at << QString() << 5 << 5;
        QTest::newRow("sentence at the end") << words << 5 << S << at << QString() << 5 << 5;
        QTest::newRow("word before the end") << words << 5 << W << before << QStringLiteral("cd") << 3 << 5;
        QTest::newRow("word after the end") << words << 5 << W << after << QString() << 5 << 5;
        QTest::newRow("sentence at 0") << QStringLiteral("Egy. Kettő.") << 0 << S << at << QStringLiteral("Egy. ") << 0 << 5;
        QTest::newRow("sentence after 0") << QStringLiteral("Egy. Kettő.") << 0 << S << after << QStringLiteral("Kettő.") << 5
                                          << 11;
        QTest::newRow("line with its break") << QStringLiteral("one\ntwo") << 1 << L << at << QStringLiteral("one\n") << 0 << 4;
        QTest::newRow("line after") << QStringLiteral("one\ntwo") << 1 << L << after << QStringLiteral("two") << 4 << 7;
        QTest::newRow("paragraph before") << QStringLiteral("one\ntwo") << 5 << P << before << QStringLiteral("one\n") << 0
                                          << 4;
        QTest::newRow("whole text") << words << 3 << N << at << words << 0 << 5;
        QTest::newRow("nothing before the whole") << words << 3 << N << before << QString() << -1 << -1;
        QTest::newRow("negative offset") << words << -5 << W << at << QString() << -1 << -1;
        QTest::newRow("offset -2 (the caret, resolved by the caller)") << words << -2 << C << at << QString() << -1 << -1;
        QTest::newRow("offset beyond") << words << 6 << C << before << QString() << -1 << -1;
        QTest::newRow("huge offset") << words << std::numeric_limits<int>::max() << W << after << QString() << -1 << -1;
        QTest::newRow("empty text") << QString() << 0 << W << at << QString() << -1 << -1;
        QTest::newRow("unnamed boundary: the whole") << words << 1 << QAccessible::TextBoundaryType(7) << at << words << 0 << 5;
        QTest::newRow("ő is one character") << QStringLiteral("tőke") << 1 << C << at << QStringLiteral("ő") << 1 << 2;
    }
    void textAround()
    {
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QAccessible::TextBoundaryType, boundary);
        QFETCH(TextSide, side);
        QFETCH(QString, expected);
        int start = 99, end = 99;
        QCOMPARE(ctl::textAround(text, offset, boundary, side, &start, &end), expected);
        QTEST(start, "start");
        QTEST(end, "end");
    }

    void changeAnnouncedAsOneRange_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("overwritten blank") << QStringLiteral("1***") << QStringLiteral("12**") << int(QAccessible::TextUpdated) << 1
                                           << QStringLiteral("*") << QStringLiteral("2");
        QTest::newRow("typed at the end") << QStringLiteral("12") << QStringLiteral("123") << int(QAccessible::TextInserted) << 2
                                          << QString() << QStringLiteral("3");
        QTest::newRow("removed in the middle") << QStringLiteral("1234") << QStringLiteral("14") << int(QAccessible::TextRemoved)
                                               << 1 << QStringLiteral("23") << QString();
        QTest::newRow("repeated letters") << QStringLiteral("aaa") << QStringLiteral("aaaa") << int(QAccessible::TextInserted) << 3
                                          << QString() << QStringLiteral("a");
        QTest::newRow("from nothing") << QString() << QStringLiteral("0") << int(QAccessible::TextInserted) << 0 << QString()
                                      << QStringLiteral("0");
        QTest::newRow("common end kept") << QStringLiteral("0") << QStringLiteral("1200") << int(QAccessible::TextInserted) << 0
                                         << QString() << QStringLiteral("120");
        QTest::newRow("all replaced") << QStringLiteral("0") << QStringLiteral("15") << int(QAccessible::TextUpdated) << 0
                                      << QStringLiteral("0") << QStringLiteral("15");
    }
    void changeAnnouncedAsOneRange()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QWidget object;
        AccessibleEvents events;
        ctl::notifyTextChanged(&object, before, after, 7);
        QCOMPARE(events.all().size(), 1);
        const AccessibleEvent e = events.all().first();
        QTEST(int(e.type), "type");
        QTEST(e.position, "position");
        QTEST(e.removed, "removed");
        QTEST(e.inserted, "inserted");
        QCOMPARE(e.cursor, 7);
    }

    void nothingIsAnnouncedWithoutChangeOrListener()
    {
        QWidget object;
        {
            AccessibleEvents events;
            ctl::notifyTextChanged(&object, QStringLiteral("x"), QStringLiteral("x"), 0);
            QVERIFY(events.all().isEmpty());
        }
        QVERIFY(!QAccessible::isActive());
        // Nobody listens: nothing is sent (and so nothing asks for an interface).
        ctl::notifyTextChanged(&object, QStringLiteral("x"), QStringLiteral("y"), 0);
        ctl::notifyCaretMoved(&object, 0);
    }

    // Any line edit of the program answers through our interface: the words at the end of its text,
    // where Qt's own loops forever, and ranges outside it.
    void lineEditAnswersEveryRequest()
    {
        QLineEdit edit;
        edit.setText(QStringLiteral("ab cd"));
        edit.setAccessibleName(QStringLiteral("neve"));
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(&edit);
        QVERIFY(dynamic_cast<AccessibleLineEdit *>(i));
        QCOMPARE(i->role(), QAccessible::EditableText);
        QCOMPARE(i->text(QAccessible::Name), QStringLiteral("neve"));
        QCOMPARE(i->text(QAccessible::Value), QStringLiteral("ab cd"));
        QVERIFY(i->state().editable);
        edit.show();
        QVERIFY(!i->state().invisible);
        edit.resize(0, 21);
        QVERIFY(i->state().invisible);
        edit.resize(100, 21);
        QAccessibleTextInterface *t = i->textInterface();
        int s = 0, e = 0;
        QCOMPARE(t->textAtOffset(5, QAccessible::WordBoundary, &s, &e), QString());
        QCOMPARE(t->textAtOffset(-1, QAccessible::SentenceBoundary, &s, &e), QString());
        edit.setCursorPosition(5);
        QCOMPARE(t->textBeforeOffset(-2, QAccessible::WordBoundary, &s, &e), QStringLiteral("cd"));
        QCOMPARE(t->text(-3, 99), QStringLiteral("ab cd"));
        QCOMPARE(t->text(4, 1), QString());
        QVERIFY(t->characterRect(5).isNull());
        QVERIFY(t->characterRect(-1).isNull());
        t->setSelection(0, -10, 2);
        QCOMPARE(edit.selectedText(), QStringLiteral("ab"));
        t->setCursorPosition(1000);
        QCOMPARE(edit.cursorPosition(), 5);

        // A client edits as the user would, through the edit's own rules.
        edit.setMaxLength(6);
        i->editableTextInterface()->insertText(99, QStringLiteral("xyz"));
        QCOMPARE(edit.text(), QStringLiteral("ab cdx"));
        i->editableTextInterface()->replaceText(0, 2, QStringLiteral("AB"));
        QCOMPARE(edit.text(), QStringLiteral("AB cdx"));
        i->editableTextInterface()->deleteText(-5, 3);
        QCOMPARE(edit.text(), QStringLiteral("cdx"));
        edit.setReadOnly(true);
        QVERIFY(i->state().readOnly);
        i->editableTextInterface()->deleteText(0, 3);
        i->setText(QAccessible::Value, QStringLiteral("new"));
        QCOMPARE(edit.text(), QStringLiteral("cdx"));

        // A password field's text stays hidden.
        QLineEdit secret;
        secret.setEchoMode(QLineEdit::Password);
        secret.setText(QStringLiteral("titok"));
        QAccessibleInterface *p = QAccessible::queryAccessibleInterface(&secret);
        QVERIFY(p->text(QAccessible::Value) != QStringLiteral("titok"));
        QVERIFY(p->textInterface()->text(0, 5) != QStringLiteral("titok"));
    }

    // A reader walks the attribute runs to split a line; one run covering the text lets it keep
    // the last character.
    void attributeRunCoversTheText_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::newRow("first") << 0 << 0 << 5;
        QTest::newRow("last") << 4 << 0 << 5;
        QTest::newRow("at the end") << 5 << 5 << 5;
        QTest::newRow("before") << -3 << 0 << 0;
        QTest::newRow("beyond") << 99 << 5 << 5;
    }
    void attributeRunCoversTheText()
    {
        QFETCH(int, offset);
        int start = -7, end = -7;
        plainAttributeRun(5, offset, &start, &end);
        QTEST(start, "start");
        QTEST(end, "end");
        QLineEdit edit(QStringLiteral("abcde"));
        QAccessibleTextInterface *t = QAccessible::queryAccessibleInterface(&edit)->textInterface();
        start = end = -7;
        QVERIFY(t->attributes(offset, &start, &end).isEmpty());
        QTEST(start, "start");
        QTEST(end, "end");
    }
};

QTEST_MAIN(TestAccessibleText)
#include "test_accessibletext.moc"
