// Reading declarations back from paper: one A4 page image, as scanned at 300 and at 200 dpi, to
// its declaration (goals under 150 ms and 80 ms), and --scan's reading of a PDF of 100 scanned
// pages: the time per page, and the peak memory after 10 and after 100 pages, which must not
// grow with the count.

#include "bench/benchmain.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/scan/codescan.h"
#include "declaration/taxcomputation.h"
#include "report/pages/previewpages.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <chrono>

#include <sys/resource.h>

namespace {

// Page 2 of a usual declaration, its code on it, as a scanner at that resolution gives it.
QImage scannedPage(int dpi)
{
    decl::MapForm form;
    form.setText(QStringLiteral("StyledEdit35"), QString::fromUtf16(u"Kovács Őrs Tűzkő"));
    form.setText(QStringLiteral("StyledEdit36"), QString::fromUtf16(u"9999 Hollóberény, Fő tér 2."));
    form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500"));
    form.setText(QStringLiteral("NumEdit2"), QStringLiteral("300"));
    decl::szamolas(form);
    decl::DeclarationReport report(form);
    report.prepare();
    const double scale = dpi / 96.0;
    QImage image(int(794 * scale), int(1123 * scale), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    report.pages().DrawPage(1, &p, scale, scale, 0, 0);
    return image;
}

void BM_ReadScannedPage(benchmark::State &state)
{
    const QImage page = scannedPage(int(state.range(0)));
    for (auto _ : state) {
        const decl::ScannedPage scanned = decl::scanImage(page, QStringLiteral("lap"));
        if (!scanned.draft) {
            state.SkipWithError(qPrintable(scanned.error));
            break;
        }
    }
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A PDF of scanned pages, each the 200-dpi page image, as office scanners write them.
QString scannedPdf(const QTemporaryDir &dir, int pages)
{
    const QString path = dir.filePath(QStringLiteral("lapok-%1.pdf").arg(pages));
    const QImage page = scannedPage(200);
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(200);
    QPainter p(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        p.drawImage(QRect(0, 0, writer.width(), writer.height()), page);
    }
    return path;
}

void BM_ScanPdf(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const QString path = scannedPdf(dir, count);
    int read = 0;
    double seconds = 0;
    for (auto _ : state) {
        read = 0;
        const auto start = std::chrono::steady_clock::now();
        decl::scanFile(path, [&](const decl::ScannedPage &page) { read += page.draft ? 1 : 0; });
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (read != count)
        state.SkipWithError("not every page read");
    state.counters["ms_per_page"] = seconds * 1000 / count;
    state.counters["peak_MB"] = double(peakKilobytes()) / 1024;
}

} // namespace

BENCHMARK(BM_ReadScannedPage)->Arg(300)->Arg(200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
// The smaller file first: the peak after it is the baseline the larger one must keep.
BENCHMARK(BM_ScanPdf)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    rt::initFormatSettings();
    QGuiApplication application(argc, argv);
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return tk::bench::runBenchmarks(argc, argv);
}
