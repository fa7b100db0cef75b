#include "report/engine/reportdocument.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/resources/resources.h"
#include "runtime/messages.h"
#include "tests/report/reportfixture.h"

#include <QTest>

using namespace rep;

namespace {

using rep::test::make;

// One page with a memo, a hidden line and a second memo; values come from a map.
struct Fixture
{
    ReportDocument document;
    TrepReport &report = document.report();
    TrepReportPage *page;
    TrepMemoView *memo;
    TrepLineView *hidden;
    TrepMemoView *memo2;
    QHash<QString, QVariant> answers;
    QStringList asked;
    QList<rt::Message> shown;
    rt::MessageHandler previous;

    Fixture()
    {
        page = make<TrepReportPage>(&report, QStringLiteral("Page1"));
        memo = make<TrepMemoView>(page, QStringLiteral("Memo1"));
        hidden = make<TrepLineView>(page, QStringLiteral("Line1"));
        hidden->SetVisible(false);
        memo2 = make<TrepMemoView>(page, QStringLiteral("Memo2"));
        report.OnGetValue = [this](const QString &name, QVariant &value) {
            asked << name;
            if (answers.contains(name))
                value = answers.value(name);
        };
        previous = rt::setMessageHandler([this](const rt::Message &m) { shown.append(m); });
    }
    ~Fixture() { rt::setMessageHandler(previous); }

    // The template's Memo1 after a preparation rebuilt the tree.
    TrepMemoView *memoNow() { return static_cast<TrepMemoView *>(report.FindObject(QStringLiteral("Memo1"))); }
    TrepPreviewPages &pages() { return document.pages(); }
    QString printed(const QString &name, int page = 0)
    {
        auto *m = dynamic_cast<TrepCustomMemoView *>(pages().GetPage(page)->FindObject(name));
        return m ? m->Memo().join(QStringLiteral("|")) : QStringLiteral("<missing>");
    }
};

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { fillHungarianResources(); }

