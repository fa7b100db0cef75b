#include "app/commands/checkwindow.h"
#include "app/commands/filedialogs.h"
#include "app/commands/draftdocument.h"
#include "app/window/form1.h"
#include "app/commands/recentfiles.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "declaration/draftfile.h"
#include "declaration/reportvalues.h"
#include "report/pages/previewpages.h"
#include "report/preview/treppreviewform.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"
#include "tests/app/modalscript.h"
#include "tests/testhelpers.h"

#include <QAbstractButton>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using app::TForm1;
using namespace Qt::StringLiterals;
using tk::test::readFile;
using tk::test::toolOutput;
using tk::test::writeFile;

namespace {

const QString caption = u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal"_s;

// The answers the file commands get, and what they asked.
struct Answers
{
    QString openName;
    QString scanName;
    QString saveName;
    QString pdfName;
    QMessageBox::StandardButton saveChanges = QMessageBox::Cancel;
    bool useHeldFile = false;
    QStringList asked;

    // Hooks for the form; the question before ending stays the real message box unless
    // withQuestion is set.
    app::FileDialogs dialogs(bool withQuestion = true)
    {
        app::FileDialogs d = app::standardFileDialogs();
        d.openDraftName = [this](QWidget *, const QString &) {
            asked << u"open"_s;
            return openName;
        };
        d.openScanName = [this](QWidget *, const QString &) {
            asked << u"scan"_s;
            return scanName;
        };
        d.saveDraftName = [this](QWidget *, const QString &suggested) {
            asked << u"save "_s + QFileInfo(suggested).fileName();
            return saveName;
        };
        d.savePdfName = [this](QWidget *, const QString &suggested) {
            asked << u"pdf "_s + QFileInfo(suggested).fileName();
            return pdfName;
        };
        if (withQuestion)
            d.askSaveChanges = [this](QWidget *) {
                asked << u"question"_s;
                return saveChanges;
            };
        d.askUseHeldFile = [this](QWidget *, const app::FileHolder &h, bool saving) {
            asked << u"held %1 %2 %3 %4"_s.arg(saving ? u"save"_s : u"open"_s, QFileInfo(h.file).fileName(), h.host)
                         .arg(h.since.isValid() && !h.user.isEmpty());
            return useHeldFile;
        };
        return d;
    }
};

// Answers every real message box as soon as it is the active window with Alt and the marked
// letter of the button that reads the given text, as the user does, noting the box's text and
// its buttons' texts. A button without a marked letter is clicked.
struct MessageBoxAnswerer
{
    QTimer timer;
    QStringList texts;
    QStringList buttons;
    QPointer<QMessageBox> answered;
    explicit MessageBoxAnswerer(const QString &answer)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            // The button answers a moment after its key, as it shows itself pressed.
            if (!box || box == answered || QApplication::activeWindow() != box)
                return;
            answered = box;
            texts << box->text();
            QStringList names;
            for (QAbstractButton *b : box->buttons())
                names << b->text();
            names.sort();
            buttons << names.join(u'/');
            for (QAbstractButton *b : box->buttons()) {
                if (QString(b->text()).remove(u'&') != answer)
                    continue;
                if (const QKeySequence key = QKeySequence::mnemonic(b->text()); !key.isEmpty())
                    QTest::keySequence(box, key);
                else
                    b->click();
            }
        });
        timer.start();
    }
};

QAction *menuItem(TForm1 &form, const char *name)
{
    auto *a = form.findChild<QAction *>(QLatin1StringView(name));
    Q_ASSERT(a);
    return a;
}

// Every field of the form with a value found nowhere else, through the controls themselves, all
// three groups chosen, and the computation run.
// "Nyomtatás így is" on the check window.
void goOnDespiteFindings(QWidget *w)
{
    auto *window = qobject_cast<app::CheckWindow *>(w);
    QVERIFY(window);
    window->printButton()->click();
}

