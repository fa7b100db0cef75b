#include "declaration/draftfile.h"

#include "declaration/catalogue.h"
#include "filesave_p.h"
#include "declaration/formaccess.h"
#include "logging_p.h"
#include "maskedtext_p.h"
#include "runtime/floatconv.h"
#include "runtime/formatsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace decl {

namespace {

const QString &keyFormat() { static const QString k = u"format"_s; return k; }
const QString &keyVersion() { static const QString k = u"version"_s; return k; }
const QString &keyFields() { static const QString k = u"fields"_s; return k; }
const QString &keyChoices() { static const QString k = u"choices"_s; return k; }

// The headline names the file; the reason follows on its own line.
QString failure(const QString &headline, const QString &path, const QString &reason)
{
    return headline.arg(QDir::toNativeSeparators(path)) + u'\n' + reason;
}

QString notOurs(const QString &path, const QString &reason)
{
    return failure(u"A fájl nem telekadó-bevallás: %1"_s, path, reason);
}

QString notLoadable(const QString &path, const QString &reason)
{
    return failure(u"A bevallás nem tölthető be: %1"_s, path, reason);
}

bool setError(QString *errorString, const QString &message)
{
    if (errorString)
        *errorString = message;
    return false;
}

std::optional<Draft> refuse(QString *errorString, const QString &message)
{
    setError(errorString, message);
    return std::nullopt;
}

const QHash<QString, const Field *> &fieldsByKey()
{
    static const QHash<QString, const Field *> map = [] {
        QHash<QString, const Field *> m;
        for (const Field &f : fields())
            m.insert(f.key, &f);
        return m;
    }();
    return map;
}

// "Az „m3” kulcsú mező (adószáma, I. AZ ADÓ ALANYA)": the key, the screen caption without its
// colon and the section, so that a person can find the field on the form.
QString fieldRef(const Field &f)
{
    return u"Az „%1” kulcsú mező (%2, %3)"_s.arg(f.key, captionName(f.screenCaption),
                                                  sections().at(f.section).caption.trimmed());
}

// A numeric text as the numeric edit can hold it, with "," or "." as its decimal separator,
// rewritten with the current locale's separator; nothing when it is not a number.
std::optional<QString> numericText(const QString &text)
{
    const QChar sep = rt::formatSettings().decimalSeparator;
    QString out = text;
    int separators = 0;
    for (QChar &c : out) {
        if (c == u',' || c == u'.' || c == sep) {
            c = sep;
            ++separators;
        } else if (!isAsciiDigit(c) && c != u'-' && c != u'E' && c != u'e') {
            return std::nullopt;
        }
    }
    long double value = 0;
    if (separators > 1 || !rt::TryStrToFloat(out, value))
        return std::nullopt;
    return out;
}

// The remark's lines: "\r\n" on the form, "\n" in the file.
QString remarkToFile(const QString &text)
{
    QString out = text;
    out.replace(u"\r\n"_s, u"\n"_s);
    return out;
}

QString remarkFromFile(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            qsizetype j = i;
            while (j < text.size() && text[j] == u'\r')
                ++j;
            if (j < text.size() && text[j] == u'\n') {
                out += u"\r\n"_s;
                i = j;
                continue;
            }
            out += text.mid(i, j - i);
            i = j - 1;
        } else if (text[i] == u'\n') {
            out += u"\r\n"_s;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The first control character a field cannot hold, as its position (1-based), or 0: a tab
// anywhere, and the remark's line breaks, are text; NUL and the other controls are not, and would
// print as blanks or cut a value short.
qsizetype controlCharacterAt(const QString &text, FieldKind kind)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        if (!control || c == u'\t' || (kind == FieldKind::RichEdit && (c == u'\n' || c == u'\r')))
            continue;
        return i + 1;
    }
    return 0;
}

// The form text for a file text, or the reason why the field cannot hold it.
std::optional<QString> formTextOf(const Field &f, const QString &fileText, QString *reason,
                                  NumericTexts numbers = NumericTexts::MustBeNumbers)
{
    if (fileText.size() > maxDraftFieldLength) {
        *reason = u"%1 szövege túl hosszú: %2 karakter, legfeljebb %3 lehet."_s
                      .arg(fieldRef(f)).arg(fileText.size()).arg(maxDraftFieldLength);
        return std::nullopt;
    }
    if (const qsizetype at = controlCharacterAt(fileText, f.kind)) {
        *reason = u"%1 szövegében vezérlőkarakter áll (U+%2, a(z) %3. karakter), amely nem szöveg."_s
                      .arg(fieldRef(f))
                      .arg(uint(fileText[at - 1].unicode()), 4, 16, QLatin1Char('0'))
                      .arg(at);
        return std::nullopt;
    }
    switch (f.kind) {
    case FieldKind::TaxNumber:
    case FieldKind::TaxId:
        if (!fitsMask(fileText, f.kind)) {
            *reason = u"%1 szövege („%2”) nem illik a mező mintájára (%3)."_s
                          .arg(fieldRef(f), fileText, initialText(f.kind));
            return std::nullopt;
        }
        return fileText;
    case FieldKind::NumericEdit:
        if (std::optional<QString> number = numericText(fileText))
            return number;
        if (numbers == NumericTexts::AsTyped)
            return fileText;
        *reason = u"%1 szövege („%2”) nem szám."_s.arg(fieldRef(f), fileText);
        return std::nullopt;
    case FieldKind::RichEdit:
        return remarkFromFile(fileText);
    case FieldKind::TextEdit:
        break;
    }
    return fileText;
}

