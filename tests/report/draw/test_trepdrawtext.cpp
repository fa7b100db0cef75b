#include "report/draw/trepdrawtext.h"
#include "tests/report/drawfixture.h"

#include <QTest>

#include <numeric>

using namespace rep::draw;
using rep::test::lineTexts;

namespace {

// Liberation Sans (what "Arial" resolves to) at 92 pixels: "n" advances 51.15625 and a space
// 25.546875, so a box 80 units wide (500 pixels at 600 dpi) holds nine "n" and not ten.
DrawFont arial(int height, TFontStyles style = 0)
{
    DrawFont f;
    f.Name = QStringLiteral("Arial");
    f.Height = height;
    f.Style = style;
    return f;
}

// Lays the text out in a box of the given width in units, at scale 1.
void layOut(TrepDrawText &t, const QString &text, int width, bool wordWrap = true,
            int clipHeight = 100)
{
    t.setFont(arial(-15));
    t.setOptions(wordWrap, false, 0, false, false);
    t.setGaps(0, 0, 2);
    t.setDimensions(TRect{0, 0, width, clipHeight}, TRect{0, 0, width, clipHeight}, 1, 1);
    t.setText(text);
}

} // namespace

class TestDrawText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSizes_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels600");
        QTest::newRow("-13 is 10 points") << -13 << 10 << 83;
        QTest::newRow("-15 is 11 points") << -15 << 11 << 92;
        QTest::newRow("-16 is 12 points") << -16 << 12 << 100;
        QTest::newRow("-24 is 18 points") << -24 << 18 << 150;
        QTest::newRow("tiny font keeps one point") << 0 << 1 << 8;
    }
    void fontSizes()
    {
        QFETCH(int, height);
        QFETCH(int, points);
        QFETCH(int, pixels600);
        TrepDrawText t(96);
        t.setFont(arial(height));
        QCOMPARE(t.fontSize(), points);
        QCOMPARE(t.measurePixelHeight(), pixels600);
    }

    void outputFontHeight_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("pixels");
        QTest::newRow("screen zoom 1") << 1.0 << 96 << false << 15;
        QTest::newRow("screen zoom 2: 22 points") << 2.0 << 96 << false << 29;
        QTest::newRow("screen zoom 0.5: 6 points (5.5 to even)") << 0.5 << 96 << false << 8;
        QTest::newRow("printer 600") << 6.25 << 600 << true << 92;
        QTest::newRow("printer 1200") << 12.5 << 1200 << true << 183;
    }
    void outputFontHeight()
    {
        QFETCH(double, scale);
        QFETCH(int, dpi);
        QFETCH(bool, printer);
        QFETCH(int, pixels);
        TrepDrawText t(96);
        layOut(t, QStringLiteral("n"), 80);
        t.setDimensions(TRect{0, 0, 80, 100}, TRect{0, 0, 80, 100}, scale, scale);
        QCOMPARE(t.outputPixelHeight(dpi, printer), pixels);
    }

    void lineBreaking_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<QStringList>("expected");
        const auto s = [](const char *text) { return QString::fromUtf8(text); };
        QTest::newRow("fits on one line") << s("nnnn nnnn") << 80 << true << QStringList{s("nnnn nnnn")};
        QTest::newRow("break at the last space, space dropped")
            << s("nnnn nnnn nnnn") << 80 << true << QStringList{s("nnnn nnnn"), s("nnnn")};
        QTest::newRow("overflowing space is dropped")
            << s("nnnnnnnnn nnn") << 75 << true << QStringList{s("nnnnnnnnn"), s("nnn")};
        QTest::newRow("overlong word broken between characters")
            << s("nnnnnnnnnnnn") << 80 << true << QStringList{s("nnnnnnnnn"), s("nnn")};
        QTest::newRow("overlong word after a short one")
            << s("nn nnnnnnnnnnnn") << 80 << true
            << QStringList{s("nn"), s("nnnnnnnnn"), s("nnn")};
        QTest::newRow("narrower than one character")
            << s("nn") << 5 << true << QStringList{s("n"), s("n")};
        QTest::newRow("a single character never breaks") << s("n") << 5 << true << QStringList{s("n")};
        QTest::newRow("word wrap off") << s("nnnn nnnn nnnn") << 80 << false
                                       << QStringList{s("nnnn nnnn nnnn")};
        QTest::newRow("empty line becomes a space")
            << s("nn\r\n\r\nnn") << 80 << true << QStringList{s("nn"), s(" "), s("nn")};
        QTest::newRow("LF and CR end lines too") << s("a\nb\rc") << 80 << true
                                                 << QStringList{s("a"), s("b"), s("c")};
        QTest::newRow("trailing line break opens no line") << s("a\r\n") << 80 << true
                                                           << QStringList{s("a")};
        QTest::newRow("empty text has no lines") << QString() << 80 << true << QStringList{};
        QTest::newRow("Hungarian letters measured like others")
            << s("őőőő űűűű nnnn") << 80 << true << QStringList{s("őőőő űűűű"), s("nnnn")};
    }
    void lineBreaking()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, wordWrap);
        QFETCH(QStringList, expected);
        TrepDrawText t(96);
        layOut(t, text, width, wordWrap);
        QCOMPARE(lineTexts(t), expected);
    }

    void paragraphFlags()
    {
        TrepDrawText t(96);
        layOut(t, QStringLiteral("nnnn nnnn nnnn\r\nn\r\nnnnnnnnnnnnnnnnnnnnnnnnnnn"), 80);
        QList<int> flags;
        for (const auto &line : t.lines())
            flags << line.flags;
        QCOMPARE(flags, (QList<int>{1, 2, 3, 1, 0, 2}));
        QCOMPARE(t.plainText().count(QStringLiteral("\r\n")), 6);
    }

    void textHeightAndWidth()
    {
        TrepDrawText t(96);
        layOut(t, QStringLiteral("nnnn\r\nnn\r\n"), 80);
        // A line is 92 pixels at 600 dpi, 14.72 units, plus the line spacing 2.
        QCOMPARE(t.textHeight(), 2 * (92 * 96.0 / 600 + 2));
        QCOMPARE(t.textWidth(), 4 * 51.15625 / 6.25);
    }

    // The step between lines is 17 at zoom 1, but four lines of 16.72 units are 67 pixels
    // high: the missing pixel comes off the first gap.
    void lineStepsFillTheIdealHeight()
    {
        TrepDrawText t(96);
        layOut(t, QStringLiteral("a\r\nb\r\nc\r\nd"), 80);
        const auto placement = t.place(96, 96, false, haLeft, vaTop);
        QCOMPARE(placement.idealHeight, 67);
        QCOMPARE(placement.step, 17);
        QList<int> ys;
        for (const auto &line : placement.lines)
            ys << line.y;
        QCOMPARE(ys, (QList<int>{0, 16, 33, 50}));
    }

    void verticalAlignment_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("clipHeight");
        QTest::addColumn<int>("y");
        QTest::newRow("top") << int(vaTop) << 18 << 0;
        QTest::newRow("center, half a pixel to even") << int(vaCenter) << 18 << 0;
        QTest::newRow("center, one and a half to even") << int(vaCenter) << 20 << 2;
        QTest::newRow("bottom") << int(vaBottom) << 20 << 3;
        QTest::newRow("center in a box too small") << int(vaCenter) << 10 << -4;
    }
    void verticalAlignment()
    {
        QFETCH(int, align);
        QFETCH(int, clipHeight);
        QFETCH(int, y);
        TrepDrawText t(96);
        layOut(t, QStringLiteral("n"), 80, true, clipHeight);
        const auto placement = t.place(96, 96, false, haLeft, TrepVAlign(align));
        QCOMPARE(placement.idealHeight, 17);
        QCOMPARE(placement.lines.front().y, y);
    }

    // "n" is 51.15625 pixels at 600 dpi, 8 at zoom 1 (8.185 rounded).
    void horizontalAlignment_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("clipWidth");
        QTest::addColumn<int>("x");
        QTest::newRow("left") << int(haLeft) << 20 << 0;
        QTest::newRow("center, one pixel narrower: tie stays left") << int(haCenter) << 9 << 0;
        QTest::newRow("center, two pixels narrower") << int(haCenter) << 10 << 1;
        QTest::newRow("center, 1.5 rounds to 2") << int(haCenter) << 11 << 2;
        QTest::newRow("center, 2.5 rounds to 2") << int(haCenter) << 13 << 2;
        QTest::newRow("right: free width plus one") << int(haRight) << 20 << 13;
        QTest::newRow("block without spaces is left") << int(haBlock) << 20 << 0;
    }
    void horizontalAlignment()
    {
        QFETCH(int, align);
        QFETCH(int, clipWidth);
        QFETCH(int, x);
        TrepDrawText t(96);
        layOut(t, QStringLiteral("n"), 80);
        t.setDimensions(TRect{0, 0, 80, 100}, TRect{0, 0, clipWidth, 20}, 1, 1);
        const auto placement = t.place(96, 96, false, TrepHAlign(align), vaTop);
        QCOMPARE(placement.lines.front().idealWidth, 8);
        QCOMPARE(placement.lines.front().x, x);
    }

    // The device advances add up to the ideal width measured at 600 dpi, on every device.
    void advancesAddUpToIdealWidth_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("printer");
        QTest::newRow("screen zoom 1") << 1.0 << 96 << false;
        QTest::newRow("screen zoom 1.5") << 1.5 << 96 << false;
        QTest::newRow("screen zoom 0.25") << 0.25 << 96 << false;
        QTest::newRow("printer 600") << 6.25 << 600 << true;
        QTest::newRow("printer 300") << 3.125 << 300 << true;
    }
    void advancesAddUpToIdealWidth()
    {
        QFETCH(double, scale);
        QFETCH(int, dpi);
        QFETCH(bool, printer);
        TrepDrawText t(96);
        const QString text = QString::fromUtf8("Árvíztűrő tükörfúrógép, WAVE fill 1234567890");
        layOut(t, text, 400);
        t.setDimensions(TRect{0, 0, 400, 20}, TRect{0, 0, int(400 * scale), int(20 * scale)}, scale,
                        scale);
        const auto placement = t.place(dpi, dpi, printer, haLeft, vaTop);
        QCOMPARE(placement.lines.size(), size_t(1));
        const auto &line = placement.lines.front();
        const double ideal = t.lines().front().width600 * dpi / 600.0 * (printer ? 1 : scale);
        QVERIFY(std::abs(line.idealWidth - ideal) <= 0.5);
        QCOMPARE(std::accumulate(line.advances.begin(), line.advances.end(), 0), line.idealWidth);
    }

    void blockSpreadsOverSpaces()
    {
        TrepDrawText t(96);
        layOut(t, QStringLiteral("nnnn nnnn nnnn nnnn"), 80);
        const auto placement = t.place(96, 96, false, haBlock, vaTop);
        QCOMPARE(placement.lines.size(), size_t(2));
        const auto &first = placement.lines.front();
        QCOMPARE(std::accumulate(first.advances.begin(), first.advances.end(), 0), 80);
        // The last line of the paragraph is aligned left and keeps its ideal width.
        const auto &last = placement.lines.back();
        QCOMPARE(std::accumulate(last.advances.begin(), last.advances.end(), 0), last.idealWidth);
    }

    void paragraphGapIndentsFirstLines()
    {
        TrepDrawText t(96);
        t.setFont(arial(-15));
        t.setOptions(true, false, 0, false, false);
        t.setGaps(10, 0, 2);
        t.setDimensions(TRect{0, 0, 80, 100}, TRect{0, 0, 80, 100}, 1, 1);
        t.setText(QStringLiteral("nnnn nnnn nnnn"));
        // The first line has 70 units, 437.5 pixels at 600 dpi: "nnnn nnnn" (434.8) still fits.
        QCOMPARE(t.firstWidth600(), 438);
        const auto placement = t.place(96, 96, false, haLeft, vaTop);
        QCOMPARE(placement.lines[0].x, 10);
        QCOMPARE(placement.lines[1].x, 0);
    }

    // The bounded layout of fit() gives the lines the whole layout gives, as far as the area
    // reaches, and tells a cut text from one that fills the area exactly.
    void fitAgreesWithWholeLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<int>("lines"); // the area's height in lines
        QTest::addColumn<qsizetype>("shown");
        QTest::addColumn<bool>("whole");
        const QString nine = QStringLiteral("nnnnnnnnn");
        QTest::newRow("empty") << QString() << true << 1 << qsizetype(0) << true;
        QTest::newRow("one line in one") << nine << true << 1 << qsizetype(9) << true;
        QTest::newRow("two lines in one") << nine + u' ' + nine << true << 1 << qsizetype(9) << false;
        QTest::newRow("two lines in two") << nine + u' ' + nine << true << 2 << qsizetype(19) << true;
        QTest::newRow("no room at all") << nine << true << 0 << qsizetype(0) << false;
        QTest::newRow("word broken between characters") << nine + u'n' << true << 1 << qsizetype(9) << false;
        QTest::newRow("paragraphs, an empty one") << nine + QStringLiteral("\r\n\r\n") + nine << true << 3 << qsizetype(18) << true;
        QTest::newRow("third paragraph cut") << nine + QStringLiteral("\n\n") + nine << true << 2 << qsizetype(9) << false;
        QTest::newRow("no wrap, too wide") << nine + u'n' << false << 1 << qsizetype(9) << false;
        QTest::newRow("a million characters in three lines")
            << QString(1000000, u'n') << true << 3 << qsizetype(27) << false;
        QTest::newRow("ten thousand lines in three")
            << (nine + QStringLiteral("\r\n")).repeated(10000) << true << 3 << qsizetype(27) << false;
    }
    void fitAgreesWithWholeLayout()
    {
        QFETCH(QString, text);
        QFETCH(bool, wordWrap);
        QFETCH(int, lines);
        QFETCH(qsizetype, shown);
        QFETCH(bool, whole);
        TrepDrawText t(96);
        layOut(t, QStringLiteral("n"), 80, wordWrap);
        const double lineHeight = t.textHeight();
        const TrepDrawText::Fit fit = t.fit(text, lines * lineHeight);
        QCOMPARE(fit.shown, shown);
        QCOMPARE(fit.whole, whole);
        const QStringList fitted = lineTexts(t);
        if (text.size() < 100000) {
            layOut(t, text, 80, wordWrap);
            const QStringList all = lineTexts(t);
            QCOMPARE(fitted, all.mid(0, std::min<qsizetype>(all.size(), lines)));
        }
    }

    void lockHandsOutPrivateObjectWhenBusy()
    {
        TrepDrawText t(96);
        {
            TrepDrawTextLock outer(t);
            QCOMPARE(&outer.get(), &t);
            QVERIFY(t.isBusy());
            TrepDrawTextLock inner(t);
            QVERIFY(&inner.get() != &t);
            QVERIFY(t.isBusy());
        }
        QVERIFY(!t.isBusy());
    }
};

QTEST_MAIN(TestDrawText)
#include "test_trepdrawtext.moc"
