#include "app/printcommand.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/model/report.h"
#include "report/preview/textrecorder.h"
#include "report/preview/treppreviewform.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "report/print/printreport.h"
#include "report/render/pagedrawer.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "tests/printertest.h"

#include <QApplication>
#include <QCheckBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

class TestPrintCommand : public QObject
{
    Q_OBJECT

    static void fill(decl::MapForm &form)
    {
        form.setText(QStringLiteral("StyledEdit35"), QString::fromUtf16(u"Kovács Őrs Tűzkő"));
        form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500"));
        form.setText(QStringLiteral("NumEdit2"), QStringLiteral("300"));
        form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 0);
        decl::szamolas(form);
    }

private Q_SLOTS:
    void initTestCase()
    {
        rt::FormatSettings s;
        s.decimalSeparator = QLatin1Char(',');
        s.thousandSeparator = QLatin1Char(' ');
        rt::setFormatSettings(s);
        rep::fillHungarianResources();
        rep::installPageDrawer();
    }

    // "Fájlba nyomtat": the filled declaration arrives in the ".prn" file as two A4 pages.
    void declarationIntoAFile()
    {
        TK_REQUIRE_PRINTER();
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        rep::ReportPageSource source(report.report());
        QTemporaryDir dir;
        rep::PrintJob job;
        rep::PrintHooks hooks;
        hooks.runDialog = [&](rep::TrepPrintDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("FileCB"))->setChecked(true);
            d.askPrintFileName = [&] { return dir.filePath(QStringLiteral("bevallas")); };
            d.accept();
            return d.result() == QDialog::Accepted;
        };
        QVERIFY(rep::printReport(source, report.report().PrintOptions, 1, QString(), job, hooks));
        rep::TrepPrinters::instance().current()->outputFileName.clear();
        const QString prn = dir.filePath(QStringLiteral("bevallas.prn"));
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {prn});
        QVERIFY(info.waitForFinished());
        const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))), qPrintable(infoText));
        QVERIFY(infoText.contains(QStringLiteral("(A4)")));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), prn, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString t = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &want : {QString::fromUtf16(u"Kovács Őrs Tűzkő"), QStringLiteral("1500"), QStringLiteral("1200"),
                                    QStringLiteral("250.800 Ft."),
                                    QString::fromUtf16(u"történő adó megállapitásához"),
                                    QString::fromUtf16(u"(tulajdonjog szerzés)")})
            QVERIFY2(t.contains(want), qPrintable(want));
    }

    // A printer that went away (or a stopped print server) ends with a message, printing nothing.
    void vanishedPrinterFailsWithMessage()
    {
        decl::MapForm form;
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        rep::ReportPageSource source(report.report());
        rep::TrepPrinter gone(QStringLiteral("Nincs-ilyen-nyomtato"));
        rep::PrintJob job;
        try {
            job.run(source, gone, rep::PrintJobSettings{});
            QFAIL("no error");
        } catch (const rt::Exception &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Nincs-ilyen-nyomtato")), qPrintable(e.message()));
        }
    }

    // "Nyomtatás" opens the modal preview on the two prepared pages with its status text.
    void commandOpensPreview()
    {
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QString caption, status;
        QTimer::singleShot(0, [&] {
            auto *preview = qobject_cast<rep::TrepPreviewForm *>(QApplication::activeModalWidget());
            QTRY_VERIFY(preview = qobject_cast<rep::TrepPreviewForm *>(QApplication::activeModalWidget()));
            caption = preview->windowTitle();
            status = preview->pageText();
            preview->close();
        });
        app::printDeclaration(report);
        QCOMPARE(caption, QString::fromUtf16(u"Előkép"));
        QCOMPARE(status, QString::fromUtf16(u"1. oldal 2 oldalból"));
        QCOMPARE(report.report().PreviewPages()->Count(), 2);
    }

    // Find sees the memo texts of a prepared page.
    void pageTextsForFind()
    {
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        const QList<rep::TextRecord> texts = app::pageTexts(*report.report().PreviewPages()->GetPage(1));
        bool found = false;
        for (const rep::TextRecord &r : texts)
            found = found || r.text.contains(QStringLiteral("250.800 Ft."));
        QVERIFY(found);
    }
};

TK_PRINTER_TEST_MAIN(TestPrintCommand)
#include "test_printcommand.moc"
