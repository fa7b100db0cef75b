// One repaint of the preview workspace (the grey background, the visible page frames and the
// pages' texts) at 100% and 200%, with pages of about 100 text items each. Goal: under 8 ms.
// Opening the preview window (built, shown, first painted, closed) and a change of zoom with the
// repaint it causes: no slower than before the zoom kept its page.

#include "bench/benchmain.h"
#include "report/preview/previewoptions.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/print/pagesource.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

namespace {

// Two A4 pages, each with 100 lines of form-like text in two columns.
class TextPages : public rep::PageSource
{
public:
    int count() const override { return 2; }
    QSize pageSize(int) const override { return QSize(794, 1123); }
    rep::PagePrintParams printParams(int) const override { return {}; }
    void drawPage(int index, QPainter &painter, double sx, double sy, double ox, double oy) override
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(qMax(1, int(11 * sy)));
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < 100; ++i) {
            const double x = (i % 2 == 0 ? 40 : 420) * sx + ox;
            const double y = (60 + (i / 2) * 20) * sy + oy;
            painter.drawText(QPointF(x, y), QStringLiteral("%1. mező: Hollóberény, telekadó %2 m²").arg(i + 1).arg(index * 1000 + i));
        }
    }
    void saveToFile(const QString &) override {}
};

void repaint(benchmark::State &state, double zoom)
{
    TextPages pages;
    rep::TrepPreviewForm form(nullptr);
    rep::TrepPreviewOptions options;
    options.Maximized = false;
    options.Zoom = zoom;
    form.init(&pages, options);
    form.resize(1000, 800);
    form.show();
    QApplication::processEvents();
    QWidget *viewport = form.preview()->workspace()->viewport();
    // Half-way down the first page, so that at 100% two pages share the view.
    form.preview()->workspace()->verticalScrollBar()->setValue(700);
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["zoom%"] = zoom * 100;
}

void BM_PreviewRepaint100(benchmark::State &state)
{
    repaint(state, 1.0);
}
void BM_PreviewRepaint200(benchmark::State &state)
{
    repaint(state, 2.0);
}

// The window as the print command opens it, until its first paint, then closed and destroyed.
void BM_PreviewOpen(benchmark::State &state)
{
    TextPages pages;
    rep::TrepPreviewOptions options;
    options.Maximized = false;
    for (auto _ : state) {
        rep::TrepPreviewForm form(nullptr);
        form.init(&pages, options);
        form.resize(1000, 800);
        form.show();
        QApplication::processEvents();
        QWidget *viewport = form.preview()->workspace()->viewport();
        QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        form.close();
    }
}

// On page 2, the zoom set to 200% and back to 100%, each with its repaint.
void BM_PreviewZoomChange(benchmark::State &state)
{
    TextPages pages;
    rep::TrepPreviewForm form(nullptr);
    rep::TrepPreviewOptions options;
    options.Maximized = false;
    form.init(&pages, options);
    form.resize(1000, 800);
    form.show();
    QApplication::processEvents();
    rep::TrepPreview *preview = form.preview();
    preview->last();
    QWidget *viewport = preview->workspace()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (const double zoom : {2.0, 1.0}) {
            preview->setZoom(zoom);
            viewport->render(&image);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_PreviewOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewZoomChange)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewRepaint100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewRepaint200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
