// Process start to main window shown: the program is started as a child on the X display in
// $DISPLAY and the time until the X server maps its top-level window is measured. Its data
// folder is an empty one of its own: a start without recovery copies.

#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void BM_StartupToMainWindowShown(benchmark::State &state)
{
    xcb_connection_t *conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) {
        state.SkipWithError("no X display: run under Xvfb (bench/run.sh does)");
        return;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(conn);

    char data[] = "/tmp/tk-bench-startup-XXXXXX";
    if (!mkdtemp(data)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            unsetenv("QT_QPA_PLATFORM");
            setenv("XDG_DATA_HOME", data, 1);
            execl(TK_PROGRAM, TK_PROGRAM, static_cast<char *>(nullptr));
            _exit(127);
        }
        bool mapped = false;
        while (!mapped) {
            xcb_generic_event_t *ev = xcb_wait_for_event(conn);
            if (!ev)
                break;
            if ((ev->response_type & ~0x80) == XCB_MAP_NOTIFY)
                mapped = true;
            free(ev);
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        if (!mapped) {
            state.SkipWithError("lost the X connection");
            break;
        }
        // Drain the unmap and destroy notifications of this run.
        xcb_flush(conn);
        while (xcb_generic_event_t *ev = xcb_poll_for_event(conn))
            free(ev);
    }
    xcb_disconnect(conn);
    [[maybe_unused]] const int removed = std::system((std::string("rm -rf ") + data).c_str());
}

} // namespace

BENCHMARK(BM_StartupToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
