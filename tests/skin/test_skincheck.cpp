#include "tests/skin/SkinFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSkinCheck : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    static Run run(const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the checker must choose offscreen itself
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ROVEX_TOOL_ROVEX_SKIN), args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QString makeSkin(const QByteArray& extra)
    {
        const QString folder = m_dir.path() + "/";
        QImage mask(20, 10, QImage::Format_RGB32);
        mask.fill(Qt::white);
        for (int y = 2; y < 5; ++y)
            for (int x = 3; x < 9; ++x)
                mask.setPixel(x, y, qRgb(200, 0, 0));
        mask.save(folder + "mask.bmp", "BMP");
        writeBmp(folder + "thumb.bmp", {6, 3}, Qt::blue);
        writeFile(folder + "skin.ini", "[Version]\nVer=200\n[BITMAPINFO]\nMaskBitmap=mask.bmp\n" + extra);
        return folder + "skin.ini";
    }

private slots:
    void checkReportsWhatWasLoaded()
    {
        const Run result =
            run({"check", makeSkin("[HOTAREAINFO]\nCount=1\n1=Exit, 1, 2, 3, 4, Bye, TRUE, Main\n"
                                   "[DISPLAYINFO]\nCount=1\n"
                                   "1=Clock, Arial, TRUE, FALSE, 9, $0000FF, 5, 6, Number, 12, Time\n"
                                   "[TRACKBARINFO]\nCount=1\n"
                                   "1=Vol, thumb.bmp, thumb.bmp, 0, 0, 16, H, 50, Volume\n")});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject report = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(report["version"].toInt(), 200);
        QCOMPARE(report["hover"].toBool(), false);
        QCOMPARE(report["images"]["mask"].toArray(), (QJsonArray{20, 10}));
        QCOMPARE(report["images"]["numbers"].toArray(), (QJsonArray{0, 0}));
        QCOMPARE(report["region"]["area"].toInt(), 18);
        QCOMPARE(report["region"]["bounds"].toArray(), (QJsonArray{3, 2, 9, 5}));
        QCOMPARE(report["region"]["rects"].toInt(), 3);
        const QJsonObject area = report["hotAreas"][0].toObject();
        QCOMPARE(area["id"].toString(), QStringLiteral("Exit"));
        QCOMPARE(area["height"].toInt(), 4);
        QCOMPARE(area["checked"].toBool(), true);
        QCOMPARE(area["group"].toString(), QStringLiteral("Main"));
        const QJsonObject display = report["displays"][0].toObject();
        QCOMPARE(display["font"]["face"].toString(), QStringLiteral("Arial"));
        QCOMPARE(display["font"]["color"].toInt(), 0xFF);
        QCOMPARE(display["font"]["bold"].toBool(), true);
        QCOMPARE(display["kind"].toString(), QStringLiteral("Number"));
        QCOMPARE(display["hint"].toString(), QStringLiteral("Time"));
        const QJsonObject bar = report["trackBars"][0].toObject();
        QCOMPARE(bar["thumbOffset"].toInt(), 5);
        QCOMPARE(bar["thumbWidth"].toInt(), 6);
        QCOMPARE(bar["max"].toInt(), 100);
        QCOMPARE(report["groups"].toArray(), (QJsonArray{QJsonObject{{"name", "Main"}, {"current", 0}}}));
        QCOMPARE(report["messages"].toArray(), (QJsonArray{bannerShown(), oldVersionShown()}));
        QVERIFY(!report.contains("error"));
    }

    void checkReportsTheErrorOfAFailedLoad()
    {
        const Run result = run({"check", makeSkin("[HOTAREAINFO]\nCount=1\n1=Exit, 1, 2, 3\n")});
        QCOMPARE(result.exitCode, 1);
        const QJsonObject report = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(report["error"].toString(), QStringLiteral("List index out of bounds (4)"));
        QCOMPARE(report["images"]["mask"].toArray(), (QJsonArray{20, 10}));
        QCOMPARE(report["hotAreas"][0]["id"].toString(), QStringLiteral("Exit"));

        // The first "." makes "m.gif.bmp" a GIF name: the mask is refused, and the skin has no window.
        const QString skin = makeSkin({});
        QVERIFY(QFile::copy(m_dir.filePath("mask.bmp"), m_dir.filePath("m.gif.bmp")));
        writeFile(skin, "[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=m.gif.bmp\n");
        const Run refused = run({"check", skin});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(QJsonDocument::fromJson(refused.out).object()["error"].toString(),
                 QStringLiteral("The mask picture was refused (No GIF support!), so the skin has no window"));
    }

    void renderWritesTheShapedSurface()
    {
        const QString out = m_dir.filePath("out.png");
        const Run result = run({"render", makeSkin({}), out});
        QCOMPARE(result.exitCode, 0);
        const QImage image(out);
        QCOMPARE(image.size(), QSize(20, 10));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(image.pixelColor(4, 3), QColor(200, 0, 0));
    }

    void renderNamesAnEmptySurface()
    {
        const QString out = m_dir.filePath("empty.png");
        const QString skin = makeSkin({});
        writeFile(skin, "[Version]\nVer=210\n[BITMAPINFO]\nMaskBitmap=mask.gif\n");
        const Run result = run({"render", skin, out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.endsWith(
            "Nothing to render: the skin's surface is empty (its mask picture is 0 x 0)\n"));
        QVERIFY(!QFile::exists(out));
    }

    void wrongCommandLineShowsUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"paint", "x.ini"};
        QTest::newRow("render without output") << QStringList{"render", "x.ini"};
    }

    void wrongCommandLineShowsUsage()
    {
        QFETCH(QStringList, args);
        const Run result = run(args);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.contains("rovex-skin check SKIN.ini"));
    }

    void helpDocumentsTheExitCodes()
    {
        const Run result = run({"--help"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("Exit codes"));
    }
};

QTEST_MAIN(TestSkinCheck)
#include "test_skincheck.moc"
