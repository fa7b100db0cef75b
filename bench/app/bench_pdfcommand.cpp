// The command line's PDFs, measured on the real program as a user runs it, without a display:
//   - the whole process "telekado --pdf out.pdf one.tkd" (goal: median under 150 ms);
//   - 100 and 1000 declaration files into a folder in one process: the time per declaration
//     (goal: under 10 ms; the program's own processor time beside it, which other load on the
//     machine does not change) and the process's peak memory, which must not grow with the count;
//   - 1000 files with --jobs 1 and --jobs 2 in one run, and the ratio (goal: at least 1.7).

#include "programrun.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <vector>

namespace {

using tk::bench::Run;
using tk::bench::runProgram;
using tk::bench::writeFile;

// A filled declaration, different in each file.
QByteArray draft(int n)
{
    return QStringLiteral(R"({"format": "telekado-bevallas", "version": 1,
 "choices": {"CtlRadioGroup1": 0, "CtlRadioGroup5": 2, "CtlRadioGroup6": 4},
 "fields": {"m1": "Kovácsné Őri Űrsula %1", "m2": "9999 Hollóberény, Fő tér %1.", "m3": "15789934-2-51",
  "m4": "8365670003", "m7": "Hollóberény, Kossuth utca %1.", "m8": "%1/2", "m27": "%2", "m28": "300",
  "m30": "40,5", "m39": "2006. január 1.", "m42": "Kovács Ödön", "m44": "Első sor\nMásodik sor, ékezetekkel: őű"}})")
        .arg(n)
        .arg(1500 + n)
        .toUtf8();
}

void BM_PdfOfOneDraftWholeProcess(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("kovacs.tkd"));
    writeFile(input, draft(1));
    const std::vector<std::string> args{"--pdf", dir.filePath(QStringLiteral("kovacs.pdf")).toStdString(),
                                        input.toStdString()};
    for (auto _ : state) {
        const Run run = runProgram(args);
        if (run.exitCode != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(run.seconds);
    }
}

// "--pdf FOLDER --jobs N" and the files, which are written into dir.
std::vector<std::string> pdfArguments(const QTemporaryDir &dir, int count, int jobs)
{
    QDir(dir.path()).mkdir(QStringLiteral("pdf"));
    std::vector<std::string> args{"--pdf", dir.filePath(QStringLiteral("pdf")).toStdString(), "--jobs",
                                  std::to_string(jobs)};
    for (int i = 0; i < count; ++i) {
        const QString input = dir.filePath(QStringLiteral("bevallas%1.tkd").arg(i));
        writeFile(input, draft(i));
        args.push_back(input.toStdString());
    }
    return args;
}

void BM_PdfsOfDraftsIntoAFolder(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    const std::vector<std::string> args = pdfArguments(dir, count, int(state.range(1)));
    Run last;
    for (auto _ : state) {
        last = runProgram(args);
        if (last.exitCode != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["ms_per_declaration"] = 1000 * last.seconds / count;
    state.counters["cpu_ms_per_declaration"] = 1000 * last.cpuSeconds / count;
    state.counters["peak_rss_MB"] = double(last.maxRssKb) / 1024;
}

// One run with one job and with two on the same files: how much the second core gives (goal: at
// least 1.7 times as fast on a machine of two cores).
void BM_PdfJobsOneAndTwo(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    std::vector<std::string> args = pdfArguments(dir, count, 1);
    Run one;
    Run two;
    for (auto _ : state) {
        args[3] = "1";
        one = runProgram(args);
        args[3] = "2";
        two = runProgram(args);
        if (one.exitCode != 0 || two.exitCode != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(one.seconds + two.seconds);
    }
    state.counters["jobs1_s"] = one.seconds;
    state.counters["jobs2_s"] = two.seconds;
    state.counters["speed_up"] = two.seconds > 0 ? one.seconds / two.seconds : 0;
    state.counters["jobs2_peak_rss_MB"] = double(two.maxRssKb) / 1024;
}

} // namespace

BENCHMARK(BM_PdfOfOneDraftWholeProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PdfsOfDraftsIntoAFolder)
    ->ArgNames({"files", "jobs"})
    ->Args({100, 1})
    ->Args({1000, 1})
    ->Args({1000, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_PdfJobsOneAndTwo)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
