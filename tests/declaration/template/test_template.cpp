#include "declaration/formaccess.h"
#include "declaration/reporttemplate.h"
#include "declaration/reportvalues.h"
#include "report/draw/objectdraw.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"

#include <QTest>

using namespace rep;

namespace {

// Object names in stored order, as the printed form's tables list them.
const char16_t *const page1Names[] = {
        u"Shape8", u"Shape1", u"Memo1", u"Line1", u"Memo2", u"Memo3", u"Memo4", u"Memo5", u"Memo6",
        u"Memo7", u"Memo8", u"Memo9", u"Memo10", u"Shape2", u"Memo14", u"Memo15", u"Memo16",
        u"Memo17", u"Memo18", u"Shape3", u"Line2", u"Line3", u"Shape4", u"Shape5", u"Shape6",
        u"Line4", u"Line5", u"Line6", u"Line7", u"Line8", u"Line9", u"Memo20", u"Memo28", u"Memo29",
        u"SysMemo1", u"Memo58", u"Memo59", u"Memo11", u"Memo12", u"Memo13", u"Memo19", u"Memo57",
        u"Shape7", u"Line10", u"Line11", u"Shape24", u"Shape25", u"Shape26", u"Line37", u"Line38",
        u"Line39", u"Line40", u"Line41", u"Line42", u"Memo61", u"Shape28", u"Line45", u"Line46",
        u"Memo62", u"Shape29", u"Line47", u"Line48", u"Memo21", u"Memo22", u"Memo23", u"Memo39",
        u"Memo45", u"Memo46", u"Memo38", u"Memo47", u"Memo48", u"Memo49", u"Memo53", u"Memo30",
        u"Memo60", u"Memo63", u"Memo64", u"Memo65", u"Memo66", u"Memo68", u"Memo69", u"Memo70",
        u"Memo71", u"Memo72", u"Memo78", u"Memo80", u"Memo81", u"Memo82", u"Memo84", u"Memo87",
        u"Memo88", u"Memo89", u"Memo90", u"Memo91", u"Memo92", u"Memo94", u"Memo95", u"Memo96",
        u"Memo97", u"Memo99", u"Memo100", u"Memo101", u"Memo102", u"Memo103", u"Memo104", u"Line25",
        u"Line26", u"Line27",
};
const char16_t *const page2Names[] = {
        u"Shape21", u"Memo40", u"Memo41", u"Memo42", u"Memo43", u"Memo44", u"Memo50", u"Memo51",
        u"Memo52", u"Memo54", u"Memo55", u"SysMemo2", u"Memo56", u"Line36", u"SysMemo3", u"Memo73",
        u"Memo74", u"Memo75", u"Memo76", u"Memo77", u"Memo83", u"Memo86", u"Memo24", u"Memo25",
        u"Memo26", u"Memo27", u"Memo31", u"Memo32", u"Memo33", u"Memo34", u"Memo35", u"Line12",
        u"Line13", u"Line14", u"Line15", u"Line16", u"Line17", u"Line18", u"Line19", u"Line20",
        u"Line21", u"Line22", u"Line23", u"Line24", u"Memo36", u"Memo37", u"Memo67", u"Memo79",
        u"Memo85", u"Memo93", u"Memo98", u"Memo105", u"Memo106", u"Memo107", u"Memo108", u"Memo109",
        u"Memo110",
};

} // namespace

