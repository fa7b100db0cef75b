#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/ui/tctlrichlabel.h"
#include "controls/richtext/ui/tctlrichscrollbox.h"
#include "controls/richtext/ui/trtflabel.h"

#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextDocument>

using namespace rtf;

namespace {

QByteArray rtfOf(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238{\\*\\fname Arial;}Arial CE;}}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs20 "
        + body + "\r\n}\r\n";
}

const QByteArray threeLines = rtfOf("first line\\par second line\\par third line\\par");
const QByteArray longText = rtfOf("one two three four five six seven eight nine ten eleven twelve thirteen fourteen\\par");

// Rows of `img` inside `r` that hold dark pixels.
bool hasInk(const QImage &img, const QRect &r)
{
    const QRect c = r.intersected(img.rect());
    for (int y = c.top(); y <= c.bottom(); ++y)
        for (int x = c.left(); x <= c.right(); ++x)
            if (qGray(img.pixel(x, y)) < 100)
                return true;
    return false;
}

// Text lines in `img`: runs of rows that hold dark pixels.
int inkLines(const QImage &img)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < img.height(); ++y) {
        const bool ink = hasInk(img, QRect(0, y, img.width(), 1));
        if (ink && !inLine)
            ++lines;
        inLine = ink;
    }
    return lines;
}

struct Parent : QWidget
{
    Parent()
    {
        resize(800, 600);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(0xF6, 0xF4, 0xE7));
        setPalette(p);
    }
};

} // namespace

class TestRichLabels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rtfLabelShowsOnlyLinesThatFit_data();
    void rtfLabelShowsOnlyLinesThatFit();
    void rtfLabelBreaksAtItsRightEdgeAtEachPaint();
    void rtfLabelFillsWithParentColour();
    void richLabelRendersOnItsEventsOnly();
    void richLabelTextArea_data();
    void richLabelTextArea();
    void richLabelFrame();
    void richLabelLinesCarryAnyCharacter();
    void scrollBoxBars_data();
    void scrollBoxBars();
};

void TestRichLabels::rtfLabelShowsOnlyLinesThatFit_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lines");
    QTest::newRow("25 pixels: one line") << 25 << 1;
    QTest::newRow("40 pixels: two lines") << 40 << 2;
    QTest::newRow("80 pixels: all three") << 80 << 3;
    QTest::newRow("5 pixels: none") << 5 << 0;
}

void TestRichLabels::rtfLabelShowsOnlyLinesThatFit()
{
    QFETCH(int, height);
    QFETCH(int, lines);
    Parent parent;
    auto *label = new TRTFLabel(&parent);
    label->setGeometry(10, 10, 200, height);
    label->setRichText(threeLines);
    const QImage shot = label->grab().toImage();
    const Fit fit = fitDocument(label->document(), 199, height - 1);
    QCOMPARE(fit.lineCount, lines);
    // Nothing below the last whole line; the text starts at (1, 1).
    QVERIFY(!hasInk(shot, QRect(0, 1 + fit.usedHeight, 200, height)));
    QVERIFY(!hasInk(shot, QRect(0, 0, 200, 1)) && !hasInk(shot, QRect(0, 0, 1, height)));
    if (lines > 0)
        QVERIFY(hasInk(shot, QRect(1, fit.usedHeight - 12, 199, 12)));
}

void TestRichLabels::rtfLabelBreaksAtItsRightEdgeAtEachPaint()
{
    Parent parent;
    auto *label = new TRTFLabel(&parent);
    label->setWordWrap(false); // as stored; lines break at the edge all the same
    label->setGeometry(0, 0, 150, 200);
    label->setRichText(longText);
    QImage shot = label->grab().toImage();
    QCOMPARE(shot.width(), 150);
    const int narrowLines = fitDocument(label->document(), 149, 199).lineCount;
    QVERIFY(narrowLines >= 3);
    // The screen shows every line of the narrow layout, and the lines run up to the edge
    // rather than being cut by it or broken short of it.
    QCOMPARE(inkLines(shot), narrowLines);
    QVERIFY(hasInk(shot, QRect(100, 0, 50, 200)));
    label->resize(400, 200);
    shot = label->grab().toImage();
    QVERIFY(label->document().textWidth() == 399);
    const int wideLines = fitDocument(label->document(), 399, 199).lineCount;
    QVERIFY(wideLines < narrowLines);
    QCOMPARE(inkLines(shot), wideLines);
    QVERIFY(hasInk(shot, QRect(150, 0, 250, 200))); // past the old edge now
}

