#include "report/resources/resources.h"

#include <QTest>

using rep::TrepResources;

// A window stand-in without widgets: properties named like Qt's.
class FakeControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString text MEMBER m_text)
    Q_PROPERTY(QString toolTip MEMBER m_toolTip)
public:
    using QObject::QObject;
    QString m_text;
    QString m_toolTip;
};

class FakeWindow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString windowTitle MEMBER m_title)
public:
    using QObject::QObject;
    QString m_title;
};

class TestResources : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        TrepResources::instance().clear();
        rep::fillHungarianResources();
    }

    void texts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("trailing blank kept") << "enUnconnGFooter" << QStringLiteral("Nincs fejléc ");
        QTest::newRow("error caption") << "mbError" << QStringLiteral("Hiba");
        QTest::newRow("errors heading") << "clErrors" << QStringLiteral("A következő hiba történt:");
        QTest::newRow("quotes kept") << "clDSNotExist" << QStringLiteral("A(z) \"%s\" DataSet nem létezik");
        QTest::newRow("key is case-insensitive") << "CLEXPRERROR" << QStringLiteral("Hiba a kifejezésben");
        QTest::newRow("missing key shows itself") << "prDupl" << QStringLiteral("prDupl");
        QTest::newRow("missing object description") << "obMemo" << QStringLiteral("obMemo");
    }
    void texts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QCOMPARE(rep::repGet(key), text);
    }

    void tableOrder()
    {
        const QStringList keys = TrepResources::instance().keys();
        QCOMPARE(keys.size(), 41);
        QCOMPARE(keys.first(), QStringLiteral("TrepPreviewForm"));
        QCOMPARE(keys.at(3), QStringLiteral("TrepPrintDialog"));
        QCOMPARE(keys.last(), QStringLiteral("crBuildMx"));
    }

    // The engine's own messages read in Hungarian without a table entry, filled or not, and an
    // entry overrides them; they never enter the start-up table.
    void engineMessages()
    {
        TrepResources &r = TrepResources::instance();
        QVERIFY(!r.contains(QStringLiteral("clCannotSave")));
        QCOMPARE(rep::repFormat(rep::repGet(QStringLiteral("clCannotSave")), {QStringLiteral("a.prp"), QStringLiteral("ok")}),
                 QStringLiteral("A fájl nem menthető: a.prp\r\nok"));
        r.clear();
        QCOMPARE(rep::repGet(QStringLiteral("prNotAvailable")), QStringLiteral("A(z) \"%s\" nyomtató nem érhető el"));
        QCOMPARE(rep::hungarianText(QStringLiteral("clScrBadExpr")), QStringLiteral("Nem értelmezhető kifejezés"));
        r.add(QStringLiteral("clScrBadExpr"), QStringLiteral("Bad expression"));
        QCOMPARE(rep::repGet(QStringLiteral("clScrBadExpr")), QStringLiteral("Bad expression"));
    }

    void addReplaces()
    {
        TrepResources &r = TrepResources::instance();
        const qsizetype before = r.keys().size();
        r.add(QStringLiteral("mbError"), QStringLiteral("Error"));
        QCOMPARE(r.keys().size(), before);
        QCOMPARE(r.get(QStringLiteral("mbError")), QStringLiteral("Error"));
        r.add(QStringLiteral("newKey"), QStringLiteral("x"));
        QCOMPARE(r.keys().size(), before + 1);
    }

    void formatKeepsPlaceholders()
    {
        QCOMPARE(rep::repFormat(rep::repGet(QStringLiteral("clPageOf")), {QStringLiteral("1"), QStringLiteral("2")}),
                 QStringLiteral("1. oldal 2 oldalból"));
        QCOMPARE(rep::repFormat(rep::repGet(QStringLiteral("clScrError")), {QStringLiteral("3:1"), QStringLiteral("x")}),
                 QStringLiteral("Script hiba 3:1: x-nél"));
    }

    void localizeWindow()
    {
        TrepResources &r = TrepResources::instance();
        r.add(QStringLiteral("TFakeWindow"),
              QStringLiteral("Caption=Ablak\r\nMissingB.Caption=x\r\nOkB.Caption=Rendben=igen\r\nOkB.Hint=Tipp"));
        FakeWindow window;
        auto *ok = new FakeControl(&window);
        ok->setObjectName(QStringLiteral("OkB"));
        r.localize(&window, QStringLiteral("TFakeWindow"));
        QCOMPARE(window.m_title, QStringLiteral("Ablak"));
        // The value is everything after the first "="; the missing control did not stop the rest.
        QCOMPARE(ok->m_text, QStringLiteral("Rendben=igen"));
        QCOMPARE(ok->m_toolTip, QStringLiteral("Tipp"));

        FakeWindow other;
        r.localize(&other, QStringLiteral("TNoEntry"));
        QVERIFY(other.m_title.isEmpty());
    }

    void previewLines()
    {
        FakeWindow window;
        auto *zoom = new FakeControl(&window);
        zoom->setObjectName(QStringLiteral("ZoomCB"));
        TrepResources::instance().localize(&window, QStringLiteral("TrepPreviewForm"));
        QCOMPARE(window.m_title, QStringLiteral("Előkép"));
        QCOMPARE(zoom->m_toolTip, QStringLiteral("Nagyít"));
        QVERIFY(zoom->m_text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
