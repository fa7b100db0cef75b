#include "declaration/catalogue.h"
#include "declaration/declarationpdf.h"
#include "declaration/formaccess.h"
#include "declaration/reportvalues.h"
#include "declaration/taxcomputation.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "tests/testhelpers.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using tk::test::readFile;
using tk::test::toolOutput;
using tk::test::writeFile;

namespace {

QString digits(int n, int width)
{
    return QString::number(n).rightJustified(width, u'0');
}

// Every input field with a value found nowhere else on the printed form, short enough for its
// printed box, with the Hungarian letters that need a font's full character set.
decl::MapForm filledForm()
{
    decl::MapForm form;
    int n = 0;
    for (const decl::Field &f : decl::fields()) {
        ++n;
        switch (f.kind) {
        case decl::FieldKind::TextEdit:
            form.setText(f.component, u"Ő%1ű"_s.arg(n));
            break;
        case decl::FieldKind::TaxNumber:
            form.setText(f.component, u"1234%1-%2-%3"_s.arg(digits(n, 4)).arg(n % 10).arg(digits(n, 2)));
            break;
        case decl::FieldKind::TaxId:
            form.setText(f.component, u"98765"_s + digits(n, 5));
            break;
        case decl::FieldKind::NumericEdit:
            break;
        case decl::FieldKind::RichEdit:
            form.setText(f.component, u"első sor őű\r\nmásodik ŐŰ"_s);
            break;
        }
    }
    form.setText(u"StyledEdit35"_s, u"Kovács Őrs Űrkő"_s);
    form.setText(u"NumEdit1"_s, u"1500"_s);
    form.setText(u"NumEdit2"_s, u"300"_s);
    form.setText(u"NumEdit3"_s, u"40"_s);
    form.setItemIndex(u"CtlRadioGroup1"_s, 0);
    decl::szamolas(form);
    return form;
}

// The printed texts of the form's fields; the remark line by line.
QStringList printedValues(const decl::MapForm &form)
{
    QStringList values;
    for (const decl::Field &f : decl::fields())
        values << form.text(f.component).split(u"\r\n"_s);
    for (const decl::ComputedLabel &l : decl::computedLabels())
        values << form.caption(l.component);
    return values;
}

// Runs the writer under a file-size limit: the write fails even for root, whom permissions do
// not stop.
bool saveUnderSizeLimit(decl::DeclarationReport &report, const QString &path, rlim_t limit, QString *error)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = decl::saveDeclarationPdf(report, path, error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return ok;
}

} // namespace

class TestDeclarationPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        tk::test::useSeparators(u',');
        rep::fillHungarianResources();
        rep::installPageDrawer();
        QVERIFY(m_dir.isValid());
    }

    // Two A4 pages whose text a reader gives back letter for letter, fonts inside the file, the
    // title and the taxpayer as the author.
    void filledDeclaration()
    {
        decl::MapForm form = filledForm();
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        const QString pdf = path(u"kitöltött.pdf"_s);
        QString error;
        QVERIFY2(decl::saveDeclarationPdf(report, pdf, &error), qPrintable(error));

        const QString text = toolOutput(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QCOMPARE(form.caption(u"Label4"_s), u"242.440 Ft."_s);
        QStringList wanted = printedValues(form);
        wanted << u"BEVALLÁS"_s << u"2006 évi telekadó"_s << u"(tulajdonjog szerzés)"_s;
        for (const QString &w : std::as_const(wanted))
            QVERIFY2(text.contains(w), qPrintable(w));

        const QString info = toolOutput(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(QRegularExpression(u"^Pages:\\s+2$"_s, QRegularExpression::MultilineOption)),
                 qPrintable(info));
        QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"^Title:\\s+BEVALLÁS 2006 évi telekadó$"_s,
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"^Author:\\s+Kovács Őrs Űrkő$"_s, QRegularExpression::MultilineOption)),
                 qPrintable(info));

        // Every font is embedded: the "emb" column of each font row says "yes".
        const QStringList fonts = toolOutput(u"pdffonts"_s, {pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &row : fonts)
            QVERIFY2(row.contains(QRegularExpression(u"\\s(yes)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"_s)), qPrintable(row));
    }

    // Without a name there is no author entry at all.
    void untouchedDeclarationHasNoAuthor()
    {
        decl::MapForm form;
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        const QString pdf = path(u"üres.pdf"_s);
        QVERIFY(decl::saveDeclarationPdf(report, pdf));
        const QString info = toolOutput(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(u"Title:"_s) && !info.contains(u"Author:"_s), qPrintable(info));
        QVERIFY(toolOutput(u"pdftotext"_s, {pdf, u"-"_s}).contains(u"********-*-**"_s));
    }

    // A PDF that cannot be written leaves nothing of itself: no half-written file, an older
    // file of the name whole, and a message that names the file and the reason.
    void failedWriteLeavesNoHalfFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("sizeLimit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << u"nincs/ilyen/mappa.pdf"_s << false << u"A mappa nem létezik: "_s;
        QTest::newRow("disk full") << u"régi.pdf"_s << true
                                   << u"A fájl nagyobb lenne, mint amekkorát a rendszer megenged."_s;
    }
    void failedWriteLeavesNoHalfFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, sizeLimit);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString target = dir.filePath(name);
        const QByteArray old = "%PDF-1.4 a régi";
        if (sizeLimit)
            QVERIFY(writeFile(target, old));
        decl::MapForm form = filledForm();
        decl::DeclarationReport report(form);
        QVERIFY(report.prepare());
        QString error;
        const bool ok = sizeLimit ? saveUnderSizeLimit(report, target, 4096, &error)
                                  : decl::saveDeclarationPdf(report, target, &error);
        QVERIFY(!ok);
        QVERIFY2(error.startsWith(u"A PDF nem menthető: %1\n%2"_s.arg(QDir::toNativeSeparators(target), reason)),
                 qPrintable(error));
        if (sizeLimit) {
            QCOMPARE(readFile(target), old);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
        } else {
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        }
    }
};

QTEST_MAIN(TestDeclarationPdf)
#include "test_declarationpdf.moc"
