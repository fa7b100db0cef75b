#include "tests/report/preview/fakepagesource.h"
#include "tests/report/preview/previewcommands.h"

#include "report/preview/previewzoom.h"
#include "report/preview/showpreparedreport.h"
#include "report/preview/treppreviewform.h"
#include "report/preview/treppreviewworkspace.h"
#include "report/preview/trepsearchdialog.h"
#include "runtime/formatsettings.h"
#include "runtime/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include "tests/accessibilitytest.h"

#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace rep;
using namespace Qt::StringLiterals;

namespace {

// The declaration's options: printing and zooming only, nothing editable.
TrepPreviewOptions declarationOptions()
{
    TrepPreviewOptions o;
    o.AllowEdit = false;
    o.Buttons = buttonBit(pbPrint) | buttonBit(pbZoom);
    o.Zoom = 1.0;
    return o;
}

// A window that is shown at a known size, so that the workspace has a client area.
TrepPreviewOptions shownOptions()
{
    TrepPreviewOptions o = declarationOptions();
    o.Maximized = false;
    return o;
}

QList<QStringList> twoPages()
{
    return {{QStringLiteral("Elektronikus nyomtatvány"), QStringLiteral("Adózó neve")},
            {QStringLiteral("Telek adatai"), QStringLiteral("BEVALLÁS 2006 évi telekadó"), QStringLiteral("bevallás vége")}};
}

int darkShare(const QImage &image, const QRect &r)
{
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++dark;
    return 100 * dark / qMax(1, r.width() * r.height());
}

} // namespace

class TestPreviewForm : public QObject
{
    Q_OBJECT

    QList<rt::Message> m_messages;

    void showAt(TrepPreviewForm &form, FakePageSource &source, QSize size = QSize(900, 700))
    {
        form.init(&source, shownOptions());
        form.resize(size);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.preview()->state().clientSize().height() > 500);
    }

