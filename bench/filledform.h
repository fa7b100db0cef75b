#pragma once

// The declaration as a user fills it whole: every field with a value that its box on paper
// holds, valid tax numbers and identifiers, a year, a remark of the eight lines its box holds and
// every group chosen. Nothing to find for the checks; numbers with a decimal comma.

#include "declaration/catalogue.h"
#include "declaration/formaccess.h"

#include <QStringList>

namespace tk::bench {

inline decl::MapForm filledForm()
{
    using namespace Qt::StringLiterals;
    decl::MapForm form;
    int n = 0;
    for (const decl::Field &f : decl::fields()) {
        ++n;
        switch (f.kind) {
        case decl::FieldKind::TextEdit:
            form.setText(f.component, u"Kovácsné Őri Űrsula %1."_s.arg(n));
            break;
        case decl::FieldKind::TaxNumber: form.setText(f.component, u"15789934-2-51"_s); break;
        case decl::FieldKind::TaxId: form.setText(f.component, u"8365670003"_s); break;
        case decl::FieldKind::NumericEdit: form.setText(f.component, u"%1,5"_s.arg(n * 100)); break;
        case decl::FieldKind::RichEdit: {
            QStringList lines;
            for (int i = 0; i < 8; ++i)
                lines.append(u"A megjegyzés %1. sora, ékezetekkel: árvíztűrő tükörfúrógép."_s.arg(i + 1));
            form.setText(f.component, lines.join(u"\r\n"_s));
            break;
        }
        }
    }
    form.setText(u"StyledEdit2"_s, u"1998"_s);
    form.setItemIndex(u"CtlRadioGroup1"_s, 0);
    form.setItemIndex(u"CtlRadioGroup5"_s, 0);
    form.setItemIndex(u"CtlRadioGroup6"_s, 1);
    return form;
}

} // namespace tk::bench
