#include "app/commands/checkwindow.h"
#include "app/window/fieldwarnings.h"
#include "app/window/form1.h"
#include "controls/common/ui/warninglook.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "declaration/checks.h"
#include "declaration/draftfile.h"
#include "report/preview/treppreviewform.h"
#include "report/render/pagedrawer.h"
#include "report/resources/resources.h"
#include "runtime/ui/application.h"
#include "tests/app/modalscript.h"
#include "tests/testhelpers.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

using app::CheckWindow;
using app::TForm1;
using tk::test::ModalScript;

namespace {

// Puts a text into any field of the window, or a choice into a group ("-1" for none).
void setField(TForm1 &form, const QString &component, const QString &text)
{
    QWidget *w = form.control(component);
    if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w))
        m->setText(text);
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(text);
    else if (auto *r = qobject_cast<QPlainTextEdit *>(w))
        r->setPlainText(text);
    else if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(w))
        g->setItemIndex(text.toInt());
    else
        QFAIL(qPrintable(component));
}

// The taxpayer of the end-to-end test: nothing to find.
void fillValidTaxpayer(TForm1 &form)
{
    setField(form, u"StyledEdit35"_s, u"Kovács Őrs"_s);
    setField(form, u"CtlMaskEdit6"_s, u"15789934-2-51"_s);
    setField(form, u"CtlMaskEdit8"_s, u"8365670003"_s);
    setField(form, u"CtlRadioGroup5"_s, u"0"_s);
    setField(form, u"CtlRadioGroup6"_s, u"4"_s);
}

QStringList componentsOf(const QList<decl::Finding> &findings)
{
    QStringList list;
    for (const decl::Finding &f : findings)
        list << f.component;
    return list;
}

// Every field's text and every group's choice: what the checks must leave alone.
decl::Draft snapshot(TForm1 &form)
{
    return decl::draftOf(form.form());
}

// A step that notes what the check window lists, then does `then` to it.
ModalScript::Step onCheckWindow(QList<decl::Finding> *listed, std::function<void(CheckWindow &)> then)
{
    return [listed, then](QWidget *w) {
        auto *window = qobject_cast<CheckWindow *>(w);
        QVERIFY(window);
        if (listed)
            *listed = window->findings();
        then(*window);
    };
}

bool isInView(TForm1 &form, QWidget *w)
{
    auto *scroll = form.findChild<QScrollArea *>();
    const QRect inViewport(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
    return scroll->viewport()->rect().contains(inViewport);
}

} // namespace

class TestPrintChecks : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;

    void showForm(TForm1 &form)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }

    void leave(TForm1 &form, const QString &component)
    {
        QWidget *w = form.control(component);
        w->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), w);
        QTest::keyClick(w, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != w);
    }

