#include "codepage_p.h"
#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/rtfreader.h"

#include <QFontInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace rtf;

namespace {

QByteArray doc(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238{\\*\\fname Arial;}Arial CE;}"
           "{\\f1\\froman\\fprq2\\fcharset238 Times New Roman CE;}{\\f2\\fswiss\\fcharset0 Western;}}"
           "{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
           "{\\stylesheet{ Normal;}{\\s1\\keepn\\qc\\b\\fs40 heading 1;}{\\s2\\i heading 2;}}"
           "\\viewkind4\\uc1\\pard\\lang1038\\f0\\fs20 "
        + body + "}";
}

// The paragraphs of a document, one string each.
QStringList paragraphs(const QTextDocument &d)
{
    QStringList list;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        list << b.text();
    return list;
}

// The character format in force at the first character of `target`.
QTextCharFormat formatOf(QTextDocument &d, const QString &target)
{
    const QString text = d.toPlainText();
    const qsizetype at = text.indexOf(target);
    if (at < 0)
        return {};
    QTextCursor c(&d);
    c.setPosition(int(at) + 1);
    return c.charFormat();
}

QVariant charProperty(const QTextCharFormat &f, const QString &name)
{
    if (name == u"bold")
        return f.fontWeight() >= QFont::Bold;
    if (name == u"italic")
        return f.fontItalic();
    if (name == u"underline")
        return f.fontUnderline();
    if (name == u"points")
        return f.fontPointSize();
    if (name == u"valign")
        return int(f.verticalAlignment());
    if (name == u"raised")
        return f.baselineOffset() > 0;
    if (name == u"family")
        return f.fontFamilies().toStringList().value(0);
    if (name == u"colour")
        return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : QStringLiteral("auto");
    return {};
}

QVariant blockProperty(const QTextBlockFormat &f, const QString &name)
{
    if (name == u"left")
        return f.leftMargin();
    if (name == u"indent")
        return f.textIndent();
    if (name == u"align")
        return int(f.alignment() & Qt::AlignHorizontal_Mask);
    if (name == u"tabs") {
        QStringList t;
        for (const QTextOption::Tab &tab : f.tabPositions())
            t << QString::number(tab.position, 'f', 2);
        return t.join(QLatin1Char(' '));
    }
    if (name == u"lineHeight")
        return QStringLiteral("%1/%2").arg(f.lineHeight()).arg(f.lineHeightType());
    if (name == u"heading")
        return f.headingLevel();
    return {};
}

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void characterFormats_data();
    void characterFormats();
    void paragraphFormats_data();
    void paragraphFormats();
    void text_data();
    void text();
    void brokenInput_data();
    void brokenInput();
    void hangingIndentTabReachesLeftIndent();
    void codePageTables();
    void fontsResolveToInstalledFaces();
};

