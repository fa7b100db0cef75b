// The filled declaration printed into a PDF file at the printer's resolution (prepare, print
// job, closed file; goal under 40 ms), the program's own PDF of it (prepare and the file written;
// the pages alone drawn into PDF bytes), what its 2D code adds, and one repaint of the preview workspace on it at 100% and
// 200% (goal under 8 ms).

#include "bench/benchmain.h"
#include "declaration/declarationcode.h"
#include "declaration/declarationpdf.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/draw/qrcode.h"
#include "report/model/report.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/print/printers.h"
#include "report/print/printjob.h"
#include "report/render/pagedrawer.h"
#include "report/render/pdfdocument.h"
#include "report/render/reportpagesource.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

void fill(decl::MapForm &form)
{
    form.setText(QStringLiteral("StyledEdit35"), QString::fromUtf16(u"Kovács Őrs Tűzkő"));
    form.setText(QStringLiteral("StyledEdit36"), QString::fromUtf16(u"9999 Hollóberény, Fő tér 2."));
    form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500"));
    form.setText(QStringLiteral("NumEdit2"), QStringLiteral("300"));
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 2);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 4);
    decl::szamolas(form);
}

void BM_PrintDeclarationToPdfFile(benchmark::State &state)
{
    decl::MapForm form;
    fill(form);
    decl::DeclarationReport report(form);
    QTemporaryDir dir;
    rep::TrepPrinter printer(QStringLiteral("bench"));
    printer.outputFileName = dir.filePath(QStringLiteral("bevallas.prn"));
    double dpi = 0;
    for (auto _ : state) {
        if (!report.prepare()) {
            state.SkipWithError("prepare failed");
            break;
        }
        rep::ReportPageSource source(report.pages());
        rep::PrintJob job;
        job.run(source, printer, rep::PrintJobSettings{});
        dpi = printer.dpiX();
    }
    state.counters["dpi"] = dpi;
}

void BM_SaveDeclarationPdf(benchmark::State &state)
{
    decl::MapForm form;
    fill(form);
    decl::DeclarationReport report(form);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bevallas.pdf"));
    for (auto _ : state) {
        if (!report.prepare() || !decl::saveDeclarationPdf(report, path)) {
            state.SkipWithError("no PDF");
            break;
        }
    }
}

// What the 2D code adds to one declaration's PDF, beyond drawing its modules (which the PDF
// benchmarks include): the payload and its symbol, for a form whose name changes each time, so
// that no symbol is kept from the time before (goal: under 1 ms).
void BM_DeclarationCode(benchmark::State &state)
{
    decl::MapForm form;
    fill(form);
    int n = 0;
    for (auto _ : state) {
        form.setText(QStringLiteral("StyledEdit35"), QString::fromUtf16(u"Kovács Őrs %1").arg(++n));
        const QString code = decl::declarationCode(form);
        if (code.isEmpty()) {
            state.SkipWithError("no code");
            break;
        }
        benchmark::DoNotOptimize(rep::draw::encodeQR(code, rep::draw::qrMedium));
    }
}

void BM_DeclarationPagesToPdfBytes(benchmark::State &state)
{
    decl::MapForm form;
    fill(form);
    decl::DeclarationReport report(form);
    report.prepare();
    rep::ReportPageSource source(report.pages());
    qsizetype size = 0;
    for (auto _ : state)
        size = rep::pagesToPdf(source, {QStringLiteral("BEVALLÁS"), QStringLiteral("Kovács"), QString()}).size();
    state.counters["bytes"] = double(size);
}

void repaint(benchmark::State &state, double zoom)
{
    decl::MapForm form;
    fill(form);
    decl::DeclarationReport report(form);
    report.prepare();
    rep::ReportPageSource source(report.pages());
    rep::TrepPreviewForm preview(nullptr);
    rep::TrepPreviewOptions options = report.report().PreviewOptions;
    options.Maximized = false;
    options.Zoom = zoom;
    preview.init(&source, options);
    preview.resize(1000, 800);
    preview.show();
    QApplication::processEvents();
    QWidget *viewport = preview.preview()->workspace()->viewport();
    // Near the end of the first page, so that at 100% both pages share the view.
    preview.preview()->workspace()->verticalScrollBar()->setValue(int(700 * zoom));
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["zoom%"] = zoom * 100;
    if (qEnvironmentVariableIsSet("TK_BENCH_SAVE"))
        image.save(QStringLiteral("/tmp/repaint%1.png").arg(int(zoom * 100)));
}

void BM_PreviewRepaintDeclaration100(benchmark::State &state)
{
    repaint(state, 1.0);
}
void BM_PreviewRepaintDeclaration200(benchmark::State &state)
{
    repaint(state, 2.0);
}

BENCHMARK(BM_PrintDeclarationToPdfFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDeclarationPdf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
// The symbol alone for a text of a usual declaration's size: ZXing's encoder, most of the above.
void BM_SymbolOnly(benchmark::State &state)
{
    int n = 0;
    const QString base = QString::fromUtf16(u"TKD1P\n288.420 Ft.\n") + QString(250, u'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(rep::draw::encodeQR(base + QString::number(++n), rep::draw::qrMedium));
}
BENCHMARK(BM_SymbolOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeclarationCode)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DeclarationPagesToPdfBytes)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewRepaintDeclaration100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewRepaintDeclaration200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    rt::initFormatSettings();
    QApplication app(argc, argv);
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return tk::bench::runBenchmarks(argc, argv);
}
