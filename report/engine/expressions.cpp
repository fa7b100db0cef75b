#include "expressions_p.h"

namespace rep {

FoundExpression findExpression(const QString &text, qsizetype start, const QString &open, const QString &close)
{
    qsizetype i = start;
    qsizetype j = i;
    if (text.isEmpty() || i >= text.size() || open.isEmpty())
        return {QString(), i, i};
    int level = 0;
    bool inSingle = false, inDouble = false;
    const QStringView view(text);
    for (;;) {
        const QStringView rest = view.mid(j);
        if (!inSingle && !inDouble && rest.startsWith(open)) {
            if (level == 0)
                i = j;
            ++level;
        } else if (!inSingle && !inDouble && !close.isEmpty() && rest.startsWith(close)) {
            --level;
        }
        const QChar c = text.at(j);
        if (!inSingle && c == QLatin1Char('"'))
            inDouble = !inDouble;
        if (!inDouble && c == QLatin1Char('\''))
            inSingle = !inSingle;
        if (level == 0 || j == text.size() - 1)
            break;
        ++j;
    }
    const qsizetype length = j - i - open.size();
    FoundExpression found{length > 0 ? text.mid(i + open.size(), length) : QString(), i, j};
    if (i != j)
        found.end = std::min(j + std::max<qsizetype>(close.size() - 1, 0), text.size() - 1);
    return found;
}

QString expandExpressions(const QString &text, const QString &open, const QString &close,
                          const std::function<QString(const QString &)> &display)
{
    if (open.isEmpty() || !text.contains(open))
        return text;
    QString s = text;
    qsizetype i = 0;
    for (;;) {
        while (i < s.size() - 1 && !QStringView(s).mid(i).startsWith(open))
            ++i;
        const FoundExpression found = findExpression(s, i, open, close);
        if (found.end == i)
            break;
        const QString value = display(found.expression);
        s.replace(found.start, found.end - found.start + 1, value);
        i = found.start + value.size();
    }
    return s;
}

void splitDelimiters(const QString &delimiters, QString &open, QString &close)
{
    const qsizetype comma = delimiters.indexOf(QLatin1Char(','));
    if (comma < 0) {
        open = delimiters;
        close.clear();
        return;
    }
    open = delimiters.left(comma);
    close = delimiters.mid(comma + 1);
}

} // namespace rep
