#include "report/draw/qrcode.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/pages/previewpages.h"
#include "report/render/pagedrawer.h"
#include "tests/report/reportfixture.h"

#include <ZXing/ReadBarcode.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace rep;
using namespace Qt::StringLiterals;
using rep::test::fillStore;
using rep::test::make;

namespace {

// What an independent reading of the image gives: the first QR Code's bytes as UTF-8.
QString decoded(const QImage &image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    const ZXing::Result result = ZXing::ReadBarcode(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    if (!result.isValid())
        return u"<none>"_s;
    return QString::fromUtf8(reinterpret_cast<const char *>(result.bytes().data()), qsizetype(result.bytes().size()));
}

// A template page holding one code view of 40 mm at (20, 20) mm, filled into a store.
struct Fixture
{
    TrepReport report;
    TrepReportPage *page = make<TrepReportPage>(&report, u"Page1"_s);
    TrepQRCodeView *code = make<TrepQRCodeView>(page, u"QRCode1"_s);
    TrepPreviewPages pages;

    explicit Fixture(const QString &text, double side = 151.1812)
    {
        pages.SetPageDrawer(&drawReportPage);
        code->SetBounds(75.5906, 75.5906, side, side);
        code->SetText(text);
        fillStore(pages, page, {code}, 1);
    }

    // The prepared page drawn at a resolution, as a printer or scanner sees it.
    QImage draw(int dpi)
    {
        const double scale = dpi / 96.0;
        QImage image(int(794 * scale), int(1123 * scale), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        pages.DrawPage(0, &p, scale, scale, 0, 0);
        return image;
    }
};

bool blank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

} // namespace

class TestQRCode : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The text comes back from the drawn page, lines joined by LF, at the resolutions of an
    // office scan and a printer.
    void readsBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("dpi");
        QTest::newRow("ASCII, 200 dpi") << u"TKD1P hello"_s << 200;
        QTest::newRow("Hungarian letters and lines, 200 dpi") << u"Őrs Tűzkő\nárvíztűrő tükörfúrógép"_s << 200;
        QTest::newRow("alphanumeric set, 300 dpi") << u"TKD1Z0123 $%*+-./:ABC"_s << 300;
        QTest::newRow("long, 600 dpi") << u"Kovács Őrs, Hollóberény; "_s.repeated(15) << 600;
    }
    void readsBack()
    {
        QFETCH(QString, text);
        QFETCH(int, dpi);
        Fixture f(text);
        QCOMPARE(decoded(f.draw(dpi)), text);
    }

