// The declaration's two pages as drawn: page size, the form's frames and rules where the template
// puts them, texts where its memos stand, crosses only for the chosen options, and the same line
// breaks on the screen and on a 600-dpi printer. The images go to $TK_BUILD_DIR/render-output.

#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/draw/trepdrawtext.h"
#include "report/render/pagedrawer.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "tests/report/drawfixture.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

constexpr double mm = 3.77953;
constexpr double margin = 10 * mm;

// A template rectangle (report units inside the margins) as device pixels at a scale.
QRect deviceRect(double left, double top, double width, double height, double scale = 1)
{
    return QRectF((left + margin) * scale, (top + margin) * scale, width * scale, height * scale).toRect();
}

void fillForm(decl::MapForm &form)
{
    form.setText(QStringLiteral("StyledEdit35"), QStringLiteral("Kovács János"));
    form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500"));
    form.setText(QStringLiteral("NumEdit2"), QStringLiteral("300"));
    form.setText(QStringLiteral("RichEdit1"),
                 QStringLiteral("A telek keleti sarkán álló kerti tároló a bevallás évében lebontásra került, "
                                "a területét a következő évben füvesítjük; a helyrajzi szám nem változott.")
                     .repeated(3));
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 2);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 4);
    form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 1); // the long title
    decl::szamolas(form);
}

// A prepared declaration of a form.
struct Declaration
{
    decl::MapForm form;
    std::unique_ptr<decl::DeclarationReport> report;
    std::unique_ptr<rep::ReportPageSource> pages;

    void prepare()
    {
        report = std::make_unique<decl::DeclarationReport>(form);
        QVERIFY(report->prepare());
        pages = std::make_unique<rep::ReportPageSource>(report->pages());
        QCOMPARE(pages->count(), 2);
    }

    QImage image(int index, const QRect &clip = QRect())
    {
        const QSize size = pages->pageSize(index);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        if (clip.isValid())
            p.setClipRect(clip);
        pages->drawPage(index, p, 1, 1, 0, 0);
        return image;
    }

    // Draws one page (or every page, index -1) into a 600-dpi PDF.
    QByteArray pdf(int index, const QRect &clip = QRect())
    {
        return rep::test::a4Pdf([&](QPdfWriter &pdf, QPainter &p) {
            if (clip.isValid())
                p.setClipRect(clip);
            for (int i = 0; i < pages->count(); ++i) {
                if (index >= 0 && i != index)
                    continue;
                if (index < 0 && i > 0)
                    pdf.newPage();
                pages->drawPage(i, p, 600.0 / 96, 600.0 / 96, 0, 0);
            }
        });
    }
};

bool dark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// True when one of the rows y - 1 ... y + 1 is dark over nearly all of x0 ... x1.
bool horizontalRule(const QImage &image, int y, int x0, int x1)
{
    for (int row = y - 1; row <= y + 1; ++row) {
        int count = 0;
        for (int x = x0; x <= x1; ++x)
            count += dark(image.pixel(x, row));
        if (count >= 0.98 * (x1 - x0 + 1))
            return true;
    }
    return false;
}

bool verticalRule(const QImage &image, int x, int y0, int y1)
{
    for (int col = x - 1; col <= x + 1; ++col) {
        int count = 0;
        for (int y = y0; y <= y1; ++y)
            count += dark(image.pixel(col, y));
        if (count >= 0.98 * (y1 - y0 + 1))
            return true;
    }
    return false;
}

// The leftmost column with a dark pixel inside the rectangle, or -1 when it is blank.
int inkLeft(const QImage &image, const QRect &r)
{
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (dark(image.pixel(x, y)))
                return x;
    return -1;
}

