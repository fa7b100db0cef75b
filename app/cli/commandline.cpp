#include "app/cli/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <iterator>
#include <optional>

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
        // Names only: a sorted listing would keep every entry's file details at once, which for
        // an office's day of declarations is many megabytes for nothing.
        QStringList names;
        QDirIterator it(input, patterns, QDir::Files);
        while (it.hasNext()) {
            it.next();
            names << it.fileName();
        }
        std::sort(names.begin(), names.end());
        const QDir dir(input);
        for (const QString &name : std::as_const(names))
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

// Puts a heading over each task's options in the help text, which lists them in task order.
void groupByTask(QString &helpText)
{
    const struct
    {
        const char16_t *firstOption;
        const char16_t *heading;
    } groups[] = {
        {u"  -h, --help", u"Általános:"},
        {u"  --pdf ", u"Nyomtatvány PDF-ben:"},
        {u"  --check", u"Ellenőrzés:"},
        {u"  --scan ", u"Beolvasás papírról:"},
        {u"  --table ", u"Nyilvántartás táblázatban:"},
    };
    for (const auto &g : groups) {
        const qsizetype at = helpText.indexOf(u"\n"_s + QString::fromUtf16(g.firstOption));
        if (at >= 0)
            helpText.insert(at + 1, u"\n "_s + QString::fromUtf16(g.heading) + u'\n');
    }
}

