#include "declaration/declarationcode.h"

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
#include <QtEndian>

#include <array>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

constexpr char16_t plainMode = u'P';
constexpr char16_t compressedMode = u'Z';
// A code holds at most a few kilobytes; its data unpacked cannot be larger than a file.
constexpr quint32 maxUnpacked = quint32(maxDraftFileSize);

constexpr std::array<char16_t, 45> base45Alphabet = {
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u'A', u'B', u'C', u'D', u'E',
    u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O', u'P', u'Q', u'R', u'S', u'T',
    u'U', u'V', u'W', u'X', u'Y', u'Z', u' ', u'$', u'%', u'*', u'+', u'-', u'.', u'/', u':'};

int base45Value(QChar c)
{
    for (size_t i = 0; i < base45Alphabet.size(); ++i)
        if (c.unicode() == base45Alphabet[i])
            return int(i);
    return -1;
}

// The tax as the form shows it (Label4, key m38).
QString taxOf(const FormAccess &form)
{
    return form.caption(u"Label4"_s);
}

// The untouched form's texts and choices, which a code leaves out.
const Draft &untouched()
{
    static const Draft draft = draftOf(MapForm());
    return draft;
}

QByteArray dataOf(const Draft &draft, const QString &tax)
{
    // What the untouched form holds goes without saying: the reader puts it back, as opening a
    // file does for what the file leaves out. The code then stays plain text more often.
    Draft told;
    for (auto it = draft.texts.cbegin(); it != draft.texts.cend(); ++it)
        if (untouched().texts.value(it.key()) != it.value())
            told.texts.insert(it.key(), it.value());
    for (auto it = draft.choices.cbegin(); it != draft.choices.cend(); ++it)
        if (untouched().choices.value(it.key(), -1) != it.value())
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

std::optional<Draft> refuse(QString *errorString, const QString &source, const QString &reason)
{
    if (errorString)
        *errorString = u"A kód nem olvasható be: %1\n%2"_s.arg(source, reason);
    return std::nullopt;
}

} // namespace

QString toBase45(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size() / 2 * 3 + 2);
    qsizetype i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        int n = (uchar(bytes[i]) << 8) | uchar(bytes[i + 1]);
        for (int k = 0; k < 3; ++k) {
            out += QChar(base45Alphabet[size_t(n % 45)]);
            n /= 45;
        }
    }
    if (i < bytes.size()) {
        const int n = uchar(bytes[i]);
        out += QChar(base45Alphabet[size_t(n % 45)]);
        out += QChar(base45Alphabet[size_t(n / 45)]);
    }
    return out;
}

std::optional<QByteArray> fromBase45(QStringView text)
{
    if (text.size() % 3 == 1)
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() / 3 * 2 + 1);
    for (qsizetype i = 0; i < text.size(); i += 3) {
        const qsizetype count = std::min<qsizetype>(3, text.size() - i);
        int n = 0;
        int scale = 1;
        for (qsizetype k = 0; k < count; ++k) {
            const int v = base45Value(text[i + k]);
            if (v < 0)
                return std::nullopt;
            n += v * scale;
            scale *= 45;
        }
        if (count == 3) {
            if (n > 0xFFFF)
                return std::nullopt;
            out += char(n >> 8);
            out += char(n & 0xFF);
        } else {
            if (n > 0xFF)
                return std::nullopt;
            out += char(n);
        }
    }
    return out;
}

QString plainCode(const Draft &draft, const QString &tax)
{
    return codeMarker.toString() + QString::number(codeVersion) + plainMode + u'\n' + QString::fromUtf8(dataOf(draft, tax));
}

QString compressedCode(const Draft &draft, const QString &tax)
{
    return codeMarker.toString() + QString::number(codeVersion) + compressedMode + toBase45(qCompress(dataOf(draft, tax), 9));
}

