// Reading and laying out the filling guide, as the guide window does when it renders.

#include "app/guide/captions.h"
#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>

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
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
