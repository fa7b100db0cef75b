#pragma once

#include <QString>

namespace app {

// The program with its window: the main window and the guide, the recent files, the recovery
// copies and the end signals; then the file of the command line, if any. Runs the event loop
// of the application made before and returns its exit code.
int runWindow(const QString &openFile);

} // namespace app
