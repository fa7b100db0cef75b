#include "report/model/component.h"

#include "report/model/objects.h"
#include "report/model/page.h"
#include "report/model/report.h"
#include "report/resources/resources.h"
#include "runtime/errors.h"

#include <QHash>
#include <QLoggingCategory>

#include <unordered_map>

namespace rep {

namespace {

Q_LOGGING_CATEGORY(lcReportModel, "telekado.report.model", QtInfoMsg)

int s_loading = 0; // > 0 while objects are read from a stored form

struct LoadGuard
{
    LoadGuard() { ++s_loading; }
    ~LoadGuard() { --s_loading; }
};

void invalidateNames(const TrepComponent *c)
{
    if (TrepReport *report = c->Report())
        report->InvalidateNameIndex();
}

using ComponentFactory = TrepComponent *(*)();

template<typename T>
TrepComponent *create()
{
    return new T;
}

// The classes the stored form and the page rebuild can create.
const QHash<QString, ComponentFactory> &registry()
{
    static const QHash<QString, ComponentFactory> classes{
        {QStringLiteral("TrepMemoView"), &create<TrepMemoView>},
        {QStringLiteral("TrepSysMemoView"), &create<TrepSysMemoView>},
        {QStringLiteral("TrepLineView"), &create<TrepLineView>},
        {QStringLiteral("TrepShapeView"), &create<TrepShapeView>},
        {QStringLiteral("TrepQRCodeView"), &create<TrepQRCodeView>},
        {QStringLiteral("TrepBand"), &create<TrepBand>},
        {QStringLiteral("TrepNullBand"), &create<TrepNullBand>},
        {QStringLiteral("TrepReportPage"), &create<TrepReportPage>},
        {QStringLiteral("TrepReport"), &create<TrepReport>},
    };
    return classes;
}

// A fresh object per class: stored properties are those that differ from it.
const TrepComponent *defaultInstance(const TrepComponent &object)
{
    // Owned here and freed at exit.
    static std::unordered_map<const PropTable *, std::unique_ptr<TrepComponent>> cache;
    const PropTable *table = &object.Props();
    auto it = cache.find(table);
    if (it == cache.end())
        it = cache.emplace(table, std::unique_ptr<TrepComponent>(createComponent(object.ClassName()))).first;
    return it->second.get();
}

} // namespace

const PropTable &componentProps()
{
    static const auto fontStored = [](const TrepComponent &c) { return !c.ParentFont(); };
    static const PropTable table{
        REP_STR(TrepComponent, "Name", o.Name(), o.SetName(v)),
        REP_FLOAT(TrepComponent, "l", o.Left(), o.SetLeft(v)),
        REP_FLOAT(TrepComponent, "t", o.Top(), o.SetTop(v)),
        REP_FLOAT(TrepComponent, "w", o.Width(), o.SetWidth(v)),
        REP_FLOAT(TrepComponent, "h", o.Height(), o.SetHeight(v)),
        [] { PropDef d = REP_STR(TrepComponent, "Font.Name", o.Font().Name,
                                 { TrepFont f = o.Font(); f.Name = v; o.SetFont(f); });
             d.stored = fontStored; return d; }(),
        [] { PropDef d = REP_INT(TrepComponent, "Font.Height", o.Font().Height,
                                 { TrepFont f = o.Font(); f.Height = v; o.SetFont(f); });
             d.stored = fontStored; return d; }(),
        [] { PropDef d = REP_SET(TrepComponent, "Font.Style", REP_NAMES_FONTSTYLE, o.Font().Style,
                                 { TrepFont f = o.Font(); f.Style = v; o.SetFont(f); });
             d.stored = fontStored; return d; }(),
        [] { PropDef d = REP_INT(TrepComponent, "Font.Charset", o.Font().Charset,
                                 { TrepFont f = o.Font(); f.Charset = v; o.SetFont(f); });
             d.stored = fontStored; return d; }(),
        [] { PropDef d = REP_COLOR(TrepComponent, "Font.Color", o.Font().Color,
                                   { TrepFont f = o.Font(); f.Color = v; o.SetFont(f); });
             d.stored = fontStored; return d; }(),
        REP_BOOL(TrepComponent, "ParentFont", o.ParentFont(), o.SetParentFont(v)),
        REP_BOOL(TrepComponent, "Visible", o.Visible(), o.SetVisible(v)),
        REP_INT(TrepComponent, "Tag", o.Tag, o.Tag = v),
    };
    return table;
}

TrepComponent *createComponent(const QString &className)
{
    const auto it = registry().constFind(className);
    return it == registry().constEnd() ? nullptr : (*it)();
}

TrepComponent *createComponentOrThrow(const QString &className)
{
    if (TrepComponent *object = createComponent(className))
        return object;
    throw rt::Exception(repGet(QStringLiteral("xrCantFindClass")) + QLatin1Char(' ') + className);
}

bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode(), y = b.at(i).unicode();
        if (x >= 'a' && x <= 'z')
            x -= 32;
        if (y >= 'a' && y <= 'z')
            y -= 32;
        if (x != y)
            return false;
    }
    return true;
}

