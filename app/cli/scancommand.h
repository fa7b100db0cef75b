#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace app {

// "--scan FOLDER FILE...": every page of every input that carries a declaration's code becomes
// a declaration file in FOLDER, named after its input ("lap.tkd", "lap-2.tkd" for page 2 of a
// PDF of several pages; " (2)" and on added where that name is taken, never overwriting). An
// input or page without a readable code is one line "FILE[, N. oldal]: headline: reason." and
// the others are still read. Returns the exit code: 0 when every page gave a declaration, else 1.
int scanDeclarations(const QString &folder, const QStringList &inputs,
                     const std::function<void(const QString &)> &errorLine);

} // namespace app