void fillEveryField(TForm1 &form)
{
    int n = 0;
    for (const decl::Field &f : decl::fields()) {
        ++n;
        QWidget *w = form.control(f.component);
        const QString d = QString::number(n % 10);
        switch (f.kind) {
        case decl::FieldKind::TextEdit:
            qobject_cast<QLineEdit *>(w)->setText(u"Őrs Űrkő %1 \"idéz\""_s.arg(n));
            break;
        case decl::FieldKind::TaxNumber:
            qobject_cast<ctl::TCtlMaskEdit *>(w)->setText(u"1234567%1-%1-0%1"_s.arg(d));
            break;
        case decl::FieldKind::TaxId:
            qobject_cast<ctl::TCtlMaskEdit *>(w)->setText(u"83656 *%1**"_s.arg(d));
            break;
        case decl::FieldKind::NumericEdit:
            qobject_cast<QLineEdit *>(w)->setText(QString::number(n * 100) + u",25"_s);
            break;
        case decl::FieldKind::RichEdit:
            qobject_cast<QPlainTextEdit *>(w)->setPlainText(u"első sor őű ŐŰ\n\n  harmadik\ttabbal\nutolsó"_s);
            break;
        }
    }
    // a is large enough for a tax above zero.
    qobject_cast<QLineEdit *>(form.control(u"NumEdit1"_s))->setText(u"90000,5"_s);
    const QList<std::pair<QString, int>> choices = {
        {u"CtlRadioGroup1"_s, 1}, {u"CtlRadioGroup5"_s, 3}, {u"CtlRadioGroup6"_s, 5}};
    for (const auto &[group, index] : choices)
        qobject_cast<ctl::TCtlRadioGroup *>(form.control(group))->setItemIndex(index);
    form.szamolas();
}

QStringList computed(TForm1 &form)
{
    QStringList captions;
    for (const decl::ComputedLabel &l : decl::computedLabels())
        captions << form.form().caption(l.component);
    return captions;
}

// The prepared declaration of the form saved as a prepared-pages file.
QByteArray preparedPages(TForm1 &form, const QString &path)
{
    decl::DeclarationReport report(form.form());
    if (!report.prepare())
        return QByteArray();
    report.pages().SaveToFile(path);
    return readFile(path);
}

// Types one letter into a text field the way a user does.
void typeLetter(TForm1 &form, const QString &component, const QString &letter)
{
    QWidget *w = form.control(component);
    w->setFocus(Qt::TabFocusReason);
    tk::test::typeText(w, letter);
}

// Runs the command inside the application's own event loop, which "Kilépés" and closing the
// window end. Returns the loop's exit code, or -1 when the command returned and the program
// went on. The end a command asks for is already on its way when the command returns; the
// loop goes through it long before the fallback's timer is due.
int runInEventLoop(const std::function<void()> &command)
{
    // The timers go with this run: a fallback left over must not end the next one.
    QObject run;
    QTimer::singleShot(0, &run, [&] {
        command();
        QTimer::singleShot(100, &run, [] { QCoreApplication::exit(-1); });
    });
    return QCoreApplication::exec();
}

} // namespace