// Rows of the rectangle that hold a dark pixel.
int inkRows(const QImage &image, const QRect &r)
{
    int rows = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (dark(image.pixel(x, y))) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

void save(const QImage &image, const QString &name)
{
    const QByteArray build = qgetenv("TK_BUILD_DIR");
    if (build.isEmpty())
        return;
    const QDir dir(QString::fromLocal8Bit(build) + QStringLiteral("/render-output"));
    QDir().mkpath(dir.path());
    QVERIFY(image.save(dir.filePath(name)));
}

// The option boxes of page 1, in the order of the two radio groups' items.
struct Box
{
    const char *name;
    double left, top;
};
constexpr Box boxes[] = {
    {"Shape3", 34.01577, 340.1577},   {"Shape4", 188.9765, 340.1577},   {"Shape5", 34.01577, 362.83488},
    {"Shape6", 188.9765, 362.83488},  {"Shape7", 34.01577, 427.08689},  {"Shape24", 234.33086, 427.08689},
    {"Shape25", 393.07112, 427.08689}, {"Shape26", 34.01577, 449.76407}, {"Shape28", 234.33086, 449.76407},
    {"Shape29", 393.07112, 449.76407},
};

// True when the middle of the box (its outline kept out) has a dark pixel: both diagonals cross there.
bool crossed(const QImage &image, const Box &box)
{
    const QRect middle = deviceRect(box.left + 2.5, box.top + 2.5, 2.5, 2.5);
    return inkLeft(image, middle) >= 0;
}

} // namespace