void TestRtfReader::characterFormats_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("bold on") << QByteArray("a \\b BOLD\\b0  plain") << "BOLD" << "bold" << QVariant(true);
    QTest::newRow("bold off by \\b0") << QByteArray("a \\b BOLD\\b0  plain") << "plain" << "bold" << QVariant(false);
    QTest::newRow("bold ends with its group") << QByteArray("{\\b BOLD} plain") << "plain" << "bold" << QVariant(false);
    QTest::newRow("italic") << QByteArray("\\i it\\i0  no") << "it" << "italic" << QVariant(true);
    QTest::newRow("underline on") << QByteArray("\\ul UL\\ulnone  no") << "UL" << "underline" << QVariant(true);
    QTest::newRow("underline off by \\ulnone") << QByteArray("\\ul UL\\ulnone  no") << "no" << "underline" << QVariant(false);
    QTest::newRow("size in half-points") << QByteArray("\\fs40 BIG\\fs24  mid") << "BIG" << "points" << QVariant(20.0);
    QTest::newRow("size 12 after 20") << QByteArray("\\fs40 BIG\\fs24  mid") << "mid" << "points" << QVariant(12.0);
    QTest::newRow("superscript") << QByteArray("m\\super 2\\nosupersub -ben") << "2" << "valign"
                                 << QVariant(int(QTextCharFormat::AlignSuperScript));
    QTest::newRow("superscript off") << QByteArray("m\\super 2\\nosupersub -ben") << "-ben" << "valign"
                                     << QVariant(int(QTextCharFormat::AlignNormal));
    QTest::newRow("raised by \\up") << QByteArray("nm\\up4 2\\up0  x") << "2" << "raised" << QVariant(true);
    QTest::newRow("\\up0 lowers again") << QByteArray("nm\\up4 2\\up0  x") << "x" << "raised" << QVariant(false);
    QTest::newRow("colour from the table") << QByteArray("\\cf2 red\\cf0  auto") << "red" << "colour" << QVariant(QStringLiteral("#ff0000"));
    QTest::newRow("colour 0 is automatic") << QByteArray("\\cf2 red\\cf0  auto") << "auto" << "colour" << QVariant(QStringLiteral("auto"));
    QTest::newRow("font CE name") << QByteArray("\\f1 serif") << "serif" << "family" << QVariant(QStringLiteral("Times New Roman"));
    QTest::newRow("font alternative name") << QByteArray("sans") << "sans" << "family" << QVariant(QStringLiteral("Arial"));
    QTest::newRow("style applies its formatting") << QByteArray("\\s1 head\\par\\pard body") << "head" << "bold" << QVariant(true);
    QTest::newRow("\\plain resets") << QByteArray("\\b\\i x\\plain  y") << "y" << "bold" << QVariant(false);
}

void TestRtfReader::characterFormats()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, target);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);
    QTextDocument d;
    const ReadResult r = readRtf(doc(body), d);
    QVERIFY2(r.ok, qPrintable(r.errorString));
    QVERIFY2(d.toPlainText().contains(target), qPrintable(d.toPlainText()));
    QCOMPARE(charProperty(formatOf(d, target), property), expected);
}

void TestRtfReader::paragraphFormats_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("paragraph");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    // Twips become pixels at 96 dots per inch: 15 twips a pixel.
    QTest::newRow("left indent 284 twips") << QByteArray("\\li284 body\\par") << 0 << "left" << QVariant(284 / 15.0);
    QTest::newRow("hanging first line") << QByteArray("\\fi-283\\li1134 A) item\\par") << 0 << "indent" << QVariant(-283 / 15.0);
    QTest::newRow("hanging left") << QByteArray("\\fi-283\\li1134 A) item\\par") << 0 << "left" << QVariant(1134 / 15.0);
    QTest::newRow("centred") << QByteArray("\\qc title\\par") << 0 << "align" << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("justified") << QByteArray("\\qj body\\par") << 0 << "align" << QVariant(int(Qt::AlignJustify));
    QTest::newRow("\\pard resets") << QByteArray("\\qc\\li284 a\\par\\pard b\\par") << 1 << "left" << QVariant(0.0);
    QTest::newRow("tab stop from the indent") << QByteArray("\\fi-283\\li1134\\tx1134\\tx1700 A)\\tab x\\par") << 0
                                              << "tabs" << QVariant(QStringLiteral("18.87 56.60"));
    QTest::newRow("tab stop from the margin") << QByteArray("\\tx720 a\\tab b\\par") << 0 << "tabs" << QVariant(QStringLiteral("48.00"));
    QTest::newRow("line spacing one and a half") << QByteArray("\\sl360\\slmult1 a\\par") << 0 << "lineHeight"
                                                 << QVariant(QStringLiteral("150/%1").arg(int(QTextBlockFormat::ProportionalHeight)));
    QTest::newRow("heading style") << QByteArray("\\s1\\keepn head\\par\\pard body\\par") << 0 << "heading" << QVariant(1);
    QTest::newRow("paragraph takes props at its end") << QByteArray("a\\qc\\par b\\par") << 0 << "align" << QVariant(int(Qt::AlignHCenter));
    QTest::newRow("last paragraph without \\par") << QByteArray("a\\par\\pard\\qj b") << 1 << "align" << QVariant(int(Qt::AlignJustify));
}

