#include "accessiblenumedit_p.h"

#include "controls/common/ui/accessiblelineedit.h"
#include "controls/numedit/ui/numedit.h"

namespace ctl {

namespace {

QAccessibleInterface *numEditFactory(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TNumEdit::staticMetaObject.className()))
        if (auto *edit = qobject_cast<TNumEdit *>(object))
            return new AccessibleLineEdit(edit, AccessibleLineEdit::ClientEdits::KeysOnly);
    return nullptr;
}

} // namespace

void installNumEditAccessibility()
{
    static const bool installed = [] {
        installLineEditAccessibility();
        QAccessible::installFactory(numEditFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ctl
