#pragma once

#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"

#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace app {

// Writes declaration files as PDFs without a window. One form and one report serve every file,
// so that memory stays the same however many files are written.
class PdfBatch
{
public:
    PdfBatch();

    // Reads the declaration file, computes as leaving an area field does, prepares the
    // declaration and writes it to output. Returns false with the message (a headline, and the
    // reason on the next line) when the file could not be read, computed, prepared or written;
    // nothing is written then.
    bool write(const QString &input, const QString &output, QString *reason);

private:
    decl::MapForm m_form;
    decl::DeclarationReport m_report;
};

// "--pdf OUTPUT FILE...": each input into OUTPUT, a ".pdf" file for one input or an existing
// folder for one PDF per input named after it. An input that fails is reported as one line
// "FILE: headline: reason." (errorline.h) and the others are still written. Returns the exit code: 0 when every input
// was written, else 1.
int writePdfs(const QString &output, const QStringList &inputs, const std::function<void(const QString &)> &errorLine);

// The same with `jobs` helper processes ("--pdf-worker") writing at once, each with its share of
// the inputs: the files and the error lines, in input order, are those of writePdfs.
int writePdfsAtOnce(const QString &output, const QStringList &inputs, int jobs,
                    const std::function<void(const QString &)> &errorLine);

// "--pdf-worker OUTPUT": a helper of writePdfsAtOnce. Reads the inputs from `in`, each ended by a
// NUL, writes them into the folder OUTPUT as writePdfs does and answers on `out` for each input
// in order "+" or "-" and its error line, ended by a NUL. Returns 0.
int runPdfWorker(const QString &output, QIODevice &in, QIODevice &out);

} // namespace app
