// The report windows as a screen reader meets them: every control the keyboard reaches says
// what it is, in the words of the text table, and the message boxes read as alerts.

#include "report/preview/treppreviewform.h"
#include "report/preview/trepsearchdialog.h"
#include "report/print/printdialog.h"
#include "report/resources/resources.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"
#include "tests/report/preview/fakepagesource.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace rep;
using namespace Qt::StringLiterals;

namespace {

QString nameOf(QWidget *w)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Name) : QString();
}

// Tabs round the window from its focus widget and lists what each stop says: its object name
// and, for a stop without a name or with an accelerator marker in it, why it is wrong.
QStringList tabRound(QWidget *window, QStringList *wrong)
{
    QStringList stops;
    QWidget *start = QApplication::focusWidget();
    if (!start)
        return stops;
    for (int k = 0; k < 100; ++k) {
        QWidget *w = QApplication::focusWidget();
        const QString name = nameOf(w);
        stops << w->objectName();
        if (name.isEmpty())
            *wrong << w->objectName() + u" has no name"_s;
        if (name.contains(u'&'))
            *wrong << w->objectName() + u" is named \""_s + name + u'"';
        QTest::keyClick(w, Qt::Key_Tab);
        if (QApplication::focusWidget() == start || !window->isAncestorOf(QApplication::focusWidget()))
            break;
    }
    return stops;
}

void showAndWait(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TestDialogsAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { fillHungarianResources(); }

    void printDialog()
    {
        TrepPrintDialog dialog;
        dialog.setup(1, true, QString(), 1);
        showAndWait(&dialog);
        auto named = [&](const char *control) { return nameOf(dialog.findChild<QWidget *>(QLatin1StringView(control))); };
        // List boxes are named by their values here and labelled by their captions.
        auto labelOf = [&](const char *control) {
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(dialog.findChild<QWidget *>(QLatin1StringView(control)));
            const auto labels = i->relations(QAccessible::Label);
            return labels.isEmpty() ? QString() : labels.first().first->object()->objectName();
        };
        QCOMPARE(labelOf("PrintersCB"), u"Label12"_s);
        QCOMPARE(labelOf("PrintPagesCB"), u"PrintL"_s);
        QCOMPARE(named("PageNumbersE"), u"Oldalak"_s);
        QCOMPARE(named("CopiesE"), u"Másolatok száma"_s);
        QCOMPARE(named("UpDown1"), u"Másolatok száma +"_s);
        QCOMPARE(named("UpDown1Down"), u"Másolatok száma −"_s);
        QCOMPARE(named("CollateCB"), u"Gyűjt"_s);
        QCOMPARE(named("OkB"), u"OK"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog.findChild<QWidget *>(u"PageNumbersE"_s))
                     ->text(QAccessible::Description),
                 dialog.findChild<QLabel *>(u"DescrL"_s)->text());
        QStringList wrong;
        const QStringList stops = tabRound(&dialog, &wrong);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        for (const char *control : {"PrintersCB", "CopiesE", "OkB", "CancelB"})
            QVERIFY2(stops.contains(QLatin1StringView(control)), control);
    }

    void searchDialog()
    {
        TrepSearchDialog dialog({}, nullptr);
        showAndWait(&dialog);
        QStringList wrong;
        tabRound(&dialog, &wrong);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    void previewWindow()
    {
        FakePageSource source(QList<QStringList>(2, {QStringLiteral("sor")}));
        TrepPreviewForm form(nullptr);
        TrepPreviewOptions o;
        o.AllowEdit = false;
        o.Buttons = buttonBit(pbPrint) | buttonBit(pbZoom);
        o.Maximized = false;
        form.init(&source, o);
        form.resize(900, 700);
        showAndWait(&form);
        // Each button is named by its caption from the text table; the zoom box by its value, with
        // its hint as description.
        QStringList shown;
        for (QWidget *w : form.toolbarControls()) {
            if (!w->isVisible() || w->objectName().startsWith(u"Sep"_s) || w->objectName() == u"repTBPanel1"_s)
                continue;
            QWidget *control = w->objectName().endsWith(u"Panel"_s) ? w->findChild<QWidget *>() : w;
            shown << nameOf(control);
        }
        QCOMPARE(shown, (QStringList{u"Nyomtat"_s, u"Teljes oldal"_s, u"Oldalszélesség"_s, u"100%"_s, u"Két oldal"_s,
                                     u"100%"_s, u"Bezár"_s}));
        QCOMPARE(QAccessible::queryAccessibleInterface(form.zoomBox())->text(QAccessible::Description), u"Nagyít"_s);
        QCOMPARE(nameOf(form.zoomBox()->lineEdit()), u"Nagyít"_s);
        QCOMPARE(nameOf(form.findChild<QWidget *>(u"PageE"_s)), u"Oldalszám"_s);
        // The pages say where the reader stands, and say it again on each turn.
        QCOMPARE(nameOf(form.preview()), u"1. oldal 2 oldalból"_s);
        QTest::keyClick(form.preview(), Qt::Key_End);
        QCOMPARE(nameOf(form.preview()), u"2. oldal 2 oldalból"_s);
        QStringList wrong;
        const QStringList stops = tabRound(&form, &wrong);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QVERIFY(stops.size() >= 2);
    }

    void messageBoxReadsAsAnAlert()
    {
        rt::installMessageBoxHandler();
        QAccessible::Role role = QAccessible::NoRole;
        QString name, text, okName;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(box);
            role = i->role();
            name = i->text(QAccessible::Name);
            text = i->text(QAccessible::Value) + i->text(QAccessible::Description);
            okName = nameOf(box->button(QMessageBox::Ok));
            box->accept();
        });
        rt::showMessage({u"Hiba"_s, u"Nincs nyomtató telepítve"_s, rt::Message::Icon::Stop});
        rt::setMessageHandler({});
        QCOMPARE(role, QAccessible::AlertMessage);
        QCOMPARE(name, u"Hiba"_s);
        QVERIFY2(text.contains(u"Nincs nyomtató telepítve"_s), qPrintable(text));
        QCOMPARE(okName, u"OK"_s);
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestDialogsAccessible test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_dialogsaccessible.moc"
