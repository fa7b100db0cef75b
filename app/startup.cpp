#include "app/startup.h"

#include "app/checkcommand.h"
#include "app/commandline.h"
#include "app/form1.h"
#include "app/guide/tform2.h"
#include "app/pdfbatch.h"
#include "app/recentfiles.h"
#include "app/recoverycopy.h"
#include "app/recoverystart.h"
#include "app/terminationsignals.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace app {

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// "--pdf": no window and no display. The pages are drawn off screen unless the caller named a
// platform.
int writePdfsWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return writePdfs(commandLine.output, commandLine.inputs,
                     [](const QString &line) { print(stderr, line + QLatin1Char('\n')); });
}

// "--check": no window, no display and no fonts; the files' values are all it needs.
int checkWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCheckCommand(commandLine.inputs, out, err);
}

} // namespace

int run(int argc, char **argv)
{
    // Read once, before anything else: the conversions never follow later locale changes.
    rt::initFormatSettings();
    const CommandLine commandLine = parseCommandLine(argumentList(argc, argv));
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
        print(stdout, commandLine.text);
        return 0;
    case CommandLine::Mode::UsageError:
        print(stderr, commandLine.text);
        return 2;
    case CommandLine::Mode::Pdf:
        return writePdfsWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Check:
        return checkWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Window:
        break;
    }

    rt::Application application(argc, argv);
    // The report texts exist before any window; every page store draws through the drawing layer.
    rep::fillHungarianResources();
    rep::installPageDrawer();
    // Made before the windows, which use them to the last.
    RecentFiles recent(RecentFiles::defaultSettingsPath());
    // Unsaved work is kept for the next start where the user's data folder allows it.
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    TForm1 form1;
    guide::TForm2 form2(&form1);
    form1.setGuideWindow(&form2);
    form1.keepRecentFiles(recent);
    onTerminationSignals(&form1, [&form1] { form1.endKeepingWork(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &form1, [&form1](QSessionManager &manager) {
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
        [&form1, &recovery, path = commandLine.openFile] {
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
    return application.exec();
}

} // namespace app
