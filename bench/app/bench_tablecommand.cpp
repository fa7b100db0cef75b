// The office's register on the real program, without a display: "--table" of 1,000 and 10,000
// declaration files, and "--from-table" of the tables they give (goal: under 0.5 ms per
// declaration each, the program's own processor time beside the wall time), with the process's
// peak memory, which must not grow with the count.

#include "programrun.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace {

using tk::bench::Run;
using tk::bench::runProgram;
using tk::bench::writeFile;

// A filled declaration with a co-owner and a remark of two lines, different in each file.
QByteArray draft(int n)
{
    return QStringLiteral(R"({"format": "telekado-bevallas", "version": 1,
 "choices": {"CtlRadioGroup1": 0, "CtlRadioGroup5": 2, "CtlRadioGroup6": 4},
 "fields": {"m1": "Kovácsné Őri Űrsula %1", "m2": "9999 Hollóberény, Fő tér %1.", "m3": "15789934-2-51",
  "m4": "8365670003", "m7": "Hollóberény, Kossuth utca %1.", "m8": "%1/2", "m12": "Nagy Ödön %1",
  "m13": "Győr, Ősz utca 3.", "m14": "30000010-1-01", "m15": "8412340779", "m16": "1/2", "m27": "%2",
  "m28": "300", "m30": "40,5", "m39": "2006.01.01", "m42": "Kovács Ödön",
  "m44": "Első sor; \"idézve\"\nMásodik sor, ékezetekkel: őű"}})")
        .arg(n)
        .arg(1500 + n)
        .toUtf8();
}

// A folder of `count` declaration files, made once per count.
const QTemporaryDir &drafts(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    std::unique_ptr<QTemporaryDir> &dir = made[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkdir(QStringLiteral("in"));
        for (int i = 0; i < count; ++i)
            writeFile(dir->filePath(QStringLiteral("in/bevallas%1.tkd").arg(i, 5, 10, QLatin1Char('0'))), draft(i));
    }
    return *dir;
}

void report(benchmark::State &state, const Run &run, int count)
{
    state.counters["ms_per_declaration"] = 1000 * run.seconds / count;
    state.counters["cpu_ms_per_declaration"] = 1000 * run.cpuSeconds / count;
    state.counters["user_ms_per_declaration"] = 1000 * run.userSeconds / count;
    state.counters["peak_rss_MB"] = double(run.maxRssKb) / 1024;
}

void BM_TableOfFiles(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QTemporaryDir &dir = drafts(count);
    const std::vector<std::string> args{"--table", dir.filePath(QStringLiteral("tabla.csv")).toStdString(),
                                        dir.filePath(QStringLiteral("in")).toStdString()};
    Run last;
    for (auto _ : state) {
        last = runProgram(args);
        if (last.exitCode != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(last.seconds);
    }
    report(state, last, count);
}

void BM_FilesFromTable(benchmark::State &state)
{
    const int count = int(state.range(0));
    const QTemporaryDir &dir = drafts(count);
    const QString table = dir.filePath(QStringLiteral("tabla.csv"));
    if (!QFile::exists(table)
        && runProgram({"--table", table.toStdString(), dir.filePath(QStringLiteral("in")).toStdString()}).exitCode != 0) {
        state.SkipWithError("no table");
        return;
    }
    Run last;
    int round = 0;
    for (auto _ : state) {
        const QString out = dir.filePath(QStringLiteral("out%1").arg(round++));
        QDir().mkdir(out);
        // Each run into a folder of its own, kept to the end: deleting thousands of files just
        // before makes the next run's file creation slow on ext4, which is not the program's cost.
        last = runProgram({"--from-table", table.toStdString(), out.toStdString()});
        if (last.exitCode != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(last.seconds);
    }
    report(state, last, count);
}

} // namespace

BENCHMARK(BM_TableOfFiles)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_FilesFromTable)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
