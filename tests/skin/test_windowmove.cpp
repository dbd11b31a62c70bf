#include "skin/SkinForm.h"
#include "skin/WindowMover.h"
#include "tests/skin/InteractionSkin.h"
#include "tests/skin/SkinFixtures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace interaction;

namespace {

// Sends a pointer event with explicit local and global positions, as the window system would.
void sendMouse(QWidget* widget, QEvent::Type type, QPoint local, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestWindowMove : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_skins = 0;

    bool loadAndShow(SkinHost& host)
    {
        SkinFile file;
        file.hotAreas = {"Play, 10, 10, 40, 40, Start the game"};
        file.trackBars = {"Vol, thumb.bmp, thumbdown.bmp, 60, 100, 100, H, 0, Volume"};
        const QString path = file.write(m_dir.filePath(QStringLiteral("skin%1").arg(++m_skins)));
        if (path.isEmpty())
            return false;
        host.skin->LoadSkin(path);
        host.window.move(100, 80);
        host.window.show();
        return QTest::qWaitForWindowExposed(&host.window) && host.window.pos() == QPoint(100, 80);
    }

private slots:
    void leftPressOnEmptySkinMovesTheWindowAndReportsWhenLetGo()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);

        QTest::mousePress(host.skin, Qt::LeftButton, {}, QPoint(150, 60));
        QCOMPARE(pressed.size(), 0);
        QTest::mouseMove(host.skin, QPoint(162, 67));
        QTRY_COMPARE(host.window.pos(), QPoint(112, 87));
        // The pointer stays on the same spot of the window while it follows.
        QTest::mouseRelease(host.skin, Qt::LeftButton, {}, QPoint(150, 60));
        QCOMPARE(host.window.pos(), QPoint(112, 87));

        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0], (QVariantList{QString(), QVariant::fromValue(Qt::LeftButton),
                                           QVariant::fromValue(TShiftState(ShiftFlag::Left)), 150, 60}));
        // The moves and the release belonged to the move, not to the skin.
        QCOMPARE(released.size(), 0);
        QCOMPARE(moved.size(), 0);
    }

    void windowFollowsEveryStepOfThePointer()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        const QPoint origin = host.skin->mapToGlobal(QPoint(150, 60));
        sendMouse(host.skin, QEvent::MouseButtonPress, {150, 60}, origin, Qt::LeftButton, Qt::LeftButton);
        sendMouse(host.skin, QEvent::MouseMove, {0, 0}, origin + QPoint(-30, 5), Qt::NoButton,
                  Qt::LeftButton);
        QCOMPARE(host.window.pos(), QPoint(70, 85));
        sendMouse(host.skin, QEvent::MouseMove, {0, 0}, origin + QPoint(4, -8), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(host.window.pos(), QPoint(104, 72));
        sendMouse(host.skin, QEvent::MouseButtonRelease, {0, 0}, origin + QPoint(6, -8), Qt::LeftButton,
                  Qt::NoButton);
        QCOMPARE(host.window.pos(), QPoint(106, 72));
        // After the release the pointer is the skin's again.
        sendMouse(host.skin, QEvent::MouseMove, {0, 0}, origin + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
        QCOMPARE(host.window.pos(), QPoint(106, 72));
    }

    void pressOnAnItemDoesNotMoveTheWindow_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("id");
        QTest::newRow("hot area") << QPoint(20, 20) << "Play";
        QTest::newRow("thumb") << QPoint(63, 102) << "Vol";
    }

    void pressOnAnItemDoesNotMoveTheWindow()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, id);
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QTest::mousePress(host.skin, Qt::LeftButton, {}, point);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), id);
        QTest::mouseMove(host.skin, point + QPoint(5, 0));
        QTest::mouseRelease(host.skin, Qt::LeftButton, {}, point + QPoint(5, 0));
        QCOMPARE(host.window.pos(), QPoint(100, 80));
    }

    void rightPressOnEmptySkinDoesNotMoveTheWindow()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);
        QTest::mousePress(host.skin, Qt::RightButton, {}, QPoint(150, 60));
        QCOMPARE(pressed.size(), 1);
        QTest::mouseMove(host.skin, QPoint(170, 70));
        QTest::mouseRelease(host.skin, Qt::RightButton, {}, QPoint(170, 70));
        QCOMPARE(host.window.pos(), QPoint(100, 80));
        QCOMPARE(released.size(), 1);
    }

    void pressOnATrackJumpsTheThumbThenMovesTheWindow()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        const QPoint origin = host.skin->mapToGlobal(QPoint(110, 102));
        sendMouse(host.skin, QEvent::MouseButtonPress, {110, 102}, origin, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(notified.size(), 1);
        QCOMPARE(notified[0], (QVariantList{QStringLiteral("Vol"), 50}));
        QCOMPARE(pressed.size(), 0);
        sendMouse(host.skin, QEvent::MouseMove, {0, 0}, origin + QPoint(10, 0), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(host.window.pos(), QPoint(110, 80));
        // The thumb is not dragged by the move.
        QCOMPARE(host.skin->TrackBars[0].ThumbOffset, 45);
        sendMouse(host.skin, QEvent::MouseButtonRelease, {0, 0}, origin + QPoint(10, 0), Qt::LeftButton,
                  Qt::NoButton);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QStringLiteral("Vol"));
        QCOMPARE(notified.size(), 1);
    }

    void moveWithoutTheButtonEndsAMoveWhoseReleaseWasLost()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);
        const QPoint origin = host.skin->mapToGlobal(QPoint(150, 60));
        sendMouse(host.skin, QEvent::MouseButtonPress, {150, 60}, origin, Qt::LeftButton, Qt::LeftButton);
        sendMouse(host.skin, QEvent::MouseMove, {150, 60}, origin + QPoint(3, 0), Qt::NoButton, Qt::NoButton);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QString());

        // The next moves are the skin's: the hot area under the pointer is reported, the window stays.
        const QPoint overPlay = host.skin->mapToGlobal(QPoint(20, 20));
        sendMouse(host.skin, QEvent::MouseMove, {20, 20}, overPlay, Qt::NoButton, Qt::NoButton);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][0].toString(), QStringLiteral("Play"));
        QCOMPARE(host.window.pos(), QPoint(103, 80));
    }

    void newPressEndsAMoveWhoseReleaseWasLost()
    {
        SkinHost host;
        QVERIFY(loadAndShow(host));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        const QPoint origin = host.skin->mapToGlobal(QPoint(150, 60));
        sendMouse(host.skin, QEvent::MouseButtonPress, {150, 60}, origin, Qt::LeftButton, Qt::LeftButton);
        const QPoint overPlay = host.skin->mapToGlobal(QPoint(20, 20));
        sendMouse(host.skin, QEvent::MouseButtonPress, {20, 20}, overPlay, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(pressed.size(), 2);
        QCOMPARE(pressed[0][0].toString(), QString());
        QCOMPARE(pressed[0][3].toInt(), 150);
        QCOMPARE(pressed[1][0].toString(), QStringLiteral("Play"));
        QVERIFY(host.skin->HotAreas[0].Pressed);
        QCOMPARE(host.window.pos(), QPoint(100, 80));
    }

    void moverFollowsWhereTheWindowSystemRefuses()
    {
        QWidget window;
        window.resize(50, 40);
        window.move(10, 20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        WindowMover mover(&window);
        QSignalSpy ended(&mover, &WindowMover::moveEnded);
        QVERIFY(!mover.takeStrayRelease());

        QVERIFY(mover.start(QPoint(30, 30)));
        QVERIFY(mover.isFollowing());
        sendMouse(&window, QEvent::MouseMove, {}, QPoint(45, 25), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(window.pos(), QPoint(25, 15));
        QCOMPARE(ended.size(), 0);
        // Another button let go does not end it; the left one does.
        sendMouse(&window, QEvent::MouseButtonRelease, {}, QPoint(45, 25), Qt::RightButton, Qt::LeftButton);
        QVERIFY(mover.isFollowing());
        sendMouse(&window, QEvent::MouseButtonRelease, {}, QPoint(46, 25), Qt::LeftButton, Qt::NoButton);
        QVERIFY(!mover.isFollowing());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(window.pos(), QPoint(26, 15));
        QVERIFY(!mover.takeStrayRelease());
    }
};

QTEST_MAIN(TestWindowMove)
#include "test_windowmove.moc"
