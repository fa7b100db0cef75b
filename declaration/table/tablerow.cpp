#include "declaration/table/declarationtable.h"

#include "declaration/checks.h"
#include "declaration/formaccess.h"
#include "declaration/taxcomputation.h"
#include "tablecolumns_p.h"

#include <exception>

// The writing half of the table: a row is computed and checked as the window would.

namespace decl {

QStringList tableRow(const QString &fileName, const Draft &draft, QDate today)
{
    MapForm form;
    applyDraft(draft, form);
    bool computed = true;
    try {
        szamolas(form);
    } catch (const std::exception &) {
        // Left empty: a half-written computation would show values that belong to no form.
        computed = false;
    }
    QStringList cells;
    cells.reserve(table_p::columns().size());
    for (const table_p::Column &c : table_p::columns()) {
        switch (c.kind) {
        case table_p::ColumnKind::File:
            cells.append(fileName);
            break;
        case table_p::ColumnKind::Field:
            cells.append(fileTextOf(*c.field, form.text(c.field->component)));
            break;
        case table_p::ColumnKind::Group: {
            const int index = form.itemIndex(c.group->component);
            cells.append(index >= 0 && index < c.group->items.size() ? c.group->items.at(index) : QString());
            break;
        }
        case table_p::ColumnKind::Computed:
            cells.append(computed ? form.caption(c.label->component) : QString());
            break;
        case table_p::ColumnKind::Findings:
            cells.append(QString::number(checkForm(form, today).size()));
            break;
        }
    }
    return cells;
}

} // namespace decl
