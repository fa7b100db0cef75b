#include "report/print/pagerange.h"

#include "runtime/intconv.h"

namespace rep {

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
            rangeStart = rt::StrToInt(t.mid(numberStart, i - numberStart));
            rangePending = true;
            numberStart = i + 1;
        } else if (t[i] == QLatin1Char(',')) {
            const int number = rt::StrToInt(t.mid(numberStart, i - numberStart));
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
