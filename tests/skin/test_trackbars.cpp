#include "skin/SkinForm.h"
#include "tests/skin/InteractionSkin.h"
#include "tests/skin/SkinFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace interaction;

namespace {

// A horizontal bar with a 10-pixel thumb on a 100-pixel track (travel 90) at (20, 50), and a
// vertical one with a 10-pixel-high thumb on a 100-pixel track at (150, 5).
const QString Horizontal = QStringLiteral("Vol, thumb.bmp, thumbdown.bmp, 20, 50, 100, H, 0, Volume");
const QString Vertical = QStringLiteral("Pan, vthumb.bmp, vthumbdown.bmp, 150, 5, 100, V, 0, Balance");

// A point `along` pixels down the bar's track, `across` pixels into its width.
QPoint onBar(const TrackBarInfoRec& bar, int along, int across = 2)
{
    return bar.Horizontal ? QPoint(bar.X + along, bar.Y + across) : QPoint(bar.X + across, bar.Y + along);
}

} // namespace

class TestTrackBars : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_skins = 0;

    bool load(SkinHost& host, const QStringList& trackBars, const QStringList& hotAreas = {})
    {
        SkinFile file;
        file.trackBars = trackBars;
        file.hotAreas = hotAreas;
        const QString path = file.write(m_dir.filePath(QStringLiteral("skin%1").arg(++m_skins)));
        if (path.isEmpty())
            return false;
        host.skin->LoadSkin(path);
        return host.messages.texts == QStringList{bannerShown()};
    }

    static void press(SkinHost& host, QPoint at) { host.skin->MouseDown(Qt::LeftButton, {}, at.x(), at.y()); }
    static void move(SkinHost& host, QPoint at) { host.skin->MouseMove({}, at.x(), at.y()); }
    static void release(SkinHost& host, QPoint at) { host.skin->MouseUp(Qt::LeftButton, {}, at.x(), at.y()); }