class TestDeclarationRender : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        rt::setFormatSettings(rt::FormatSettings{QLatin1Char(','), QLatin1Char(' '), QStringLiteral("yyyy.MM.dd")});
        rt::setMessageHandler([](const rt::Message &m) { QFAIL(qPrintable(m.text)); });
        rep::fillHungarianResources();
        rep::installPageDrawer();

        m_untouched.prepare();
        fillForm(m_filled.form);
        m_filled.prepare();
        for (int i = 0; i < 2; ++i) {
            m_untouchedPages[i] = m_untouched.image(i);
            m_filledPages[i] = m_filled.image(i);
            save(m_untouchedPages[i], QStringLiteral("untouched-page%1.png").arg(i + 1));
            save(m_filledPages[i], QStringLiteral("filled-page%1.png").arg(i + 1));
        }
    }

    void pageSize()
    {
        for (int i = 0; i < 2; ++i)
            QCOMPARE(m_untouchedPages[i].size(), QSize(794, 1123));
    }

    void rules_data()
    {
        // Page, horizontal, position across the rule, extent along it (device pixels at zoom 1,
        // the 10 mm margins included), a few pixels short of the corners.
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("Line1 under the heading") << 0 << true << 91 << 70 << 478;
        QTest::newRow("Shape1 top") << 0 << true << 200 << 40 << 750;
        QTest::newRow("Shape1 bottom") << 0 << true << 510 << 40 << 750;
        QTest::newRow("Shape1 left") << 0 << false << 38 << 202 << 508;
        QTest::newRow("Shape1 right") << 0 << false << 752 << 202 << 508;
        QTest::newRow("Shape2 top") << 0 << true << 518 << 40 << 750;
        QTest::newRow("Line27 under item 2") << 0 << true << 722 << 40 << 750;
        QTest::newRow("Line25 between co-owners") << 0 << true << 828 << 40 << 750;
        QTest::newRow("Shape8 bottom") << 0 << true << 1054 << 40 << 750;
        QTest::newRow("Shape21 top") << 1 << true << 45 << 40 << 750;
        QTest::newRow("Line12 value column") << 1 << false << 567 << 48 << 440;
        QTest::newRow("Shape21 bottom") << 1 << true << 442 << 40 << 750;
        QTest::newRow("Line36 signature") << 1 << true << 729 << 392 << 716;
    }

    void rules()
    {
        QFETCH(int, page);
        QFETCH(bool, horizontal);
        QFETCH(int, at);
        QFETCH(int, from);
        QFETCH(int, to);
        for (const QImage *image : {&m_untouchedPages[page], &m_filledPages[page]}) {
            if (horizontal)
                QVERIFY(horizontalRule(*image, at, from, to));
            else
                QVERIFY(verticalRule(*image, at, from, to));
        }
    }

    void texts_data()
    {
        // Page, memo rectangle (report units), and whether ink shows on the untouched and on
        // the filled form.
        QTest::addColumn<int>("page");
        QTest::addColumn<QRectF>("memo");
        QTest::addColumn<bool>("untouched");
        QTest::addColumn<bool>("filled");
        QTest::newRow("Memo1 office heading") << 0 << QRectF(26.45671, 0, 423.30736, 50) << true << true;
        QTest::newRow("Memo2 BEVALLÁS") << 0 << QRectF(0, 71.81107, 718.1107, 37.7953) << true << true;
        QTest::newRow("Memo3 title") << 0 << QRectF(18.89765, 109.60637, 680.3154, 37.7953) << true << true;
        QTest::newRow("Memo58 taxpayer's name") << 0 << QRectF(166.29932, 200.31509, 536.69326, 18.89765) << false
                                                << true;
        QTest::newRow("Memo39 identification code picture") << 0 << QRectF(166.29932, 253.22851, 204.09462, 18.89765) << true
                                                   << true;
        QTest::newRow("Memo69 co-owner's name") << 0 << QRectF(166.29932, 687.87446, 536.69326, 18.89765) << false
                                                << false;
        QTest::newRow("SysMemo1 page number") << 0 << QRectF(0, 1024.25263, 718.1107, 18.89765) << true << true;
        QTest::newRow("Memo40 item 7") << 1 << QRectF(18.89765, 18.89765, 442.20501, 18.89765) << true << true;
        QTest::newRow("SysMemo2 date") << 1 << QRectF(215.43321, 597.16574, 139.84261, 18.89765) << true << true;
        QTest::newRow("Memo110 remark") << 1 << QRectF(215.43321, 857.95331, 495.11843, 151.1812) << false << true;
        QTest::newRow("SysMemo3 page number") << 1 << QRectF(0, 1024.25263, 718.1107, 18.89765) << true << true;
    }

    void texts()
    {
        QFETCH(int, page);
        QFETCH(QRectF, memo);
        QFETCH(bool, untouched);
        QFETCH(bool, filled);
        // Inset by two pixels so that neighbouring rules and frames stay out.
        const QRect r = deviceRect(memo.left(), memo.top(), memo.width(), memo.height()).adjusted(2, 2, -2, -2);
        QCOMPARE(inkLeft(m_untouchedPages[page], r) >= 0, untouched);
        QCOMPARE(inkLeft(m_filledPages[page], r) >= 0, filled);
    }

    void computedTax()
    {
        // Memo106, right-aligned: "0" on the untouched form, "250.800 Ft." when filled.
        const QRect r = deviceRect(559.37044, 377.953, 120.94496, 18.89765).adjusted(2, 2, -2, -2);
        const int untouched = inkLeft(m_untouchedPages[1], r);
        const int filled = inkLeft(m_filledPages[1], r);
        QVERIFY(untouched > r.right() - 15);
        QVERIFY(filled >= r.left());
        QVERIFY(filled < r.right() - 50);
    }

    void longRemarkWrapsInsideItsBox()
    {
        const QRect box = deviceRect(215.43321, 857.95331, 495.11843, 151.1812);
        QVERIFY(inkRows(m_filledPages[1], box.adjusted(2, 2, -2, -2)) > 3 * 8);
        // Nothing leaks below the box or right of it (the page number is further down).
        QCOMPARE(inkLeft(m_filledPages[1], QRect(box.left(), box.bottom() + 1, box.width(), 15)), -1);
        QCOMPARE(inkLeft(m_filledPages[1], QRect(box.right() + 1, box.top(), 794 - box.right() - 1, box.height())), -1);
    }

    void crosses_data()
    {
        QTest::addColumn<int>("subject");
        QTest::addColumn<int>("use");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("nothing chosen") << -1 << -1 << QStringList();
        QTest::newRow("jogi személy, bérlő") << 2 << 4 << QStringList{QStringLiteral("Shape5"), QStringLiteral("Shape28")};
        QTest::newRow("magánszemély, egyéb") << 0 << 5 << QStringList{QStringLiteral("Shape3"), QStringLiteral("Shape29")};
        QTest::newRow("egyesülés only") << 3 << -1 << QStringList{QStringLiteral("Shape6")};
    }

    void crosses()
    {
        QFETCH(int, subject);
        QFETCH(int, use);
        QFETCH(QStringList, marked);
        Declaration d;
        d.form.setItemIndex(QStringLiteral("CtlRadioGroup5"), subject);
        d.form.setItemIndex(QStringLiteral("CtlRadioGroup6"), use);
        d.prepare();
        const QImage image = d.image(0);
        for (const Box &box : boxes) {
            const QString name = QLatin1String(box.name);
            QVERIFY2(crossed(image, box) == marked.contains(name), qPrintable(name));
            // The box itself always shows: its left edge.
            QVERIFY2(verticalRule(image, deviceRect(box.left, box.top, 0, 0).x(), deviceRect(0, box.top + 2, 0, 0).y(),
                                  deviceRect(0, box.top + 5.5, 0, 0).y()),
                     qPrintable(name));
        }
    }

    void sameLineBreaksOnScreenAndPrinter_data()
    {
        // Each memo is the last object drawn inside its clip, so the shared layout object holds
        // its lines afterwards.
        QTest::addColumn<int>("page");
        QTest::addColumn<QRectF>("memo");
        QTest::addColumn<QString>("start");
        QTest::newRow("Memo3 title") << 0 << QRectF(18.89765, 109.60637, 680.3154, 37.7953)
                                     << QStringLiteral("2006 évi telekadó");
        QTest::newRow("Memo110 remark") << 1 << QRectF(215.43321, 857.95331, 495.11843, 151.1812)
                                        << QStringLiteral("A telek keleti");
    }

    void sameLineBreaksOnScreenAndPrinter()
    {
        QFETCH(int, page);
        QFETCH(QRectF, memo);
        QFETCH(QString, start);
        rep::draw::TrepDrawText &text = rep::draw::TrepDrawText::shared();
        const auto lines = [&text] {
            QStringList list;
            for (const auto &line : text.lines())
                list << line.text;
            return list;
        };

        m_filled.image(page, deviceRect(memo.left(), memo.top(), memo.width(), memo.height()));
        const QStringList screen = lines();
        m_filled.pdf(page, deviceRect(memo.left(), memo.top(), memo.width(), memo.height(), 600.0 / 96));
        const QStringList printer = lines();

        QVERIFY2(screen.value(0).startsWith(start), qPrintable(screen.value(0)));
        QVERIFY(screen.size() > 1);
        QCOMPARE(printer, screen);

        // The text layer of the whole printed declaration carries the same lines.
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("declaration.pdf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_filled.pdf(-1));
        file.close();
        QProcess process;
        process.start(pdftotext, {QStringLiteral("-layout"), file.fileName(), QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QStringList layout = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString &line : screen) {
            const QString wanted = line.simplified();
            const bool found = std::any_of(layout.begin(), layout.end(), [&](const QString &l) {
                return l.simplified().contains(wanted);
            });
            QVERIFY2(found, qPrintable(wanted));
        }
        // A line joined with the next one would show the break moved.
        QVERIFY(std::none_of(layout.begin(), layout.end(), [&](const QString &l) {
            return l.simplified().contains(screen[0].simplified() + QLatin1Char(' ') + screen[1].simplified());
        }));
    }

private:
    Declaration m_untouched;
    Declaration m_filled;
    QImage m_untouchedPages[2];
    QImage m_filledPages[2];
};

QTEST_MAIN(TestDeclarationRender)
#include "test_declarationrender.moc"
