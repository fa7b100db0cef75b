#pragma once

// The table's columns, which the row writer and the reader share.

#include "declaration/catalogue.h"

#include <QList>
#include <QString>

namespace decl::table_p {

enum class ColumnKind { File, Field, Group, Computed, Findings };

struct Column
{
    ColumnKind kind;
    QString header;
    const Field *field = nullptr;         // of a Field column
    const RadioGroup *group = nullptr;    // of a Group column
    const ComputedLabel *label = nullptr; // of a Computed column
};

// Every column, in the table's order.
const QList<Column> &columns();

// The known column of that header name, -1 for none.
int columnIndex(const QString &header);

} // namespace decl::table_p
