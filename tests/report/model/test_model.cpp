#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "runtime/errors.h"
#include "tests/report/reportfixture.h"

#include <QTest>

using namespace rep;

namespace {

using rep::test::make;

QStringList names(const QList<TrepComponent *> &list)
{
    QStringList n;
    for (const TrepComponent *c : list)
        n.append(c->Name());
    return n;
}

// Two pages: Page1 holds a shape, a line and a memo, Page2 a memo.
struct SmallReport
{
    TrepReport report;
    TrepReportPage *page1 = make<TrepReportPage>(&report, "Page1");
    TrepShapeView *shape = make<TrepShapeView>(page1, "Shape1");
    TrepLineView *line = make<TrepLineView>(page1, "Line2");
    TrepMemoView *memo = make<TrepMemoView>(page1, "Memo1");
    TrepReportPage *page2 = make<TrepReportPage>(&report, "Page2");
    TrepMemoView *memo2 = make<TrepMemoView>(page2, "Memo2");
};

} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void treeOrderAndLookup()
    {
        SmallReport r;
        QCOMPARE(names(r.report.AllObjects()),
                 QStringList({QStringLiteral("Page1"), QStringLiteral("Shape1"), QStringLiteral("Line2"), QStringLiteral("Memo1"), QStringLiteral("Page2"), QStringLiteral("Memo2")}));
        QCOMPARE(r.report.FindObject(QStringLiteral("line2")), r.line);
        QCOMPARE(r.report.FindObject(QStringLiteral("MEMO2")), r.memo2);
        QVERIFY(!r.report.FindObject(QStringLiteral("Line99")));
        // Only A to Z fold: an accented capital does not match its small letter.
        r.memo2->SetName(QStringLiteral("Árvíz"));
        QVERIFY(!r.report.FindObject(QStringLiteral("árvíz")));
        QCOMPARE(r.page2->FindObject(QStringLiteral("Memo1")), nullptr);

        // Renaming, moving and freeing objects are seen by the next lookup.
        r.line->SetName(QStringLiteral("Line9"));
        QVERIFY(!r.report.FindObject(QStringLiteral("Line2")));
        QCOMPARE(r.report.FindObject(QStringLiteral("line9")), r.line);
        TrepReport other;
        r.line->SetParent(&other);
        QVERIFY(!r.report.FindObject(QStringLiteral("Line9")));
        QCOMPARE(other.FindObject(QStringLiteral("Line9")), r.line);
        delete r.line;
        QVERIFY(!other.FindObject(QStringLiteral("Line9")));
        // The first object of a name in AllObjects order wins.
        auto *twin = new TrepMemoView;
        twin->SetName(QStringLiteral("MEMO1"));
        twin->SetParent(r.page2);
        QCOMPARE(r.report.FindObject(QStringLiteral("memo1")), r.memo);
        QCOMPARE(r.memo->Page(), r.page1);
        QCOMPARE(r.memo->Report(), &r.report);
    }

    void duplicateName()
    {
        SmallReport r;
        try {
            r.memo2->SetName(QStringLiteral("memo1"));
            QFAIL("no error");
        } catch (const rt::Exception &e) {
            QCOMPARE(e.message(), QStringLiteral("prDupl"));
        }
        QCOMPARE(r.memo2->Name(), QStringLiteral("Memo2"));
        // Outside a report names are free.
        TrepMemoView a, b;
        a.SetName(QStringLiteral("X"));
        b.SetName(QStringLiteral("X"));
    }

    void fontInheritance()
    {
        SmallReport r;
        QCOMPARE(r.memo->Font(), TrepFont());
        QCOMPARE(r.memo->Font().Name, QStringLiteral("Arial"));
        QCOMPARE(r.memo->Font().Height, -13);
        QVERIFY(r.memo->ParentFont());

        TrepFont big;
        big.Height = -24;
        r.page1->SetFont(big);
        QVERIFY(!r.page1->ParentFont());
        QCOMPARE(r.memo->Font().Height, -24);
        QVERIFY(r.memo->ParentFont());

        TrepFont own;
        own.Height = -15;
        r.memo->SetFont(own);
        QVERIFY(!r.memo->ParentFont());
        r.page1->SetFont(TrepFont());
        QCOMPARE(r.memo->Font().Height, -15);

        // Moving to another parent picks up that parent's font when ParentFont is True.
        r.memo2->SetParent(r.page1);
        QCOMPARE(r.memo2->Font().Height, -13);
        QCOMPARE(r.page1->Objects().last(), r.memo2);
        QVERIFY(r.page2->Objects().isEmpty());

        QCOMPARE(TrepFont::heightFromPoints(10), -13);
        QCOMPARE(TrepFont::heightFromPoints(12), -16);
    }

    void paper()
    {
        TrepReportPage page;
        page.SetPaperWidth(210);
        page.SetPaperHeight(297);
        QCOMPARE(page.PaperSize(), 256);
        page.SetPaperSize(9);
        QCOMPARE(page.Width(), 794.0);
        QCOMPARE(page.Height(), 1123.0);
        page.LeftMargin = 1;
        page.RightMargin = 2;
        page.TopMargin = 3;
        page.BottomMargin = 4;
        page.SetOrientation(poLandscape);
        QCOMPARE(page.Width(), 1123.0);
        QCOMPARE(page.Height(), 794.0);
        QCOMPARE(page.PaperWidth(), 297.0);
        QCOMPARE(page.LeftMargin, 3.0); // the old top margin
        QCOMPARE(page.RightMargin, 4.0);
        QCOMPARE(page.TopMargin, 2.0);
        QCOMPARE(page.BottomMargin, 1.0);
        page.SetPaperSize(11); // A5, landscape
        QCOMPARE(page.PaperWidth(), 210.0);
        QCOMPARE(page.PaperHeight(), 148.0);
        page.SetOrientation(poPortrait);
        QCOMPARE(page.LeftMargin, 1.0);
        QCOMPARE(page.TopMargin, 3.0);
        page.SetPaperSize(200); // unknown code keeps the size
        QCOMPARE(page.PaperSize(), 200);
        QCOMPARE(page.PaperWidth(), 148.0);
    }

    void boundsAndRestrictions()
    {
        TrepLineView line;
        line.SetBounds(41.57483, 340.1577, -7.55906, 7.55906);
        QCOMPARE(line.Width(), -7.55906);
        line.DesignFlag = true;
        line.Restrictions = (1 << rfDontMove);
        line.SetBounds(1, 2, 3, 4);
        QCOMPARE(line.Left(), 41.57483);
        QCOMPARE(line.Width(), 3.0);
    }

    void storedFormRoundTrip()
    {
        SmallReport r;
        r.line->SetBounds(41.57483, 340.1577, -7.55906, 7.55906);
        r.line->Diagonal = true;
        r.line->SetVisible(false);
        r.line->Frame.Typ = (1 << ftTop);
        r.memo->SetText(QStringLiteral("a \"b\" <c>\r\n& d"));
        TrepFont f;
        f.Height = -15;
        f.Style = 1 << fsBold;
        r.memo->SetFont(f);
        r.memo->HAlign = haCenter;
        r.page1->LeftMargin = 10;

        TrepXMLItem item;
        r.report.SaveToStream(item);
        QString xml;
        item.child(0)->child(1)->writeXml(xml);
        QCOMPARE(xml, QStringLiteral("<TrepLineView Name=\"Line2\" l=\"41.57483\" t=\"340.1577\" w=\"-7.55906\" h=\"7.55906\""
                                     " Visible=\"False\" Frame.Typ=\"[ftTop]\" GroupIndex=\"0\" Diagonal=\"True\"/>"));

        TrepReport copy;
        copy.LoadFromStream(item);
        QCOMPARE(names(copy.AllObjects()), names(r.report.AllObjects()));
        auto *line = static_cast<TrepLineView *>(copy.FindObject(QStringLiteral("Line2")));
        QCOMPARE(line->Width(), -7.55906);
        QVERIFY(!line->Visible());
        QVERIFY(line->Diagonal);
        auto *memo = static_cast<TrepMemoView *>(copy.FindObject(QStringLiteral("Memo1")));
        QCOMPARE(memo->Memo(), QStringList({QStringLiteral("a \"b\" <c>"), QStringLiteral("& d")}));
        QCOMPARE(memo->Font().Height, -15);
        QVERIFY(memo->Font().bold());
        QVERIFY(!memo->ParentFont());
        QCOMPARE(memo->HAlign, haCenter);
        QCOMPARE(copy.Pages().first()->LeftMargin, 10.0);
        QCOMPARE(copy.Pages().first()->Width(), 794.0);
        // A page without changes stores its paper, nothing else.
        QCOMPARE(item.child(1)->text(), QStringLiteral(" Name=\"Page2\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\""));
    }

    void copyAndDifference()
    {
        SmallReport r;
        r.memo->SetText(QStringLiteral("[m1]"));
        r.memo->SetBounds(1, 2, 3, 4);
        auto *child = make<TrepMemoView>(r.memo, "Inner");
        Q_UNUSED(child);

        TrepMemoView flat;
        flat.Assign(*r.memo);
        QCOMPARE(flat.Text(), r.memo->Text());
        QCOMPARE(flat.Left(), 1.0);
        QVERIFY(flat.Objects().isEmpty());
        QVERIFY(flat.Name().isEmpty()); // the target keeps its own name

        TrepMemoView deep;
        deep.Assign(*r.memo, true);
        QCOMPARE(deep.Objects().size(), 1);
        QCOMPARE(deep.Objects().first()->Name(), QStringLiteral("Inner"));

        flat.SetName(QStringLiteral("Memo1"));
        QCOMPARE(flat.DiffText(*r.memo), QString());
        flat.SetText(QStringLiteral("x\r\ny"));
        flat.SetTop(20);
        flat.SetVisible(false);
        QCOMPARE(flat.DiffText(*r.memo),
                 QStringLiteral(" t=\"20\" Visible=\"False\" Text=\"x&#13;&#10;y&#13;&#10;\""));
    }

    void brokenStoredForm()
    {
        TrepReport report;
        TrepXMLItem item(QStringLiteral("TrepReport"));
        item.add(QStringLiteral("TrepReportPage"), QStringLiteral(" Name=\"P\" LeftMargin=\"abc\" Bogus=\"1\" TopMargin=\"5\""));
        report.LoadFromStream(item);
        QCOMPARE(report.Pages().first()->TopMargin, 5.0);
        QCOMPARE(report.Pages().first()->LeftMargin, 0.0);

        item.child(0)->add(QStringLiteral("TrepNoSuchView"));
        QVERIFY_THROWS_EXCEPTION(rt::Exception, report.LoadFromStream(item));
    }

    void sysMemoStoresSubset()
    {
        TrepSysMemoView sys;
        sys.WordWrap = false;
        sys.HAlign = haCenter;
        sys.SetText(QStringLiteral("[PAGE#]"));
        const QString text = attrText(sys.StoredProps());
        QVERIFY(text.contains(QLatin1String("HAlign")));
        QVERIFY(!text.contains(QLatin1String("WordWrap")));
        TrepSysMemoView back;
        back.ApplyProps(parseAttrText(QStringLiteral(" WordWrap=\"False\" LineSpacing=\"5\"")));
        QVERIFY(back.WordWrap);
        QCOMPARE(back.LineSpacing, 2.0);
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "test_model.moc"
