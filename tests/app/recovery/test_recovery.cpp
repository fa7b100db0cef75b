#include "app/commands/filedialogs.h"
#include "app/window/form1.h"
#include "app/commands/recoverycopy.h"
#include "app/commands/recoverykeeper.h"
#include "app/window/recoverystart.h"
#include "declaration/catalogue.h"
#include "declaration/draftfile.h"
#include "declaration/formaccess.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/ui/application.h"
#include "tests/testhelpers.h"

#include <QDir>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStatusBar>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

using app::RecoveryStore;
using app::RestoreAnswer;
using app::TForm1;
using namespace Qt::StringLiterals;

namespace {

const QString caption = u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal"_s;

// The questions the form asks, answered from the test.
struct Answers
{
    RestoreAnswer restore = RestoreAnswer::Restore;
    QMessageBox::StandardButton saveChanges = QMessageBox::Cancel;
    QString saveName;
    QStringList asked;

    app::FileDialogs dialogs()
    {
        app::FileDialogs d = app::standardFileDialogs();
        d.saveDraftName = [this](QWidget *, const QString &) {
            asked << u"save"_s;
            return saveName;
        };
        d.askSaveChanges = [this](QWidget *) {
            asked << u"question"_s;
            return saveChanges;
        };
        d.askRestore = [this](QWidget *, const QDateTime &changed, const QString &file) {
            asked << u"restore %1 %2"_s.arg(QFileInfo(file).fileName()).arg(changed.isValid());
            return restore;
        };
        return d;
    }
};

void typeInto(TForm1 &form, const QString &component, const QString &text)
{
    QWidget *w = form.control(component);
    w->setFocus(Qt::TabFocusReason);
    tk::test::typeText(w, text);
}

QStringList copiesIn(const QString &folder)
{
    return QDir(folder).entryList({u"*.tkr"_s}, QDir::Files);
}

// A form of someone's: a name, an area with a number typed half-way, a choice.
decl::Draft someWork()
{
    decl::MapForm form;
    form.setText(u"StyledEdit35"_s, u"Kovács Őrs"_s);
    form.setText(u"NumEdit1"_s, u"1500"_s);
    form.setText(u"NumEdit2"_s, u"300"_s);
    form.setItemIndex(u"CtlRadioGroup1"_s, 1);
    return decl::draftOf(form);
}

// A copy as a program that has ended leaves it: no lock of a living owner beside it.
QString leaveCopy(const QString &folder, const app::RecoveryContent &content, const QString &name = u"111-x"_s)
{
    QDir().mkpath(folder);
    const QString path = folder + u'/' + name + u".tkr"_s;
    QString reason;
    if (!app::writeDurably(path, app::recoveryBytes(content), &reason))
        qWarning("%s", qPrintable(reason));
    return path;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        tk::test::useSeparators(u',');
        rep::fillHungarianResources();
        rep::installPageDrawer();
    }

    void init() { m_messages.clear(); }

    // The copy holds what the form holds and the file's path, reads back as it was written,
    // and is bounded by the fields: a form at full length stays under the reader's limit.
    void copyRoundTrip()
    {
        decl::Draft work = someWork();
        work.texts[u"NumEdit3"_s] = u"-"_s; // a number typed half-way
        const app::RecoveryContent content{work, u"/home/ő/kovács.tkd"_s,
                                           QDateTime(QDate(2026, 12, 11), QTime(10, 58, 1), Qt::UTC)};
        QString error;
        const std::optional<app::RecoveryContent> read = app::readRecovery(app::recoveryBytes(content), u"x"_s, &error);
        QVERIFY2(read, qPrintable(error));
        QCOMPARE(read->draft.texts, content.draft.texts);
        QCOMPARE(read->draft.choices, content.draft.choices);
        QCOMPARE(read->filePath, content.filePath);
        QCOMPARE(read->changed, content.changed);
        QCOMPARE(read->draft.texts.value(u"NumEdit3"_s), u"-"_s); // as typed

        // Every free text at its longest, in the widest characters a field may hold (control
        // characters, which JSON writes in six bytes, are no text of a field): three bytes each.
        decl::Draft full = content.draft;
        qsizetype texts = 0;
        for (const decl::Field &f : decl::fields())
            if (f.kind == decl::FieldKind::TextEdit || f.kind == decl::FieldKind::RichEdit) {
                full.texts[f.component] = QString(decl::maxDraftFieldLength, QChar(0x20AC));
                ++texts;
            }
        const QByteArray bytes = app::recoveryBytes({full, QString(4096, QChar(0x20AC)), content.changed});
        QVERIFY(bytes.size() > texts * decl::maxDraftFieldLength * 3);
        QVERIFY2(app::readRecovery(bytes, u"x"_s, &error), qPrintable(error));
    }