    // Never a cut symbol: a text longer than the largest symbol, or a box too small for the least
    // module size, draws nothing; an empty text draws nothing either.
    void nothingWhenItDoesNotFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("side");
        QTest::newRow("longer than any symbol") << QString(4000, u'ő') << 151.1812;
        QTest::newRow("box too small at 0.4 mm") << u"Kovács Őrs, Hollóberény; "_s.repeated(25) << 60.0;
        QTest::newRow("empty") << QString() << 151.1812;
    }
    void nothingWhenItDoesNotFit()
    {
        QFETCH(QString, text);
        QFETCH(double, side);
        Fixture f(text, side);
        QVERIFY(blank(f.draw(96)));
    }

    // The quick answer whether a text fits is the encoder's, at the lengths around each limit and
    // for each mode: digits, the alphanumeric set, bytes of Hungarian UTF-8.
    void fitsAsEncoded_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("side");
        QTest::newRow("digits") << u"7"_s << 151.1812;
        QTest::newRow("alphanumeric") << u"TKD1Z"_s << 151.1812;
        QTest::newRow("bytes") << u"Kovács Őrs; "_s << 151.1812;
        QTest::newRow("bytes, small box") << u"ő"_s << 60.0;
    }
    void fitsAsEncoded()
    {
        QFETCH(QString, unit);
        QFETCH(double, side);
        draw::DrawQRCode code;
        code.Width = code.Height = side;
        auto fits = [&](const QString &text) { return draw::qrModuleSize(code, draw::encodeQR(text, code.ErrorLevel)) > 0; };
        // The longest repetition that the encoder fits, found by doubling and halving.
        int lo = 0, hi = 1;
        while (fits(unit.repeated(hi)))
            lo = hi, hi *= 2;
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            (fits(unit.repeated(mid)) ? lo : hi) = mid;
        }
        QVERIFY(lo > 0);
        for (int n : {lo - 1, lo, lo + 1, hi + 1}) {
            const QString text = unit.repeated(n);
            QCOMPARE(draw::qrFitsBox(code, text), fits(text));
        }
        // A text one unit past the limit within the same mode.
        const QString justOver = unit.repeated(lo) + unit.back();
        QCOMPARE(draw::qrFitsBox(code, justOver), fits(justOver));
    }

    // Every module has the same size on the device, whatever the scale: no gaps, no overlaps.
    void modulesWholePixels()
    {
        const draw::QRMatrix m = draw::encodeQR(u"TKD1P egy"_s, draw::qrMedium);
        QVERIFY(!m.isEmpty());
        draw::DrawQRCode code;
        code.Width = code.Height = 100;
        code.Text = u"TKD1P egy"_s;
        const double module = draw::qrModuleSize(code, m);
        QVERIFY(module >= code.MinModuleSize);
        QCOMPARE(module, 100.0 / (m.size + 8));
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        draw::DrawArgs args;
        args.Canvas = &p;
        args.ScaleX = args.ScaleY = 2.37;
        draw::drawQRCode(code, args);
        p.end();
        // The first run of dark pixels of the first row of modules: the finder pattern's seven.
        int first = -1, last = -1;
        const int y = int((code.Top + 4.5 * module) * args.ScaleY);
        for (int x = 0; x < image.width(); ++x) {
            const bool dark = image.pixel(x, y) != qRgb(255, 255, 255);
            if (dark && first < 0)
                first = x;
            if (!dark && first >= 0)
                break;
            if (dark)
                last = x;
        }
        const double expected = 7 * module * args.ScaleX;
        QVERIFY2(std::abs((last - first + 1) - expected) <= 1.0, qPrintable(QString::number(last - first + 1)));
    }

    // The prepared-report file keeps the view with its text and settings; the page rebuilt from
    // the store draws the same symbol; a PDF carries it as vector paths.
    void storedAndRebuilt()
    {
        Fixture f(u"TKD1P tárolva"_s);
        f.code->ErrorLevel = qeHigh;
        f.code->ModuleSize = 0.5;
        f.code->QuietZone = 5;
        f.pages.Clear();
        fillStore(f.pages, f.page, {f.code}, 1);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.prp"_s);
        f.pages.SaveToFile(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString saved = QString::fromUtf8(file.readAll());
        QVERIFY2(saved.contains(u"<TrepQRCodeView Name=\"QRCode1\""_s), qPrintable(saved));
        QVERIFY(saved.contains(u"ErrorLevel=\"qeHigh\""_s));
        QVERIFY(saved.contains(u"ModuleSize=\"0.5\""_s));
        QVERIFY(saved.contains(u"QuietZone=\"5\""_s));
        auto *rebuilt = dynamic_cast<TrepQRCodeView *>(f.pages.GetPage(0)->FindObject(u"QRCode1"_s));
        QVERIFY(rebuilt);
        QCOMPARE(rebuilt->ErrorLevel, qeHigh);
        QCOMPARE(rebuilt->QuietZone, 5);
        QCOMPARE(rebuilt->Memo(), QStringList{u"TKD1P tárolva"_s});
        QCOMPARE(decoded(f.draw(200)), u"TKD1P tárolva"_s);

        const QString pdf = dir.filePath(u"code.pdf"_s);
        {
            QPdfWriter writer(pdf);
            writer.setResolution(600);
            QPainter p(&writer);
            f.pages.DrawPage(0, &p, 600 / 96.0, 600 / 96.0, 0, 0);
        }
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        // No image in the file: the modules are filled paths.
        QVERIFY(!out.readAll().contains("/Subtype /Image"));
    }
};

QTEST_MAIN(TestQRCode)
#include "test_qrcode.moc"
