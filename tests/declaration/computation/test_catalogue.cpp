#include "declaration/catalogue.h"
#include "declaration/formaccess.h"

#include <QSet>
#include <QTest>

using namespace decl;

class TestCatalogue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Keys m1 ... m44 each belong to exactly one field; m45 to none.
    void keysDistinctAndComplete()
    {
        QSet<QString> keys;
        for (const Field &f : fields())
            keys.insert(f.key);
        for (const ComputedLabel &l : computedLabels())
            keys.insert(l.key);
        QCOMPARE(keys.size(), fields().size() + computedLabels().size());
        for (int i = 1; i <= 44; ++i)
            QVERIFY2(keys.contains(QStringLiteral("m%1").arg(i)), qPrintable(QString::number(i)));
        QVERIFY(!keys.contains(QString::fromUtf16(titleKey)));
    }

    void tabOrderPerSection()
    {
        for (int sec = 0; sec < sections().size(); ++sec) {
            QList<int> tabs;
            for (const Field &f : fields())
                if (f.section == sec)
                    tabs.append(f.tab);
            for (const RadioGroup &g : radioGroups())
                if (g.section == sec)
                    tabs.append(g.tab);
            std::sort(tabs.begin(), tabs.end());
            for (int i = 0; i < tabs.size(); ++i)
                QCOMPARE(tabs[i], i);
        }
    }

    // On paper each code stands beside its own label: the tax number beside "adószáma:", the
    // identification code beside "adóazonositó száma:".
    void maskedPairing_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("printed");
        const QString num = QString::fromUtf16(u"adószáma:");
        const QString id = QString::fromUtf16(u"adóazonositó száma:");
        QTest::newRow("m3") << QStringLiteral("CtlMaskEdit6") << QStringLiteral("m3") << num;
        QTest::newRow("m4") << QStringLiteral("CtlMaskEdit8") << QStringLiteral("m4") << id;
        QTest::newRow("m24") << QStringLiteral("CtlMaskEdit9") << QStringLiteral("m24") << num;
        QTest::newRow("m25") << QStringLiteral("CtlMaskEdit10") << QStringLiteral("m25") << id;
        QTest::newRow("m11 not derived") << QStringLiteral("StyledEdit2") << QStringLiteral("m11")
                                         << QString::fromUtf16(u"6. A telek belterületté minősitésének, illetőleg az épitési tilalom feloldásának időpontja (év):");
        QTest::newRow("m10") << QStringLiteral("StyledEdit6") << QStringLiteral("m10")
                             << QString::fromUtf16(u"aranykorona értéke:");
    }
    void maskedPairing()
    {
        QFETCH(QString, component);
        QFETCH(QString, key);
        QFETCH(QString, printed);
        const Field *f = findField(component);
        QVERIFY(f);
        QCOMPARE(f->key, key);
        QCOMPARE(f->printedCaption, printed);
    }

    void untouchedForm()
    {
        MapForm form;
        QCOMPARE(form.text(QStringLiteral("StyledEdit35")), QString());
        QCOMPARE(form.text(QStringLiteral("CtlMaskEdit6")), QStringLiteral("********-*-**"));
        QCOMPARE(form.text(QStringLiteral("CtlMaskEdit8")), QStringLiteral("**********"));
        QCOMPARE(form.text(QStringLiteral("NumEdit1")), QStringLiteral("0"));
        QCOMPARE(form.caption(QStringLiteral("Label4")), QStringLiteral("0"));
        for (const RadioGroup &g : radioGroups())
            QCOMPARE(form.itemIndex(g.component), -1);
        QCOMPARE(radioGroups().at(0).items.at(2), QString::fromUtf16(u"jogi személy"));
        QCOMPARE(radioGroups().at(1).items.at(4), QString::fromUtf16(u"bérlő"));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
