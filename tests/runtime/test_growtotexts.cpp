// Designed controls grow to their texts: the grown control's neighbours move along, group
// boxes and the window grow around them, and nothing changes while every text fits.

#include "runtime/ui/growtotexts.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTest>

namespace {

// A small designed dialog: in a group, a radio button with an edit right of it and a
// word-wrapped hint below; under the group a button.
struct Designed
{
    QDialog window;
    QGroupBox *group = new QGroupBox(QStringLiteral("Oldalak"), &window);
    QRadioButton *radio = new QRadioButton(QStringLiteral("Oldalak:"), group);
    QLineEdit *edit = new QLineEdit(group);
    QLabel *hint = new QLabel(group);
    QPushButton *ok = new QPushButton(QStringLiteral("OK"), &window);

    explicit Designed(int pixelSize)
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(pixelSize);
        window.setFont(f);
        window.setFixedSize(280, 170);
        group->setGeometry(4, 4, 261, 117);
        radio->setGeometry(8, 20, 62, 17);
        edit->setGeometry(72, 18, 165, 21);
        hint->setGeometry(8, 42, 249, 29);
        hint->setWordWrap(true);
        hint->setText(QString::fromUtf16(u"Adjon meg oldalszámokat vagy tartományokat, vesszővel elválasztva. "
                                         u"Például 1,3,5-12"));
        ok->setGeometry(190, 130, 75, 25);
    }

    int hintNeeds() const
    {
        return QFontMetrics(hint->font()).boundingRect(QRect(0, 0, hint->width(), 10000), Qt::TextWordWrap,
                                                       hint->text()).height();
    }
};

} // namespace

class TestGrowToTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittingTextsChangeNothing()
    {
        Designed d(6);
        rt::growToTexts(&d.window);
        QCOMPARE(d.radio->geometry(), QRect(8, 20, 62, 17));
        QCOMPARE(d.edit->geometry(), QRect(72, 18, 165, 21));
        QCOMPARE(d.hint->geometry(), QRect(8, 42, 249, 29));
        QCOMPARE(d.group->geometry(), QRect(4, 4, 261, 117));
        QCOMPARE(d.window.size(), QSize(280, 170));
    }

    void grownTextsPushTheirNeighbours()
    {
        Designed d(14);
        rt::growToTexts(&d.window);

        // The radio button grew to its text and the edit of its row moved right by as much.
        const int wider = d.radio->width() - 62;
        QVERIFY(wider > 0);
        QStyleOptionButton opt;
        opt.initFrom(d.radio);
        const QRect room = d.radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, d.radio);
        QVERIFY(QFontMetrics(d.radio->font()).horizontalAdvance(d.radio->text()) <= room.width());
        QCOMPARE(d.edit->geometry(), QRect(72 + wider, 18, 165, 21));

        // The hint holds all its lines; the group grew by what its contents grew below and to
        // the right, and the button under the group moved down with it.
        const int taller = d.hint->height() - 29;
        QVERIFY(taller > 0);
        QVERIFY(d.hint->height() >= d.hintNeeds());
        QCOMPARE(d.hint->geometry().topLeft(), QPoint(8, 42));
        const int groupWider = std::max(0, d.edit->geometry().right() - (8 + 249 - 1));
        QCOMPARE(d.group->geometry(), QRect(4, 4, 261 + groupWider, 117 + taller));
        QCOMPARE(d.ok->geometry(), QRect(190, 130 + taller, 75, 25));

        // The fixed-size window stays fixed, at the grown size.
        QCOMPARE(d.window.size(), QSize(280 + groupWider, 170 + taller));
        QCOMPARE(d.window.minimumSize(), d.window.maximumSize());

        // Once everything fits, another call changes nothing.
        const QRect group = d.group->geometry();
        rt::growToTexts(&d.window);
        QCOMPARE(d.group->geometry(), group);
    }

    void hiddenControlsNeitherGrowNorPush()
    {
        Designed d(14);
        d.hint->hide();
        rt::growToTexts(&d.window);
        QCOMPARE(d.hint->geometry(), QRect(8, 42, 249, 29));
        QCOMPARE(d.ok->geometry(), QRect(190, 130, 75, 25));
    }
};

QTEST_MAIN(TestGrowToTexts)
#include "test_growtotexts.moc"
