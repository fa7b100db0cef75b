#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace rep {

class TrepComponent;

// Short names of the source objects: "m12" -> "Page0.Memo12" and the source copy.
class TrepDictionary
{
public:
    struct Entry
    {
        QString sourceName;
        TrepComponent *object = nullptr;
    };

    // A name not yet used: the prefix and a number found by probing down from 10000 by halving
    // while the name is free, then counting up to the first free one (m1, m2, ... in order).
    QString CreateUniqueName(const QString &prefix) const;
    Entry &Add(const QString &shortName, const QString &sourceName, TrepComponent *object);
    const Entry *Find(const QString &shortName) const;
    int Count() const { return int(m_entries.size()); }
    // Short names in sorted order (without regard to case).
    QStringList SortedNames() const;
    void Clear();

private:
    QHash<QString, Entry> m_entries;
    // Per prefix, the numbers in use, and the largest n with 1 ... n all used (keeps the
    // probing and counting up cheap for long reports).
    QHash<QString, QSet<int>> m_used;
    QHash<QString, int> m_contiguous;
};

} // namespace rep