void TestRichLabels::rtfLabelFillsWithParentColour()
{
    Parent parent;
    auto *label = new TRTFLabel(&parent);
    label->setGeometry(0, 0, 100, 25);
    label->setRichText(rtfOf("x"));
    QCOMPARE(label->color(), QColor(0xF6, 0xF4, 0xE7));
    QCOMPARE(label->grab().toImage().pixelColor(99, 24), QColor(0xF6, 0xF4, 0xE7));
    label->setColor(Qt::yellow);
    QCOMPARE(label->grab().toImage().pixelColor(99, 24), QColor(Qt::yellow));
    QCOMPARE(TRTFLabel::Version(), QStringLiteral("1.3.0.0"));

    // Without a parent only the background is painted.
    TRTFLabel orphan;
    orphan.resize(100, 25);
    orphan.setColor(Qt::white);
    orphan.setRichText(rtfOf("\\fs40 XXXX"));
    QVERIFY(!hasInk(orphan.grab().toImage(), QRect(0, 0, 100, 25)));
}

void TestRichLabels::richLabelRendersOnItsEventsOnly()
{
    Parent parent;
    parent.show();
    auto *label = new TCtlRichLabel(&parent);
    QCOMPARE(label->size(), QSize(100, 100));
    label->setGeometry(10, 10, 300, 25);
    label->show();
    QCoreApplication::processEvents();
    label->setLines(QString::fromLatin1(threeLines).split(QStringLiteral("\r\n")));
    const int afterText = label->renderCount();
    QVERIFY(!label->renderedImage().isNull());
    QCOMPARE(label->renderedImage().width(), 296);

    // A repaint uses the kept image.
    label->repaint();
    label->grab();
    QCOMPARE(label->renderCount(), afterText);

    // Resizing renders again at the new width.
    label->resize(200, 25);
    QCoreApplication::processEvents();
    QCOMPARE(label->renderCount(), afterText + 1);
    QCOMPARE(label->renderedImage().width(), 196);

    label->setWordWrap(false);
    QCOMPARE(label->renderedImage().width(), maxRenderSize);
    QCOMPARE(label->renderCount(), afterText + 2);
}

void TestRichLabels::richLabelTextArea_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("rendered");
    QTest::newRow("caption box") << QSize(473, 41) << false << true;
    QTest::newRow("text area 5 wide") << QSize(9, 40) << false << true;
    QTest::newRow("text area 4 wide") << QSize(8, 40) << false << false;
    QTest::newRow("text area 4 high") << QSize(100, 8) << false << false;
    QTest::newRow("no lines") << QSize(100, 40) << true << false;
}

void TestRichLabels::richLabelTextArea()
{
    QFETCH(QSize, size);
    QFETCH(bool, empty);
    QFETCH(bool, rendered);
    Parent parent;
    auto *label = new TCtlRichLabel(&parent);
    label->resize(size);
    if (!empty)
        label->setRichText(longText);
    QCOMPARE(!label->renderedImage().isNull(), rendered);
    // The background is the parent's and fills the margin and the uncovered area.
    const QImage shot = label->grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), QColor(0xF6, 0xF4, 0xE7));
    QCOMPARE(shot.pixelColor(size.width() - 1, size.height() - 1), QColor(0xF6, 0xF4, 0xE7));
    if (rendered) {
        QCOMPARE(label->renderedImage().width(), size.width() - 4);
        QVERIFY(label->renderedImage().height() <= maxRenderSize);
    }
}

