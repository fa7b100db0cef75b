#include "report/print/pagerange.h"
#include "report/print/pagesource.h"
#include "report/print/printerdevice.h"
#include "report/print/printjob.h"
#include "runtime/errors.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace rep;

namespace {

// Pages that draw nothing but remember where they were drawn.
class FakePages : public PageSource
{
public:
    explicit FakePages(int n) : m_count(n) {}
    int count() const override { return m_count; }
    QSize pageSize(int) const override { return {794, 1123}; }
    PagePrintParams printParams(int index) const override
    {
        PagePrintParams p;
        p.bin = 1;
        p.binOtherPages = index == 0 ? 1 : -1;
        return p;
    }
    void drawPage(int index, QPainter &, double sx, double sy, double ox, double oy) override
    {
        drawn.append(QStringLiteral("draw %1 scale %2,%3 offset %4,%5").arg(index + 1).arg(sx).arg(sy).arg(ox).arg(oy));
    }
    void saveToFile(const QString &) override {}
    QStringList drawn;

private:
    int m_count;
};

class RecordingPrinter : public TrepCustomPrinter
{
public:
    QString name() const override { return QStringLiteral("rec"); }
    void beginDoc() override { log << QStringLiteral("begin"); }
    void setPrintParams(const PagePrintParams &p, int copies, bool collate, int bin) override
    {
        log << QStringLiteral("params paper %1 copies %2%3 bin %4")
                   .arg(p.paperSize)
                   .arg(copies)
                   .arg(collate ? QString() : QStringLiteral(" uncollated"))
                   .arg(bin);
    }
    void beginPage() override
    {
        ++pagesBegun;
        log << QStringLiteral("page");
    }
    QPainter &canvas() override { return m_painter; }
    void endPage() override { log << QStringLiteral("end page"); }
    void endDoc() override { log << QStringLiteral("end"); }
    void abort() override { log << QStringLiteral("abort"); }
    double dpiX() const override { return 600; }
    double dpiY() const override { return 300; }
    QPointF offsetMM() const override { return {25.4, 12.7}; }

    QStringList log;
    int pagesBegun = 0;

private:
    QPainter m_painter;
};

// The printed page numbers, in order, from the job's notifications.
QList<int> printedPages(int count, const PrintJobSettings &settings, QStringList *log = nullptr)
{
    FakePages pages(count);
    RecordingPrinter printer;
    PrintJob job;
    QList<int> printed;
    job.onPagePrinting = [&](int page) { printed.append(page); };
    job.run(pages, printer, settings);
    if (log)
        *log = printer.log;
    return printed;
}

PrintJobSettings withRange(const QString &range, int count)
{
    PrintJobSettings s;
    s.range = parsePageRange(range, count);
    return s;
}

} // namespace

Q_DECLARE_METATYPE(TrepPrintPages)

