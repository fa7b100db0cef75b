#include "app/window/form1.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/print/printdialog.h"
#include "report/print/printers.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "tests/app/modalscript.h"
#include "tests/printertest.h"
#include "tests/testhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

using app::TForm1;
using tk::test::ModalScript;

namespace {

// Every warning, critical or fatal message that Qt or the program logs, in any category.
QStringList &loggedWarnings()
{
    static QStringList warnings;
    return warnings;
}

QtMessageHandler previousHandler = nullptr;

// The test platform's own complaint about a request that only a real display can answer.
bool offscreenPlatformNote(const QString &message)
{
    return QGuiApplication::platformName() == u"offscreen"_s
           && message == u"This plugin does not support propagateSizeHints()"_s;
}

void failOnWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && !offscreenPlatformNote(message))
        loggedWarnings() << QString::fromLatin1(context.category ? context.category : "") + u": "_s + message;
    if (previousHandler)
        previousHandler(type, context, message);
}

void setField(TForm1 &form, const QString &component, const QString &text)
{
    QWidget *w = form.control(component);
    if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w))
        m->setText(text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(w))
        g->setItemIndex(text.toInt());
    else
        QFAIL(qPrintable(component));
}

} // namespace

// The log stays clean through a whole preview and print: any warning fails the test. On the way,
// the preview and the print dialog are each owned by the window that opened them.
class TestQuietLog : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;

private Q_SLOTS:
    void initTestCase()
    {
        previousHandler = qInstallMessageHandler(failOnWarnings);
        tk::test::useSeparators(QLatin1Char(','));
        rep::fillHungarianResources();
        rep::installPageDrawer();
    }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void previewAndPrintLogNothing()
    {
        TK_REQUIRE_PRINTER();
        TForm1 form;
        setField(form, u"StyledEdit35"_s, u"Kovács Őrs"_s);
        setField(form, u"CtlMaskEdit6"_s, u"15789934-2-51"_s);
        setField(form, u"CtlMaskEdit8"_s, u"8365670003"_s);
        setField(form, u"CtlRadioGroup5"_s, u"0"_s);
        setField(form, u"CtlRadioGroup6"_s, u"4"_s);
        setField(form, u"NumEdit1"_s, u"1500"_s);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QTemporaryDir dir;
        const QString prn = dir.filePath(u"bevallas.prn"_s);
        QPointer<rep::TrepPreviewForm> preview;
        ModalScript script({
            [&](QWidget *w) {
                preview = qobject_cast<rep::TrepPreviewForm *>(w);
                QVERIFY(preview);
                // Each window belongs to the one that opened it, active or not.
                QCOMPARE(preview->parentWidget(), &form);
                // Page 2, zoomed in and out by every means, then Ctrl+P; posted, since the print
                // dialog opens a loop of its own.
                QTimer::singleShot(0, preview, [&] {
                    rep::TrepPreview *pages = preview->preview();
                    QTest::keyClick(pages, Qt::Key_End);
                    QLineEdit *zoom = preview->zoomBox()->lineEdit();
                    for (const QString &typed : {u"200"_s, u"50 %"_s, u"abc"_s, u"100"_s}) {
                        zoom->setFocus();
                        zoom->setText(typed);
                        QTest::keyClick(zoom, Qt::Key_Return);
                        pages->workspace()->viewport()->repaint();
                    }
                    for (const char *button : {"ZoomWholePageB", "ZoomPageWidthB", "Zoom50B", "Zoom100B"}) {
                        QTest::mouseClick(preview->findChild<QToolButton *>(QLatin1StringView(button)), Qt::LeftButton);
                        pages->workspace()->viewport()->repaint();
                    }
                    QTest::keyClick(pages, Qt::Key_P, Qt::ControlModifier);
                });
            },
            [&](QWidget *w) {
                auto *dialog = qobject_cast<rep::TrepPrintDialog *>(w);
                QVERIFY(dialog);
                QVERIFY(dialog->parentWidget());
                QCOMPARE(dialog->parentWidget()->window(), preview.data());
                dialog->findChild<QCheckBox *>(u"FileCB"_s)->setChecked(true);
                dialog->askPrintFileName = [&] { return prn; };
                dialog->accept();
            },
            [&](QWidget *w) {
                // The preview again, while it prints: closed once the job is over.
                QCOMPARE(w, preview.data());
                auto *poll = new QTimer(w);
                connect(poll, &QTimer::timeout, w, [w, poll, p = preview] {
                    if (p && !p->preview()->busy()) {
                        poll->stop();
                        w->close();
                    }
                });
                poll->start(10);
            },
        });
        form.Nyomtats1Click();
        rep::TrepPrinters::instance().current()->outputFileName.clear();
        // The message box of "abc" is the only message.
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(script.seen, (QStringList{u"rep::TrepPreviewForm"_s, u"rep::TrepPrintDialog"_s, u"rep::TrepPreviewForm"_s}));
        QVERIFY(QFileInfo(prn).size() > 1000);
        QCoreApplication::processEvents();
        QVERIFY2(loggedWarnings().isEmpty(), qPrintable(loggedWarnings().join(u'\n')));
    }
};

TK_PRINTER_TEST_MAIN(TestQuietLog)
#include "test_quietlog.moc"
