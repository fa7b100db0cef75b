#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "tests/testhelpers.h"

#include <QTest>

using namespace rep;

namespace {

const QString titleText = QStringLiteral("2006 évi telekadó, a telek nm2 alapján történő adó megállapitásához a helyi "
                                         "adókról szóló 1990. évi C. törvény alapján.");


// The template names of the objects recorded on a prepared page, in order.
QStringList recorded(TrepPreviewPages &store, int page)
{
    QStringList names;
    const TrepXMLItem *pageItem = store.PreviewPagesItem()->child(page);
    std::function<void(const TrepXMLItem *)> walk = [&](const TrepXMLItem *item) {
        for (int i = 0; i < item->count(); ++i) {
            const TrepXMLItem *child = item->child(i);
            if (const TrepDictionary::Entry *e = store.Dictionary().Find(child->name()))
                names << e->sourceName.section(QLatin1Char('.'), 1);
            walk(child);
        }
    };
    walk(pageItem);
    return names;
}

QStringList recordedCrossLines(TrepPreviewPages &store)
{
    static const QStringList crossLines = {
        QStringLiteral("Line2"), QStringLiteral("Line3"), QStringLiteral("Line4"), QStringLiteral("Line5"),
        QStringLiteral("Line6"), QStringLiteral("Line7"), QStringLiteral("Line8"), QStringLiteral("Line9"),
        QStringLiteral("Line10"), QStringLiteral("Line11"), QStringLiteral("Line37"), QStringLiteral("Line38"),
        QStringLiteral("Line39"), QStringLiteral("Line40"), QStringLiteral("Line41"), QStringLiteral("Line42"),
        QStringLiteral("Line45"), QStringLiteral("Line46"), QStringLiteral("Line47"), QStringLiteral("Line48")};
    QStringList found;
    for (int p = 0; p < store.Count(); ++p) {
        for (const QString &n : recorded(store, p)) {
            if (crossLines.contains(n))
                found << n;
        }
    }
    return found;
}

bool allCrossLinesHidden(TrepReport &report)
{
    for (const TrepComponent *c : report.AllObjects()) {
        auto *line = dynamic_cast<const TrepLineView *>(c);
        if (line && line->Diagonal && line->Visible())
            return false;
    }
    return true;
}

// The text a prepared memo carries, from the rebuilt page.
QString printedText(TrepPreviewPages &store, int page, const QString &memo)
{
    TrepReportPage *p = store.GetPage(page);
    auto *m = p ? dynamic_cast<TrepCustomMemoView *>(p->FindObject(memo)) : nullptr;
    return m ? m->Memo().join(QStringLiteral("\r\n")) : QStringLiteral("<missing>");
}

} // namespace

