#include "app/window/windowstart.h"

#include "app/commands/recentfiles.h"
#include "app/commands/recoverycopy.h"
#include "app/guide/tform2.h"
#include "app/window/form1.h"
#include "app/window/recoverystart.h"
#include "app/window/terminationsignals.h"
#include "runtime/messages.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>

using namespace Qt::StringLiterals;

namespace app {

int runWindow(const QString &openFile)
{
    // Made before the windows, which use them to the last.
    RecentFiles recent(RecentFiles::defaultSettingsPath());
    // Unsaved work is kept for the next start where the user's data folder allows it.
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    TForm1 form1;
    guide::TForm2 form2(&form1);
    form1.setGuideWindow(&form2);
    form1.keepRecentFiles(recent);
    onTerminationSignals(&form1, [&form1] { form1.endKeepingWork(); });
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &form1, [&form1](QSessionManager &manager) {
        if (!form1.endSession(manager.allowsInteraction()))
            manager.cancel();
        manager.release();
    });
    form1.show();
    // From the event loop, over the shown window: the recovery folder (its lock is synced to
    // disk, which the window need not wait for), the question about recovered work, then the
    // file; a file that cannot be read leaves the untouched form and says why.
    QMetaObject::invokeMethod(
        &form1,
        [&form1, &recovery, path = openFile] {
            QString recoveryProblem;
            if (!recovery.open(&recoveryProblem)) {
                form1.showRecoveryProblem(u"A program helyreállítási másolat nélkül fut: "_s + recoveryProblem);
                if (!path.isEmpty())
                    rt::runHandler([&] { form1.openFile(path); });
                return;
            }
            form1.keepRecoveryCopies(recovery);
            rt::runHandler([&] { offerRecoveredWork(form1, recovery, path); });
        },
        Qt::QueuedConnection);
    return QGuiApplication::exec();
}

} // namespace app
