// The declaration file and the checks before printing, on a fully filled form: opening a file
// (read, parse, check; goal under 5 ms), saving one (goal under 5 ms) and checking the whole
// form, each value measured in its box on paper (goal under 2 ms: it runs before a print). A
// field's checks as it is left (goal under 200 µs), and a value far too long for its box, which
// is measured only as far as the box reaches (goal under 10 ms). Medians of nine repetitions.

#include "bench/benchmain.h"
#include "bench/filledform.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "declaration/printfit.h"
#include "runtime/formatsettings.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// The filled form, its numbers read with a decimal comma.
decl::MapForm fullForm()
{
    rt::FormatSettings settings;
    settings.decimalSeparator = u',';
    rt::setFormatSettings(settings);
    return tk::bench::filledForm();
}

void BM_OpenDraft(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bevallas.tkd"));
    if (!decl::saveDraft(path, decl::draftOf(fullForm()))) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        std::optional<decl::Draft> draft = decl::loadDraft(path);
        if (!draft) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(draft);
    }
}

void BM_SaveDraft(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bevallas.tkd"));
    const decl::MapForm form = fullForm();
    for (auto _ : state) {
        // The draft is taken from the form each time, as the save command will.
        if (!decl::saveDraft(path, decl::draftOf(form))) {
            state.SkipWithError("save failed");
            break;
        }
    }
}

void BM_CheckForm(benchmark::State &state)
{
    const decl::MapForm form = fullForm();
    const QDate today(2006, 6, 1);
    if (!decl::checkForm(form, today).isEmpty()) {
        state.SkipWithError("the full form should have no findings");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(decl::checkForm(form, today));
}

void BM_CheckUntouchedForm(benchmark::State &state)
{
    const decl::MapForm form;
    const QDate today(2006, 6, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(decl::checkForm(form, today));
}

// The taxpayer's name as it is left: its own rule and its fit.
void BM_CheckField(benchmark::State &state)
{
    const decl::MapForm form = fullForm();
    const QDate today(2006, 6, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(decl::findingsFor(u"StyledEdit35"_s, form, today));
}

// 0: a 50-million-character name; 1: a remark of 10,000 lines.
void BM_FitHugeValue(benchmark::State &state)
{
    const bool remark = state.range(0) == 1;
    const QString key = remark ? u"m44"_s : u"m1"_s;
    const QString value = remark ? u"A megjegyzés egy sora.\r\n"_s.repeated(10000) : QString(50'000'000, u'x');
    const std::optional<decl::PrintFit> fit = decl::printFit(key, value);
    if (!fit || fit->whole) {
        state.SkipWithError("the value should be measured and found too long");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(decl::printFit(key, value));
}

} // namespace

BENCHMARK(BM_CheckField)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FitHugeValue)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_OpenDraft)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDraft)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckForm)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckUntouchedForm)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    // The fit of each value is measured with the fonts, which need a GUI application.
    tk::bench::preferOffscreen();
    QGuiApplication application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
