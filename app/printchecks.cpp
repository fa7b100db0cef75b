#include "app/printchecks.h"

#include "app/checkwindow.h"
#include "app/fieldwarnings.h"
#include "app/form1.h"
#include "logging_p.h"
#include "declaration/checks.h"

namespace app {

bool confirmChecks(TForm1 &form)
{
    const QList<decl::Finding> findings = decl::checkForm(form.form());
    form.warnings().showAll(findings);
    if (findings.isEmpty())
        return true;
    CheckWindow window(findings, &form);
    if (window.exec() == QDialog::Accepted) {
        qCInfo(lcApp, "going on despite %d findings", int(findings.size()));
        return true;
    }
    // Without a window manager nobody gives the main window the keyboard back.
    form.activateWindow();
    form.focusField(window.fixComponent());
    return false;
}

} // namespace app
