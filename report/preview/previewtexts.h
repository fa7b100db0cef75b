#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace rep {

// Looks a report text up by key; a key without an entry comes back as the key itself.
using TextLookup = std::function<QString(const QString &key)>;

// The Hungarian texts for when no resource table is connected (tests, benchmarks).
QString previewFallbackText(const QString &key);

// The lookup to use: the given one, or the built-in texts when it is empty.
TextLookup effectiveLookup(TextLookup lookup);

// Replaces each "%d" in order by the next number ("%d. oldal %d oldalból" with 1, 2).
QString formatNumbers(const QString &format, const QList<int> &numbers);

// Changes the extension: the part from the last "." of the file name on is replaced,
// or the extension is appended when the name has none.
QString changeFileExt(const QString &fileName, const QString &extension);

} // namespace rep