QString groupRangeProblem(const RadioGroup &g, qint64 index)
{
    return u"A „%1” csoportban (%2) választott sorszám, %3, nincs a -1 … %4 tartományban."_s
        .arg(g.component, g.caption).arg(index).arg(g.items.size() - 1);
}

bool isInteger(const QJsonValue &v, qint64 *out)
{
    if (!v.isDouble())
        return false;
    // toInteger gives the default for fractions and for values beyond 64 bits.
    constexpr qint64 none = std::numeric_limits<qint64>::min();
    const qint64 i = v.toInteger(none);
    if (i == none)
        return false;
    *out = i;
    return true;
}

QString tooLarge(qint64 size)
{
    return u"A fájl túl nagy: %1 bájt; egy bevallásfájl legfeljebb %2 bájt lehet."_s.arg(size).arg(maxDraftFileSize);
}

bool readFields(const QJsonObject &object, const QString &path, Draft &draft, QString *errorString,
                NumericTexts numbers)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const Field *f = fieldsByKey().value(it.key());
        if (!f)
            return setError(errorString,
                            notLoadable(path, u"Ismeretlen mezőkulcs: „%1”. A bevallás mezőinek kulcsa m1 … m44 "
                                                u"(a számított m29, m36, m37 és m38 nélkül)."_s
                                                  .arg(it.key())));
        if (!it.value().isString())
            return setError(errorString, notLoadable(path, u"%1 értéke nem szöveg."_s.arg(fieldRef(*f))));
        QString reason;
        const std::optional<QString> text = formTextOf(*f, it.value().toString(), &reason, numbers);
        if (!text)
            return setError(errorString, notLoadable(path, reason));
        draft.texts.insert(f->component, *text);
    }
    return true;
}

bool readChoices(const QJsonObject &object, const QString &path, Draft &draft, QString *errorString)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const RadioGroup *g = findGroup(it.key());
        if (!g)
            return setError(errorString,
                            notLoadable(path, u"Ismeretlen választócsoport: „%1”. A csoportok: CtlRadioGroup1, "
                                                u"CtlRadioGroup5 és CtlRadioGroup6."_s
                                                  .arg(it.key())));
        qint64 index = 0;
        if (!isInteger(it.value(), &index))
            return setError(errorString, notLoadable(path, u"A „%1” csoport (%2) értéke nem egész szám."_s
                                                               .arg(g->component, g->caption)));
        if (index < -1 || index >= g->items.size())
            return setError(errorString, notLoadable(path, groupRangeProblem(*g, index)));
        draft.choices.insert(g->component, int(index));
    }
    return true;
}

} // namespace

QString fileTextOf(const Field &f, const QString &formText)
{
    return f.kind == FieldKind::RichEdit ? remarkToFile(formText) : formText;
}

Draft draftOf(const FormAccess &form)
{
    Draft d;
    for (const Field &f : fields())
        d.texts.insert(f.component, form.text(f.component));
    for (const RadioGroup &g : radioGroups())
        d.choices.insert(g.component, form.itemIndex(g.component));
    return d;
}

