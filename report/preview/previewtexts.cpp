#include "report/preview/previewtexts.h"

#include "report/resources/resources.h"

namespace rep {

QString previewFallbackText(const QString &key)
{
    return hungarianText(key);
}

TextLookup effectiveLookup(TextLookup lookup)
{
    if (lookup)
        return lookup;
    return [](const QString &key) { return previewFallbackText(key); };
}

QString formatNumbers(const QString &format, const QList<int> &numbers)
{
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) == QLatin1Char('%') && i + 1 < format.size()
            && format.at(i + 1) == QLatin1Char('d') && next < numbers.size()) {
            out += QString::number(numbers.at(next++));
            ++i;
        } else {
            out += format.at(i);
        }
    }
    return out;
}

QString changeFileExt(const QString &fileName, const QString &extension)
{
    qsizetype dot = -1;
    for (qsizetype i = fileName.size() - 1; i >= 0; --i) {
        const QChar c = fileName.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            break;
        if (c == QLatin1Char('.')) {
            dot = i;
            break;
        }
    }
    return (dot < 0 ? fileName : fileName.left(dot)) + extension;
}

} // namespace rep
