#include "maskedtext_p.h"

namespace decl {

QStringView maskOf(FieldKind kind)
{
    switch (kind) {
    case FieldKind::TaxNumber: return QStringView(taxNumberMask);
    case FieldKind::TaxId: return QStringView(taxIdMask);
    case FieldKind::TextEdit:
    case FieldKind::NumericEdit:
    case FieldKind::RichEdit: break;
    }
    return {};
}

bool fitsMask(QStringView text, FieldKind kind)
{
    // Only the two elements these masks use: "8" (digit or space) and "\" before a literal.
    const QStringView mask = maskOf(kind);
    qsizetype m = 0;
    for (const QChar c : text) {
        if (m >= mask.size())
            return false; // longer than the pattern
        if (c == QChar(maskBlank)) {
            m += mask[m] == u'\\' ? 2 : 1;
            continue;
        }
        if (mask[m] == u'\\') {
            if (c != mask[m + 1])
                return false;
            m += 2;
        } else {
            Q_ASSERT(mask[m] == u'8');
            if (!(c == u' ' || isAsciiDigit(c)))
                return false;
            ++m;
        }
    }
    return true;
}

} // namespace decl
