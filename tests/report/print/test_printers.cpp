#include "report/print/pagesource.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "report/print/printreport.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace rep;
using namespace Qt::StringLiterals;

namespace {

class OnePage : public PageSource
{
public:
    int count() const override { return 1; }
    QSize pageSize(int) const override { return {794, 1123}; }
    PagePrintParams printParams(int) const override { return {}; }
    void drawPage(int, QPainter &, double, double, double, double) override {}
    void saveToFile(const QString &) override {}
};

// The names the test's print server offers, none of them a real printer, and its default. An
// empty list is a system without printers.
QStringList offeredNames;
QString offeredDefault;

QStringList itemsOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestPrinters : public QObject
{
    Q_OBJECT

    static void offer(const QStringList &names, const QString &defaultName)
    {
        offeredNames = names;
        offeredDefault = defaultName;
        TrepPrinters::instance().refresh();
    }

private Q_SLOTS:
    void initTestCase()
    {
        fillHungarianResources();
        TrepPrinters::instance().readSystem = [] {
            return SystemPrinters{offeredNames, [] { return offeredDefault; }};
        };
    }

    // What becomes current when the list is read again, after the user chose a printer.
    void readAgain_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("afterDefault");
        QTest::addColumn<QString>("current");

        const QStringList ab{u"tk-A"_s, u"tk-B"_s};
        QTest::newRow("chosen printer stays, one added") << ab << u"tk-B"_s << QStringList{u"tk-A"_s, u"tk-B"_s, u"tk-C"_s}
                                                         << u"tk-A"_s << u"tk-B"_s;
        QTest::newRow("chosen printer stays at another place") << ab << u"tk-B"_s << QStringList{u"tk-B"_s}
                                                               << u"tk-B"_s << u"tk-B"_s;
        QTest::newRow("chosen printer removed: the default") << ab << u"tk-B"_s << QStringList{u"tk-A"_s, u"tk-C"_s}
                                                             << u"tk-C"_s << u"tk-C"_s;
        QTest::newRow("chosen printer renamed: the default") << ab << u"tk-B"_s << QStringList{u"tk-A"_s, u"tk-B2"_s}
                                                             << u"tk-A"_s << u"tk-A"_s;
        QTest::newRow("default not listed: the first") << ab << u"tk-B"_s << QStringList{u"tk-C"_s, u"tk-D"_s}
                                                       << u"tk-A"_s << u"tk-C"_s;
        QTest::newRow("first printer appears") << QStringList{} << QString() << QStringList{u"tk-A"_s}
                                               << u"tk-A"_s << u"tk-A"_s;
        QTest::newRow("last printer goes") << ab << u"tk-B"_s << QStringList{} << QString() << u"Virtuális"_s;
    }
    void readAgain()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        QFETCH(QString, afterDefault);
        QFETCH(QString, current);
        TrepPrinters &printers = TrepPrinters::instance();
        offer(before, before.value(0));
        if (!chosen.isEmpty())
            QVERIFY(printers.setPrinterByName(chosen));
        offer(after, afterDefault);
        QCOMPARE(printers.current()->name(), current);
        QCOMPARE(printers.hasPhysicalPrinters(), !after.isEmpty());
        QCOMPARE(printers.names(), after.isEmpty() ? QStringList{u"Virtuális"_s} : after);
    }

    // A printer still listed keeps the settings made on it (the properties dialog's).
    void listedPrinterKeepsItsSettings()
    {
        TrepPrinters &printers = TrepPrinters::instance();
        offer({u"tk-A"_s, u"tk-B"_s}, u"tk-A"_s);
        TrepCustomPrinter *b = printers.printer(1);
        b->documentName = u"beállítva"_s;
        offer({u"tk-C"_s, u"tk-B"_s}, u"tk-C"_s);
        QCOMPARE(printers.printer(1), b);
        QCOMPARE(printers.printer(1)->documentName, u"beállítva"_s);
        b->documentName.clear();
    }

    // The printer box reads the list again as it opens: the chosen printer stays while listed,
    // and cancelling the dialog after the printer of its opening went keeps the one shown.
    void printerBoxReadsAgain()
    {
        TrepPrinters &printers = TrepPrinters::instance();
        offer({u"tk-A"_s}, u"tk-A"_s);
        TrepPrintDialog dialog;
        dialog.setup(1, true, QString(), 1);
        auto *box = dialog.findChild<QComboBox *>(u"PrintersCB"_s);
        auto *type = dialog.findChild<QLabel *>(u"TypeL1"_s);
        QCOMPARE(itemsOf(box), QStringList{u"tk-A"_s});

        offeredNames = {u"tk-B"_s, u"tk-A"_s};
        offeredDefault = u"tk-B"_s;
        box->showPopup();
        box->hidePopup();
        QCOMPARE(itemsOf(box), QStringList({u"tk-B"_s, u"tk-A"_s}));
        QCOMPARE(box->currentText(), u"tk-A"_s);
        QCOMPARE(type->text(), u"tk-A"_s);

        offeredNames = {u"tk-B"_s};
        box->showPopup();
        box->hidePopup();
        QCOMPARE(itemsOf(box), QStringList{u"tk-B"_s});
        QCOMPARE(box->currentText(), u"tk-B"_s);
        QCOMPARE(type->text(), u"tk-B"_s);
        dialog.reject();
        QCOMPARE(printers.current()->name(), u"tk-B"_s);
    }

    // A printer listed when the dialog showed but gone when the job begins ends the job with
    // the printer's error, and so does a system without printers, whose virtual printer is
    // listed but refuses to print. Nothing is drawn; the next print starts afresh.
    void printingRefused_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("error");
        QTest::newRow("printer gone") << QStringList{u"tk-elment"_s} << u"A(z) \"tk-elment\" nyomtató nem érhető el"_s;
        QTest::newRow("no printer") << QStringList{} << u"Nincs nyomtató telepítve"_s;
    }
    void printingRefused()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, error);
        offer(names, names.value(0));
        OnePage pages;
        PrintJob job;
        int drawn = 0;
        job.processEvents = [&] { ++drawn; };
        PrintHooks hooks;
        hooks.runDialog = [](TrepPrintDialog &) { return true; };
        for (int attempt = 0; attempt < 2; ++attempt) {
            QString shown;
            try {
                printReport(pages, TrepPrintOptions{}, 1, QString(), job, hooks);
            } catch (const rt::Exception &e) {
                shown = e.message();
            }
            QCOMPARE(shown, error);
        }
        QCOMPARE(drawn, 0);
    }
};

QTEST_MAIN(TestPrinters)
#include "test_printers.moc"
