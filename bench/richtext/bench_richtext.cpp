// Reading and laying out the filling guide, as the guide window does when it renders.

#include "app/guide/captions.h"
#include "bench/benchmain.h"
#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

namespace {

// The viewer's text area less the vertical bar.
constexpr int guideWidth = 606;

void BM_ReadGuide(benchmark::State &state)
{
    const QByteArray rtf = guide::guideRtf();
    for (auto _ : state) {
        QTextDocument d;
        rtf::readRtf(rtf, d);
        benchmark::DoNotOptimize(d.characterCount());
    }
}
BENCHMARK(BM_ReadGuide)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayOutGuide(benchmark::State &state)
{
    const QByteArray rtf = guide::guideRtf();
    for (auto _ : state) {
        QTextDocument d;
        rtf::readRtf(rtf, d);
        const rtf::Fit fit = rtf::fitDocument(d, guideWidth, rtf::maxRenderSize);
        benchmark::DoNotOptimize(fit.usedHeight);
    }
}
BENCHMARK(BM_ReadAndLayOutGuide)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RenderGuide(benchmark::State &state)
{
    const QByteArray rtf = guide::guideRtf();
    for (auto _ : state) {
        QTextDocument d;
        rtf::readRtf(rtf, d);
        const QImage image = rtf::renderDocument(d, QSize(guideWidth, 381), true, Qt::white, Qt::black);
        benchmark::DoNotOptimize(image.height());
    }
}
BENCHMARK(BM_RenderGuide)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