TrepComponent::TrepComponent() = default;

TrepComponent::~TrepComponent()
{
    invalidateNames(this);
    if (m_parent)
        m_parent->m_objects.removeOne(this);
    m_parent = nullptr;
    Clear();
}

QString TrepComponent::BaseName() const
{
    QString base = ClassName();
    const qsizetype trep = base.indexOf(QLatin1String("Trep"));
    if (trep >= 0)
        base.remove(trep, 4);
    const qsizetype view = base.indexOf(QLatin1String("View"));
    if (view >= 0)
        base.remove(view, 4);
    if (base.startsWith(QLatin1Char('T')) && base.size() > 1 && base.at(1).isUpper())
        base.remove(0, 1);
    return base;
}

const PropTable &TrepComponent::Props() const
{
    return componentProps();
}

void TrepComponent::SetName(const QString &name)
{
    if (name == m_name)
        return;
    if (s_loading == 0 && !name.isEmpty()) {
        if (TrepReport *report = Report()) {
            if (sameName(report->Name(), name) && report != this)
                throw rt::Exception(repGet(QStringLiteral("prDupl")));
            const TrepComponent *other = report->FindObject(name);
            if (other && other != this)
                throw rt::Exception(repGet(QStringLiteral("prDupl")));
        }
    }
    m_name = name;
    invalidateNames(this);
}

void TrepComponent::SetLeft(double v)
{
    if (!restricted(rfDontMove))
        m_left = v;
}

void TrepComponent::SetTop(double v)
{
    if (!restricted(rfDontMove))
        m_top = v;
}

void TrepComponent::SetWidth(double v)
{
    if (!restricted(rfDontSize))
        m_width = v;
}

void TrepComponent::SetHeight(double v)
{
    if (!restricted(rfDontSize))
        m_height = v;
}

void TrepComponent::SetBounds(double aLeft, double aTop, double aWidth, double aHeight)
{
    SetLeft(aLeft);
    SetTop(aTop);
    SetWidth(aWidth);
    SetHeight(aHeight);
}

double TrepComponent::AbsLeft() const
{
    return m_parent ? m_left + m_parent->AbsLeft() : m_left;
}

double TrepComponent::AbsTop() const
{
    return m_parent ? m_top + m_parent->AbsTop() : m_top;
}

void TrepComponent::SetFont(const TrepFont &font)
{
    m_font = font;
    FontChanged();
}

void TrepComponent::FontChanged()
{
    m_parentFont = false;
    for (TrepComponent *child : std::as_const(m_objects)) {
        if (child->m_parentFont)
            child->SetParentFont(true);
    }
}

void TrepComponent::SetParentFont(bool value)
{
    if (value && m_parent)
        SetFont(m_parent->m_font);
    m_parentFont = value;
}

void TrepComponent::SetVisible(bool value)
{
    m_visible = value;
}

QList<TrepComponent *> TrepComponent::AllObjects() const
{
    QList<TrepComponent *> list;
    std::function<void(const TrepComponent *)> walk = [&](const TrepComponent *c) {
        for (TrepComponent *child : c->m_objects) {
            list.append(child);
            walk(child);
        }
    };
    walk(this);
    return list;
}

static TrepComponent *findIn(const TrepComponent *c, QStringView name)
{
    for (TrepComponent *child : c->Objects()) {
        if (sameName(child->Name(), name))
            return child;
        if (TrepComponent *found = findIn(child, name))
            return found;
    }
    return nullptr;
}

TrepComponent *TrepComponent::FindObject(const QString &name) const
{
    if (IsReport())
        return static_cast<const TrepReport *>(this)->FindIndexed(name);
    // The same order as AllObjects, without building the list.
    return findIn(this, name);
}



void TrepComponent::SetParent(TrepComponent *parent)
{
    if (m_parent == parent)
        return;
    invalidateNames(this);
    if (m_parent)
        m_parent->m_objects.removeOne(this);
    m_parent = parent;
    if (m_parent)
        m_parent->m_objects.append(this);
    invalidateNames(this);
    SetParentFont(m_parentFont);
}

