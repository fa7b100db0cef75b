#pragma once

#include <QString>

#include <functional>

namespace rep {

// One bracketed expression found in a text (0-based positions).
struct FoundExpression
{
    QString expression; // the text between the delimiters
    qsizetype start = 0; // the opening delimiter
    qsizetype end = 0;   // the last character of the closing delimiter; == start when none found
};

// Finds the expression that starts at `start` (normally on an opening delimiter). Delimiters
// inside single or double quotes do not count and nested pairs belong to the outer expression,
// so "[a[b]c]" is the one expression "a[b]c". Without a closing delimiter the expression runs to
// the end of the text.
FoundExpression findExpression(const QString &text, qsizetype start, const QString &open, const QString &close);

// Replaces every bracketed expression by display(expression). Inserted texts are never scanned
// again, so a value holding a delimiter prints literally; text around expressions is kept.
QString expandExpressions(const QString &text, const QString &open, const QString &close,
                          const std::function<QString(const QString &)> &display);

// "[,]" -> "[" and "]": split at the first comma.
void splitDelimiters(const QString &delimiters, QString &open, QString &close);

} // namespace rep
