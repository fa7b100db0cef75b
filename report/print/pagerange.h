#pragma once

#include <QList>
#include <QString>

namespace rep {

// The pages a job prints: every page, or those listed.
struct PageRange
{
    bool allPages = true;
    QList<int> pages; // 1-based page numbers; only 1 ... page count are ever listed

    bool contains(int page) const { return allPages || pages.contains(page); }
};

// Parses a page range such as "1,3,5-12" or "3-", blanks ignored. An empty text means every
// page. A part that is not a number throws rt::EConvertError "'<part>' is not a valid integer
// value". Numbers outside 1 ... pageCount are dropped, so a huge range such as "1-2000000000"
// cannot allocate millions of entries.
PageRange parsePageRange(const QString &text, int pageCount);

} // namespace rep