// "--jobs N": a whole number from 1; the default is one per core.
std::optional<int> jobCount(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > 256)
        return std::nullopt;
    return n;
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
        u"egy vagy több fájlt a KIMENET mappába, mindegyiket a saját nevén. "
        u"Kilépési kód: 0 ha minden fájl elkészült, 1 ha nem."_s,
        u"KIMENET"_s);
    const QCommandLineOption jobs(
        u"jobs"_s,
        u"A --pdf ennyi bevallást ír egyszerre (alapértelmezés: a processzormagok száma); az eredmény "
        u"ugyanaz, mint egyenként."_s,
        u"N"_s);
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
    const QCommandLineOption table(
        u"table"_s,
        u"Ablak nélkül a megadott bevallásfájlokat egy CSV-táblázatba írja, bevallásonként egy sorba "
        u"(UTF-8, \";\" elválasztó): a fájl neve, minden mező, a választások, a kiszámolt értékek és az "
        u"ellenőrzés hibáinak száma. Kilépési kód: 0 ha minden fájl bekerült, 1 ha nem."_s,
        u"TÁBLA.csv"_s);
    const QCommandLineOption fromTable(
        u"from-table"_s,
        u"Ablak nélkül a TÁBLA.csv minden sorából egy bevallásfájlt (.tkd) ír a megadott meglévő "
        u"mappába; meglévő fájlt nem ír felül. Kilépési kód: 0 ha minden sor bevallás lett, 1 ha nem."_s,
        u"TÁBLA.csv"_s);
    const QCommandLineOption nameColumn(
        u"name-column"_s,
        u"A --from-table a fájlokat ennek az oszlopnak az értékéről nevezi el (alapértelmezés: az adózó "
        u"neve); az ismétlődő nevek sorszámot kapnak."_s,
        u"OSZLOP"_s);
    // The helper processes of "--pdf --jobs"; their inputs come on standard input.
    const QCommandLineOption pdfWorker = [] {
        QCommandLineOption o(u"pdf-worker"_s, QString(), u"KIMENET"_s);
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        return o;
    }();
    // Listed by task; the headings are put in below.
    for (const QCommandLineOption *o : {&help, &version, &pdf, &jobs, &check, &scan, &table, &fromTable, &nameColumn, &pdfWorker})
        parser.addOption(*o);
    parser.addPositionalArgument(u"fájlok"_s,
                                 u"A megnyitandó bevallásfájl; --pdf, --check, --scan és --table mellett a "
                                 u"feldolgozandó fájlok és mappák (egy mappa a benne lévő fájlokat jelenti, "
                                 u"név szerint), --from-table mellett a kimeneti mappa."_s,
                                 u"[FÁJL.tkd...]"_s);

    const QString program = arguments.isEmpty() ? u"telekado"_s : QFileInfo(arguments.constFirst()).fileName();
    // The parser names the program after the application object's first argument, and has no
    // name for it before there is one: the usage line names it after the arguments given here.
    const QString named = QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : u"<executable_name>"_s;
    QString helpText = parser.helpText();
    if (const qsizetype at = helpText.indexOf(named); at >= 0)
        helpText.replace(at, named.size(), program);
    groupByTask(helpText);
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
    int commands = 0;
    for (const QCommandLineOption *o : {&pdf, &check, &scan, &table, &fromTable, &pdfWorker})
        commands += parser.isSet(*o) ? 1 : 0;
    if (commands > 1)
        return usageError(u"a --pdf, a --check, a --scan, a --table és a --from-table közül egyszerre csak egy adható meg."_s);
    for (const QCommandLineOption *o : {&pdf, &scan, &table, &fromTable, &nameColumn, &jobs}) {
        if (parser.values(*o).size() > 1)
            return usageError(u"a --%1 csak egyszer adható meg."_s.arg(o->names().constFirst()));
    }
    if (parser.isSet(nameColumn) && !parser.isSet(fromTable))
        return usageError(u"a --name-column csak a --from-table mellett adható meg."_s);
    if (parser.isSet(jobs) && !parser.isSet(pdf))
        return usageError(u"a --jobs csak a --pdf mellett adható meg."_s);

    if (parser.isSet(pdfWorker)) {
        cl.mode = CommandLine::Mode::PdfWorker;
        cl.output = parser.value(pdfWorker);
        return cl;
    }
    if (parser.isSet(scan)) {
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
        if (files.isEmpty())
            return usageError(u"a --check után legalább egy bevallásfájl kell."_s);
        cl.mode = CommandLine::Mode::Check;
        cl.inputs = expandFolders(files, declarationSuffixes);
        if (cl.inputs.isEmpty())
            return usageError(u"a megadott mappákban nincs bevallásfájl."_s);
        return cl;
    }
    if (parser.isSet(table)) {
        cl.output = parser.value(table);
        if (files.isEmpty())
            return usageError(u"a --table után legalább egy bevallásfájl kell."_s);
        if (QFileInfo(cl.output).isDir())
            return usageError(u"a TÁBLA.csv (%1) egy mappa; a táblázat egy fájl."_s.arg(cl.output));
        cl.mode = CommandLine::Mode::Table;
        cl.inputs = expandFolders(files, declarationSuffixes);
        if (cl.inputs.isEmpty())
            return usageError(u"a megadott mappákban nincs bevallásfájl."_s);
        return cl;
    }
    if (parser.isSet(fromTable)) {
        cl.tableFile = parser.value(fromTable);
        cl.nameColumn = parser.value(nameColumn);
        if (files.size() != 1)
            return usageError(u"a --from-table TÁBLA.csv után egy kimeneti mappa kell."_s);
        cl.output = files.constFirst();
        if (!QFileInfo(cl.output).isDir())
            return usageError(u"a kimeneti mappa (%1) nem meglévő mappa."_s.arg(cl.output));
        cl.mode = CommandLine::Mode::FromTable;
        return cl;
    }
    if (!parser.isSet(pdf)) {
        if (files.size() > 1)
            return usageError(u"egyszerre egy bevallásfájl nyitható meg ablakban."_s);
        cl.openFile = files.value(0);
        return cl;
    }
    cl.jobs = std::max(1, QThread::idealThreadCount());
    if (parser.isSet(jobs)) {
        const std::optional<int> n = jobCount(parser.value(jobs));
        if (!n)
            return usageError(u"a --jobs értéke (%1) nem 1 és 256 közötti egész szám."_s.arg(parser.value(jobs)));
        cl.jobs = *n;
    }
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
