// The declaration file and the checks before printing, on a fully filled form: opening a file
// (read, parse, check; goal under 5 ms), saving one (goal under 5 ms) and checking the whole
// form (goal under 50 µs). Medians of nine repetitions.

#include "declaration/catalogue.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// Every field filled as a user would, valid codes, a remark of twenty lines.
decl::MapForm fullForm()
{
    rt::FormatSettings settings;
    settings.decimalSeparator = u',';
    rt::setFormatSettings(settings);
    decl::MapForm form;
    int n = 0;
    for (const decl::Field &f : decl::fields()) {
        ++n;
        switch (f.kind) {
        case decl::FieldKind::TextEdit:
            form.setText(f.component, u"Kovácsné Őri Űrsula, 9999 Hollóberény, Fő tér %1."_s.arg(n));
            break;
        case decl::FieldKind::TaxNumber: form.setText(f.component, QStringLiteral("15789934-2-51")); break;
        case decl::FieldKind::TaxId: form.setText(f.component, QStringLiteral("8365670003")); break;
        case decl::FieldKind::NumericEdit: form.setText(f.component, QStringLiteral("%1,5").arg(n * 100)); break;
        case decl::FieldKind::RichEdit: {
            QStringList lines;
            for (int i = 0; i < 20; ++i)
                lines.append(u"A megjegyzés %1. sora, ékezetekkel: árvíztűrő tükörfúrógép."_s.arg(i + 1));
            form.setText(f.component, lines.join(u"\r\n"_s));
            break;
        }
        }
    }
    form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 0);
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 0);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 1);
    form.setText(QStringLiteral("StyledEdit2"), QStringLiteral("1998"));
    return form;
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
