#include "skin/SkinForm.h"
#include "tests/skin/InteractionSkin.h"
#include "tests/skin/SkinFixtures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace interaction;

class TestHotAreas : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_skins = 0;

    // Loads `file` into `host`; the load must succeed and show only the banner.
    bool load(SkinHost& host, const SkinFile& file)
    {
        const QString path = file.write(m_dir.filePath(QStringLiteral("skin%1").arg(++m_skins)));
        if (path.isEmpty())
            return false;
        host.skin->LoadSkin(path);
        return host.messages.texts == QStringList{bannerShown()};
    }

    static SkinFile twoAreas()
    {
        SkinFile file;
        file.hotAreas = {"Play, 10, 10, 40, 40, Start the game", "Exit, 100, 10, 20, 20, Leave"};
        return file;
    }

private slots:
    void pressDrawsThePressedLookAndReleaseTheRestLook()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);

        host.skin->MouseDown(Qt::LeftButton, ShiftFlag::Shift | ShiftFlag::Left, 20, 25);
        QCOMPARE(colorAt(*host.skin, 20, 20), Pressed);
        QCOMPARE(colorAt(*host.skin, 105, 15), Rest);
        QVERIFY(host.skin->HotAreas[0].Pressed);
        QVERIFY(host.skin->ItemPressed);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0], (QVariantList{QStringLiteral("Play"), QVariant::fromValue(Qt::LeftButton),
                                           QVariant::fromValue(ShiftFlag::Shift | ShiftFlag::Left), 20, 25}));

        host.skin->MouseUp(Qt::LeftButton, {}, 21, 26);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
        QVERIFY(!host.skin->HotAreas[0].Pressed);
        QVERIFY(!host.skin->ItemPressed);
        QCOMPARE(released.size(), 1);
        QCOMPARE(released[0][0].toString(), QStringLiteral("Play"));
        QCOMPARE(released[0][3].toInt(), 21);
        QCOMPARE(released[0][4].toInt(), 26);
    }

    // The window system's events carry the held keys and buttons into every notification.
    void notificationsCarryTheHeldKeysAndButtons()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        QList<TShiftState> shifts;
        const auto pressOrRelease = [&shifts](const QString&, Qt::MouseButton, TShiftState shift) {
            shifts.append(shift);
        };
        connect(host.skin, &TSkinForm::mouseDownNotify, host.skin, pressOrRelease);
        connect(host.skin, &TSkinForm::mouseUpNotify, host.skin, pressOrRelease);
        connect(host.skin, &TSkinForm::mouseMoveNotify, host.skin,
                [&shifts](const QString&, TShiftState shift) { shifts.append(shift); });
        const auto send = [&host](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                                  Qt::KeyboardModifiers keys) {
            QMouseEvent event(type, QPointF(20, 20), host.skin->mapToGlobal(QPointF(20, 20)), button, held,
                              keys);
            QApplication::sendEvent(host.skin, &event);
        };
        send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
        send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::MiddleButton, Qt::ControlModifier);
        send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::MiddleButton, {});
        send(QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, Qt::AltModifier);
        QCOMPARE(shifts,
                 (QList<TShiftState>{ShiftFlag::Shift | ShiftFlag::Left,
                                     ShiftFlag::Ctrl | ShiftFlag::Left | ShiftFlag::Middle, ShiftFlag::Middle,
                                     ShiftFlag::Alt | ShiftFlag::Right | ShiftFlag::Double}));
    }

    void rightAndBottomEdgesLieOutside_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("id");
        QTest::newRow("top left corner") << QPoint(10, 10) << "Play";
        QTest::newRow("last pixel") << QPoint(49, 49) << "Play";
        QTest::newRow("right edge") << QPoint(50, 20) << "";
        QTest::newRow("bottom edge") << QPoint(20, 50) << "";
        QTest::newRow("above") << QPoint(20, 9) << "";
    }

    void rightAndBottomEdgesLieOutside()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, id);
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);
        host.skin->MouseMove({}, point.x(), point.y());
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][0].toString(), id);
        QCOMPARE(host.skin->OverHotArea, !id.isEmpty());
        QCOMPARE(colorAt(*host.skin, 10, 10), id.isEmpty() ? Rest : Hover);
    }

    void overlappingAreasGoToTheEarlierOne()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"First, 10, 10, 40, 40, one", "Second, 30, 30, 40, 40, two"};
        QVERIFY(load(host, file));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);

        host.skin->MouseMove({}, 35, 35);
        QCOMPARE(moved[0][0].toString(), QStringLiteral("First"));
        QCOMPARE(colorAt(*host.skin, 35, 35), Hover);
        QCOMPARE(colorAt(*host.skin, 60, 60), Rest);
        QCOMPARE(host.skin->hint(), QStringLiteral("one"));

        host.skin->MouseDown(Qt::LeftButton, {}, 35, 35);
        QCOMPARE(pressed[0][0].toString(), QStringLiteral("First"));
        QVERIFY(host.skin->HotAreas[0].Pressed);
        QVERIFY(!host.skin->HotAreas[1].Pressed);
        QCOMPARE(colorAt(*host.skin, 35, 35), Pressed);
        QCOMPARE(colorAt(*host.skin, 60, 60), Rest);
    }

    void holdingAndMovingInsideShowsTheHoverLookAndStaysPressed()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.skin->MouseDown(Qt::LeftButton, {}, 20, 20);
        QCOMPARE(colorAt(*host.skin, 20, 20), Pressed);
        host.skin->MouseMove({}, 22, 22);
        QCOMPARE(colorAt(*host.skin, 20, 20), Hover);
        QVERIFY(host.skin->HotAreas[0].Pressed);
        QCOMPARE(host.skin->CurrentID, QStringLiteral("Play"));
    }

    void theHoverLookLeavesAtTheMoveAfterLeaving()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.skin->MouseMove({}, 20, 20);
        QVERIFY(host.skin->OverHotArea);
        QVERIFY(host.skin->RepaintPending);
        // Entering asked for a repaint, which the next move inside does.
        host.skin->MouseMove({}, 21, 20);
        QVERIFY(!host.skin->RepaintPending);
        QCOMPARE(colorAt(*host.skin, 20, 20), Hover);

        host.skin->MouseMove({}, 70, 80);
        QVERIFY(!host.skin->OverHotArea);
        QVERIFY(host.skin->WasOverHotArea);
        QVERIFY(host.skin->RepaintPending);
        QCOMPARE(colorAt(*host.skin, 20, 20), Hover);

        host.skin->MouseMove({}, 71, 80);
        QVERIFY(!host.skin->RepaintPending);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
    }

    void leavingAPressedAreaClearsItsPressedMark()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.skin->MouseMove({}, 20, 20);
        host.skin->MouseDown(Qt::LeftButton, {}, 20, 20);
        host.skin->MouseMove({}, 70, 80);
        QVERIFY(!host.skin->HotAreas[0].Pressed);
        host.skin->MouseMove({}, 71, 80);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
    }

    void areaReleasedOverAnEarlierAreaStaysDrawnPressed()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.skin->MouseDown(Qt::LeftButton, {}, 105, 15);
        host.skin->MouseUp(Qt::LeftButton, {}, 20, 20);
        QVERIFY(host.skin->HotAreas[1].Pressed);
        QCOMPARE(colorAt(*host.skin, 105, 15), Pressed);

        // Over the earlier area the later one keeps its mark; over none it loses it.
        host.skin->MouseMove({}, 20, 20);
        QVERIFY(host.skin->HotAreas[1].Pressed);
        host.skin->MouseMove({}, 70, 80);
        QVERIFY(!host.skin->HotAreas[1].Pressed);
        host.skin->MouseMove({}, 70, 81);
        QCOMPARE(colorAt(*host.skin, 105, 15), Rest);
    }

    void displayOverAHotAreaReportsTheDisplay()
    {
        SkinHost host;
        SkinFile file = twoAreas();
        file.displays = {"Clock, Arial, FALSE, FALSE, 8, $0, 20, 20, Plain, , , 10, 10"};
        QVERIFY(load(host, file));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);

        host.skin->MouseMove({}, 25, 25);
        QCOMPARE(moved[0][0].toString(), QStringLiteral("Clock"));
        // The display's empty hint wins over the area's.
        QCOMPARE(host.skin->hint(), QString());

        host.skin->MouseDown(Qt::LeftButton, {}, 25, 25);
        QCOMPARE(pressed[0][0].toString(), QStringLiteral("Clock"));
        QCOMPARE(colorAt(*host.skin, 12, 12), Pressed);
        QVERIFY(host.skin->HotAreas[0].Pressed);

        host.skin->MouseUp(Qt::LeftButton, {}, 25, 25);
        QCOMPARE(released[0][0].toString(), QStringLiteral("Clock"));
        QCOMPARE(colorAt(*host.skin, 12, 12), Rest);
    }

    void rightPressReportsNoItemAndChangesNothing()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.window.move(40, 50);
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);

        host.skin->MouseDown(Qt::RightButton, {}, 20, 20);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QString());
        QCOMPARE(pressed[0][1].value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
        QVERIFY(!host.skin->HotAreas[0].Pressed);
        QVERIFY(!host.skin->ItemPressed);
        QCOMPARE(host.window.pos(), QPoint(40, 50));

        // Its release is handled like a left one.
        host.skin->MouseUp(Qt::RightButton, {}, 20, 20);
        QCOMPARE(released[0][0].toString(), QStringLiteral("Play"));
        QCOMPARE(released[0][1].value<Qt::MouseButton>(), Qt::RightButton);
    }

    void middlePressAlsoReportsNoItem()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        host.skin->MouseDown(Qt::MiddleButton, {}, 20, 20);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QString());
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
    }

    void noHoverLookWhenHoverAndPressedLooksAreOneFile()
    {
        SkinHost host;
        SkinFile file = twoAreas();
        file.hoverName = QStringLiteral("down.bmp");
        QVERIFY(load(host, file));
        QVERIFY(!host.skin->HoverEnabled);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);
        host.skin->MouseMove({}, 20, 20);
        QCOMPARE(moved[0][0].toString(), QStringLiteral("Play"));
        QVERIFY(host.skin->OverHotArea);
        QCOMPARE(colorAt(*host.skin, 20, 20), Rest);
        QCOMPARE(host.skin->hint(), QStringLiteral("Start the game"));
    }

    void twoStateAreaFlipsAtEachPress()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"Sound, 10, 10, 20, 20, Sound on or off, FALSE"};
        QVERIFY(load(host, file));
        host.skin->MouseDown(Qt::LeftButton, {}, 15, 15);
        QVERIFY(host.skin->HotAreas[0].Checked);
        QCOMPARE(colorAt(*host.skin, 15, 15), Pressed);
        host.skin->MouseUp(Qt::LeftButton, {}, 15, 15);
        QCOMPARE(colorAt(*host.skin, 15, 15), Pressed);

        // Unchecked shows at once, while the button is still down.
        host.skin->MouseDown(Qt::LeftButton, {}, 15, 15);
        QVERIFY(!host.skin->HotAreas[0].Checked);
        QCOMPARE(colorAt(*host.skin, 15, 15), Rest);
        host.skin->MouseUp(Qt::LeftButton, {}, 15, 15);
        QCOMPARE(colorAt(*host.skin, 15, 15), Rest);
    }

    void pressingAnotherGroupMemberMovesTheCheck()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"Standard, 10, 10, 20, 20, a, TRUE, Modes",
                         "AddOn, 40, 10, 20, 20, b, FALSE, modes"};
        QVERIFY(load(host, file));
        QCOMPARE(host.skin->GroupCurrent, QStringList{"0"});

        host.skin->MouseDown(Qt::LeftButton, {}, 45, 15);
        host.skin->MouseUp(Qt::LeftButton, {}, 45, 15);
        QVERIFY(!host.skin->HotAreas[0].Checked);
        QVERIFY(host.skin->HotAreas[1].Checked);
        QCOMPARE(host.skin->GroupCurrent, QStringList{"1"});
        QCOMPARE(colorAt(*host.skin, 15, 15), Rest);
        QCOMPARE(colorAt(*host.skin, 45, 15), Pressed);

        host.skin->MouseDown(Qt::LeftButton, {}, 15, 15);
        host.skin->MouseUp(Qt::LeftButton, {}, 15, 15);
        QVERIFY(host.skin->HotAreas[0].Checked);
        QVERIFY(!host.skin->HotAreas[1].Checked);
        QCOMPARE(host.skin->GroupCurrent, QStringList{"0"});
    }

    void pressingTheCurrentMemberKeepsItChecked()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"Standard, 10, 10, 20, 20, a, TRUE, Modes",
                         "AddOn, 40, 10, 20, 20, b, FALSE, Modes"};
        QVERIFY(load(host, file));
        host.skin->MouseDown(Qt::LeftButton, {}, 15, 15);
        QVERIFY(host.skin->HotAreas[0].Checked);
        host.skin->MouseUp(Qt::LeftButton, {}, 15, 15);
        QVERIFY(host.skin->HotAreas[0].Checked);
        QVERIFY(!host.skin->HotAreas[1].Checked);
        QCOMPARE(colorAt(*host.skin, 15, 15), Pressed);
        QCOMPARE(host.skin->GroupCurrent, QStringList{"0"});
    }

    void groupWithoutACheckedMemberChecksTheFirstPressed()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"A, 10, 10, 20, 20, a, FALSE, G", "B, 40, 10, 20, 20, b, FALSE, G"};
        QVERIFY(load(host, file));
        QCOMPARE(host.skin->GroupCurrent, QStringList{"-1"});
        host.skin->MouseDown(Qt::LeftButton, {}, 45, 15);
        QVERIFY(host.skin->HotAreas[1].Checked);
        QVERIFY(!host.skin->HotAreas[0].Checked);
        QCOMPARE(host.skin->GroupCurrent, QStringList{"1"});
    }

    void ungroupingByIDUnchecksTheFirstAreaOfThatID()
    {
        SkinHost host;
        SkinFile file;
        file.hotAreas = {"Twin, 10, 10, 20, 20, loose, TRUE", "Twin, 40, 10, 20, 20, grouped, TRUE, G",
                         "Other, 70, 10, 20, 20, other, FALSE, G"};
        QVERIFY(load(host, file));
        host.skin->MouseDown(Qt::LeftButton, {}, 75, 15);
        // The previous member is found again by its ID, which the earlier area also has.
        QVERIFY(!host.skin->HotAreas[0].Checked);
        QVERIFY(host.skin->HotAreas[1].Checked);
        QVERIFY(host.skin->HotAreas[2].Checked);
    }

    void selectingInAnUnknownGroupChangesNothing()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.skin->HotAreas[0].Group = QStringLiteral("Nowhere");
        host.skin->SelectInGroup(0);
        host.skin->SelectInGroup(7);
        QVERIFY(host.skin->GroupNames.isEmpty());
        QVERIFY(host.skin->GroupCurrent.isEmpty());
    }

    void mouseEventsOfTheWidgetReachTheHandlers()
    {
        SkinHost host;
        QVERIFY(load(host, twoAreas()));
        host.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        QVERIFY(host.skin->hasMouseTracking());
        QSignalSpy pressed(host.skin, &TSkinForm::mouseDownNotify);
        QSignalSpy moved(host.skin, &TSkinForm::mouseMoveNotify);
        QSignalSpy released(host.skin, &TSkinForm::mouseUpNotify);

        // Offscreen the first move may only enter the window.
        QTest::mouseMove(host.skin, QPoint(104, 14));
        QTest::mouseMove(host.skin, QPoint(105, 15));
        QTRY_VERIFY(!moved.isEmpty());
        QCOMPARE(moved.last()[0].toString(), QStringLiteral("Exit"));

        QTest::mousePress(host.skin, Qt::LeftButton, {}, QPoint(105, 15));
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][0].toString(), QStringLiteral("Exit"));
        QTest::mouseRelease(host.skin, Qt::LeftButton, {}, QPoint(105, 15));
        QCOMPARE(released.size(), 1);
        QCOMPARE(released[0][0].toString(), QStringLiteral("Exit"));
    }
};

QTEST_MAIN(TestHotAreas)
#include "test_hotareas.moc"
