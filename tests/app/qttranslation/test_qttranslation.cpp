#include "app/commands/filedialogs.h"
#include "app/window/form1.h"
#include "app/qttranslation.h"
#include "runtime/ui/application.h"
#include "tests/testhelpers.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

// Qt's English texts that a Hungarian window must not show, compared without the accelerator's "&".
const QStringList english{u"Look in:"_s, u"File name:"_s, u"Files of type:"_s, u"Save"_s,  u"Open"_s,
                          u"Cancel"_s,   u"Undo"_s,       u"Redo"_s,           u"Cut"_s,   u"Copy"_s,
                          u"Paste"_s,    u"Delete"_s,     u"Select All"_s,     u"Select all"_s,
                          u"Name"_s,     u"Size"_s,       u"Type"_s,           u"Date Modified"_s,
                          u"Folder"_s};

// A text as the user reads it: without the accelerator's marker and a shortcut after a tab.
QString shown(const QString &text)
{
    QString s = text.section(u'\t', 0, 0);
    s.remove(u'&');
    return s.trimmed();
}

QStringList englishAmong(const QStringList &texts)
{
    QStringList found;
    for (const QString &t : texts)
        if (english.contains(shown(t)))
            found << t;
    return found;
}

// Every text a dialog shows on its own widgets: captions, groups, buttons and their tooltips,
// lists' entries (each column of the shown folder's rows) and column headings.
QStringList textsOf(QWidget *dialog)
{
    QStringList texts{dialog->windowTitle()};
    for (QWidget *w : dialog->findChildren<QWidget *>()) {
        if (auto *l = qobject_cast<QLabel *>(w))
            texts << l->text();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            texts << b->text();
        if (auto *g = qobject_cast<QGroupBox *>(w))
            texts << g->title();
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                texts << c->itemText(i);
        if (auto *h = qobject_cast<QHeaderView *>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                texts << h->model()->headerData(i, h->orientation()).toString();
        if (auto *v = qobject_cast<QAbstractItemView *>(w); v && v->model()) {
            const QModelIndex root = v->rootIndex();
            for (int row = 0; row < v->model()->rowCount(root); ++row)
                for (int column = 0; column < v->model()->columnCount(root); ++column)
                    texts << v->model()->index(row, column, root).data().toString();
        }
        if (!w->toolTip().isEmpty())
            texts << w->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestQtTranslation : public QObject
{
    Q_OBJECT

    // Whatever the form would tell the user is noted, never shown in a box that waits.
    tk::test::MessageRecorder m_messages;

private Q_SLOTS:
    // Both runs speak as they were meant to: the environment's language reaches Qt, and the
    // program's texts must not depend on it. Then the translation, installed as at start-up:
    // without its file Qt stays English and the absence is logged once; with it Qt speaks
    // Hungarian.
    void initTestCase()
    {
        QByteArray language;
        for (const char *name : {"LC_ALL", "LC_NUMERIC", "LANG"})
            if (language.isEmpty())
                language = qgetenv(name);
        QCOMPARE(QLocale::system().language() == QLocale::Hungarian, language.startsWith("hu_HU"));
        qInfo("desktop language %s, system locale %s", language.constData(), qPrintable(QLocale::system().name()));

        QTemporaryDir empty;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no Qt translation .*qtbase_hu\\.qm"_s));
        QTest::failOnWarning(QRegularExpression(u"no Qt translation"_s)); // a second time
        QVERIFY(!app::installQtTranslation(empty.path()));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), u"Look in:"_s);

        QVERIFY(app::installQtTranslation());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), u"Keresés itt:"_s);
    }

    // The program's own open and save dialogs, Qt's widget dialogs, speak Hungarian throughout.
    void fileDialogs_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("accept");
        QTest::newRow("Megnyitás...") << u"open"_s << u"Megnyitás"_s;
        QTest::newRow("Mentés másként...") << u"save"_s << u"Mentés"_s;
        QTest::newRow("PDF-be mentés...") << u"pdf"_s << u"Mentés"_s;
    }
    void fileDialogs()
    {
        QFETCH(QString, which);
        QFETCH(QString, accept);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"régi"_s)); // a folder in the list, with its type
        QStringList texts;
        bool widgets = false;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            // The folder's entries are read in the background.
            auto *list = dialog->findChild<QTreeView *>();
            if (list && list->model()->rowCount(list->rootIndex()) == 0 && ++ticks < 500)
                return;
            timer.stop();
            widgets = !dialog->findChildren<QLabel *>().isEmpty(); // a native dialog has none
            texts = textsOf(dialog);
            dialog->reject();
        });
        timer.start();
        const app::FileDialogs dialogs = app::standardFileDialogs();
        const QString suggested = dir.filePath(u"bevallas"_s);
        if (which == u"open")
            dialogs.openDraftName(nullptr, dir.path());
        else if (which == u"save")
            dialogs.saveDraftName(nullptr, suggested + app::draftSuffix);
        else
            dialogs.savePdfName(nullptr, suggested + app::pdfSuffix);

        QVERIFY2(widgets, "no dialog of Qt's widgets came up");
        QVERIFY2(englishAmong(texts).isEmpty(), qPrintable(englishAmong(texts).join(u" | "_s)));
        QStringList read;
        for (const QString &t : texts)
            read << shown(t);
        for (const QString &want :
             {u"Keresés itt:"_s, u"Fájl neve:"_s, u"Fájlok típusa:"_s, accept, u"Mégse"_s, u"régi"_s, u"Mappa"_s})
            QVERIFY2(read.contains(want), qPrintable(want + u" is not among "_s + read.join(u" | "_s)));
    }

    // The print dialog's "Tulajdonságok..." opens Qt's page setup, which the same translation covers.
    void printProperties()
    {
        // The default printer, as the print dialog opens it first; a PDF printer where there is none.
        QPrinter printer(QPrinter::HighResolution);
        QPageSetupDialog dialog(&printer);
        dialog.show();
        const QStringList texts = textsOf(&dialog);
        dialog.reject();
        const QStringList pageSetup{u"Page Setup"_s, u"Paper"_s,     u"Page size:"_s, u"Orientation"_s,
                                    u"Portrait"_s,   u"Landscape"_s, u"Margins"_s,    u"Cancel"_s};
        for (const QString &t : texts)
            QVERIFY2(!pageSetup.contains(shown(t)), qPrintable(t));
        QCOMPARE(dialog.windowTitle(), u"Oldalbeállítás"_s);
        QVERIFY2(texts.contains(u"Tájolás"_s), qPrintable(texts.join(u" | "_s)));
    }

    // The context menu of each kind of text field of the form, as the menu key opens it.
    void contextMenus_data()
    {
        QTest::addColumn<QString>("component");
        QTest::newRow("text field") << u"StyledEdit35"_s;
        QTest::newRow("masked field") << u"CtlMaskEdit6"_s;
        QTest::newRow("numeric field") << u"NumEdit1"_s;
        QTest::newRow("remarks") << u"RichEdit1"_s;
    }
    void contextMenus()
    {
        QFETCH(QString, component);
        app::TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QWidget *field = form.control(component);
        QVERIFY(field);
        field->setFocus();
        QWidget *target = field->focusProxy() ? field->focusProxy() : field;
        if (auto *scroll = qobject_cast<QAbstractScrollArea *>(target))
            target = scroll->viewport();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(target, &event);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QStringList texts;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                texts << a->text();
        menu->close();
        QVERIFY2(englishAmong(texts).isEmpty(), qPrintable(englishAmong(texts).join(u" | "_s)));
        QVERIFY2(texts.size() >= 6, qPrintable(texts.join(u" | "_s)));
        QStringList read;
        for (const QString &t : texts)
            read << shown(t);
        QVERIFY2(read.contains(u"Másolás"_s), qPrintable(read.join(u" | "_s)));
    }

    // The command line's own texts, where no display exists: help and usage errors.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("detail");
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << u"--pdf <KIMENET>"_s;
        QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << 2 << u"ismeretlen kapcsoló: bogus"_s;
        QTest::newRow("missing value") << QStringList{u"--pdf"_s} << 2 << u"Hiányzó érték"_s;
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, detail);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TK_PROGRAM), arguments);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const QString text = exitCode == 0 ? out : err;
        QVERIFY2((exitCode == 0 ? err : out).isEmpty(), qPrintable(out + err));
        QVERIFY2(text.contains(detail), qPrintable(text));
        if (exitCode == 0)
            QVERIFY2(text.startsWith(u"Használat: telekado "_s), qPrintable(text));
        else
            QVERIFY2(text.contains(u"\nHasználat: telekado "_s), qPrintable(text));
        for (const QString &word : {u"Usage:"_s, u"Options:"_s, u"Arguments:"_s, u"[options]"_s, u"Missing value"_s})
            QVERIFY2(!text.contains(word), qPrintable(word + u" in:\n"_s + text));
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestQtTranslation test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_qttranslation.moc"
