#include "spreadpixels_p.h"

#include <QTest>

#include <vector>

using namespace rep::draw;

class TestSpreadPixels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spread_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("positions");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("nothing to spread") << 0 << 4 << QList<int>{0, 0, 0, 0};
        QTest::newRow("one pixel: last of the first half") << 1 << 4 << QList<int>{0, 1, 0, 0};
        QTest::newRow("one pixel over odd range") << 1 << 5 << QList<int>{0, 1, 0, 0, 0};
        QTest::newRow("one pixel over one position") << 1 << 1 << QList<int>{1};
        QTest::newRow("two pixels: one per half") << 2 << 4 << QList<int>{1, 0, 1, 0};
        QTest::newRow("three pixels") << 3 << 4 << QList<int>{1, 0, 1, 1};
        QTest::newRow("three pixels over seven") << 3 << 7 << QList<int>{1, 0, 0, 1, 0, 1, 0};
        QTest::newRow("as many as positions") << 4 << 4 << QList<int>{1, 1, 1, 1};
        QTest::newRow("remainder after equal shares") << 5 << 4 << QList<int>{1, 2, 1, 1};
        QTest::newRow("remainder of three over four") << 11 << 4 << QList<int>{3, 2, 3, 3};
        QTest::newRow("negative pixels") << -1 << 3 << QList<int>{-1, 0, 0};
        QTest::newRow("negative with remainder") << -7 << 3 << QList<int>{-3, -2, -2};
        QTest::newRow("no positions") << 5 << 0 << QList<int>{};
    }
    void spread()
    {
        QFETCH(int, count);
        QFETCH(int, positions);
        QFETCH(QList<int>, expected);
        std::vector<int> values(positions, 0);
        spreadPixels(count, values);
        QCOMPARE(QList<int>(values.begin(), values.end()), expected);
    }

    // Whatever the count, every pixel lands and none lands twice too many.
    void spreadKeepsTotal()
    {
        for (int n = 1; n <= 40; ++n) {
            for (int c = -90; c <= 90; ++c) {
                std::vector<int> values(n, 0);
                spreadPixels(c, values);
                int sum = 0;
                int lo = values[0];
                int hi = values[0];
                for (int v : values) {
                    sum += v;
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
                QVERIFY2(sum == c && hi - lo <= 1,
                         qPrintable(QStringLiteral("n=%1 c=%2").arg(n).arg(c)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(TestSpreadPixels)
#include "test_spreadpixels.moc"