void TestRtfReader::paragraphFormats()
{
    QFETCH(QByteArray, body);
    QFETCH(int, paragraph);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);
    QTextDocument d;
    QVERIFY(readRtf(doc(body), d).ok);
    const QTextBlock b = d.findBlockByNumber(paragraph);
    QVERIFY(b.isValid());
    const QVariant actual = blockProperty(b.blockFormat(), property);
    if (expected.typeId() == QMetaType::Double)
        QVERIFY2(qAbs(actual.toDouble() - expected.toDouble()) < 0.01, qPrintable(actual.toString()));
    else
        QCOMPARE(actual, expected);
}

void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("code page 1250 escapes") << doc("\\'f5 \\'fb \\'d5 \\'db \\'e1\\'e9\\'ed\\'f3\\'f6\\'fa\\'fc")
                                            << QStringList{QStringLiteral("ő ű Ő Ű áéíóöúü")};
    QTest::newRow("low and high quotes") << doc("\\'84Nyilatkozat\\'94 \\'84x\\rdblquote  \\ldblquote y\\lquote z\\rquote")
                                         << QStringList{QStringLiteral("„Nyilatkozat” „x” “y‘z’")};
    QTest::newRow("Western font decodes 1252") << doc("\\f2\\'f5\\'8c") << QStringList{QStringLiteral("õŒ")};
    QTest::newRow("unicode with fallback") << doc("\\u337?x\\uc2\\u369\\'fb\\'fby") << QStringList{QStringLiteral("őxűy")};
    QTest::newRow("unicode negative") << doc("\\u-3\\'3f") << QStringList{QString(QChar(0xFFFD))};
    QTest::newRow("paragraphs, trailing mark opens none") << doc("one\\par two\\par")
                                                          << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("blank paragraphs kept") << doc("a\\par\\par b\\par") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("line breaks in the source are no text") << doc("wo\r\nrd") << QStringList{QStringLiteral("word")};
    QTest::newRow("tables and styles show no text") << doc("") << QStringList{QString()};
    QTest::newRow("unknown words skipped") << doc("\\foo12 a\\barbaz b") << QStringList{QStringLiteral("ab")};
    QTest::newRow("starred destinations skipped") << doc("a{\\*\\unknown hidden{\\b x}}b{\\*\\fldinst y}c")
                                                  << QStringList{QStringLiteral("abc")};
    QTest::newRow("info and pictures skipped") << doc("{\\info{\\title t}}a{\\pict 0a0b}b") << QStringList{QStringLiteral("ab")};
    QTest::newRow("binary data skipped") << doc("a{\\bin3 }}}b}c") << QStringList{QStringLiteral("abc")};
    QTest::newRow("escaped symbols") << doc("\\{\\}\\\\\\~\\tab x") << QStringList{QStringLiteral("{}\\\u00A0\tx")};
    QTest::newRow("trailing NUL") << doc("text\\par") + QByteArray(1, '\0') << QStringList{QStringLiteral("text")};
    QTest::newRow("text after the document ignored") << doc("in") + "out" << QStringList{QStringLiteral("in")};
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    QTextDocument d;
    const ReadResult r = readRtf(rtf, d);
    QVERIFY2(r.ok, qPrintable(r.errorString));
    QCOMPARE(paragraphs(d), expected);
}

