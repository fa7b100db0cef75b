#include "controls/common/ui/accessiblelineedit.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/panels/ui/styledmainmenu.h"
#include "controls/panels/ui/styledtoolpanel.h"
#include "tests/accessibilitytest.h"
#include "tests/testhelpers.h"

#include <QApplication>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ctl;
using tk::test::AccessibleEvents;

class TestPanelsAccessible : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sectionPanelIsAGroupingNamedByItsCaption()
    {
        QWidget window;
        auto *panel = new TStyledToolPanel(&window);
        panel->setCaption(u"  I. AZ ADÓ ALANYA"_s);
        auto *edit = new TStyledEdit(panel);
        edit->setAccessibleName(u"neve"_s);
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(panel);
        QCOMPARE(i->role(), QAccessible::Grouping);
        QCOMPARE(i->text(QAccessible::Name), u"I. AZ ADÓ ALANYA"_s);
        QVERIFY(i->state().focusable);
        QCOMPARE(i->childCount(), 1);
        QCOMPARE(i->child(0)->text(QAccessible::Name), u"neve"_s);

        AccessibleEvents events;
        panel->setCaption(u"  EGYÉB"_s);
        QCOMPARE(events.of(panel, QAccessible::NameChanged).size(), 1);
        QCOMPARE(i->text(QAccessible::Name), u"EGYÉB"_s);
    }

    void textFieldIsAnEditableText()
    {
        QWidget window;
        auto *edit = new TStyledEdit(&window);
        edit->setAccessibleName(u"cime"_s);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(edit);
        QVERIFY(dynamic_cast<AccessibleLineEdit *>(i));
        QCOMPARE(i->role(), QAccessible::EditableText);
        QCOMPARE(i->text(QAccessible::Name), u"cime"_s);

        AccessibleEvents events;
        tk::test::typeText(edit, u"Fő u. 1");
        QCOMPARE(i->text(QAccessible::Value), u"Fő u. 1"_s);
        QCOMPARE(events.textChanges(edit).size(), 7);
        QCOMPARE(events.of(edit, QAccessible::TextCaretMoved).last().cursor, 7);
        int s = 0, e = 0;
        QCOMPARE(i->textInterface()->textAtOffset(-2, QAccessible::WordBoundary, &s, &e), QString());
        QCOMPARE(i->textInterface()->textBeforeOffset(-2, QAccessible::WordBoundary, &s, &e), u"1"_s);
        // Text put in by a client is a single line, as typed text is.
        i->editableTextInterface()->insertText(7, u"\nB"_s);
        QCOMPARE(edit->text(), u"Fő u. 1 B"_s);
    }

    void menuBarUnderlinesTheAcceleratorAndAnswersAltLetter()
    {
        auto render = [](const QString &caption) {
            QMainWindow window;
            auto *menu = new TStyledMainMenu(&window);
            window.setMenuBar(menu);
            menu->addAction(caption);
            window.resize(300, 100);
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                return QImage();
            return menu->grab().toImage();
        };
        const QImage plain = render(u"Nyomtatás"_s);
        const QImage marked = render(u"&Nyomtatás"_s);
        QVERIFY(!plain.isNull());
        QCOMPARE(marked.size(), plain.size());
        // The same text in the same place, and a line under its first letter.
        int differing = 0;
        QRect where;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (plain.pixel(x, y) != marked.pixel(x, y)) {
                    ++differing;
                    where |= QRect(x, y, 1, 1);
                }
        QVERIFY(differing > 2);
        QVERIFY2(where.height() <= 2, "only an underline differs");

        QMainWindow window;
        auto *menu = new TStyledMainMenu(&window);
        window.setMenuBar(menu);
        QAction *print = menu->addAction(u"&Nyomtatás"_s);
        QAction *leave = menu->addAction(u"Ki&lépés"_s);
        auto *field = new TStyledEdit(&window);
        window.setCentralWidget(field);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QSignalSpy printed(print, &QAction::triggered);
        QSignalSpy left(leave, &QAction::triggered);
        QTest::keyClick(field, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(left.size(), 1);
        QTest::keyClick(field, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(printed.size(), 1);
        QCOMPARE(field->text(), QString());
        // The marker is no part of what a screen reader says.
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(bar->child(0)->text(QAccessible::Name), u"Nyomtatás"_s);
        QCOMPARE(bar->child(1)->text(QAccessible::Name), u"Kilépés"_s);
    }
};

QTEST_MAIN(TestPanelsAccessible)
#include "test_panelsaccessible.moc"
