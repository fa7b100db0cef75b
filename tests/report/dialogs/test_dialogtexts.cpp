// Every text of the report windows shows whole with the fonts the program installs: the print
// dialog, the search dialog, the preview's toolbar, status bar and message panel, and the
// message boxes. Each control's text is measured with its own font against its own rectangle.

#include "report/preview/treppreviewform.h"
#include "report/preview/trepsearchdialog.h"
#include "report/print/printdialog.h"
#include "report/resources/resources.h"
#include "runtime/messages.h"
#include "runtime/ui/application.h"
#include "runtime/ui/designfonts.h"
#include "tests/report/preview/fakepagesource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace rep;
using namespace Qt::StringLiterals;

namespace {

QString describe(const QWidget *w, const QString &text, const QString &why)
{
    return QStringLiteral("%1 \"%2\": %3").arg(w->objectName(), text, why);
}

// The room a control's text is drawn in, as its style lays it out, and the text itself; an
// empty text means the control shows none.
struct TextBox
{
    QString text;
    QRect room;
    int flags = 0; // alignment and word wrap, as the control draws the text
    QFont font;
};

std::optional<TextBox> textBox(QWidget *w)
{
    QStyle *style = w->style();
    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return std::nullopt;
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return TextBox{label->text(), label->contentsRect().adjusted(label->margin(), label->margin(),
                                                                     -label->margin(), -label->margin()),
                       flags, label->font()};
    }
    if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (group->title().isEmpty())
            return std::nullopt;
        QStyleOptionGroupBox opt;
        opt.initFrom(group);
        opt.text = group->title();
        opt.lineWidth = 1;
        opt.midLineWidth = 0;
        opt.textAlignment = group->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label = style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group);
        // The style sizes the title's room from the text; what matters is that it stays inside.
        return TextBox{group->title(), label.intersected(group->rect()), Qt::AlignLeft | Qt::AlignVCenter,
                       group->font()};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (button->text().isEmpty())
            return std::nullopt;
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        QStyle::SubElement element = QStyle::SE_PushButtonContents;
        int flags = Qt::AlignCenter;
        if (qobject_cast<QCheckBox *>(w)) {
            element = QStyle::SE_CheckBoxContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter;
        } else if (qobject_cast<QRadioButton *>(w)) {
            element = QStyle::SE_RadioButtonContents;
            flags = Qt::AlignLeft | Qt::AlignVCenter;
        }
        else if (auto *tool = qobject_cast<QToolButton *>(w)) {
            if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                return std::nullopt;
            // A tool button with its caption asks for the room of icon and text together.
            if (tool->width() < tool->sizeHint().width())
                return TextBox{tool->text(), QRect(0, 0, 0, 0), 0, tool->font()};
            return std::nullopt;
        }
        return TextBox{button->text(), style->subElementRect(element, &opt, button), flags, button->font()};
    }
    return std::nullopt;
}