QByteArray toJson(const Draft &draft)
{
    QJsonObject fieldObject;
    for (auto it = draft.texts.cbegin(); it != draft.texts.cend(); ++it) {
        if (const Field *f = findField(it.key()))
            fieldObject.insert(f->key, fileTextOf(*f, it.value()));
        else
            qCDebug(lcDeclaration, "%s is no field of the form: not written", qUtf8Printable(it.key()));
    }
    QJsonObject choiceObject;
    for (auto it = draft.choices.cbegin(); it != draft.choices.cend(); ++it) {
        if (findGroup(it.key()))
            choiceObject.insert(it.key(), it.value());
        else
            qCDebug(lcDeclaration, "%s is no radio group of the form: not written", qUtf8Printable(it.key()));
    }
    QJsonObject root;
    root.insert(keyFormat(), draftFormat.toString());
    root.insert(keyVersion(), draftVersion);
    root.insert(keyFields(), fieldObject);
    root.insert(keyChoices(), choiceObject);
    // QJsonObject keeps its keys sorted, which makes the bytes depend on the content only.
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<Draft> readDraft(QByteArrayView bytes, const QString &fileName, QString *errorString,
                               NumericTexts numbers)
{
    if (bytes.size() > maxDraftFileSize)
        return refuse(errorString, notOurs(fileName, tooLarge(bytes.size())));
    if (bytes.isEmpty())
        return refuse(errorString, notOurs(fileName, u"A fájl üres."_s));
    // Editors may put a byte-order mark in front; it is no part of the text.
    qsizetype bom = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
        bom = 3;
    }
    // The JSON reader would replace bad bytes silently, so the encoding is checked first.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder.decode(bytes));
    if (decoder.hasError())
        return refuse(errorString, notOurs(fileName, u"A fájl nem UTF-8 kódolású szöveg."_s));

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // The reader's offset is the position of the offending byte counted from 1, past the last
        // byte when the file ends early; positions count the whole file, a byte-order mark too.
        const qsizetype at = std::max<qsizetype>(parseError.offset, 1);
        if (at > bytes.size())
            return refuse(errorString, notOurs(fileName, u"A fájl tartalma nem érvényes JSON: a fájl a(z) %1. "
                                                         u"bájtnál véget ér, mielőtt a tartalma lezárulna."_s
                                                             .arg(bytes.size() + bom)));
        return refuse(errorString,
                      notOurs(fileName, u"A fájl tartalma nem érvényes JSON; az első hiba helye: %1. bájt."_s
                                            .arg(at + bom)));
    }
    if (!document.isObject())
        return refuse(errorString, notOurs(fileName, u"A fájl legfelső szintje nem JSON-objektum."_s));
    const QJsonObject root = document.object();

    const QJsonValue format = root.value(keyFormat());
    if (format.isUndefined())
        return refuse(errorString, notOurs(fileName, u"Hiányzik a fájl formátumjelölése („format”)."_s));
    if (format.toString() != draftFormat)
        return refuse(errorString, notOurs(fileName, u"A fájl formátumjelölése nem „%1”."_s.arg(draftFormat)));

    qint64 version = 0;
    if (!isInteger(root.value(keyVersion()), &version) || version < 1)
        return refuse(errorString, notLoadable(fileName, u"A fájl formátumváltozata hiányzik vagy érvénytelen."_s));
    if (version > draftVersion)
        return refuse(errorString,
                      failure(u"A bevallást a program egy újabb változata mentette: %1"_s, fileName,
                              u"A fájl formátumváltozata: %1. Ez a program legfeljebb %2. változatú fájlt tud "
                                u"megnyitni; frissítse a programot."_s
                                  .arg(version)
                                  .arg(draftVersion)));

    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString &k = it.key();
        if (k != keyFormat() && k != keyVersion() && k != keyFields() && k != keyChoices())
            return refuse(errorString, notLoadable(fileName, u"Ismeretlen kulcs a fájlban: „%1”."_s.arg(k)));
    }

    Draft draft;
    const QJsonValue fieldValue = root.value(keyFields());
    if (!fieldValue.isUndefined()) {
        if (!fieldValue.isObject())
            return refuse(errorString, notLoadable(fileName, u"A „fields” értéke nem JSON-objektum."_s));
        if (!readFields(fieldValue.toObject(), fileName, draft, errorString, numbers))
            return std::nullopt;
    }
    const QJsonValue choiceValue = root.value(keyChoices());
    if (!choiceValue.isUndefined()) {
        if (!choiceValue.isObject())
            return refuse(errorString, notLoadable(fileName, u"A „choices” értéke nem JSON-objektum."_s));
        if (!readChoices(choiceValue.toObject(), fileName, draft, errorString))
            return std::nullopt;
    }
    return draft;
}

bool saveDraft(const QString &path, const Draft &draft, QString *errorString)
{
    auto fail = [&](const QString &reason) {
        return setError(errorString, failure(u"A bevallás nem menthető: %1"_s, path, reason));
    };
    // Nothing is written that the reader would refuse: the user could not open it again.
    for (auto it = draft.texts.cbegin(); it != draft.texts.cend(); ++it) {
        const Field *f = findField(it.key());
        if (!f)
            return fail(u"Ismeretlen mező: „%1”."_s.arg(it.key()));
        QString reason;
        if (!formTextOf(*f, fileTextOf(*f, it.value()), &reason))
            return fail(reason);
    }
    for (auto it = draft.choices.cbegin(); it != draft.choices.cend(); ++it) {
        const RadioGroup *g = findGroup(it.key());
        if (!g)
            return fail(u"Ismeretlen választócsoport: „%1”."_s.arg(it.key()));
        if (it.value() < -1 || it.value() >= g->items.size())
            return fail(groupRangeProblem(*g, it.value()));
    }

    QString reason;
    if (!writeFileAtomically(path, toJson(draft), &reason))
        return fail(reason);
    return true;
}

std::optional<Draft> loadDraft(const QString &path, QString *errorString)
{
    auto fail = [&](const QString &reason) {
        return refuse(errorString, failure(u"A fájl nem nyitható meg: %1"_s, path, reason));
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(u"A fájl nem létezik."_s);
    if (info.isDir())
        return fail(u"Ez egy mappa, nem fájl."_s);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(u"A fájl nem olvasható: %1"_s.arg(file.errorString()));
    // A regular file tells its size; a device or pipe is read only as far as the limit.
    if (file.size() > maxDraftFileSize)
        return refuse(errorString, notOurs(path, tooLarge(file.size())));
    const QByteArray bytes = file.read(maxDraftFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(u"A fájl nem olvasható: %1"_s.arg(file.errorString()));
    return readDraft(bytes, path, errorString);
}

} // namespace decl