    void memoTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::newRow("empty answer prints nothing") << "[empty]" << "";
        QTest::newRow("words around a key") << "Kelt: [k], ma" << "Kelt: V, ma";
        QTest::newRow("value with brackets printed literally") << "[br]" << "[k] ]";
        QTest::newRow("value with a line break") << "[two]" << "A|B";
        QTest::newRow("system names any case") << "[page#] [PAGE] [Line#]" << "1 1 1";
        QTest::newRow("total pages left for drawing") << "[TotalPages#]" << "[TotalPages#]";
        QTest::newRow("format suffix") << "[num #n%2,2f]" << "2,50";
        QTest::newRow("number literal") << "[42]" << "42";
        QTest::newRow("string literal") << "['a]b']" << "a]b";
        QTest::newRow("Value before any memo is null") << "[Value]" << "";
        QTest::newRow("two lines") << "[k]\r\n[k]" << "V|V";
    }
    void memoTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, printed);
        Fixture f;
        f.answers = {{QStringLiteral("empty"), QString()}, {QStringLiteral("k"), QStringLiteral("V")},
                     {QStringLiteral("br"), QStringLiteral("[k] ]")}, {QStringLiteral("two"), QStringLiteral("A\r\nB")},
                     {QStringLiteral("num"), 2.5}};
        f.memo->SetText(text);
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.printed(QStringLiteral("Memo1")), printed);
        // The template is as stored again (rebuilt: look it up anew).
        QCOMPARE(f.memoNow()->Text(), text + QStringLiteral("\r\n"));
    }

    void valueIsTheLastMemoValue()
    {
        Fixture f;
        f.answers = {{QStringLiteral("num"), 2.5}};
        f.memo->SetText(QStringLiteral("[num]"));
        f.memo2->SetText(QStringLiteral("[Value]"));
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.printed(QStringLiteral("Memo2")), QStringLiteral("2.5"));
    }

    void handlerSeesExactNames()
    {
        Fixture f;
        f.memo->SetText(QStringLiteral("[ m1 ][Mx][DATE]"));
        f.answers = {{QStringLiteral(" m1 "), 1}, {QStringLiteral("Mx"), 2}};
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.asked, QStringList({QStringLiteral(" m1 "), QStringLiteral("Mx")}));
    }

    void hideZeros()
    {
        Fixture f;
        f.memo->HideZeros = true;
        f.memo->SetText(QStringLiteral("[zero]/[zs]"));
        f.answers = {{QStringLiteral("zero"), 0}, {QStringLiteral("zs"), QStringLiteral("0")}};
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.printed(QStringLiteral("Memo1")), QStringLiteral("/0"));
    }

    void beforePrintOrderAndVisibility()
    {
        Fixture f;
        QStringList senders;
        f.report.OnBeforePrint = [&](TrepComponent *sender) {
            senders << (sender->Name().isEmpty() ? sender->ClassName() : sender->Name());
            // Made visible by the band's call: printed on this page.
            if (sender->ClassName() == QLatin1String("TrepNullBand"))
                f.report.FindObject(QStringLiteral("Line1"))->SetVisible(true);
        };
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(senders, QStringList({QStringLiteral("TrepNullBand"), QStringLiteral("Memo1"), QStringLiteral("Line1"),
                                       QStringLiteral("Memo2")}));
        QVERIFY(f.pages().GetPage(0)->FindObject(QStringLiteral("Line1")));
        // Stored hidden, hidden again after the preparation.
        QVERIFY(!f.report.FindObject(QStringLiteral("Line1"))->Visible());
    }

    void hiddenObjectNotRecorded()
    {
        Fixture f;
        int calls = 0;
        f.report.OnBeforePrint = [&](TrepComponent *sender) { calls += sender->Name() == QLatin1String("Line1"); };
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(calls, 1);
        QVERIFY(!f.pages().GetPage(0)->FindObject(QStringLiteral("Line1")));
        QVERIFY(f.pages().GetPage(0)->FindObject(QStringLiteral("Memo2")));
    }

    void objectMadeVisibleLateOnPageIsPrinted()
    {
        Fixture f;
        f.report.OnBeforePrint = [&](TrepComponent *sender) {
            if (sender->Name() == QLatin1String("Memo2"))
                f.report.FindObject(QStringLiteral("Line1"))->SetVisible(true);
        };
        QVERIFY(f.report.PrepareReport(true));
        QVERIFY(f.pages().GetPage(0)->FindObject(QStringLiteral("Line1")));
    }

    void clearFlag()
    {
        Fixture f;
        QVERIFY(f.report.PrepareReport(true));
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.pages().Count(), 1);
        QVERIFY(f.report.PrepareReport(false));
        QCOMPARE(f.pages().Count(), 2);
    }

    void expressionErrors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("unanswered name") << "[nope]" << "Memo1: Hiba a kifejezésben 'nope': Ismeretlen változó: 'nope'";
        QTest::newRow("not a bare name") << "[a + ]" << "Memo1: Hiba a kifejezésben 'a + ': Nem értelmezhető kifejezés";
        QTest::newRow("unclosed") << "x[nope" << "Memo1: Hiba a kifejezésben 'nope\r': Ismeretlen változó: 'nope'";
    }
    void expressionErrors()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        Fixture f;
        f.memo->SetText(text);
        f.memo2->SetText(QStringLiteral("[k]"));
        QVERIFY(!f.report.PrepareReport(true));
        QCOMPARE(f.report.Errors(), QStringList{error});
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().text, QStringLiteral("A következő hiba történt:\r\n") + error);
        // The run stopped at the failing memo: the later memo was never evaluated.
        QVERIFY(!f.asked.contains(QStringLiteral("k")));
        QCOMPARE(f.memoNow()->Text(), text + QStringLiteral("\r\n"));
    }

    void errorsSortedAndDistinct()
    {
        TrepReport report;
        report.AddError(QStringLiteral("b"));
        report.AddError(QStringLiteral("a"));
        report.AddError(QStringLiteral("b"));
        report.AddError(QStringLiteral("c"));
        QCOMPARE(report.Errors(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    }

    void missingDataset()
    {
        Fixture f;
        f.report.Datasets = {QStringLiteral("Q")};
        QVERIFY(!f.report.PrepareReport(true));
        QCOMPARE(f.report.Errors(), QStringList{QStringLiteral("A(z) \"Q\" DataSet nem létezik")});
        QCOMPARE(f.pages().Count(), 0);
    }

    void silentMode()
    {
        Fixture f;
        f.report.EngineOptions.SilentMode = true;
        f.memo->SetText(QStringLiteral("[nope]"));
        QVERIFY(!f.report.PrepareReport(true));
        QVERIFY(f.shown.isEmpty());
        QVERIFY(f.report.EngineOptions.SilentMode);
    }

    void reportVariables()
    {
        Fixture f;
        f.report.Variables = {{QStringLiteral("Twice"), QStringLiteral("k")}, {QStringLiteral("n"), 3}};
        f.answers = {{QStringLiteral("k"), QStringLiteral("V")}};
        f.memo->SetText(QStringLiteral("[twice][N]"));
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.printed(QStringLiteral("Memo1")), QStringLiteral("V3"));
    }

    void tagStrExpanded()
    {
        Fixture f;
        f.memo->TagStr = QStringLiteral("id-[k]");
        f.answers = {{QStringLiteral("k"), 7}};
        QVERIFY(f.report.PrepareReport(true));
        auto *m = static_cast<TrepMemoView *>(f.pages().GetPage(0)->FindObject(QStringLiteral("Memo1")));
        QCOMPARE(m->TagStr, QStringLiteral("id-7"));
        QCOMPARE(static_cast<TrepMemoView *>(f.report.FindObject(QStringLiteral("Memo1")))->TagStr, QStringLiteral("id-[k]"));
    }

    void doublePassKnowsTotalPages()
    {
        Fixture f;
        f.report.EngineOptions.DoublePass = true;
        auto *page2 = make<TrepReportPage>(&f.report, QStringLiteral("Page2"));
        make<TrepMemoView>(page2, QStringLiteral("Memo3"))->SetText(QStringLiteral("[Page#]/[TotalPages#]")); // the latter is left for drawing
        f.memo->SetText(QStringLiteral("[Page]/[TotalPages]"));
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.pages().Count(), 2);
        QCOMPARE(f.printed(QStringLiteral("Memo1"), 0), QStringLiteral("1/2"));
        QCOMPARE(f.printed(QStringLiteral("Memo3"), 1), QStringLiteral("2/[TotalPages#]"));
    }

    void restoreKeepsRuntimeOptions()
    {
        Fixture f;
        // Changed during the preparation: the settings restored from the copy are ConvertNulls,
        // DoublePass, OutlineVisible and OutlineWidth; the other options keep their new values.
        f.report.OnBeforePrint = [&](TrepComponent *) {
            f.report.EngineOptions.ConvertNulls = false;
            f.report.EngineOptions.MaxMemSize = 5;
            f.report.PreviewOptions.OutlineWidth = 7;
            f.report.PreviewOptions.Zoom = 2;
            f.report.PrintOptions.Copies = 3;
        };
        QVERIFY(f.report.PrepareReport(true));
        QVERIFY(f.report.EngineOptions.ConvertNulls);
        QCOMPARE(f.report.EngineOptions.MaxMemSize, 5);
        QCOMPARE(f.report.PreviewOptions.OutlineWidth, 120);
        QCOMPARE(f.report.PreviewOptions.Zoom, 2.0);
        QCOMPARE(f.report.PrintOptions.Copies, 1);
    }

    void hiddenPageSkipped()
    {
        Fixture f;
        auto *page2 = make<TrepReportPage>(&f.report, QStringLiteral("Page2"));
        make<TrepMemoView>(page2, QStringLiteral("Memo3"))->SetText(QStringLiteral("[Page#]"));
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.pages().Count(), 2);
        QCOMPARE(f.printed(QStringLiteral("Memo3"), 1), QStringLiteral("2"));
        f.report.FindObject(QStringLiteral("Page1"))->SetVisible(false);
        QVERIFY(f.report.PrepareReport(true));
        QCOMPARE(f.pages().Count(), 1);
        QCOMPARE(f.printed(QStringLiteral("Memo3"), 0), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
