#include "app/cli/commandline.h"
#include "app/cli/errorline.h"
#include "app/cli/outputfiles.h"
#include "app/cli/pdfbatch.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "tests/testhelpers.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

using app::CommandLine;
using namespace Qt::StringLiterals;
using tk::test::toolOutput;
using tk::test::writeFile;

Q_DECLARE_METATYPE(CommandLine::Mode)

namespace {

// A declaration file with the taxpayer's name and two areas.
QByteArray draftBytes(const QString &name, const QString &area = u"1500"_s)
{
    decl::MapForm form;
    form.setText(u"StyledEdit35"_s, name);
    form.setText(u"NumEdit1"_s, area);
    return decl::toJson(decl::draftOf(form));
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Writes the inputs and runs "--pdf output inputs..."; returns the exit code and the lines.
    int writePdfs(const QString &output, const QStringList &inputs, QStringList *lines)
    {
        return app::writePdfs(output, inputs, [lines](const QString &line) { *lines << line; });
    }

private Q_SLOTS:
    void initTestCase()
    {
        tk::test::useSeparators(u',');
        rep::fillHungarianResources();
        rep::installPageDrawer();
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir(u"mappa.pdf"_s));
        QVERIFY(writeFile(path(u"a.tkd"_s), draftBytes(u"Kovács Őrs"_s)));
    }