class TestReportValues : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { rep::fillHungarianResources(); }

    void keys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("m1 empty text edit") << "m1" << "";
        QTest::newRow("m3 tax number picture") << "m3" << "********-*-**";
        QTest::newRow("m4 tax id picture") << "m4" << "**********";
        QTest::newRow("m11 from StyledEdit2") << "m11" << "";
        QTest::newRow("m27 numeric") << "m27" << "0";
        QTest::newRow("m29 label") << "m29" << "0";
        QTest::newRow("m38 tax label") << "m38" << "0";
        QTest::newRow("m44 remarks") << "m44" << "";
        QTest::newRow("m45 title, no reason") << "m45" << titleText + QStringLiteral(" (ingatlan adataiban bekövetkezett változás)");
    }
    void keys()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        decl::MapForm form;
        QVariant v;
        decl::repReport1GetValue(form, name, v);
        QCOMPARE(v.metaType().id(), int(QMetaType::QString));
        QCOMPARE(v.toString(), value);
    }

    void keysReadTheForm()
    {
        decl::MapForm form;
        form.setText(QStringLiteral("StyledEdit6"), QStringLiteral("ten"));
        form.setText(QStringLiteral("RichEdit1"), QStringLiteral("A\r\nB"));
        form.setCaption(QStringLiteral("Label4"), QStringLiteral("250.800 Ft."));
        form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 0);
        QVariant v;
        decl::repReport1GetValue(form, QStringLiteral("m10"), v);
        QCOMPARE(v.toString(), QStringLiteral("ten"));
        decl::repReport1GetValue(form, QStringLiteral("m44"), v);
        QCOMPARE(v.toString(), QStringLiteral("A\r\nB"));
        decl::repReport1GetValue(form, QStringLiteral("m38"), v);
        QCOMPARE(v.toString(), QStringLiteral("250.800 Ft."));
        decl::repReport1GetValue(form, QStringLiteral("m45"), v);
        QCOMPARE(v.toString(), titleText + QStringLiteral(" (tulajdonjog szerzés)"));
        form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 1);
        decl::repReport1GetValue(form, QStringLiteral("m45"), v);
        QVERIFY(v.toString().endsWith(QStringLiteral(" (ingatlan adataiban bekövetkezett változás)")));
    }

    void unknownNamesLeaveValue_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *n : {"M1", "m1 ", "m01", "m46", "", "DATE"})
            QTest::newRow(n[0] ? n : "empty") << QString::fromLatin1(n);
    }
    void unknownNamesLeaveValue()
    {
        QFETCH(QString, name);
        decl::MapForm form;
        QVariant empty;
        decl::repReport1GetValue(form, name, empty);
        QVERIFY(!empty.isValid());
        QVariant preset(42);
        decl::repReport1GetValue(form, name, preset);
        QCOMPARE(preset, QVariant(42));
    }

    void untouchedFormPrints()
    {
        tk::test::MessageRecorder log;
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        TrepReport &report = declaration.report();
        TrepPreviewPages &store = declaration.pages();
        QVERIFY(declaration.prepare());
        QVERIFY(log.isEmpty());
        QCOMPARE(store.Count(), 2);
        QCOMPARE(store.PreviewPagesItem()->child(0)->name(), QStringLiteral("page0"));
        QCOMPARE(store.PreviewPagesItem()->child(1)->name(), QStringLiteral("page1"));
        QCOMPARE(store.PageSize(1), QSize(794, 1123));

        QCOMPARE(printedText(store, 0, QStringLiteral("Memo58")), QString()); // [m1]
        QCOMPARE(printedText(store, 0, QStringLiteral("Memo39")), QStringLiteral("**********"));
        QCOMPARE(printedText(store, 0, QStringLiteral("Memo45")), QStringLiteral("********-*-**"));
        QCOMPARE(printedText(store, 0, QStringLiteral("Memo71")), QStringLiteral("**********"));
        QCOMPARE(printedText(store, 1, QStringLiteral("Memo74")), QStringLiteral("0"));
        QCOMPARE(printedText(store, 1, QStringLiteral("Memo76")), QStringLiteral("0"));
        QCOMPARE(printedText(store, 1, QStringLiteral("Memo106")), QStringLiteral("0"));
        QCOMPARE(printedText(store, 0, QStringLiteral("Memo3")),
                 titleText + QStringLiteral(" (ingatlan adataiban bekövetkezett változás)"));
        QCOMPARE(printedText(store, 1, QStringLiteral("Memo24")), QStringLiteral("m2"));
        QCOMPARE(printedText(store, 0, QStringLiteral("Memo1")),
                 QStringLiteral("Hollóberény Város Önkormányzat\r\nPolgármesteri Hivatal\r\n9999 Hollóberény, Fő tér 1. Tel: 99/999-999"));
        QCOMPARE(printedText(store, 0, QStringLiteral("SysMemo1")), QStringLiteral("1"));
        QCOMPARE(printedText(store, 1, QStringLiteral("SysMemo3")), QStringLiteral("2"));
        QCOMPARE(printedText(store, 1, QStringLiteral("SysMemo2")),
                 QDate::currentDate().toString(rt::formatSettings().shortDateFormat));

        QCOMPARE(recordedCrossLines(store), QStringList());
        QCOMPARE(recorded(store, 0).size(), 108 - 20);
        QCOMPARE(recorded(store, 1).size(), 57);
        // The template is as stored again.
        auto *memo = static_cast<TrepMemoView *>(report.FindObject(QStringLiteral("Memo58")));
        QCOMPARE(memo->Memo(), QStringList{QStringLiteral("[m1]")});
    }

    void dateFollowsTheLocaleFormat()
    {
        const rt::FormatSettings saved = rt::formatSettings();
        rt::FormatSettings settings = saved;
        settings.shortDateFormat = QStringLiteral("dd/MM/yyyy");
        rt::setFormatSettings(settings);
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        QVERIFY(declaration.prepare());
        rt::setFormatSettings(saved);
        QCOMPARE(printedText(declaration.pages(), 1, QStringLiteral("SysMemo2")),
                 QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    }

    void crossMarks()
    {
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        TrepReport &report = declaration.report();
        TrepPreviewPages &store = declaration.pages();

        form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 2); // jogi személy
        form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 4); // bérlő
        QVERIFY(declaration.prepare());
        QCOMPARE(recordedCrossLines(store),
                 QStringList({QStringLiteral("Line6"), QStringLiteral("Line7"), QStringLiteral("Line45"), QStringLiteral("Line46")}));
        QVERIFY(allCrossLinesHidden(report));
        QCOMPARE(store.Count(), 2);

        form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 0); // magánszemély
        form.setItemIndex(QStringLiteral("CtlRadioGroup6"), -1);
        QVERIFY(declaration.prepare());
        QCOMPARE(recordedCrossLines(store), QStringList({QStringLiteral("Line2"), QStringLiteral("Line3")}));
        QVERIFY(allCrossLinesHidden(report));
        QCOMPARE(store.Count(), 2); // the clear flag: two pages, not four

        // A shown cross line is printed with its stored geometry, right-to-left width kept.
        TrepReportPage *page = store.GetPage(0);
        auto *line3 = page->FindObject(QStringLiteral("Line3"));
        QVERIFY(line3 && line3->Visible());
        QCOMPARE(line3->Width(), -7.55906);
    }

    void missingLineIsSkipped()
    {
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        delete declaration.report().FindObject(QStringLiteral("Line3"));
        form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 0);
        tk::test::MessageRecorder log;
        QVERIFY(declaration.prepare());
        QCOMPARE(recordedCrossLines(declaration.pages()), QStringList{QStringLiteral("Line2")});
        QVERIFY(log.isEmpty());
    }

    void unansweredKey()
    {
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        TrepReport &report = declaration.report();
        TrepPreviewPages &store = declaration.pages();
        const TrepGetValueEvent answerAll = report.OnGetValue;
        report.OnGetValue = [&](const QString &name, QVariant &value) {
            if (name != QLatin1String("m1"))
                answerAll(name, value);
        };
        tk::test::MessageRecorder log;
        QVERIFY(!declaration.prepare());
        QCOMPARE(log.size(), 1);
        QCOMPARE(log[0].caption, QStringLiteral("Hiba"));
        QCOMPARE(log[0].icon, rt::Message::Icon::Stop);
        // Raised and caught with the same text: listed once.
        QCOMPARE(log[0].text,
                 QStringLiteral("A következő hiba történt:\r\nMemo58: Hiba a kifejezésben 'm1': Ismeretlen változó: 'm1'"));
        QCOMPARE(report.Errors().size(), 1);
        // The run stopped at Memo58 on page 1; the template is restored anyway.
        QCOMPARE(store.Count(), 1);
        QVERIFY(allCrossLinesHidden(report));
        QVERIFY(report.FindObject(QStringLiteral("Memo58")));

        // The next preparation starts over.
        report.OnGetValue = answerAll;
        QVERIFY(declaration.prepare());
        QCOMPARE(store.Count(), 2);
        QVERIFY(report.Errors().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportValues)
#include "test_reportvalues.moc"