void TestRichLabels::richLabelFrame()
{
    Parent parent;
    auto *label = new TCtlRichLabel(&parent);
    label->resize(200, 40);
    label->setBevel(TCtlRTFBevel{bvLowered, bvRaised, bsAll});
    label->setRichText(longText);
    QCOMPARE(label->renderedImage().width(), 200 - 2 * 2 - 4);
    const QImage shot = label->grab().toImage();
    const QColor shadow = label->palette().color(QPalette::Dark);
    const QColor highlight = label->palette().color(QPalette::Light);
    QCOMPARE(shot.pixel(0, 0), shadow.rgb());            // outer lowered: top-left shadow
    QCOMPARE(shot.pixel(199, 39), highlight.rgb());      // ... bottom-right highlight
    QCOMPARE(shot.pixel(1, 20), highlight.rgb());        // inner raised: left highlight
    QCOMPARE(shot.pixel(198, 20), shadow.rgb());         // ... right shadow
    QCOMPARE(shot.pixel(2, 20), QColor(0xF6, 0xF4, 0xE7).rgb()); // the margin

    label->setBevel(TCtlRTFBevel{bvLowered, bvNone, bsTop | bsBottom});
    QCOMPARE(label->renderedImage().width(), 200 - 4);
}

void TestRichLabels::richLabelLinesCarryAnyCharacter()
{
    // Lines are strings: 8-bit text is read in the document's code page, the rest as it is.
    Parent parent;
    auto *label = new TCtlRichLabel(&parent);
    label->setLines({QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 \\'f5 \xf5 \u0151"), QStringLiteral("\u2019}")});
    QCOMPARE(label->model().document().toPlainText(), QStringLiteral("ő ő ő’"));
    QVERIFY(label->model().readResult().ok);
}

void TestRichLabels::scrollBoxBars_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("wordWrap");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<bool>("horizontal");

    QByteArray tall;
    for (int i = 0; i < 40; ++i)
        tall += "line\\par ";
    QTest::newRow("short text: no bars") << rtfOf("short\\par") << true << false << false;
    QTest::newRow("tall text: vertical") << rtfOf(tall) << true << true << false;
    QTest::newRow("wide text: horizontal") << longText << false << false << true;
    QTest::newRow("tall and wide: both") << rtfOf(tall + "one two three four five six seven eight nine ten eleven twelve thirteen") << false << true << true;
}

void TestRichLabels::scrollBoxBars()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, wordWrap);
    QFETCH(bool, vertical);
    QFETCH(bool, horizontal);
    Parent parent;
    auto *box = new TCtlRichScrollBox(&parent);
    box->setGeometry(10, 10, 300, 200);
    box->setWordWrap(wordWrap);
    box->setRichText(rtf);
    QScrollBar *v = box->verticalBar();
    QScrollBar *h = box->horizontalBar();
    QCOMPARE(v->isVisibleTo(box), vertical);
    QCOMPARE(h->isVisibleTo(box), horizontal);
    QCOMPARE(v->focusPolicy(), Qt::NoFocus);
    QCOMPARE(box->color(), box->palette().color(QPalette::Base));
    const int t = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box);
    const QImage &img = box->renderedImage();
    if (vertical) {
        QCOMPARE(v->geometry(), QRect(300 - t, 0, t, 200 - (horizontal ? t : 0)));
        QCOMPARE(v->maximum(), img.height() - box->textArea().height() + 4);
        QCOMPARE(v->pageStep(), box->textArea().height() - 4);
        QCOMPARE(box->textArea().right(), 300 - 2 - 1 - t - 1);
    }
    if (horizontal) {
        const int length = 300 - (vertical ? t : 0);
        QCOMPARE(h->geometry(), QRect(0, 200 - t, length, t));
        QCOMPARE(h->maximum(), img.width() - length);
        QCOMPARE(h->singleStep(), 10);
        QCOMPARE(h->pageStep(), length - 4);
    }
    // Moving a bar moves the image in the text area.
    if (horizontal || vertical) {
        const QImage before = box->grab().toImage();
        QScrollBar *bar = vertical ? v : h;
        bar->setValue(bar->maximum());
        QVERIFY(box->grab().toImage() != before);
    }
}

QTEST_MAIN(TestRichLabels)
#include "test_richlabels.moc"
