#include "app/startup.h"

#include "app/checkcommand.h"
#include "app/commandline.h"
#include "app/form1.h"
#include "app/guide/tform2.h"
#include "app/pdfbatch.h"
#include "app/scancommand.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QMetaObject>
#include <QTextStream>

#include <cstdio>

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

// The headless commands draw off screen whatever platform the environment names: a desktop's
// QT_QPA_PLATFORM=wayland without a compositor (a cron job, ssh) would otherwise end the program
// before its first file. A "-platform" argument still chooses, as in any Qt program.
void drawOffScreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

// "--pdf": no window and no display.
int writePdfsWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    // The same file gives the same bytes: Qt's PDF writer lists the fonts in the order of its
    // hashes, which are seeded afresh each run unless told otherwise.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication application(argc, argv);
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return writePdfs(commandLine.output, commandLine.inputs,
                     [](const QString &line) { print(stderr, line + QLatin1Char('\n')); });
}

// "--check": no window and no display, but the fonts: they tell whether each value fits on paper.
int checkWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    QGuiApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCheckCommand(commandLine.inputs, out, err);
}

// "--scan": no window and no display; pages are turned into images off screen.
int scanWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    QGuiApplication application(argc, argv);
    return scanDeclarations(commandLine.output, commandLine.inputs,
                            [](const QString &line) { print(stderr, line + QLatin1Char('\n')); });
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
    case CommandLine::Mode::Scan:
        return scanWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Window:
        break;
    }

    rt::Application application(argc, argv);
    // The report texts exist before any window; every page store draws through the drawing layer.
    rep::fillHungarianResources();
    rep::installPageDrawer();
    TForm1 form1;
    guide::TForm2 form2(&form1);
    form1.setGuideWindow(&form2);
    form1.show();
    if (!commandLine.openFile.isEmpty()) {
        // Opened from the event loop, over the shown window; a file that cannot be read leaves
        // the untouched form and says why.
        QMetaObject::invokeMethod(
            &form1, [&form1, path = commandLine.openFile] { rt::runHandler([&] { form1.openFile(path); }); },
            Qt::QueuedConnection);
    }
    return application.exec();
}

} // namespace app
