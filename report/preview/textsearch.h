#pragma once

#include "report/preview/textrecorder.h"

#include <functional>

namespace rep {

// Find and find next over the texts of the pages, page by page in drawing order.
class TextSearch
{
public:
    using PageCount = std::function<int()>;
    using PageText = std::function<QList<TextRecord>(int page)>;

    TextSearch(PageCount pageCount, PageText pageText);

    // Remembers the text and the case rule, forgets the previous hit and searches from
    // startPage (0-based). Returns whether a hit was found.
    bool start(const QString &text, bool caseSensitive, int startPage);
    // Searches on from the last hit; from the start page when there was none.
    bool findNext();

    int hitPage() const { return m_page; }
    int hitIndex() const { return m_hitIndex; }
    // The hit's bounds on its page at scale 1.
    QRectF hitBounds() const { return m_hitBounds; }

    // Forgets the kept page texts (the pages were rebuilt).
    void clearCache() { m_cachedPage = -1; }

private:
    bool search();
    const QList<TextRecord> &textOf(int page);

    PageCount m_pageCount;
    PageText m_pageText;
    QString m_text;
    bool m_caseSensitive = false;
    bool m_started = false;
    int m_page = 0;
    int m_hitIndex = -1;
    QRectF m_hitBounds;
    int m_cachedPage = -1;
    QList<TextRecord> m_cached;
};

} // namespace rep
