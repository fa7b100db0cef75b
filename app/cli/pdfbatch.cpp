#include "app/cli/pdfbatch.h"

#include "app/cli/errorline.h"

#include "declaration/declarationpdf.h"
#include "declaration/draftfile.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"
#include "runtime/messages.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>

using namespace Qt::StringLiterals;

namespace app {

PdfBatch::PdfBatch() : m_report(m_form)
{
}

bool PdfBatch::write(const QString &input, const QString &output, QString *reason)
{
    auto fail = [&](const QString &message) {
        if (reason)
            *reason = message;
        return false;
    };
    QString error;
    const std::optional<decl::Draft> draft = decl::loadDraft(input, &error);
    if (!draft)
        return fail(error);
    // A fresh form each time: what the file leaves out is as on an untouched form.
    m_form = decl::MapForm();
    decl::applyDraft(*draft, m_form);
    try {
        decl::szamolas(m_form);
    } catch (const std::exception &e) {
        // The window would show the error and keep a figure from before; a PDF carries no such
        // half-computed tax.
        return fail(u"A bevallás nem számolható ki: %1"_s.arg(QString::fromUtf8(e.what())));
    }

    // The report shows its errors through the message display: here they become the reason.
    QStringList reportErrors;
    const rt::MessageHandler previous =
        rt::setMessageHandler([&](const rt::Message &m) { reportErrors << m.text; });
    const auto restore = qScopeGuard([&] { rt::setMessageHandler(previous); });
    if (!m_report.prepare())
        return fail(u"A bevallás nem készíthető el: "_s + reportErrors.join(u' '));
    if (!decl::saveDeclarationPdf(m_report, output, &error))
        return fail(error);
    return true;
}

int writePdfs(const QString &output, const QStringList &inputs, const std::function<void(const QString &)> &errorLine)
{
    const bool intoFolder = QFileInfo(output).isDir();
    PdfBatch batch;
    QSet<QString> written;
    int failures = 0;
    for (const QString &input : inputs) {
        const QString target = intoFolder ? QDir(output).filePath(QFileInfo(input).completeBaseName() + u".pdf"_s)
                                          : output;
        QString reason;
        const QString key = QFileInfo(target).absoluteFilePath();
        if (written.contains(key)) {
            reason = u"A PDF neve (%1) egy korábbi bevallásfájléval egyezik; nem írja felül."_s
                         .arg(QDir::toNativeSeparators(target));
        } else if (batch.write(input, target, &reason)) {
            written.insert(key);
            continue;
        }
        errorLine(app::errorLine(input, reason));
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace app
