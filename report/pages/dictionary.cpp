#include "report/pages/dictionary.h"

#include <algorithm>
#include <vector>

namespace rep {

QString TrepDictionary::CreateUniqueName(const QString &prefix) const
{
    static const QSet<int> none;
    const auto it = m_used.constFind(prefix);
    const QSet<int> &used = it == m_used.constEnd() ? none : *it;
    int n = 10000;
    while (n > 1 && !used.contains(n))
        n /= 2;
    // Every number up to the contiguous top is taken; continue counting from above it.
    const int top = m_contiguous.value(prefix, 0);
    if (n <= top)
        n = top + 1;
    while (used.contains(n))
        ++n;
    return prefix + QString::number(n);
}

TrepDictionary::Entry &TrepDictionary::Add(const QString &shortName, const QString &sourceName,
                                           TrepComponent *object)
{
    Entry &e = m_entries[shortName];
    e.sourceName = sourceName;
    e.object = object;
    qsizetype digits = shortName.size();
    while (digits > 0 && shortName.at(digits - 1).isDigit())
        --digits;
    if (digits < shortName.size()) {
        const QString prefix = shortName.left(digits);
        bool ok = false;
        const int number = QStringView(shortName).mid(digits).toInt(&ok);
        if (ok) {
            QSet<int> &used = m_used[prefix];
            used.insert(number);
            int top = m_contiguous.value(prefix, 0);
            while (used.contains(top + 1))
                ++top;
            m_contiguous.insert(prefix, top);
        }
    }
    return e;
}

const TrepDictionary::Entry *TrepDictionary::Find(const QString &shortName) const
{
    const auto it = m_entries.constFind(shortName);
    return it == m_entries.constEnd() ? nullptr : &*it;
}

QStringList TrepDictionary::SortedNames() const
{
    // Sort on case-folded keys computed once; comparing QStrings without case on every step
    // made long reports slow to save.
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(size_t(m_entries.size()));
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        keyed.emplace_back(it.key().toCaseFolded(), it.key());
    std::sort(keyed.begin(), keyed.end());
    QStringList names;
    names.reserve(qsizetype(keyed.size()));
    for (auto &k : keyed)
        names.append(std::move(k.second));
    return names;
}

void TrepDictionary::Clear()
{
    m_entries.clear();
    m_used.clear();
    m_contiguous.clear();
}

} // namespace rep
