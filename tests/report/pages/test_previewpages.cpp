#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "runtime/errors.h"
#include "tests/report/reportfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace rep;

namespace {

using rep::test::fillStore;
using rep::test::make;

// A one-page template with a memo and a shape; prepare() runs the store the way the engine does.
struct SmallTemplate
{
    TrepReport report;
    TrepReportPage *page = make<TrepReportPage>(&report, QStringLiteral("Page1"));
    TrepMemoView *memo = make<TrepMemoView>(page, QStringLiteral("Memo1"));
    TrepShapeView *shape = make<TrepShapeView>(page, QStringLiteral("Shape1"));
    TrepPreviewPages pages;

    SmallTemplate()
    {
        memo->SetBounds(10, 20, 100, 18.89765);
        memo->SetText(QStringLiteral("[x]"));
    }

    // Adds one output page per text, the memo printing texts[i] on page i.
    void prepare(const QStringList &texts)
    {
        const QString saved = memo->Text();
        fillStore(pages, page, {memo, shape}, int(texts.size()), [&](int i) { memo->SetText(texts[i]); });
        memo->SetText(saved);
    }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TestPreviewPages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shortNamesInVisitOrder()
    {
        TrepReport report;
        auto *page = make<TrepReportPage>(&report, QStringLiteral("Page1"));
        QList<TrepComponent *> objects{
            make<TrepMemoView>(page, QStringLiteral("Memo1")), make<TrepShapeView>(page, QStringLiteral("Shape1")),
            make<TrepMemoView>(page, QStringLiteral("Memo2")), make<TrepSysMemoView>(page, QStringLiteral("SysMemo1")),
            make<TrepMemoView>(page, QStringLiteral("Memo3")), make<TrepLineView>(page, QStringLiteral("Line1"))};
        TrepPreviewPages pages;
        pages.RegisterSourcePage(page);
        QStringList shortNames;
        for (TrepComponent *o : objects)
            shortNames << pages.shortName(o);
        QCOMPARE(shortNames, QStringList({QStringLiteral("m1"), QStringLiteral("s1"), QStringLiteral("m2"),
                                          QStringLiteral("s2"), QStringLiteral("m3"), QStringLiteral("l1")}));
        QCOMPARE(pages.Dictionary().Find(QStringLiteral("s2"))->sourceName, QStringLiteral("Page0.SysMemo1"));
        // A second registration continues the numbering.
        pages.RegisterSourcePage(page);
        QCOMPARE(pages.shortName(objects.first()), QStringLiteral("m4"));
        QCOMPARE(pages.Dictionary().Find(QStringLiteral("m4"))->sourceName, QStringLiteral("Page1.Memo1"));
    }

    void manyShortNamesStayInOrder()
    {
        TrepDictionary d;
        for (int i = 1; i <= 10050; ++i) {
            const QString n = d.CreateUniqueName(QStringLiteral("m"));
            QCOMPARE(n, QStringLiteral("m%1").arg(i));
            d.Add(n, QString(), nullptr);
        }
    }

    void pagesAndRebuild()
    {
        SmallTemplate t;
        t.prepare({QStringLiteral("first"), QStringLiteral("second")});
        QCOMPARE(t.pages.Count(), 2);
        QCOMPARE(t.pages.PreviewPagesItem()->child(0)->name(), QStringLiteral("page0"));
        QCOMPARE(t.pages.PreviewPagesItem()->child(1)->name(), QStringLiteral("page0"));
        QCOMPARE(t.pages.PageSize(0), QSize(794, 1123));
        TrepPreviewPages empty;
        QCOMPARE(empty.PageSize(0), QSize(0, 0));
        QVERIFY(!empty.GetPage(0));

        TrepReportPage *page = t.pages.GetPage(1);
        QVERIFY(page);
        QCOMPARE(page->Objects().size(), 1); // the band
        TrepComponent *band = page->Objects().first();
        QCOMPARE(band->ClassName(), QStringLiteral("TrepNullBand"));
        auto *memo = dynamic_cast<TrepMemoView *>(band->FindObject(QStringLiteral("Memo1")));
        QVERIFY(memo);
        QCOMPARE(memo->Memo(), QStringList{QStringLiteral("second")});
        QCOMPARE(memo->Left(), 10.0);
        QCOMPARE(memo->Height(), 18.89765);
        QVERIFY(band->FindObject(QStringLiteral("Shape1")));
        // The template itself is untouched.
        QCOMPARE(t.memo->Memo(), QStringList{QStringLiteral("[x]")});
    }

    void invisibleObjectsSkipped()
    {
        SmallTemplate t;
        auto *inner = make<TrepMemoView>(t.shape, QStringLiteral("Inner"));
        Q_UNUSED(inner);
        t.shape->SetVisible(false);
        t.prepare({QStringLiteral("a")});
        const TrepXMLItem *band = t.pages.PreviewPagesItem()->child(0)->child(0);
        QCOMPARE(band->count(), 1);
        QCOMPARE(band->child(0)->name(), QStringLiteral("m1"));
    }

    void cacheKeepsFiftyPages()
    {
        SmallTemplate t;
        QStringList texts;
        for (int i = 0; i < 52; ++i)
            texts << QString::number(i);
        t.prepare(texts);
        const int start = t.pages.RebuildCount();
        t.pages.GetPage(0);
        t.pages.GetPage(0);
        QCOMPARE(t.pages.RebuildCount(), start + 1);
        for (int i = 1; i <= 50; ++i)
            t.pages.GetPage(i);
        QCOMPARE(t.pages.RebuildCount(), start + 51);
        t.pages.GetPage(50); // still cached, moves to the front
        QCOMPARE(t.pages.RebuildCount(), start + 51);
        t.pages.GetPage(0); // evicted by the 51st page
        QCOMPARE(t.pages.RebuildCount(), start + 52);
        auto *memo = static_cast<TrepMemoView *>(t.pages.GetPage(0)->FindObject(QStringLiteral("Memo1")));
        QCOMPARE(memo->Memo(), QStringList{QStringLiteral("0")});
    }

