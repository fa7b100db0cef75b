#include "app/commands/printcommand.h"
#include "declaration/declarationpdf.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/preview/textrecorder.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
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
#include "tests/report/preview/previewcommands.h"
#include "tests/testhelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

namespace {

// The prepared pages, with a hook called whenever a page is drawn onto a printer.
class HeldPageSource : public rep::ReportPageSource
{
public:
    using ReportPageSource::ReportPageSource;
    void drawPage(int index, QPainter &painter, double scaleX, double scaleY, double offsetX,
                  double offsetY) override
    {
        if (onPrintPage && painter.device() && painter.device()->devType() == QInternal::Printer)
            onPrintPage(index);
        ReportPageSource::drawPage(index, painter, scaleX, scaleY, offsetX, offsetY);
    }
    std::function<void(int index)> onPrintPage;
};

QString pdfInfo(const QString &file)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    info.waitForFinished();
    return QString::fromUtf8(info.readAllStandardOutput());
}

} // namespace

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
        tk::test::useSeparators(QLatin1Char(','));
        rep::fillHungarianResources();
        rep::installPageDrawer();
    }

    // "Fájlba nyomtat": the filled declaration arrives in the ".prn" file as two A4 pages; the
    // program's own PDF holds the same lines, broken in the same places.
    void declarationIntoAFile()
    {
        TK_REQUIRE_PRINTER();
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        rep::ReportPageSource source(report.pages());
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
        const QString infoText = pdfInfo(prn);
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

        const QString pdf = dir.filePath(QStringLiteral("bevallas.pdf"));
        QString error;
        QVERIFY2(decl::saveDeclarationPdf(report, pdf, &error), qPrintable(error));
        const auto lines = [](const QString &file) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), file, QStringLiteral("-")});
            text.waitForFinished();
            return QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
        };
        const QStringList printed = lines(prn);
        QVERIFY(printed.size() > 80);
        QCOMPARE(lines(pdf), printed);
    }

    // A print job held in the middle of page 1: the preview's print button, Ctrl+P, Ctrl+S,
    // Ctrl+F and F3 do nothing and open no dialog, and the job ends with both pages; the
    // panel's "Mégsem" still stops it.
    void lockedPreviewIgnoresASecondPrint_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("job runs on") << false;
        QTest::newRow("Mégsem stops it") << true;
    }
    void lockedPreviewIgnoresASecondPrint()
    {
        TK_REQUIRE_PRINTER();
        QFETCH(bool, cancel);
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        HeldPageSource source(report.pages());
        rep::PreviewHooks hooks = app::previewHooks(report, source);
        int saves = 0, searches = 0;
        hooks.saveFileName = [&](QWidget *, const QString &) {
            ++saves;
            return QString();
        };
        hooks.askSearch = [&](QWidget *, const QString &) {
            ++searches;
            return rep::SearchRequest{true, QStringLiteral("*"), true, false};
        };
        rep::TrepPreviewForm window(nullptr, hooks);
        window.init(&source, report.report().PreviewOptions);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        rep::TrepPreview *preview = window.preview();
        // A search first, so that F3 has one to continue.
        QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
        const QRect hit = preview->workspace()->hitRect();
        QVERIFY(!hit.isEmpty());

        // Confirms the first print dialog into a file and closes every other modal window.
        QTemporaryDir dir;
        const QString prn = dir.filePath(QStringLiteral("bevallas.prn"));
        QStringList dialogs;
        QTimer watcher;
        watcher.setInterval(10);
        connect(&watcher, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            dialogs << QString::fromLatin1(modal->metaObject()->className());
            auto *dialog = qobject_cast<rep::TrepPrintDialog *>(modal);
            if (dialog && dialogs.size() == 1) {
                dialog->findChild<QCheckBox *>(QStringLiteral("FileCB"))->setChecked(true);
                dialog->askPrintFileName = [&] { return prn; };
                dialog->accept();
            } else {
                modal->close();
            }
        });
        QList<int> printed;
        bool lockedAfterCommands = false;
        source.onPrintPage = [&](int index) {
            printed << index + 1;
            if (index != 0)
                return;
            pressEveryCommand(window);
            lockedAfterCommands = preview->locked();
            if (cancel)
                QTest::mouseClick(preview->messagePanel()->findChild<QPushButton *>(), Qt::LeftButton);
        };
        watcher.start();
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        watcher.stop();
        rep::TrepPrinters::instance().current()->outputFileName.clear();

        QCOMPARE(dialogs, QStringList{QStringLiteral("rep::TrepPrintDialog")});
        QCOMPARE(saves, 0);
        QCOMPARE(searches, 1);
        QVERIFY(lockedAfterCommands);
        QVERIFY(!preview->locked());
        QCOMPARE(preview->workspace()->hitRect(), hit);
        if (cancel) {
            QCOMPARE(printed, QList<int>{1});
        } else {
            QCOMPARE(printed, QList<int>({1, 2}));
            const QString info = pdfInfo(prn);
            QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))), qPrintable(info));
        }
    }

    // A printer that went away (or a stopped print server) ends with a message, printing nothing.
    void vanishedPrinterFailsWithMessage()
    {
        decl::MapForm form;
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        rep::ReportPageSource source(report.pages());
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
        QCOMPARE(report.pages().Count(), 2);
    }

    // Find sees the lines the declaration's memos draw, each on its own.
    void drawnLinesForFind()
    {
        decl::MapForm form;
        fill(form);
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        rep::ReportPageSource source(report.pages());
        const QList<rep::TextRecord> texts = rep::recordPageText(source, 1);
        const auto found = std::find_if(texts.begin(), texts.end(), [](const rep::TextRecord &r) {
            return r.text.contains(QStringLiteral("250.800 Ft."));
        });
        QVERIFY(found != texts.end());
        QVERIFY(found->bounds.height() < 25);
        QVERIFY(QRectF(QPointF(0, 0), source.pageSize(1)).contains(found->bounds));
    }
};

TK_PRINTER_TEST_MAIN(TestPrintCommand)
#include "test_printcommand.moc"
