#include "controls/common/singleline.h"

namespace ctl {

namespace {

bool breaksLine(char16_t c)
{
    switch (c) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

} // namespace

QString singleLine(const QString &text, int *position)
{
    qsizetype first = 0;
    while (first < text.size() && !breaksLine(text[first].unicode()))
        ++first;
    if (first == text.size())
        return text;
    QString out = text.left(first);
    out.reserve(text.size());
    const int pos = position ? *position : 0;
    int dropped = 0; // characters before `pos` that went away
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!breaksLine(c)) {
            out += text[i];
            continue;
        }
        out += QLatin1Char(' ');
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            if (i + 1 < pos)
                ++dropped;
            ++i;
        }
    }
    if (position)
        *position = pos - dropped;
    return out;
}

} // namespace ctl