    // What the arguments ask for; {dir} stands for a folder that exists.
    void parse_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<CommandLine::Mode>("mode");
        QTest::addColumn<QString>("detail"); // the file to open, the output, or a piece of the text
        using M = CommandLine::Mode;
        QTest::newRow("nothing") << u""_s << M::Window << u""_s;
        QTest::newRow("a file to open") << u"kovács.tkd"_s << M::Window << u"kovács.tkd"_s;
        QTest::newRow("Qt's own options") << u"-platform xcb -style Fusion -reverse kovács.tkd"_s << M::Window
                                          << u"kovács.tkd"_s;
        QTest::newRow("a file after --") << u"-- -reverse"_s << M::Window << u"-reverse"_s;
        QTest::newRow("two files to open") << u"a.tkd b.tkd"_s << M::UsageError << u"egyszerre egy"_s;
        QTest::newRow("--help") << u"--help"_s << M::Help << u"--pdf <KIMENET>"_s;
        QTest::newRow("-h") << u"-h kovács.tkd"_s << M::Help << u"Usage: telekado [options]"_s;
        QTest::newRow("--version") << u"--version"_s << M::Version << u"telekado %1\n"_s.arg(app::programVersion());
        QTest::newRow("unknown option") << u"--nyomtat a.tkd"_s << M::UsageError << u"ismeretlen kapcsoló: nyomtat"_s;
        QTest::newRow("one file into a PDF") << u"--pdf ki.pdf a.tkd"_s << M::Pdf << u"ki.pdf"_s;
        QTest::newRow("upper-case extension") << u"--pdf KI.PDF a.tkd"_s << M::Pdf << u"KI.PDF"_s;
        QTest::newRow("files into a folder") << u"--pdf {dir} a.tkd b.tkd"_s << M::Pdf << u"{dir}"_s;
        QTest::newRow("a folder named .pdf") << u"--pdf {dir}/mappa.pdf a.tkd b.tkd"_s << M::Pdf << u"{dir}/mappa.pdf"_s;
        QTest::newRow("two files into one PDF") << u"--pdf ki.pdf a.tkd b.tkd"_s << M::UsageError << u"több bevallásfájl"_s;
        QTest::newRow("no input") << u"--pdf ki.pdf"_s << M::UsageError << u"legalább egy"_s;
        QTest::newRow("no output") << u"--pdf"_s << M::UsageError << u"--pdf"_s;
        QTest::newRow("missing folder") << u"--pdf {dir}/nincs a.tkd"_s << M::UsageError << u"se nem meglévő mappa"_s;
        QTest::newRow("two outputs") << u"--pdf a.pdf --pdf b.pdf a.tkd"_s << M::UsageError << u"csak egyszer"_s;
        QTest::newRow("files to check") << u"--check a.tkd b.tkd"_s << M::Check << u""_s;
        QTest::newRow("nothing to check") << u"--check"_s << M::UsageError << u"--check után"_s;
        QTest::newRow("check and PDF") << u"--check --pdf ki.pdf a.tkd"_s << M::UsageError << u"egyszerre csak egy"_s;
        QTest::newRow("table and scan") << u"--table t.csv --scan {dir} a.tkd"_s << M::UsageError << u"egyszerre csak egy"_s;
        QTest::newRow("files into a table") << u"--table t.csv a.tkd b.tkd"_s << M::Table << u"t.csv"_s;
        QTest::newRow("a table into a folder") << u"--table {dir} a.tkd"_s << M::UsageError << u"egy mappa"_s;
        QTest::newRow("nothing into a table") << u"--table t.csv"_s << M::UsageError << u"--table után"_s;
        QTest::newRow("a table into files") << u"--from-table t.csv {dir}"_s << M::FromTable << u"{dir}"_s;
        QTest::newRow("named after a column") << u"--from-table t.csv --name-column fájl {dir}"_s << M::FromTable
                                              << u"{dir}"_s;
        QTest::newRow("a table into no folder") << u"--from-table t.csv {dir}/nincs"_s << M::UsageError
                                                << u"nem meglévő mappa"_s;
        QTest::newRow("a table into two folders") << u"--from-table t.csv {dir} {dir}"_s << M::UsageError
                                                  << u"egy kimeneti mappa"_s;
        QTest::newRow("a name column alone") << u"--name-column fájl a.tkd"_s << M::UsageError << u"--from-table mellett"_s;
        QTest::newRow("jobs") << u"--pdf {dir} --jobs 3 a.tkd"_s << M::Pdf << u"{dir}"_s;
        QTest::newRow("jobs without --pdf") << u"--check --jobs 2 a.tkd"_s << M::UsageError << u"--pdf mellett"_s;
        QTest::newRow("jobs not a number") << u"--pdf {dir} --jobs sok a.tkd"_s << M::UsageError << u"(sok)"_s;
        QTest::newRow("no jobs") << u"--pdf {dir} --jobs 0 a.tkd"_s << M::UsageError << u"(0)"_s;
        QTest::newRow("help by task") << u"--help"_s << M::Help << u"\n Nyilvántartás táblázatban:\n  --table <TÁBLA.csv>"_s;
    }
    void parse()
    {
        QFETCH(QString, arguments);
        QFETCH(CommandLine::Mode, mode);
        QFETCH(QString, detail);
        detail.replace(u"{dir}"_s, m_dir.path());
        QStringList args{u"/usr/bin/telekado"_s};
        args << arguments.replace(u"{dir}"_s, m_dir.path()).split(u' ', Qt::SkipEmptyParts);

        const CommandLine cl = app::parseCommandLine(args);
        QCOMPARE(cl.mode, mode);
        switch (mode) {
        case CommandLine::Mode::Window:
            QCOMPARE(cl.openFile, detail);
            break;
        case CommandLine::Mode::Pdf:
            QCOMPARE(cl.output, detail);
            QCOMPARE(cl.inputs, args.filter(u".tkd"_s));
            QCOMPARE(cl.jobs, args.contains(u"--jobs"_s) ? 3 : std::max(1, QThread::idealThreadCount()));
            break;
        case CommandLine::Mode::Check:
            QCOMPARE(cl.inputs, args.mid(2));
            break;
        case CommandLine::Mode::Table:
            QCOMPARE(cl.output, detail);
            QCOMPARE(cl.inputs, args.mid(3));
            break;
        case CommandLine::Mode::FromTable:
            QCOMPARE(cl.tableFile, u"t.csv"_s);
            QCOMPARE(cl.output, detail);
            QCOMPARE(cl.nameColumn, args.contains(u"--name-column"_s) ? u"fájl"_s : QString());
            break;
        case CommandLine::Mode::PdfWorker:
            QFAIL("not asked for");
        case CommandLine::Mode::Version:
            QCOMPARE(cl.text, detail);
            break;
        case CommandLine::Mode::Help:
        case CommandLine::Mode::UsageError:
            QVERIFY2(cl.text.contains(detail), qPrintable(cl.text));
            QVERIFY2(cl.text.contains(u"Usage: telekado [options] [FÁJL.tkd...]"_s), qPrintable(cl.text));
            break;
        }
        if (mode == CommandLine::Mode::UsageError)
            QVERIFY(cl.text.startsWith(u"telekado: "_s));
    }

    // Every command's error line: "FILE: headline: reason." on one line.
    void errorLine_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("line");
        QTest::newRow("headline and reason") << u"A fájl nem telekadó-bevallás\nNem JSON"_s
                                             << u"t.tkd: A fájl nem telekadó-bevallás: Nem JSON."_s;
        QTest::newRow("the headline names the file") << u"A fájl nem olvasható: t.tkd\nNincs ilyen fájl."_s
                                                     << u"t.tkd: A fájl nem olvasható: Nincs ilyen fájl."_s;
        QTest::newRow("a headline with its full stop") << u"A táblázat 3. sora nem olvasható be.\nA sorban 50 cella áll."_s
                                                       << u"t.tkd: A táblázat 3. sora nem olvasható be: A sorban 50 cella áll."_s;
        QTest::newRow("reason of two lines") << u"Hiba\nelső\nmásodik"_s << u"t.tkd: Hiba: első második."_s;
        QTest::newRow("one line") << u"Nincs beolvasható kód."_s << u"t.tkd: Nincs beolvasható kód."_s;
    }
    void errorLine()
    {
        QFETCH(QString, message);
        QFETCH(QString, line);
        QCOMPARE(app::errorLine(u"t.tkd"_s, message), line);
    }

    // A helper process that ends without its answers leaves no input told as written: here the
    // helpers are this test program, which ends at once (see main).
    void helpersThatDieAnswerForNothing()
    {
        QTemporaryDir out;
        const QStringList inputs{path(u"a.tkd"_s), path(u"a.tkd"_s), path(u"nincs.tkd"_s)};
        QStringList lines;
        QCOMPARE(app::writePdfsAtOnce(out.path(), inputs, 2, [&](const QString &line) { lines << line; }), 1);
        QCOMPARE(lines.size(), inputs.size());
        for (qsizetype i = 0; i < inputs.size(); ++i)
            QCOMPARE(lines[i], inputs[i] + u": A PDF nem készült el: A PDF-et író folyamat váratlanul leállt."_s);
    }

    // A cell's value as a file name: nothing that leaves the folder, hides the file or other
    // systems refuse.
    void safeFileStem_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stem");
        QTest::newRow("a name") << u"Kovács Őrs"_s << u"Kovács Őrs"_s;
        QTest::newRow("folders") << u"../../etc/passwd"_s << u"_.._etc_passwd"_s;
        QTest::newRow("hidden") << u".rejtett"_s << u"rejtett"_s;
        QTest::newRow("refused characters") << u"a:b*c?\"d\"<e>|f\\g"_s << u"a_b_c__d__e__f_g"_s;
        QTest::newRow("line breaks and blanks") << u"  Első\r\nmásodik\t "_s << u"Első második"_s;
        QTest::newRow("nothing left") << u" . \u0007 "_s << u""_s;
        QTest::newRow("long") << QString(150, u'ő') << QString(100, u'ő');
        QTest::newRow("a surrogate pair at the cut") << QString(99, u'a') + u"😀"_s << QString(99, u'a');
    }
    void safeFileStem()
    {
        QFETCH(QString, value);
        QFETCH(QString, stem);
        QCOMPARE(app::safeFileStem(value), stem);
    }

    // Every input that can be written is, whatever fails around it; each failure is one line
    // naming its file and the reason, and the exit code says whether any failed.
    void intoAFolder()
    {
        QTemporaryDir out;
        QVERIFY(writeFile(path(u"b.tkd"_s), QByteArray()));
        QVERIFY(writeFile(path(u"c.tkd"_s), draftBytes(u"Nagy Űrsula"_s, u"2000,5"_s)));
        // A tax beyond what can be computed: no PDF with a figure from before.
        QVERIFY(writeFile(path(u"d.tkd"_s), draftBytes(u"Túl Nagy"_s, u"1E300"_s)));
        QVERIFY(QDir(m_dir.path()).mkpath(u"másik"_s));
        QVERIFY(writeFile(path(u"másik/c.tkd"_s), draftBytes(u"Más Valaki"_s)));
        const QStringList inputs{path(u"a.tkd"_s), path(u"b.tkd"_s), path(u"c.tkd"_s), path(u"nincs.tkd"_s),
                                 path(u"d.tkd"_s), path(u"másik/c.tkd"_s)};
        QStringList lines;
        QCOMPARE(writePdfs(out.path(), inputs, &lines), 1);

        QCOMPARE(QDir(out.path()).entryList(QDir::Files), (QStringList{u"a.pdf"_s, u"c.pdf"_s}));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], path(u"b.tkd"_s) + u": A fájl nem telekadó-bevallás: A fájl üres."_s);
        QCOMPARE(lines[1], path(u"nincs.tkd"_s) + u": A fájl nem nyitható meg: A fájl nem létezik."_s);
        QCOMPARE(lines[2], path(u"d.tkd"_s) + u": A bevallás nem számolható ki: Invalid floating point operation."_s);
        QVERIFY2(lines[3].startsWith(path(u"másik/c.tkd"_s) + u": A PDF neve"_s), qPrintable(lines[3]));
        for (const QString &line : std::as_const(lines))
            QVERIFY(!line.contains(u'\n'));
        // The first c.tkd's PDF stays.
        QVERIFY(toolOutput(u"pdftotext"_s, {QDir(out.path()).filePath(u"c.pdf"_s), u"-"_s}).contains(u"Nagy Űrsula"_s));
        QVERIFY(toolOutput(u"pdftotext"_s, {QDir(out.path()).filePath(u"a.pdf"_s), u"-"_s}).contains(u"313.500 Ft."_s));

        lines.clear();
        QCOMPARE(writePdfs(out.path(), {path(u"a.tkd"_s), path(u"c.tkd"_s)}, &lines), 0);
        QCOMPARE(lines, QStringList());
    }

    // One input into a named PDF; a PDF that cannot be written is reported and leaves nothing.
    void intoANamedPdf()
    {
        QTemporaryDir out;
        QStringList lines;
        const QString pdf = QDir(out.path()).filePath(u"Kovács.pdf"_s);
        QCOMPARE(writePdfs(pdf, {path(u"a.tkd"_s)}, &lines), 0);
        QVERIFY(toolOutput(u"pdfinfo"_s, {pdf})
                    .contains(QRegularExpression(u"^Author:\\s+Kovács Őrs$"_s, QRegularExpression::MultilineOption)));

        const QString missing = QDir(out.path()).filePath(u"nincs/ki.pdf"_s);
        QCOMPARE(writePdfs(missing, {path(u"a.tkd"_s)}, &lines), 1);
        QCOMPARE(lines, QStringList{path(u"a.tkd"_s) + u": A PDF nem menthető: %1: A mappa nem létezik: %2."_s.arg(
                                        missing, QDir(out.path()).filePath(u"nincs"_s))});
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"Kovács.pdf"_s});
    }
};

int main(int argc, char **argv)
{
    // Started as a helper of --pdf by helpersThatDieAnswerForNothing: a helper that ends at once.
    if (argc > 1 && qstrcmp(argv[1], "--pdf-worker") == 0)
        return 3;
    QGuiApplication application(argc, argv);
    TestCommandLine test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_commandline.moc"
