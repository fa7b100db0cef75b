#include "app/window/printchecks.h"

#include "app/commands/checkwindow.h"
#include "app/window/fieldwarnings.h"
#include "app/window/formview.h"

#include <QWidget>
#include "logging_p.h"
#include "declaration/checks.h"

namespace app {

bool confirmChecks(FormView &form)
{
    const QList<decl::Finding> findings = decl::checkForm(form.form());
    form.warnings().showAll(findings);
    if (findings.isEmpty())
        return true;
    CheckWindow window(findings, form.widget());
    if (window.exec() == QDialog::Accepted) {
        qCInfo(lcWindow, "going on despite %d findings", int(findings.size()));
        return true;
    }
    // Without a window manager nobody gives the main window the keyboard back.
    form.widget()->activateWindow();
    form.focusField(window.fixComponent());
    return false;
}

} // namespace app
