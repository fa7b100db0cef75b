#include "app/window/terminationsignals.h"

#include "logging_p.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
    errno = saved;
}

} // namespace

void onTerminationSignals(QObject *context, std::function<void()> handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        qCWarning(lcWindow, "no pipe for the end signals: %s", std::strerror(errno));
        return;
    }
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
        char bytes[16];
        while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
        }
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP})
        if (::sigaction(signal, &action, nullptr) != 0)
            qCWarning(lcWindow, "signal %d cannot be caught: %s", signal, std::strerror(errno));
}

} // namespace app
