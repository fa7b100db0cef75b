#include "app/cli/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace app {

QString programVersion()
{
    return QStringLiteral(TELEKADO_VERSION);
}

namespace {

// A folder among the inputs stands for its files of the command's kinds, in name order; files
// stand for themselves, whatever their name.
QStringList expandFolders(const QStringList &inputs, const QStringList &suffixes)
{
    QStringList result;
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (!info.isDir()) {
            result << input;
            continue;
        }
        QStringList patterns;
        for (const QString &suffix : suffixes)
            patterns << u"*."_s + suffix;
        const QDir dir(input);
        for (const QString &name : dir.entryList(patterns, QDir::Files, QDir::Name))
            result << dir.filePath(name);
    }
    return result;
}

const QStringList declarationSuffixes{u"tkd"_s};
const QStringList scanSuffixes{u"png"_s, u"jpg"_s, u"jpeg"_s, u"tif"_s, u"tiff"_s, u"pdf"_s};

// Qt's own options, which the application object takes out of the arguments itself: the window
// accepts them as any Qt program does. Those of the first list take a value.
constexpr const char16_t *qtOptionsWithValue[] = {
    u"platform", u"platformpluginpath", u"platformtheme", u"plugin", u"qwindowgeometry", u"qwindowtitle",
    u"qwindowicon", u"display", u"geometry", u"style", u"stylesheet", u"session", u"title", u"name",
};
constexpr const char16_t *qtFlags[] = {u"reverse", u"widgetcount", u"nograb", u"dograb", u"sync"};

QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        // Only the single-dash forms are Qt's; after "--" every argument is a file.
        if (i > 0 && a.startsWith(u'-') && !a.startsWith(u"--"_s)) {
            const QStringView name = QStringView(a).mid(1);
            const auto is = [&](const char16_t *option) { return name == QStringView(option); };
            if (std::any_of(std::begin(qtFlags), std::end(qtFlags), is))
                continue;
            if (std::any_of(std::begin(qtOptionsWithValue), std::end(qtOptionsWithValue), is)) {
                ++i;
                continue;
            }
        }
        if (a == u"--"_s) {
            kept << arguments.mid(i);
            break;
        }
        kept << a;
    }
    return kept;
}

} // namespace

