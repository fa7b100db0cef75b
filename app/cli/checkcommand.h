#pragma once

#include <QStringList>

class QTextStream;

namespace app {

// "telekado --check FILE.tkd…": checks each declaration file as "Nyomtatás" would check the
// form. Writes one line per finding to out, "FILE: field: message", and one line per file that
// cannot be read to err, "FILE and reason". Returns 0 when every file was read and has nothing to
// find, 1 when any has a finding or cannot be read, 2 when no file is given. Needs no display.
int runCheckCommand(const QStringList &files, QTextStream &out, QTextStream &err);

} // namespace app
