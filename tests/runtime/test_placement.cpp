#include "runtime/ui/placement.h"

#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestPlacement : public QObject
{
    Q_OBJECT

    // Shows the dialog modally and returns its frame as it stood while shown.
    static QRect frameWhileShown(QDialog &dialog)
    {
        QRect seen;
        QTimer::singleShot(0, &dialog, [&] {
            seen = dialog.frameGeometry();
            dialog.reject();
        });
        dialog.exec();
        return seen;
    }

private Q_SLOTS:
    void centredFrame_data()
    {
        QTest::addColumn<QRect>("over");
        QTest::addColumn<QSize>("frameSize");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QPoint>("topLeft");
        const QRect screen(0, 0, 1280, 1024);
        // The guide window, 696 x 480, in a frame of 1, 1, 20, 5.
        const QSize guide(698, 505);
        QTest::newRow("on the whole screen") << screen << guide << screen << QPoint(291, 259);
        QTest::newRow("over a maximized window") << QRect(0, 0, 1280, 994) << QSize(479, 284)
                                                 << QRect(0, 0, 1280, 994) << QPoint(400, 355);
        QTest::newRow("panel at the bottom, room left") << screen << guide << QRect(0, 0, 1280, 994)
                                                        << QPoint(291, 259);
        QTest::newRow("panel at the bottom, pushed up") << screen << guide << QRect(0, 0, 1280, 700)
                                                        << QPoint(291, 195);
        QTest::newRow("panel on the left, pushed right") << QRect(0, 0, 800, 600) << guide
                                                         << QRect(100, 0, 700, 600) << QPoint(100, 47);
        QTest::newRow("owner near the right edge") << QRect(900, 100, 300, 200) << QSize(400, 300) << screen
                                                   << QPoint(850, 50);
        QTest::newRow("larger than the work area: title bar inside")
            << QRect(0, 0, 800, 480) << guide << QRect(0, 30, 800, 450) << QPoint(51, 30);
        QTest::newRow("second screen") << QRect(1280, 0, 1024, 768) << guide << QRect(1280, 0, 1024, 768)
                                       << QPoint(1443, 131);
    }
    void centredFrame()
    {
        QFETCH(QRect, over);
        QFETCH(QSize, frameSize);
        QFETCH(QRect, workArea);
        QFETCH(QPoint, topLeft);
        QCOMPARE(rt::centredFrame(over, frameSize, workArea), QRect(topLeft, frameSize));
    }

    // A dialog opens centred over its parent's window, and again after that window moved; a
    // message box, which takes its size only when shown, likewise over the active window.
    void dialogsOpenOverTheirOwner()
    {
        QWidget owner;
        owner.setGeometry(80, 120, 600, 400);
        owner.show();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        const QRect work = owner.screen()->availableGeometry();

        QDialog dialog(&owner);
        dialog.setFixedSize(200, 100);
        rt::centreOverOwner(&dialog);
        QCOMPARE(frameWhileShown(dialog).center(), owner.frameGeometry().center());
        owner.move(150, 200);
        QTRY_COMPARE(owner.pos(), QPoint(150, 200));
        QCOMPARE(frameWhileShown(dialog).center(), owner.frameGeometry().center());

        owner.activateWindow();
        QTRY_VERIFY(owner.isActiveWindow());
        QMessageBox box(QMessageBox::Critical, QStringLiteral("telekado"),
                        QStringLiteral("A message long enough to widen the box beyond its first size."),
                        QMessageBox::Ok);
        rt::centreOverOwner(&box);
        const QRect boxFrame = frameWhileShown(box);
        QVERIFY(work.contains(boxFrame));
        QCOMPARE(boxFrame.center(), owner.frameGeometry().center());
    }
};

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
