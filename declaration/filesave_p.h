#pragma once

#include <QByteArray>
#include <QString>

namespace decl {

// Writes the bytes to path through a temporary file beside it that replaces the target only
// when it is complete. Returns false and sets reason, in the user's terms where the cause can
// be told (a missing folder, a full disk, no right to write), when it could not; the old file
// is then left whole and no temporary file stays behind.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *reason);

} // namespace decl
