#include "gradientbands_p.h"
#include "controls/panels/menubarpainting.h"
#include "controls/panels/panelpainting.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace ctl;

namespace {
QColor rgb(QRgb value) { return QColor::fromRgb(value); }

QImage render(QSize size, const std::function<void(QPainter &)> &paint)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    paint(p);
    return image;
}

QFont tahoma11()
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    return f;
}

const QSize panelSize(721, 137);
} // namespace

class TestPanelPainting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void focusedCaptionBands_data();
    void focusedCaptionBands();
    void bandsCoverTheBar();
    void toolPanelPixels_data();
    void toolPanelPixels();
    void captionTextColourAndEllipsis();
    void styledPanelPixels();
    void menuItemStates_data();
    void menuItemStates();
};

void TestPanelPainting::focusedCaptionBands_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    // Focused caption bar of a 721-pixel panel: from #FBE694 towards #EE9515 in 16 bands over
    // rows 1 … 21; halves round to even (band 8).
    const struct { const char *colour; int top; int height; } rows[] = {
        {"#fbe694", 1, 1},  {"#fae18c", 2, 1},  {"#f9dc84", 3, 1},  {"#f9d77c", 4, 2},
        {"#f8d274", 6, 1},  {"#f7cd6c", 7, 1},  {"#f6c864", 8, 2},  {"#f5c35c", 10, 1},
        {"#f5be54", 11, 1}, {"#f4b84d", 12, 2}, {"#f3b345", 14, 1}, {"#f2ae3d", 15, 1},
        {"#f1a935", 16, 2}, {"#f0a42d", 18, 1}, {"#f09f25", 19, 1}, {"#ef9a1d", 20, 2},
    };
    for (int k = 0; k < 16; ++k)
        QTest::addRow("band %d", k) << k << QString::fromLatin1(rows[k].colour) << rows[k].top << rows[k].height;
}

void TestPanelPainting::focusedCaptionBands()
{
    QFETCH(int, k);
    QFETCH(QString, colour);
    QFETCH(int, top);
    QFETCH(int, height);
    const ToolPanelLook look;
    const QList<GradientBand> bands = gradientBands(captionBarRect(panelSize), look.FocusCaptionColor,
                                                    look.FocusCaptionColorTo, CaptionBands, Qt::Vertical);
    QCOMPARE(bands.size(), 16);
    QCOMPARE(bands[k].color.name(), colour);
    QCOMPARE(bands[k].rect, QRect(1, top, 719, height));
}

void TestPanelPainting::bandsCoverTheBar()
{
    // The last band stops one sixteenth short of the end colour.
    QVERIFY(bandColor(QColor(0, 0, 0), QColor(160, 16, 255), 15, 16) != QColor(160, 16, 255));
    QCOMPARE(bandColor(QColor(0, 0, 0), QColor(160, 16, 255), 15, 16), QColor(150, 15, 239));
    // Equal ends give a flat bar.
    const QList<GradientBand> flat = gradientBands(QRect(1, 1, 50, 21), rgb(0xD2CFBE), rgb(0xD2CFBE), 16, Qt::Vertical);
    for (const GradientBand &b : flat)
        QCOMPARE(b.color, rgb(0xD2CFBE));
    // Horizontal bands run left to right and tile the rectangle.
    const QList<GradientBand> across = gradientBands(QRect(10, 0, 7, 3), Qt::black, Qt::white, 7, Qt::Horizontal);
    for (int i = 0; i < across.size(); ++i)
        QCOMPARE(across[i].rect, QRect(10 + i, 0, 1, 3));
}

void TestPanelPainting::toolPanelPixels_data()
{
    QTest::addColumn<bool>("focused");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("colour");
    const int w = panelSize.width();
    const int h = panelSize.height();
    QTest::newRow("focused: bar top") << true << QPoint(w - 10, 1) << QStringLiteral("#fbe694");
    QTest::newRow("focused: bar bottom") << true << QPoint(w - 10, 21) << QStringLiteral("#ef9a1d");
    QTest::newRow("unfocused: bar top") << false << QPoint(w - 10, 1) << QStringLiteral("#d2cfbe");
    QTest::newRow("unfocused: bar bottom") << false << QPoint(w - 10, 21) << QStringLiteral("#d2cfbe");
    QTest::newRow("body below the bar") << false << QPoint(100, 23) << QStringLiteral("#f6f4e7");
    QTest::newRow("body middle") << true << QPoint(300, 80) << QStringLiteral("#f6f4e7");
    QTest::newRow("top edge covered by the body") << false << QPoint(100, 0) << QStringLiteral("#f6f4e7");
    QTest::newRow("left edge light") << false << QPoint(0, 80) << QStringLiteral("#ffffff");
    QTest::newRow("right edge shadow") << false << QPoint(w - 1, 80) << QStringLiteral("#808080");
    QTest::newRow("bottom edge shadow") << false << QPoint(300, h - 1) << QStringLiteral("#808080");
    QTest::newRow("left of the bar is the edge") << true << QPoint(0, 10) << QStringLiteral("#ffffff");
}

