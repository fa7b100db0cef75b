#include "app/window/form1.h"
#include "app/window/form1layout.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"
#include "declaration/catalogue.h"
#include "declaration/reportvalues.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"
#include "tests/testhelpers.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using app::TForm1;

namespace {

bool isCaption(const QString &component)
{
    for (const app::CaptionPlacement &c : app::form1Captions())
        if (c.component == component)
            return true;
    return false;
}

// Position in the parent's stacking order: a higher one is painted later, on top.
qsizetype stackIndex(const QWidget *w)
{
    return w->parentWidget()->children().indexOf(const_cast<QWidget *>(w));
}

// Closes every real message box as soon as it is the active modal window, noting its text and
// the window's focus widget behind it at that moment.
struct MessageBoxCloser
{
    QTimer timer;
    QStringList texts;
    QList<QWidget *> focusBehind;
    explicit MessageBoxCloser(QWidget *window)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, window] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                focusBehind << window->focusWidget();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer.start();
    }
};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

    tk::test::MessageRecorder m_messages;

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
        tk::test::useSeparators(QLatin1Char(','));
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
        // The "&" marks each command's accelerator letter.
        QCOMPARE(menu, (QStringList{QString::fromUtf16(u"&Fájl"), QString::fromUtf16(u"&Nyomtatás"),
                                    QString::fromUtf16(u"&Kitöltési útmutató"), QString::fromUtf16(u"Ki&lépés")}));
    }

    void fillsWorkAreaAndScrollsVertically()
    {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect work = form.screen()->availableGeometry();
        QCOMPARE(form.frameGeometry(), work);
        // Moved or resized by anyone else, it goes back.
        form.move(40, 30);
        QTRY_COMPARE(form.frameGeometry(), work);
        form.resize(300, 200);
        QTRY_COMPARE(form.frameGeometry(), work);
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
        e1->setText(QStringLiteral("1500"));
        e1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), e1);
        pressTab();
        QCOMPARE(form.form().caption(QStringLiteral("Label4")), QStringLiteral("313.500 Ft."));
    }

    // Overlapping caption boxes stack in the order of the layout table; every other control of a
    // panel lies above the captions it overlaps.
    void captionsStackInTableOrder()
    {
        TForm1 form;
        const QList<app::CaptionPlacement> &captions = app::form1Captions();
        QStringList overlapping;
        for (qsizetype i = 0; i < captions.size(); ++i) {
            for (qsizetype j = i + 1; j < captions.size(); ++j) {
                const app::CaptionPlacement &a = captions[i];
                const app::CaptionPlacement &b = captions[j];
                if (a.parent != b.parent || !a.bounds.intersects(b.bounds))
                    continue;
                overlapping << a.component + QLatin1Char('/') + b.component;
                QVERIFY2(stackIndex(form.control(b.component)) > stackIndex(form.control(a.component)),
                         qPrintable(b.component + QStringLiteral(" lies under ") + a.component));
            }
        }
        QVERIFY(overlapping.contains(QStringLiteral("CtlRichLabel2/CtlRichLabel3")));
        QVERIFY(overlapping.contains(QStringLiteral("CtlRichLabel7/CtlRichLabel8")));
        for (const app::CaptionPlacement &c : captions) {
            QWidget *caption = form.control(c.component);
            for (QObject *o : caption->parentWidget()->children()) {
                auto *other = qobject_cast<QWidget *>(o);
                if (!other || isCaption(other->objectName()) || !other->geometry().intersects(c.bounds))
                    continue;
                QVERIFY2(stackIndex(other) > stackIndex(caption),
                         qPrintable(other->objectName() + QStringLiteral(" lies under ") + c.component));
            }
        }
    }

    // Each caption's ink, drawn alone, is there in the drawing of its panel, but where a field
    // lies on top.
    void captionTextIsWhollyVisible_data()
    {
        QTest::addColumn<QString>("component");
        for (const app::CaptionPlacement &c : app::form1Captions())
            QTest::newRow(qPrintable(c.component + QLatin1Char(' ') + c.text.left(24))) << c.component;
    }
    void captionTextIsWhollyVisible()
    {
        QFETCH(QString, component);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget *caption = form.control(component);
        QWidget *panel = caption->parentWidget();
        const QImage alone = caption->grab().toImage();
        const QImage inPanel = panel->grab().toImage();
        QList<QRect> onTop;
        for (QObject *o : panel->children())
            if (auto *w = qobject_cast<QWidget *>(o); w && w->isVisible() && !isCaption(w->objectName()))
                onTop << w->geometry();
        int ink = 0;
        int lost = 0;
        QSet<int> inkColumns;
        for (int y = 0; y < alone.height(); ++y) {
            for (int x = 0; x < alone.width(); ++x) {
                if (qGray(alone.pixel(x, y)) >= 110)
                    continue;
                const QPoint p = caption->pos() + QPoint(x, y);
                if (std::any_of(onTop.cbegin(), onTop.cend(), [&](const QRect &r) { return r.contains(p); }))
                    continue;
                ++ink;
                inkColumns.insert(x / 8);
                if (qGray(inPanel.pixel(p)) >= 160)
                    ++lost;
            }
        }
        QVERIFY2(ink > 0, "the caption draws no text");
        QVERIFY2(lost == 0, qPrintable(QStringLiteral("%1 of %2 ink pixels hidden").arg(lost).arg(ink)));
        if (component == QStringLiteral("CtlRichLabel3") || component == QStringLiteral("CtlRichLabel8")) {
            // The row's text runs over most of the box's width.
            QVERIFY2(inkColumns.size() * 8 > caption->width() / 2, qPrintable(QString::number(inkColumns.size())));
        }
    }

    // A failing computation is shown in one real message box once the focus has moved where the
    // user sent it; the focus stays there and the form goes on computing.
    void computationErrorBoxAfterTheFocusChange()
    {
        rt::installMessageBoxHandler();
        const auto restore = qScopeGuard([this] { m_messages.install(); });
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *e1 = qobject_cast<QLineEdit *>(form.control(QStringLiteral("NumEdit1")));
        auto *e2 = qobject_cast<QLineEdit *>(form.control(QStringLiteral("NumEdit2")));
        e1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), e1);
        e1->setText(QStringLiteral("1E300")); // a tax beyond the 64-bit range

        MessageBoxCloser boxes(&form);
        pressTab();
        // Nothing was shown inside the focus change itself.
        QVERIFY(boxes.texts.isEmpty());
        QCOMPARE(QApplication::focusWidget(), e2);
        QTRY_COMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.texts[0], QStringLiteral("Invalid floating point operation."));
        QCOMPARE(boxes.focusBehind[0], e2);
        QTest::qWait(50);
        QCOMPARE(boxes.texts.size(), 1);
        // Activating the window again (the window manager's part) gives the focus back there.
        QCOMPARE(form.focusWidget(), e2);
        form.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), e2);
        QCOMPARE(form.form().caption(QStringLiteral("Label1")), QStringLiteral("1E300"));
        QCOMPARE(form.form().caption(QStringLiteral("Label4")), QStringLiteral("0"));

        e1->setText(QStringLiteral("1500"));
        QTest::keyClicks(e2, QStringLiteral("300"));
        pressTab();
        QCOMPARE(form.form().caption(QStringLiteral("Label4")), QStringLiteral("250.800 Ft."));
        QTest::qWait(50);
        QCOMPARE(boxes.texts.size(), 1);
    }

    // Every report key answers with the text of its own field: each field holds a value found
    // nowhere else.
    void everyKeyAnswersItsOwnField_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const auto row = [](const char *key, const QString &value) {
            QTest::newRow(key) << QString::fromLatin1(key) << value;
        };
        const auto named = [&](const char *key, const char *component) { row(key, QString::fromLatin1(component)); };
        named("m1", "StyledEdit35");
        named("m2", "StyledEdit36");
        row("m3", QStringLiteral("66666666-6-66")); // CtlMaskEdit6
        row("m4", QStringLiteral("8888888888"));    // CtlMaskEdit8
        named("m5", "StyledEdit3");
        named("m6", "StyledEdit5");
        named("m7", "StyledEdit1");
        named("m8", "StyledEdit4");
        named("m9", "StyledEdit40");
        named("m10", "StyledEdit6");
        named("m11", "StyledEdit2");
        named("m12", "StyledEdit15");
        named("m13", "StyledEdit16");
        row("m14", QStringLiteral("33333333-3-33")); // CtlMaskEdit3
        row("m15", QStringLiteral("4444444444"));    // CtlMaskEdit4
        named("m16", "StyledEdit17");
        named("m17", "StyledEdit11");
        named("m18", "StyledEdit20");
        row("m19", QStringLiteral("55555555-5-55")); // CtlMaskEdit5
        row("m20", QStringLiteral("7777777777"));    // CtlMaskEdit7
        named("m21", "StyledEdit21");
        named("m22", "StyledEdit23");
        named("m23", "StyledEdit24");
        row("m24", QStringLiteral("99999999-9-99")); // CtlMaskEdit9
        row("m25", QStringLiteral("1010101010"));    // CtlMaskEdit10
        named("m26", "StyledEdit25");
        row("m27", QStringLiteral("90000")); // NumEdit1
        row("m28", QStringLiteral("8000"));  // NumEdit2
        row("m29", QStringLiteral("82000")); // Label1: a - b
        row("m30", QStringLiteral("700"));   // NumEdit3 ... NumEdit8
        row("m31", QStringLiteral("60"));
        row("m32", QStringLiteral("5"));
        row("m33", QStringLiteral("4"));
        row("m34", QStringLiteral("3"));
        row("m35", QStringLiteral("2"));
        row("m36", QStringLiteral("626"));            // Label2: d - e - f - g - h - i
        row("m37", QStringLiteral("81374"));          // Label3: c - j
        row("m38", QStringLiteral("17.007.166 Ft.")); // Label4: k * 209
        named("m39", "StyledEdit7");
        named("m40", "StyledEdit8");
        named("m41", "StyledEdit9");
        named("m42", "StyledEdit10");
        named("m43", "StyledEdit12");
        row("m44", QStringLiteral("RichEdit1\r\nsecond line"));
        row("m45", QStringLiteral("2006 évi telekadó, a telek nm2 alapján történő adó megállapitásához a helyi "
                                  "adókról szóló 1990. évi C. törvény alapján. (tulajdonjog szerzés)"));
    }
    void everyKeyAnswersItsOwnField()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        static const QHash<QString, QString> masked = {
            {QStringLiteral("CtlMaskEdit6"), QStringLiteral("66666666-6-66")},
            {QStringLiteral("CtlMaskEdit3"), QStringLiteral("33333333-3-33")},
            {QStringLiteral("CtlMaskEdit5"), QStringLiteral("55555555-5-55")},
            {QStringLiteral("CtlMaskEdit9"), QStringLiteral("99999999-9-99")},
            {QStringLiteral("CtlMaskEdit8"), QStringLiteral("8888888888")},
            {QStringLiteral("CtlMaskEdit4"), QStringLiteral("4444444444")},
            {QStringLiteral("CtlMaskEdit7"), QStringLiteral("7777777777")},
            {QStringLiteral("CtlMaskEdit10"), QStringLiteral("1010101010")},
        };
        static const QHash<QString, QString> areas = {
            {QStringLiteral("NumEdit1"), QStringLiteral("90000")}, {QStringLiteral("NumEdit2"), QStringLiteral("8000")},
            {QStringLiteral("NumEdit3"), QStringLiteral("700")},   {QStringLiteral("NumEdit4"), QStringLiteral("60")},
            {QStringLiteral("NumEdit5"), QStringLiteral("5")},     {QStringLiteral("NumEdit6"), QStringLiteral("4")},
            {QStringLiteral("NumEdit7"), QStringLiteral("3")},     {QStringLiteral("NumEdit8"), QStringLiteral("2")},
        };
        TForm1 form;
        for (const decl::Field &f : decl::fields()) {
            QWidget *w = form.control(f.component);
            if (auto *m = qobject_cast<ctl::TCtlMaskEdit *>(w))
                m->setText(masked.value(f.component));
            else if (auto *n = qobject_cast<QLineEdit *>(w))
                n->setText(areas.value(f.component, f.component));
            else if (auto *r = qobject_cast<QPlainTextEdit *>(w))
                r->setPlainText(f.component + QStringLiteral("\nsecond line"));
            else
                QFAIL(qPrintable(f.component));
            const QString filled = f.kind == decl::FieldKind::RichEdit
                                       ? f.component + QStringLiteral("\r\nsecond line")
                                       : masked.value(f.component, areas.value(f.component, f.component));
            QCOMPARE(form.form().text(f.component), filled);
        }
        qobject_cast<ctl::TCtlRadioGroup *>(form.control(QStringLiteral("CtlRadioGroup1")))->setItemIndex(0);
        form.szamolas();

        QVariant answer;
        decl::repReport1GetValue(form.form(), key, answer);
        QCOMPARE(answer.typeId(), QMetaType::QString);
        QCOMPARE(answer.toString(), value);
    }
};

int main(int argc, char **argv)
{
    rt::Application app(argc, argv);
    TestForm1 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_form1.moc"
