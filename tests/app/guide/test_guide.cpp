#include "app/window/form1layout.h"
#include "app/guide/captions.h"
#include "app/guide/tform2.h"
#include "controls/richtext/richtextlayout.h"
#include "controls/richtext/rtfreader.h"
#include "controls/richtext/ui/tctlrichscrollbox.h"
#include "controls/richtext/ui/trtflabel.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

QList<QTextBlock> textBlocks(const QTextDocument &d)
{
    QList<QTextBlock> list;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        if (!b.text().trimmed().isEmpty())
            list << b;
    return list;
}

QTextCharFormat formatAt(const QTextBlock &b, const QString &target)
{
    const qsizetype at = b.text().indexOf(target);
    if (at < 0)
        return {};
    for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const int rel = f.position() - b.position();
        if (at >= rel && at < rel + f.length())
            return f.charFormat();
    }
    return {};
}

// Where the image of a scroll box's text is visible: rows of the text area that hold dark pixels.
bool hasInk(const QImage &img, const QRect &r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void guideParagraphs_data();
    void guideParagraphs();
    void viewerScrollsVertically();
    void lastParagraphCanBeScrolledTo();
    void shownModallyWithTheSameDocumentEachTime();
    void readWithTheKeyboard();
    void captionsMatchTheirTexts();
    void titleBreaksOntoSecondLine();
};

void TestGuide::guideParagraphs_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("marked");    // a part with emphasis
    QTest::addColumn<QString>("emphasis");  // b, i, u, bu, sup or -
    QTest::addColumn<QString>("plain");     // a part without emphasis, or empty

    const int c = Qt::AlignHCenter;
    const int j = Qt::AlignJustify;
    const int l = Qt::AlignLeft;
    auto row = [](const char *name) { return &QTest::newRow(name); };
    *row("1 title") << 0 << "A telekadó bevallás kitöltéséhez" << "kitöltéséhez" << c << "telekadó" << "b" << "";
    *row("2 subtitle") << 1 << "(a telekadó m2-ben" << "megállapításához)" << c << "2" << "sup" << "";
    *row("3 duty") << 2 << "Ezt a bevallási nyomtatványt" << "beépítetlen belterületi földrészletről." << j
                   << "beépítetlen belterületi földrészletről." << "b" << "minden";
    *row("4 built plots") << 3 << "Ugyancsak adóbevallást" << "-  mértékét meghaladja." << j << "" << "-" << "Ugyancsak";
    *row("5 exceptions") << 4 << "A bevallási kötelezettség alól" << "van kivétel:" << j << "kivétel" << "u" << "";
    *row("6 item A") << 5 << "A) azokról a földrészekről" << "tartozó földrészletről." << j << "" << "-" << "azokról";
    *row("7 item B") << 6 << "B)  mezőgazdasági szakcsoportnak" << "nem keletkezett." << j << "" << "-" << "szervnek";
    *row("8 reference") << 7 << "Htv. 3. §. (2) bekezdés." << "bekezdés." << j << "" << "-" << "Htv";
    *row("9 declaration") << 8 << "Az a/ pont alatti mentesség" << "az adóhatósághoz." << j << "Nyilatkozat" << "b" << "„";
    *row("10 registered rights") << 9 << "Fontos tudnivaló" << "vagyoni értékű jognak." << j << "" << "-" << "Fontos";
    *row("11 unbuilt") << 10 << "Beépítetlen az önálló" << "nem vettek használatba." << j << "" << "-" << "önálló";
    *row("12 heading 1-2") << 11 << "Az 1-2. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("13 co-owners") << 12 << "Gyakori, hogy egy teleknek" << "köteles(ek) aláírni." << j << "" << "-" << "Gyakori";
    *row("14 heading 3") << 13 << "A 3. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("15 answer") << 14 << "A megfelelő válasz aláhúzandó." << "aláhúzandó." << j << "" << "-" << "válasz";
    *row("16 heading 4") << 15 << "A 4. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("17 answer") << 16 << "A megfelelő válasz aláhúzandó." << "aláhúzandó." << j << "" << "-" << "válasz";
    *row("18 heading 5") << 17 << "Az 5. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("19 one per plot") << 18 << "Minden helyrajzi számmal" << "kell készíteni." << j << "Minden" << "bu" << ".";
    *row("20 heading 6") << 19 << "A 6. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("21 when due") << 20 << "Az adókötelezettséget a törvény" << "kell megtenni." << j << "" << "-" << "törvény";
    *row("22 heading 7") << 21 << "A 7. ponthoz:" << "ponthoz:" << l << "ponthoz" << "b" << "";
    *row("23 assessment") << 22 << "Az adó megállapítása." << "megállapítása." << j << "" << "-" << "adó";
    *row("24 structure") << 23 << "építmény: olyan ingatlan" << "létesített építmény." << j << "építmény" << "bu" << "olyan";
    *row("24 colon italic") << 23 << "építmény:" << "építmény." << j << ":" << "i" << "";
    *row("25 building") << 24 << "épület: az olyan építmény" << "ellátott része." << j << "épület" << "bu" << "az olyan";
    *row("26 payment") << 25 << "Befizetéseiket az Aranyhíd Bank Rt-nél" << "kell teljesíteni." << j << "Befizetéseiket" << "b" << "";
}

