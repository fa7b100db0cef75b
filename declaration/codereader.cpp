#include "declaration/declarationcode.h"

#include "code_p.h"
#include "declaration/formaccess.h"
#include "declaration/taxcomputation.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

// The reading half of the 2D code: no printed form, fonts or symbols are needed to read one.

namespace decl {

namespace {

std::optional<Draft> refuse(QString *errorString, const QString &source, const QString &reason)
{
    if (errorString)
        *errorString = u"A kód nem olvasható be: %1\n%2"_s.arg(source, reason);
    return std::nullopt;
}

int base45Value(QChar c)
{
    for (size_t i = 0; i < code_p::base45Alphabet.size(); ++i)
        if (c.unicode() == code_p::base45Alphabet[i])
            return int(i);
    return -1;
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
            out += QChar(code_p::base45Alphabet[size_t(n % 45)]);
            n /= 45;
        }
    }
    if (i < bytes.size()) {
        const int n = uchar(bytes[i]);
        out += QChar(code_p::base45Alphabet[size_t(n % 45)]);
        out += QChar(code_p::base45Alphabet[size_t(n / 45)]);
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
    if (mode == code_p::plainMode) {
        if (digits + 1 >= text.size() || text[digits + 1] != u'\n')
            return refuse(errorString, source, u"A kód adatai hiányosak."_s);
        data = QStringView(text).mid(digits + 2).toUtf8();
    } else if (mode == code_p::compressedMode) {
        const std::optional<QByteArray> packed = fromBase45(QStringView(text).mid(digits + 1));
        // The first four bytes give the unpacked size: checked before anything is unpacked.
        if (!packed || packed->size() < 4 || qFromBigEndian<quint32>(packed->constData()) > code_p::maxUnpacked)
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
    std::optional<Draft> draft = code_p::untouched();
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
    if (code_p::taxOf(form) != tax)
        return refuse(errorString, source,
                      u"A kódban álló adó (%1) nem egyezik az adataiból számolttal (%2)."_s.arg(tax, code_p::taxOf(form)));
    return draft;
}

} // namespace decl
