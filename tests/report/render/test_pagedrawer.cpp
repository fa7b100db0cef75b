// The store's page drawing: page cache use, mirrored margins, the visibility margin around the
// clip region, printable objects, memo page counts and the page background.

#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/render/pagedrawer.h"
#include "tests/report/drawfixture.h"
#include "tests/report/reportfixture.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTest>

using namespace rep;

namespace {

using rep::test::fillStore;
using rep::test::make;

// One template page without margins: a framed shape at (0, 0) and a memo at (200, 300), both
// whole pixels at zoom 1. prepare() fills the store as the engine does.
struct Fixture
{
    TrepReport report;
    TrepReportPage *page = make<TrepReportPage>(&report, QStringLiteral("Page1"));
    TrepShapeView *shape = make<TrepShapeView>(page, QStringLiteral("Shape1"));
    TrepMemoView *memo = make<TrepMemoView>(page, QStringLiteral("Memo1"));
    TrepPreviewPages pages;

    Fixture()
    {
        pages.SetPageDrawer(&drawReportPage);
        shape->SetBounds(0, 0, 100, 50);
        memo->SetBounds(200, 300, 100, 20);
        memo->SetText(QStringLiteral("Szöveg"));
    }

    void prepare(int count) { fillStore(pages, page, {shape, memo}, count); }

    // The memo of a rebuilt page, its page count reset: drawing it sets the count again.
    TrepCustomMemoView *drawnMemo(int index)
    {
        auto *m = dynamic_cast<TrepCustomMemoView *>(pages.GetPage(index)->FindObject(QStringLiteral("Memo1")));
        m->TotalPages = 0;
        return m;
    }

    QImage draw(int index, const QRect &clip = QRect())
    {
        QImage image(794, 1123, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        if (clip.isValid())
            p.setClipRect(clip);
        pages.DrawPage(index, &p, 1, 1, 0, 0);
        return image;
    }
};

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

int firstDarkColumn(const QImage &image, int y)
{
    for (int x = 0; x < image.width(); ++x)
        if (dark(image, x, y))
            return x;
    return -1;
}

} // namespace

class TestPageDrawer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drawingTwiceRebuildsOnce()
    {
        Fixture f;
        f.prepare(2);
        const int before = f.pages.RebuildCount();
        f.draw(1);
        f.draw(1);
        QCOMPARE(f.pages.RebuildCount(), before + 1);
    }

    void memoGetsPageCount()
    {
        Fixture f;
        f.prepare(3);
        TrepCustomMemoView *memo = f.drawnMemo(2);
        f.draw(2);
        QCOMPARE(memo->TotalPages, 3);
    }

    void mirrorMargins_data()
    {
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("left");
        // Left margin 20 mm (75.59 px), right margin 5 mm (18.90 px).
        QTest::newRow("plain, first page") << false << 0 << 76;
        QTest::newRow("plain, second page") << false << 1 << 76;
        QTest::newRow("mirrored, first page") << true << 0 << 76;
        QTest::newRow("mirrored, second page") << true << 1 << 19;
        QTest::newRow("mirrored, third page") << true << 2 << 76;
    }

    void mirrorMargins()
    {
        QFETCH(bool, mirror);
        QFETCH(int, index);
        QFETCH(int, left);
        Fixture f;
        f.page->LeftMargin = 20;
        f.page->RightMargin = 5;
        f.page->TopMargin = 10;
        f.page->MirrorMargins = mirror;
        f.prepare(3);
        const QImage image = f.draw(index);
        // The shape's left edge, half-way down it (top margin 37.8 px, height 50).
        QVERIFY(qAbs(firstDarkColumn(image, 38 + 25) - left) <= 1);
        // The swap lasts only for the drawing.
        QCOMPARE(f.pages.GetPage(index)->LeftMargin, 20.0);
        QCOMPARE(f.pages.GetPage(index)->RightMargin, 5.0);
    }

