#include "controls/radiogroup/radiogroupmodel.h"

#include <QTest>

using namespace Qt::StringLiterals;

using ctl::RadioGroupModel;

namespace {

QFont arial13()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    return f;
}

RadioGroupModel model(int count, int columns = 1)
{
    RadioGroupModel m;
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QString::number(i);
    m.setItems(items);
    m.setColumns(columns);
    return m;
}
} // namespace

class TestRadioGroupModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formLayout_data();
    void formLayout();
    void captionHeight();
    void columnsClamped_data();
    void columnsClamped();
    void itemIndexClamped_data();
    void itemIndexClamped();
    void shrinkingItemsKeepsIndexInRange();
    void arrowNeighbourWraps_data();
    void arrowNeighbourWraps();
    void checkAndClick();
    void releaseOutside();
};

void TestRadioGroupModel::formLayout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<QRect>>("expected");

    QTest::newRow("Változás oka, 289x65, 1 column")
        << QSize(289, 65)
        << QStringList{u"tulajdonjog szerzés"_s, u"ingatlan adataiban bekövetkezett változás"_s} << 1
        << QList<QRect>{QRect(7, 17, 278, 22), QRect(7, 39, 278, 22)};
    // "jogi személy" (index 2) heads the right column: the items fill a column before the next.
    QTest::newRow("Az adó alanya, 649x81, 2 columns")
        << QSize(649, 81)
        << QStringList{u"magánszemély"_s, u"jogi személyiség nélküli gazdasági társaság"_s, u"jogi személy"_s,
                       u"a magánszemélyek jogi személyiséggel nem rendelkező személyi egyesülése"_s}
        << 2
        << QList<QRect>{QRect(7, 17, 318, 30), QRect(7, 47, 318, 30), QRect(325, 17, 318, 30),
                        QRect(325, 47, 318, 30)};
    QTest::newRow("Használat tipusa, 473x57, 3 columns")
        << QSize(473, 57)
        << QStringList{u"kizárólagos tulajdonos"_s, u"résztulajdonos"_s, u"haszonélvező"_s,
                       u"kezelői jogot gyakorló"_s, u"bérlő"_s, u"egyéb"_s}
        << 3
        << QList<QRect>{QRect(7, 17, 153, 18), QRect(7, 35, 153, 18), QRect(160, 17, 153, 18),
                        QRect(160, 35, 153, 18), QRect(313, 17, 153, 18), QRect(313, 35, 153, 18)};
}

void TestRadioGroupModel::formLayout()
{
    QFETCH(QSize, size);
    QFETCH(QStringList, items);
    QFETCH(int, columns);
    QFETCH(QList<QRect>, expected);

    RadioGroupModel m;
    m.setItems(items);
    m.setColumns(columns);
    QCOMPARE(m.layout(size, ctl::groupCaptionHeight(arial13(), QStringLiteral("caption"))), expected);
}

void TestRadioGroupModel::captionHeight()
{
    QCOMPARE(ctl::groupCaptionHeight(arial13(), u"Az adó alanya"_s), 15);
    QCOMPARE(ctl::groupCaptionHeight(arial13(), QString()), 0);

    // Without a caption the frame width bounds the area: top 2 + 1, then the row-height shift.
    RadioGroupModel m = model(2);
    QCOMPARE(m.layout(QSize(100, 50), 0).first(), QRect(7, 4, 89, 21));
}

void TestRadioGroupModel::columnsClamped_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("0 -> 1") << 0 << 1;
    QTest::newRow("-3 -> 1") << -3 << 1;
    QTest::newRow("12 stays") << 12 << 12;
    QTest::newRow("13 -> 12") << 13 << 12;
}

void TestRadioGroupModel::columnsClamped()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    RadioGroupModel m;
    m.setColumns(value);
    QCOMPARE(m.Columns(), expected);
}

void TestRadioGroupModel::itemIndexClamped_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("10 on 6 items -> 5") << 10 << 5;
    QTest::newRow("-5 -> none") << -5 << -1;
    QTest::newRow("3 stays") << 3 << 3;
    QTest::newRow("-1 stays") << -1 << -1;
}

void TestRadioGroupModel::itemIndexClamped()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    RadioGroupModel m = model(6, 3);
    QCOMPARE(m.ItemIndex(), -1);
    m.setItemIndex(value);
    QCOMPARE(m.ItemIndex(), expected);
    QCOMPARE(m.checkedIndex(), expected);
}

void TestRadioGroupModel::shrinkingItemsKeepsIndexInRange()
{
    RadioGroupModel m = model(6);
    m.setItemIndex(5);
    m.setItems({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(m.ItemIndex(), 1);
    m.setItems({});
    QCOMPARE(m.ItemIndex(), -1);
}

void TestRadioGroupModel::arrowNeighbourWraps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("expected");
    QTest::newRow("last, Right -> first") << 5 << 1 << 0;
    QTest::newRow("first, Left -> last") << 0 << -1 << 5;
    QTest::newRow("middle, Down -> next in items order") << 1 << 1 << 2;
    QTest::newRow("middle, Up -> previous") << 3 << -1 << 2;
}

void TestRadioGroupModel::arrowNeighbourWraps()
{
    QFETCH(int, from);
    QFETCH(int, step);
    QFETCH(int, expected);
    QCOMPARE(model(6, 3).neighbour(from, step), expected);
}

void TestRadioGroupModel::checkAndClick()
{
    RadioGroupModel m = model(3);
    m.check(1);
    QCOMPARE(m.checkedIndex(), 1);
    QCOMPARE(m.ItemIndex(), -1); // checked on focus, chosen only on the click
    QVERIFY(m.click(1));
    QCOMPARE(m.ItemIndex(), 1);
    QVERIFY(!m.click(1)); // the chosen one again: no change, no events

    m.setReadOnly(true);
    m.check(2);
    QCOMPARE(m.checkedIndex(), 1);
}

void TestRadioGroupModel::releaseOutside()
{
    RadioGroupModel m = model(3);
    QVERIFY(m.releaseReportsClick(0, true));
    QVERIFY(!m.releaseReportsClick(0, false)); // not checked
    m.check(0);
    QVERIFY(m.releaseReportsClick(0, false)); // checked, not yet chosen
    m.click(0);
    QVERIFY(!m.releaseReportsClick(0, false)); // already chosen
}

QTEST_MAIN(TestRadioGroupModel)
#include "test_radiogroupmodel.moc"
