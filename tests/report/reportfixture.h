#pragma once

#include "report/model/component.h"
#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/pages/previewpages.h"

#include <QList>
#include <QString>

#include <functional>

namespace rep::test {

// A new object of class T, named and placed under its parent, for building small reports.
template<typename T>
T *make(TrepComponent *parent, const QString &name)
{
    auto *o = new T;
    o->SetParent(parent);
    o->SetName(name);
    return o;
}

template<typename T>
T *make(TrepComponent *parent, const char *name)
{
    return make<T>(parent, QString::fromLatin1(name));
}

// Fills a store the way the engine does: registers the template page, then adds `count` output
// pages that each record the listed objects through a null band. beforeAdd(i), when given, runs
// just before page i records them.
inline void fillStore(TrepPreviewPages &pages, TrepReportPage *page, const QList<TrepComponent *> &objects,
                      int count, const std::function<void(int)> &beforeAdd = {})
{
    pages.BeginPreparation();
    pages.RegisterSourcePage(page);
    pages.BeginPass();
    for (int i = 0; i < count; ++i) {
        pages.AddPage(page);
        TrepNullBand band;
        for (TrepComponent *object : objects)
            band.ListObject(object);
        if (beforeAdd)
            beforeAdd(i);
        pages.AddObject(&band);
        band.ReleaseObjects();
    }
    pages.Finish();
}

} // namespace rep::test