TrepPage *TrepComponent::Page() const
{
    for (const TrepComponent *c = this; c; c = c->m_parent) {
        if (auto *page = dynamic_cast<const TrepPage *>(c))
            return const_cast<TrepPage *>(page);
    }
    return nullptr;
}

TrepReport *TrepComponent::Report() const
{
    for (const TrepComponent *c = this; c; c = c->m_parent) {
        if (c->IsReport())
            return static_cast<TrepReport *>(const_cast<TrepComponent *>(c));
    }
    return nullptr;
}

void TrepComponent::Clear()
{
    // Detach all first: removing each child from a long list one by one would be quadratic.
    if (m_objects.isEmpty())
        return;
    invalidateNames(this);
    const QList<TrepComponent *> children = std::exchange(m_objects, {});
    for (TrepComponent *child : children) {
        child->m_parent = nullptr;
        delete child;
    }
}

TrepAttrList TrepComponent::StoredProps(bool saveDefaults) const
{
    TrepAttrList pairs;
    const TrepComponent *fresh = defaultInstance(*this);
    for (const PropDef &p : Props().defs()) {
        if (p.stored && !p.stored(*this))
            continue;
        // A property the fresh object does not store (its font) has no default to omit.
        const bool hasDefault = fresh && (!p.stored || p.stored(*fresh));
        if (!saveDefaults && !p.always && hasDefault && p.equal(*this, *fresh))
            continue;
        pairs.append({QString::fromLatin1(p.name), p.get(*this)});
    }
    return pairs;
}

void TrepComponent::CopyProps(const TrepComponent &source, bool copyName)
{
    const PropTable &table = Props();
    if (&table == &source.Props()) {
        const PropDef *nameDef = copyName ? nullptr : table.find(u"Name");
        for (const PropDef &p : table.defs()) {
            if (&p == nameDef)
                continue;
            if (p.stored && !p.stored(source))
                continue;
            p.copy(*this, source);
        }
        return;
    }
    // Different classes: through the stored form.
    ApplyProps(source.StoredProps(true), copyName);
}

