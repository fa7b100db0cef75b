#include "report/print/pagesource.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "report/print/printreport.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"
#include "tests/printertest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

using namespace rep;

namespace {

// Two A4 pages, each with a line of text naming its page.
class TextPages : public PageSource
{
public:
    int count() const override { return 2; }
    QSize pageSize(int) const override { return {794, 1123}; }
    PagePrintParams printParams(int) const override { return {}; }
    void drawPage(int index, QPainter &p, double sx, double sy, double ox, double oy) override
    {
        p.save();
        p.translate(ox, oy);
        p.scale(sx, sy);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(16);
        p.setFont(f);
        p.drawText(QPointF(100, 100), QString::fromUtf16(u"Oldal %1 árvíztűrő 250.800 Ft.").arg(index + 1));
        p.drawRect(QRectF(50, 50, 694, 1023));
        p.restore();
    }
    void saveToFile(const QString &) override {}
};

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Where cups-pdf writes: into the job owner's home, whatever $HOME says.
QDir pdfDir()
{
    const passwd *pw = getpwuid(getuid());
    return QDir(QString::fromLocal8Bit(pw ? pw->pw_dir : qgetenv("HOME").constData()) + QStringLiteral("/PDF"));
}

bool waitForEmptyQueue()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000) {
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty())
            return true;
        QTest::qWait(100);
    }
    return false;
}

// Waits until the print server has no pending job, then returns the newest PDF it wrote.
QString newestPdfAfter(const QDateTime &since)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 30000) {
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty()) {
            const QFileInfoList files = pdfDir().entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
            if (!files.isEmpty() && files.first().lastModified() >= since)
                return files.first().absoluteFilePath();
        }
        QTest::qWait(100);
    }
    return QString();
}

// The ids of the jobs the print server knows, finished or not.
QList<int> jobIds()
{
    QList<int> ids;
    const QString list = run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")});
    static const QRegularExpression id(QStringLiteral("^\\S+-(\\d+)\\s"), QRegularExpression::MultilineOption);
    for (auto it = id.globalMatch(list); it.hasNext();)
        ids.append(it.next().captured(1).toInt());
    return ids;
}

// What the print server received with one job.
struct ReceivedJob
{
    int id = 0;
    int copies = 1;     // IPP's default when the attribute is missing
    QString collate;    // "true", "false", or empty when the job did not say
    QString pdf;        // what cups-pdf made of it
};

