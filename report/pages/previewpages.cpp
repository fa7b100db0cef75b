#include "report/pages/previewpages.h"

#include "report/model/objects.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"

#include <QLoggingCategory>
#include <QSaveFile>

#include <cmath>

namespace rep {

namespace {

Q_LOGGING_CATEGORY(lcReportPages, "telekado.report.pages", QtInfoMsg)

TrepPageDrawer &defaultDrawer()
{
    static TrepPageDrawer drawer;
    return drawer;
}

const QString pageItemPrefix = QStringLiteral("page");

} // namespace

void TrepPreviewPages::SetDefaultPageDrawer(TrepPageDrawer drawer)
{
    defaultDrawer() = std::move(drawer);
}

TrepPreviewPages::TrepPreviewPages()
    : m_drawer(defaultDrawer())
{
}

TrepPreviewPages::~TrepPreviewPages() = default;

int TrepPreviewPages::Count() const
{
    const TrepXMLItem *pages = PreviewPagesItem();
    return pages ? pages->count() : 0;
}

void TrepPreviewPages::Clear()
{
    m_cache.clear();
    m_sourcePages.clear();
    m_links.clear();
    m_pageSources.clear();
    m_root.clear();
    m_root.setText(QString());
    m_dictionary.Clear();
    CurrentPage = -1;
    FirstPage = 0;
    m_addPageMode = AddPageMode::WriteOver;
}

void TrepPreviewPages::BeginPreparation()
{
    m_running = true;
    m_links.clear();
    m_pageSources.clear();
}

QString TrepPreviewPages::ShortNamePrefix(const TrepComponent &object)
{
    if (dynamic_cast<const TrepBand *>(&object))
        return QStringLiteral("b");
    const QString base = object.BaseName();
    return base.isEmpty() ? QStringLiteral("o") : base.left(1).toLower();
}

void TrepPreviewPages::RegisterSourcePage(TrepReportPage *page)
{
    auto copy = std::make_unique<TrepReportPage>();
    copy->Assign(*page, true);
    copy->SetName(page->Name());
    const int k = int(m_sourcePages.size());
    m_pageSources.insert(page, k);

    const QList<TrepComponent *> originals = page->AllObjects();
    const QList<TrepComponent *> copies = copy->AllObjects();
    Q_ASSERT(originals.size() == copies.size()); // Assign copied the whole tree
    const qsizetype n = std::min(originals.size(), copies.size());
    for (qsizetype i = 0; i < n; ++i) {
        TrepComponent *original = originals.at(i);
        TrepComponent *twin = copies.at(i);
        const QString shortName = m_dictionary.CreateUniqueName(ShortNamePrefix(*original));
        m_dictionary.Add(shortName, QStringLiteral("Page%1.%2").arg(k).arg(original->Name()), twin);
        m_links.insert(original, SourceLink{twin, shortName});
    }
    m_sourcePages.push_back(std::move(copy));
}

QString TrepPreviewPages::shortName(const TrepComponent *object) const
{
    return m_links.value(object).shortName;
}

void TrepPreviewPages::BeginPass()
{
    m_passPage = Count() - 1;
    m_passObjects = m_passPage >= 0 ? PreviewPagesItem()->child(m_passPage)->count() : 0;
}

void TrepPreviewPages::AddPage(TrepReportPage *page)
{
    ++CurrentPage;
    if (CurrentPage < Count() && m_addPageMode == AddPageMode::WriteOver)
        return;
    int source = m_pageSources.value(page, -1);
    if (source < 0) {
        RegisterSourcePage(page);
        source = int(m_sourcePages.size()) - 1;
    }
    TrepXMLItem *item = m_root.findOrCreate(QStringLiteral("previewpages"))->add(pageItemPrefix + QString::number(source));
    // The first two pages stay in memory whatever the file cache does.
    if (Count() > 2)
        item->unloadable = true;
    m_addPageMode = AddPageMode::WriteOver;
    CurrentPage = Count() - 1;
}

TrepXMLItem *TrepPreviewPages::currentPageItem()
{
    TrepXMLItem *pages = PreviewPagesItem();
    if (!pages || CurrentPage < 0 || CurrentPage >= pages->count())
        return nullptr;
    return pages->child(CurrentPage);
}

void TrepPreviewPages::AddObject(TrepComponent *object)
{
    TrepXMLItem *page = currentPageItem();
    if (!page)
        throw rt::Exception(QStringLiteral("No prepared page to add objects to"));
    addObjectTo(*page, object);
}

void TrepPreviewPages::addObjectTo(TrepXMLItem &parent, TrepComponent *object)
{
    if (!object->Visible())
        return;
    TrepXMLItem *item;
    const auto link = m_links.constFind(object);
    if (link != m_links.constEnd())
        item = parent.add(link->shortName, object->DiffText(*link->source));
    else
        item = parent.add(object->ClassName(), attrText(object->StoredProps()));
    for (TrepComponent *child : object->Objects())
        addObjectTo(*item, child);
}

void TrepPreviewPages::Finish()
{
    m_cache.clear();
    m_running = false;
}

void TrepPreviewPages::ClearFirstPassPages()
{
    m_cache.clear();
    TrepXMLItem *pages = PreviewPagesItem();
    if (m_passPage < 0) {
        // The pass began on an empty store: everything but the anchors goes.
        for (int i = m_root.count() - 1; i >= 0; --i) {
            if (m_root.child(i)->name().compare(QLatin1String("anchors"), Qt::CaseInsensitive) != 0)
                m_root.takeAt(i);
        }
    } else if (pages) {
        while (pages->count() > m_passPage + 1)
            pages->takeAt(pages->count() - 1);
        Q_ASSERT(m_passPage < pages->count()); // the pass began on this page
        TrepXMLItem *page = pages->child(m_passPage);
        while (page->count() > m_passObjects)
            page->takeAt(page->count() - 1);
    }
    CurrentPage = m_passPage;
}

TrepReportPage *TrepPreviewPages::GetPage(int index)
{
    TrepXMLItem *pages = PreviewPagesItem();
    if (!pages || pages->count() == 0 || index < 0 || index >= pages->count())
        return nullptr;
    if (!m_running) {
        for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
            if (it->first == index) {
                m_cache.splice(m_cache.begin(), m_cache, it);
                return m_cache.front().second.get();
            }
        }
    }
    std::unique_ptr<TrepReportPage> page = rebuild(*pages->child(index));
    ++m_rebuilds;
    m_cache.emplace_front(index, std::move(page));
    if (int(m_cache.size()) > CacheSize)
        m_cache.pop_back();
    return m_cache.front().second.get();
}

