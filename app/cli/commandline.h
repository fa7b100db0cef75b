#pragma once

#include <QString>
#include <QStringList>

namespace app {

// What the command line asks the program to do.
struct CommandLine
{
    enum class Mode {
        Window,     // the main window, with openFile opened at start when given
        Pdf,        // no window: the inputs written as PDFs into output
        Check,      // no window: the inputs checked as before printing, one line per finding
        Scan,       // no window: the declarations read from scanned pages into output, a folder
        Table,      // no window: the inputs as one CSV table, output
        FromTable,  // no window: one declaration file per row of the table tableFile into output, a folder
        PdfWorker,  // no window: a --pdf helper; its inputs come on standard input
        Help,       // text to standard output, exit code 0
        Version,    // text to standard output, exit code 0
        UsageError, // text to standard error, exit code 2
    };
    Mode mode = Mode::Window;
    QString openFile;
    // A ".pdf" file for one input, or an existing folder for one PDF per input; for Scan the
    // folder the declaration files go into.
    QString output;
    QStringList inputs;
    // "--from-table": the table read, and the column the files are named after (empty: the
    // taxpayer's name).
    QString tableFile;
    QString nameColumn;
    // "--pdf": how many declarations are written at once.
    int jobs = 1;
    QString text;
};

// The program's version, from the build ("1.0.0").
QString programVersion();

// Reads the arguments, the program's name first. It needs no application object, so that the
// mode can choose which one to make.
CommandLine parseCommandLine(const QStringList &arguments);

} // namespace app
