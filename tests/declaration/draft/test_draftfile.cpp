#include "declaration/catalogue.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "runtime/formatsettings.h"
#include "tests/testhelpers.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

using namespace decl;
using tk::test::readFile;
using tk::test::useSeparators;
using tk::test::writeFile;

namespace {

// Every field different from every other and from its untouched text, all groups chosen.
MapForm filledForm(QChar sep)
{
    MapForm form;
    int n = 0;
    for (const Field &f : fields()) {
        ++n;
        const QString d = QString::number(n % 10);
        switch (f.kind) {
        case FieldKind::TextEdit:
            form.setText(f.component, u"Őrs Űrkő őű \"%1\" / %2"_s.arg(f.component).arg(n));
            break;
        case FieldKind::TaxNumber:
            form.setText(f.component, QStringLiteral("1234567%1-%1-0%1").arg(d));
            break;
        case FieldKind::TaxId:
            form.setText(f.component, QStringLiteral("83656 *%1**").arg(d)); // partly typed
            break;
        case FieldKind::NumericEdit:
            form.setText(f.component, u'-' + QString::number(n) + sep + QStringLiteral("25"));
            break;
        case FieldKind::RichEdit:
            form.setText(f.component, u"első sor ŐŰ\r\n\r\n  harmadik\ttabbal\r\nutolsó"_s);
            break;
        }
    }
    form.setItemIndex(QStringLiteral("CtlRadioGroup1"), 1);
    form.setItemIndex(QStringLiteral("CtlRadioGroup5"), 3);
    form.setItemIndex(QStringLiteral("CtlRadioGroup6"), 5);
    return form;
}

void compareForms(const MapForm &actual, const MapForm &expected)
{
    for (const Field &f : fields())
        QCOMPARE(actual.text(f.component), expected.text(f.component));
    for (const RadioGroup &g : radioGroups())
        QCOMPARE(actual.itemIndex(g.component), expected.itemIndex(g.component));
}

QByteArray fileWith(const QByteArray &fields, const QByteArray &choices = "{}", const QByteArray &version = "1")
{
    return "{\"format\": \"telekado-bevallas\", \"version\": " + version + ", \"fields\": " + fields
        + ", \"choices\": " + choices + "}";
}

} // namespace

class TestDraftFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        useSeparators(u',');
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
    }
    void cleanup() { m_temp.reset(); }

    void roundTrip_data()
    {
        QTest::addColumn<QChar>("sep");
        QTest::newRow("comma locale") << QChar(u',');
        QTest::newRow("point locale") << QChar(u'.');
    }
    // Write, read, apply: every field and every choice comes back exactly.
    void roundTrip()
    {
        QFETCH(QChar, sep);
        useSeparators(sep);
        const MapForm original = filledForm(sep);
        const QString path = tempPath(QStringLiteral("bevallas.tkd"));
        QString error;
        QVERIFY2(saveDraft(path, draftOf(original), &error), qPrintable(error));
        const std::optional<Draft> read = loadDraft(path, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(*read, draftOf(original));
        MapForm restored;
        applyDraft(*read, restored);
        compareForms(restored, original);
    }

    // The same form gives the same bytes, whatever order its fields were filled in; the file is
    // indented UTF-8 with the input fields' keys only and the remark's lines split by "\n".
    void stableReadableOutput()
    {
        const MapForm form = filledForm(u',');
        MapForm reversed;
        for (qsizetype i = fields().size() - 1; i >= 0; --i)
            reversed.setText(fields()[i].component, form.text(fields()[i].component));
        for (const RadioGroup &g : radioGroups())
            reversed.setItemIndex(g.component, form.itemIndex(g.component));
        const QByteArray bytes = toJson(draftOf(form));
        QCOMPARE(toJson(draftOf(reversed)), bytes);
        QCOMPARE(toJson(*readDraft(bytes, QStringLiteral("x.tkd"))), bytes);

        QVERIFY(bytes.contains("\n    \"format\": \"telekado-bevallas\""));
        QVERIFY(bytes.contains("\"version\": 1"));
        QVERIFY(bytes.contains(u"Őrs Űrkő őű"_s.toUtf8()));
        const QJsonObject root = QJsonDocument::fromJson(bytes).object();
        QCOMPARE(root.keys(), (QStringList{QStringLiteral("choices"), QStringLiteral("fields"),
                                          QStringLiteral("format"), QStringLiteral("version")}));
        const QJsonObject fieldObject = root.value(QStringLiteral("fields")).toObject();
        QCOMPARE(fieldObject.size(), fields().size());
        for (const char *computed : {"m29", "m36", "m37", "m38", "m45"})
            QVERIFY2(!fieldObject.contains(QLatin1String(computed)), computed);
        QCOMPARE(fieldObject.value(QStringLiteral("m44")).toString(),
                 u"első sor ŐŰ\n\n  harmadik\ttabbal\nutolsó"_s);
        QCOMPARE(fieldObject.value(QStringLiteral("m3")).toString(), QStringLiteral("12345673-3-03"));
        const QJsonObject choices = root.value(QStringLiteral("choices")).toObject();
        QCOMPARE(choices.value(QStringLiteral("CtlRadioGroup6")).toInt(), 5);
        QCOMPARE(toJson(draftOf(MapForm())).count("-1"), 3);
    }

    void badFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QString notJson = u"nem érvényes JSON"_s;
        const QString marker = u"formátumjelölés"_s;
        const QString version = u"formátumváltozata hiányzik vagy érvénytelen"_s;
        const QString unknownKey = u"Ismeretlen mezőkulcs"_s;
        const QString notText = u"értéke nem szöveg"_s;
        const QString unknownGroup = u"Ismeretlen választócsoport"_s;
        const QString notInteger = u"értéke nem egész szám"_s;
        const QString range = u"nincs a -1 … "_s;
        const QString mask = u"nem illik a mező mintájára"_s;
        const QString number = u"nem szám"_s;
        const QString utf8 = u"nem UTF-8"_s;
        const QString tooBig = u"A fájl túl nagy"_s;
        const QByteArray valid = toJson(draftOf(MapForm()));

        QTest::newRow("empty") << QByteArray() << u"A fájl üres"_s;
        QTest::newRow("plain text") << QByteArray("Kedves Hivatal!") << notJson;
        QTest::newRow("cut in half") << valid.left(valid.size() / 2) << notJson;
        QTest::newRow("two documents") << valid + valid << notJson;
        QTest::newRow("array") << QByteArray("[{\"format\": \"telekado-bevallas\"}]") << u"nem JSON-objektum"_s;
        QTest::newRow("no marker") << QByteArray("{\"version\": 1, \"fields\": {}}") << marker;
        QTest::newRow("other marker") << QByteArray("{\"format\": \"iparuzesi-ado\", \"version\": 1}") << marker;
        QTest::newRow("marker not text") << QByteArray("{\"format\": 1, \"version\": 1}") << marker;
        QTest::newRow("newer version") << fileWith("{}", "{}", "2") << u"formátumváltozata: 2."_s;
        QTest::newRow("version 0") << fileWith("{}", "{}", "0") << version;
        QTest::newRow("version as text") << fileWith("{}", "{}", "\"1\"") << version;
        QTest::newRow("version 1.5") << fileWith("{}", "{}", "1.5") << version;
        QTest::newRow("no version") << QByteArray("{\"format\": \"telekado-bevallas\"}") << version;
        QTest::newRow("unknown top key") << QByteArray("{\"format\": \"telekado-bevallas\", \"version\": 1, \"x\": 0}")
                                         << u"Ismeretlen kulcs a fájlban: „x”"_s;
        QTest::newRow("fields an array") << fileWith("[]") << u"„fields” értéke nem JSON-objektum"_s;
        QTest::newRow("choices text") << fileWith("{}", "\"\"") << u"„choices” értéke nem JSON-objektum"_s;
        QTest::newRow("computed m29") << fileWith("{\"m29\": \"0\"}") << unknownKey;
        QTest::newRow("tax m38") << fileWith("{\"m38\": \"0 Ft.\"}") << unknownKey;
        QTest::newRow("title m45") << fileWith("{\"m45\": \"\"}") << unknownKey;
        QTest::newRow("m0") << fileWith("{\"m0\": \"\"}") << unknownKey;
        QTest::newRow("upper-case M1") << fileWith("{\"M1\": \"\"}") << unknownKey;
        QTest::newRow("component name") << fileWith("{\"StyledEdit35\": \"\"}") << unknownKey;
        QTest::newRow("number for text") << fileWith("{\"m1\": 5}") << notText;
        QTest::newRow("null for text") << fileWith("{\"m27\": null}") << notText;
        QTest::newRow("object for text") << fileWith("{\"m44\": {}}") << notText;
        QTest::newRow("unknown group") << fileWith("{}", "{\"CtlRadioGroup2\": 0}") << unknownGroup;
        QTest::newRow("group by caption") << fileWith("{}", u"{\"Az adó alanya\": 0}"_s.toUtf8()) << unknownGroup;
        QTest::newRow("text for index") << fileWith("{}", "{\"CtlRadioGroup5\": \"1\"}") << notInteger;
        QTest::newRow("index 1.5") << fileWith("{}", "{\"CtlRadioGroup5\": 1.5}") << notInteger;
        QTest::newRow("index true") << fileWith("{}", "{\"CtlRadioGroup6\": true}") << notInteger;
        QTest::newRow("index 1e30") << fileWith("{}", "{\"CtlRadioGroup6\": 1e30}") << notInteger;
        QTest::newRow("group 5 index 4") << fileWith("{}", "{\"CtlRadioGroup5\": 4}") << range;
        QTest::newRow("group 6 index 6") << fileWith("{}", "{\"CtlRadioGroup6\": 6}") << range;
        QTest::newRow("group 1 index 2") << fileWith("{}", "{\"CtlRadioGroup1\": 2}") << range;
        QTest::newRow("index -2") << fileWith("{}", "{\"CtlRadioGroup1\": -2}") << range;
        QTest::newRow("tax number letter") << fileWith("{\"m3\": \"1234567X-1-01\"}") << mask;
        QTest::newRow("tax number slash") << fileWith("{\"m14\": \"12345678/1/01\"}") << mask;
        QTest::newRow("tax number too long") << fileWith("{\"m19\": \"12345678-1-012\"}") << mask;
        QTest::newRow("tax id eleven digits") << fileWith("{\"m4\": \"83656700031\"}") << mask;
        QTest::newRow("tax id underscore blanks") << fileWith("{\"m25\": \"__________\"}") << mask;
        QTest::newRow("number letters") << fileWith("{\"m27\": \"sok\"}") << number;
        QTest::newRow("number empty") << fileWith("{\"m28\": \"\"}") << number;
        QTest::newRow("number two separators") << fileWith("{\"m30\": \"1.234,5\"}") << number;
        QTest::newRow("number grouped") << fileWith("{\"m31\": \"1 234\"}") << number;
        QTest::newRow("number plus") << fileWith("{\"m32\": \"+5\"}") << number;
        QTest::newRow("number overflow") << fileWith("{\"m33\": \"1E99999\"}") << number;
        QTest::newRow("number exponent only") << fileWith("{\"m34\": \"E5\"}") << number;
        QTest::newRow("text over 32767") << fileWith("{\"m1\": \"" + QByteArray(32768, 'a') + "\"}")
                                         << u"túl hosszú: 32768 karakter, legfeljebb 32767"_s;
        QTest::newRow("remark over 32767") << fileWith("{\"m44\": \"" + QByteArray(40000, 'a') + "\"}")
                                           << u"túl hosszú: 40000 karakter"_s;
        QTest::newRow("50 MB value") << fileWith("{\"m1\": \"" + QByteArray(50 * 1000 * 1000, 'a') + "\"}") << tooBig;
        QTest::newRow("50 MB of blanks") << QByteArray(50 * 1000 * 1000, ' ') << tooBig;
        QTest::newRow("latin-2 bytes") << fileWith("{\"m1\": \"T\xfbzk\xf5\"}") << utf8;
        QTest::newRow("broken utf-8") << fileWith("{\"m1\": \"\xc3\x28\"}") << utf8;
        QTest::newRow("utf-8 cut at end") << QByteArray("{\"m1\": \"\xc5") << utf8;
        QTest::newRow("utf-16 file") << QByteArray("\xff\xfe{\0\"\0", 6) << utf8;
        // A position within the file, also when the file ends early; a byte-order mark counts.
        QTest::newRow("cut at 99 bytes") << valid.left(99) << u"a(z) 99. bájtnál véget ér"_s;
        QTest::newRow("cut at 99 bytes after a mark") << "\xEF\xBB\xBF" + valid.left(96)
                                                      << u"a(z) 99. bájtnál véget ér"_s;
        QTest::newRow("stray byte at 2") << QByteArray("{x}") << u"az első hiba helye: 2. bájt"_s;
        const QString control = u"vezérlőkarakter áll"_s;
        QTest::newRow("escaped NUL") << fileWith("{\"m1\": \"Kov\\u0000cs\"}") << u"(neve, I. AZ ADÓ ALANYA) szövegében vezérlőkarakter áll (U+0000, a(z) 4. karakter)"_s;
        QTest::newRow("escaped NUL in the remark") << fileWith("{\"m44\": \"a\\u0000\"}") << control;
        QTest::newRow("escape character") << fileWith("{\"m2\": \"\\u001b[31m\"}") << control;
        QTest::newRow("line break in a name") << fileWith("{\"m1\": \"a\\nb\"}") << control;
        QTest::newRow("C1 control") << fileWith("{\"m7\": \"\\u0085\"}") << control;
        QTest::newRow("raw NUL") << fileWith(QByteArray("{\"m1\": \"a\0b\"}", 14)) << notJson;
    }
    // Nothing of a bad file is taken; the message names the file and the reason.
    void badFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString path = tempPath(QStringLiteral("rossz.tkd"));
        QVERIFY(writeFile(path, bytes));
        QString error;
        const std::optional<Draft> draft = loadDraft(path, &error);
        QVERIFY(!draft);
        const QStringList lines = error.split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].endsWith(QDir::toNativeSeparators(path)), qPrintable(error));
        QVERIFY2(lines[1].contains(reason), qPrintable(error));
        // The same verdict from the bytes alone.
        QVERIFY(!readDraft(bytes, path));
    }

    void unopenableFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("nincs.tkd") << u"A fájl nem létezik."_s;
        QTest::newRow("folder") << QStringLiteral("mappa.tkd") << u"Ez egy mappa, nem fájl."_s;
    }
    void unopenableFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QVERIFY(dir().mkpath(QStringLiteral("mappa.tkd")));
        const QString path = tempPath(name);
        QString error;
        QVERIFY(!loadDraft(path, &error));
        QCOMPARE(error, u"A fájl nem nyitható meg: %1\n%2"_s.arg(QDir::toNativeSeparators(path), reason));
    }

    // A file may lack keys (a later form's file, a hand-made one): those fields keep their text.
    void missingKeysKeepFields()
    {
        const std::optional<Draft> draft = readDraft(
            QByteArray("\xEF\xBB\xBF{\"format\": \"telekado-bevallas\", \"version\": 1, \"fields\": {\"m1\": "
                       "\"Kiss \xC5\x90rs\"}}"),
            QStringLiteral("kezzel.tkd"));
        QVERIFY(draft);
        QCOMPARE(draft->texts.keys(), QStringList{QStringLiteral("StyledEdit35")});
        QVERIFY(draft->choices.isEmpty());
        MapForm form = filledForm(u',');
        const MapForm before = form;
        applyDraft(*draft, form);
        QCOMPARE(form.text(QStringLiteral("StyledEdit35")), u"Kiss Őrs"_s);
        for (const Field &f : fields())
            if (f.component != u"StyledEdit35")
                QCOMPARE(form.text(f.component), before.text(f.component));
        for (const RadioGroup &g : radioGroups())
            QCOMPARE(form.itemIndex(g.component), before.itemIndex(g.component));
    }

    // Masked texts are taken as the mask allows them, partly typed ones included.
    void maskedTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("untouched number") << QStringLiteral("m3") << QStringLiteral("********-*-**");
        QTest::newRow("full number") << QStringLiteral("m14") << QStringLiteral("15789934-2-51");
        QTest::newRow("spaces and blanks") << QStringLiteral("m19") << QStringLiteral("1 34****-*-* ");
        QTest::newRow("shorter than mask") << QStringLiteral("m24") << QStringLiteral("1578");
        QTest::newRow("blank on literal") << QStringLiteral("m24") << QStringLiteral("15789934*2*51");
        QTest::newRow("untouched id") << QStringLiteral("m4") << QStringLiteral("**********");
        QTest::newRow("full id") << QStringLiteral("m25") << QStringLiteral("8365670003");
        QTest::newRow("empty id") << QStringLiteral("m20") << QString();
    }
    void maskedTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        const std::optional<Draft> draft =
            readDraft(fileWith(QStringLiteral("{\"%1\": \"%2\"}").arg(key, text).toUtf8()), QStringLiteral("m.tkd"));
        QVERIFY(draft);
        QCOMPARE(draft->texts.size(), 1);
        QCOMPARE(draft->texts.first(), text);
    }

    void numbersAcrossLocales_data()
    {
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("onForm");
        const QChar comma = u',';
        const QChar point = u'.';
        QTest::newRow("comma file, comma locale") << comma << QStringLiteral("10,5") << QStringLiteral("10,5");
        QTest::newRow("point file, comma locale") << comma << QStringLiteral("10.5") << QStringLiteral("10,5");
        QTest::newRow("comma file, point locale") << point << QStringLiteral("10,5") << QStringLiteral("10.5");
        QTest::newRow("point file, point locale") << point << QStringLiteral("-0.25") << QStringLiteral("-0.25");
        QTest::newRow("integer") << comma << QStringLiteral("1500") << QStringLiteral("1500");
        QTest::newRow("unfinished fraction") << point << QStringLiteral("12,") << QStringLiteral("12.");
        QTest::newRow("exponent") << comma << QStringLiteral("1.5E-5") << QStringLiteral("1,5E-5");
        QTest::newRow("lower-case exponent") << comma << QStringLiteral("2e3") << QStringLiteral("2e3");
    }
    void numbersAcrossLocales()
    {
        QFETCH(QChar, sep);
        QFETCH(QString, inFile);
        QFETCH(QString, onForm);
        useSeparators(sep);
        const std::optional<Draft> draft =
            readDraft(fileWith(QStringLiteral("{\"m27\": \"%1\"}").arg(inFile).toUtf8()), QStringLiteral("n.tkd"));
        QVERIFY(draft);
        QCOMPARE(draft->texts.value(QStringLiteral("NumEdit1")), onForm);
    }

    // Saved under a Hungarian locale, opened under C, and back: the numbers follow the locale.
    void savedUnderOtherLocale()
    {
        useSeparators(u',');
        MapForm form;
        form.setText(QStringLiteral("NumEdit1"), QStringLiteral("1500,75"));
        form.setText(QStringLiteral("NumEdit8"), QStringLiteral("-0,5"));
        const QString path = tempPath(QStringLiteral("hu.tkd"));
        QVERIFY(saveDraft(path, draftOf(form)));
        QVERIFY(readFile(path).contains("\"m27\": \"1500,75\""));
        useSeparators(u'.');
        const std::optional<Draft> draft = loadDraft(path);
        QVERIFY(draft);
        QCOMPARE(draft->texts.value(QStringLiteral("NumEdit1")), QStringLiteral("1500.75"));
        QCOMPARE(draft->texts.value(QStringLiteral("NumEdit8")), QStringLiteral("-0.5"));
        QCOMPARE(draft->texts.value(QStringLiteral("NumEdit2")), QStringLiteral("0"));
    }

    void remarkLines_data()
    {
        QTest::addColumn<QString>("inFile");
        QTest::addColumn<QString>("onForm");
        QTest::newRow("one line") << u"egy sor"_s << u"egy sor"_s;
        QTest::newRow("lines") << u"a\nb\n\nc"_s << u"a\r\nb\r\n\r\nc"_s;
        QTest::newRow("ends in a line break") << u"a\n"_s << u"a\r\n"_s;
        QTest::newRow("windows line breaks") << u"a\r\nb"_s << u"a\r\nb"_s;
        QTest::newRow("extra carriage returns") << u"a\r\r\nb"_s << u"a\r\nb"_s;
        QTest::newRow("lone carriage return") << u"a\rb"_s << u"a\rb"_s;
        QTest::newRow("tabs stay text") << u"a\tb\n\tc"_s << u"a\tb\r\n\tc"_s;
    }
    void remarkLines()
    {
        QFETCH(QString, inFile);
        QFETCH(QString, onForm);
        QJsonObject fieldsObject{{QStringLiteral("m44"), inFile}};
        const QByteArray bytes =
            fileWith(QJsonDocument(fieldsObject).toJson(QJsonDocument::Compact));
        const std::optional<Draft> draft = readDraft(bytes, QStringLiteral("r.tkd"));
        QVERIFY(draft);
        QCOMPARE(draft->texts.value(QStringLiteral("RichEdit1")), onForm);
        // Written back, the form's text gives the same draft again.
        QCOMPARE(readDraft(toJson(*draft), QStringLiteral("r.tkd")), draft);
    }

    void saveFails_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QStringLiteral("nincs/ilyen/mappa/b.tkd") << u"A mappa nem létezik: "_s;
        QTest::newRow("folder is a file") << QStringLiteral("fajl.txt/b.tkd") << u"A mentés helye nem mappa: "_s;
        QTest::newRow("target is a folder") << QStringLiteral("mappa.tkd") << u"Ezen a néven mappa van"_s;
        QTest::newRow("proc") << QStringLiteral("/proc/telekado-teszt.tkd") << QString(); // cause depends on the system
    }
    // A save that cannot be made says why and creates nothing.
    void saveFails()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QVERIFY(writeFile(tempPath(QStringLiteral("fajl.txt")), "sz\xc3\xb6veg"));
        QVERIFY(dir().mkpath(QStringLiteral("mappa.tkd")));
        const QString full = QDir::isAbsolutePath(path) ? path : tempPath(path);
        const QStringList before = dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QString error;
        QVERIFY(!saveDraft(full, draftOf(filledForm(u',')), &error));
        QVERIFY2(error.startsWith(u"A bevallás nem menthető: %1\n"_s.arg(QDir::toNativeSeparators(full))),
                 qPrintable(error));
        QVERIFY2(error.section(u'\n', 1).startsWith(reason), qPrintable(error));
        QVERIFY2(error.section(u'\n', 1).size() > reason.size(), qPrintable(error));
        QCOMPARE(dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(!QFileInfo::exists(full) || QFileInfo(full).isDir());
    }

    // A save that fails while writing leaves the old file byte for byte and no stray file.
    // A file-size limit makes the write fail even for root, whom permissions do not stop.
    void failedSaveKeepsOldFile()
    {
        const QString path = tempPath(QStringLiteral("regi.tkd"));
        const QByteArray old = toJson(draftOf(MapForm()));
        QVERIFY(writeFile(path, old));
        const MapForm form = filledForm(u',');
        const qsizetype size = toJson(draftOf(form)).size();

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = rlim_t(size / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool saved_ok = saveDraft(path, draftOf(form), &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!saved_ok);
        QCOMPARE(error, u"A bevallás nem menthető: %1\nA fájl nagyobb lenne, mint amekkorát a rendszer megenged."_s
                            .arg(QDir::toNativeSeparators(path)));
        QCOMPARE(readFile(path), old);
        QCOMPARE(dir().entryList(QDir::Files), QStringList{QStringLiteral("regi.tkd")});
    }

    // A draft the reader would refuse is not written: the user could not open it again.
    void unreadableDraftNotSaved_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("remark too long") << QStringLiteral("RichEdit1") << QString(40000, u'x') << u"túl hosszú"_s;
        QTest::newRow("number half typed") << QStringLiteral("NumEdit3") << QStringLiteral("E5") << u"nem szám"_s;
        QTest::newRow("mask broken") << QStringLiteral("CtlMaskEdit6") << QStringLiteral("abc") << u"mintájára"_s;
    }
    void unreadableDraftNotSaved()
    {
        QFETCH(QString, component);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        const QString path = tempPath(QStringLiteral("regi.tkd"));
        const QByteArray old = toJson(draftOf(MapForm()));
        QVERIFY(writeFile(path, old));
        MapForm form;
        form.setText(component, text);
        QString error;
        QVERIFY(!saveDraft(path, draftOf(form), &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(readFile(path), old);
    }

    // A long remark whose lines fit once "\r\n" is written as "\n" is saved and read back.
    void longestRemarkFits()
    {
        QString remark;
        while (remark.size() + 3 <= maxDraftFieldLength + maxDraftFieldLength / 2)
            remark += u"ő\r\n"_s;
        MapForm form;
        form.setText(QStringLiteral("RichEdit1"), remark);
        const QString path = tempPath(QStringLiteral("hosszu.tkd"));
        QString error;
        QVERIFY2(saveDraft(path, draftOf(form), &error), qPrintable(error));
        const std::optional<Draft> draft = loadDraft(path, &error);
        QVERIFY2(draft, qPrintable(error));
        QCOMPARE(draft->texts.value(QStringLiteral("RichEdit1")), remark);
    }

private:
    QString tempPath(const QString &name) const { return m_temp->filePath(name); }
    QDir dir() const { return QDir(m_temp->path()); }

    std::unique_ptr<QTemporaryDir> m_temp; // a fresh folder for each test
};

QTEST_GUILESS_MAIN(TestDraftFile)
#include "test_draftfile.moc"