    void clearEmptiesEverything()
    {
        SmallTemplate t;
        t.prepare({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QVERIFY(t.pages.PreviewPagesItem()->child(2)->unloadable);
        QVERIFY(!t.pages.PreviewPagesItem()->child(1)->unloadable);
        t.pages.Clear();
        QCOMPARE(t.pages.Count(), 0);
        QCOMPARE(t.pages.CurrentPage, -1);
        QCOMPARE(t.pages.Dictionary().Count(), 0);
        QCOMPARE(t.pages.SourcePageCount(), 0);
    }

    void clearedStoreForgetsOldLinks()
    {
        SmallTemplate t;
        t.prepare({QStringLiteral("a")});
        t.pages.Clear();
        // Objects linked before the clear are recorded in full, not against freed copies.
        t.pages.BeginPreparation();
        t.pages.AddPage(t.page);
        t.pages.AddObject(t.memo);
        t.pages.Finish();
        const TrepXMLItem *page = t.pages.PreviewPagesItem()->child(0);
        QCOMPARE(page->name(), QStringLiteral("page0"));
        QCOMPARE(page->child(0)->name(), QStringLiteral("m1"));
        QCOMPARE(t.pages.SourcePageCount(), 1);
    }

    void savedText()
    {
        SmallTemplate t;
        t.prepare({QStringLiteral("A\r\nB \"q\" & <t>")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.prp"));
        t.pages.SaveToFile(path);
        QCOMPARE(readFile(path),
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                "<preparedreport><previewpages><page0><TrepNullBand>"
                                "<m1 Text=\"A&#13;&#10;B &#34;q&#34; &#38; &#60;t&#62;&#13;&#10;\"/><s1/>"
                                "</TrepNullBand></page0></previewpages>"
                                "<sourcepages><TrepReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\">"
                                "<TrepMemoView Name=\"Memo1\" l=\"10\" t=\"20\" w=\"100\" h=\"18.89765\" GroupIndex=\"0\" Text=\"[x]&#13;&#10;\"/>"
                                "<TrepShapeView Name=\"Shape1\" GroupIndex=\"0\"/>"
                                "</TrepReportPage></sourcepages>"
                                "<dictionary><m1 name=\"Page0.Memo1\"/><s1 name=\"Page0.Shape1\"/></dictionary>"
                                "</preparedreport>"));
    }

    void awkwardTextsStayWellFormed()
    {
        const QString awkward = QStringLiteral("tab\there\x01\x1f bell\x07 ]]> <!-- --> &amp; 'q' \"dq\" ő\r\nű ")
                                + QChar(0xFFFE) + QChar(0xD800) + QStringLiteral(" end") + QString::fromUcs4(U"\U0001F600");
        SmallTemplate t;
        t.prepare({awkward, QStringLiteral("plain")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("awkward.prp"));
        t.pages.SaveToFile(path);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&file);
        QString text;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == QLatin1String("m1") && text.isEmpty())
                text = reader.attributes().value(QLatin1String("Text")).toString();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QString expected = awkward;
        expected.replace(QChar(0x01), QChar(0xFFFD)).replace(QChar(0x1f), QChar(0xFFFD)).replace(QChar(0x07), QChar(0xFFFD));
        expected.replace(QChar(0xFFFE), QChar(0xFFFD)).replace(QChar(0xD800), QChar(0xFFFD));
        QCOMPARE(text, expected + QStringLiteral("\r\n"));

        if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
            QSKIP("xmllint is not installed");
        QProcess lint;
        lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
        QVERIFY(lint.waitForFinished());
        QCOMPARE(lint.exitCode(), 0);
        QVERIFY(lint.readAllStandardError().isEmpty());
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing folder") << "nofolder/out.prp";
        QTest::newRow("folder is a file") << "existing.prp/out.prp";
        QTest::newRow("target is a folder") << "folder";
    }
    void saveFailures()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("existing.prp")), "old"));

        SmallTemplate t;
        t.prepare({QStringLiteral("x")});
        try {
            t.pages.SaveToFile(dir.filePath(relative));
            QFAIL("no error");
        } catch (const rt::Exception &e) {
            QVERIFY(e.message().contains(relative));
            QVERIFY(e.message().contains(QLatin1String("\r\n")));
            QVERIFY(!e.message().section(QLatin1String("\r\n"), 1).isEmpty()); // the reason
        }
        QCOMPARE(readFile(dir.filePath(QStringLiteral("existing.prp"))), QStringLiteral("old"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
    }

    void readOnlyFolderKeepsOldFile()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind root");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.prp"));
        QVERIFY(writeFile(path, "old"));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        SmallTemplate t;
        t.prepare({QStringLiteral("x")});
        QVERIFY_THROWS_EXCEPTION(rt::Exception, t.pages.SaveToFile(path));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(readFile(path), QStringLiteral("old"));
    }

    // A write cut short by a full disk or a size limit must not replace the old file with a
    // truncated one. A file-size limit stops root too.
    void cutShortWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.prp"));
        QVERIFY(writeFile(path, "old"));
        SmallTemplate t;
        t.prepare({QStringLiteral("x")});

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 200;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        bool thrown = false;
        try {
            t.pages.SaveToFile(path);
        } catch (const rt::Exception &) {
            thrown = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(thrown);
        QCOMPARE(readFile(path), QStringLiteral("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.prp")});
    }
};

QTEST_GUILESS_MAIN(TestPreviewPages)
#include "test_previewpages.moc"