private slots:
    void restThumbIsDrawnWhenThePressedOneFailedToLoad()
    {
        SkinHost host;
        load(host, {"Vol, thumb.bmp, thumbdown.gif, 20, 50, 100, H, 50"});
        QCOMPARE(host.messages.texts, (QStringList{bannerShown(), "No GIF support!"}));
        // No pressed image, no thumb extent: the thumb sits halfway along the whole track.
        QCOMPARE(colorAt(*host.skin, 70, 50), Thumb);
        QCOMPARE(colorAt(*host.skin, 79, 55), Thumb);
        QCOMPARE(colorAt(*host.skin, 80, 50), Rest);
    }

    void pressOnTheTrackCentresTheThumbOnThePointer()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        QColor drawnWhenNotified;
        connect(host.skin, &TSkinForm::trackBarNotify, host.skin,
                [&] { drawnWhenNotified = colorAt(*host.skin, 20 + 45, 52); });

        press(host, onBar(bar, 50));
        QCOMPARE(bar.ThumbOffset, 45);
        QCOMPARE(bar.Position, quint8(50));
        QCOMPARE(notified.size(), 1);
        QCOMPARE(notified[0], (QVariantList{QStringLiteral("Vol"), 50}));
        // The host hears of it before the thumb is redrawn.
        QCOMPARE(drawnWhenNotified, Rest);
        QCOMPARE(colorAt(*host.skin, 20 + 45, 52), Thumb);
        QCOMPARE(colorAt(*host.skin, 20 + 44, 52), Rest);
        QCOMPARE(colorAt(*host.skin, 20, 52), Rest);
        QCOMPARE(host.skin->CurrentID, QStringLiteral("Vol"));
        QVERIFY(!host.skin->Dragging);
        QVERIFY(!host.skin->ItemPressed);
        QCOMPARE(host.skin->ActiveTrackBar, -1);

        press(host, onBar(bar, 2));
        QCOMPARE(bar.ThumbOffset, 0);
        QCOMPARE(bar.Position, quint8(0));
        QCOMPARE(notified.size(), 2);
        QCOMPARE(notified[1][1].toInt(), 0);
        QCOMPARE(colorAt(*host.skin, 20, 52), Thumb);
    }

    void pressOnTheThumbGrabsItWithoutMovingIt()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        press(host, onBar(host.skin->TrackBars[0], 3));
        QVERIFY(host.skin->Dragging);
        QCOMPARE(host.skin->ActiveTrackBar, 0);
        QCOMPARE(host.skin->GrabOffset, 3);
        QCOMPARE(notified.size(), 0);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QStringLiteral("Vol"));
    }

    void dragKeepsTheGrabPointUnderThePointer_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("horizontal") << Horizontal;
        QTest::newRow("vertical") << Vertical;
    }

    void dragKeepsTheGrabPointUnderThePointer()
    {
        QFETCH(QString, line);
        SkinHost host;
        QVERIFY(load(host, {line}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);

        press(host, onBar(bar, 3));
        move(host, onBar(bar, 3));
        QCOMPARE(bar.ThumbOffset, 0);
        QCOMPARE(notified.size(), 1);
        QCOMPARE(notified[0][1].toInt(), 0);
        QCOMPARE(colorAt(*host.skin, onBar(bar, 0).x(), onBar(bar, 0).y()), ThumbDown);

        move(host, onBar(bar, 48));
        QCOMPARE(bar.ThumbOffset, 45);
        QCOMPARE(bar.Position, quint8(50));
        QCOMPARE(notified.size(), 2);
        QCOMPARE(notified[1], (QVariantList{bar.ID, 50}));
        QCOMPARE(host.skin->CurrentID, bar.ID);
        QCOMPARE(colorAt(*host.skin, onBar(bar, 45).x(), onBar(bar, 45).y()), ThumbDown);
        QCOMPARE(colorAt(*host.skin, onBar(bar, 44).x(), onBar(bar, 44).y()), Rest);
    }

    void dragSnapsTheThumbToAWholePercentage()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, onBar(bar, 3));
        move(host, onBar(bar, 3 + 89));
        QCOMPARE(bar.Position, quint8(98));
        QCOMPARE(bar.ThumbOffset, 88);
        QCOMPARE(notified.last()[1].toInt(), 98);
    }

    void dragBeyondTheTrackKeepsTheLastPosition_data()
    {
        QTest::addColumn<int>("along");
        QTest::newRow("past the end") << 101;
        QTest::newRow("far past the end") << 400;
        QTest::newRow("before the start") << -1;
    }

    void dragBeyondTheTrackKeepsTheLastPosition()
    {
        QFETCH(int, along);
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, onBar(bar, 3));
        move(host, onBar(bar, 60));
        QCOMPARE(bar.ThumbOffset, 56);
        move(host, onBar(bar, along));
        QCOMPARE(bar.ThumbOffset, 56);
        QCOMPARE(bar.Position, quint8(63));
        QCOMPARE(notified.size(), 1);
        QCOMPARE(host.skin->CurrentID, QString());
    }

    void dragToTheVeryEndOfTheTrackStillCounts()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, onBar(bar, 3));
        move(host, onBar(bar, 100));
        QCOMPARE(bar.ThumbOffset, 90);
        QCOMPARE(notified.last()[1].toInt(), 100);
    }

    void dragFarAboveAHorizontalBarStillMovesIt()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        press(host, onBar(bar, 3));
        move(host, QPoint(bar.X + 48, -500));
        QCOMPARE(bar.ThumbOffset, 45);
        move(host, QPoint(bar.X + 3, 900));
        QCOMPARE(bar.ThumbOffset, 0);
    }

    void pressAndReleaseOnTheThumbSendsNothingAndKeepsItsRestLook()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, onBar(bar, 3));
        QCOMPARE(colorAt(*host.skin, 21, 52), Thumb);
        release(host, onBar(bar, 3));
        QCOMPARE(colorAt(*host.skin, 21, 52), Thumb);
        QCOMPARE(notified.size(), 0);
        QVERIFY(!host.skin->Dragging);
        QCOMPARE(host.skin->ActiveTrackBar, -1);
    }

    void releaseEndsTheDragAndRestoresTheThumb()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, onBar(bar, 3));
        move(host, onBar(bar, 48));
        QCOMPARE(colorAt(*host.skin, 20 + 45, 52), ThumbDown);
        release(host, onBar(bar, 48));
        QCOMPARE(colorAt(*host.skin, 20 + 45, 52), Thumb);
        move(host, onBar(bar, 70));
        QCOMPARE(bar.ThumbOffset, 45);
        QCOMPARE(notified.size(), 1);
    }

    void onlyACapitalVMakesABarVertical()
    {
        SkinHost host;
        QVERIFY(load(host, {"Low, thumb.bmp, thumbdown.bmp, 20, 50, 100, v", Vertical}));
        QVERIFY(host.skin->TrackBars[0].Horizontal);
        QVERIFY(!host.skin->TrackBars[1].Horizontal);
        press(host, QPoint(20 + 50, 52));
        QCOMPARE(host.skin->TrackBars[0].ThumbOffset, 45);
    }

    void loadedPositionBeyondTheEndIsBroughtBackByTheFirstMove()
    {
        SkinHost host;
        QVERIFY(load(host, {"Vol, thumb.bmp, thumbdown.bmp, 20, 50, 100, H, 150"}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QCOMPARE(bar.Position, quint8(150));
        QCOMPARE(bar.ThumbOffset, 135);
        QCOMPARE(colorAt(*host.skin, 20 + 136, 52), Thumb);

        // Grabbed out there, the first drag step inside the track puts it at the end.
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, QPoint(20 + 137, 52));
        QVERIFY(host.skin->Dragging);
        move(host, QPoint(20 + 100, 52));
        QCOMPARE(bar.Position, quint8(100));
        QCOMPARE(bar.ThumbOffset, 90);
        QCOMPARE(notified.last()[1].toInt(), 100);
    }

    void loadedPositionBeyondTheEndIsBroughtBackByAPressOnTheTrack()
    {
        SkinHost host;
        QVERIFY(load(host, {"Vol, thumb.bmp, thumbdown.bmp, 20, 50, 100, H, 150"}));
        press(host, QPoint(20 + 50, 52));
        QCOMPARE(host.skin->TrackBars[0].Position, quint8(50));
        QCOMPARE(host.skin->TrackBars[0].ThumbOffset, 45);
    }

    void thumbAsLongAsItsTrackStaysAtZero()
    {
        SkinHost host;
        QVERIFY(load(host, {"Full, thumb.bmp, thumbdown.bmp, 20, 50, 10, H, 40"}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QCOMPARE(bar.ThumbOffset, 0);
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, QPoint(25, 52));
        QVERIFY(host.skin->Dragging);
        move(host, QPoint(29, 52));
        QCOMPARE(notified.size(), 1);
        QCOMPARE(notified[0][1].toInt(), 0);
        QCOMPARE(bar.Position, quint8(0));
        QCOMPARE(bar.ThumbOffset, 0);
    }

    void thumbLongerThanItsTrackGoesToAFullPercentageOnATrackPress()
    {
        SkinHost host;
        // Travel -5; position 200 puts the thumb before the track, so a press finds the track.
        QVERIFY(load(host, {"Short, thumb.bmp, thumbdown.bmp, 20, 50, 5, H, 200"}));
        const TrackBarInfoRec& bar = host.skin->TrackBars[0];
        QCOMPARE(bar.ThumbOffset, -10);
        QSignalSpy notified(host.skin, &TSkinForm::trackBarNotify);
        press(host, QPoint(22, 52));
        QCOMPARE(notified.size(), 1);
        QCOMPARE(notified[0][1].toInt(), 100);
        QCOMPARE(bar.ThumbOffset, -5);

        // Grabbed and dragged, it goes to 0.
        press(host, QPoint(18, 52));
        QVERIFY(host.skin->Dragging);
        move(host, QPoint(23, 52));
        QCOMPARE(notified.last()[1].toInt(), 0);
        QCOMPARE(bar.ThumbOffset, 0);
    }

    void applyingAPositionClampsItAndPlacesTheThumb_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expectedPosition");
        QTest::addColumn<int>("expectedOffset");
        QTest::newRow("inside") << 100 << 98 << 98 << 88;
        QTest::newRow("at the end") << 100 << 100 << 100 << 90;
        QTest::newRow("beyond the end") << 100 << 150 << 100 << 90;
        QTest::newRow("highest stored value") << 100 << 255 << 100 << 90;
        QTest::newRow("no travel") << 10 << 60 << 60 << 0;
    }

    void applyingAPositionClampsItAndPlacesTheThumb()
    {
        QFETCH(int, length);
        QFETCH(int, position);
        QFETCH(int, expectedPosition);
        QFETCH(int, expectedOffset);
        TrackBarInfoRec bar = trackBar("Bar", 0, 0, length, true, 0, {10, 6});
        bar.Position = static_cast<quint8>(position);
        TSkinForm::ApplyTrackBarPosition(bar);
        QCOMPARE(int(bar.Position), expectedPosition);
        QCOMPARE(bar.ThumbOffset, expectedOffset);
    }

    void hintComesFromTheTrackUnderThePointer()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal, "Fine, thumb.bmp, thumbdown.bmp, 60, 50, 60, H, 0, Fine tuning"},
                     {"Mute, 110, 48, 5, 10, Silence"}));
        move(host, QPoint(30, 52));
        QCOMPARE(host.skin->hint(), QStringLiteral("Volume"));
        // Where two tracks overlap the later bar's hint wins, and a hot area wins over both.
        move(host, QPoint(70, 52));
        QCOMPARE(host.skin->hint(), QStringLiteral("Fine tuning"));
        move(host, QPoint(112, 52));
        QCOMPARE(host.skin->hint(), QStringLiteral("Silence"));
        // The hint rectangle is the track: below the thumb's height there is none.
        move(host, QPoint(30, 56));
        QCOMPARE(host.skin->hint(), QString());
    }

    void noTrackHintWhileDragging()
    {
        SkinHost host;
        QVERIFY(load(host, {Horizontal}));
        press(host, QPoint(23, 52));
        move(host, QPoint(40, 52));
        QCOMPARE(host.skin->hint(), QString());
    }
};

QTEST_MAIN(TestTrackBars)
#include "test_trackbars.moc"
