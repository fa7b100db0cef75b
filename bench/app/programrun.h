#pragma once

// The real program run as a user runs it from a shell, without a display: its wall time, its
// own processor time and its peak memory; and the files it is given.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace tk::bench {

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0; // the program's own, user and system: what other load does not change
    double userSeconds = 0; // of that, outside the kernel: the program's code without the file system
    long maxRssKb = 0; // of the program or, with helper processes, the largest of them
    int exitCode = -1;
};

// Runs the program with the arguments and no display, as the command line is meant to run.
inline Run runProgram(const std::vector<std::string> &arguments)
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
    run.userSeconds = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace tk::bench
