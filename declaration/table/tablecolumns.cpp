#include "declaration/table/declarationtable.h"

#include "tablecolumns_p.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace decl::table_p {

namespace {

// Whose the row of a section's tab is: the block's name, or the section's caption outside the
// blocks, so that the captions the blocks repeat ("neve", "cime" …) name distinct columns.
QString ownerOf(int section, int tab)
{
    for (const FieldBlock &b : fieldBlocks())
        if (b.section == section && tab >= b.firstTab && tab <= b.lastTab)
            return b.name;
    return sections().at(section).caption.trimmed();
}

QString headerOf(const QString &owner, const QString &caption)
{
    return owner + u": "_s + captionName(caption);
}

} // namespace

const QList<Column> &columns()
{
    static const QList<Column> list = [] {
        QList<Column> c;
        c.append({ColumnKind::File, fileColumn.toString()});
        for (const Field &f : fields())
            c.append({ColumnKind::Field, headerOf(ownerOf(f.section, f.tab), f.screenCaption), &f});
        for (const RadioGroup &g : radioGroups())
            c.append({ColumnKind::Group, headerOf(ownerOf(g.section, g.tab), g.caption), nullptr, &g});
        // The computed values stand below the area fields, in their section.
        const Field *area = findField(areaFields().constFirst());
        Q_ASSERT(area);
        const QString computedSection = sections().at(area ? area->section : 0).caption.trimmed();
        for (const ComputedLabel &l : computedLabels())
            c.append({ColumnKind::Computed, headerOf(computedSection, l.name), nullptr, nullptr, &l});
        c.append({ColumnKind::Findings, findingsColumn.toString()});
        return c;
    }();
    return list;
}

int columnIndex(const QString &header)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < columns().size(); ++i)
            h.insert(columns().at(i).header, i);
        return h;
    }();
    return index.value(header, -1);
}

} // namespace decl::table_p

namespace decl {

QStringList tableHeader()
{
    QStringList header;
    for (const table_p::Column &c : table_p::columns())
        header.append(c.header);
    return header;
}

QString tableColumnName(const QString &component)
{
    for (const table_p::Column &c : table_p::columns()) {
        if ((c.field && c.field->component == component) || (c.group && c.group->component == component))
            return c.header;
    }
    return QString();
}

QByteArray tableHeaderBytes()
{
    return "\xEF\xBB\xBF" + csvRecord(tableHeader());
}

} // namespace decl
