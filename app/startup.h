#pragma once

namespace app {

// Runs the program: runtime settings, the application object, the windows, the message loop.
int run(int argc, char **argv);

} // namespace app
