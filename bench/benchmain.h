#pragma once

// What every benchmark program's main shares.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

namespace tk::bench {

// The benchmarks draw into images and offscreen widgets: no display unless the caller names a
// platform. Call it before the application object exists.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the benchmarks the command line selects, after the application object has taken its
// own arguments; 1 for an argument nobody knows.
inline int runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tk::bench
