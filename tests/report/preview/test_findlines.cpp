// Find works on the lines a memo actually draws: one text record per drawn line, with that
// line's text and rectangle, so that a hit marks its line and F3 moves on line by line.

#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/preview/textrecorder.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/render/pagedrawer.h"
#include "report/render/reportpagesource.h"
#include "runtime/messages.h"
#include "tests/report/reportfixture.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace rep;

namespace {

using rep::test::make;

// A prepared report of one page with margins, holding one memo.
struct OneMemo
{
    TrepReport report;
    TrepReportPage *page = make<TrepReportPage>(&report, QStringLiteral("Page1"));
    TrepMemoView *memo = make<TrepMemoView>(page, QStringLiteral("Memo1"));
    TrepPreviewPages pages;
    ReportPageSource source{pages};

    OneMemo(const QString &text, double width)
    {
        page->LeftMargin = 10;
        page->TopMargin = 10;
        memo->SetBounds(100, 200, width, 100);
        memo->SetText(text);
        pages.SetPageDrawer(&drawReportPage);
        rep::test::fillStore(pages, page, {memo}, 1);
    }

    // The rows and columns of ink of each drawn line, top to bottom, at zoom 1.
    QList<QRect> inkedLines()
    {
        QImage image(source.pageSize(0), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            source.drawPage(0, p, 1, 1, 0, 0);
        }
        QList<QRect> lines;
        bool inLine = false;
        for (int y = 0; y < image.height(); ++y) {
            QRect row;
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    row |= QRect(x, y, 1, 1);
            if (row.isEmpty()) {
                inLine = false;
                continue;
            }
            if (!inLine)
                lines.append(row);
            else
                lines.last() |= row;
            inLine = true;
        }
        return lines;
    }
};

} // namespace

class TestFindLines : public QObject
{
    Q_OBJECT

    QStringList m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        rt::setMessageHandler([this](const rt::Message &m) { m_messages << m.text; });
    }
    void cleanup() { QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n'))); }

    void recordsAreTheDrawnLines()
    {
        OneMemo m(QString::fromUtf16(u"első sor\r\nmásodik sor\r\n\r\nnegyedik"), 300);
        const QList<TextRecord> records = recordPageText(m.source, 0);
        QStringList texts;
        for (const TextRecord &r : records)
            texts << r.text;
        // The empty line is drawn as a blank and recorded as one.
        QCOMPARE(texts, QStringList({QString::fromUtf16(u"első sor"), QString::fromUtf16(u"második sor"),
                                     QStringLiteral(" "), QStringLiteral("negyedik")}));
        // Each record is one line of the memo, below the previous one, inside the memo's box
        // (at 10 mm margins: left 100 + 37.8, top 200 + 37.8).
        const QRectF box(137.7953, 237.7953, 300, 100);
        for (int i = 0; i < records.size(); ++i) {
            QVERIFY2(box.contains(records.at(i).bounds), qPrintable(records.at(i).text));
            QVERIFY(records.at(i).bounds.height() < 20);
            if (i > 0)
                QVERIFY(records.at(i).bounds.top() >= records.at(i - 1).bounds.bottom() - 1);
        }
    }

    void hitIsTheLineAndF3TheNextLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("firstHitLine");
        QTest::addColumn<int>("secondHitLine");
        QTest::newRow("line breaks in the text")
            << QString::fromUtf16(u"első sor\r\nkeresett második\r\nharmadik keresett") << 300.0 << 1 << 2;
        // Narrow enough that every word is a line of its own.
        QTest::newRow("word-wrapped") << QString::fromUtf16(u"alma keresett körte keresett") << 60.0 << 1 << 3;
    }
    void hitIsTheLineAndF3TheNextLine()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(int, firstHitLine);
        QFETCH(int, secondHitLine);
        OneMemo m(text, width);
        const QList<QRect> ink = m.inkedLines();
        QVERIFY(ink.size() > secondHitLine);

        PreviewHooks hooks;
        hooks.askSearch = [](QWidget *, const QString &) {
            return SearchRequest{true, QStringLiteral("keresett"), true, false};
        };
        TrepPreviewForm form(nullptr, hooks);
        TrepPreviewOptions o;
        o.Maximized = false;
        form.init(&m.source, o);
        form.resize(900, 800);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TrepPreviewWorkspace *workspace = form.preview()->workspace();

        // The hit, back on the page at zoom 1 (the workspace widens it by a pixel each side).
        const auto hitOnPage = [&] {
            return workspace->hitRect().translated(-form.preview()->state().pageRect(0).topLeft()).adjusted(1, 0, -1, 0);
        };
        const auto coversOnly = [&](const QRect &hit, int line) {
            if (!hit.contains(ink.at(line)))
                return false;
            for (int other = 0; other < ink.size(); ++other)
                if (other != line && hit.intersects(ink.at(other)))
                    return false;
            return true;
        };

        QTest::keyClick(form.preview(), Qt::Key_F, Qt::ControlModifier);
        const QRect first = hitOnPage();
        QVERIFY2(coversOnly(first, firstHitLine), qPrintable(QStringLiteral("hit %1,%2 %3x%4").arg(first.x()).arg(first.y()).arg(first.width()).arg(first.height())));

        QTest::keyClick(form.preview(), Qt::Key_F3);
        const QRect second = hitOnPage();
        QVERIFY(coversOnly(second, secondHitLine));
        QCOMPARE(second.height(), first.height());

        // No further hit: F3 leaves the last one marked.
        QTest::keyClick(form.preview(), Qt::Key_F3);
        QCOMPARE(hitOnPage(), second);
    }
};

QTEST_MAIN(TestFindLines)
#include "test_findlines.moc"
