#include "app/cli/pdfbatch.h"

#include "app/cli/errorline.h"

#include "declaration/declarationpdf.h"
#include "declaration/draftfile.h"
#include "declaration/taxcomputation.h"
#include "runtime/errors.h"
#include "runtime/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>

#include <memory>
#include <vector>

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

namespace {

QString targetOf(const QString &output, bool intoFolder, const QString &input)
{
    return intoFolder ? QDir(output).filePath(QFileInfo(input).completeBaseName() + u".pdf"_s) : output;
}

} // namespace

namespace {

// Writes each input into output; tells of each that fails by its place among the inputs and its
// error line. Returns the number of failures.
int writeEach(const QString &output, const QStringList &inputs,
              const std::function<void(qsizetype, const QString &)> &failed)
{
    const bool intoFolder = QFileInfo(output).isDir();
    PdfBatch batch;
    QSet<QString> written;
    int failures = 0;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString &input = inputs.at(i);
        const QString target = targetOf(output, intoFolder, input);
        QString reason;
        const QString key = QFileInfo(target).absoluteFilePath();
        if (written.contains(key)) {
            reason = u"A PDF neve (%1) egy korábbi bevallásfájléval egyezik; nem írja felül."_s
                         .arg(QDir::toNativeSeparators(target));
        } else if (batch.write(input, target, &reason)) {
            written.insert(key);
            continue;
        }
        failed(i, app::errorLine(input, reason));
        ++failures;
    }
    return failures;
}

} // namespace

int writePdfs(const QString &output, const QStringList &inputs, const std::function<void(const QString &)> &errorLine)
{
    return writeEach(output, inputs, [&](qsizetype, const QString &line) { errorLine(line); }) == 0 ? 0 : 1;
}

int writePdfsAtOnce(const QString &output, const QStringList &inputs, int jobs,
                    const std::function<void(const QString &)> &errorLine)
{
    // Inputs that name the same PDF go to the same helper in their order, so that which of them
    // is written, and what the others are told, is decided as in one run.
    QHash<QString, qsizetype> firstOfTarget;
    QList<QList<qsizetype>> groups;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString key = QFileInfo(targetOf(output, true, inputs.at(i))).absoluteFilePath();
        auto it = firstOfTarget.constFind(key);
        if (it == firstOfTarget.cend()) {
            it = firstOfTarget.insert(key, groups.size());
            groups.append(QList<qsizetype>());
        }
        groups[*it].append(i);
    }
    const qsizetype workers = std::min<qsizetype>(jobs, groups.size());
    QList<QList<qsizetype>> shares(workers);
    qsizetype assigned = 0;
    for (const QList<qsizetype> &group : groups) {
        shares[std::min(workers - 1, assigned * workers / inputs.size())].append(group);
        assigned += group.size();
    }

    QStringList answers(inputs.size());
    QEventLoop loop;
    int running = 0;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QList<qsizetype> &share : shares) {
        if (share.isEmpty())
            continue;
        auto process = std::make_unique<QProcess>();
        QProcess *p = process.get();
        // The helpers' own remarks (Qt's warnings) go where this program's go.
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        auto received = std::make_shared<QByteArray>();
        auto next = std::make_shared<qsizetype>(0);
        QObject::connect(p, &QProcess::readyReadStandardOutput, p, [p, received, next, share, &answers] {
            received->append(p->readAllStandardOutput());
            qsizetype end;
            while (*next < share.size() && (end = received->indexOf('\0')) >= 0) {
                answers[share.at(*next)] = QString::fromUtf8(received->left(end));
                received->remove(0, end + 1);
                ++*next;
            }
        });
        QObject::connect(p, &QProcess::finished, &loop, [&running, &loop] {
            if (--running == 0)
                loop.quit();
        });
        QObject::connect(p, &QProcess::errorOccurred, &loop, [p, &running, &loop](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart && --running == 0)
                loop.quit();
        });
        // Counted first: a helper that cannot start says so within start().
        ++running;
        p->start(QCoreApplication::applicationFilePath(), {u"--pdf-worker"_s, output});
        QByteArray list;
        for (const qsizetype i : share)
            list += QFile::encodeName(inputs.at(i)) + '\0';
        p->write(list);
        p->closeWriteChannel();
        processes.push_back(std::move(process));
    }
    if (running > 0)
        loop.exec();

    int failures = 0;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString &answer = answers.at(i);
        if (answer.startsWith(u'+'))
            continue;
        ++failures;
        errorLine(answer.startsWith(u'-') ? answer.mid(1)
                                          : app::errorLine(inputs.at(i), u"A PDF nem készült el\n"
                                                                         u"A PDF-et író folyamat váratlanul leállt."_s));
    }
    return failures == 0 ? 0 : 1;
}

int runPdfWorker(const QString &output, QIODevice &in, QIODevice &out)
{
    QStringList inputs;
    for (const QByteArray &name : in.readAll().split('\0')) {
        if (!name.isEmpty())
            inputs << QFile::decodeName(name);
    }
    // Failures are told in input order; the inputs before one were written.
    qsizetype answered = 0;
    auto answer = [&](qsizetype upTo, const QString &line) {
        for (; answered < upTo; ++answered)
            out.write("+", 2);
        out.write('-' + line.toUtf8() + '\0');
        ++answered;
    };
    writeEach(output, inputs, answer);
    for (; answered < inputs.size(); ++answered)
        out.write("+", 2);
    return 0;
}

} // namespace app
