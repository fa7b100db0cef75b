#pragma once

#include <QString>

namespace app {

class RecoveryStore;
class TForm1;

// At start: offers back the work of programs that ended with unsaved changes, newest first,
// until one is brought back. Started with a file, only a copy of that file is offered, and the
// file is opened unless its copy is brought back. A damaged copy is named, set aside and the
// start goes on. The store must be open.
void offerRecoveredWork(TForm1 &form, RecoveryStore &store, const QString &openFile);

} // namespace app
