#include "app/startup.h"

#include "app/cli/checkcommand.h"
#include "app/cli/commandline.h"
#include "app/cli/pdfbatch.h"
#include "app/cli/scancommand.h"
#include "app/cli/tablecommand.h"
#include "app/qttranslation.h"
#include "app/window/windowstart.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHashFunctions>
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

// One line of a headless command on standard error.
void printLine(const QString &line)
{
    print(stderr, line + QLatin1Char('\n'));
}

// The headless commands draw off screen whatever platform the environment names: a desktop's
// QT_QPA_PLATFORM=wayland without a compositor (a cron job, ssh) would otherwise end the program
// before its first file. A "-platform" argument still chooses, as in any Qt program.
void drawOffScreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

// "--pdf" and its helpers: no window and no display.
int writePdfsWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    // The same file gives the same bytes: Qt's PDF writer lists the fonts in the order of its
    // hashes, which are seeded afresh each run unless told otherwise.
    QHashSeed::setDeterministicGlobalSeed();
    QGuiApplication application(argc, argv);
    installQtTranslation();
    rep::fillHungarianResources();
    rep::installPageDrawer();
    if (commandLine.mode == CommandLine::Mode::PdfWorker) {
        QFile in;
        QFile out;
        if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
            return 1;
        return runPdfWorker(commandLine.output, in, out);
    }
    if (commandLine.jobs > 1 && commandLine.inputs.size() > 1 && QFileInfo(commandLine.output).isDir())
        return writePdfsAtOnce(commandLine.output, commandLine.inputs, commandLine.jobs, printLine);
    return writePdfs(commandLine.output, commandLine.inputs, printLine);
}

// "--check": no window and no display, but the fonts: they tell whether each value fits on paper.
int checkWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    QGuiApplication application(argc, argv);
    installQtTranslation();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCheckCommand(commandLine.inputs, out, err);
}

// "--scan": no window and no display; pages are turned into images off screen.
int scanWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    QGuiApplication application(argc, argv);
    installQtTranslation();
    return scanDeclarations(commandLine.output, commandLine.inputs, printLine);
}

// "--table": no window and no display, but the fonts: the row counts the checks' findings.
int tableWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    drawOffScreen();
    QGuiApplication application(argc, argv);
    installQtTranslation();
    return writeTable(commandLine.output, commandLine.inputs, printLine);
}

// "--from-table": reading and writing declaration files only.
int fromTableWithoutWindow(int argc, char **argv, const CommandLine &commandLine)
{
    QCoreApplication application(argc, argv);
    installQtTranslation();
    return writeDeclarationsFromTable(commandLine.tableFile, commandLine.output, commandLine.nameColumn, printLine,
                                      printLine);
}

// "--help" and usage errors. Qt's part of the text (the usage line, its headings, its own errors)
// is translated only through an application object, which the first reading had not: the
// arguments are read again under one. Still no display.
int printUsage(int argc, char **argv, const QStringList &arguments)
{
    QCoreApplication application(argc, argv);
    installQtTranslation();
    const CommandLine commandLine = parseCommandLine(arguments);
    const bool help = commandLine.mode == CommandLine::Mode::Help;
    print(help ? stdout : stderr, commandLine.text);
    return help ? 0 : 2;
}

} // namespace

int run(int argc, char **argv)
{
    // Read once, before anything else: the conversions never follow later locale changes.
    rt::initFormatSettings();
    const QStringList arguments = argumentList(argc, argv);
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::UsageError:
        return printUsage(argc, argv, arguments);
    case CommandLine::Mode::Version:
        print(stdout, commandLine.text);
        return 0;
    case CommandLine::Mode::Pdf:
    case CommandLine::Mode::PdfWorker:
        return writePdfsWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Check:
        return checkWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Scan:
        return scanWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Table:
        return tableWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::FromTable:
        return fromTableWithoutWindow(argc, argv, commandLine);
    case CommandLine::Mode::Window:
        break;
    }

    rt::Application application(argc, argv);
    // Before any window, whose Qt parts take their texts as they are made.
    installQtTranslation();
    // The report texts exist before any window; every page store draws through the drawing layer.
    rep::fillHungarianResources();
    rep::installPageDrawer();
    return runWindow(commandLine.openFile);
}

} // namespace app
