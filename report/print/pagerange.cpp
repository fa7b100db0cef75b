#include "report/print/pagerange.h"

#include "runtime/errors.h"

#include <limits>

namespace rep {

int StrToInt(const QString &text)
{
    const auto fail = [&]() -> int {
        throw rt::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= n)
        return fail();
    long long value = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fail();
        value = value * 10 + (c.unicode() - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return fail();
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return fail();
    return static_cast<int>(value);
}

PageRange parsePageRange(const QString &text, int pageCount)
{
    QString t = text;
    t.remove(QLatin1Char(' '));
    PageRange range;
    if (t.isEmpty())
        return range;
    range.allPages = false;
    QList<int> &pages = range.pages;
    if (t.endsWith(QLatin1Char('-')))
        t += QString::number(pageCount);
    t += QLatin1Char(',');
    qsizetype numberStart = 0;
    bool rangePending = false;
    int rangeStart = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('-')) {
            rangeStart = StrToInt(t.mid(numberStart, i - numberStart));
            rangePending = true;
            numberStart = i + 1;
        } else if (t[i] == QLatin1Char(',')) {
            const int number = StrToInt(t.mid(numberStart, i - numberStart));
            if (rangePending) {
                const int first = std::max(rangeStart, 1);
                const int last = std::min(number, pageCount);
                for (int p = first; p <= last; ++p)
                    pages.append(p);
            } else if (number >= 1 && number <= pageCount) {
                pages.append(number);
            }
            rangePending = false;
            numberStart = i + 1;
        }
    }
    return range;
}

} // namespace rep