std::unique_ptr<TrepReportPage> TrepPreviewPages::rebuild(const TrepXMLItem &item)
{
    auto page = std::make_unique<TrepReportPage>();
    if (item.name().compare(QLatin1String("TrepReportPage"), Qt::CaseInsensitive) == 0) {
        page->LoadFromStream(item);
        return page;
    }
    bool ok = false;
    const int source = item.name().mid(pageItemPrefix.size()).toInt(&ok);
    if (ok && source >= 0 && source < int(m_sourcePages.size()))
        page->Assign(*m_sourcePages[size_t(source)]);
    else
        qCWarning(lcReportPages) << "page item" << item.name() << "names no source page; rebuilt without one";
    for (int i = 0; i < item.count(); ++i)
        rebuildObject(*item.child(i), page.get());
    return page;
}

void TrepPreviewPages::rebuildObject(const TrepXMLItem &item, TrepComponent *parent)
{
    TrepComponent *object = nullptr;
    if (const TrepDictionary::Entry *entry = m_dictionary.Find(item.name())) {
        object = createComponent(entry->object->ClassName());
        Q_ASSERT(object); // the source copy was made through the same class table
        object->SetParent(parent);
        // The source's values first (what its full text holds); the item's pairs override them.
        object->CopyProps(*entry->object);
        object->ApplyProps(parseAttrText(item.text()));
        object->SetName(entry->object->Name());
    } else {
        object = createComponentOrThrow(item.name());
        object->SetParent(parent);
        object->ApplyProps(parseAttrText(item.text()));
    }
    for (int i = 0; i < item.count(); ++i)
        rebuildObject(*item.child(i), object);
}

QSize TrepPreviewPages::PageSize(int index)
{
    TrepXMLItem *pages = PreviewPagesItem();
    if (!pages || pages->count() == 0)
        return QSize(0, 0);
    index = std::clamp(index, 0, pages->count() - 1);
    const QString name = pages->child(index)->name();
    if (name.startsWith(pageItemPrefix, Qt::CaseInsensitive)) {
        bool ok = false;
        const int source = name.mid(pageItemPrefix.size()).toInt(&ok);
        if (ok && source >= 0 && source < int(m_sourcePages.size())) {
            const TrepReportPage *page = m_sourcePages[size_t(source)].get();
            return QSize(int(std::lround(page->Width())), int(std::lround(page->Height())));
        }
    }
    const TrepReportPage *page = GetPage(index);
    return page ? QSize(int(std::lround(page->Width())), int(std::lround(page->Height()))) : QSize(0, 0);
}

void TrepPreviewPages::DrawPage(int index, QPainter *canvas, double scaleX, double scaleY, double offsetX,
                                double offsetY)
{
    TrepReportPage *page = GetPage(index);
    if (!page)
        return;
    if (!m_drawer) {
        qCWarning(lcReportPages) << "no page drawer installed: page" << index << "is not drawn";
        return;
    }
    m_drawer(*this, index, *page, canvas, scaleX, scaleY, offsetX, offsetY);
}

void TrepPreviewPages::prepareSave()
{
    TrepXMLItem *sources = m_root.findOrCreate(QStringLiteral("sourcepages"));
    sources->clear();
    for (const auto &page : m_sourcePages)
        page->SaveToStream(*sources->add());
    TrepXMLItem *dictionary = m_root.findOrCreate(QStringLiteral("dictionary"));
    dictionary->clear();
    for (const QString &name : m_dictionary.SortedNames()) {
        const TrepDictionary::Entry *entry = m_dictionary.Find(name);
        Q_ASSERT(entry);
        QString text;
        appendAttr(text, QLatin1String("name"), entry->sourceName);
        dictionary->add(name, text);
    }
}

void TrepPreviewPages::SaveToFile(const QString &fileName)
{
    prepareSave();
    // Written to a temporary file and renamed over the target, so a failure keeps the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw rt::Exception(repFormat(repGet(QStringLiteral("clCannotSave")), {fileName, file.errorString()}));
    QString buffer = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    bool written = m_root.writeXml(buffer, file);
    if (written && !buffer.isEmpty()) {
        const QByteArray rest = buffer.toUtf8();
        written = file.write(rest) == rest.size();
    }
    // A write cut short (full disk, size limit) shows only when the buffer is flushed; commit
    // would rename the truncated file over the old one and report success.
    if (!written || !file.flush() || !file.commit())
        throw rt::Exception(repFormat(repGet(QStringLiteral("clCannotSave")), {fileName, file.errorString()}));
}

} // namespace rep
