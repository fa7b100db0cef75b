// The recovery copy of a fully filled form. On the window's thread: the form read from the
// controls and made into the copy's bytes, handed to the writer (goal: under 2 ms). On the
// writer's thread: the bytes written, synced and renamed into place with the folder synced, for
// comparison. What start-up adds before the window is shown (the recovery folder opened and
// locked, the settings read) and just after (the folder searched for copies of ended programs),
// with no copy there. Medians of nine repetitions.

#include "app/commands/draftdocument.h"
#include "app/window/form1.h"
#include "app/commands/recoverycopy.h"
#include "app/commands/recentfiles.h"
#include "app/commands/recoverykeeper.h"
#include "bench/benchmain.h"
#include "bench/filledform.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"
#include "runtime/ui/application.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void BM_RecoveryCopyOnTheWindowThread(benchmark::State &state)
{
    QTemporaryDir dir;
    app::RecoveryStore store(dir.filePath(u"recovery"_s));
    QString reason;
    if (!store.open(&reason)) {
        state.SkipWithError(qPrintable(reason));
        return;
    }
    app::TForm1 form;
    decl::applyDraft(decl::draftOf(tk::bench::filledForm()), form.form());
    form.keepRecoveryCopies(store);
    app::RecoveryKeeper &keeper = *form.recovery();
    int n = 0;
    for (auto _ : state) {
        // A new letter each time, as typing gives; the edit itself is not the copy's cost.
        state.PauseTiming();
        form.form().setText(u"StyledEdit35"_s, u"Kovács Őrs %1"_s.arg(++n));
        state.ResumeTiming();
        QByteArray bytes = keeper.snapshot();
        store.write(std::move(bytes));
    }
    store.flush();
    state.counters["bytes"] = double(QFileInfo(store.copyPath()).size());
}

void BM_RecoveryCopyWrittenToDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray bytes = app::recoveryBytes(
        {decl::draftOf(tk::bench::filledForm()), u"/home/kovacs/bevallas.tkd"_s, QDateTime::currentDateTimeUtc()});
    const QString path = dir.filePath(u"copy.tkr"_s);
    QString reason;
    for (auto _ : state)
        if (!app::writeDurably(path, bytes, &reason))
            state.SkipWithError(qPrintable(reason));
}

void BM_StartupWithoutRecoveryCopies(benchmark::State &state)
{
    QTemporaryDir dir;
    {
        app::RecentFiles recent(dir.filePath(u"config/telekado.conf"_s));
        recent.add(u"/home/kovacs/bevallas.tkd"_s);
    }
    for (auto _ : state) {
        app::RecentFiles recent(dir.filePath(u"config/telekado.conf"_s));
        app::RecoveryStore store(dir.filePath(u"data/recovery"_s));
        QString reason;
        if (!store.open(&reason))
            state.SkipWithError(qPrintable(reason));
        if (!store.orphans().empty())
            state.SkipWithError("a copy where none should be");
    }
}

} // namespace

BENCHMARK(BM_StartupWithoutRecoveryCopies)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecoveryCopyOnTheWindowThread)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecoveryCopyWrittenToDisk)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    tk::bench::preferOffscreen();
    rt::initFormatSettings();
    rt::Application application(argc, argv);
    return tk::bench::runBenchmarks(argc, argv);
}