class TestTemplate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { decl::loadReportTemplate(m_report); }

    void reportSettings()
    {
        QCOMPARE(m_report.Name(), QStringLiteral("repReport1"));
        QVERIFY(!m_report.DotMatrixReport);
        QCOMPARE(m_report.EngineOptions.MaxMemSize, 10000000);
        QVERIFY(!m_report.EngineOptions.UseFileCache);
        QVERIFY(!m_report.PreviewOptions.AllowEdit);
        QCOMPARE(m_report.PreviewOptions.Buttons, (1 << pbPrint) | (1 << pbZoom));
        QCOMPARE(m_report.PreviewOptions.Zoom, 1.0);
        QCOMPARE(m_report.PrintOptions.Printer, QStringLiteral("Default"));
        QCOMPARE(m_report.ReportOptions.CreateDate, 38822.81086082176);
        QCOMPARE(fromDateSerial(m_report.ReportOptions.LastChange),
                 QDateTime(QDate(2006, 4, 15), QTime(19, 27, 38, 375)));
        QCOMPARE(m_report.ScriptLanguage, QStringLiteral("Pascal"));
        QCOMPARE(m_report.ScriptText, QStringList({QStringLiteral("begin"), QString(), QStringLiteral("end.")}));
    }

    void pages()
    {
        const QList<TrepReportPage *> pages = m_report.Pages();
        QCOMPARE(pages.size(), 2);
        QCOMPARE(m_report.Objects().size(), 2);
        for (TrepReportPage *page : pages) {
            QCOMPARE(page->PaperSize(), 9);
            QCOMPARE(page->PaperWidth(), 210.0);
            QCOMPARE(page->PaperHeight(), 297.0);
            QCOMPARE(page->Orientation(), poPortrait);
            QCOMPARE(page->Width(), 794.0);
            QCOMPARE(page->Height(), 1123.0);
            QCOMPARE(page->LeftMargin, 10.0);
            QCOMPARE(page->RightMargin, 10.0);
            QCOMPARE(page->TopMargin, 10.0);
            QCOMPARE(page->BottomMargin, 10.0);
            QCOMPARE(page->Columns, 0);
            QCOMPARE(page->Font(), TrepFont());
        }
        QCOMPARE(pages.at(0)->Name(), QStringLiteral("Page1"));
        QCOMPARE(pages.at(1)->Name(), QStringLiteral("Page2"));
    }

    void objectsInOrder()
    {
        QStringList expected;
        expected << QStringLiteral("Page1");
        for (const char16_t *n : page1Names)
            expected << QString::fromUtf16(n);
        expected << QStringLiteral("Page2");
        for (const char16_t *n : page2Names)
            expected << QString::fromUtf16(n);
        QStringList actual;
        for (const TrepComponent *c : m_report.AllObjects())
            actual << c->Name();
        QCOMPARE(actual, expected);
        QCOMPARE(actual.size() - 2, 165);
        QCOMPARE(m_report.Pages().at(0)->Objects().size(), 108);
        QCOMPARE(m_report.Pages().at(1)->Objects().size(), 57);
    }

    void spotValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QList<double>>("bounds");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("font"); // "Name height [bold]", "parent" for an inherited font
        QTest::addColumn<QString>("align");
        QTest::addColumn<QString>("other");

        QTest::newRow("shape frame") << "Shape8" << "TrepShapeView" << QList<double>{0, 638.74057, 714.33117, 377.953}
                                     << "" << "parent" << "" << "";
        QTest::newRow("memo three lines") << "Memo1" << "TrepMemoView" << QList<double>{26.45671, 0, 423.30736, 60.47248}
            << QStringLiteral("Hollóberény Város Önkormányzat|Polgármesteri Hivatal|9999 Hollóberény, Fő tér 1. Tel: 99/999-999")
            << "Arial -15 bold" << "haCenter vaTop" << "";
        QTest::newRow("title key") << "Memo3" << "TrepMemoView" << QList<double>{18.89765, 109.60637, 680.3154, 37.7953}
                                   << "[m45]" << "Arial -16" << "haCenter vaCenter" << "";
        QTest::newRow("key memo, page font") << "Memo58" << "TrepMemoView" << QList<double>{166.29932, 200.31509, 536.69326, 18.89765}
                                             << "[m1]" << "parent" << "haLeft vaTop" << "";
        QTest::newRow("rule") << "Line1" << "TrepLineView" << QList<double>{30.23624, 52.91342, 411.96877, 0}
                              << "" << "parent" << "" << "ftTop";
        QTest::newRow("cross line, right to left") << "Line3" << "TrepLineView" << QList<double>{41.57483, 340.1577, -7.55906, 7.55906}
                                                   << "" << "parent" << "" << "diagonal hidden";
        QTest::newRow("cross line bérlő") << "Line46" << "TrepLineView" << QList<double>{241.88992, 449.76407, -7.55906, 7.55906}
                                         << "" << "parent" << "" << "diagonal hidden";
        QTest::newRow("box") << "Shape28" << "TrepShapeView" << QList<double>{234.33086, 449.76407, 7.55906, 7.55906}
                             << "" << "parent" << "" << "";
        QTest::newRow("page number 1") << "SysMemo1" << "TrepSysMemoView" << QList<double>{0, 1024.25263, 718.1107, 18.89765}
                                       << "[PAGE#]" << "parent" << "haCenter vaTop" << "";
        QTest::newRow("date") << "SysMemo2" << "TrepSysMemoView" << QList<double>{215.43321, 597.16574, 139.84261, 18.89765}
                              << "[DATE]" << "Arial -16" << "haLeft vaTop" << "";
        QTest::newRow("vertical rule") << "Line12" << "TrepLineView" << QList<double>{529.1342, 7.55906, 0, 396.85065}
                                       << "" << "parent" << "" << "ftLeft";
        QTest::newRow("double rule") << "Line23" << "TrepLineView" << QList<double>{0, 340.1577, 714.33117, 0}
                                     << "" << "parent" << "" << "ftTop double";
        QTest::newRow("computed value, bold") << "Memo76" << "TrepMemoView" << QList<double>{559.37044, 102.04731, 120.94496, 18.89765}
                                              << "[m29]" << "Arial -13 bold" << "haRight vaTop" << "";
        QTest::newRow("unit heading without brackets") << "Memo24" << "TrepMemoView" << QList<double>{559.37044, 18.89765, 120.94496, 18.89765}
                                                       << "m2" << "Arial -15" << "haCenter vaCenter" << "";
        QTest::newRow("remarks box") << "Memo110" << "TrepMemoView" << QList<double>{215.43321, 857.95331, 495.11843, 151.1812}
                                     << "[m44]" << "parent" << "haLeft vaTop" << "";
        QTest::newRow("caption without alignment") << "Memo73" << "TrepMemoView" << QList<double>{37.7953, 49.13389, 468.66172, 18.89765}
            << QStringLiteral("a. az ingatlannyilvántartásba bejegyzett földterület teljes területe:") << "Arial -15" << "haLeft vaTop" << "";
    }
    void spotValues()
    {
        QFETCH(QString, name);
        QFETCH(QString, cls);
        QFETCH(QList<double>, bounds);
        QFETCH(QString, text);
        QFETCH(QString, font);
        QFETCH(QString, align);
        QFETCH(QString, other);

        TrepComponent *o = m_report.FindObject(name);
        QVERIFY(o);
        QCOMPARE(o->ClassName(), cls);
        QCOMPARE(QList<double>({o->Left(), o->Top(), o->Width(), o->Height()}), bounds);
        auto *view = dynamic_cast<TrepView *>(o);
        QVERIFY(view);
        QCOMPARE(view->GroupIndex, 0);
        QCOMPARE(view->Color, clNone);
        if (font == QLatin1String("parent")) {
            QVERIFY(o->ParentFont());
            QCOMPARE(o->Font(), TrepFont());
        } else {
            QVERIFY(!o->ParentFont());
            const QStringList f = font.split(QLatin1Char(' '));
            QCOMPARE(o->Font().Name, f.at(0));
            QCOMPARE(o->Font().Height, f.at(1).toInt());
            QCOMPARE(o->Font().bold(), f.size() > 2);
            QCOMPARE(o->Font().Charset, DEFAULT_CHARSET);
            QCOMPARE(o->Font().Color, clBlack);
        }
        if (auto *memo = dynamic_cast<TrepCustomMemoView *>(o)) {
            QCOMPARE(memo->Memo().join(QLatin1Char('|')), text);
            const QStringList a = align.split(QLatin1Char(' '));
            QCOMPARE(fmtEnum(memo->HAlign, REP_NAMES_HALIGN), a.at(0));
            QCOMPARE(fmtEnum(memo->VAlign, REP_NAMES_VALIGN), a.at(1));
            QVERIFY(memo->AllowExpressions);
            QCOMPARE(memo->ExpressionDelimiters, QStringLiteral("[,]"));
            QVERIFY(memo->WordWrap);
            QCOMPARE(memo->GapX, 2.0);
            QCOMPARE(memo->DisplayFormat.Kind, fkText);
            QVERIFY(memo->Visible());
        }
        if (auto *line = dynamic_cast<TrepLineView *>(o)) {
            QCOMPARE(line->Diagonal, other.contains(QLatin1String("diagonal")));
            QCOMPARE(line->Visible(), !other.contains(QLatin1String("hidden")));
            QCOMPARE(line->Frame.Typ, other.contains(QLatin1String("ftTop")) ? (1 << ftTop)
                                      : other.contains(QLatin1String("ftLeft")) ? (1 << ftLeft) : 0);
            QCOMPARE(line->Frame.Style, other.contains(QLatin1String("double")) ? fsDouble : fsSolid);
            QCOMPARE(line->Frame.Width, 1.0);
        }
        if (auto *shape = dynamic_cast<TrepShapeView *>(o)) {
            QCOMPARE(shape->Shape, skRectangle);
            QCOMPARE(shape->Frame.Typ, 0);
            QVERIFY(shape->Visible());
        }
    }

    void keysOnceEach()
    {
        QStringList keys;
        int pageNumbers = 0, dates = 0;
        for (const TrepComponent *c : m_report.AllObjects()) {
            auto *memo = dynamic_cast<const TrepCustomMemoView *>(c);
            if (!memo)
                continue;
            const QString t = memo->Memo().join(QLatin1Char(' '));
            if (t == QLatin1String("[PAGE#]"))
                ++pageNumbers;
            else if (t == QLatin1String("[DATE]"))
                ++dates;
            else if (t.startsWith(QLatin1Char('[')))
                keys << t.mid(1, t.size() - 2);
        }
        QStringList expected;
        for (int i = 1; i <= 45; ++i)
            expected << QStringLiteral("m%1").arg(i);
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
        QCOMPARE(pageNumbers, 2);
        QCOMPARE(dates, 1);
    }

    void crossLinesHidden()
    {
        int hidden = 0;
        for (const TrepComponent *c : m_report.AllObjects()) {
            if (!c->Visible()) {
                ++hidden;
                QVERIFY(c->Name().startsWith(QLatin1String("Line")));
            }
        }
        QCOMPARE(hidden, 20);
    }

    // Every text of the untouched declaration prints whole: the lines the print layout breaks it
    // into fit the memo's height, one-line captions as much as the three-line heading.
    void everyTextPrintsWhole()
    {
        rep::fillHungarianResources();
        decl::MapForm form;
        decl::DeclarationReport declaration(form);
        QVERIFY(declaration.prepare());
        TrepPreviewPages &store = declaration.pages();
        QCOMPARE(store.Count(), 2);
        QStringList cut;
        int memos = 0;
        for (int page = 0; page < store.Count(); ++page) {
            for (TrepComponent *object : store.GetPage(page)->AllObjects()) {
                const auto *memo = dynamic_cast<TrepCustomMemoView *>(object);
                if (!memo)
                    continue;
                ++memos;
                const draw::DrawMemo drawn = drawMemoOf(*memo);
                if (!draw::memoFit(drawn).whole)
                    cut << QStringLiteral("%1 \"%2\"").arg(memo->Name(), drawn.Text.trimmed());
            }
        }
        QCOMPARE(memos, 113);
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("cut on paper: ") + cut.join(QStringLiteral(", "))));
    }

    // The check itself sees a caption cut: a one-line box too narrow for its text, and a text one
    // line taller than its box.
    void cutCaptionSeen_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        const QString caption = QString::fromUtf16(u"Előző tulajdonos neve:");
        QTest::newRow("caption in its old box") << 151.1812 << 18.89765 << caption << false;
        QTest::newRow("caption in its box") << 192.75603 << 18.89765 << caption << true;
        QTest::newRow("three lines in two") << 423.30736 << 37.7953 << QStringLiteral("a\r\nb\r\nc") << false;
        QTest::newRow("three lines in three") << 423.30736 << 60.47248 << QStringLiteral("a\r\nb\r\nc") << true;
    }
    void cutCaptionSeen()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(QString, text);
        QFETCH(bool, whole);
        draw::DrawMemo memo;
        memo.Width = width;
        memo.Height = height;
        memo.Text = text;
        memo.Font = draw::DrawFont{QStringLiteral("Arial"), -15, 0, 0};
        memo.VAlign = draw::vaCenter;
        QCOMPARE(draw::memoFit(memo).whole, whole);
    }

private:
    TrepReport m_report;
};

QTEST_MAIN(TestTemplate)
#include "test_template.moc"
