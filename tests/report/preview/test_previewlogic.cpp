#include "report/preview/pagelist.h"
#include "report/preview/previewstate.h"
#include "report/preview/previewtexts.h"
#include "report/preview/previewzoom.h"
#include "report/preview/textsearch.h"
#include "runtime/errors.h"
#include "runtime/formatsettings.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

using namespace rep;

namespace {
const QSize kA4(794, 1123);

// Two A4 pages in a 1000 × 700 workspace: the declaration as the preview shows it.
PreviewState twoPages(QSize client = QSize(1000, 700))
{
    PreviewState s;
    s.setClientSize(client);
    s.setPageSizes({kA4, kA4});
    return s;
}
} // namespace

class TestPreviewLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageRectangles_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("index");
        QTest::addColumn<QRect>("rect");
        // QRect(left, top, width, height); right and bottom of the layout are exclusive.
        QTest::newRow("first page z=1 centred") << 2 << 1 << 1.0 << 1000 << 0 << QRect(103, 10, 794, 1123);
        QTest::newRow("second page below with 10 between") << 2 << 1 << 1.0 << 1000 << 1 << QRect(103, 1143, 794, 1123);
        QTest::newRow("second of two columns z=0.5") << 2 << 2 << 0.5 << 1000 << 1 << QRect(502, 5, 397, 562);
        QTest::newRow("first of two columns z=0.5") << 2 << 2 << 0.5 << 1000 << 0 << QRect(100, 5, 397, 562);
        QTest::newRow("third page starts a new row") << 3 << 2 << 0.5 << 1000 << 2 << QRect(302, 572, 397, 562);
        QTest::newRow("wider than workspace z=2") << 2 << 1 << 2.0 << 1000 << 0 << QRect(10, 20, 1588, 2246);
        QTest::newRow("index outside gives A4 at top") << 1 << 1 << 1.0 << 1000 << 5 << QRect(103, 10, 794, 1123);
        QTest::newRow("z=0.25 narrow workspace") << 2 << 1 << 0.25 << 300 << 1 << QRect(51, 286, 198, 281);
    }
    void pageRectangles()
    {
        QFETCH(int, pages);
        QFETCH(int, columns);
        QFETCH(double, zoom);
        QFETCH(int, width);
        QFETCH(int, index);
        QFETCH(QRect, rect);
        TrepPageList list;
        list.build(QList<QSize>(pages, kA4), columns);
        QCOMPARE(list.pageRect(index, zoom, width), rect);
    }

    void layoutOfMixedSizes()
    {
        // A landscape page next to a portrait one: the row is as tall as its tallest page.
        TrepPageList list;
        list.build({kA4, QSize(1123, 794), kA4}, 2);
        QCOMPARE(list.item(1).column, 1);
        QCOMPARE(list.item(1).top, 10);
        QCOMPARE(list.item(2).column, 0);
        QCOMPARE(list.item(2).top, 10 + 1123 + 10);
        QCOMPARE(list.widestRow(), 794 + 10 + 1123 + 10);
    }

    void scrollRanges_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QSize>("range");
        QTest::newRow("one column z=1") << 1 << 1.0 << QSize(814, 2276);
        QTest::newRow("two columns z=0.5") << 2 << 0.5 << QSize(814, 577);
        QTest::newRow("one column z=2") << 1 << 2.0 << QSize(1618, 4542);
    }
    void scrollRanges()
    {
        QFETCH(int, columns);
        QFETCH(double, zoom);
        QFETCH(QSize, range);
        TrepPageList list;
        list.build({kA4, kA4}, columns);
        QCOMPARE(list.scrollRange(zoom, 1000), range);
    }

    void zoomBoxText_data()
    {
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QString>("shown");
        QTest::newRow("10 floors at 25%") << "," << "10" << 0.25 << "25%";
        QTest::newRow("150 % with blank") << "," << "150 %" << 1.5 << "150%";
        QTest::newRow("only the first % goes") << "," << "%1 50" << 1.5 << "150%";
        QTest::newRow("comma decimal") << "," << "75,5" << 0.755 << "76%";
        QTest::newRow("point under comma locale") << "," << "75.5" << 0.755 << "76%";
        QTest::newRow("comma under point locale") << "." << "62,5%" << 0.625 << "62%";
        QTest::newRow("list entry") << "," << "200%" << 2.0 << "200%";
    }
    void zoomBoxText()
    {
        QFETCH(QString, separator);
        QFETCH(QString, typed);
        QFETCH(double, zoom);
        QFETCH(QString, shown);
        rt::FormatSettings fs;
        fs.decimalSeparator = separator.at(0);
        rt::setFormatSettings(fs);
        PreviewState s = twoPages();
        const std::optional<double> z = parseZoomText(typed);
        QVERIFY(z.has_value());
        s.setZoom(*z);
        QCOMPARE(s.zoom(), zoom);
        QCOMPARE(zoomText(s.zoom()), shown);
    }

    void zoomBoxTextErrors()
    {
        rt::setFormatSettings(rt::FormatSettings{});
        QVERIFY(!parseZoomText(QStringLiteral(" % ")).has_value());
        QVERIFY_THROWS_EXCEPTION(rt::EConvertError, parseZoomText(QStringLiteral("nagy")));
        QVERIFY_THROWS_EXCEPTION(rt::EConvertError, parseZoomText(QStringLiteral("1.5.0")));
    }

    void twoPagesThen100()
    {
        PreviewState s = twoPages();
        int zoomNotes = 0;
        s.zoomChanged = [&] { ++zoomNotes; };
        s.setZoomMode(zmManyPages);
        QCOMPARE(s.layout().columns(), 2);
        QCOMPARE(s.zoom(), (1000.0 - 32) / (2 * 794));
        QCOMPARE(s.pageRect(1).top(), s.pageRect(0).top());
        QCOMPARE(zoomNotes, 1);
        s.setZoom(1.0);
        QCOMPARE(s.zoomMode(), zmDefault);
        QCOMPARE(s.layout().columns(), 1);
        QCOMPARE(zoomText(s.zoom()), QStringLiteral("100%"));
        QCOMPARE(s.layout().pageRect(1, s.zoom(), 1000), QRect(103, 1143, 794, 1123));
    }

    void fittedModesFollowTheClient_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<double>("zoom");
        QTest::newRow("whole page 700 high") << int(zmWholePage) << QSize(1000, 700) << 680.0 / 1123;
        QTest::newRow("whole page 900 high") << int(zmWholePage) << QSize(1000, 900) << 880.0 / 1123;
        QTest::newRow("page width 1000") << int(zmPageWidth) << QSize(1000, 700) << 980.0 / 794;
        QTest::newRow("page width below the floor") << int(zmPageWidth) << QSize(120, 700) << 100.0 / 794;
        QTest::newRow("two pages 1000") << int(zmManyPages) << QSize(1000, 700) << 968.0 / 1588;
        QTest::newRow("fixed zoom stays") << int(zmDefault) << QSize(300, 300) << 1.0;
        QTest::newRow("no room keeps the zoom") << int(zmWholePage) << QSize(0, 0) << 680.0 / 1123;
    }
    void fittedModesFollowTheClient()
    {
        QFETCH(int, mode);
        QFETCH(QSize, client);
        QFETCH(double, zoom);
        PreviewState s = twoPages();
        s.setZoomMode(TrepZoomMode(mode));
        s.setClientSize(client);
        QCOMPARE(s.zoom(), zoom);
    }

    void setZoomFloor()
    {
        PreviewState s = twoPages();
        s.setZoom(0.1);
        QCOMPARE(s.zoom(), 0.25);
        s.setZoom(-3);
        QCOMPARE(s.zoom(), 0.25);
    }

    void currentPageByOneFifth_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<int>("page");
        // Page 2's top lies at 1143 × z; it becomes current once it is within a fifth of its
        // height (1123 × z / 5) below the top edge.
        QTest::newRow("z=1 top edge") << 1.0 << 0 << 1;
        QTest::newRow("z=1 just short") << 1.0 << 918 << 1;
        QTest::newRow("z=1 within a fifth") << 1.0 << 919 << 2;
        QTest::newRow("z=0.5 just short") << 0.5 << 459 << 1;
        QTest::newRow("z=0.5 within a fifth") << 0.5 << 460 << 2;
    }
    void currentPageByOneFifth()
    {
        QFETCH(double, zoom);
        QFETCH(int, scroll);
        QFETCH(int, page);
        PreviewState s = twoPages(QSize(1000, 300));
        s.setZoom(zoom);
        int notes = 0;
        s.pageChanged = [&] { ++notes; };
        s.setScroll(QPoint(0, scroll));
        QCOMPARE(s.scroll().y(), scroll);
        QCOMPARE(s.currentPage(), page);
        QCOMPARE(notes, scroll == 0 ? 0 : 1);
    }

    void scrollIsClamped()
    {
        PreviewState s = twoPages();
        s.setScroll(QPoint(-5, 99999));
        QCOMPARE(s.scroll(), QPoint(0, 2276 - 700));
        s.setZoom(2.0);
        s.setScroll(QPoint(99999, 0));
        QCOMPARE(s.scroll().x(), 1618 - 1000);
        // Zooming out shrinks the ranges and pulls the positions back in.
        s.setZoom(0.25);
        QCOMPARE(s.scroll(), QPoint(0, 0));
    }

    void homeAndEnd_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("z=1") << 1.0;
        QTest::newRow("z=0.25 everything fits") << 0.25;
        QTest::newRow("z=3") << 3.0;
    }
    void homeAndEnd()
    {
        QFETCH(double, zoom);
        PreviewState s = twoPages();
        s.setZoom(zoom);
        s.goToPage(99);
        QCOMPARE(s.currentPage(), 2);
        QCOMPARE(s.scroll().y(), qBound(0, s.layout().pageRect(1, zoom, 1000).top() - 10, s.maxScroll().y()));
        s.goToPage(0);
        QCOMPARE(s.currentPage(), 1);
        QCOMPARE(s.scroll().y(), qBound(0, s.layout().pageRect(0, zoom, 1000).top() - 10, s.maxScroll().y()));
    }

    void unlockResetsThePageQuietly()
    {
        // After printing or saving the page number is 1 even though page 2 is still shown.
        PreviewState s = twoPages();
        s.goToPage(2);
        const QPoint shown = s.scroll();
        int notes = 0;
        s.pageChanged = [&] { ++notes; };
        s.lock();
        QVERIFY(s.visiblePages(QRect(0, 0, 1000, 700)).isEmpty());
        s.setZoom(1.0); // no update while locked
        s.unlock();
        QCOMPARE(s.currentPage(), 1);
        QCOMPARE(s.scroll(), shown);
        QCOMPARE(notes, 0);
        s.scrollBy(0, 1);
        QCOMPARE(s.currentPage(), 2);
    }

    void visiblePages()
    {
        PreviewState s;
        s.setClientSize(QSize(1000, 700));
        s.setPageSizes(QList<QSize>(100, kA4));
        QCOMPARE(s.visiblePages(QRect(0, 0, 1000, 700)), QList<int>({0}));
        s.setScroll(QPoint(0, 10 + 1133 * 50 + 800));
        QCOMPARE(s.visiblePages(QRect(0, 0, 1000, 700)), QList<int>({50, 51}));
        // A clip strip at the bottom only touches the lower page.
        QCOMPARE(s.visiblePages(QRect(0, 650, 1000, 50)), QList<int>({51}));
        s.setZoom(0.25);
        // Many small pages fit; never more than the 41 around the current one.
        QVERIFY(s.visiblePages(QRect(0, 0, 1000, 700)).size() <= 41);
    }

    void textSearch()
    {
        // Page texts as the recorder would give them, in drawing order.
        const QList<QStringList> pages = {{QStringLiteral("Alma utca"), QStringLiteral("körte"), QStringLiteral("ALMA")},
                                          {QStringLiteral("szilva"), QStringLiteral("almafa")}};
        int drawn = 0;
        TextSearch search([&] { return int(pages.size()); },
                          [&](int page) {
                              ++drawn;
                              QList<TextRecord> r;
                              for (int i = 0; i < pages.at(page).size(); ++i)
                                  r.append({pages.at(page).at(i), QRectF(0, i * 20, 100, 16)});
                              return r;
                          });
        QVERIFY(search.start(QStringLiteral("alma"), false, 0));
        QCOMPARE(std::pair(search.hitPage(), search.hitIndex()), std::pair(0, 0));
        QVERIFY(search.findNext());
        QCOMPARE(std::pair(search.hitPage(), search.hitIndex()), std::pair(0, 2));
        QCOMPARE(search.hitBounds(), QRectF(0, 40, 100, 16));
        QVERIFY(search.findNext());
        QCOMPARE(std::pair(search.hitPage(), search.hitIndex()), std::pair(1, 1));
        QVERIFY(!search.findNext());
        QCOMPARE(std::pair(search.hitPage(), search.hitIndex()), std::pair(1, 1));

        QVERIFY(search.start(QStringLiteral("alma"), true, 0));
        QCOMPARE(std::pair(search.hitPage(), search.hitIndex()), std::pair(1, 1));
        QVERIFY(search.start(QStringLiteral("ALMA"), true, 1) == false);
        QVERIFY(!search.start(QString(), false, 0));
        QVERIFY(drawn <= 6);
    }

    void recorderKeepsTextsWithBounds()
    {
        TextRecorder recorder;
        {
            QPainter p(&recorder);
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(20);
            p.setFont(f);
            p.translate(100, 50);
            p.scale(2, 2);
            p.drawText(QPointF(10, 30), QStringLiteral("Telekadó"));
            p.drawRect(0, 0, 10, 10);
            QTextLayout layout(QStringLiteral("második"), f);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            layout.draw(&p, QPointF(0, 100));
        }
        QCOMPARE(recorder.records().size(), 2);
        const TextRecord &r = recorder.records().at(0);
        QCOMPARE(r.text, QStringLiteral("Telekadó"));
        const QFontMetricsF fm(QFont(QStringLiteral("Arial")));
        QCOMPARE(r.bounds.left(), 120.0);
        QVERIFY(r.bounds.top() < 110 && r.bounds.bottom() > 110);
        QVERIFY(r.bounds.width() > 100);
        QCOMPARE(recorder.records().at(1).text, QStringLiteral("második"));
    }

    void textHelpers()
    {
        QCOMPARE(formatNumbers(previewFallbackText(QStringLiteral("clPageOf")), {1, 2}),
                 QStringLiteral("1. oldal 2 oldalból"));
        QCOMPARE(previewFallbackText(QStringLiteral("obText")), QStringLiteral("obText"));
        const QString prp = QStringLiteral(".prp");
        QCOMPARE(changeFileExt(QStringLiteral("/tmp/bevallas.txt"), prp), QStringLiteral("/tmp/bevallas.prp"));
        QCOMPARE(changeFileExt(QStringLiteral("/tmp/bevallas"), prp), QStringLiteral("/tmp/bevallas.prp"));
        QCOMPARE(changeFileExt(QStringLiteral("/tmp/a.b/bevallas"), prp), QStringLiteral("/tmp/a.b/bevallas.prp"));
        QCOMPARE(changeFileExt(QStringLiteral("a.b.txt"), prp), QStringLiteral("a.b.prp"));
    }
};

QTEST_MAIN(TestPreviewLogic)
#include "test_previewlogic.moc"