private Q_SLOTS:
    void initTestCase()
    {
        tk::test::useSeparators(QLatin1Char(','));
        rep::fillHungarianResources();
        rep::installPageDrawer();
    }

    void init()
    {
        QCoreApplication::processEvents();
        m_messages.clear();
    }

    // The window lists the findings in form order, one row each: field, section, message; a
    // screen reader hears the whole finding on every cell.
    void windowRows()
    {
        decl::MapForm form;
        form.setText(u"CtlMaskEdit10"_s, u"8365670004"_s);
        form.setText(u"StyledEdit2"_s, u"2010"_s);
        const QList<decl::Finding> findings = decl::checkForm(form);
        CheckWindow window(findings);
        QCOMPARE(window.windowTitle(), u"Ellenőrzés"_s);
        QTableWidget *table = window.table();
        QCOMPARE(table->rowCount(), findings.size());
        QCOMPARE(componentsOf(window.findings()),
                 (QStringList{u"StyledEdit35"_s, u"CtlRadioGroup5"_s, u"CtlRadioGroup6"_s, u"StyledEdit23"_s,
                              u"CtlMaskEdit10"_s, u"StyledEdit2"_s}));
        QCOMPARE(table->item(4, 0)->text(), u"adóazonositó jele (3. tulajdonostárs)"_s);
        QCOMPARE(table->item(0, 0)->text(), u"neve (adózó)"_s);
        QCOMPARE(table->item(1, 0)->text(), u"Az adó alanya"_s);
        QCOMPARE(table->item(4, 1)->text(), u"I. AZ ADÓ ALANYA"_s);
        QCOMPARE(table->item(4, 2)->text(), findings[4].message);
        QCOMPARE(table->item(5, 1)->text(), u"II. A BELTERÜLETI FÖLDRÉSZLET (TELEK)"_s);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(table->item(4, column)->data(Qt::AccessibleDescriptionRole).toString(),
                     u"adóazonositó jele (3. tulajdonostárs), I. AZ ADÓ ALANYA: "_s + findings[4].message);
        QVERIFY(!table->accessibleName().isEmpty());
        QCOMPARE(window.currentRow(), 0);
        QCOMPARE(window.text().count(u'\n'), findings.size());
        QVERIFY(window.text().startsWith(u"neve (adózó)\tI. AZ ADÓ ALANYA\tAdja meg az adózó nevét.\n"_s));
    }

    // Sized to its texts: every row whole, the messages wrapped rather than running off the
    // screen, no horizontal scrolling; a list too long for the screen scrolls vertically.
    void windowSizedToTexts_data()
    {
        QTest::addColumn<bool>("everyField");
        QTest::newRow("a few findings") << false;
        QTest::newRow("every field wrong") << true;
    }
    void windowSizedToTexts()
    {
        QFETCH(bool, everyField);
        decl::MapForm form;
        form.setText(u"CtlMaskEdit6"_s, u"1578****-*-**"_s);
        form.setText(u"StyledEdit2"_s, u"2010"_s);
        if (everyField)
            for (const decl::Field &f : decl::fields())
                if (f.kind == decl::FieldKind::TaxId || f.kind == decl::FieldKind::TaxNumber)
                    form.setText(f.component, u"1*"_s);
        CheckWindow window(decl::checkForm(form));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableWidget *table = window.table();
        const QFontMetrics fm(table->font());
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < 3; ++column) {
                const QString text = table->item(row, column)->text();
                const QRect needed = fm.boundingRect(QRect(0, 0, table->columnWidth(column) - 8, 10000),
                                                     Qt::TextWordWrap, text);
                QVERIFY2(needed.height() <= table->rowHeight(row), qPrintable(text));
            }
        }
        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(table->verticalScrollBar()->maximum() > 0, everyField);
        QVERIFY(window.width() < screen.width());
        QVERIFY(window.height() < screen.height());
        QVERIFY(table->columnWidth(2) > table->columnWidth(0));
    }

    // How the window closes: what exec() would return and the field it leads to.
    void windowChoices_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("fixedRow");
        QTest::newRow("Javítás on row 2") << u"fix button"_s << int(QDialog::Rejected) << 2;
        QTest::newRow("Enter on row 2") << u"enter"_s << int(QDialog::Rejected) << 2;
        QTest::newRow("Alt+J on row 2") << u"alt+j"_s << int(QDialog::Rejected) << 2;
        QTest::newRow("double click on row 1") << u"double click"_s << int(QDialog::Rejected) << 1;
        QTest::newRow("Esc: the first row") << u"escape"_s << int(QDialog::Rejected) << 0;
        QTest::newRow("close box: the first row") << u"close"_s << int(QDialog::Rejected) << 0;
        QTest::newRow("Nyomtatás így is") << u"print button"_s << int(QDialog::Accepted) << -1;
        QTest::newRow("Alt+N") << u"alt+n"_s << int(QDialog::Accepted) << -1;
    }
    void windowChoices()
    {
        QFETCH(QString, action);
        QFETCH(int, result);
        QFETCH(int, fixedRow);
        decl::MapForm form;
        form.setText(u"CtlMaskEdit8"_s, u"8365670004"_s);
        CheckWindow window(decl::checkForm(form));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), window.table());
        QTest::keyClick(window.table(), Qt::Key_Down);
        QTest::keyClick(window.table(), Qt::Key_Down);
        QCOMPARE(window.currentRow(), 2);
        QTableWidget *table = window.table();
        if (action == u"fix button")
            QTest::mouseClick(window.fixButton(), Qt::LeftButton);
        else if (action == u"enter")
            QTest::keyClick(table, Qt::Key_Return);
        else if (action == u"alt+j")
            QTest::keyClick(&window, Qt::Key_J, Qt::AltModifier);
        else if (action == u"double click") {
            const QRect cell = table->visualItemRect(table->item(1, 2));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        } else if (action == u"escape")
            QTest::keyClick(table, Qt::Key_Escape);
        else if (action == u"close")
            window.close();
        else if (action == u"print button")
            QTest::mouseClick(window.printButton(), Qt::LeftButton);
        else if (action == u"alt+n")
            QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(window.result(), result);
        if (fixedRow >= 0)
            QCOMPARE(window.fixComponent(), window.findings().at(fixedRow).component);
    }

    // Ctrl+C copies every row, whichever is current.
    void copyCopiesTheList()
    {
        decl::MapForm form;
        CheckWindow window(decl::checkForm(form));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.table(), Qt::Key_Down);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(window.table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), window.text());
        QCOMPARE(window.text().count(u'\n'), 3);
    }

    // Nothing to find: "Nyomtatás" goes straight to the preview, as it always did.
    void noFindingsStraightToPreview()
    {
        TForm1 form;
        fillValidTaxpayer(form);
        showForm(form);
        ModalScript script({});
        form.Nyomtats1Click();
        QCOMPARE(script.seen, QStringList{u"rep::TrepPreviewForm"_s});
        QVERIFY(m_messages.isEmpty());
    }

    // "Nyomtatás így is" goes on to the preview with the form as it is.
    void printAnywayReachesPreview()
    {
        TForm1 form;
        showForm(form);
        const decl::Draft before = snapshot(form);
        QList<decl::Finding> listed;
        ModalScript script({onCheckWindow(&listed, [](CheckWindow &w) { w.printButton()->click(); })});
        form.Nyomtats1Click();
        QCOMPARE(script.seen, (QStringList{u"app::CheckWindow"_s, u"rep::TrepPreviewForm"_s}));
        QCOMPARE(componentsOf(listed), (QStringList{u"StyledEdit35"_s, u"CtlRadioGroup5"_s, u"CtlRadioGroup6"_s}));
        QCOMPARE(snapshot(form), before);
        // The fields found wanting show it.
        for (const decl::Finding &f : listed) {
            QCOMPARE(form.control(f.component)->property("Warning"), QVariant(true));
            QCOMPARE(form.control(f.component)->toolTip(), f.message);
        }
    }

    // "Javítás" on a row leads to its field, scrolled into view, and opens no preview; a group is
    // led to without a choice being made.
    void fixLandsInTheField_data()
    {
        QTest::addColumn<QString>("component");
        QTest::newRow("3rd co-owner's tax id, far down") << u"CtlMaskEdit10"_s;
        QTest::newRow("the plot's year, further down") << u"StyledEdit2"_s;
        QTest::newRow("taxpayer's name, at the top") << u"StyledEdit35"_s;
        QTest::newRow("a radio group") << u"CtlRadioGroup6"_s;
    }
    void fixLandsInTheField()
    {
        QFETCH(QString, component);
        TForm1 form;
        setField(form, u"CtlMaskEdit10"_s, u"8365670004"_s);
        setField(form, u"StyledEdit23"_s, u"Nagy Béla"_s);
        setField(form, u"StyledEdit2"_s, u"2010"_s);
        showForm(form);
        // Start from the far end of the form, so that the field has to come into view.
        QWidget *remark = form.control(u"RichEdit1"_s);
        form.findChild<QScrollArea *>()->ensureWidgetVisible(remark);
        remark->setFocus();
        const decl::Draft before = snapshot(form);
        QList<decl::Finding> listed;
        ModalScript script({onCheckWindow(&listed, [component](CheckWindow &w) {
            w.setCurrentRow(int(componentsOf(w.findings()).indexOf(component)));
            w.fixButton()->click();
        })});
        form.Nyomtats1Click();
        QCOMPARE(script.seen, QStringList{u"app::CheckWindow"_s});
        QCOMPARE(componentsOf(listed), (QStringList{u"StyledEdit35"_s, u"CtlRadioGroup5"_s, u"CtlRadioGroup6"_s,
                                                    u"CtlMaskEdit10"_s, u"StyledEdit2"_s}));
        QWidget *field = form.control(component);
        QTRY_VERIFY(QApplication::focusWidget()
                    && (QApplication::focusWidget() == field || QApplication::focusWidget()->parentWidget() == field));
        QVERIFY(isInView(form, field));
        QCOMPARE(snapshot(form), before);
        if (auto *g = qobject_cast<ctl::TCtlRadioGroup *>(field))
            QVERIFY(!g->button(0)->Checked());
    }

    // Esc on the window leads to the first finding's field.
    void escapeLeadsToTheFirstField()
    {
        TForm1 form;
        setField(form, u"StyledEdit35"_s, u"Kiss"_s);
        setField(form, u"CtlRadioGroup5"_s, u"1"_s);
        showForm(form);
        ModalScript script({onCheckWindow(nullptr, [](CheckWindow &w) {
            QTest::keyClick(w.table(), Qt::Key_Escape);
        })});
        form.Nyomtats1Click();
        QCOMPARE(script.seen, QStringList{u"app::CheckWindow"_s});
        QTRY_VERIFY(QApplication::focusWidget()
                    && QApplication::focusWidget()->parentWidget() == form.control(u"CtlRadioGroup6"_s));
    }

    // A field shows its finding as the user leaves it, until its value is right; a co-owner's
    // name is judged with the rest of the block. Leaving changes nothing else.
    void warningOnLeaving()
    {
        TForm1 form;
        showForm(form);
        auto *id = qobject_cast<ctl::TCtlMaskEdit *>(form.control(u"CtlMaskEdit8"_s));
        id->setText(u"8365670004"_s);
        QVERIFY(!id->warning());
        leave(form, u"CtlMaskEdit8"_s);
        QCOMPARE(QApplication::focusWidget(), form.control(u"StyledEdit3"_s)); // tab order unchanged
        QVERIFY(id->warning());
        QCOMPARE(id->toolTip(), decl::taxIdProblem(u"8365670004"_s));
        // A screen reader hears it after whose field it is.
        QCOMPARE(id->accessibleDescription(), u"adózó: "_s + decl::taxIdProblem(u"8365670004"_s));
        // Typing on follows the text and lets the warning go when it is right.
        id->setText(u"83656700**"_s);
        QCOMPARE(id->toolTip(), decl::taxIdProblem(u"83656700**"_s));
        id->setText(u"8365670003"_s);
        QVERIFY(!id->warning());
        QVERIFY(id->toolTip().isEmpty());
        QCOMPARE(id->accessibleDescription(), u"adózó"_s);

        // The taxpayer's name, left empty.
        leave(form, u"StyledEdit35"_s);
        QVERIFY(form.control(u"StyledEdit35"_s)->property("Warning").toBool());
        // A co-owner's address filled and left marks the block's name, which typing then clears.
        QWidget *name = form.control(u"StyledEdit11"_s);
        setField(form, u"StyledEdit20"_s, u"Pécs"_s);
        QVERIFY(!name->property("Warning").toBool());
        leave(form, u"StyledEdit20"_s);
        QVERIFY(name->property("Warning").toBool());
        QVERIFY(!form.control(u"StyledEdit20"_s)->property("Warning").toBool());
        setField(form, u"StyledEdit11"_s, u"N"_s);
        QVERIFY(!name->property("Warning").toBool());
        // A text typed where nothing is checked marks nothing.
        setField(form, u"StyledEdit1"_s, u"Fő utca"_s);
        leave(form, u"StyledEdit1"_s);
        QVERIFY(!form.control(u"StyledEdit1"_s)->property("Warning").toBool());
        QVERIFY(m_messages.isEmpty());
    }

    // A value its box on paper does not hold is marked as it is left, the remark too, whose
    // ground turns; made short enough, the mark goes as the text changes.
    void tooLongForPaperOnLeaving_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("tooLong");
        QTest::addColumn<QString>("fits");
        QTest::newRow("name") << u"StyledEdit35"_s << u"Kovács Őrs "_s.repeated(12) << u"Kovács Őrs"_s;
        QTest::newRow("remark") << u"RichEdit1"_s << u"egy sor\n"_s.repeated(12) << u"egy sor\n"_s.repeated(3);
    }
    void tooLongForPaperOnLeaving()
    {
        QFETCH(QString, component);
        QFETCH(QString, tooLong);
        QFETCH(QString, fits);
        TForm1 form;
        showForm(form);
        QWidget *w = form.control(component);
        const QColor ground = w->palette().color(QPalette::Base);
        setField(form, component, tooLong);
        QVERIFY(!w->property("Warning").toBool());
        leave(form, component);
        QVERIFY(w->property("Warning").toBool());
        QVERIFY2(w->toolTip().startsWith(u"A szöveg nem fér el a nyomtatványon"_s), qPrintable(w->toolTip()));
        if (qobject_cast<QPlainTextEdit *>(w))
            QCOMPARE(w->palette().color(QPalette::Base), QColor::fromRgb(ctl::warningGroundRgb));
        setField(form, component, fits);
        QVERIFY(!w->property("Warning").toBool());
        QCOMPARE(w->palette().color(QPalette::Base), ground);
        QVERIFY(m_messages.isEmpty());
    }

    // Typing marks nothing new: a field without a warning gets none until it is left.
    void typingAloneMarksNothing()
    {
        TForm1 form;
        showForm(form);
        QWidget *number = form.control(u"CtlMaskEdit6"_s);
        number->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), number);
        QTest::keyClicks(number, u"1578"_s);
        QCOMPARE(form.form().text(u"CtlMaskEdit6"_s), u"1578****-*-**"_s);
        QVERIFY(!number->property("Warning").toBool());
        // The window going to the background is not leaving the field.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!number->property("Warning").toBool());
    }

    // A choice made in a group takes its warning away.
    void choiceClearsGroupWarning()
    {
        TForm1 form;
        showForm(form);
        form.warnings().recheckAll();
        auto *group = qobject_cast<ctl::TCtlRadioGroup *>(form.control(u"CtlRadioGroup5"_s));
        QVERIFY(group->warning());
        QCOMPARE(group->accessibleDescription(), form.warnings().messageOf(u"CtlRadioGroup5"_s));
        QTest::mouseClick(group->button(2), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(group->ItemIndex(), 2);
        QVERIFY(!group->warning());
        QVERIFY(group->toolTip().isEmpty());
        QVERIFY(group->accessibleDescription().isEmpty());
        QCOMPARE(form.warnings().messageOf(u"CtlRadioGroup5"_s), QString());
        QVERIFY(!form.warnings().messageOf(u"CtlRadioGroup6"_s).isEmpty());
    }

    // An opened file shows its findings at once, and none left over from the form before it.
    void openedFileShowsItsFindings()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"hibas.tkd"_s);
        TForm1 wrong;
        fillValidTaxpayer(wrong);
        setField(wrong, u"CtlMaskEdit6"_s, u"15789935-2-51"_s);
        QVERIFY(decl::saveDraft(file, decl::draftOf(wrong.form())));

        TForm1 form;
        showForm(form);
        form.warnings().recheckAll();
        QVERIFY(form.control(u"StyledEdit35"_s)->property("Warning").toBool());
        form.openFile(file);
        QCOMPARE(componentsOf(decl::checkForm(form.form())), QStringList{u"CtlMaskEdit6"_s});
        for (const decl::Field &f : decl::fields())
            QCOMPARE(form.control(f.component)->property("Warning").toBool(), f.component == u"CtlMaskEdit6"_s);
        QVERIFY(!form.control(u"CtlRadioGroup5"_s)->property("Warning").toBool());
        QVERIFY(m_messages.isEmpty());
    }

    void junkNeverCrashesNorChanges_data()
    {
        QTest::addColumn<QString>("junk");
        QTest::newRow("letters") << u"árvíztűrő tükörfúrógép ŐŰ"_s;
        QTest::newRow("digits") << u"12345678901234567890"_s;
        QTest::newRow("mask characters") << u"8**-*-*8-*-*8-"_s;
        QTest::newRow("controls") << u"\t\r\n\x7f"_s;
        QTest::newRow("longest text") << QString(decl::maxDraftFieldLength, u'9');
    }
    // Any text in every field, letters pasted where digits belong and the longest texts: the
    // checks give findings or none, and never change a field.
    void junkNeverCrashesNorChanges()
    {
        QFETCH(QString, junk);
        TForm1 form;
        showForm(form);
        for (const decl::Field &f : decl::fields()) {
            QWidget *w = form.control(f.component);
            if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w)) {
                // Pasted: the field takes what its mask lets through.
                QGuiApplication::clipboard()->setText(junk);
                m->setFocus(Qt::TabFocusReason);
                m->pasteFromClipboard();
            } else {
                setField(form, f.component, junk);
            }
        }
        form.control(u"StyledEdit36"_s)->setFocus(Qt::TabFocusReason);
        const decl::Draft before = snapshot(form);
        const QList<decl::Finding> findings = decl::checkForm(form.form());
        for (const decl::Finding &f : findings)
            QVERIFY(!f.message.isEmpty());
        form.warnings().recheckAll();
        // Leaving an area field computes and rewrites it: only the checked kinds are left.
        for (const decl::Field &f : decl::fields())
            if (f.kind == decl::FieldKind::TextEdit || f.kind == decl::FieldKind::TaxId
                || f.kind == decl::FieldKind::TaxNumber)
                leave(form, f.component);
        QCOMPARE(snapshot(form), before);
        QCOMPARE(decl::checkForm(form.form()), findings);
        QCOMPARE(form.control(u"CtlRadioGroup5"_s)->property("Warning"), QVariant(true));
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestPrintChecks test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_printchecks.moc"