class TestPrintJob : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ranges_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("printed");
        QTest::newRow("1,3,5-12 of 20") << QStringLiteral("1,3,5-12") << 20 << QList<int>{1, 3, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("3- of 2") << QStringLiteral("3-") << 2 << QList<int>{};
        QTest::newRow("2- of 2") << QStringLiteral("2-") << 2 << QList<int>{2};
        QTest::newRow("5-3") << QStringLiteral("5-3") << 6 << QList<int>{};
        QTest::newRow("blanks") << QStringLiteral(" 1 , 3 - 4 ") << 5 << QList<int>{1, 3, 4};
        QTest::newRow("empty is every page") << QString() << 3 << QList<int>{1, 2, 3};
        QTest::newRow("beyond the last page") << QStringLiteral("7") << 3 << QList<int>{};
        QTest::newRow("huge range") << QStringLiteral("1-2000000000") << 2 << QList<int>{1, 2};
        QTest::newRow("duplicates print once") << QStringLiteral("2,2,1-2") << 2 << QList<int>{1, 2};
    }
    void ranges()
    {
        QFETCH(QString, range);
        QFETCH(int, count);
        QFETCH(QList<int>, printed);
        QCOMPARE(printedPages(count, withRange(range, count)), printed);
    }

    void rangeNotANumber_data()
    {
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters") << QStringLiteral("1,x") << QStringLiteral("'x' is not a valid integer value");
        QTest::newRow("empty part") << QStringLiteral("1,,2") << QStringLiteral("'' is not a valid integer value");
        QTest::newRow("open start") << QStringLiteral("-3") << QStringLiteral("'' is not a valid integer value");
        QTest::newRow("too large") << QStringLiteral("99999999999")
                                   << QStringLiteral("'99999999999' is not a valid integer value");
    }
    void rangeNotANumber()
    {
        QFETCH(QString, range);
        QFETCH(QString, message);
        try {
            parsePageRange(range, 5);
            QFAIL("no error");
        } catch (const rt::EConvertError &e) {
            QCOMPARE(e.message(), message);
        }
    }

    void copiesAndCollation_data()
    {
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QStringList>("log");
        const QString p1 = QStringLiteral("params paper 9 copies %1 bin 1");
        const QString p2 = QStringLiteral("params paper 9 copies %1 bin 7");
        const QString pg = QStringLiteral("page"), ep = QStringLiteral("end page");
        QTest::newRow("collated: 1 2 1 2, driver copies 1")
            << true
            << QStringList{QStringLiteral("begin"), p1.arg(1), pg, ep, p2.arg(1), pg, ep, p1.arg(1), pg, ep,
                           p2.arg(1), pg, ep, QStringLiteral("end")};
        // The driver must not collate them either: 1 1 2 2 on paper.
        QTest::newRow("not collated: 1 2, driver copies 2 uncollated")
            << false
            << QStringList{QStringLiteral("begin"), p1.arg(QStringLiteral("2 uncollated")), pg, ep,
                           p2.arg(QStringLiteral("2 uncollated")), pg, ep, QStringLiteral("end")};
    }
    void copiesAndCollation()
    {
        QFETCH(bool, collate);
        QFETCH(QStringList, log);
        PrintJobSettings s;
        s.copies = 2;
        s.collate = collate;
        QStringList actual;
        printedPages(2, s, &actual);
        QCOMPARE(actual, log);
    }

    void oddEvenReverse_data()
    {
        QTest::addColumn<TrepPrintPages>("which");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QList<int>>("printed");
        QTest::newRow("reverse odd of five") << TrepPrintPages::ppOdd << true << QList<int>{5, 3, 1};
        QTest::newRow("even of five") << TrepPrintPages::ppEven << false << QList<int>{2, 4};
        QTest::newRow("reverse all") << TrepPrintPages::ppAll << true << QList<int>{5, 4, 3, 2, 1};
    }
    void oddEvenReverse()
    {
        QFETCH(TrepPrintPages, which);
        QFETCH(bool, reverse);
        QFETCH(QList<int>, printed);
        PrintJobSettings s;
        s.printPages = which;
        s.reverse = reverse;
        QCOMPARE(printedPages(5, s), printed);
    }

    // A stop requested during the first page aborts at the next one; no further copies start.
    void stopAfterFirstPage()
    {
        FakePages pages(3);
        RecordingPrinter printer;
        PrintJob job;
        QList<int> printed;
        job.onPagePrinting = [&](int page) { printed.append(page); };
        job.processEvents = [&] { job.requestStop(); };
        PrintJobSettings s;
        s.copies = 2;
        job.run(pages, printer, s);
        QCOMPARE(printed, QList<int>{1});
        QCOMPARE(printer.log.last(), QStringLiteral("abort"));
        QVERIFY(!printer.log.contains(QStringLiteral("end")));
    }

    // Drawn at the printer's resolution, offset back to the paper's corner.
    void scaleAndOffset()
    {
        FakePages pages(1);
        RecordingPrinter printer;
        PrintJob job;
        job.run(pages, printer, PrintJobSettings{});
        QCOMPARE(pages.drawn, QStringList{QStringLiteral("draw 1 scale 6.25,3.125 offset -600,-150")});
    }

    void nothingChosenBeginsNoDocument()
    {
        QStringList log;
        QCOMPARE(printedPages(2, withRange(QStringLiteral("5"), 2), &log), QList<int>{});
        QVERIFY(log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "test_printjob.moc"
