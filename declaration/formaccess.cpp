#include "declaration/formaccess.h"

#include "declaration/catalogue.h"

namespace decl {

MapForm::MapForm()
{
    for (const Field &f : fields())
        m_texts.insert(f.component, initialText(f.kind));
    for (const RadioGroup &g : radioGroups())
        m_indexes.insert(g.component, -1);
    for (const ComputedLabel &l : computedLabels())
        m_captions.insert(l.component, QStringLiteral("0"));
}

QString MapForm::text(const QString &component) const
{
    return m_texts.value(component);
}

int MapForm::itemIndex(const QString &group) const
{
    return m_indexes.value(group, -1);
}

QString MapForm::caption(const QString &label) const
{
    return m_captions.value(label);
}

void MapForm::setCaption(const QString &label, const QString &caption)
{
    m_captions.insert(label, caption);
    m_writes.append({label, caption});
}

void MapForm::setText(const QString &component, const QString &text)
{
    m_texts.insert(component, text);
}

void MapForm::setItemIndex(const QString &group, int index)
{
    m_indexes.insert(group, index);
}

} // namespace decl
