#include "controls/maskedit/appeditstate.h"
#include "controls/maskedit/editmask.h"
#include "controls/maskedit/maskeditmodel.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace ctl;

namespace {

const QString taxNumberMask = QStringLiteral("88888888\\-8\\-88");
const QString taxIdMask = QStringLiteral("8888888888");
const QChar star = QLatin1Char('*');

// A field as the form sets it up: blank "*" first, then the mask.
void setUp(MaskEditModel &m, const QString &mask)
{
    m.setBlankChar(star);
    m.setMask(mask);
}

} // namespace

class TestMaskEditModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { appEditState() = AppEditState(); }

    void acceptance_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("c");
        QTest::addColumn<bool>("accepted");
        auto row = [](const char *name, const QString &mask, int at, const QString &c, bool ok) {
            QTest::newRow(name) << mask << at << c << ok;
        };
        const QString L = QStringLiteral("\\-");
        row("literal: itself", L, 1, QStringLiteral("-"), true);
        row("literal: other", L, 1, QStringLiteral("5"), false);
        row("literal: blank", L, 1, QStringLiteral("*"), true);
        row("0: 0", QStringLiteral("0"), 1, QStringLiteral("0"), true);
        row("0: 9", QStringLiteral("0"), 1, QStringLiteral("9"), true);
        row("0: space", QStringLiteral("0"), 1, QStringLiteral(" "), false);
        row("9: 0", QStringLiteral("9"), 1, QStringLiteral("0"), false);
        row("9: 1", QStringLiteral("9"), 1, QStringLiteral("1"), true);
        row("8: space", QStringLiteral("8"), 1, QStringLiteral(" "), true);
        row("8: 0", QStringLiteral("8"), 1, QStringLiteral("0"), true);
        row("8: letter", QStringLiteral("8"), 1, QStringLiteral("x"), false);
        row("8: hyphen", QStringLiteral("8"), 1, QStringLiteral("-"), false);
        row("1: 1", QStringLiteral("1"), 1, QStringLiteral("1"), true);
        row("1: 2", QStringLiteral("1"), 1, QStringLiteral("2"), false);
        row("#: +", QStringLiteral("#"), 1, QStringLiteral("+"), true);
        row("#: -", QStringLiteral("#"), 1, QStringLiteral("-"), true);
        row("#: 0", QStringLiteral("#"), 1, QStringLiteral("0"), true);
        row("#: letter", QStringLiteral("#"), 1, QStringLiteral("a"), false);
        row("*: -", QStringLiteral("*"), 1, QStringLiteral("-"), true);
        row("*: 5", QStringLiteral("*"), 1, QStringLiteral("5"), true);
        row("*: 0", QStringLiteral("*"), 1, QStringLiteral("0"), false);
        row("v: +", QStringLiteral("v"), 1, QStringLiteral("+"), true);
        row("v: 1", QStringLiteral("v"), 1, QStringLiteral("1"), false);
        row("a: accented lower", QStringLiteral("a"), 1, u"á"_s, true);
        row("a: upper", QStringLiteral("a"), 1, QStringLiteral("A"), false);
        row("a: digit", QStringLiteral("a"), 1, QStringLiteral("1"), false);
        row("A: accented upper", QStringLiteral("A"), 1, u"Ő"_s, true);
        row("A: lower", QStringLiteral("A"), 1, QStringLiteral("a"), false);
        row("b: lower", QStringLiteral("b"), 1, QStringLiteral("x"), true);
        row("b: upper", QStringLiteral("b"), 1, u"É"_s, true);
        row("b: digit", QStringLiteral("b"), 1, QStringLiteral("1"), false);
        row("c: letter", QStringLiteral("c"), 1, QStringLiteral("x"), true);
        row("c: digit", QStringLiteral("c"), 1, QStringLiteral("7"), true);
        row("c: hyphen", QStringLiteral("c"), 1, QStringLiteral("-"), false);
        row("r unassigned: digit", QStringLiteral("r"), 1, QStringLiteral("5"), false);
        row("r unassigned: blank", QStringLiteral("r"), 1, QStringLiteral("*"), true);
        row("! takes no position", QStringLiteral("!0"), 1, QStringLiteral("5"), true);
        row("! takes no position: nothing after", QStringLiteral("!0"), 2, QStringLiteral("5"), false);
        row("other first: only blank", QStringLiteral("x0"), 1, QStringLiteral("5"), false);
        row("other first: blank", QStringLiteral("x0"), 1, QStringLiteral("*"), true);
        row("other repeats digit", QStringLiteral("0x"), 2, QStringLiteral("5"), true);
        row("other repeats digit: letter", QStringLiteral("0x"), 2, QStringLiteral("a"), false);
        row("other repeats literal", QStringLiteral("\\-x"), 2, QStringLiteral("-"), true);
        row("escaped mask character", QStringLiteral("\\0"), 1, QStringLiteral("5"), false);
        row("after the last: digit", QStringLiteral("0"), 2, QStringLiteral("5"), false);
        row("after the last: blank", QStringLiteral("0"), 2, QStringLiteral("*"), false);
        row("tax number: digit at hyphen", taxNumberMask, 9, QStringLiteral("5"), false);
        row("tax number: space at 10", taxNumberMask, 10, QStringLiteral(" "), true);
        row("tax number: past the end", taxNumberMask, 14, QStringLiteral("5"), false);
    }
    void acceptance()
    {
        QFETCH(QString, mask);
        QFETCH(int, at);
        QFETCH(QString, c);
        QFETCH(bool, accepted);
        QCOMPARE(EditMask(mask).accepts(c.at(0), at, star), accepted);
    }

    void blankPattern_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("tax number") << taxNumberMask << QStringLiteral("********-*-**");
        QTest::newRow("tax identifier") << taxIdMask << QStringLiteral("**********");
        QTest::newRow("required marks take no position") << QStringLiteral("!0!\\/0") << QStringLiteral("*/*");
        QTest::newRow("repeated literal") << QStringLiteral("\\-x0") << QStringLiteral("--*");
        QTest::newRow("trailing backslash") << QStringLiteral("0\\") << QStringLiteral("**");
        QTest::newRow("empty") << QString() << QString();
    }
    void blankPattern()
    {
        QFETCH(QString, mask);
        QFETCH(QString, pattern);
        QCOMPARE(EditMask(mask).blankPattern(star), pattern);
        MaskEditModel m;
        setUp(m, mask);
        QCOMPARE(m.text(), pattern);
    }

    void validity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("blank") << QStringLiteral("********-*-**") << true;
        QTest::newRow("filled") << QStringLiteral("12345678-9-01") << true;
        QTest::newRow("blank at a literal") << QStringLiteral("12345678*9-**") << true;
        QTest::newRow("shorter") << QStringLiteral("1234") << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("digit at a literal") << QStringLiteral("123456789-9-01") << false;
        QTest::newRow("longer") << QStringLiteral("12345678-9-012") << false;
        QTest::newRow("letter") << QStringLiteral("1234567a-9-01") << false;
    }
    void validity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(EditMask(taxNumberMask).isValid(text, star), valid);
    }

    void userRule()
    {
        MaskEditModel m;
        QList<int> calls;
        m.OnUserRule = [&](bool &ok, QChar c, int at) {
            QVERIFY(!ok);
            calls.append(at);
            ok = c == QLatin1Char('x');
        };
        setUp(m, QStringLiteral("0r"));
        m.setCaret(2);
        m.typeChar(QLatin1Char('y'));
        QCOMPARE(m.text(), QStringLiteral("**"));
        m.typeChar(QLatin1Char('x'));
        QCOMPARE(m.text(), QStringLiteral("*x"));
        QVERIFY(calls.contains(2));
    }

    void requiredPositions()
    {
        MaskEditModel m;
        setUp(m, QStringLiteral("0!0\\-!8"));
        QCOMPARE(m.firstUnfilledRequired(), 2);
        m.setText(QStringLiteral("*5-*"));
        QCOMPARE(m.firstUnfilledRequired(), 4);
        m.setText(QStringLiteral("*5- "));
        QCOMPARE(m.firstUnfilledRequired(), 0);
        setUp(m, taxNumberMask);
        QCOMPARE(m.firstUnfilledRequired(), 0);
    }

    // Ops: "t<chars>" types, "B" Backspace, "D" Delete, "X" cut, "P<text>" paste.
    void edit_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<bool>("insert");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("newSelLength");
        const QString T = taxNumberMask, I = taxIdMask;
        const QString blankT = QStringLiteral("********-*-**"), blankI = QStringLiteral("**********");
        const QString fullT = QStringLiteral("12345678-9-01"), fullI = QStringLiteral("1234567890");
        auto ops = [](std::initializer_list<const char *> l) {
            QStringList r;
            for (const char *s : l)
                r << QString::fromUtf8(s);
            return r;
        };
        auto row = [](const char *name, const QString &mask, const QString &start, int ss, int sl, bool ins,
                      const QStringList &o, const QString &text, int caret, const QString &clip = QString(),
                      int newSelLength = 0) {
            QTest::newRow(name) << mask << start << ss << sl << ins << o << text << caret << clip << newSelLength;
        };
        row("typing 1 to 8", T, blankT, 1, 0, true, ops({"t12345678"}), QStringLiteral("12345678-*-**"), 9);
        row("then 9 is refused", T, blankT, 1, 0, true, ops({"t123456789"}), QStringLiteral("12345678-*-**"), 9);
        row("then - moves on", T, blankT, 1, 0, true, ops({"t123456789-"}), QStringLiteral("12345678-*-**"), 10);
        row("then 9 fills", T, blankT, 1, 0, true, ops({"t123456789-9"}), QStringLiteral("12345678-9-**"), 11);
        row("blank before the hyphen", T, QStringLiteral("12345678-9-**"), 9, 0, true, ops({"t*"}),
            QStringLiteral("12345678*9-**"), 10);
        row("spaces in a tax number", T, blankT, 1, 0, true, ops({"t        - -  "}), QStringLiteral("        - -  "), 14);
        row("spaces in a tax identifier", I, blankI, 1, 0, true, ops({"t          "}), QStringLiteral("          "), 11);
        row("past the end of a tax number", T, fullT, 14, 0, true, ops({"t5"}), fullT, 14);
        row("past the end of a tax identifier", I, fullI, 11, 0, true, ops({"t5"}), fullI, 11);
        row("selection 2 to 5 takes one digit", T, fullT, 2, 4, true, ops({"t9"}), QStringLiteral("19345678-9-01"), 3);
        row("letter refused", T, fullT, 3, 0, true, ops({"ta"}), fullT, 3);
        row("Backspace after the 4", T, QStringLiteral("1234****-*-**"), 5, 0, true, ops({"B"}),
            QStringLiteral("123*****-*-**"), 4);
        row("Backspace after the hyphen", T, fullT, 10, 0, true, ops({"B"}), fullT, 9);
        row("Backspace at position 1", T, fullT, 1, 0, true, ops({"B"}), fullT, 1);
        row("Backspace on a selection", T, fullT, 2, 3, true, ops({"B"}), QStringLiteral("1***5678-9-01"), 2);
        row("Delete at the caret", T, fullT, 3, 0, true, ops({"D"}), QStringLiteral("12*45678-9-01"), 3);
        row("Delete across a literal", T, fullT, 7, 5, true, ops({"D"}), QStringLiteral("123456**-*-01"), 12);
        row("Delete after the last", T, fullT, 14, 0, true, ops({"D"}), fullT, 14);
        row("cut the last two of a tax identifier", I, fullI, 9, 2, true, ops({"X"}), QStringLiteral("12345678"), 9,
            QStringLiteral("90"));
        row("cut in the middle of a tax number", T, fullT, 3, 3, true, ops({"X"}), fullT, 3, QStringLiteral("345"));
        // A paste the mask refuses changes nothing: not the character under the caret in
        // overwrite mode, not the selection it was to replace.
        row("paste 55 at 3 overwriting", I, fullI, 3, 0, false, ops({"P55"}), fullI, 3);
        row("paste 5 at 3 overwriting", I, fullI, 3, 0, false, ops({"P5"}), QStringLiteral("1254567890"), 4);
        row("paste 55 at 3 inserting", I, fullI, 3, 0, true, ops({"P55"}), fullI, 3);
        row("paste over a selection", T, fullT, 1, 2, true, ops({"P99"}), QStringLiteral("99345678-9-01"), 3);
        row("paste a whole tax number", T, blankT, 1, 13, true, ops({"P12345678-9-01"}), fullT, 14);
        row("paste letters", T, fullT, 1, 2, true, ops({"Pab"}), fullT, 3, QString(), 2);
        row("paste letters over everything", T, fullT, 1, 13, true, ops({"Pabc"}), fullT, 14, QString(), 13);
        row("paste with a line break", I, blankI, 1, 10, true, ops({"P12345\r\n6789"}), QStringLiteral("12345 6789"), 11);
        row("type, Backspace, type", T, blankT, 1, 0, true, ops({"t12", "B", "t7"}), QStringLiteral("17******-*-**"), 3);
    }
    void edit()
    {
        QFETCH(QString, mask);
        QFETCH(QString, start);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(bool, insert);
        QFETCH(QStringList, ops);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, clipboard);

        MaskEditModel m;
        setUp(m, mask);
        m.setText(start);
        QCOMPARE(m.text(), start);
        m.select(selStart, selLength);
        appEditState().insert = insert;
        QString clip;
        for (const QString &op : ops) {
            const QString arg = op.mid(1);
            switch (op.at(0).unicode()) {
            case 't':
                for (QChar c : arg)
                    m.typeChar(c);
                break;
            case 'B': m.backspace(); break;
            case 'D': m.deleteKey(); break;
            case 'X': clip = m.cut(); break;
            case 'P': m.paste(arg); break;
            }
            QVERIFY(m.isValid(m.text()));
        }
        QCOMPARE(m.text(), text);
        QCOMPARE(m.caret(), caret);
        QTEST(m.selLength(), "newSelLength");
        QCOMPARE(clip, clipboard);

        // Undoing every edit gives back the starting text, whatever the edits did.
        const bool edited = m.undoCount() > 0;
        while (m.undoCount() > 0)
            m.undo();
        QCOMPARE(m.text(), start);
        QCOMPARE(m.canUndo(), !edited); // enabled until undoing empties the stack
    }

    void undoRedo()
    {
        MaskEditModel m;
        setUp(m, taxIdMask);
        QVERIFY(m.canUndo()); // enabled from creation
        m.undo();             // with an empty stack nothing happens
        QCOMPARE(m.text(), QStringLiteral("**********"));

        m.setCaret(4);
        m.typeChar(QLatin1Char('1'));
        m.typeChar(QLatin1Char('2'));
        QCOMPARE(m.text(), QStringLiteral("***12*****"));
        m.undo();
        QCOMPARE(m.text(), QStringLiteral("***1******"));
        // The caret where it stood before the edit and the restored blank selected.
        QCOMPARE(m.caret(), 5);
        QCOMPARE(m.selStart(), 5);
        QCOMPARE(m.selLength(), 1);
        QCOMPARE(m.redoCount(), 1);
        m.redo();
        QCOMPARE(m.text(), QStringLiteral("***12*****"));
        m.undo();
        m.undo();
        QCOMPARE(m.text(), QStringLiteral("**********"));
        QVERIFY(!m.canUndo());
        m.redo();
        QCOMPARE(m.text(), QStringLiteral("***1******"));
        QVERIFY(m.canUndo());
        // A new edit empties the redo stack.
        m.typeChar(QLatin1Char('9'));
        QCOMPARE(m.redoCount(), 0);

        // Undo of a cut puts the text back and selects it.
        m.setText(QStringLiteral("1234567890"));
        m.select(9, 2);
        QCOMPARE(m.cut(), QStringLiteral("90"));
        m.undo();
        QCOMPARE(m.text(), QStringLiteral("1234567890"));
        QCOMPARE(m.selectedText(), QStringLiteral("90"));
    }

    void readOnly()
    {
        MaskEditModel m;
        setUp(m, taxIdMask);
        m.setReadOnly(true);
        m.typeChar(QLatin1Char('1'));
        m.paste(QStringLiteral("12"));
        m.setCaret(2);
        m.backspace();
        m.deleteKey();
        QCOMPARE(m.text(), QStringLiteral("**********"));
        QVERIFY(!m.modified());
    }

    void events()
    {
        MaskEditModel m;
        QStringList log;
        connect(&m, &MaskEditModel::OnModified, this, [&] { log << QStringLiteral("Modified"); });
        connect(&m, &MaskEditModel::OnTextChangedAt, this, [&](int at) { log << QStringLiteral("TextChangedAt %1").arg(at); });
        connect(&m, &MaskEditModel::OnChange, this, [&] { log << QStringLiteral("Change"); });
        connect(&m, &MaskEditModel::OnCursorPosChanged, this, [&] { log << QStringLiteral("CursorPos"); });

        m.beginLoad();
        setUp(m, taxIdMask);
        m.setText(QStringLiteral("123"));
        m.endLoad();
        QCOMPARE(m.text(), QStringLiteral("**********"));
        QVERIFY(!log.contains(QStringLiteral("Change")));

        m.setCaret(3);
        log.clear();
        m.typeChar(QLatin1Char('5'));
        QCOMPARE(log, (QStringList{QStringLiteral("Modified"), QStringLiteral("TextChangedAt 3"), QStringLiteral("Change"),
                                   QStringLiteral("CursorPos")}));
        log.clear();
        m.typeChar(QLatin1Char('6'));
        QCOMPARE(log, (QStringList{QStringLiteral("TextChangedAt 4"), QStringLiteral("Change"), QStringLiteral("CursorPos")}));
        log.clear();
        m.typeChar(QLatin1Char('x')); // refused: nothing
        QVERIFY(log.isEmpty());
        // A put-back edit still reports.
        m.setMask(taxNumberMask);
        m.setText(QStringLiteral("12345678-9-01"));
        m.select(2, 2);
        log.clear();
        m.cut();
        QCOMPARE(log, (QStringList{QStringLiteral("TextChangedAt 2"), QStringLiteral("Change"), QStringLiteral("CursorPos")}));
        // So does a refused paste, which leaves text, caret and selection as they were.
        m.select(2, 2);
        log.clear();
        m.paste(QStringLiteral("ab"));
        QCOMPARE(log, (QStringList{QStringLiteral("TextChangedAt 2"), QStringLiteral("Change"), QStringLiteral("CursorPos")}));
        QCOMPARE(m.text(), QStringLiteral("12345678-9-01"));
        QCOMPARE(m.selectedText(), QStringLiteral("23"));
        // Caret settings report also when the caret stays.
        log.clear();
        m.setCaret(m.caret());
        QCOMPARE(log, QStringList{QStringLiteral("CursorPos")});
    }

    void keyPressHook()
    {
        MaskEditModel m;
        setUp(m, taxIdMask);
        QString seen;
        m.OnKeyPress = [&](QChar &key) {
            seen += key;
            if (key == QLatin1Char('1'))
                key = QLatin1Char('7');
            else if (key == QLatin1Char('2'))
                key = QChar(0);
        };
        m.typeChar(QLatin1Char('x')); // refused: still reported
        m.typeChar(QLatin1Char('1'));
        m.typeChar(QLatin1Char('2'));
        QCOMPARE(seen, QStringLiteral("x12"));
        QCOMPARE(m.text(), QStringLiteral("7*********"));
    }

    void setText_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("text");
        QTest::newRow("valid") << QStringLiteral("12345678-9-01") << 0 << QStringLiteral("12345678-9-01");
        QTest::newRow("shorter") << QStringLiteral("123") << 0 << QStringLiteral("123");
        QTest::newRow("invalid keeps the text") << QStringLiteral("abc") << 0 << QStringLiteral("1*******-*-**");
        QTest::newRow("too long keeps the text") << QStringLiteral("12345678-9-012") << 0 << QStringLiteral("1*******-*-**");
        QTest::newRow("cut to MaxLength") << QStringLiteral("12345678-9-01") << 5 << QStringLiteral("12345");
    }
    void setText()
    {
        QFETCH(QString, value);
        QFETCH(int, maxLength);
        QFETCH(QString, text);
        MaskEditModel m;
        setUp(m, taxNumberMask);
        m.setCaret(1);
        m.typeChar(QLatin1Char('1'));
        m.setMaxLength(maxLength);
        m.setCaret(5);
        m.setText(value);
        QCOMPARE(m.text(), text);
        QCOMPARE(m.caret(), 1);
    }

    void maskAndBlankChar()
    {
        MaskEditModel m;
        setUp(m, taxNumberMask);
        m.setBlankChar(QLatin1Char('_'));
        QCOMPARE(m.text(), QStringLiteral("********-*-**")); // not rewritten
        m.setMask(taxIdMask);
        QCOMPARE(m.text(), QStringLiteral("__________"));
        m.setMaskType(meNone);
        m.setText(QStringLiteral("free text"));
        QCOMPARE(m.text(), QStringLiteral("free text"));
        m.setMaskType(meMask);
        QCOMPARE(m.text(), QStringLiteral("__________"));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("newCaret");
        QTest::addColumn<int>("newSelStart");
        QTest::addColumn<int>("newSelLength");
        // Text "ab cd ef": spaces at 3 and 6.
        QTest::newRow("Left") << 4 << 4 << 0 << QStringLiteral("L") << 3 << 3 << 0;
        QTest::newRow("Left at 1") << 1 << 1 << 0 << QStringLiteral("L") << 1 << 1 << 0;
        QTest::newRow("Right at the end") << 9 << 9 << 0 << QStringLiteral("R") << 9 << 9 << 0;
        QTest::newRow("Left clears a selection") << 5 << 2 << 3 << QStringLiteral("L") << 4 << 4 << 0;
        QTest::newRow("Shift+Right grows") << 2 << 2 << 0 << QStringLiteral("sR") << 3 << 2 << 1;
        QTest::newRow("Shift+Left shrinks") << 5 << 2 << 3 << QStringLiteral("sL") << 4 << 2 << 2;
        QTest::newRow("Shift+Left over the anchor") << 3 << 3 << 1 << QStringLiteral("sL") << 2 << 2 << 2;
        QTest::newRow("Ctrl+Right to the next space") << 1 << 1 << 0 << QStringLiteral("wR") << 3 << 3 << 0;
        QTest::newRow("Ctrl+Right again") << 3 << 3 << 0 << QStringLiteral("wR") << 6 << 6 << 0;
        QTest::newRow("Ctrl+Right without a space") << 6 << 6 << 0 << QStringLiteral("wR") << 9 << 9 << 0;
        QTest::newRow("Ctrl+Left to the previous space") << 9 << 9 << 0 << QStringLiteral("wL") << 6 << 6 << 0;
        QTest::newRow("Ctrl+Left without a space") << 3 << 3 << 0 << QStringLiteral("wL") << 1 << 1 << 0;
        QTest::newRow("Ctrl+Shift+Right selects") << 1 << 1 << 0 << QStringLiteral("swR") << 3 << 1 << 2;
        QTest::newRow("Home") << 5 << 5 << 0 << QStringLiteral("H") << 1 << 1 << 0;
        QTest::newRow("Shift+End") << 4 << 4 << 0 << QStringLiteral("sE") << 9 << 4 << 5;
        QTest::newRow("Shift+Home") << 4 << 4 << 0 << QStringLiteral("sH") << 1 << 1 << 3;
        QTest::newRow("Esc") << 5 << 2 << 3 << QStringLiteral("Esc") << 5 << 5 << 0;
        QTest::newRow("select all") << 4 << 4 << 0 << QStringLiteral("A") << 9 << 1 << 8;
        QTest::newRow("word at 5") << 5 << 5 << 0 << QStringLiteral("W") << 6 << 4 << 2;
    }
    void navigation()
    {
        QFETCH(int, caret);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, op);
        MaskEditModel m;
        m.setMaskType(meNone);
        m.setText(QStringLiteral("ab cd ef"));
        if (selLength > 0) {
            m.select(selStart, selLength);
            if (caret == selStart) { // the selection was made leftwards
                m.setCaret(selStart + selLength);
                m.moveCaret(selStart, true);
            }
        } else {
            m.setCaret(caret);
        }
        QCOMPARE(m.caret(), caret);
        const bool extend = op.startsWith(QLatin1Char('s')) && op != QStringLiteral("s");
        const QString k = extend ? op.mid(1) : op;
        if (k == QStringLiteral("L")) m.moveLeft(false, extend);
        else if (k == QStringLiteral("R")) m.moveRight(false, extend);
        else if (k == QStringLiteral("wL")) m.moveLeft(true, extend);
        else if (k == QStringLiteral("wR")) m.moveRight(true, extend);
        else if (k == QStringLiteral("H")) m.home(extend);
        else if (k == QStringLiteral("E")) m.end(extend);
        else if (k == QStringLiteral("Esc")) m.clearSelection();
        else if (k == QStringLiteral("A")) m.selectAll();
        else if (k == QStringLiteral("W")) m.selectWordAt(m.caret());
        QTEST(m.caret(), "newCaret");
        QTEST(m.selStart(), "newSelStart");
        QTEST(m.selLength(), "newSelLength");
    }

    void moveSelection()
    {
        MaskEditModel m;
        setUp(m, taxIdMask);
        m.setText(QStringLiteral("1234567890"));
        m.select(3, 2);
        QVERIFY(!m.moveSelectionTo(4)); // onto itself
        QVERIFY(m.moveSelectionTo(9));  // before the 9
        QCOMPARE(m.text(), QStringLiteral("1256783490"));
        QCOMPARE(m.caret(), 9);

        // Overwrite mode: the moved text is inserted, the character where it lands stays.
        m.setText(QStringLiteral("1234567890"));
        m.select(3, 2);
        appEditState().insert = false;
        QVERIFY(m.moveSelectionTo(9));
        QCOMPARE(m.text(), QStringLiteral("1256783490"));
        m.undo();
        m.undo();
        QCOMPARE(m.text(), QStringLiteral("1234567890"));

        // In a tax number the shifted characters no longer fit: nothing moves, nothing is
        // deleted where the drop lands, and the selection stays.
        setUp(m, taxNumberMask);
        m.setText(QStringLiteral("12345678-9-01"));
        m.select(2, 2);
        QVERIFY(m.moveSelectionTo(13));
        QCOMPARE(m.text(), QStringLiteral("12345678-9-01"));
        QCOMPARE(m.selStart(), 2);
        QCOMPARE(m.selLength(), 2);

        // Half a move is no move: a removal the mask takes with an insertion it refuses.
        m.setText(QStringLiteral("1234"));
        m.select(1, 1);
        QVERIFY(m.moveSelectionTo(5));
        QCOMPARE(m.text(), QStringLiteral("2341"));
        m.setText(QStringLiteral("12345678-9"));
        m.select(9, 1); // the "-": removing it shifts the 9 onto a literal
        QVERIFY(m.moveSelectionTo(11));
        QCOMPARE(m.text(), QStringLiteral("12345678-9"));
        QCOMPARE(m.selLength(), 1);
    }

    // Whatever is pasted where, the text stays valid for the mask.
    void badPaste_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("long") << QString(100000, QLatin1Char('7'));
        QTest::newRow("multi-line") << QStringLiteral("1234\r\n5678\n9");
        QTest::newRow("non-Latin") << u"١٢٣ 中文 ΩЖ őű"_s;
        QTest::newRow("control characters") << QStringLiteral("1\t2\0013\x7f") + QChar(0) + QStringLiteral("4");
        QTest::newRow("surrogate pair") << u"1😀2"_s;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("12");
        QTest::newRow("blanks and hyphens") << QStringLiteral("**--**--");
        QTest::newRow("empty") << QString();
    }
    void badPaste()
    {
        QFETCH(QString, pasted);
        for (const QString &mask : {taxNumberMask, taxIdMask}) {
            MaskEditModel m;
            setUp(m, mask);
            const int n = m.editMask().size();
            const QString filled = mask == taxNumberMask ? QStringLiteral("12345678-9-01") : QStringLiteral("1234567890");
            for (bool insert : {true, false}) {
                for (int start = 1; start <= n + 1; ++start) {
                    for (int len : {0, 1, 3}) {
                        m.setText(filled);
                        m.select(start, len);
                        appEditState().insert = insert;
                        m.paste(pasted);
                        QVERIFY2(m.isValid(m.text()), qPrintable(m.text()));
                        QVERIFY(m.caret() >= 1 && m.caret() <= m.text().size() + 1);
                    }
                }
            }
        }
    }

    // Random edits in any order never leave an invalid text, and undoing them all restores it.
    void randomEdits()
    {
        QRandomGenerator rng(20061);
        const QString pool = QStringLiteral("0123456789 -*ab\n");
        for (const QString &mask : {taxNumberMask, taxIdMask}) {
            MaskEditModel m;
            setUp(m, mask);
            const QString start = m.text();
            for (int i = 0; i < 3000; ++i) {
                const int len = int(m.text().size());
                switch (rng.bounded(8)) {
                case 0: m.select(rng.bounded(len + 2), rng.bounded(4)); break;
                case 1: m.setCaret(rng.bounded(len + 2)); break;
                case 2: m.backspace(); break;
                case 3: m.deleteKey(); break;
                case 4: m.cut(); break;
                case 5: {
                    QString s;
                    for (int k = rng.bounded(5); k > 0; --k)
                        s += pool.at(rng.bounded(int(pool.size())));
                    appEditState().insert = rng.bounded(2);
                    m.paste(s);
                    break;
                }
                case 6: m.moveSelectionTo(rng.bounded(len + 2)); break;
                default: m.typeChar(pool.at(rng.bounded(int(pool.size())))); break;
                }
                QVERIFY2(m.isValid(m.text()), qPrintable(m.text()));
                QVERIFY(m.caret() >= 1 && m.caret() <= m.text().size() + 1);
                QVERIFY(m.selStart() + m.selLength() <= m.text().size() + 1);
            }
            while (m.undoCount() > 0)
                m.undo();
            QCOMPARE(m.text(), start);
        }
    }

    // Read aloud: placeholders are silent, literals only between typed characters; the text
    // itself, which is printed and saved, keeps them.
    void spokenText_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("empty tax number") << taxNumberMask << u"********-*-**"_s << u"             "_s;
        QTest::newRow("first group typed") << taxNumberMask << u"12345678-*-**"_s << u"12345678     "_s;
        QTest::newRow("into the second group") << taxNumberMask << u"12345678-9-**"_s << u"12345678-9   "_s;
        QTest::newRow("gap before a typed digit") << taxNumberMask << u"1*******-*-*2"_s << u"1       - - 2"_s;
        QTest::newRow("full") << taxNumberMask << u"12345678-9-01"_s << u"12345678-9-01"_s;
        QTest::newRow("tax id half") << taxIdMask << u"12345*****"_s << u"12345     "_s;
    }
    void spokenText()
    {
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QFETCH(QString, spoken);
        MaskEditModel m;
        setUp(m, mask);
        m.setText(text);
        QCOMPARE(m.text(), text);
        QCOMPARE(m.spokenText(), spoken);
    }

    void expectedForm_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("form");
        QTest::newRow("tax number") << taxNumberMask << u"8, 1 és 2 számjegy"_s;
        QTest::newRow("tax id") << taxIdMask << u"10 számjegy"_s;
        QTest::newRow("letters") << u"bb\\-00"_s << u"2 és 2 karakter"_s;
    }
    void expectedForm()
    {
        QFETCH(QString, mask);
        QFETCH(QString, form);
        MaskEditModel m;
        setUp(m, mask);
        QCOMPARE(m.expectedForm(), form);
        // The other kinds ask for no form.
        m.setMaskType(meInteger);
        QVERIFY(m.expectedForm().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMaskEditModel)
#include "test_maskeditmodel.moc"
