// Opening and saving a declaration file through the main window's commands, on a fully filled
// form: the file read and checked, every control set, the computation and the title (goal: under
// 5 ms); the form read from the controls and written atomically (goal: under 5 ms). Medians of
// nine repetitions.

#include "app/window/form1.h"
#include "bench/benchmain.h"
#include "bench/filledform.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"
#include "runtime/ui/application.h"

#include <QAction>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

decl::Draft fullDraft()
{
    return decl::draftOf(tk::bench::filledForm());
}

void BM_OpenDraftInTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"teli.tkd"_s);
    decl::saveDraft(path, fullDraft());
    app::TForm1 form;
    for (auto _ : state)
        form.openFile(path);
    if (form.windowTitle() != u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal - teli.tkd"_s)
        state.SkipWithError("the file was not opened");
}

void BM_SaveDraftFromTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"teli.tkd"_s);
    decl::saveDraft(path, fullDraft());
    app::TForm1 form;
    form.openFile(path);
    QAction *save = form.findChild<QAction *>(u"Ments1"_s);
    for (auto _ : state)
        save->trigger();
}

} // namespace

BENCHMARK(BM_OpenDraftInTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SaveDraftFromTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    rt::initFormatSettings();
    rt::Application application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
