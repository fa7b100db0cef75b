#include "report/preview/textsearch.h"

namespace rep {

TextSearch::TextSearch(PageCount pageCount, PageText pageText)
    : m_pageCount(std::move(pageCount)), m_pageText(std::move(pageText))
{
}

bool TextSearch::start(const QString &text, bool caseSensitive, int startPage)
{
    m_text = text;
    m_caseSensitive = caseSensitive;
    m_started = true;
    m_page = qMax(0, startPage);
    m_hitIndex = -1;
    m_hitBounds = QRectF();
    return search();
}

bool TextSearch::findNext()
{
    if (!m_started)
        return false;
    return search();
}

const QList<TextRecord> &TextSearch::textOf(int page)
{
    if (page != m_cachedPage) {
        m_cached = m_pageText(page);
        m_cachedPage = page;
    }
    return m_cached;
}

bool TextSearch::search()
{
    // Every text contains the empty string: searching for it would mark each text in turn.
    if (m_text.isEmpty())
        return false;
    const QString wanted = m_caseSensitive ? m_text : m_text.toUpper();
    const int count = m_pageCount();
    int after = m_hitIndex;
    for (int page = m_page; page < count; ++page) {
        const QList<TextRecord> &records = textOf(page);
        for (int i = after + 1; i < records.size(); ++i) {
            const QString &t = records.at(i).text;
            if ((m_caseSensitive ? t : t.toUpper()).contains(wanted)) {
                m_page = page;
                m_hitIndex = i;
                m_hitBounds = records.at(i).bounds;
                return true;
            }
        }
        after = -1;
    }
    return false;
}

} // namespace rep