// Every control under root whose text is cut, with the reason; empty when all show whole.
QStringList cutTexts(QWidget *root)
{
    QStringList cuts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        if (!w->isVisibleTo(root) && w != root)
            continue;
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(combo);
            opt.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                               QStyle::SC_ComboBoxEditField, combo);
            const QFontMetrics fm(combo->font());
            QStringList shown = {combo->currentText()};
            if (!combo->isEditable())
                for (int i = 0; i < combo->count(); ++i)
                    shown << combo->itemText(i);
            const int icon = combo->itemIcon(0).isNull() ? 0 : combo->iconSize().width() + 4;
            for (const QString &t : std::as_const(shown))
                if (fm.horizontalAdvance(t) + icon > field.width())
                    cuts << describe(w, t, QStringLiteral("%1 px in a %2 px field").arg(fm.horizontalAdvance(t) + icon).arg(field.width()));
            continue;
        }
        const std::optional<TextBox> box = textBox(w);
        if (!box)
            continue;
        const QFontMetrics fm(box->font);
        // Trailing blanks leave no ink: a title such as "Nyomtató  " needs no room for them.
        QString text = box->text;
        while (text.endsWith(u' '))
            text.chop(1);
        const int wrap = box->flags & Qt::TextWordWrap;
        const QRect needed = fm.boundingRect(QRect(0, 0, wrap ? box->room.width() : 100000, 100000), wrap, text);
        // Where the text lands inside its room.
        const QRect drawn = QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(box->flags & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)),
                                                needed.size(), box->room);
        if (needed.width() > box->room.width() || needed.height() > box->room.height())
            cuts << describe(w, box->text, QStringLiteral("needs %1x%2, has %3x%4")
                                               .arg(needed.width()).arg(needed.height())
                                               .arg(box->room.width()).arg(box->room.height()));
        // A control reaching out of its parent is cut by the parent's edge.
        if (w != root && w->parentWidget() && !w->parentWidget()->rect().contains(w->geometry()))
            cuts << describe(w, box->text, QStringLiteral("reaches out of its parent"));
        // A visible sibling lying over the text hides part of it.
        if (w != root && w->parentWidget()) {
            const QRect text = drawn.intersected(box->room).translated(w->pos());
            for (QObject *o : w->parentWidget()->children()) {
                auto *sibling = qobject_cast<QWidget *>(o);
                if (sibling && sibling != w && sibling->isVisibleTo(root) && !sibling->isWindow()
                    && sibling->geometry().intersects(text) && !qobject_cast<QGroupBox *>(w))
                    cuts << describe(w, box->text, QStringLiteral("covered by ") + sibling->objectName());
            }
        }
    }
    return cuts;
}

// The run's name: its language, and whether the designed fonts were left out.
QString lang()
{
    QString l = qEnvironmentVariable("LANG");
    if (l.isEmpty())
        l = QStringLiteral("default");
    return qEnvironmentVariableIsSet("TK_WITHOUT_DESIGN_FONTS") ? l + QStringLiteral("-fallback") : l;
}

// The image a person looks at: build/dialogs/<LANG>/<name>.png.
void saveShot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/dialogs/") + lang();
    QDir().mkpath(dir);
    QVERIFY(w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
}

void showAndWait(QWidget *w)
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

} // namespace

class TestDialogTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { fillHungarianResources(); }

    // The designed fonts come from the installed outlines, not from a wider fallback.
    void designFontsAreInstalled()
    {
        if (qEnvironmentVariableIsSet("TK_WITHOUT_DESIGN_FONTS"))
            QSKIP("this run checks the fallback fonts");
        if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
            QSKIP("fonts-wine is not installed: the dialogs fall back to a system font");
        const QStringList families = rt::loadDesignFonts();
        QVERIFY2(families.contains(QStringLiteral("Tahoma")), qPrintable(families.join(u',')));
        QVERIFY2(families.contains(QStringLiteral("MS Sans Serif")), qPrintable(families.join(u',')));
        QCOMPARE(QFontInfo(rt::dialogFont()).family(), QStringLiteral("Tahoma"));
        QCOMPARE(QFontInfo(rt::dialogFont()).pixelSize(), 11);
        QFont bold = rt::dialogFont();
        bold.setBold(true);
        QCOMPARE(QFontInfo(bold).family(), QStringLiteral("Tahoma"));
        QVERIFY(QFontInfo(bold).bold());
    }

    void printDialog()
    {
        TrepPrintDialog dialog;
        dialog.setup(1, true, QString(), 1);
        showAndWait(&dialog);
        QCOMPARE(dialog.font().family(), QStringLiteral("Tahoma"));
        const QStringList cuts = cutTexts(&dialog);
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
        saveShot(&dialog, QStringLiteral("printdialog"));
        // The example of the page-range hint is there to be read.
        auto *descr = dialog.findChild<QLabel *>(QStringLiteral("DescrL"));
        QVERIFY(descr->text().endsWith(u"Például 1,3,5-12"_s));
    }

    void searchDialog()
    {
        TrepSearchDialog dialog({}, nullptr);
        dialog.setSearchText(u"telekadó"_s);
        showAndWait(&dialog);
        const QStringList cuts = cutTexts(&dialog);
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
        saveShot(&dialog, QStringLiteral("searchdialog"));
    }

    void previewToolbarAndStatusBar_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("captions");
        QTest::newRow("declaration") << 2 << false;
        QTest::newRow("a thousand pages") << 1000 << false;
        QTest::newRow("print and zoom buttons with captions") << 2 << true;
    }
    void previewToolbarAndStatusBar()
    {
        QFETCH(int, pages);
        QFETCH(bool, captions);
        FakePageSource source(QList<QStringList>(pages, {QStringLiteral("sor")}));
        TrepPreviewForm form(nullptr);
        TrepPreviewOptions o;
        o.AllowEdit = false;
        o.Buttons = buttonBit(pbPrint) | buttonBit(pbZoom);
        o.ShowCaptions = captions;
        o.Maximized = false;
        form.init(&source, o);
        form.resize(900, 700);
        showAndWait(&form);
        QTest::keyClick(form.preview(), Qt::Key_End);
        QVERIFY(form.pageText().startsWith(QString::number(pages) + QLatin1Char('.')));
        QStringList cuts = cutTexts(form.findChild<QWidget *>(QStringLiteral("ToolBar")));
        cuts << cutTexts(form.statusBar());
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
        if (!captions)
            saveShot(form.findChild<QWidget *>(QStringLiteral("ToolBar")), QStringLiteral("previewtoolbar"));
    }

    void previewMessagePanel_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("printing page 1") << 1;
        QTest::newRow("printing page 1000") << 1000;
        QTest::newRow("saving") << 0;
    }
    void previewMessagePanel()
    {
        QFETCH(int, page);
        FakePageSource source(QList<QStringList>(2, {QStringLiteral("sor")}));
        PreviewHooks hooks;
        QStringList cuts;
        QString shown;
        TrepPreviewForm *formPtr = nullptr;
        const auto inspect = [&] {
            QFrame *panel = formPtr->preview()->messagePanel();
            QVERIFY(panel->isVisible());
            shown = panel->findChild<QLabel *>()->text();
            cuts = cutTexts(panel);
            saveShot(panel, QStringLiteral("messagepanel"));
        };
        hooks.hasPhysicalPrinter = [] { return true; };
        hooks.print = [&](PreviewPrintHost &host) {
            host.lock();
            host.pageBeingPrinted(page);
            inspect();
        };
        hooks.saveFileName = [](QWidget *, const QString &) { return QStringLiteral("/tmp/dialogtexts.prp"); };
        source.onSave = [&](const QString &) { inspect(); };
        TrepPreviewForm form(nullptr, hooks);
        formPtr = &form;
        TrepPreviewOptions o;
        o.Maximized = false;
        form.init(&source, o);
        form.resize(900, 700);
        showAndWait(&form);
        QTest::keyClick(form.preview(), page ? Qt::Key_P : Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shown, page ? u"Oldal nyomtatása "_s + QString::number(page) : u"Fájl mentése..."_s);
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
    }

    // The default error display and the report's error boxes.
    void messageBoxes_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("no printer") << u"Hiba"_s << u"Nincs nyomtató telepítve"_s;
        QTest::newRow("not an integer") << rt::applicationTitle() << u"'két' is not a valid integer value."_s;
        QTest::newRow("preparation errors")
            << u"Hiba"_s
            << u"A következő hiba történt:\nIsmeretlen mező vagy változó: \"m46\" (Memo12)\n"
                  u"Ismeretlen mező vagy változó: \"m47\" (Memo13)"_s;
    }
    void messageBoxes()
    {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        rt::installMessageBoxHandler();
        QStringList cuts;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = true;
            cuts = cutTexts(box);
            saveShot(box, QStringLiteral("messagebox-") + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'));
            box->accept();
        });
        rt::showMessage({caption, text, rt::Message::Icon::Stop});
        rt::setMessageHandler({});
        QVERIFY(seen);
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));
    }
};

int main(int argc, char **argv)
{
    // The program's own application object installs the designed fonts. Without them (as on a
    // system lacking the font files) the dialogs must still show their texts whole.
    std::unique_ptr<QApplication> app;
    if (qEnvironmentVariableIsSet("TK_WITHOUT_DESIGN_FONTS")) {
        app = std::make_unique<QApplication>(argc, argv);
        rt::installMessageBoxHandler();
    } else {
        app = std::make_unique<rt::Application>(argc, argv);
    }
    TestDialogTexts test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_dialogtexts.moc"