// The finished job titled documentName (letters and digits only) among those not in `before`;
// id 0 when there is none. The server keeps job names private, but cups-pdf names its file
// after the title and the job id.
ReceivedJob receivedJob(const QString &documentName, const QList<int> &before)
{
    ReceivedJob job;
    if (!waitForEmptyQueue())
        return job;
    for (int id : jobIds()) {
        if (before.contains(id))
            continue;
        const QStringList files =
            pdfDir().entryList({documentName + QStringLiteral("*job_%1.pdf").arg(id)}, QDir::Files);
        if (files.isEmpty())
            continue;
        job.id = id;
        job.pdf = pdfDir().filePath(files.first());
        const QString attributes = run(QStringLiteral("ipptool"),
                                       {QStringLiteral("-tv"), QStringLiteral("ipp://localhost/jobs/%1").arg(id),
                                        QStringLiteral("get-job-attributes.test")});
        const QRegularExpression copies(QStringLiteral("\\bcopies \\(integer\\) = (\\d+)"));
        if (const QRegularExpressionMatch m = copies.match(attributes); m.hasMatch())
            job.copies = m.captured(1).toInt();
        const QRegularExpression collate(QStringLiteral("\\bcollate \\(boolean\\) = (\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
        if (const QRegularExpressionMatch m = collate.match(attributes); m.hasMatch())
            job.collate = m.captured(1);
        break;
    }
    return job;
}

// The page numbers ("Oldal N") of a printed PDF, page by page.
QList<int> pdfPageNumbers(const QString &pdf)
{
    QList<int> numbers;
    const QStringList pages = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
    static const QRegularExpression number(QStringLiteral("Oldal (\\d+)"));
    for (const QString &page : pages)
        if (const QRegularExpressionMatch m = number.match(page); m.hasMatch())
            numbers.append(m.captured(1).toInt());
    return numbers;
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

    QString pdfText(const QString &file)
    {
        return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    }

private Q_SLOTS:
    void initTestCase()
    {
        rep::fillHungarianResources();
        TK_REQUIRE_PRINTER();
    }

    void defaultPrinterIsCurrent()
    {
        TrepPrinters &printers = TrepPrinters::instance();
        QVERIFY(printers.hasPhysicalPrinters());
        QCOMPARE(printers.current()->name(), QPrinterInfo::defaultPrinterName());
    }

    void printsBothPagesOnThePrinter()
    {
        TextPages pages;
        PrintJob job;
        PrintHooks hooks;
        hooks.runDialog = [](TrepPrintDialog &) { return true; };
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QVERIFY(printReport(pages, TrepPrintOptions{}, 1, QString(), job, hooks));
        const QString pdf = newestPdfAfter(before);
        QVERIFY2(!pdf.isEmpty(), "no PDF arrived");
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
        // The print server's PostScript step keeps ő and ű as pictures without a text layer
        // (the page shows them; pdftotext does not), so only the other letters are read back.
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QString::fromUtf16(u"Oldal 1 árvízt")) && text.contains(QStringLiteral("250.800 Ft.")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Oldal 2")));
    }

    // "Fájlba nyomtat": the chosen name gets ".prn" and holds the document.
    void printsIntoAFile()
    {
        QTemporaryDir dir;
        TextPages pages;
        PrintJob job;
        PrintHooks hooks;
        hooks.runDialog = [&](TrepPrintDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("FileCB"))->setChecked(true);
            d.askPrintFileName = [&] { return dir.filePath(QStringLiteral("bevallas.pdf")); };
            d.findChild<QRadioButton *>(QStringLiteral("CurPageRB"))->setChecked(true);
            d.accept();
            return d.result() == QDialog::Accepted;
        };
        QVERIFY(printReport(pages, TrepPrintOptions{}, 2, QString(), job, hooks));
        const QString prn = dir.filePath(QStringLiteral("bevallas.prn"));
        QVERIFY(QFileInfo::exists(prn));
        const QString text = pdfText(prn);
        QVERIFY2(text.contains(QString::fromUtf16(u"Oldal 2 árvíztűrő 250.800 Ft.")) && !text.contains(QStringLiteral("Oldal 1")),
                 qPrintable(text));
        TrepPrinters::instance().current()->outputFileName.clear();
    }

    // The copies reach the print server as the dialog asked: uncollated copies go out as
    // copies of each page that the printer must not collate, collated ones as passes over the
    // document. On paper: 1 1 2 2 and 1 2 1 2.
    void copiesReachThePrintServer_data()
    {
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QList<int>>("paper");
        QTest::newRow("Gyűjt unchecked") << false << QList<int>{1, 1, 2, 2};
        QTest::newRow("Gyűjt checked") << true << QList<int>{1, 2, 1, 2};
    }
    void copiesReachThePrintServer()
    {
        QFETCH(bool, collate);
        QFETCH(QList<int>, paper);
        TextPages pages;
        PrintJob job;
        PrintHooks hooks;
        hooks.runDialog = [&](TrepPrintDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("CopiesE"))->setText(QStringLiteral("2"));
            d.findChild<QCheckBox *>(QStringLiteral("CollateCB"))->setChecked(collate);
            return true;
        };
        const QList<int> before = jobIds();
        const QString name = QStringLiteral("copies%1x%2").arg(int(collate)).arg(QDateTime::currentMSecsSinceEpoch());
        QVERIFY(printReport(pages, TrepPrintOptions{}, 1, name, job, hooks));
        const ReceivedJob received = receivedJob(name, before);
        QVERIFY2(received.id > 0, "no job from cups-pdf");
        const QList<int> document = pdfPageNumbers(received.pdf);
        // What the printer makes of the document and the job's copies.
        QList<int> sheets;
        if (received.copies > 1 && received.collate.isEmpty())
            QFAIL("copies without collation: the queue's default decides");
        if (received.copies > 1 && received.collate == QLatin1String("false")) {
            for (int page : document)
                for (int k = 0; k < received.copies; ++k)
                    sheets.append(page);
        } else {
            for (int k = 0; k < received.copies; ++k)
                sheets += document;
        }
        QCOMPARE(sheets, paper);
    }

    // A print started from the events processed during a job is refused without a dialog; the
    // running job ends with all its pages.
    void secondPrintWhileOneRunsIsRefused()
    {
        QTemporaryDir dir;
        TextPages pages;
        PrintJob job;
        PrintHooks hooks;
        int dialogs = 0;
        hooks.runDialog = [&](TrepPrintDialog &d) {
            ++dialogs;
            d.findChild<QCheckBox *>(QStringLiteral("FileCB"))->setChecked(true);
            d.askPrintFileName = [&] { return dir.filePath(QStringLiteral("elso.prn")); };
            d.accept();
            return d.result() == QDialog::Accepted;
        };
        QList<bool> nested;
        job.processEvents = [&] {
            PrintJob second;
            nested.append(printReport(pages, TrepPrintOptions{}, 1, QString(), second, hooks));
        };
        QVERIFY(printReport(pages, TrepPrintOptions{}, 1, QString(), job, hooks));
        TrepPrinters::instance().current()->outputFileName.clear();
        QCOMPARE(dialogs, 1);
        QCOMPARE(nested, QList<bool>({false, false}));
        QCOMPARE(pdfPageNumbers(dir.filePath(QStringLiteral("elso.prn"))), QList<int>({1, 2}));
    }

    void cancellingTheFileDialogCancelsThePrint()
    {
        TextPages pages;
        PrintJob job;
        PrintHooks hooks;
        bool locked = false;
        hooks.lock = [&] { locked = true; };
        hooks.runDialog = [&](TrepPrintDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("FileCB"))->setChecked(true);
            d.askPrintFileName = [] { return QString(); };
            d.accept();
            return d.result() == QDialog::Accepted;
        };
        QVERIFY(!printReport(pages, TrepPrintOptions{}, 1, QString(), job, hooks));
        QVERIFY(!locked);
    }

    void badCopiesOrRangePrintNothing_data()
    {
        QTest::addColumn<QString>("copies");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("message");
        QTest::newRow("copies") << QStringLiteral("két") << QString()
                                << QString::fromUtf16(u"'két' is not a valid integer value");
        QTest::newRow("range") << QStringLiteral("1") << QStringLiteral("1-x")
                               << QStringLiteral("'x' is not a valid integer value");
    }
    void badCopiesOrRangePrintNothing()
    {
        QFETCH(QString, copies);
        QFETCH(QString, range);
        QFETCH(QString, message);
        TextPages pages;
        PrintJob job;
        int printed = 0;
        job.onPagePrinting = [&](int) { ++printed; };
        PrintHooks hooks;
        hooks.runDialog = [&](TrepPrintDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("CopiesE"))->setText(copies);
            if (!range.isEmpty()) {
                d.findChild<QRadioButton *>(QStringLiteral("PageNumbersRB"))->setChecked(true);
                d.findChild<QLineEdit *>(QStringLiteral("PageNumbersE"))->setText(range);
            }
            return true;
        };
        try {
            printReport(pages, TrepPrintOptions{}, 1, QString(), job, hooks);
            QFAIL("no error");
        } catch (const rt::EConvertError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(printed, 0);
    }

    // Choosing another printer in the dialog makes it current; cancelling restores the printer
    // that was current before the dialog opened, confirming keeps the choice.
    void cancelRestoresPrinter_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("cancelled") << false;
        QTest::newRow("confirmed") << true;
    }
    void cancelRestoresPrinter()
    {
        QFETCH(bool, confirm);
        TK_REQUIRE_PRINTER(QStringLiteral("PDF2"));
        TrepPrinters &printers = TrepPrinters::instance();
        const QString before = printers.current()->name();
        QVERIFY(before != QStringLiteral("PDF2"));
        const int second = printers.names().indexOf(QStringLiteral("PDF2"));
        QVERIFY(second >= 0);
        TrepPrintDialog dialog;
        dialog.setup(1, true, QString(), 1);
        auto *list = dialog.findChild<QComboBox *>(QStringLiteral("PrintersCB"));
        list->setCurrentIndex(second);
        Q_EMIT list->activated(second);
        QCOMPARE(printers.current()->name(), QStringLiteral("PDF2"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("TypeL1"))->text(), QStringLiteral("PDF2"));
        if (confirm)
            dialog.accept();
        else
            dialog.reject();
        QCOMPARE(printers.current()->name(), confirm ? QStringLiteral("PDF2") : before);
        printers.setPrinterByName(before);
    }

    void dialogTexts()
    {
        TrepPrintDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Nyomtat"));
        QCOMPARE(d.findChild<QCheckBox *>(QStringLiteral("FileCB"))->text(), QString::fromUtf16(u"Fájlba nyomtat"));
        auto *pagesCB = d.findChild<QComboBox *>(QStringLiteral("PrintPagesCB"));
        QCOMPARE(pagesCB->count(), 3);
        QCOMPARE(pagesCB->itemText(1), QString::fromUtf16(u"Páratlan oldalak"));
        QVERIFY(d.findChild<QRadioButton *>(QStringLiteral("AllRB"))->isChecked());
    }
};

TK_PRINTER_TEST_MAIN(TestPrinting)
#include "test_printing.moc"
