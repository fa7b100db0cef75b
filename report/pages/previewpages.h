#pragma once

#include "report/model/page.h"
#include "report/model/xmlitem.h"
#include "report/pages/dictionary.h"
#include "report/pages/previewpagesbase.h"

#include <functional>
#include <list>
#include <memory>
#include <vector>

namespace rep {

class TrepPreviewPages;

// Draws one rebuilt page (the drawing code installs it; without one DrawPage draws nothing).
// Offsets are device pixels; the drawer applies the margins, printability and total pages.
using TrepPageDrawer = std::function<void(TrepPreviewPages &pages, int index, TrepReportPage &page,
                                          QPainter *canvas, double scaleX, double scaleY,
                                          double offsetX, double offsetY)>;

// The store of prepared pages: one copy of each template page, short names for its objects, and
// per output page only the differences of its objects from their sources. Pages are rebuilt on
// demand and the 50 most recently used rebuilt pages are kept.
class TrepPreviewPages : public TrepCustomPreviewPages
{
public:
    TrepPreviewPages();
    ~TrepPreviewPages() override;

    int Count() const override;
    void Clear() override;
    void BeginPreparation() override;
    void RegisterSourcePage(TrepReportPage *page) override;
    void BeginPass() override;
    void AddPage(TrepReportPage *page) override;
    void AddObject(TrepComponent *object) override;
    void Finish() override;
    void ClearFirstPassPages() override;
    TrepReportPage *GetPage(int index) override;
    QSize PageSize(int index) override;
    void DrawPage(int index, QPainter *canvas, double scaleX, double scaleY, double offsetX,
                  double offsetY) override;
    void SaveToFile(const QString &fileName) override;

    // The short name a registered template object is recorded under; empty without a link.
    QString shortName(const TrepComponent *object) const;

    // The page items ("page0", ...), nullptr before the first page.
    TrepXMLItem *PreviewPagesItem() const { return m_root.find(QStringLiteral("previewpages")); }
    const TrepDictionary &Dictionary() const { return m_dictionary; }
    int SourcePageCount() const { return int(m_sourcePages.size()); }

    static constexpr int CacheSize = 50;
    // How many pages were rebuilt since the store was created (cache behaviour in tests).
    int RebuildCount() const { return m_rebuilds; }

    void SetPageDrawer(TrepPageDrawer drawer) { m_drawer = std::move(drawer); }
    // The drawer every new store starts with.
    static void SetDefaultPageDrawer(TrepPageDrawer drawer);

    // The short-name prefix of an object: "b" for bands, else the first letter of its base name.
    static QString ShortNamePrefix(const TrepComponent &object);

private:
    enum class AddPageMode { WriteOver, Add };
    void addObjectTo(TrepXMLItem &parent, TrepComponent *object);
    // Rebuilds the "sourcepages" and "dictionary" items that only a saved file carries.
    void prepareSave();
    std::unique_ptr<TrepReportPage> rebuild(const TrepXMLItem &item);
    void rebuildObject(const TrepXMLItem &item, TrepComponent *parent);
    TrepXMLItem *currentPageItem();

    // A template object's link to its source copy and the short name both share.
    struct SourceLink
    {
        const TrepComponent *source = nullptr;
        QString shortName;
    };

    TrepXMLItem m_root{QStringLiteral("preparedreport")};
    std::vector<std::unique_ptr<TrepReportPage>> m_sourcePages;
    // Links from the template's objects and pages, kept here so that the model knows nothing of
    // pages. They last from registration to the next preparation or clear: the engine frees the
    // template's objects when it restores the report after a run.
    QHash<const TrepComponent *, SourceLink> m_links;
    QHash<const TrepComponent *, int> m_pageSources; // template page -> index in m_sourcePages
    TrepDictionary m_dictionary;
    std::list<std::pair<int, std::unique_ptr<TrepReportPage>>> m_cache;
    AddPageMode m_addPageMode = AddPageMode::WriteOver;
    bool m_running = false;
    int m_passPage = -1;
    int m_passObjects = 0;
    int m_rebuilds = 0;
    TrepPageDrawer m_drawer;
};

} // namespace rep