    // Typing makes a copy within the interval; saving removes it; further typing makes a new
    // one, which "Nem" on ending removes and "Mégsem" keeps.
    void copyFollowsTheDocument()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"recovery"_s);
        RecoveryStore store(folder);
        QString reason;
        QVERIFY2(store.open(&reason), qPrintable(reason));
        TForm1 form;
        Answers answers;
        answers.saveName = dir.filePath(u"k.tkd"_s);
        form.setFileDialogs(answers.dialogs());
        form.keepRecoveryCopies(store);
        form.recovery()->setInterval(50);

        typeInto(form, u"StyledEdit35"_s, u"Őrs"_s);
        QVERIFY(!QFileInfo::exists(store.copyPath())); // not at every key
        QTRY_VERIFY(QFileInfo::exists(store.copyPath()));
        store.flush();
        std::optional<app::RecoveryContent> copy = app::loadRecovery(store.copyPath(), &reason);
        QVERIFY2(copy, qPrintable(reason));
        QCOMPARE(copy->draft, decl::draftOf(form.form()));
        QVERIFY(copy->filePath.isEmpty());
        QVERIFY(qAbs(copy->changed.secsTo(QDateTime::currentDateTimeUtc())) < 60);

        form.findChild<QAction *>(u"Ments1"_s)->trigger();
        store.flush();
        QVERIFY(!QFileInfo::exists(store.copyPath()));

        typeInto(form, u"StyledEdit35"_s, u"x"_s);
        QTRY_VERIFY(QFileInfo::exists(store.copyPath()));
        store.flush();
        copy = app::loadRecovery(store.copyPath(), &reason);
        QVERIFY2(copy, qPrintable(reason));
        QCOMPARE(copy->filePath, answers.saveName);

        answers.saveChanges = QMessageBox::Cancel;
        form.findChild<QAction *>(u"Kilps1"_s)->trigger();
        store.flush();
        QVERIFY(QFileInfo::exists(store.copyPath()));
        answers.saveChanges = QMessageBox::No;
        form.findChild<QAction *>(u"Kilps1"_s)->trigger();
        QVERIFY(!QFileInfo::exists(store.copyPath()));
        QCOMPARE(copiesIn(folder), QStringList());
        QVERIFY(m_messages.isEmpty());
    }

    // A living program's copy is never offered; an ended one's is, and only once it is
    // brought back does it become the new program's own copy.
    void livingOwnersKeepTheirCopies()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"recovery"_s);
        QString reason;
        RecoveryStore living(folder);
        QVERIFY(living.open(&reason));
        living.write(app::recoveryBytes({someWork(), QString(), QDateTime::currentDateTimeUtc()}));
        QVERIFY(living.flush());
        const QString dead = leaveCopy(folder, {someWork(), QString(), QDateTime::currentDateTimeUtc()});

        // An ended program's lock without a copy, and a copy it did not finish.
        QVERIFY(tk::test::writeFile(folder + u"/333-z.lock"_s,
                                    "2147480000\ntelekado\n" + QSysInfo::machineHostName().toUtf8() + '\n'));
        QVERIFY(tk::test::writeFile(folder + u"/444-w.tkr.part"_s, "{\"format"));

        RecoveryStore second(folder);
        QVERIFY(second.open(&reason));
        const std::vector<RecoveryStore::Orphan> orphans = second.orphans();
        QVERIFY(!QFileInfo::exists(folder + u"/333-z.lock"_s));
        QVERIFY(!QFileInfo::exists(folder + u"/444-w.tkr.part"_s));
        QCOMPARE(orphans.size(), size_t(1));
        QCOMPARE(orphans[0].path, dead);
        // While the second program holds it, a third does not see it either.
        RecoveryStore third(folder);
        QVERIFY(third.open(&reason));
        QCOMPARE(third.orphans().size(), size_t(0));
        second.adopt(orphans[0]);
        QCOMPARE(second.copyPath(), dead);
        QCOMPARE(third.orphans().size(), size_t(0));
        QVERIFY(QFileInfo::exists(living.copyPath()));
    }

    // The question at start, for each answer and each way of starting: untitled, or with the
    // copy's own file, or with another file.
    void offeredAtStart_data()
    {
        QTest::addColumn<bool>("copyHasFile");
        QTest::addColumn<QString>("openFile"); // "", "same", "other"
        QTest::addColumn<RestoreAnswer>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name"); // StyledEdit35 afterwards
        QTest::addColumn<int>("copiesLeft");

        const QString typed = u"Kovács Őrs"_s;
        QTest::newRow("untitled, Visszaállítás") << false << QString() << RestoreAnswer::Restore
                                                 << QStringList{u"restore  1"_s} << caption + u'*' << typed << 1;
        QTest::newRow("untitled, Elvetés") << false << QString() << RestoreAnswer::Discard
                                           << QStringList{u"restore  1"_s} << caption << QString() << 0;
        QTest::newRow("untitled, Esc") << false << QString() << RestoreAnswer::Later
                                       << QStringList{u"restore  1"_s} << caption << QString() << 1;
        QTest::newRow("file, Visszaállítás") << true << QString() << RestoreAnswer::Restore
                                             << QStringList{u"restore d.tkd 1"_s} << caption + u" - d.tkd*"_s << typed
                                             << 1;
        QTest::newRow("started with its file, Visszaállítás")
            << true << u"same"_s << RestoreAnswer::Restore << QStringList{u"restore d.tkd 1"_s}
            << caption + u" - d.tkd*"_s << typed << 1;
        QTest::newRow("started with its file, Elvetés")
            << true << u"same"_s << RestoreAnswer::Discard << QStringList{u"restore d.tkd 1"_s}
            << caption + u" - d.tkd"_s << u"régi"_s << 0;
        QTest::newRow("started with another file") << true << u"other"_s << RestoreAnswer::Restore << QStringList()
                                                   << caption + u" - e.tkd"_s << u"másik"_s << 1;
        QTest::newRow("untitled copy, started with a file") << false << u"other"_s << RestoreAnswer::Restore
                                                            << QStringList() << caption + u" - e.tkd"_s << u"másik"_s
                                                            << 1;
    }
    void offeredAtStart()
    {
        QFETCH(bool, copyHasFile);
        QFETCH(QString, openFile);
        QFETCH(RestoreAnswer, answer);
        QFETCH(QStringList, asked);
        QFETCH(QString, title);
        QFETCH(QString, name);
        QFETCH(int, copiesLeft);

        QTemporaryDir dir;
        const QString folder = dir.filePath(u"recovery"_s);
        const QString d = dir.filePath(u"d.tkd"_s);
        const QString e = dir.filePath(u"e.tkd"_s);
        for (const auto &[path, text] : {std::pair{d, u"régi"_s}, std::pair{e, u"másik"_s}}) {
            decl::MapForm old;
            old.setText(u"StyledEdit35"_s, text);
            QVERIFY(decl::saveDraft(path, decl::draftOf(old)));
        }
        leaveCopy(folder, {someWork(), copyHasFile ? d : QString(), QDateTime::currentDateTimeUtc()});

        RecoveryStore store(folder);
        QString reason;
        QVERIFY(store.open(&reason));
        TForm1 form;
        Answers answers;
        answers.restore = answer;
        form.setFileDialogs(answers.dialogs());
        form.keepRecoveryCopies(store);
        app::offerRecoveredWork(form, store, openFile.isEmpty() ? QString() : openFile == u"same" ? d : e);

        QCOMPARE(answers.asked, asked);
        QCOMPARE(form.windowTitle(), title);
        QCOMPARE(form.form().text(u"StyledEdit35"_s), name);
        if (name == u"Kovács Őrs") {
            // Every value and the computed tax as typed; a half-typed number as it stood.
            const decl::Draft work = someWork();
            for (auto it = work.texts.cbegin(); it != work.texts.cend(); ++it)
                QCOMPARE(form.form().text(it.key()), it.value());
            QCOMPARE(form.form().itemIndex(u"CtlRadioGroup1"_s), 1);
            const QString tax = form.form().caption(decl::computedLabels().back().component);
            QVERIFY2(tax.endsWith(u" Ft."_s) && tax != u"0 Ft."_s, qPrintable(tax));
        }
        store.flush();
        QCOMPARE(copiesIn(folder).size(), copiesLeft);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.texts().join(u'\n')));
    }

    // A damaged copy is named, set aside under another name and the form starts untouched.
    void damagedCopySetAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut short") << app::recoveryBytes({someWork(), QString(), QDateTime::currentDateTimeUtc()})
                                          .left(200)
                                   << u"nem érvényes JSON"_s;
        QTest::newRow("empty") << QByteArray() << u"nem érvényes JSON"_s;
        QTest::newRow("another format") << QByteArray(R"({"format": "telekado-bevallas", "version": 1})")
                                        << u"formátumjelölése"_s;
        QTest::newRow("unknown field")
            << QByteArray(R"({"format": "telekado-helyreallitas", "version": 1, "file": "", )"
                          R"("changed": "2026-12-11T10:00:00Z", "declaration": {"format": "telekado-bevallas", )"
                          R"("version": 1, "fields": {"m99": "x"}}})")
            << u"m99"_s;
    }
    void damagedCopySetAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"recovery"_s);
        QDir().mkpath(folder);
        const QString copy = folder + u"/222-y.tkr"_s;
        QVERIFY(tk::test::writeFile(copy, bytes));
        RecoveryStore store(folder);
        QString problem;
        QVERIFY(store.open(&problem));
        TForm1 form;
        Answers answers;
        form.setFileDialogs(answers.dialogs());
        app::offerRecoveredWork(form, store, QString());

        QCOMPARE(answers.asked, QStringList());
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].text.contains(copy), qPrintable(m_messages[0].text));
        QVERIFY2(m_messages[0].text.contains(reason), qPrintable(m_messages[0].text));
        QVERIFY(!QFileInfo::exists(copy));
        const QStringList aside = QDir(folder).entryList({u"222-y.tkr.serult-*"_s}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QVERIFY(m_messages[0].text.contains(aside[0]));
        QCOMPARE(tk::test::readFile(folder + u'/' + aside[0]), bytes);
        QCOMPARE(form.windowTitle(), caption);
        // Set aside for good: the next start asks nothing.
        RecoveryStore next(folder);
        QVERIFY(next.open(&problem));
        QCOMPARE(next.orphans().size(), size_t(0));
    }

    // A folder that cannot hold copies: the program goes on without them and says why.
    void unusableFolder_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a file where the folder should be") << u"file"_s << u"fájl van, nem mappa"_s;
        QTest::newRow("a file where a parent should be") << u"parent"_s << u"nem hozható létre"_s;
        QTest::newRow("read-only folder") << u"readonly"_s << u"nem lehet írni"_s;
    }
    void unusableFolder()
    {
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString folder = dir.filePath(u"recovery"_s);
        if (setup == u"file") {
            QVERIFY(tk::test::writeFile(folder, "x"));
        } else if (setup == u"parent") {
            QVERIFY(tk::test::writeFile(folder, "x"));
            folder += u"/inner"_s;
        } else {
            if (::geteuid() == 0)
                QSKIP("root writes into read-only folders");
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        RecoveryStore store(folder);
        QString problem;
        QVERIFY(!store.open(&problem));
        QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY(problem.contains(QDir::toNativeSeparators(folder)));
        store.write("x"); // never written, never fails
        QVERIFY(store.flush());
    }

    // A signal or a session ending without interaction writes the copy at once and ends with
    // exit code 0; with interaction it asks as "Kilépés" does, "Mégsem" staying.
    void endingKeepsWork_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("copyKept");
        QTest::newRow("signal") << u"signal"_s << QMessageBox::Cancel << true << true;
        QTest::newRow("session, no interaction") << u"session"_s << QMessageBox::Cancel << true << true;
        QTest::newRow("session, Nem") << u"asking"_s << QMessageBox::No << true << false;
        QTest::newRow("session, Mégsem") << u"asking"_s << QMessageBox::Cancel << false << true;
    }
    void endingKeepsWork()
    {
        QFETCH(QString, how);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, ends);
        QFETCH(bool, copyKept);
        QTemporaryDir dir;
        RecoveryStore store(dir.filePath(u"recovery"_s));
        QString problem;
        QVERIFY(store.open(&problem));
        TForm1 form;
        Answers answers;
        answers.saveChanges = answer;
        form.setFileDialogs(answers.dialogs());
        form.keepRecoveryCopies(store);
        typeInto(form, u"StyledEdit35"_s, u"Őrs"_s); // no time for the timer

        int code = -1;
        QTimer::singleShot(0, &form, [&] {
            if (how == u"signal")
                form.endKeepingWork();
            else
                QCOMPARE(form.endSession(how == u"asking"), ends);
            QTimer::singleShot(200, &form, [] { QCoreApplication::exit(-1); });
        });
        code = QCoreApplication::exec();
        QCOMPARE(code, ends ? 0 : -1);
        QCOMPARE(answers.asked, how == u"asking" ? QStringList{u"question"_s} : QStringList());
        if (how == u"asking" && !ends)
            return; // the copy is the timer's business, as while typing
        QCOMPARE(QFileInfo::exists(store.copyPath()), copyKept);
        if (copyKept)
            QCOMPARE(app::loadRecovery(store.copyPath(), &problem)->draft.texts.value(u"StyledEdit35"_s), u"Őrs"_s);
    }

    // A full disk: typing goes on in the same field, the user is told once without losing the
    // focus, and the old copy stays whole; once there is room again the copy catches up.
    void fullDisk()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"kicsi"_s);
        QVERIFY(QDir().mkpath(folder));
        if (::geteuid() != 0 || QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s,
                                                                 u"tmpfs"_s, folder}) != 0)
            QSKIP("mounting a small tmpfs needs root");
        const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {folder}); });
        RecoveryStore store(folder);
        QString problem;
        QVERIFY(store.open(&problem));
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.keepRecoveryCopies(store);
        form.recovery()->setInterval(20);
        QStringList notices;
        QObject::connect(form.statusBar(), &QStatusBar::messageChanged, [&](const QString &m) { notices << m; });

        typeInto(form, u"StyledEdit35"_s, u"Kovács"_s);
        QTRY_VERIFY(QFileInfo::exists(store.copyPath()));
        store.flush();
        const QByteArray before = tk::test::readFile(store.copyPath());
        QVERIFY(!before.isEmpty());
        {
            QFile filler(folder + u"/töltelék"_s);
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        QWidget *field = form.control(u"StyledEdit35"_s);
        for (const QChar c : u" Őrs Tűzkő"_s) {
            tk::test::typeText(field, QString(c));
            QTest::qWait(30);
        }
        QTRY_COMPARE(notices.size(), 1);
        QVERIFY2(notices[0].contains(u"nem írható"_s), qPrintable(notices[0]));
        QCOMPARE(QApplication::focusWidget(), field);
        QCOMPARE(form.form().text(u"StyledEdit35"_s), u"Kovács Őrs Tűzkő"_s);
        QCOMPARE(tk::test::readFile(store.copyPath()), before);
        QVERIFY(QDir(folder).entryList({u"*.part"_s}, QDir::Files).isEmpty());

        QVERIFY(QFile::remove(folder + u"/töltelék"_s));
        tk::test::typeText(field, u"!"_s);
        QTRY_COMPARE(notices.size(), 2);
        QCOMPARE(notices[1], QString());
        store.flush();
        QCOMPARE(app::loadRecovery(store.copyPath(), &problem)->draft.texts.value(u"StyledEdit35"_s),
                 u"Kovács Őrs Tűzkő!"_s);
        QVERIFY(m_messages.isEmpty());
    }

    // A copy is never seen half-written: a writer killed at random moments, 200 times, leaves
    // the previous whole copy or the new whole one, and nothing else under the copy's name.
    void killedWhileWriting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"copy.tkr"_s);
        std::vector<QByteArray> versions;
        for (int i = 0; i < 8; ++i) {
            decl::Draft d = someWork();
            d.texts[u"RichEdit1"_s] = QString(200'000 + i * 5000, QChar(u'a' + i));
            versions.push_back(app::recoveryBytes({d, QString(), QDateTime::currentDateTimeUtc()}));
        }
        QString reason;
        QVERIFY(app::writeDurably(path, versions[0], &reason));
        std::mt19937 random(22);
        for (int round = 0; round < 200; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (size_t i = 0;; ++i) {
                    QString r;
                    app::writeDurably(path, versions[i % versions.size()], &r);
                }
            }
            ::usleep(useconds_t(random() % 20000));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray found = tk::test::readFile(path);
            QVERIFY2(std::find(versions.begin(), versions.end(), found) != versions.end(),
                     qPrintable(u"round %1: %2 bytes"_s.arg(round).arg(found.size())));
        }
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
