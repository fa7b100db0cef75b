#include "controls/common/ui/warninglook.h"
#include "controls/maskedit/ui/ctlmaskedit.h"
#include "controls/panels/ui/stylededit.h"
#include "controls/radiogroup/ui/ctlradiogroup.h"

#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QColor ground = QColor::fromRgb(ctl::warningGroundRgb);
const QColor frame = QColor::fromRgb(ctl::warningFrameRgb);

// One control of each kind, filled the way the form fills it, with its warning switch and the
// value the switch must leave alone.
struct Kind
{
    std::unique_ptr<QWidget> widget;
    std::function<void(bool)> setWarning;
    std::function<QString()> value;
};

Kind makeKind(const QString &kind)
{
    QFont arial(u"Arial"_s);
    arial.setPixelSize(13);
    Kind k;
    if (kind == u"text edit") {
        auto *e = new ctl::TStyledEdit;
        e->setText(u"Kovács Őrs"_s);
        e->setGeometry(0, 0, 177, 21);
        k.widget.reset(e);
        k.setWarning = [e](bool on) { e->setWarning(on); };
        k.value = [e] { return e->text(); };
    } else if (kind == u"masked edit") {
        auto *e = new ctl::TCtlMaskEdit;
        e->setBlankChar(u'*');
        e->setMask(u"8888888888"_s);
        e->setText(u"836567****"_s);
        e->setGeometry(0, 0, 177, 21);
        k.widget.reset(e);
        k.setWarning = [e](bool on) { e->setWarning(on); };
        k.value = [e] { return e->text(); };
    } else {
        auto *g = new ctl::TCtlRadioGroup;
        g->setFont(arial);
        g->setCaption(u"Használat tipusa"_s);
        g->setItems({u"kizárólagos tulajdonos"_s, u"résztulajdonos"_s, u"bérlő"_s});
        g->setColumns(3);
        g->setGeometry(0, 0, 473, 57);
        k.widget.reset(g);
        k.setWarning = [g](bool on) { g->setWarning(on); };
        k.value = [g] { return QString::number(g->ItemIndex()); };
    }
    k.widget->setFont(arial);
    return k;
}

int countOf(const QImage &image, const QColor &colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

int darkPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 96;
    return n;
}

} // namespace

class TestWarningLook : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QPoint>("inside"); // a point of the ground, away from any text
        QTest::newRow("text edit") << u"text edit"_s << QPoint(170, 10);
        QTest::newRow("masked edit") << u"masked edit"_s << QPoint(170, 10);
        QTest::newRow("radio group") << u"radio group"_s << QPoint(466, 50);
    }
    // Every kind shows the same ground and frame, keeps its dark text readable on them, and looks
    // exactly as before once the warning goes; the value never changes.
    void kinds()
    {
        QFETCH(QString, kind);
        QFETCH(QPoint, inside);
        Kind k = makeKind(kind);
        const QString value = k.value();
        const QImage plain = k.widget->grab().toImage();
        QCOMPARE(countOf(plain, ground), 0);
        QCOMPARE(countOf(plain, frame), 0);

        k.setWarning(true);
        const QImage warned = k.widget->grab().toImage();
        QCOMPARE(warned.pixelColor(inside), ground);
        const int left = kind == u"radio group" ? 30 : 10; // below the group's caption
        QCOMPARE(warned.pixelColor(0, left), frame);
        QCOMPARE(warned.pixelColor(warned.width() - 1, left), frame);
        QCOMPARE(warned.pixelColor(warned.width() / 2, warned.height() - 1), frame);
        // The text stays as dark as before: nearly the same number of dark pixels.
        QVERIFY(darkPixels(plain) > 20);
        QVERIFY2(qAbs(darkPixels(warned) - countOf(warned, frame) - darkPixels(plain)) < darkPixels(plain) / 5,
                 qPrintable(u"%1 / %2"_s.arg(darkPixels(warned)).arg(darkPixels(plain))));
        QCOMPARE(k.value(), value);

        k.setWarning(true); // again: no change
        QCOMPARE(k.widget->grab().toImage(), warned);
        k.setWarning(false);
        QCOMPARE(k.widget->grab().toImage(), plain);
        QCOMPARE(k.value(), value);
    }

    void propertyOnEachKind_data() { kinds_data(); }
    // The switch is a property of each widget, so tools and tests reach it by name.
    void propertyOnEachKind()
    {
        QFETCH(QString, kind);
        Kind k = makeKind(kind);
        QCOMPARE(k.widget->property("Warning"), QVariant(false));
        QVERIFY(k.widget->setProperty("Warning", true));
        QCOMPARE(k.widget->property("Warning"), QVariant(true));
        QCOMPARE(k.widget->grab().toImage().pixelColor(0, kind == u"radio group" ? 30 : 10), frame);
    }
};

QTEST_MAIN(TestWarningLook)
#include "test_warninglook.moc"