void TestRtfReader::brokenInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("faultReported");

    const QByteArray deep = QByteArray(100000, '{');
    QTest::newRow("missing closing brace") << QByteArray("{\\rtf1 {\\b bold} text") << "bold text" << true;
    QTest::newRow("closing brace first") << QByteArray("}{\\rtf1 a}") << "a" << true;
    QTest::newRow("escape cut at the end") << QByteArray("{\\rtf1 ab\\'f") << "ab" << true;
    QTest::newRow("escape without digits") << QByteArray("{\\rtf1 a\\'zz}") << "azz" << true;
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << "a" << true;
    QTest::newRow("deeper groups skipped whole") << QByteArray("{\\rtf1 a") + deep + "b" + QByteArray(100000, '}') + "c}" << "ac" << true;
    QTest::newRow("not RTF at all") << QByteArray("plain words") << "plain words" << true;
    QTest::newRow("font table cut short") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << "" << true;
    QTest::newRow("huge numbers") << QByteArray("{\\rtf1\\fs99999999999999999999\\li-99999999999999\\fi99999999999\\tx9999999999999\\up999999999 x}") << "x" << false;
    QTest::newRow("huge unicode") << QByteArray("{\\rtf1\\u99999999999 x}") << QString(QChar(0xFFFD)) << false;
    QTest::newRow("huge \\bin") << QByteArray("{\\rtf1 a\\bin99999999999 b}") << "a" << true;
    QTest::newRow("overlong control word") << QByteArray("{\\rtf1 a\\") + QByteArray(5000, 'x') + " b}" << "ab" << false;
    QTest::newRow("lone surrogate") << QByteArray("{\\rtf1\\u-10240 x}") << QString(QChar(0xFFFD)) << false;
    QTest::newRow("empty") << QByteArray() << "" << true;
}

void TestRtfReader::brokenInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QFETCH(bool, faultReported);
    QTextDocument d;
    const ReadResult r = readRtf(rtf, d);
    QCOMPARE(d.toPlainText().trimmed(), expected);
    QCOMPARE(!r.ok, faultReported);
    if (!r.ok)
        QVERIFY(!r.errorString.isEmpty() && r.errorOffset >= 0);
    // Whatever was read lays out.
    d.setTextWidth(300);
    QVERIFY(d.size().height() >= 0);
}

void TestRtfReader::hangingIndentTabReachesLeftIndent()
{
    // "A)" hangs out into the first-line indent; the text after the tab starts at the left indent.
    QTextDocument d;
    QVERIFY(readRtf(doc("\\fi-283\\li1134\\tx1134 A)\\tab azokr\\'f3l a f\\'f6ldr\\'e9szekr\\'f5l\\par"), d).ok);
    fitDocument(d, 600, 600);
    const QTextBlock b = d.begin();
    const QTextLine line = b.layout()->lineAt(0);
    QVERIFY(qAbs(line.x() - (1134 - 283) / 15.0) < 0.5);
    QVERIFY(qAbs(line.cursorToX(3) - 1134 / 15.0) < 0.5);
}

void TestRtfReader::codePageTables()
{
    // Letters of Hungarian and its neighbours, as code page 1250 places them.
    const struct { unsigned char byte; char16_t ch; } cases[] = {
        {0xF5, u'ő'}, {0xFB, u'ű'}, {0xD5, u'Ő'}, {0xDB, u'Ű'}, {0x84, u'„'}, {0x94, u'”'}, {0x8A, u'Š'},
        {0x9E, u'ž'}, {0xA3, u'Ł'}, {0xB9, u'ą'}, {0xE8, u'č'}, {0xF8, u'ř'}, {0xFF, u'˙'}, {0x41, u'A'},
    };
    for (const auto &c : cases)
        QCOMPARE(QChar(decodeByte(c.byte, CodePage::Cp1250)), QChar(c.ch));
    QCOMPARE(QChar(decodeByte(0xF5, CodePage::Cp1252)), QChar(u'õ'));
    QCOMPARE(QChar(decodeByte(0x80, CodePage::Cp1252)), QChar(u'€'));
}

void TestRtfReader::fontsResolveToInstalledFaces()
{
    QTextDocument d;
    QVERIFY(readRtf(doc("sans\\f1  serif"), d).ok);
    QCOMPARE(QFontInfo(formatOf(d, QStringLiteral("sans")).font()).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(formatOf(d, QStringLiteral("serif")).font()).family(), QStringLiteral("Liberation Serif"));
}

QTEST_MAIN(TestRtfReader)
#include "test_rtfreader.moc"
