#include "app/form1.h"
#include "declaration/catalogue.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using app::TForm1;

class TestForm1 : public QObject
{
    Q_OBJECT

    QList<rt::Message> m_messages;

    void typeInto(TForm1 &form, const char *component, const QString &text)
    {
        auto *w = form.control(QString::fromLatin1(component));
        QVERIFY(w);
        if (QApplication::focusWidget() != w)
            w->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), w);
        QTest::keyClicks(w, text);
    }

    void pressTab()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

private Q_SLOTS:
    void initTestCase()
    {
        rt::FormatSettings s;
        s.decimalSeparator = QLatin1Char(',');
        s.thousandSeparator = QLatin1Char(' ');
        rt::setFormatSettings(s);
        rt::setMessageHandler([this](const rt::Message &m) { m_messages.append(m); });
    }

    void init()
    {
        // Errors raised in focus changes are shown once the event loop runs: let those of the
        // previous case arrive before starting afresh.
        QCoreApplication::processEvents();
        m_messages.clear();
    }

    void everyFieldWithItsInitialText()
    {
        TForm1 form;
        QCOMPARE(form.windowTitle(), QString::fromUtf16(u"Elektronikus nyomtatvány - Hollóberény Polgármesteri Hivatal"));
        for (const decl::Field &f : decl::fields()) {
            QVERIFY2(form.control(f.component), qPrintable(f.component));
            QCOMPARE(form.form().text(f.component), decl::initialText(f.kind));
        }
        for (const decl::RadioGroup &g : decl::radioGroups())
            QCOMPARE(form.form().itemIndex(g.component), -1);
        for (const decl::ComputedLabel &l : decl::computedLabels()) {
            QCOMPARE(form.form().caption(l.component), QStringLiteral("0"));
            QCOMPARE(form.control(l.component)->geometry().right(), 616); // right edge at 617
        }
        QVERIFY(form.control(QStringLiteral("NumEdit9")));
        QCOMPARE(form.control(QStringLiteral("NumEdit9"))->width(), 0);
        QCOMPARE(form.control(QStringLiteral("StyledToolPanel4"))->geometry(), QRect(24, 1088, 721, 433));
        QStringList menu;
        for (QAction *a : form.menuBar()->actions())
            menu << a->text();
        QCOMPARE(menu, (QStringList{QString::fromUtf16(u"Nyomtatás"), QString::fromUtf16(u"Kitöltési útmutató"),
                                    QString::fromUtf16(u"Kilépés")}));
    }

    void fillsWorkAreaAndScrollsVertically()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.frameGeometry(), form.screen()->availableGeometry());
        auto *scroll = form.findChild<QScrollArea *>();
        QVERIFY(scroll);
        QCOMPARE(scroll->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
    }

    void typingAreasComputesTax()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        typeInto(form, "NumEdit1", QStringLiteral("1500"));
        pressTab();
        QCOMPARE(QApplication::focusWidget(), form.control(QStringLiteral("NumEdit2")));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("300"));
        pressTab();
        QCOMPARE(form.form().caption(QStringLiteral("Label1")), QStringLiteral("1200"));
        QCOMPARE(form.form().caption(QStringLiteral("Label2")), QStringLiteral("0"));
        QCOMPARE(form.form().caption(QStringLiteral("Label3")), QStringLiteral("1200"));
        QCOMPARE(form.form().caption(QStringLiteral("Label4")), QStringLiteral("250.800 Ft."));
        QCOMPARE(form.control(QStringLiteral("Label4"))->geometry().right(), 616);
        QVERIFY(m_messages.isEmpty());
    }

    // Only the exits of NumEdit1 ... NumEdit8 compute; the text is in normal form first.
    void exitRewritesBeforeComputing()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *e3 = qobject_cast<QLineEdit *>(form.control(QStringLiteral("NumEdit3")));
        e3->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), e3);
        e3->setText(QStringLiteral("007,50"));
        pressTab();
        QCOMPARE(e3->text(), QStringLiteral("7,5"));
        QCOMPARE(form.form().caption(QStringLiteral("Label2")), QStringLiteral("7,5"));
        // A text field's exit computes nothing.
        typeInto(form, "StyledEdit36", QString());
        form.form().setCaption(QStringLiteral("Label2"), QStringLiteral("x"));
        typeInto(form, "StyledEdit35", QStringLiteral("abc"));
        pressTab();
        QCOMPARE(form.form().caption(QStringLiteral("Label2")), QStringLiteral("x"));
    }

    void errorsAreShownAndTheProgramGoesOn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("conversion") << QStringLiteral("12x") << QStringLiteral("'12x' is not a valid floating point value.");
        QTest::newRow("overflow") << QStringLiteral("1E20") << QStringLiteral("Invalid floating point operation.");
    }
    void errorsAreShownAndTheProgramGoesOn()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *e1 = qobject_cast<QLineEdit *>(form.control(QStringLiteral("NumEdit1")));
        e1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), e1);
        e1->setText(typed);
        pressTab();
        // Shown once the focus change is over, not from inside it.
        QVERIFY(m_messages.isEmpty());
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, shown);
        QCOMPARE(m_messages[0].caption, rt::applicationTitle());
        QCOMPARE(m_messages[0].icon, rt::Message::Icon::Stop);
        // Still running: the next exit computes again.
        e1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), e1);
        e1->setText(QStringLiteral("1500"));
        pressTab();
        QCOMPARE(form.form().caption(QStringLiteral("Label4")), QStringLiteral("313.500 Ft."));
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestForm1 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_form1.moc"