    void visibilityMargin_data()
    {
        // The memo covers x 200 ... 299, y 300 ... 319; the clip region lies apart from it by
        // a gap of the given number of pixels on one side.
        QTest::addColumn<QRect>("clip");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("left, 19 px") << QRect(100, 300, 81, 20) << true;
        QTest::newRow("left, 21 px") << QRect(100, 300, 79, 20) << false;
        QTest::newRow("right, 19 px") << QRect(319, 300, 50, 20) << true;
        QTest::newRow("right, 21 px") << QRect(321, 300, 50, 20) << false;
        QTest::newRow("above, 19 px") << QRect(200, 200, 100, 81) << true;
        QTest::newRow("above, 21 px") << QRect(200, 200, 100, 79) << false;
        QTest::newRow("below, 19 px") << QRect(200, 339, 100, 50) << true;
        QTest::newRow("below, 21 px") << QRect(200, 341, 100, 50) << false;
        QTest::newRow("diagonal, 19 px") << QRect(319, 339, 10, 10) << true;
        QTest::newRow("overlapping") << QRect(250, 310, 10, 10) << true;
    }

    void visibilityMargin()
    {
        QFETCH(QRect, clip);
        QFETCH(bool, drawn);
        Fixture f;
        f.prepare(1);
        TrepCustomMemoView *memo = f.drawnMemo(0);
        f.draw(0, clip);
        QCOMPARE(memo->TotalPages != 0, drawn);
    }

    void recordingIgnoresClip()
    {
        Fixture f;
        f.prepare(1);
        TrepCustomMemoView *memo = f.drawnMemo(0);
        QPicture picture;
        QPainter p(&picture);
        p.setClipRect(QRect(600, 900, 10, 10));
        f.pages.DrawPage(0, &p, 1, 1, 0, 0);
        QCOMPARE(memo->TotalPages, 1);
    }

    void nonPrintableOnlyOnScreen()
    {
        Fixture f;
        f.shape->Printable = false;
        f.memo->Printable = false;
        f.prepare(1);

        TrepCustomMemoView *memo = f.drawnMemo(0);
        const QByteArray pdf = rep::test::a4Pdf(
            [&](QPdfWriter &, QPainter &p) { f.pages.DrawPage(0, &p, 600.0 / 96, 600.0 / 96, 0, 0); });
        QCOMPARE(memo->TotalPages, 0);
        QVERIFY(pdf.size() > 0);

        const QImage image = f.draw(0);
        QCOMPARE(memo->TotalPages, 1);
        QCOMPARE(firstDarkColumn(image, 25), 0); // the shape's left edge
    }

    void pageBackground()
    {
        Fixture f;
        f.page->LeftMargin = f.page->RightMargin = f.page->TopMargin = f.page->BottomMargin = 10;
        f.page->Color = 0x00FF00; // green
        f.page->Frame.Typ = (1 << ftLeft) | (1 << ftRight) | (1 << ftTop) | (1 << ftBottom);
        f.prepare(1);
        const QImage image = f.draw(0);
        const QRgb green = qRgb(0, 255, 0);
        QCOMPARE(image.pixel(400, 30), qRgb(255, 255, 255)); // top margin
        QCOMPARE(image.pixel(20, 600), qRgb(255, 255, 255)); // left margin
        QCOMPARE(image.pixel(400, 600), green);
        QCOMPARE(image.pixel(750, 1080), green);
        // The frame around the area inside the margins (37.8 ... 755.9 by 37.8 ... 1085.0).
        QVERIFY(dark(image, 38, 600));
        QVERIFY(dark(image, 400, 38));
        QVERIFY(dark(image, 755, 600) || dark(image, 754, 600));
        QVERIFY(dark(image, 400, 1084) || dark(image, 400, 1083));
        QCOMPARE(image.pixel(758, 600), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestPageDrawer)
#include "test_pagedrawer.moc"