class TestFileMenu : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;
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

    void init()
    {
        QCoreApplication::processEvents();
        m_messages.clear();
    }

    // The "Fájl" menu stands first, with its items and keys.
    void fileMenu()
    {
        TForm1 form;
        QAction *file = form.menuBar()->actions().constFirst();
        QCOMPARE(file->text(), u"&Fájl"_s);
        QStringList items;
        for (QAction *a : file->menu()->actions())
            items << (a->isSeparator() ? u"-"_s : a->text() + u' ' + a->shortcut().toString());
        QCOMPARE(items, (QStringList{u"&Megnyitás... Ctrl+O"_s, u"&Beolvasás képről... "_s, u"M&entés Ctrl+S"_s, u"Mentés má&sként... "_s, u"-"_s,
                                     u"&PDF-be mentés... "_s}));
    }

    // Every field, choice and computed value comes back in a fresh window, and both windows
    // prepare the same declaration.
    void roundTrip()
    {
        TForm1 first;
        fillEveryField(first);
        Answers answers;
        answers.saveName = path(u"kovács"_s); // the extension is added
        first.setFileDialogs(answers.dialogs());
        menuItem(first, "Ments1")->trigger();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
        QCOMPARE(answers.asked, QStringList{u"save bevallas.tkd"_s});
        const QString file = path(u"kovács.tkd"_s);
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(first.windowTitle(), caption + u" - kovács.tkd"_s);

        TForm1 second;
        Answers openAnswers;
        openAnswers.openName = file;
        second.setFileDialogs(openAnswers.dialogs());
        menuItem(second, "Megnyits1")->trigger();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
        QCOMPARE(openAnswers.asked, QStringList{u"open"_s}); // an untouched form needs no question
        QCOMPARE(second.windowTitle(), caption + u" - kovács.tkd"_s);
        for (const decl::Field &f : decl::fields())
            QCOMPARE(second.form().text(f.component), first.form().text(f.component));
        for (const decl::RadioGroup &g : decl::radioGroups())
            QCOMPARE(second.form().itemIndex(g.component), first.form().itemIndex(g.component));
        QCOMPARE(computed(second), computed(first));
        QVERIFY(computed(second).constLast().endsWith(u" Ft."_s));
        QVERIFY(computed(second).constLast() != u"0"_s);

        const QByteArray pagesFirst = preparedPages(first, path(u"első.prp"_s));
        QVERIFY(!pagesFirst.isEmpty());
        QCOMPARE(preparedPages(second, path(u"második.prp"_s)), pagesFirst);
    }

    // The title, its "*" and the question before ending, for each state of the form and each
    // answer, through "Kilépés" and the close box.
    void titleAndExitQuestion_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<QString>("answer");   // empty: no question is expected
        QTest::addColumn<QString>("title");    // after the state is reached
        QTest::addColumn<bool>("ends");
        QTest::addColumn<QString>("fileHolds"); // what the document's file holds afterwards in StyledEdit35

        const QString d = u" - d.tkd"_s;
        auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        row("untouched, Kilépés") << u"untouched"_s << false << QString() << caption << true << QString();
        row("untouched, close box") << u"untouched"_s << true << QString() << caption << true << QString();
        row("typed and taken back") << u"typed and taken back"_s << false << QString() << caption << true << QString();
        row("typed, Igen") << u"typed"_s << false << u"Igen"_s << caption + u'*' << true << u"Ő"_s;
        row("typed, Nem") << u"typed"_s << false << u"Nem"_s << caption + u'*' << true << QString();
        row("typed, Mégsem") << u"typed"_s << false << u"Mégsem"_s << caption + u'*' << false << QString();
        row("typed, close box, Nem") << u"typed"_s << true << u"Nem"_s << caption + u'*' << true << QString();
        row("typed, close box, Mégsem") << u"typed"_s << true << u"Mégsem"_s << caption + u'*' << false << QString();
        row("saved") << u"saved"_s << false << QString() << caption + d << true << u"Ő"_s;
        row("saved, close box") << u"saved"_s << true << QString() << caption + d << true << u"Ő"_s;
        row("opened") << u"opened"_s << false << QString() << caption + d << true << u"régi"_s;
        // Entering the field selects its text, which the letter then replaces.
        row("opened then edited, Igen") << u"opened then edited"_s << false << u"Igen"_s << caption + d + u'*' << true
                                         << u"Ő"_s;
        row("opened then edited, Nem") << u"opened then edited"_s << false << u"Nem"_s << caption + d + u'*' << true
                                        << u"régi"_s;
        row("opened then edited, close box, Mégsem") << u"opened then edited"_s << true << u"Mégsem"_s
                                                      << caption + d + u'*' << false << u"régi"_s;
    }
    void titleAndExitQuestion()
    {
        QFETCH(QString, state);
        QFETCH(bool, closeBox);
        QFETCH(QString, answer);
        QFETCH(QString, title);
        QFETCH(bool, ends);
        QFETCH(QString, fileHolds);

        QTemporaryDir dir;
        const QString file = dir.filePath(u"d.tkd"_s);
        decl::MapForm old;
        old.setText(u"StyledEdit35"_s, u"régi"_s);
        QVERIFY(decl::saveDraft(file, decl::draftOf(old)));

        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Answers answers;
        answers.openName = file;
        answers.saveName = file;
        form.setFileDialogs(answers.dialogs(false));
        if (state.startsWith(u"opened"))
            menuItem(form, "Megnyits1")->trigger();
        if (state.startsWith(u"typed") || state == u"saved" || state == u"opened then edited") {
            typeLetter(form, u"StyledEdit35"_s, u"Ő"_s);
            QCOMPARE(form.windowTitle().endsWith(u'*'), true);
        }
        if (state == u"typed and taken back")
            QTest::keyClick(form.control(u"StyledEdit35"_s), Qt::Key_Backspace);
        if (state == u"saved")
            menuItem(form, "Ments1")->trigger();
        QCOMPARE(form.windowTitle(), title);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
        answers.asked.clear();
        if (fileHolds.isEmpty())
            QFile::remove(file);

        MessageBoxAnswerer boxes(answer);
        const int code = runInEventLoop([&] {
            if (closeBox)
                form.close();
            else
                menuItem(form, "Kilps1")->trigger();
        });

        QCOMPARE(code, ends ? 0 : -1);
        QCOMPARE(form.isVisible(), !(closeBox && ends));
        if (answer.isEmpty()) {
            QCOMPARE(boxes.texts, QStringList());
        } else {
            QCOMPARE(boxes.texts, QStringList{u"Menti a bevallás változásait?"_s});
            QCOMPARE(boxes.buttons, QStringList{u"&Igen/&Mégsem/&Nem"_s});
        }
        // Igen on an untitled form asks for the name; a form with a file is saved into it.
        const bool askedName = answer == u"Igen" && state == u"typed";
        QCOMPARE(answers.asked, askedName ? QStringList{u"save bevallas.tkd"_s} : QStringList());
        if (fileHolds.isEmpty()) {
            QVERIFY(!QFileInfo::exists(file));
        } else {
            const std::optional<decl::Draft> saved = decl::loadDraft(file);
            QVERIFY(saved);
            QCOMPARE(saved->texts.value(u"StyledEdit35"_s), fileHolds);
        }
        if (!ends)
            QCOMPARE(form.windowTitle(), title);
    }

    // A file that is not a declaration this program can open leaves the form as it was: every
    // field, choice, computed value, the title and the file it belongs to. One message names the
    // file and the reason.
    void badFileLeavesFormAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray head = "{\"format\": \"telekado-bevallas\", \"version\": 1, \"fields\": ";
        QTest::newRow("empty") << QByteArray() << u"A fájl üres."_s;
        QTest::newRow("not JSON") << QByteArray("Kovács Őrs\n1500\n") << u"nem érvényes JSON"_s;
        QTest::newRow("another format") << QByteArray("{\"format\": \"szamla\", \"version\": 1}")
                                        << u"formátumjelölése nem „telekado-bevallas”"_s;
        QTest::newRow("newer version") << QByteArray("{\"format\": \"telekado-bevallas\", \"version\": 2}")
                                       << u"újabb változata mentette"_s;
        QTest::newRow("not a report key") << head + "{\"m1\": \"x\", \"m99\": \"y\"}}" << u"Ismeretlen mezőkulcs: „m99”"_s;
        QTest::newRow("number for text") << head + "{\"m1\": 12}}" << u"értéke nem szöveg"_s;
        QTest::newRow("50 MB value") << head + "{\"m1\": \"" + QByteArray(50'000'000, 'a') + "\"}}" << u"túl nagy"_s;
        QTest::newRow("invalid UTF-8") << head + "{\"m1\": \"Kov\xe1" "cs\"}}" << u"nem UTF-8"_s;
    }
    void badFileLeavesFormAsItWas()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        TForm1 form;
        fillEveryField(form);
        Answers answers;
        answers.saveName = path(u"jó.tkd"_s);
        answers.saveChanges = QMessageBox::No;
        form.setFileDialogs(answers.dialogs());
        menuItem(form, "Ments1")->trigger();
        typeLetter(form, u"StyledEdit36"_s, u"ű"_s);
        const decl::Draft before = decl::draftOf(form.form());
        const QStringList computedBefore = computed(form);
        const QString titleBefore = form.windowTitle();
        QCOMPARE(titleBefore, caption + u" - jó.tkd*"_s);

        const QString bad = path(u"rossz.tkd"_s);
        QVERIFY(writeFile(bad, bytes));
        answers.openName = bad;
        menuItem(form, "Megnyits1")->trigger();

        QTRY_COMPARE(m_messages.size(), 1);
        const rt::Message &m = m_messages[0];
        QCOMPARE(m.caption, rt::applicationTitle());
        QCOMPARE(m.icon, rt::Message::Icon::Stop);
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(bad)), qPrintable(m.text));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QVERIFY(decl::draftOf(form.form()) == before);
        QCOMPARE(computed(form), computedBefore);
        QCOMPARE(form.windowTitle(), titleBefore);
        QCOMPARE(form.document().path(), path(u"jó.tkd"_s));
        QTest::qWait(20);
        QCOMPARE(m_messages.size(), 1);
    }

    // "Beolvasás képről...": a page image carrying the code fills the form as the file would,
    // with the findings shown; the form has no file, counts as changed and names the scan. A
    // file without a code changes nothing and says why.
    void scanFillsTheForm()
    {
        TForm1 first;
        fillEveryField(first);
        decl::MapForm printed;
        decl::applyDraft(decl::draftOf(first.form()), printed);
        decl::DeclarationReport report(printed);
        QVERIFY(report.prepare());
        QImage page(int(794 * 200 / 96.0), int(1123 * 200 / 96.0), QImage::Format_Grayscale8);
        page.fill(Qt::white);
        {
            QPainter p(&page);
            report.pages().DrawPage(1, &p, 200 / 96.0, 200 / 96.0, 0, 0);
        }
        const QString scan = path(u"lap.png"_s);
        QVERIFY(page.save(scan));

        TForm1 form;
        Answers answers;
        form.setFileDialogs(answers.dialogs());
        const QString empty = path(u"ures.png"_s);
        QVERIFY(writeFile(empty, QByteArray()));
        answers.scanName = empty;
        menuItem(form, "Beolvass1")->trigger();
        QTRY_COMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains(u"A fájl üres"_s), qPrintable(m_messages[0].text));
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(decl::draftOf(form.form()), decl::draftOf(decl::MapForm()));

        answers.scanName = scan;
        menuItem(form, "Beolvass1")->trigger();
        QCOMPARE(decl::draftOf(form.form()), decl::draftOf(first.form()));
        QVERIFY(form.form().caption(u"Label4"_s) != u"0"_s); // computed as an opened file is
        QCOMPARE(form.windowTitle(), caption + u" - lap.png (beolvasva)*"_s);
        QVERIFY(form.document().path().isEmpty());
        QCOMPARE(answers.asked, (QStringList{u"scan"_s, u"scan"_s}));
        QCOMPARE(m_messages.size(), 1);
    }

    // A save into a folder that does not exist says why and changes nothing: no file, no name,
    // the form still changed.
    void saveIntoMissingFolder()
    {
        TForm1 form;
        typeLetter(form, u"StyledEdit35"_s, u"ő"_s);
        Answers answers;
        answers.saveName = path(u"nincs/ilyen/mappa/bevallás.tkd"_s);
        form.setFileDialogs(answers.dialogs());
        menuItem(form, "Ments1")->trigger();
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, u"A bevallás nem menthető: %1\nA mappa nem létezik: %2."_s
                                         .arg(QDir::toNativeSeparators(answers.saveName),
                                              QDir::toNativeSeparators(path(u"nincs/ilyen/mappa"_s))));
        QCOMPARE(form.windowTitle(), caption + u'*');
        QVERIFY(form.document().path().isEmpty());
        QVERIFY(!QFileInfo::exists(path(u"nincs"_s)));
    }

    // Ctrl+S saves from inside a field, asking for the name the first time only; Ctrl+O opens.
    void keys()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Answers answers;
        answers.saveName = path(u"billentyű.tkd"_s);
        answers.openName = answers.saveName;
        answers.saveChanges = QMessageBox::No;
        form.setFileDialogs(answers.dialogs());
        typeLetter(form, u"StyledEdit35"_s, u"a"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(answers.asked, QStringList{u"save bevallas.tkd"_s});
        QCOMPARE(form.windowTitle(), caption + u" - billentyű.tkd"_s);
        typeLetter(form, u"StyledEdit35"_s, u"b"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(answers.asked.size(), 1);
        QCOMPARE(decl::loadDraft(answers.saveName)->texts.value(u"StyledEdit35"_s), u"ab"_s);

        typeLetter(form, u"StyledEdit35"_s, u"c"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(answers.asked, (QStringList{u"save bevallas.tkd"_s, u"question"_s, u"open"_s}));
        QCOMPARE(form.form().text(u"StyledEdit35"_s), u"ab"_s);
        QVERIFY(m_messages.isEmpty());
    }

    // A file another program holds open: the user is told who holds it and decides; a lock of
    // a program that has ended is taken over without a word, one from another host never.
    void fileOpenOnce_data()
    {
        QTest::addColumn<QString>("holder"); // living, other host, ended
        QTest::addColumn<bool>("saving");
        QTest::addColumn<bool>("anyway");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("done"); // opened, or saved into
        QTest::newRow("living, open, Mégsem") << u"living"_s << false << false << true << false;
        QTest::newRow("living, open anyway") << u"living"_s << false << true << true << true;
        QTest::newRow("other host, open, Mégsem") << u"other host"_s << false << false << true << false;
        QTest::newRow("ended, open") << u"ended"_s << false << false << false << true;
        QTest::newRow("living, save, Mégsem") << u"living"_s << true << false << true << false;
        QTest::newRow("living, save anyway") << u"living"_s << true << true << true << true;
        QTest::newRow("ended, save") << u"ended"_s << true << false << false << true;
    }
    void fileOpenOnce()
    {
        QFETCH(QString, holder);
        QFETCH(bool, saving);
        QFETCH(bool, anyway);
        QFETCH(bool, asked);
        QFETCH(bool, done);

        QTemporaryDir dir;
        const QString file = dir.filePath(u"közös.tkd"_s);
        decl::MapForm old;
        old.setText(u"StyledEdit35"_s, u"régi"_s);
        QVERIFY(decl::saveDraft(file, decl::draftOf(old)));
        // Another program, as its lock file names it.
        QProcess other;
        qint64 pid = 0;
        QString host = QSysInfo::machineHostName();
        QString name = u"sleep"_s;
        if (holder == u"ended") {
            pid = 2147480000; // no such process
        } else {
            other.start(u"sleep"_s, {u"60"_s});
            QVERIFY(other.waitForStarted());
            pid = other.processId();
            if (holder == u"other host")
                host = u"masik-gep"_s;
        }
        const QString lock = app::DraftDocument::lockPathOf(file);
        QVERIFY(writeFile(lock, QByteArray::number(pid) + '\n' + name.toUtf8() + '\n' + host.toUtf8() + '\n'));

        TForm1 form;
        Answers answers;
        answers.openName = file;
        answers.saveName = file;
        answers.useHeldFile = anyway;
        form.setFileDialogs(answers.dialogs());
        if (saving) {
            typeLetter(form, u"StyledEdit35"_s, u"Ő"_s);
            menuItem(form, "Ments1")->trigger();
        } else {
            menuItem(form, "Megnyits1")->trigger();
        }
        QStringList expected{saving ? u"save bevallas.tkd"_s : u"open"_s};
        if (asked)
            expected << u"held %1 közös.tkd %2 1"_s.arg(saving ? u"save"_s : u"open"_s, host);
        QCOMPARE(answers.asked, expected);
        QCOMPARE(form.document().path(), done ? file : QString());
        QCOMPARE(decl::loadDraft(file)->texts.value(u"StyledEdit35"_s), done && saving ? u"Ő"_s : u"régi"_s);
        QVERIFY(m_messages.isEmpty());
        // The other program's lock stays its own; an ended one's becomes this program's, and
        // goes with the window.
        QLockFile probe(lock);
        qint64 lockPid = 0;
        QString lockHost, lockApp;
        QVERIFY(probe.getLockInfo(&lockPid, &lockHost, &lockApp));
        QCOMPARE(lockPid, holder == u"ended" ? QCoreApplication::applicationPid() : pid);
        QCOMPARE(lockHost, host);
        if (other.state() != QProcess::NotRunning) {
            other.kill();
            other.waitForFinished();
        }
        if (holder == u"ended") {
            answers.openName = path(u"másik.tkd"_s);
            QVERIFY(decl::saveDraft(answers.openName, decl::draftOf(old)));
            answers.saveChanges = QMessageBox::No;
            menuItem(form, "Megnyits1")->trigger();
            QVERIFY(!QFileInfo::exists(lock));
            QVERIFY(QFileInfo::exists(app::DraftDocument::lockPathOf(answers.openName)));
        }
    }

    // "Fájl" lists the last five declarations opened or saved, newest first, numbered; the list
    // and the dialogs' last folder are kept in the settings file for the next start. A file
    // that has gone is named when chosen and leaves the list.
    void recentFiles()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(u"beállítások/telekado.conf"_s);
        QStringList files;
        for (int i = 1; i <= 6; ++i) {
            files << dir.filePath(u"b%1 & társa.tkd"_s.arg(i));
            QVERIFY(decl::saveDraft(files.constLast(), decl::draftOf(decl::MapForm())));
        }
        {
            app::RecentFiles recent(settings);
            TForm1 form;
            Answers answers;
            answers.saveChanges = QMessageBox::No;
            form.setFileDialogs(answers.dialogs());
            form.keepRecentFiles(recent);
            for (const QString &f : std::as_const(files).first(5)) {
                answers.openName = f;
                menuItem(form, "Megnyits1")->trigger();
            }
            answers.saveName = files[5];
            menuItem(form, "Mentsmsknt1")->trigger();
            QCOMPARE(recent.files(), (QStringList{files[5], files[4], files[3], files[2], files[1]}));
        }
        app::RecentFiles recent(settings);
        QCOMPARE(recent.files().size(), 5);
        QCOMPARE(recent.lastFolder(), dir.path());
        TForm1 form;
        Answers answers;
        form.setFileDialogs(answers.dialogs());
        form.keepRecentFiles(recent);
        QMenu *menu = form.menuBar()->actions().constFirst()->menu();
        Q_EMIT menu->aboutToShow();
        QStringList texts;
        for (QAction *a : menu->actions())
            if (a->objectName().startsWith(u"RecentFile"))
                texts << a->text();
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts[0], u"&1 "_s + QDir::toNativeSeparators(files[5]).replace(u'&', u"&&"_s));
        QVERIFY(texts[4].startsWith(u"&5 "_s));
        // The untitled form's dialogs start in the last folder.
        app::FileDialogs d = answers.dialogs();
        QString folderAsked;
        d.openDraftName = [&](QWidget *, const QString &folder) {
            folderAsked = folder;
            return QString();
        };
        form.setFileDialogs(d);
        menuItem(form, "Megnyits1")->trigger();
        QCOMPARE(folderAsked, dir.path());
        // Chosen from the menu: opened, and first in the list.
        menuItem(form, "RecentFile3")->trigger();
        QCOMPARE(form.document().path(), files[3]);
        QCOMPARE(recent.files().constFirst(), files[3]);
        // Gone: named, and out of the list, also for the next start.
        Q_EMIT menu->aboutToShow();
        QVERIFY(QFile::remove(files[4]));
        menuItem(form, "RecentFile3")->trigger();
        QTRY_COMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains(QDir::toNativeSeparators(files[4])), qPrintable(m_messages[0].text));
        QCOMPARE(form.document().path(), files[3]);
        QVERIFY(!app::RecentFiles(settings).files().contains(files[4]));
    }

    // A settings file that cannot be read or written is as none: the program goes on.
    void unusableSettings()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(u"telekado.conf"_s);
        QVERIFY(QDir().mkpath(settings)); // a folder where the file should be
        app::RecentFiles recent(settings);
        QVERIFY(recent.files().isEmpty());
        recent.add(path(u"x.tkd"_s));
        QCOMPARE(recent.files().size(), 1);
        QVERIFY(app::RecentFiles(settings).files().isEmpty());
        QVERIFY(writeFile(dir.filePath(u"szemét.conf"_s), QByteArray("\xff\xfe[[[=\n\0\x01", 9)));
        QVERIFY(app::RecentFiles(dir.filePath(u"szemét.conf"_s)).files().isEmpty());
    }

    // "PDF-be mentés..." writes the prepared declaration: two A4 pages holding what was typed
    // and computed, named after the document unless the user says otherwise.
    void pdfFromTheMenu()
    {
        TForm1 form;
        fillEveryField(form);
        Answers answers;
        answers.saveName = path(u"nyomtatvány.tkd"_s);
        answers.pdfName = path(u"kész"_s); // the extension is added
        form.setFileDialogs(answers.dialogs());
        menuItem(form, "Ments1")->trigger();
        // The form has findings (partly typed identifiers): the PDF is written after them.
        tk::test::ModalScript script({goOnDespiteFindings});
        menuItem(form, "PDFbements1")->trigger();
        QCOMPARE(script.seen, QStringList{u"app::CheckWindow"_s});
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
        QCOMPARE(answers.asked, (QStringList{u"save bevallas.tkd"_s, u"pdf nyomtatvány.pdf"_s}));
        const QString pdf = path(u"kész.pdf"_s);
        const QString info = toolOutput(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(QRegularExpression(u"^Pages:\\s+2$"_s, QRegularExpression::MultilineOption)),
                 qPrintable(info));
        QVERIFY(info.contains(u"(A4)"_s));
        QVERIFY(info.contains(u"BEVALLÁS 2006 évi telekadó"_s));
        const QString text = toolOutput(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        for (const QString &want : {form.form().text(u"StyledEdit35"_s), form.form().text(u"CtlMaskEdit6"_s),
                                    form.form().text(u"NumEdit1"_s), form.form().caption(u"Label4"_s),
                                    u"első sor őű ŐŰ"_s})
            QVERIFY2(text.contains(want), qPrintable(want));
    }

    // The preview's "PDF" button writes the pages it shows, as the menu does.
    void pdfFromThePreview()
    {
        bool shown = false;
        TForm1 form;
        fillEveryField(form);
        Answers answers;
        answers.pdfName = path(u"előkép.pdf"_s);
        form.setFileDialogs(answers.dialogs());
        tk::test::ModalScript script({goOnDespiteFindings, goOnDespiteFindings, [&](QWidget *w) {
            auto *preview = qobject_cast<rep::TrepPreviewForm *>(w);
            QVERIFY(preview);
            auto *button = preview->findChild<QToolButton *>(u"PdfB"_s);
            QVERIFY(button);
            shown = button->isVisibleTo(preview);
            QCOMPARE(button->toolTip(), u"PDF"_s);
            QTest::mouseClick(button, Qt::LeftButton);
            preview->close();
        }});
        menuItem(form, "PDFbements1")->trigger();
        const QString fromMenu = toolOutput(u"pdftotext"_s, {u"-layout"_s, answers.pdfName, u"-"_s});
        QVERIFY(fromMenu.contains(form.form().caption(u"Label4"_s)));
        QVERIFY(QFile::remove(answers.pdfName));

        menuItem(form, "Nyomtats1")->trigger();
        QVERIFY(shown);
        QCOMPARE(script.seen,
                 (QStringList{u"app::CheckWindow"_s, u"app::CheckWindow"_s, u"rep::TrepPreviewForm"_s}));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
        QCOMPARE(answers.asked, (QStringList{u"pdf bevallas.pdf"_s, u"pdf bevallas.pdf"_s}));
        QCOMPARE(toolOutput(u"pdftotext"_s, {u"-layout"_s, answers.pdfName, u"-"_s}), fromMenu);
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestFileMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_filemenu.moc"