void TestPanelPainting::toolPanelPixels()
{
    QFETCH(bool, focused);
    QFETCH(QPoint, at);
    QFETCH(QString, colour);
    const QImage image = render(panelSize, [&](QPainter &p) {
        paintToolPanel(p, panelSize, ToolPanelLook(), QStringLiteral("  EGYÉB"), tahoma11(), focused);
    });
    QCOMPARE(image.pixelColor(at).name(), colour);
}

void TestPanelPainting::captionTextColourAndEllipsis()
{
    QCOMPARE(captionTextRect(panelSize), QRect(4, 4, 680, 17));
    QCOMPARE(captionColors(ToolPanelLook(), true).text, QColor(Qt::black));
    QCOMPARE(captionColors(ToolPanelLook(), false).text, rgb(0x4F5045));

    // The caption text is drawn in its colour inside the text rectangle only.
    for (bool focused : {true, false}) {
        const QImage image = render(panelSize, [&](QPainter &p) {
            paintToolPanel(p, panelSize, ToolPanelLook(), QStringLiteral("III. AZ ADÓ MEGÁLLAPITÁSA"), tahoma11(),
                           focused);
        });
        const QColor text = captionColors(ToolPanelLook(), focused).text;
        int inText = 0;
        for (int y = 1; y < 22; ++y)
            for (int x = 1; x < panelSize.width() - 1; ++x)
                if (image.pixelColor(x, y) == text) {
                    ++inText;
                    QVERIFY2(captionTextRect(panelSize).contains(x, y), "caption text outside its rectangle");
                }
        QVERIFY(inText > 20);
    }

    QFont bold = tahoma11();
    bold.setBold(true);
    const QString longCaption = QStringLiteral("  II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)");
    QCOMPARE(elidedCaption(longCaption, bold, panelSize), longCaption); // fits, leading blanks kept
    const QString cut = elidedCaption(longCaption, bold, QSize(150, 50));
    QVERIFY(cut.endsWith(QChar(0x2026)));
    QVERIFY(cut.startsWith(QStringLiteral("  II.")));
    QVERIFY(QFontMetrics(bold).horizontalAdvance(cut) <= captionTextRect(QSize(150, 50)).width());
}

void TestPanelPainting::styledPanelPixels()
{
    const QSize size(80, 60);
    const QImage image =
        render(size, [&](QPainter &p) { paintStyledPanel(p, size, rgb(0xEAE5CF), rgb(0x8DA4AC)); });
    QCOMPARE(image.pixelColor(0, 0).name(), QStringLiteral("#8da4ac"));
    QCOMPARE(image.pixelColor(79, 30).name(), QStringLiteral("#8da4ac"));
    QCOMPARE(image.pixelColor(40, 59).name(), QStringLiteral("#8da4ac"));
    QCOMPARE(image.pixelColor(1, 1).name(), QStringLiteral("#eae5cf"));
    QCOMPARE(image.pixelColor(40, 30).name(), QStringLiteral("#eae5cf"));
}

void TestPanelPainting::menuItemStates_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<QString>("border");
    QTest::newRow("hot") << int(MenuItemState::Hot) << QStringLiteral("#fff6cf") << QStringLiteral("#ffd89d")
                         << QStringLiteral("#4b4b6f");
    QTest::newRow("open") << int(MenuItemState::Open) << QStringLiteral("#e8e8f2") << QStringLiteral("#b9b8cd")
                          << QStringLiteral("#7c7c94");
}

void TestPanelPainting::menuItemStates()
{
    QFETCH(int, state);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(QString, border);
    const QRect bar(0, 0, 300, 20);
    const QRect item(100, 0, 60, 20);
    const QImage image = render(bar.size(), [&](QPainter &p) {
        paintMenuBarBackground(p, bar);
        paintMenuItem(p, item, QString(), MenuItemState(state), tahoma11(), Qt::black, 0);
    });
    QCOMPARE(image.pixelColor(item.left(), 10).name(), border);
    QCOMPARE(image.pixelColor(item.right(), 10).name(), border);
    QCOMPARE(image.pixelColor(130, item.top()).name(), border);
    const MenuItemLook look = menuItemLook(MenuItemState(state));
    QCOMPARE(look.from->name(), top);
    QCOMPARE(look.to->name(), bottom);
    // One-pixel bands from the top row; row 0 lies under the border.
    QCOMPARE(image.pixelColor(130, 1), bandColor(*look.from, *look.to, 1, 20));
    QCOMPARE(image.pixelColor(130, 18), bandColor(*look.from, *look.to, 18, 20));

    // The bar's gradient runs across the whole bar, behind normal items too.
    const QImage normal = render(bar.size(), [&](QPainter &p) {
        paintMenuBarBackground(p, bar);
        paintMenuItem(p, item, QString(), MenuItemState::Normal, tahoma11(), Qt::black, 0);
    });
    QCOMPARE(normal.pixelColor(0, 5).name(), QStringLiteral("#d7d7e5"));
    QCOMPARE(normal.pixelColor(130, 5), bandColor(MenuBarColor, MenuBarColorTo, 130, 300));
    QCOMPARE(normal.pixelColor(299, 5), bandColor(MenuBarColor, MenuBarColorTo, 299, 300));
}

QTEST_MAIN(TestPanelPainting)
#include "test_panelpainting.moc"
