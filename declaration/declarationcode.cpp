#include "declaration/declarationcode.h"

#include "code_p.h"
#include "declaration/catalogue.h"
#include "declaration/formaccess.h"
#include "declaration/reporttemplate.h"
#include "declaration/taxcomputation.h"
#include "report/draw/qrcode.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/render/pagedrawer.h"
#include "runtime/errors.h"

#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

QByteArray dataOf(const Draft &draft, const QString &tax)
{
    // What the untouched form holds goes without saying: the reader puts it back, as opening a
    // file does for what the file leaves out. The code then stays plain text more often.
    Draft told;
    for (auto it = draft.texts.cbegin(); it != draft.texts.cend(); ++it)
        if (code_p::untouched().texts.value(it.key()) != it.value())
            told.texts.insert(it.key(), it.value());
    for (auto it = draft.choices.cbegin(); it != draft.choices.cend(); ++it)
        if (code_p::untouched().choices.value(it.key(), -1) != it.value())
            told.choices.insert(it.key(), it.value());
    const QByteArray json = QJsonDocument::fromJson(toJson(told)).toJson(QJsonDocument::Compact);
    return tax.toUtf8() + '\n' + json;
}

// The printed form's code view as the drawing lays it out.
const rep::draw::DrawQRCode &formCode()
{
    static const rep::draw::DrawQRCode code = [] {
        rep::TrepReport report;
        loadReportTemplate(report);
        for (rep::TrepComponent *object : report.AllObjects())
            if (const auto *view = dynamic_cast<rep::TrepQRCodeView *>(object))
                return rep::drawQRCodeOf(*view);
        throw rt::Exception(u"The report template has no 2D code"_s);
    }();
    return code;
}

} // namespace

QString plainCode(const Draft &draft, const QString &tax)
{
    return codeMarker.toString() + QString::number(codeVersion) + code_p::plainMode + u'\n'
           + QString::fromUtf8(dataOf(draft, tax));
}

QString compressedCode(const Draft &draft, const QString &tax)
{
    return codeMarker.toString() + QString::number(codeVersion) + code_p::compressedMode
           + toBase45(qCompress(dataOf(draft, tax), 9));
}

bool codeFitsForm(const QString &payload)
{
    return rep::draw::qrFitsBox(formCode(), payload);
}

namespace {

// The payload for a draft: nothing when a number of it cannot be computed (then there is no code
// at all), empty when it does not fit the printed form's code even compressed.
std::optional<QString> codeOf(const Draft &draft)
{
    // The tax computed afresh from what the code carries, as its reader will: a caption not yet
    // brought up to date by the window must not make the paper unreadable.
    MapForm computed;
    applyDraft(draft, computed);
    try {
        szamolas(computed);
    } catch (const std::exception &) {
        return std::nullopt;
    }
    const QString tax = code_p::taxOf(computed);
    const QString plain = plainCode(draft, tax);
    if (codeFitsForm(plain))
        return plain;
    const QString packed = compressedCode(draft, tax);
    return codeFitsForm(packed) ? packed : QString();
}

} // namespace

QString declarationCode(const FormAccess &form)
{
    return codeOf(draftOf(form)).value_or(QString());
}

QString fieldTooLongForCode(const FormAccess &form)
{
    const Draft draft = draftOf(form);
    const std::optional<QString> code = codeOf(draft);
    // Without a computable tax there is no code at all; the computation's own error says why.
    if (!code || !code->isEmpty())
        return {};
    QString longest;
    qsizetype most = -1;
    for (const Field &f : fields()) {
        const qsizetype size = draft.texts.value(f.component).toUtf8().size();
        if (size > most) {
            most = size;
            longest = f.component;
        }
    }
    return longest;
}

} // namespace decl