void TestGuide::guideParagraphs()
{
    QFETCH(int, index);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, align);
    QFETCH(QString, marked);
    QFETCH(QString, emphasis);
    QFETCH(QString, plain);

    QTextDocument d;
    const rtf::ReadResult r = rtf::readRtf(guide::guideRtf(), d);
    QVERIFY2(r.ok, qPrintable(r.errorString));
    const QList<QTextBlock> blocks = textBlocks(d);
    QCOMPARE(blocks.size(), 26);
    const QTextBlock b = blocks.at(index);
    QVERIFY2(b.text().startsWith(start), qPrintable(b.text()));
    QVERIFY2(b.text().endsWith(end), qPrintable(b.text()));
    QCOMPARE(int(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask), align);
    if (align == Qt::AlignJustify && index != 25 && index != 5 && index != 6)
        QCOMPARE(b.blockFormat().leftMargin(), 284 / 15.0);
    if (!marked.isEmpty()) {
        const QTextCharFormat f = formatAt(b, marked);
        if (emphasis == u"b" || emphasis == u"bu")
            QVERIFY(f.fontWeight() >= QFont::Bold);
        if (emphasis == u"u" || emphasis == u"bu")
            QVERIFY(f.fontUnderline());
        if (emphasis == u"i")
            QVERIFY(f.fontItalic());
        if (emphasis == u"sup")
            QCOMPARE(f.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    }
    if (!plain.isEmpty()) {
        const QTextCharFormat f = formatAt(b, plain);
        QVERIFY(f.fontWeight() < QFont::Bold && !f.fontUnderline());
    }
}

void TestGuide::viewerScrollsVertically()
{
    guide::TForm2 form;
    rtf::TCtlRichScrollBox *viewer = form.CtlRichScrollBox1();
    QCOMPARE(viewer->geometry(), QRect(16, 16, 625, 385));
    QCOMPARE(form.Panel1()->geometry(), QRect(16, 16, 657, 417));
    QCOMPARE(form.windowTitle(), QStringLiteral("Kitöltési útmutató"));
    const QImage &image = viewer->renderedImage();
    QVERIFY(image.height() > 385);
    QVERIFY(viewer->verticalBar()->isVisibleTo(viewer));
    QVERIFY(!viewer->horizontalBar()->isVisibleTo(viewer));

    // Measured narrower, so that no word lies under the bar.
    const int thickness = viewer->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, viewer);
    QCOMPARE(image.width(), 625 - 4 - thickness - 1);
    QCOMPARE(viewer->textArea().right(), viewer->verticalBar()->geometry().left() - 4);
    QTextDocument &d = viewer->model().document();
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        const QRectF br = d.documentLayout()->blockBoundingRect(b);
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            const QTextLine line = b.layout()->lineAt(i);
            QVERIFY2(br.left() + line.x() + line.naturalTextWidth() <= image.width() + 0.5, qPrintable(b.text()));
        }
    }
    QCOMPARE(viewer->verticalBar()->pageStep(), viewer->textArea().height() - 4);
    QCOMPARE(viewer->verticalBar()->singleStep(), image.height() / int(viewer->lines().size()));
}

void TestGuide::lastParagraphCanBeScrolledTo()
{
    guide::TForm2 form;
    rtf::TCtlRichScrollBox *viewer = form.CtlRichScrollBox1();
    form.show();
    QScrollBar *bar = viewer->verticalBar();
    const QRect area = viewer->textArea();

    // At the end of its range the bar shows the image's last rows inside the text area.
    bar->setValue(bar->maximum());
    QCOMPARE(bar->value(), viewer->renderedImage().height() - area.height() + 4);
    const QImage shot = viewer->grab().toImage();
    const int lastInkRow = [&] {
        const QImage &img = viewer->renderedImage();
        for (int y = img.height() - 1; y >= 0; --y)
            if (hasInk(img, QRect(0, y, img.width(), 1)))
                return y;
        return -1;
    }();
    QVERIFY(lastInkRow > 385);
    const int onScreen = area.top() + lastInkRow - bar->value();
    QVERIFY(onScreen <= area.bottom());
    QVERIFY(hasInk(shot, QRect(area.left(), onScreen, area.width(), 1)));
    if (!qEnvironmentVariableIsEmpty("TK_BUILD_DIR"))
        shot.save(qEnvironmentVariable("TK_BUILD_DIR") + QStringLiteral("/guide_end.png"));
    bar->setValue(0);
    if (!qEnvironmentVariableIsEmpty("TK_BUILD_DIR"))
        form.grab().save(qEnvironmentVariable("TK_BUILD_DIR") + QStringLiteral("/guide_start.png"));
}

