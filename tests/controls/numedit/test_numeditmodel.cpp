#include "controls/numedit/numeditmodel.h"
#include "runtime/errors.h"
#include "runtime/formatsettings.h"
#include "tests/testhelpers.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(long double)

using ctl::NumEditModel;
using ctl::TNumberFormat;
using tk::test::useSeparators;

namespace {

// Edit states are written as text with "|" for the caret, or "[" and "]" around a
// selection (anchor at "[", caret at "]").
void load(NumEditModel &m, const QString &state)
{
    QString text;
    int anchor = -1;
    int caret = -1;
    for (QChar ch : state) {
        if (ch == QLatin1Char('|'))
            anchor = caret = int(text.size());
        else if (ch == QLatin1Char('['))
            anchor = int(text.size());
        else if (ch == QLatin1Char(']'))
            caret = int(text.size());
        else
            text += ch;
    }
    m.setText(text);
    m.setSelection(anchor, caret);
}

QString show(const NumEditModel &m)
{
    QString s = m.text();
    if (!m.hasSelection())
        return s.insert(m.caret(), QLatin1Char('|'));
    s.insert(qMax(m.anchor(), m.caret()), QLatin1Char(m.anchor() < m.caret() ? ']' : '['));
    s.insert(qMin(m.anchor(), m.caret()), QLatin1Char(m.anchor() < m.caret() ? '[' : ']'));
    return s;
}

const QChar kBackspace = QChar(8);
const QChar kDelete = QChar(127);

// Types the keys: "\b" stands for the Backspace key, "\x7f" for Delete, anything else is a
// character. Returns how many were refused.
int press(NumEditModel &m, const QString &keys)
{
    int refused = 0;
    for (QChar ch : keys) {
        bool ok = true;
        if (ch == kBackspace)
            ok = m.keyBackspace();
        else if (ch == kDelete)
            ok = m.keyDelete();
        else
            ok = m.typeChar(ch);
        if (!ok)
            ++refused;
    }
    return refused;
}

} // namespace

class TestNumEditModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { useSeparators(QLatin1Char(',')); }
    void cleanupTestCase() { rt::setFormatSettings(rt::FormatSettings{}); }

    void untouchedFieldIsZero()
    {
        NumEditModel m;
        QCOMPARE(m.text(), QStringLiteral("0"));
        QCOMPARE(m.value(), 0.0L);
        QCOMPARE(m.decimals(), -1);
    }

    void normalForm_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("format");
        QTest::addColumn<long double>("value");
        QTest::addColumn<QString>("expected");
        const QString c = QStringLiteral(",");
        const QString p = QStringLiteral(".");
        const int std = int(TNumberFormat::Standard);
        QTest::newRow("0") << c << -1 << std << 0.0L << u"0"_s;
        QTest::newRow("1234,5") << c << -1 << std << 1234.5L << u"1234,5"_s;
        QTest::newRow("12") << c << -1 << std << 12.0L << u"12"_s;
        QTest::newRow("-0,25") << c << -1 << std << -0.25L << u"-0,25"_s;
        QTest::newRow("1234.5 under point") << p << -1 << std << 1234.5L << u"1234.5"_s;
        QTest::newRow("at most 14 places") << c << -1 << std << 0.123456789012345678L << u"0,12345678901235"_s;
        QTest::newRow("tiny negative is 0") << c << -1 << std << -1e-20L << u"0"_s;
        QTest::newRow("1e15 without exponent") << c << -1 << std << 1e15L << u"1000000000000000"_s;
        QTest::newRow("decimals 0 rounds half up") << c << 0 << std << 2.5L << u"3"_s;
        QTest::newRow("decimals 0 negative") << c << 0 << std << -2.5L << u"-3"_s;
        QTest::newRow("decimals 2 pads") << c << 2 << std << 1234.5L << u"1234,50"_s;
        QTest::newRow("decimals 2 zero") << p << 2 << std << 0.0L << u"0.00"_s;
        QTest::newRow("decimals 14") << c << 14 << std << 0.1L << u"0,10000000000000"_s;
        QTest::newRow("decimals 5 beyond 15 digits")
            << c << 5 << std << 123456789012.345678L << u"123456789012,34600"_s;
        QTest::newRow("decimals 2 at 15 integer digits")
            << c << 2 << std << 123456789012345.678L << u"123456789012346,00"_s;
        QTest::newRow("thousands") << c << -1 << int(TNumberFormat::Thousands) << 1234567.5L << u"1 234 567,5"_s;
        QTest::newRow("thousands negative, 2 places")
            << p << 2 << int(TNumberFormat::Thousands) << -1234.5L << u"-1,234.50"_s;
        QTest::newRow("scientific") << c << -1 << int(TNumberFormat::Scientific) << 1234.5L << u"1,2345E3"_s;
        QTest::newRow("scientific 2 places")
            << c << 2 << int(TNumberFormat::Scientific) << 0.00012345L << u"1,23E-4"_s;
        QTest::newRow("engineering") << c << -1 << int(TNumberFormat::Engineering) << 12345.0L << u"12,345E3"_s;
        QTest::newRow("engineering 1 place")
            << c << 1 << int(TNumberFormat::Engineering) << 0.000123L << u"123,0E-6"_s;
    }
    void normalForm()
    {
        QFETCH(QString, sep);
        QFETCH(int, decimals);
        QFETCH(int, format);
        QFETCH(long double, value);
        QFETCH(QString, expected);
        useSeparators(sep.front());
        NumEditModel m;
        m.setNumberFormat(TNumberFormat(format));
        m.setDecimals(decimals);
        QCOMPARE(m.normalForm(value), expected);
        m.setValue(value);
        QCOMPARE(m.text(), expected);
        QCOMPARE(m.canUndo(), false);
    }

    void exitRewrites_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString c = QStringLiteral(",");
        QTest::newRow("trailing separator") << c << u"1234,"_s << u"1234"_s;
        QTest::newRow("007") << c << u"007"_s << u"7"_s;
        QTest::newRow("-0,50") << c << u"-0,50"_s << u"-0,5"_s;
        QTest::newRow("-0") << c << u"-0"_s << u"0"_s;
        QTest::newRow("lone minus") << c << u"-"_s << u"0"_s;
        QTest::newRow("empty") << c << QString() << u"0"_s;
        QTest::newRow("exponent") << c << u"1E3"_s << u"1000"_s;
        QTest::newRow("small exponent") << c << u"1,5E-5"_s << u"0,000015"_s;
        QTest::newRow("exponent without digits") << c << u"1E"_s << u"1"_s;
        QTest::newRow("zero mantissa") << c << u"0E-3"_s << u"0"_s;
        QTest::newRow("thousands separators dropped") << c << u"1 234,5"_s << u"1234,5"_s;
        QTest::newRow("point locale") << u"."_s << u"12.50"_s << u"12.5"_s;
    }
    void exitRewrites()
    {
        QFETCH(QString, sep);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        useSeparators(sep.front());
        NumEditModel m;
        m.setText(text);
        QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::Accepted);
        QCOMPARE(m.text(), expected);
        QCOMPARE(NumEditModel::valueOf(m.text()), NumEditModel::valueOf(text));
    }

    void exitConversionError_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("digitless mantissa") << u"E5"_s;
        QTest::newRow("overflow") << u"2E4932"_s;
        QTest::newRow("point under comma") << u"1.5"_s;
        QTest::newRow("letters") << u"abc"_s;
    }
    void exitConversionError()
    {
        QFETCH(QString, text);
        NumEditModel m;
        m.setText(text);
        try {
            m.exitProcessing();
            QFAIL("no conversion error");
        } catch (const rt::EConvertError &e) {
            QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
        QCOMPARE(m.text(), text);
    }

    void range()
    {
        NumEditModel m;
        m.setMinValue(5); // above MaxValue 0: ignored
        QCOMPARE(m.minValue(), 0.0L);
        m.setMaxValue(10);
        m.setMinValue(5);
        m.setMaxValue(2); // below MinValue: ignored
        QCOMPARE(m.maxValue(), 10.0L);
        m.setText(u"12,"_s);
        QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::OutOfRange);
        QCOMPARE(m.text(), u"12"_s);
        m.clampToRange();
        QCOMPARE(m.text(), u"10"_s);
        m.setText(u"3"_s);
        QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::OutOfRange);
        m.clampToRange();
        QCOMPARE(m.text(), u"5"_s);
        m.setText(u"7,5"_s);
        QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::Accepted);
    }

    void decimalsClamp_data()
    {
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative") << 0 << -5 << -1 << u"0"_s;
        QTest::newRow("above 14") << 0 << 20 << 14 << u"0,00000000000000"_s;
        QTest::newRow("limited by MaxLength") << 4 << 3 << 2 << u"0,00"_s;
    }
    void decimalsClamp()
    {
        QFETCH(int, maxLength);
        QFETCH(int, decimals);
        QFETCH(int, expected);
        QFETCH(QString, text);
        NumEditModel m;
        m.setMaxLength(maxLength);
        m.setDecimals(decimals);
        QCOMPARE(m.decimals(), expected);
        QCOMPARE(m.text(), text);
    }

    void keys_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("refused");
        const QString c = QStringLiteral(",");
        const QString p = QStringLiteral(".");
        const QString bs(kBackspace);
        const QString del(kDelete);

        // Typing.
        QTest::newRow("entered field: 1234 replaces 0") << c << -1 << u"[0]"_s << u"1234"_s << u"1234|"_s << 0;
        QTest::newRow("separator in the middle goes to the end") << c << -1 << u"12|34"_s << u","_s << u"1234,|"_s << 0;
        QTest::newRow("separator again moves after it") << c << -1 << u"1|234,5"_s << u","_s << u"1234,|5"_s << 0;
        QTest::newRow("point separator") << p << -1 << u"12|34"_s << u"."_s << u"1234.|"_s << 0;
        QTest::newRow("point refused under comma") << c << -1 << u"12|"_s << u"."_s << u"12|"_s << 1;
        QTest::newRow("comma refused under point") << p << -1 << u"12|"_s << u","_s << u"12|"_s << 1;
        QTest::newRow("blank, letters, plus refused") << c << -1 << u"12|"_s << u" ax+"_s << u"12|"_s << 4;
        QTest::newRow("non-Latin digits refused") << c << -1 << u"12|"_s << u"١٢５"_s << u"12|"_s << 3;
        QTest::newRow("control characters refused") << c << -1 << u"12|"_s << u"\r\x1b\t\x1a"_s << u"12|"_s << 4;
        QTest::newRow("minus toggles on anywhere") << c << -1 << u"1|2"_s << u"-"_s << u"-1|2"_s << 0;
        QTest::newRow("minus toggles off") << c << -1 << u"-1|2"_s << u"-"_s << u"1|2"_s << 0;
        QTest::newRow("minus twice") << c << -1 << u"12|"_s << u"--"_s << u"12|"_s << 0;
        QTest::newRow("minus on the entered 0") << c << -1 << u"[0]"_s << u"-5"_s << u"-5|"_s << 0;
        QTest::newRow("nothing typed in front of the sign") << c << -1 << u"|-5"_s << u"3"_s << u"-3|5"_s << 0;
        QTest::newRow("leading zero replaced") << c << -1 << u"0|,5"_s << u"7"_s << u"7|,5"_s << 0;
        QTest::newRow("zero after minus replaced") << c << -1 << u"-0|"_s << u"7"_s << u"-7|"_s << 0;
        QTest::newRow("digit over selection") << c << -1 << u"1[23]4"_s << u"9"_s << u"19|4"_s << 0;
        QTest::newRow("minus over selection") << c << -1 << u"1[23]4"_s << u"-"_s << u"-1|4"_s << 0;
        QTest::newRow("e becomes E at the end") << c << -1 << u"1|2"_s << u"e"_s << u"12E|"_s << 0;
        QTest::newRow("E keeps the selection") << c << -1 << u"1[23]4"_s << u"E"_s << u"1234E|"_s << 0;
        QTest::newRow("E again jumps after E") << c << -1 << u"|1E5"_s << u"E"_s << u"1E|5"_s << 0;
        QTest::newRow("separator before E") << c << -1 << u"1|E5"_s << u","_s << u"1,|E5"_s << 0;
        QTest::newRow("zero after E replaced") << c << -1 << u"1E|0"_s << u"7"_s << u"1E7|"_s << 0;
        QTest::newRow("exponent sign on") << c << -1 << u"1E5|"_s << u"-"_s << u"1E-5|"_s << 0;
        QTest::newRow("exponent sign off") << c << -1 << u"1E-5|"_s << u"-"_s << u"1E5|"_s << 0;
        QTest::newRow("exponent 4932") << c << -1 << u"1E493|"_s << u"2"_s << u"1E4932|"_s << 0;
        QTest::newRow("exponent 4933 refused") << c << -1 << u"1E493|"_s << u"3"_s << u"1E493|"_s << 1;
        QTest::newRow("exponent -4933 refused") << c << -1 << u"1E-493|"_s << u"3"_s << u"1E-493|"_s << 1;
        QTest::newRow("exponent digit goes behind its sign") << c << -1 << u"1E|-5"_s << u"3"_s << u"1E-3|5"_s << 0;
        QTest::newRow("overflowing value refused") << c << -1 << u"9E493|"_s << u"2"_s << u"9E493|"_s << 1;
        QTest::newRow("sign toggle into overflow refused") << c << -1 << u"2E-4932|"_s << u"-"_s << u"2E-4932|"_s << 1;
        QTest::newRow("decimals 2 from the entered field") << c << 2 << u"[0,00]"_s << u"12,5"_s << u"12,5|0"_s << 0;
        QTest::newRow("decimals 2 overwrite") << c << 2 << u"1,|00"_s << u"5"_s << u"1,5|0"_s << 0;
        QTest::newRow("decimals 2 full fraction refused") << c << 2 << u"1,50|"_s << u"7"_s << u"1,50|"_s << 1;
        QTest::newRow("decimals 2 separator at caret") << c << 2 << u"1|2"_s << u","_s << u"1,|2"_s << 0;
        QTest::newRow("decimals 0 separator refused") << c << 0 << u"12|"_s << u","_s << u"12|"_s << 1;

        // Backspace and Delete, one character.
        QTest::newRow("backspace the only integer digit") << c << -1 << u"5|,25"_s << bs << u"0|,25"_s << 0;
        QTest::newRow("backspace the only character") << c << -1 << u"5|"_s << bs << u"0|"_s << 0;
        QTest::newRow("backspace a fraction digit") << c << -1 << u"12,5|"_s << bs << u"12,|"_s << 0;
        QTest::newRow("backspace skips the separator") << c << -1 << u"12,|5"_s << bs << u"1|,5"_s << 0;
        QTest::newRow("delete skips the separator") << c << -1 << u"12|,5"_s << del << u"12,|"_s << 0;
        QTest::newRow("backspace skips E") << c << -1 << u"12E|5"_s << bs << u"1|E5"_s << 0;
        QTest::newRow("delete at the end") << c << -1 << u"12|"_s << del << u"12|"_s << 0;
        QTest::newRow("backspace at the start") << c << -1 << u"|12"_s << bs << u"|12"_s << 0;
        QTest::newRow("backspace the sign") << c << -1 << u"-|5"_s << bs << u"|5"_s << 0;
        QTest::newRow("backspace leaves a lone minus") << c << -1 << u"-5|"_s << bs << u"-|"_s << 0;
        QTest::newRow("delete first digit") << c << -1 << u"|12"_s << del << u"|2"_s << 0;
        QTest::newRow("decimals 2 keep their width") << c << 2 << u"1,2|5"_s << bs << u"1,|50"_s << 0;
        QTest::newRow("mantissa keeps a digit before E") << c << -1 << u"-5|E5"_s << bs << u"-|0E5"_s << 0;
        QTest::newRow("first digit with an exponent sign") << c << -1 << u"5|E-3"_s << bs << u"|0E-3"_s << 0;
        QTest::newRow("deletion into overflow refused") << c << -1 << u"1,0|5E4932"_s << bs << u"1,0|5E4932"_s << 1;

        // Backspace and Delete, selection.
        QTest::newRow("whole text selected") << c << -1 << u"[12,5]"_s << del << u"|0"_s << 0;
        QTest::newRow("whole text selected, decimals 2") << c << 2 << u"[12,50]"_s << bs << u"|0,00"_s << 0;
        QTest::newRow("two digits selected") << c << -1 << u"1[23]4"_s << del << u"1|4"_s << 0;
        QTest::newRow("selection across the separator") << c << -1 << u"1[2,3]4"_s << bs << u"1|,4"_s << 0;
        QTest::newRow("selection backwards") << c << -1 << u"1]23[4"_s << bs << u"1|4"_s << 0;
        QTest::newRow("selected sign") << c << -1 << u"[-]12"_s << bs << u"|12"_s << 0;
        QTest::newRow("selected separator only") << c << -1 << u"12[,]5"_s << bs << u"12,|5"_s << 0;
    }
    void keys()
    {
        QFETCH(QString, sep);
        QFETCH(int, decimals);
        QFETCH(QString, before);
        QFETCH(QString, keys);
        QFETCH(QString, after);
        QFETCH(int, refused);
        useSeparators(sep.front());
        NumEditModel m;
        m.setDecimals(decimals);
        load(m, before);
        QCOMPARE(press(m, keys), refused);
        QCOMPARE(show(m), after);
    }

    void thousandsSeparatorSkipped()
    {
        NumEditModel m;
        m.setNumberFormat(TNumberFormat::Thousands);
        m.setValue(1234);
        QCOMPARE(m.text(), u"1 234"_s);
        m.setCaret(2);
        QVERIFY(m.keyBackspace());
        QCOMPARE(show(m), u"| 234"_s);
        m.setSelection(0, 4);
        QCOMPARE(m.copyText(), u"234"_s);
    }

    void copy_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("clip");
        QTest::newRow("selection") << u"1[23]4"_s << u"23"_s;
        QTest::newRow("no selection gives 0") << u"12|"_s << u"0"_s;
        QTest::newRow("lone minus gives -0") << u"[-]5"_s << u"-0"_s;
        QTest::newRow("without thousands separators") << u"[1 234,5]"_s << u"1234,5"_s;
    }
    void copy()
    {
        QFETCH(QString, state);
        QFETCH(QString, clip);
        NumEditModel m;
        load(m, state);
        QCOMPARE(m.copyText(), clip);
        QCOMPARE(m.text(), QString(state).remove(QRegularExpression(QStringLiteral("[\\[\\]|]"))));
    }

    void cut()
    {
        NumEditModel m;
        load(m, u"1[23]4"_s);
        QCOMPARE(m.cut(), u"23"_s);
        QCOMPARE(show(m), u"1|4"_s);
        load(m, u"12|"_s);
        QCOMPARE(m.cut(), u"0"_s);
        QCOMPARE(show(m), u"12|"_s);
    }

    void paste_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("refused");
        QTest::newRow("number over the entered 0") << u"[0]"_s << u"1234"_s << u"1234|"_s << 0;
        QTest::newRow("fraction at the end") << u"12|"_s << u",5"_s << u"12,5|"_s << 0;
        QTest::newRow("replaces a selection") << u"1[23]4"_s << u"9"_s << u"19|4"_s << 0;
        QTest::newRow("signed exponent") << u"[0]"_s << u"-12,5e-3"_s << u"-12,5E-3|"_s << 0;
        QTest::newRow("grouped number") << u"[0]"_s << u"1 234,5"_s << u"1234,5|"_s << 1;
        QTest::newRow("multi-line") << u"[0]"_s << u"12\r\n34"_s << u"1234|"_s << 2;
        QTest::newRow("clipboard commands are plain characters") << u"1[2]"_s << u"\x16\x03\x18"_s << u"1[2]"_s << 3;
        QTest::newRow("nothing typeable keeps the selection") << u"1[23]4"_s << u"١٢ő😀"_s << u"1[23]4"_s << 5;
        QTest::newRow("empty") << u"1[2]"_s << QString() << u"1|"_s << 0;
    }
    void paste()
    {
        QFETCH(QString, before);
        QFETCH(QString, clip);
        QFETCH(QString, after);
        QFETCH(int, refused);
        NumEditModel m;
        load(m, before);
        QCOMPARE(m.paste(clip), refused);
        QCOMPARE(show(m), after);
    }

    // A paste gives, character for character, what typing them gives, also for long texts and
    // near the largest value the type holds.
    void pasteTypesAsKeys_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("decimals");
        QTest::newRow("comma") << u","_s << -1;
        QTest::newRow("point") << u"."_s << -1;
        QTest::newRow("comma, decimals 2") << u","_s << 2;
        QTest::newRow("point, decimals 0") << u"."_s << 0;
    }
    void pasteTypesAsKeys()
    {
        QFETCH(QString, sep);
        QFETCH(int, decimals);
        useSeparators(sep.front());
        const QString other = sep == u","_s ? u"."_s : u","_s;
        const QString thou = sep == u","_s ? u" "_s : u","_s;
        // "#" stands for the decimal separator, "_" for the thousands separator.
        auto n = [&](const char16_t *text) {
            return QString::fromUtf16(text).replace(QLatin1Char('#'), sep.front()).replace(QLatin1Char('_'), thou.front());
        };
        // 0.118973149535723176502 × 10^4933 is the largest value; these lie around it.
        const QString largest = u"1189731495357231765"_s;
        const QStringList starts{
            u"0"_s, u"-0"_s, u""_s, u"-"_s, n(u"#"), n(u"12#5"), n(u"-0#05"), u"1E5"_s, u"1E-5"_s, u"E5"_s,
            u"-E"_s, u"1-5"_s, u"--5"_s, n(u"-#-5"), u"1E-5-"_s, n(u"1_234#5"), n(u"_234"), n(u"-_5"), n(u"_-5"),
            u"2E-4932"_s, u"9E493"_s, u"1E0000"_s, u"INF"_s, n(u"1#2#3"), n(u"1E#5"),
            QString(4930, QLatin1Char('1')), largest + QString(4914, QLatin1Char('0')),
            largest + QString(4913, QLatin1Char('9')), u"1"_s + QString(100, QLatin1Char('0')) + u"E4832"_s,
            n(u"0#") + QString(80, QLatin1Char('0')) + u"1E4933"_s, n(u"0#0001189731495357231765E4936"),
            n(u"0#00012E4936"),
            u"--"_s + QString(4932, QLatin1Char('9')), QString(5000, QLatin1Char('1')) + u"E-0000000000001"_s,
            QString(70, QLatin1Char('0')) + u"E-0"_s};
        const QString alphabet = u"0123456789-eE"_s + sep + other + u" \n\x16a"_s;
        QRandomGenerator rng(16384);
        for (int round = 0; round < 4000; ++round) {
            const QString start = starts.at(rng.bounded(int(starts.size())));
            // The ends of the text are where most rules apply.
            const int len = int(start.size());
            const std::array<int, 3> carets{rng.bounded(3), len - rng.bounded(3), rng.bounded(len + 1)};
            const int caret = qBound(0, carets[rng.bounded(3)], len);
            QString clip;
            const int runs = rng.bounded(1, 6);
            for (int r = 0; r < runs; ++r) {
                const QChar ch = alphabet.at(rng.bounded(int(alphabet.size())));
                clip += QString(rng.bounded(4) == 0 ? rng.bounded(1, 12) : 1, ch);
            }
            NumEditModel pasted;
            pasted.setDecimals(decimals);
            pasted.setText(start);
            pasted.setCaret(caret);
            NumEditModel typed;
            typed.setDecimals(decimals);
            typed.setText(start);
            typed.setCaret(caret);
            const int refused = pasted.paste(clip);
            int refusedTyped = 0;
            for (QChar ch : std::as_const(clip))
                if (!typed.typeChar(ch))
                    ++refusedTyped;
            const QString what = start.left(40) + u" at "_s + QString::number(caret) + u" + "_s + clip;
            QVERIFY2(pasted.text() == typed.text(), qPrintable(what + u" -> "_s + pasted.text().left(80)));
            QVERIFY2(pasted.caret() == typed.caret(), qPrintable(what));
            QVERIFY2(refused == refusedTyped, qPrintable(what));
        }
    }

    void pasteStopsAtTheLimit()
    {
        NumEditModel m;
        m.setMaxLength(3);
        load(m, u"-1|"_s);
        // As keys, the "-" after the refused 3 would still drop the sign and 5 would follow.
        QCOMPARE(m.paste(u"234-5"_s), 4);
        QCOMPARE(show(m), u"-12|"_s);
    }

    void pasteLong_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("5000 nines") << QString(5000, QLatin1Char('9')) << 0;
        QTest::newRow("40000 fraction digits") << u"0,"_s + QString(40000, QLatin1Char('1')) << 0;
        QTest::newRow("MaxLength 6") << u"123456789"_s << 6;
    }
    void pasteLong()
    {
        QFETCH(QString, clip);
        QFETCH(int, maxLength);
        NumEditModel m;
        m.setMaxLength(maxLength);
        m.selectAll();
        QVERIFY(m.paste(clip) > 0);
        QVERIFY(m.text().size() <= (maxLength > 0 ? maxLength : 32767));
        QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::Accepted);
    }

    // Leading zeros of the exponent hide no overflow: the digit that would take the value past
    // the largest the type holds is refused, typed or pasted, instead of the text reading as 0.
    void overflowBehindLongExponent()
    {
        const QString ones(5000, QLatin1Char('1'));
        NumEditModel pasted;
        load(pasted, u"|1E-0000000000001"_s);
        NumEditModel typed;
        load(typed, u"|1E-0000000000001"_s);
        QCOMPARE(pasted.paste(ones), 67);
        QCOMPARE(press(typed, ones), 67);
        QCOMPARE(pasted.text(), typed.text());
        QVERIFY(pasted.value() > 1e4931L);
    }

    // Whatever is typed, deleted or pasted, exit processing can read the text.
    void randomEditingStaysReadable_data()
    {
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<int>("format");
        QTest::newRow("comma") << u","_s << -1 << int(TNumberFormat::Standard);
        QTest::newRow("point") << u"."_s << -1 << int(TNumberFormat::Standard);
        QTest::newRow("comma, decimals 2") << u","_s << 2 << int(TNumberFormat::Standard);
        QTest::newRow("point, decimals 0") << u"."_s << 0 << int(TNumberFormat::Standard);
        QTest::newRow("thousands") << u","_s << -1 << int(TNumberFormat::Thousands);
        QTest::newRow("scientific") << u"."_s << 3 << int(TNumberFormat::Scientific);
    }
    void randomEditingStaysReadable()
    {
        QFETCH(QString, sep);
        QFETCH(int, decimals);
        QFETCH(int, format);
        useSeparators(sep.front());
        const QString alphabet = u"0123456789-eE,. \n\x16\x03ő١"_s;
        QRandomGenerator rng(4932);
        for (int round = 0; round < 200; ++round) {
            NumEditModel m;
            m.setNumberFormat(TNumberFormat(format));
            m.setDecimals(decimals);
            QStringList log;
            for (int step = 0; step < 40; ++step) {
                const int len = int(m.text().size());
                const int op = rng.bounded(10);
                if (op == 0) {
                    m.setSelection(rng.bounded(len + 1), rng.bounded(len + 1));
                    log << QStringLiteral("sel ") + show(m);
                    continue;
                }
                if (op == 1) {
                    QString clip;
                    for (int i = rng.bounded(12); i > 0; --i)
                        clip += alphabet[rng.bounded(int(alphabet.size()))];
                    m.paste(clip);
                    log << QStringLiteral("paste ") + clip;
                } else if (op == 2) {
                    m.keyBackspace();
                    log << QStringLiteral("bs");
                } else if (op == 3) {
                    m.keyDelete();
                    log << QStringLiteral("del");
                } else if (op == 4) {
                    m.setCaret(rng.bounded(len + 1));
                    log << QStringLiteral("caret ") + show(m);
                    continue;
                } else {
                    const QChar ch = alphabet[rng.bounded(int(alphabet.size()))];
                    m.typeChar(ch);
                    log << QStringLiteral("type ") + ch;
                }
                QVERIFY2(NumEditModel::isReadable(m.text()),
                         qPrintable(log.join(QStringLiteral(" / ")) + QStringLiteral(" -> ") + m.text()));
                QVERIFY(m.caret() >= 0 && m.caret() <= m.text().size());
            }
            const QString before = m.text();
            QCOMPARE(m.exitProcessing(), NumEditModel::ExitResult::Accepted);
            QCOMPARE(NumEditModel::valueOf(m.text()), NumEditModel::valueOf(m.normalForm(NumEditModel::valueOf(before))));
        }
    }

    void undoAndDelete()
    {
        NumEditModel m;
        load(m, u"12|"_s);
        QVERIFY(!m.canUndo());
        m.typeChar(QLatin1Char('3'));
        QVERIFY(m.canUndo());
        m.undo();
        QCOMPARE(m.text(), u"12"_s);
        m.undo();
        QCOMPARE(m.text(), u"123"_s);
        // The context menu's Delete works without the rules and can leave an unreadable text.
        load(m, u"[1]E5"_s);
        m.deleteSelection();
        QCOMPARE(show(m), u"|E5"_s);
        QVERIFY_THROWS_EXCEPTION(rt::EConvertError, m.exitProcessing());
        m.undo();
        QCOMPARE(m.text(), u"1E5"_s);
    }

    void readOnlyRefusesEditing()
    {
        NumEditModel m;
        m.setReadOnly(true);
        load(m, u"[12]"_s);
        QVERIFY(!m.typeChar(QLatin1Char('3')));
        QVERIFY(!m.keyDelete());
        QCOMPARE(m.paste(u"5"_s), 1);
        QCOMPARE(m.cut(), u"12"_s);
        QCOMPARE(m.text(), u"12"_s);
    }
};

QTEST_GUILESS_MAIN(TestNumEditModel)
#include "test_numeditmodel.moc"
