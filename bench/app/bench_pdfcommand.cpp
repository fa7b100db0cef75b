// The command line's PDFs, measured on the real program as a user runs it, without a display:
//   - the whole process "telekado --pdf out.pdf one.tkd" (goal: median under 150 ms);
//   - 100 and 1000 declaration files into a folder in one process: the time per declaration
//     (goal: under 10 ms; the program's own processor time beside it, which other load on the
//     machine does not change) and the process's peak memory, which must not grow with the count.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

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

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0; // the program's own, user and system: what other load does not change
    long maxRssKb = 0;
    int exitCode = -1;
};

// Runs the program with the arguments and no display, as the command line is meant to run.
Run runProgram(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    std::string program = TK_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string &a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0
            && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(entry);
    }
    std::vector<char *> envp;
    for (std::string &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    Run run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    run.maxRssKb = usage.ru_maxrss;
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

void BM_PdfsOfDraftsIntoAFolder(benchmark::State &state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("pdf"));
    std::vector<std::string> args{"--pdf", dir.filePath(QStringLiteral("pdf")).toStdString()};
    for (int i = 0; i < count; ++i) {
        const QString input = dir.filePath(QStringLiteral("bevallas%1.tkd").arg(i));
        writeFile(input, draft(i));
        args.push_back(input.toStdString());
    }
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

} // namespace

BENCHMARK(BM_PdfOfOneDraftWholeProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PdfsOfDraftsIntoAFolder)
    ->Arg(100)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
