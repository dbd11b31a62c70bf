#include "skin/SkinForm.h"
#include "tests/skin/InteractionSkin.h"
#include "tests/skin/SkinFixtures.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

using namespace interaction;

class TestToolTips : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_skins = 0;

    // Two hot areas, a display with a hint over empty skin and a track bar.
    bool load(SkinHost& host)
    {
        SkinFile file;
        file.hotAreas = {"Play, 10, 10, 40, 40, Start the game", "Exit, 100, 10, 20, 20, Leave"};
        file.displays = {"Clock, Arial, FALSE, FALSE, 8, $0, 10, 80, Plain, , Time of day, 30, 10"};
        file.trackBars = {"Vol, thumb.bmp, thumbdown.bmp, 60, 100, 100, H, 0, Volume"};
        const QString path = file.write(m_dir.filePath(QStringLiteral("skin%1").arg(++m_skins)));
        if (path.isEmpty())
            return false;
        host.skin->LoadSkin(path);
        return host.messages.texts == QStringList{bannerShown()};
    }

    static bool showWindow(SkinHost& host)
    {
        host.window.show();
        return QTest::qWaitForWindowExposed(&host.window);
    }

    // Moves twice: offscreen the first move may only enter the window.
    static void pointTo(SkinHost& host, QPoint at)
    {
        QTest::mouseMove(host.skin, at - QPoint(1, 0));
        QTest::mouseMove(host.skin, at);
    }

    static bool askForToolTip(QWidget* widget, QPoint at)
    {
        QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
        return QApplication::sendEvent(widget, &help);
    }

private slots:
    void cleanup() { QToolTip::hideText(); }

    void hintIsThatOfTheItemUnderThePointer_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("hint");
        QTest::newRow("hot area") << QPoint(20, 20) << "Start the game";
        QTest::newRow("other hot area") << QPoint(110, 20) << "Leave";
        QTest::newRow("display") << QPoint(15, 85) << "Time of day";
        QTest::newRow("track") << QPoint(120, 102) << "Volume";
        QTest::newRow("empty skin") << QPoint(180, 60) << "";
    }

    void hintIsThatOfTheItemUnderThePointer()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, hint);
        SkinHost host;
        QVERIFY(load(host));
        host.skin->MouseMove({}, 110, 20);
        host.skin->MouseMove({}, point.x(), point.y());
        QCOMPARE(host.skin->hint(), hint);
        QCOMPARE(host.skin->statusTip(), hint);
    }

    void hintChangesAreAnnouncedOnce()
    {
        SkinHost host;
        QVERIFY(load(host));
        QSignalSpy changed(host.skin, &TSkinForm::hintChanged);
        host.skin->MouseMove({}, 20, 20);
        host.skin->MouseMove({}, 21, 20);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toString(), QStringLiteral("Start the game"));
        host.skin->MouseMove({}, 180, 60);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[1][0].toString(), QString());
    }

    void toolTipShowsTheCurrentHint()
    {
        SkinHost host;
        QVERIFY(load(host));
        QVERIFY(showWindow(host));
        pointTo(host, QPoint(20, 20));
        QTRY_COMPARE(host.skin->hint(), QStringLiteral("Start the game"));
        QVERIFY(askForToolTip(host.skin, QPoint(20, 20)));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Start the game"));
    }

    void toolTipFollowsTheNextItemAtOnce()
    {
        SkinHost host;
        QVERIFY(load(host));
        QVERIFY(showWindow(host));
        pointTo(host, QPoint(20, 20));
        QTRY_COMPARE(host.skin->hint(), QStringLiteral("Start the game"));
        QVERIFY(askForToolTip(host.skin, QPoint(20, 20)));
        QTRY_VERIFY(QToolTip::isVisible());

        pointTo(host, QPoint(110, 20));
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Leave"));
        QVERIFY(QToolTip::isVisible());

        // Over empty skin the tool tip goes.
        pointTo(host, QPoint(180, 60));
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void noToolTipOverEmptySkin()
    {
        SkinHost host;
        QVERIFY(load(host));
        QVERIFY(showWindow(host));
        pointTo(host, QPoint(180, 60));
        QTRY_COMPARE(host.skin->hint(), QString());
        QVERIFY(askForToolTip(host.skin, QPoint(180, 60)));
        QTest::qWait(50);
        QVERIFY(!QToolTip::isVisible());
    }

    void toolTipsOfOtherControlsAreTheirOwn()
    {
        SkinHost host;
        QVERIFY(load(host));
        auto* label = new QLabel(QStringLiteral("Label"), &host.window);
        label->setGeometry(150, 40, 40, 20);
        label->setToolTip(QStringLiteral("A control of the host"));
        QVERIFY(showWindow(host));
        host.skin->MouseMove({}, 20, 20);
        QVERIFY(askForToolTip(label, QPoint(5, 5)));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("A control of the host"));
    }
};

QTEST_MAIN(TestToolTips)
#include "test_tooltips.moc"
