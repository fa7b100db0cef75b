#pragma once

#include <functional>

class QObject;

namespace app {

// Runs the handler on the window's thread, from the event loop, whenever SIGTERM or SIGHUP
// arrives (the end of the session, a shutdown, a closed terminal). The signal handler only
// writes a byte into a pipe; the rest waits for the loop. Once per program.
void onTerminationSignals(QObject *context, std::function<void()> handler);

} // namespace app