CommandLine parseCommandLine(const QStringList &givenArguments)
{
    const QStringList arguments = withoutQtOptions(givenArguments);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Telekadó-bevallás kitöltése, nyomtatása és PDF-be mentése (Hollóberény, 2006).\n"
        u"Fájl nélkül üres bevallással indul; egy bevallásfájllal (.tkd) azt nyitja meg."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Kiírja ezt a súgót."_s);
    const QCommandLineOption version({u"v"_s, u"version"_s}, u"Kiírja a program változatát."_s);
    const QCommandLineOption pdf(
        u"pdf"_s,
        u"Ablak nélkül PDF-be írja a megadott bevallásfájlokat: egy fájlt a KIMENET nevű .pdf fájlba, "
        u"egy vagy több fájlt a KIMENET mappába, mindegyiket a saját nevén."_s,
        u"KIMENET"_s);
    const QCommandLineOption check(
        u"check"_s,
        u"Ablak nélkül ellenőrzi a megadott bevallásfájlokat, ahogy a nyomtatás előtt az ablak: "
        u"hibánként egy sort ír (fájl: mező: hiba). Kilépési kód: 0 ha nincs hiba, 1 ha van, "
        u"vagy egy fájl nem olvasható."_s);
    const QCommandLineOption scan(
        u"scan"_s,
        u"Ablak nélkül beolvassa a megadott képek (PNG, JPEG, TIFF) és PDF-ek minden oldaláról a bevallás "
        u"kódját, és oldalanként egy bevallásfájlt (.tkd) ír a MAPPA nevű meglévő mappába; meglévő fájlt "
        u"nem ír felül. Kilépési kód: 0 ha minden oldalon volt olvasható kód, 1 ha nem."_s,
        u"MAPPA"_s);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(pdf);
    parser.addOption(check);
    parser.addOption(scan);
    parser.addPositionalArgument(u"fájlok"_s,
                                 u"A megnyitandó bevallásfájl, --pdf vagy --check mellett a feldolgozandók."_s,
                                 u"[FÁJL.tkd...]"_s);

    const QString program = arguments.isEmpty() ? u"telekado"_s : QFileInfo(arguments.constFirst()).fileName();
    // The parser names the program after the application object's first argument, and has no
    // name for it before there is one: the usage line names it after the arguments given here.
    const QString named = QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : u"<executable_name>"_s;
    QString helpText = parser.helpText();
    if (const qsizetype at = helpText.indexOf(named); at >= 0)
        helpText.replace(at, named.size(), program);
    CommandLine cl;
    auto usageError = [&](const QString &problem) {
        cl.mode = CommandLine::Mode::UsageError;
        cl.text = program + u": "_s + problem + u"\n\n"_s + helpText;
        return cl;
    };

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return usageError(unknown.isEmpty() ? parser.errorText()
                                            : u"ismeretlen kapcsoló: %1"_s.arg(unknown.constFirst()));
    }
    if (parser.isSet(help)) {
        cl.mode = CommandLine::Mode::Help;
        cl.text = helpText;
        return cl;
    }
    if (parser.isSet(version)) {
        cl.mode = CommandLine::Mode::Version;
        cl.text = program + u' ' + programVersion() + u'\n';
        return cl;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(scan)) {
        if (parser.isSet(pdf) || parser.isSet(check))
            return usageError(u"a --scan nem adható meg a --pdf vagy a --check mellett."_s);
        if (parser.values(scan).size() > 1)
            return usageError(u"a --scan csak egyszer adható meg."_s);
        cl.output = parser.value(scan);
        if (files.isEmpty())
            return usageError(u"a --scan után legalább egy kép vagy PDF kell."_s);
        if (!QFileInfo(cl.output).isDir())
            return usageError(u"a MAPPA (%1) nem meglévő mappa."_s.arg(cl.output));
        cl.mode = CommandLine::Mode::Scan;
        cl.inputs = expandFolders(files, scanSuffixes);
        if (cl.inputs.isEmpty())
            return usageError(u"a megadott mappákban nincs kép vagy PDF."_s);
        return cl;
    }
    if (parser.isSet(check)) {
        if (parser.isSet(pdf))
            return usageError(u"a --check és a --pdf nem adható meg együtt."_s);
        if (files.isEmpty())
            return usageError(u"a --check után legalább egy bevallásfájl kell."_s);
        cl.mode = CommandLine::Mode::Check;
        cl.inputs = expandFolders(files, declarationSuffixes);
        if (cl.inputs.isEmpty())
            return usageError(u"a megadott mappákban nincs bevallásfájl."_s);
        return cl;
    }
    if (!parser.isSet(pdf)) {
        if (files.size() > 1)
            return usageError(u"egyszerre egy bevallásfájl nyitható meg ablakban."_s);
        cl.openFile = files.value(0);
        return cl;
    }
    if (parser.values(pdf).size() > 1)
        return usageError(u"a --pdf csak egyszer adható meg."_s);
    cl.output = parser.value(pdf);
    cl.inputs = expandFolders(files, declarationSuffixes);
    if (files.isEmpty())
        return usageError(u"a --pdf után legalább egy bevallásfájl kell."_s);
    if (cl.inputs.isEmpty())
        return usageError(u"a megadott mappákban nincs bevallásfájl."_s);
    if (QFileInfo(cl.output).isDir()) {
        cl.mode = CommandLine::Mode::Pdf;
        return cl;
    }
    if (!cl.output.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        return usageError(u"a KIMENET (%1) se nem meglévő mappa, se nem .pdf fájl."_s.arg(cl.output));
    if (cl.inputs.size() > 1)
        return usageError(u"több bevallásfájl csak egy meglévő mappába írható, nem egy .pdf fájlba."_s);
    cl.mode = CommandLine::Mode::Pdf;
    return cl;
}

} // namespace app