int TrepComponent::ApplyProps(const TrepAttrList &pairs, bool applyName)
{
    int failed = 0;
    const PropTable &table = Props();
    for (const TrepAttr &a : pairs) {
        if (!applyName && a.name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
            continue;
        const PropDef *p = table.find(a.name);
        if (!p || !p->set(*this, a.value)) {
            qCDebug(lcReportModel) << ClassName() << m_name << "skips" << a.name << "=" << a.value;
            ++failed;
        }
    }
    return failed;
}

void TrepComponent::SaveToStream(TrepXMLItem &item, bool saveChildren, bool saveDefaults) const
{
    item.setName(ClassName());
    item.setText(attrText(StoredProps(saveDefaults)));
    item.clear();
    if (!saveChildren)
        return;
    for (const TrepComponent *child : m_objects)
        child->SaveToStream(*item.add(), true, saveDefaults);
}

void TrepComponent::LoadFromStream(const TrepXMLItem &item)
{
    LoadGuard guard;
    Clear();
    loadInto(item, false);
}

void TrepComponent::loadInto(const TrepXMLItem &item, bool applyName)
{
    ApplyProps(parseAttrText(item.text()), applyName);
    for (int i = 0; i < item.count(); ++i) {
        const TrepXMLItem *childItem = item.child(i);
        TrepComponent *child = createComponentOrThrow(childItem->name());
        child->SetParent(this);
        child->loadInto(*childItem, true);
    }
}

void TrepComponent::Assign(const TrepComponent &source, bool withChildren)
{
    LoadGuard guard;
    Clear();
    CopyProps(source, false);
    if (withChildren)
        copyChildren(source);
}

void TrepComponent::AdoptChildren(TrepComponent &other)
{
    const QList<TrepComponent *> children = std::exchange(other.m_objects, {});
    invalidateNames(&other);
    for (TrepComponent *child : children) {
        child->m_parent = this;
        m_objects.append(child);
        // Picking up the new parent's font; nothing to do when it is the same font.
        if (child->m_parentFont && !(child->m_font == m_font))
            child->SetParentFont(true);
    }
    invalidateNames(this);
}

void TrepComponent::copyChildren(const TrepComponent &source)
{
    for (const TrepComponent *sourceChild : source.m_objects) {
        TrepComponent *child = createComponentOrThrow(sourceChild->ClassName());
        child->SetParent(this);
        child->CopyProps(*sourceChild, true);
        child->copyChildren(*sourceChild);
    }
}

QString TrepComponent::DiffText(const TrepComponent &other) const
{
    QString text;
    const auto &defs = Props().defs();
    const bool sameTable = &Props() == &other.Props();
    for (const PropDef &p : defs) {
        if (sameTable) {
            if (p.equal(*this, other))
                continue;
        } else {
            const PropDef *q = other.Props().find(QString::fromLatin1(p.name));
            if (q && q->get(other) == p.get(*this))
                continue;
        }
        appendAttr(text, QLatin1String(p.name), p.get(*this));
    }
    return text;
}

const PropTable &TrepReportComponent::Props() const
{
    return TrepComponent::Props();
}

void TrepReportComponent::BeforePrint()
{
    m_savedLeft = m_left;
    m_savedTop = m_top;
    m_savedWidth = m_width;
    m_savedHeight = m_height;
}

void TrepReportComponent::AfterPrint()
{
    SetBounds(m_savedLeft, m_savedTop, m_savedWidth, m_savedHeight);
}

const PropTable &TrepView::Props() const
{
    static const PropTable table(componentProps(), {
        REP_ENUM(TrepView, "Align", REP_NAMES_ALIGN, TrepAlign, o.Align, o.Align = e),
        REP_ENUM(TrepView, "BrushStyle", REP_NAMES_BRUSH, TBrushStyle, o.BrushStyle, o.BrushStyle = e),
        REP_COLOR(TrepView, "Color", o.Color, o.Color = v),
        REP_INT(TrepView, "Cursor", o.Cursor, o.Cursor = v),
        REP_SET(TrepView, "Frame.Typ", REP_NAMES_FRAMETYPE, o.Frame.Typ, o.Frame.Typ = v),
        REP_FLOAT(TrepView, "Frame.Width", o.Frame.Width, o.Frame.Width = v),
        REP_COLOR(TrepView, "Frame.Color", o.Frame.Color, o.Frame.Color = v),
        REP_ENUM(TrepView, "Frame.Style", REP_NAMES_FRAMESTYLE, TrepFrameStyle, o.Frame.Style, o.Frame.Style = e),
        REP_BOOL(TrepView, "Frame.DropShadow", o.Frame.DropShadow, o.Frame.DropShadow = v),
        REP_COLOR(TrepView, "Frame.ShadowColor", o.Frame.ShadowColor, o.Frame.ShadowColor = v),
        REP_FLOAT(TrepView, "Frame.ShadowWidth", o.Frame.ShadowWidth, o.Frame.ShadowWidth = v),
        [] { PropDef d = REP_INT(TrepView, "GroupIndex", o.GroupIndex, o.GroupIndex = v); d.always = true; return d; }(),
        REP_BOOL(TrepView, "Printable", o.Printable, o.Printable = v),
        REP_SET(TrepView, "Restrictions", REP_NAMES_RESTRICTION, o.Restrictions, o.Restrictions = v),
        REP_ENUM(TrepView, "ShiftMode", REP_NAMES_SHIFT, TrepShiftMode, o.ShiftMode, o.ShiftMode = e),
        REP_STR(TrepView, "TagStr", o.TagStr, o.TagStr = v),
        REP_STR(TrepView, "URL", o.URL, o.URL = v),
        REP_STR(TrepView, "DataSetName", o.DataSetName, o.DataSetName = v),
        REP_STR(TrepView, "DataField", o.DataField, o.DataField = v),
        REP_STR(TrepView, "OnBeforePrint", o.OnBeforePrint, o.OnBeforePrint = v),
        REP_STR(TrepView, "OnAfterPrint", o.OnAfterPrint, o.OnAfterPrint = v),
        REP_STR(TrepView, "OnAfterData", o.OnAfterData, o.OnAfterData = v),
        REP_STR(TrepView, "OnPreviewClick", o.OnPreviewClick, o.OnPreviewClick = v),
    });
    return table;
}

void TrepView::BeforePrint()
{
    TrepReportComponent::BeforePrint();
    m_savedTagStr = TagStr;
    m_savedURL = URL;
}

void TrepView::GetData()
{
    TrepReport *report = Report();
    TrepCustomEngine *engine = report ? report->Engine() : nullptr;
    if (!engine)
        return;
    if (TagStr.contains(QLatin1Char('[')))
        TagStr = engine->ExpandText(TagStr);
    if (URL.contains(QLatin1Char('[')))
        URL = engine->ExpandText(URL);
}

void TrepView::AfterPrint()
{
    TagStr = m_savedTagStr;
    URL = m_savedURL;
    TrepReportComponent::AfterPrint();
}

const PropTable &TrepStretcheable::Props() const
{
    static const PropTable table(TrepView::Props(), {
        REP_ENUM(TrepStretcheable, "StretchMode", REP_NAMES_STRETCH, TrepStretchMode, o.StretchMode, o.StretchMode = e),
    });
    return table;
}

} // namespace rep
