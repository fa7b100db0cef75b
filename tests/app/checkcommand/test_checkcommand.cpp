#include "app/cli/checkcommand.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "tests/testhelpers.h"

#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;

class TestCheckCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static decl::MapForm validTaxpayer()
    {
        decl::MapForm form;
        form.setText(u"StyledEdit35"_s, u"Kovács Őrs"_s);
        form.setText(u"CtlMaskEdit6"_s, u"15789934-2-51"_s);
        form.setText(u"CtlMaskEdit8"_s, u"8365670003"_s);
        form.setItemIndex(u"CtlRadioGroup5"_s, 0);
        form.setItemIndex(u"CtlRadioGroup6"_s, 4);
        return form;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        decl::MapForm clean = validTaxpayer();
        QVERIFY(decl::saveDraft(path(u"tiszta.tkd"_s), decl::draftOf(clean)));
        decl::MapForm wrong = validTaxpayer();
        wrong.setText(u"CtlMaskEdit8"_s, u"8365670004"_s);
        QVERIFY(decl::saveDraft(path(u"egy hiba.tkd"_s), decl::draftOf(wrong)));
        QVERIFY(tk::test::writeFile(path(u"torott.tkd"_s), "{\"format\": \"telekado-bevallas\", "));
        // Only the name: the fields the file leaves out count as untouched.
        QVERIFY(tk::test::writeFile(path(u"csak nev.tkd"_s),
                                    "{\"format\": \"telekado-bevallas\", \"version\": 1, "
                                    "\"fields\": {\"m1\": \"Kiss\"}}"));
    }

    void exitCodesAndLines_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out"); // each line starts with one of these, in order
        QTest::addColumn<QStringList>("err");
        const QString idLine = u"egy hiba.tkd: adóazonositó jele (adózó): "_s;
        QTest::newRow("clean") << QStringList{u"tiszta.tkd"_s} << 0 << QStringList() << QStringList();
        QTest::newRow("one finding") << QStringList{u"egy hiba.tkd"_s} << 1 << QStringList{idLine} << QStringList();
        QTest::newRow("broken file") << QStringList{u"torott.tkd"_s} << 1 << QStringList()
                                     << QStringList{u"torott.tkd: A fájl nem telekadó-bevallás: "_s};
        QTest::newRow("missing file") << QStringList{u"nincs.tkd"_s} << 1 << QStringList()
                                      << QStringList{u"nincs.tkd: A fájl nem nyitható meg: "_s};
        QTest::newRow("three files") << QStringList{u"tiszta.tkd"_s, u"torott.tkd"_s, u"egy hiba.tkd"_s} << 1
                                     << QStringList{idLine} << QStringList{u"torott.tkd: A fájl nem telekadó-bevallás: "_s};
        QTest::newRow("fields left out")
            << QStringList{u"csak nev.tkd"_s} << 1
            << QStringList{u"csak nev.tkd: Az adó alanya: "_s, u"csak nev.tkd: Használat tipusa: "_s} << QStringList();
        QTest::newRow("no file: usage") << QStringList() << 2 << QStringList() << QStringList{u"A --check"_s};
    }
    void exitCodesAndLines()
    {
        QFETCH(QStringList, files);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QString outText, errText;
        QTextStream outStream(&outText), errStream(&errText);
        QDir::setCurrent(m_dir.path());
        QCOMPARE(app::runCheckCommand(files, outStream, errStream), exitCode);
        const QStringList outLines = outText.split(u'\n', Qt::SkipEmptyParts);
        const QStringList errLines = errText.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(outLines.size(), out.size());
        for (int i = 0; i < out.size(); ++i)
            QVERIFY2(outLines[i].startsWith(out[i]) && outLines[i].size() > out[i].size() + 10,
                     qPrintable(outLines[i]));
        QCOMPARE(errLines.size(), err.size());
        for (int i = 0; i < err.size(); ++i)
            QVERIFY2(errLines[i].startsWith(err[i]), qPrintable(errLines[i]));
        // An unreadable file's line has the one form of every command: file, headline, reason.
        static const QRegularExpression form(u"^[^:]+\\.tkd: [^:]+: .+\\.$"_s);
        for (const QString &line : errLines)
            if (!line.startsWith(u"A --check"_s))
                QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
    }

    // The message is the one the window shows for the same field.
    void sameMessageAsTheWindow()
    {
        QString outText, errText;
        QTextStream outStream(&outText), errStream(&errText);
        QDir::setCurrent(m_dir.path());
        app::runCheckCommand({u"egy hiba.tkd"_s}, outStream, errStream);
        QCOMPARE(outText, u"egy hiba.tkd: adóazonositó jele (adózó): "_s + decl::taxIdProblem(u"8365670004"_s) + u'\n');
    }
};

QTEST_GUILESS_MAIN(TestCheckCommand)
#include "test_checkcommand.moc"