void TestGuide::shownModallyWithTheSameDocumentEachTime()
{
    QWidget mainWindow;
    mainWindow.show();
    guide::TForm2 form;
    QVERIFY(!form.isVisible());
    QList<QImage> seen;
    for (int round = 0; round < 2; ++round) {
        bool wasModal = false;
        QTimer::singleShot(0, &form, [&] {
            wasModal = QApplication::activeModalWidget() == &form && form.isVisible();
            seen << form.CtlRichScrollBox1()->renderedImage();
            form.close();
        });
        form.showModal();
        QVERIFY(wasModal);
        QVERIFY(!form.isVisible());
    }
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), seen.at(1));
}

// The guide takes the focus when shown; the keys scroll it, a screen reader knows it by the
// window's caption and reads its text whole.
void TestGuide::readWithTheKeyboard()
{
    guide::TForm2 form;
    rtf::TCtlRichScrollBox *viewer = form.CtlRichScrollBox1();
    QScrollBar *bar = viewer->verticalBar();
    int afterPageDown = -1, atEnd = -1;
    QWidget *focused = nullptr;
    QTimer::singleShot(0, &form, [&] {
        if (QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }))
            focused = QApplication::focusWidget();
        if (!focused) {
            form.close();
            return;
        }
        QTest::keyClick(focused, Qt::Key_PageDown);
        afterPageDown = bar->value();
        QTest::keyClick(focused, Qt::Key_End);
        atEnd = bar->value();
        QTest::keyClick(focused, Qt::Key_Escape);
    });
    form.showModal();
    QCOMPARE(focused, viewer);
    QCOMPARE(afterPageDown, bar->pageStep());
    QCOMPARE(atEnd, bar->maximum());
    QVERIFY(!form.isVisible());

    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(viewer);
    QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Kitöltési útmutató"));
    QVERIFY(i->state().readOnly);
    QVERIFY(i->state().focusable);
    const QString text = i->textInterface()->text(0, -1);
    QVERIFY(text.startsWith(QStringLiteral("A telekadó bevallás kitöltéséhez\n")));
    QVERIFY(text.contains(QStringLiteral("„Nyilatkozat”")));
    QVERIFY(text.trimmed().endsWith(QStringLiteral("számlára kell teljesíteni.")));
}

void TestGuide::captionsMatchTheirTexts()
{
    const QList<app::CaptionPlacement> &captions = app::form1Captions();
    QCOMPARE(captions.size(), 47);
    QCOMPARE(guide::captionComponents().size(), 47);
    QWidget parent;
    for (const app::CaptionPlacement &c : captions) {
        const QByteArray rtf = guide::captionRtf(c.component);
        QVERIFY2(!rtf.isEmpty(), qPrintable(c.component));
        QTextDocument d;
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        rtf::ReadOptions options;
        options.defaultFont = font;
        const rtf::ReadResult r = rtf::readRtf(rtf, d, options);
        QVERIFY2(r.ok, qPrintable(c.component + QLatin1Char(' ') + r.errorString));
        QCOMPARE(d.toPlainText(), c.text);
        // Each caption fits its box whole: the RTF caption from (1, 1), the rich label inside its margin.
        const bool rtfLabel = c.component.startsWith(u"RTFLabel");
        const QSize room = rtfLabel ? c.bounds.size() - QSize(1, 1) : c.bounds.size() - QSize(4, 4);
        const rtf::Fit fit = rtf::fitDocument(d, room.width(), room.height());
        QVERIFY2(fit.complete, qPrintable(c.component));
    }
    QVERIFY(guide::captionRtf(QStringLiteral("RTFLabel999")).isEmpty());
    QVERIFY(guide::captionRtf(QStringLiteral("../guide")).isEmpty());
}

void TestGuide::titleBreaksOntoSecondLine()
{
    QWidget parent;
    parent.resize(800, 200);
    auto *label = new rtf::TRTFLabel(&parent);
    label->setGeometry(24, 16, 721, 73);
    label->setRichText(guide::captionRtf(QStringLiteral("RTFLabel1")));
    const QImage shot = label->grab().toImage();
    const rtf::Fit fit = rtf::fitDocument(label->document(), 720, 72);
    QCOMPARE(fit.lineCount, 2);
    QVERIFY(fit.complete);
    const QTextLine first = label->document().begin().layout()->lineAt(0);
    QVERIFY(first.naturalTextWidth() <= 720);
    // Ink on both lines, none right of the label's edge (there is none) nor below the text.
    QVERIFY(hasInk(shot, QRect(1, 1, 720, int(first.height()))));
    QVERIFY(hasInk(shot, QRect(1, 1 + int(first.height()) + 1, 720, fit.usedHeight - int(first.height()) - 1)));
    QVERIFY(!hasInk(shot, QRect(0, fit.usedHeight + 2, 721, 73 - fit.usedHeight - 2)));
    if (!qEnvironmentVariableIsEmpty("TK_BUILD_DIR"))
        shot.save(qEnvironmentVariable("TK_BUILD_DIR") + QStringLiteral("/guide_title.png"));
}

QTEST_MAIN(TestGuide)
#include "test_guide.moc"
