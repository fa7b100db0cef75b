// The declaration file and the checks before printing, on a fully filled form: opening a file
// (read, parse, check; goal under 5 ms), saving one (goal under 5 ms) and checking the whole
// form (goal under 50 µs). Medians of nine repetitions.

#include "bench/filledform.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"

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

} // namespace

BENCHMARK(BM_OpenDraft)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDraft)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckForm)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckUntouchedForm)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