private Q_SLOTS:
    void initTestCase()
    {
        rt::FormatSettings fs;
        fs.decimalSeparator = QLatin1Char(',');
        rt::setFormatSettings(fs);
        rt::setMessageHandler([this](const rt::Message &m) { m_messages.append(m); });
    }
    void init() { m_messages.clear(); }

    void openingShowsTheDeclarationView()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        form.init(&source, declarationOptions());
        QCOMPARE(form.windowTitle(), u"Előkép"_s);
        QVERIFY(form.windowState() & Qt::WindowMaximized);
        QCOMPARE(form.zoomBox()->currentText(), QStringLiteral("100%"));
        QCOMPARE(form.pageText(), u"1. oldal 2 oldalból"_s);
        QCOMPARE(form.statusBar()->objectName(), QStringLiteral("StatusBar"));

        QStringList visible;
        for (QWidget *w : form.toolbarControls())
            if (w->isVisibleTo(&form))
                visible << w->objectName();
        QCOMPARE(visible, QStringLiteral("PrintB Sep1 ZoomWholePageB ZoomPageWidthB Zoom100B Zoom50B ZoomPanel "
                                         "repTBPanel1 CancelB").split(QLatin1Char(' ')));

        const auto control = [&](const char *name) { return form.findChild<QWidget *>(QString::fromLatin1(name)); };
        QCOMPARE(control("PrintB")->toolTip(), u"Nyomtat"_s);
        QCOMPARE(control("Zoom50B")->toolTip(), u"Két oldal"_s);
        QCOMPARE(control("ZoomCB")->toolTip(), u"Nagyít"_s);
        QCOMPARE(qobject_cast<QPushButton *>(control("CancelB"))->text(), u"Bezár"_s);
        QCOMPARE(control("HandToolB")->toolTip(), u"Húzó eszköz"_s);
        QVERIFY(!control("NewPageB")->isEnabled());
        QCOMPARE(form.zoomBox()->count(), 8);
        QCOMPARE(form.zoomBox()->itemText(6), u"Oldal széles"_s);
        QCOMPARE(form.zoomBox()->itemText(7), u"Teljes oldal"_s);
    }

    void allButtonsWithCaptions()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        TrepPreviewOptions o;
        o.ShowCaptions = true;
        o.Buttons = 0x7ff & ~buttonBit(pbZoom);
        form.init(&source, o, QStringLiteral("Saját riport"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Saját riport"));
        const auto control = [&](const char *name) { return form.findChild<QWidget *>(QString::fromLatin1(name)); };
        QVERIFY(!control("Sep1")->isVisibleTo(&form));
        QVERIFY(!control("ZoomPanel")->isVisibleTo(&form));
        QVERIFY(control("PageE")->isVisibleTo(&form));
        QVERIFY(control("NewPageB")->isEnabled());
        QCOMPARE(qobject_cast<QToolButton *>(control("FirstB"))->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(qobject_cast<QToolButton *>(control("FirstB"))->text(), u"Első"_s);
    }

    void typedZoom_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("messages");
        QTest::newRow("10 floors at 25%") << "10" << "25%" << 0;
        QTest::newRow("150 % with a blank") << "150 %" << "150%" << 0;
        QTest::newRow("decimal comma") << "62,5" << "62%" << 0;
        QTest::newRow("not a number keeps the zoom") << "nagy" << "100%" << 1;
        QTest::newRow("only a percent sign") << "%" << "100%" << 0;
        QTest::newRow("list entry typed") << u"Teljes oldal"_s << "WHOLE" << 0;
        QTest::newRow("zero floors at 25%") << "0" << "25%" << 0;
        QTest::newRow("negative floors at 25%") << "-5" << "25%" << 0;
        QTest::newRow("letters keep the zoom") << "abc" << "100%" << 1;
        QTest::newRow("huge stops at the largest") << "100000%" << zoomText(kMaxZoom) << 0;
    }
    void typedZoom()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, messages);
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        QTest::keyClick(form.preview(), Qt::Key_End);
        QLineEdit *edit = form.zoomBox()->lineEdit();
        edit->setText(typed);
        QTest::keyClick(edit, Qt::Key_Return);
        if (shown == QLatin1String("WHOLE")) {
            QCOMPARE(form.preview()->zoomMode(), zmWholePage);
            shown = zoomText(form.preview()->zoom());
        }
        QTRY_COMPARE(form.zoomBox()->currentText(), shown);
        QCOMPARE(m_messages.size(), messages);
        if (messages)
            QVERIFY(m_messages.first().text.contains(u"'%1'"_s.arg(typed)));
        QVERIFY(form.isVisible()); // Enter must not reach the close button
        // Whatever was typed, the view stays on the last page and draws it.
        const PreviewState &state = form.preview()->state();
        QCOMPARE(form.pageText(), u"2. oldal 2 oldalból"_s);
        QVERIFY(state.pageRect(1).intersects(QRect(QPoint(0, 0), state.clientSize())));
        form.preview()->workspace()->viewport()->repaint();
    }

    // A change of zoom keeps the point of the current page that stood at the top left of its
    // visible part where it was (unless the scroll ranges stop it), and the status bar keeps
    // naming the page in view. Changes: "typed:TEXT" into the zoom box and Enter, "button:NAME",
    // "entry:N" from the list, "resize:WxH" of the window.
    void zoomKeepsThePage_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("columns");
        QTest::newRow("last page 100% to 200%") << 2 << "typed:100" << "typed:200" << 1;
        QTest::newRow("last page 100% to 150%") << 2 << "typed:100" << "typed:150" << 1;
        QTest::newRow("last page 100% to 25%") << 2 << "typed:100" << "typed:25" << 1;
        QTest::newRow("last page 200% to 50% from the list") << 2 << "typed:200" << "entry:1" << 1;
        QTest::newRow("first page 100% to 200%") << 1 << "typed:100" << "typed:200" << 1;
        QTest::newRow("first page 25% to 200%") << 1 << "typed:25" << "typed:200" << 1;
        QTest::newRow("last page 100% to page width") << 2 << "typed:100" << "button:ZoomPageWidthB" << 1;
        QTest::newRow("last page 75% to whole page") << 2 << "typed:75" << "button:ZoomWholePageB" << 1;
        QTest::newRow("last page 100% to two pages") << 2 << "typed:100" << "button:Zoom50B" << 2;
        QTest::newRow("last page two pages to 100%") << 2 << "button:Zoom50B" << "button:Zoom100B" << 1;
        QTest::newRow("last page two pages to 200%") << 2 << "button:Zoom50B" << "typed:200" << 1;
        QTest::newRow("last page whole page, taller window") << 2 << "button:ZoomWholePageB" << "resize:900x1000" << 1;
        QTest::newRow("last page page width, wider window") << 2 << "button:ZoomPageWidthB" << "resize:1200x700" << 1;
        QTest::newRow("two pages, narrower window") << 2 << "button:Zoom50B" << "resize:600x700" << 2;
    }
    void zoomKeepsThePage()
    {
        QFETCH(int, page);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, columns);
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        TrepPreview *preview = form.preview();
        const auto apply = [&](const QString &change) {
            const QString how = change.section(QLatin1Char(':'), 0, 0);
            const QString what = change.section(QLatin1Char(':'), 1);
            if (how == QLatin1String("typed")) {
                form.zoomBox()->lineEdit()->setFocus();
                form.zoomBox()->lineEdit()->setText(what);
                QTest::keyClick(form.zoomBox()->lineEdit(), Qt::Key_Return);
            } else if (how == QLatin1String("button")) {
                QTest::mouseClick(form.findChild<QToolButton *>(what), Qt::LeftButton);
            } else if (how == QLatin1String("entry")) {
                form.zoomBox()->lineEdit()->setFocus();
                QTRY_VERIFY(form.zoomBox()->lineEdit()->hasFocus());
                form.zoomBox()->setCurrentIndex(what.toInt());
                Q_EMIT form.zoomBox()->activated(what.toInt());
            } else {
                const QStringList size = what.split(QLatin1Char('x'));
                const QSize client = preview->state().clientSize();
                form.resize(size.at(0).toInt(), size.at(1).toInt());
                QTRY_VERIFY(preview->state().clientSize() != client);
            }
            QCoreApplication::processEvents();
        };
        apply(before);
        preview->pageNo(page);
        const PreviewState &state = preview->state();
        const QRect client(QPoint(0, 0), state.clientSize());
        // The point of the page at the top left of its visible part, in report units.
        const QRect shownBefore = state.pageRect(page - 1).intersected(client);
        QVERIFY(!shownBefore.isEmpty());
        const QPointF onPage = QPointF(shownBefore.topLeft() - state.pageRect(page - 1).topLeft()) / state.zoom();

        apply(after);
        QCOMPARE(state.layout().columns(), columns);
        QCOMPARE(preview->currentPage(), page);
        QCOMPARE(form.pageText(), u"%1. oldal 2 oldalból"_s.arg(page));
        const QRect rect = state.pageRect(page - 1);
        const QRect view(QPoint(0, 0), state.clientSize());
        QVERIFY2(rect.intersects(view), "the current page is out of view");
        const QPoint point = rect.topLeft() + (onPage * state.zoom()).toPoint();
        const QPoint max = state.maxScroll();
        // Where the ranges allowed it, the point stands where it stood.
        if (state.scroll().x() > 0 && state.scroll().x() < max.x())
            QVERIFY(qAbs(point.x() - shownBefore.left()) <= 1);
        if (state.scroll().y() > 0 && state.scroll().y() < max.y())
            QVERIFY2(qAbs(point.y() - shownBefore.top()) <= 1,
                     qPrintable(u"the point moved from %1 to %2"_s.arg(shownBefore.top()).arg(point.y())));
        QVERIFY(view.contains(point));
    }

    void zoomButtonsAndListEntries()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        const auto click = [&](const char *name) {
            QTest::mouseClick(form.findChild<QToolButton *>(QString::fromLatin1(name)), Qt::LeftButton);
        };
        click("Zoom50B");
        QCOMPARE(form.preview()->state().layout().columns(), 2);
        QCOMPARE(form.zoomBox()->currentText(), zoomText(form.preview()->zoom()));
        click("Zoom100B");
        QCOMPARE(form.preview()->state().layout().columns(), 1);
        QCOMPARE(form.zoomBox()->currentText(), QStringLiteral("100%"));

        // Choosing from the list, as the open list reports it to the box that has the focus.
        const auto choose = [&](int index) {
            form.zoomBox()->lineEdit()->setFocus();
            QTRY_VERIFY(form.zoomBox()->lineEdit()->hasFocus());
            form.zoomBox()->setCurrentIndex(index);
            Q_EMIT form.zoomBox()->activated(index);
        };
        choose(6);
        QCOMPARE(form.preview()->zoomMode(), zmPageWidth);
        QVERIFY(form.preview()->hasFocus());
        choose(4);
        QTRY_COMPARE(form.zoomBox()->currentText(), QStringLiteral("150%"));
        QCOMPARE(form.preview()->zoom(), 1.5);

        // Leaving the box with a text that matches an entry applies nothing.
        click("ZoomWholePageB");
        form.zoomBox()->lineEdit()->setFocus();
        QTRY_VERIFY(form.zoomBox()->lineEdit()->hasFocus());
        form.zoomBox()->lineEdit()->setText(QStringLiteral("100%"));
        form.preview()->setFocus();
        QTRY_VERIFY(form.preview()->hasFocus());
        QCOMPARE(form.preview()->zoomMode(), zmWholePage);
    }

    void wholePageFollowsResize()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("ZoomWholePageB")), Qt::LeftButton);
        const double before = form.preview()->zoom();
        form.resize(900, 900);
        QTRY_VERIFY(form.preview()->zoom() > before);
        const int clientHeight = form.preview()->workspace()->viewport()->height();
        QCOMPARE(form.preview()->zoom(), (clientHeight - 20) / 1123.0);
        QCOMPARE(form.zoomBox()->currentText(), zoomText(form.preview()->zoom()));
    }

    void keysScrollAndChangeThePage()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        TrepPreview *preview = form.preview();
        QScrollBar *bar = preview->workspace()->verticalScrollBar();
        // Page 2 becomes current once its top (1143) is a fifth of its height below the edge.
        while (preview->state().scroll().y() + 300 < 1143 - 1123 / 5)
            QTest::keyClick(preview, Qt::Key_PageDown);
        QCOMPARE(form.pageText(), u"1. oldal 2 oldalból"_s);
        const int before = preview->state().scroll().y();
        QTest::keyClick(preview, Qt::Key_PageDown);
        QCOMPARE(preview->state().scroll().y(), before + 300);
        QCOMPARE(bar->value(), before + 300);
        QCOMPARE(form.pageText(), u"2. oldal 2 oldalból"_s);
        QTest::keyClick(preview, Qt::Key_Up);
        QCOMPARE(preview->state().scroll().y(), before + 292);

        QTest::keyClick(preview, Qt::Key_Home);
        QCOMPARE(preview->currentPage(), 1);
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(preview, Qt::Key_End);
        QCOMPARE(form.pageText(), u"2. oldal 2 oldalból"_s);

        // The scroll bar moves the view and the page follows.
        bar->setValue(0);
        QCOMPARE(preview->state().scroll().y(), 0);
        QCOMPARE(preview->currentPage(), 1);

        // Esc closes the window.
        QTest::keyClick(preview, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }

    // The focus stays on the pages while they turn: a listener is told the new page, and a zoom
    // that changed.
    void turningThePageAndZoomingAreTold()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        QTRY_VERIFY(form.isActiveWindow());
        tk::test::AccessibleEvents events;
        QTest::keyClick(form.preview(), Qt::Key_End);
        QTRY_COMPARE(events.announcements(), QStringList{u"2. oldal 2 oldalból"_s});
        QTest::keyClick(form.preview(), Qt::Key_End);
        QTest::keyClick(form.preview(), Qt::Key_Home);
        QTRY_COMPARE(events.announcements().size(), 2);
        QCOMPARE(events.announcements().last(), u"1. oldal 2 oldalból"_s);
        // A zoom command: the zoom it ends at is told, as the box shows it.
        QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("Zoom50B")), Qt::LeftButton);
        QTRY_COMPARE(events.announcements().size(), 3);
        QCOMPARE(events.announcements().last(), form.zoomBox()->toolTip() + u": "_s + form.zoomBox()->currentText());
        QTest::qWait(50);
        QCOMPARE(events.announcements().size(), 3);
    }

    void wheelAndDrag()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        QWidget *viewport = form.preview()->workspace()->viewport();
        QWheelEvent down(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &down);
        QCOMPARE(form.preview()->state().scroll().y(), 20);
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(200, 300));
        QTest::mouseMove(viewport, QPoint(200, 250));
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 250), viewport->mapToGlobal(QPointF(200, 250)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(200, 250));
        QCOMPARE(form.preview()->state().scroll().y(), 70);
    }

    void paintsOnlyVisiblePagesInFrames()
    {
        FakePageSource source(QList<QStringList>(30, {QStringLiteral("sor")}));
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        QWidget *viewport = form.preview()->workspace()->viewport();
        source.drawn = 0;
        const QImage image = viewport->grab().toImage();
        QCOMPARE(source.drawn, 1);
        const QRect page = form.preview()->state().pageRect(0);
        QCOMPARE(image.pixelColor(5, 5), QColor(0x80, 0x80, 0x80));
        QCOMPARE(image.pixelColor(page.left(), page.top() + 50), QColor(Qt::black));
        QCOMPARE(image.pixelColor(page.left() + 1, page.top() + 20), QColor(Qt::white));
        QCOMPARE(image.pixelColor(page.right() + 1, page.top() + 20), QColor(Qt::black)); // shadow
        QCOMPARE(image.pixelColor(page.right() + 1, page.top()), QColor(0x80, 0x80, 0x80));
        QCOMPARE(image.pixelColor(page.right() + 2, page.top() + 20), QColor(0x80, 0x80, 0x80));
    }

    void drawErrorShownOnceAfterPainting()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        source.failDraw = true;
        QWidget *viewport = form.preview()->workspace()->viewport();
        const QRect page = form.preview()->state().pageRect(0);
        const QImage image = viewport->grab().toImage();
        viewport->grab();
        QCOMPARE(m_messages.size(), 0);
        QTRY_COMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().text.startsWith(u"Nem találom az osztályt"_s));
        QCOMPARE(image.pixelColor(page.left() + 1, page.top() + 20), QColor(Qt::white));
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), 1);
    }

    void saveForcesPrpAndResetsThePage()
    {
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        QString filter;
        hooks.saveFileName = [&](QWidget *, const QString &f) {
            filter = f;
            return QStringLiteral("/tmp/preview-test/bevallas.txt");
        };
        TrepPreviewForm form(nullptr, hooks);
        showAt(form, source);
        TrepPreview *preview = form.preview();
        bool lockedWhileSaving = false;
        QString message;
        source.onSave = [&](const QString &) {
            lockedWhileSaving = preview->locked();
            message = preview->messagePanel()->findChild<QLabel *>()->text();
        };
        QTest::keyClick(preview, Qt::Key_End);
        QTest::keyClick(preview, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(filter, u"Előkészített riport (*.prp)"_s);
        QCOMPARE(source.savedTo, QStringLiteral("/tmp/preview-test/bevallas.prp"));
        QVERIFY(lockedWhileSaving);
        QCOMPARE(message, u"Fájl mentése..."_s);
        QVERIFY(!preview->locked());
        QVERIFY(!preview->messagePanel()->isVisible());
        QCOMPARE(preview->currentPage(), 1);
        QCOMPARE(form.pageText(), u"2. oldal 2 oldalból"_s);

        // A failing save is shown once the event loop has it back, and still unlocks.
        source.onSave = [](const QString &) { throw rt::Exception(QStringLiteral("Hozzáférés megtagadva")); };
        QTest::keyClick(preview, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!preview->locked());
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().text.startsWith(QStringLiteral("Hozzáférés megtagadva")));
        QVERIFY(!preview->locked());
    }

    void printWithoutPrinter()
    {
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        int printed = 0;
        hooks.hasPhysicalPrinter = [] { return false; };
        hooks.print = [&](PreviewPrintHost &) { ++printed; };
        TrepPreviewForm form(nullptr, hooks);
        form.init(&source, declarationOptions());
        QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("PrintB")), Qt::LeftButton);
        QCOMPARE(printed, 0);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().caption, u"Hiba"_s);
        QCOMPARE(m_messages.first().text, u"Nincs nyomtató telepítve"_s);
    }

    void printShowsProgressAndUnlocks_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::newRow("printed, cancelled at page 2") << "printed";
        QTest::newRow("dialog cancelled") << "cancelled";
        QTest::newRow("job failed") << "error";
        QTest::newRow("window closed while page 1 prints") << "closed";
    }
    void printShowsProgressAndUnlocks()
    {
        QFETCH(QString, outcome);
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        hooks.hasPhysicalPrinter = [] { return true; };
        int pageForDialog = 0;
        QStringList shown;
        bool stopSeen = false;
        TrepPreviewForm *formPtr = nullptr;
        hooks.print = [&](PreviewPrintHost &host) {
            pageForDialog = host.currentPage();
            if (outcome == QLatin1String("cancelled"))
                return;
            host.lock();
            if (outcome == QLatin1String("error"))
                throw rt::Exception(QStringLiteral("Nyomtatási hiba"));
            for (int page = 1; page <= 2 && !host.stopRequested(); ++page) {
                host.pageBeingPrinted(page);
                QFrame *panel = formPtr->preview()->messagePanel();
                shown << panel->findChild<QLabel *>()->text();
                auto *cancel = panel->findChild<QPushButton *>();
                QVERIFY(cancel->isVisible());
                QCOMPARE(cancel->text(), u"Mégsem"_s);
                if (outcome == QLatin1String("closed"))
                    QTest::keyClick(formPtr->preview(), Qt::Key_Escape);
                else
                    QTest::mouseClick(cancel, Qt::LeftButton);
            }
            stopSeen = host.stopRequested();
        };
        TrepPreviewForm form(nullptr, hooks);
        formPtr = &form;
        showAt(form, source);
        TrepPreview *preview = form.preview();
        QTest::keyClick(preview, Qt::Key_End);
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(pageForDialog, 2);
        if (outcome == QLatin1String("printed") || outcome == QLatin1String("closed")) {
            QCOMPARE(shown, QStringList({u"Oldal nyomtatása 1"_s}));
            QVERIFY(stopSeen);
        }
        QCOMPARE(form.isVisible(), outcome != QLatin1String("closed"));
        QVERIFY(!preview->locked());
        QVERIFY(!preview->messagePanel()->isVisible());
        QCOMPARE(preview->currentPage(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), outcome == QLatin1String("error") ? 1 : 0);
    }

    // While printing holds the preview, its commands do nothing: a second print would end the
    // first one's document under it. The panel's "Mégsem" still stops the job.
    void lockedPreviewIgnoresCommands_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("job runs on") << false;
        QTest::newRow("Mégsem stops it") << true;
    }
    void lockedPreviewIgnoresCommands()
    {
        QFETCH(bool, cancel);
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        hooks.hasPhysicalPrinter = [] { return true; };
        int prints = 0, saves = 0, searches = 0, pdfs = 0;
        hooks.saveFileName = [&](QWidget *, const QString &) {
            ++saves;
            return QString();
        };
        hooks.savePdf = [&](QWidget *) { ++pdfs; };
        hooks.askSearch = [&](QWidget *, const QString &) {
            ++searches;
            return SearchRequest{true, QStringLiteral("bevallás"), true, false};
        };
        TrepPreviewForm form(nullptr, hooks);
        TrepPreview *preview = form.preview();
        QList<int> printed;
        bool lockedAfterCommands = false;
        hooks.print = [&](PreviewPrintHost &host) {
            if (++prints > 1)
                return; // a second print is counted, not run
            host.lock();
            for (int page = 1; page <= 2 && !host.stopRequested(); ++page) {
                host.pageBeingPrinted(page);
                printed << page;
                if (page == 1) {
                    pressEveryCommand(form);
                    lockedAfterCommands = preview->locked();
                    if (cancel)
                        QTest::mouseClick(preview->messagePanel()->findChild<QPushButton *>(), Qt::LeftButton);
                }
            }
        };
        preview->setHooks(hooks);
        showAt(form, source);
        // A search first, so that F3 has one to continue.
        QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
        const QRect hit = preview->workspace()->hitRect();
        QVERIFY(!hit.isEmpty());

        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(prints, 1);
        QCOMPARE(saves, 0);
        QCOMPARE(pdfs, 0);
        QCOMPARE(searches, 1);
        QVERIFY(lockedAfterCommands);
        QCOMPARE(printed, cancel ? QList<int>{1} : QList<int>({1, 2}));
        QVERIFY(!preview->locked());
        QCOMPARE(preview->workspace()->hitRect(), hit);
        // Unlocked, the commands work again.
        QTest::keyClick(preview, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves, 1);
        QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("PdfB")), Qt::LeftButton);
        QCOMPARE(pdfs, 1);
    }

    // The PDF button stands after the print button when the program can write a PDF; an error
    // of the writing is shown once, afterwards, and leaves the preview ready.
    void pdfButton()
    {
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        QList<QWidget *> parents;
        bool fail = false;
        hooks.savePdf = [&](QWidget *parent) {
            parents << parent;
            if (fail)
                throw rt::Exception(u"A PDF nem menthető: x.pdf"_s);
        };
        TrepPreviewForm form(nullptr, hooks);
        showAt(form, source);
        QStringList visible;
        for (QWidget *w : form.toolbarControls())
            if (w->isVisibleTo(&form))
                visible << w->objectName();
        QCOMPARE(visible.mid(0, 3), (QStringList{u"PrintB"_s, u"PdfB"_s, u"Sep1"_s}));
        auto *pdf = form.findChild<QToolButton *>(u"PdfB"_s);
        QCOMPARE(pdf->toolTip(), u"PDF"_s);
        QTest::mouseClick(pdf, Qt::LeftButton);
        QCOMPARE(parents, QList<QWidget *>{form.preview()});

        fail = true;
        QTest::mouseClick(pdf, Qt::LeftButton);
        QCOMPARE(m_messages.size(), 0);
        QVERIFY(!form.preview()->busy());
        QTRY_COMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, u"A PDF nem menthető: x.pdf."_s);
    }

    // An error leaving any part of a command, its dialogs included, is shown once after the
    // event has been handled, and leaves the preview unlocked and ready.
    void commandErrorsShownOnce_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("key");
        QTest::newRow("print, not a std::exception") << "print" << int(Qt::Key_P);
        QTest::newRow("save dialog") << "save dialog" << int(Qt::Key_S);
        QTest::newRow("search dialog") << "search dialog" << int(Qt::Key_F);
        QTest::newRow("page texts") << "page texts" << int(Qt::Key_F);
    }
    void commandErrorsShownOnce()
    {
        QFETCH(QString, failing);
        QFETCH(int, key);
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        hooks.hasPhysicalPrinter = [] { return true; };
        const auto failIf = [&](const char *part) {
            if (failing == QLatin1String(part))
                throw rt::Exception(QStringLiteral("Hiba: ") + failing);
        };
        hooks.print = [&](PreviewPrintHost &host) {
            host.lock();
            if (failing == QLatin1String("print"))
                throw 42;
        };
        hooks.saveFileName = [&](QWidget *, const QString &) {
            failIf("save dialog");
            return QString();
        };
        hooks.askSearch = [&](QWidget *, const QString &) {
            failIf("search dialog");
            // The search records the pages by drawing them.
            source.failDraw = failing == QLatin1String("page texts");
            return SearchRequest{true, QStringLiteral("bevallás"), true, false};
        };
        TrepPreviewForm form(nullptr, hooks);
        showAt(form, source);
        TrepPreview *preview = form.preview();
        QTest::keyClick(preview, Qt::Key(key), Qt::ControlModifier);
        source.failDraw = false; // the workspace's own repaint shows nothing further
        QCOMPARE(m_messages.size(), 0);
        QVERIFY(!preview->busy());
        QVERIFY(!preview->messagePanel()->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(m_messages.size(), 1);
    }

    void findHighlightsAndF3Continues()
    {
        FakePageSource source(twoPages());
        PreviewHooks hooks;
        SearchRequest request{true, QStringLiteral("bevallás"), true, false};
        QString offered;
        hooks.askSearch = [&](QWidget *, const QString &last) {
            offered = last;
            return request;
        };
        TrepPreviewForm form(nullptr, hooks);
        showAt(form, source);
        TrepPreview *preview = form.preview();
        auto *workspace = preview->workspace();
        QVERIFY(workspace->hitRect().isEmpty());

        QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
        QRect hit = workspace->hitRect();
        QVERIFY(!hit.isEmpty());
        // The hit on page 2 was scrolled into view, its bottom 20 pixels above the view's bottom.
        QCOMPARE(hit.bottom() + 1, workspace->viewport()->height() - 20);
        QVERIFY(darkShare(workspace->viewport()->grab().toImage(), hit) > 60);

        QTest::keyClick(preview, Qt::Key_F3);
        const QRect second = workspace->hitRect();
        QVERIFY(second.top() > hit.top() || workspace->verticalScrollBar()->value() > 0);
        QVERIFY(second != hit);
        QTest::keyClick(preview, Qt::Key_F3); // no further hit: nothing changes
        QCOMPARE(workspace->hitRect(), second);

        request.caseSensitive = true;
        QTest::keyClick(form.zoomBox()->lineEdit(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(offered, QStringLiteral("bevallás"));
        QVERIFY(!workspace->hitRect().isEmpty());

        // The next window of the run offers the last confirmed text.
        request.text = QStringLiteral("telek");
        QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
        TrepPreviewForm other(nullptr, hooks);
        other.init(&source, declarationOptions());
        QTest::keyClick(other.preview(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(offered, QStringLiteral("telek"));
    }

    void findThroughTheSearchDialog()
    {
        FakePageSource source(twoPages());
        TrepPreviewForm form(nullptr);
        showAt(form, source);
        bool dialogSeen = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TrepSearchDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            // The preview that opened it owns it.
            dialogSeen = dialog->parentWidget() && dialog->parentWidget()->window() == &form;
            dialog->findChild<QLineEdit *>(QStringLiteral("TextE"))->setText(u"adózó"_s);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OkB")), Qt::LeftButton);
        });
        QTest::keyClick(form.preview(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dialogSeen);
        const QRect page = form.preview()->state().pageRect(0);
        const QRect hit = form.preview()->workspace()->hitRect();
        QVERIFY(!hit.isEmpty());
        QVERIFY(page.contains(hit.center()));
    }

    void searchDialogTexts()
    {
        TrepSearchDialog dialog({}, nullptr);
        dialog.setSearchText(QStringLiteral("adó"));
        QCOMPARE(dialog.windowTitle(), u"Szövegkereső"_s);
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("TextL"))->text(), u"Keresendő szöveg:"_s);
        QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("SearchL"))->title(), u"Keresési opciók  "_s);
        auto *top = dialog.findChild<QCheckBox *>(QStringLiteral("TopCB"));
        auto *caseCB = dialog.findChild<QCheckBox *>(QStringLiteral("CaseCB"));
        QCOMPARE(top->text(), u"Elölről keres"_s);
        QCOMPARE(caseCB->text(), u"Kis-, nagybetűérzékenyen"_s);
        QVERIFY(!top->isChecked() && !caseCB->isChecked());
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("CancelB"))->text(), u"Mégsem"_s);
        QVERIFY(!dialog.findChild<QLabel *>(QStringLiteral("ReplaceL"))->isVisibleTo(&dialog));
        QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("TextE"))->selectedText(), QStringLiteral("adó"));
    }

    void showPreparedReportRunsModally()
    {
        FakePageSource source(twoPages());
        QString caption;
        QTimer::singleShot(0, [&] {
            auto *form = qobject_cast<TrepPreviewForm *>(QApplication::activeModalWidget());
            if (!form)
                return;
            caption = form->windowTitle() + QLatin1Char('|') + form->pageText();
            QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("CancelB")), Qt::LeftButton);
        });
        showPreparedReport(source, declarationOptions(), {});
        QCOMPARE(caption, u"Előkép|1. oldal 2 oldalból"_s);
        QVERIFY(QApplication::topLevelWidgets().size() <= 1 || !qobject_cast<TrepPreviewForm *>(QApplication::activeModalWidget()));
    }
};

QTEST_MAIN(TestPreviewForm)
#include "test_previewform.moc"
