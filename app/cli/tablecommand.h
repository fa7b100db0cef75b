#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace app {

// "--table TABLE.csv FILE...": one row per input that can be read, in input order, written to
// TABLE.csv only once it is whole (a table that cannot be finished leaves the old file as it
// was). An input that cannot be read is one line "FILE: headline: reason." and the others are
// still taken. Needs a QGuiApplication: the checks measure values with the fonts. Returns the
// exit code: 0 when every input is in the table, else 1.
int writeTable(const QString &table, const QStringList &inputs, const std::function<void(const QString &)> &errorLine);

// "--from-table TABLE.csv FOLDER": one declaration file per row into FOLDER, named after the
// row's cell in nameColumn (the taxpayer's name when empty), made safe for a file name and
// numbered where taken ("Kovács Éva (2).tkd"), never overwriting. A bad row is one line
// "TABLE.csv: N. sor, „column”: reason." and the other rows are still written; a table that
// cannot be read at all, one line. Columns the table has beyond a declaration's are named once
// on `notice`. Returns the exit code: 0 when every row became a file, else 1.
int writeDeclarationsFromTable(const QString &table, const QString &folder, const QString &nameColumn,
                               const std::function<void(const QString &)> &errorLine,
                               const std::function<void(const QString &)> &notice);

} // namespace app