bool codeFitsForm(const QString &payload)
{
    const rep::draw::DrawQRCode &code = formCode();
    return rep::draw::qrModuleSize(code, rep::draw::encodeQR(payload, code.ErrorLevel)) > 0;
}

QString declarationCode(const FormAccess &form)
{
    const Draft draft = draftOf(form);
    // The tax computed afresh from what the code carries, as its reader will: a caption not yet
    // brought up to date by the window must not make the paper unreadable.
    MapForm computed;
    applyDraft(draft, computed);
    try {
        szamolas(computed);
    } catch (const std::exception &) {
        return {};
    }
    const QString tax = taxOf(computed);
    const QString plain = plainCode(draft, tax);
    if (codeFitsForm(plain))
        return plain;
    const QString packed = compressedCode(draft, tax);
    return codeFitsForm(packed) ? packed : QString();
}

std::optional<Draft> readCode(QByteArrayView bytes, const QString &source, QString *errorString)
{
    const QString text = QString::fromUtf8(bytes);
    if (!text.startsWith(codeMarker) || text.toUtf8() != bytes)
        return refuse(errorString, source, u"A kód nem a telekadó-bevallás kódja."_s);
    qsizetype at = codeMarker.size();
    qsizetype digits = at;
    while (digits < text.size() && text[digits].isDigit() && text[digits].unicode() < 128)
        ++digits;
    bool ok = false;
    const int version = QStringView(text).mid(at, digits - at).toInt(&ok);
    if (!ok || digits == text.size())
        return refuse(errorString, source, u"A kód nem a telekadó-bevallás kódja."_s);
    if (version > codeVersion)
        return refuse(errorString, source,
                      u"A kód a program egy újabb változatával készült (%1. változat); ez a program a(z) %2. "
                      u"változatot olvassa. Frissítse a programot."_s.arg(version).arg(codeVersion));
    if (version < 1)
        return refuse(errorString, source, u"A kód nem a telekadó-bevallás kódja."_s);
    const QChar mode = text[digits];
    QByteArray data;
    if (mode == plainMode) {
        if (digits + 1 >= text.size() || text[digits + 1] != u'\n')
            return refuse(errorString, source, u"A kód adatai hiányosak."_s);
        data = QStringView(text).mid(digits + 2).toUtf8();
    } else if (mode == compressedMode) {
        const std::optional<QByteArray> packed = fromBase45(QStringView(text).mid(digits + 1));
        // The first four bytes give the unpacked size: checked before anything is unpacked.
        if (!packed || packed->size() < 4 || qFromBigEndian<quint32>(packed->constData()) > maxUnpacked)
            return refuse(errorString, source, u"A kód tömörített adatai sérültek."_s);
        data = qUncompress(*packed);
        if (data.isEmpty())
            return refuse(errorString, source, u"A kód tömörített adatai sérültek."_s);
    } else {
        return refuse(errorString, source, u"A kód nem a telekadó-bevallás kódja."_s);
    }
    const qsizetype newline = data.indexOf('\n');
    if (newline < 0)
        return refuse(errorString, source, u"A kód adatai hiányosak."_s);
    const QString tax = QString::fromUtf8(data.left(newline));
    std::optional<Draft> told = readDraft(QByteArrayView(data).sliced(newline + 1), source, errorString);
    if (!told)
        return std::nullopt;
    std::optional<Draft> draft = untouched();
    draft->texts.insert(told->texts);
    draft->choices.insert(told->choices);
    // The data must give the tax the paper showed: a code misread into valid values is caught.
    MapForm form;
    applyDraft(*draft, form);
    try {
        szamolas(form);
    } catch (const std::exception &) {
        return refuse(errorString, source, u"A kód adataiból az adó nem számítható ki."_s);
    }
    if (taxOf(form) != tax)
        return refuse(errorString, source,
                      u"A kódban álló adó (%1) nem egyezik az adataiból számolttal (%2)."_s.arg(tax, taxOf(form)));
    return draft;
}

} // namespace decl
