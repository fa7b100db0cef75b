#pragma once

#include <QString>

namespace app {

// The one form of every headless command's error line: "FILE: headline: reason." A message
// whose headline names the input, which stands at the front of the line already, leaves the
// name out; its lines are joined, and it ends with a full stop.
QString errorLine(const QString &input, const QString &message);

} // namespace app
