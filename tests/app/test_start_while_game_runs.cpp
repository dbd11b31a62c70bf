#include "app/StatusBar.h"
#include "app/main_window.h"
#include "tests/support/Files.h"
#include "tests/support/GameStandIn.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDirIterator>
#include <QLockFile>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// Every file under `folder` with its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    return files;
}

} // namespace

// The start command leaves the game folder alone while the game runs or another copy prepares it.
class TestStartWhileGameRuns : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startIsRefusedAndChangesNothing_data();
    void startIsRefusedAndChangesNothing();
    void startGoesAheadOnceTheGameHasEnded();
    void startTakesOverALockThisProcessLeft();

private:
    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_form;
    QString m_game;
};

void TestStartWhileGameRuns::init()
{
    m_home = std::make_unique<HomeFolder>();
    // The last launch left an add-on in place: any start would first give the standard file back.
    m_game = m_home->makeGame({"Coastal"});
    QVERIFY(writeBytes(m_game + "Data/Tracks/Coastal/Tr.frd", "add-on"));
    QVERIFY(writeBytes(m_game + "Data/Tracks/Coastal/0Tr.frd", "standard"));
    QVERIFY(writeBytes(m_game + "nfshs.exe", "#!/bin/sh\ntouch launched\n"));
    QVERIFY(QFile::setPermissions(m_game + "nfshs.exe", QFile::ReadOwner | QFile::ExeOwner));
    m_home->writeOptions({m_home->makeLibrary({"Coastal/one.zip"}), m_game, "0"});
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_form = std::make_unique<TForm1>();
    QVERIFY(m_form->FormCreate());
    m_dialogs->messages.clear();
}

void TestStartWhileGameRuns::cleanup()
{
    m_form.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestStartWhileGameRuns::startIsRefusedAndChangesNothing_data()
{
    QTest::addColumn<bool>("newTracks");
    QTest::addColumn<QString>("held"); // empty: the game runs; else the folder another copy's start holds
    QTest::newRow("standard tracks, game running") << false << "";
    QTest::newRow("new tracks, game running") << true << "";
    QTest::newRow("game folder held by another copy") << false << "game";
    QTest::newRow("Temp held by another copy") << true << "Temp";
}

void TestStartWhileGameRuns::startIsRefusedAndChangesNothing()
{
    QFETCH(bool, newTracks);
    QFETCH(QString, held);
    (newTracks ? m_form->NTr : m_form->StTr)->setChecked(true);
    GameStandIn game;
    QLockFile lock(m_home->makeFolder(held) + "rovex-start.lock");
    QVERIFY(held.isEmpty() ? game.start() : lock.tryLock(0));
    const QString told =
        held.isEmpty()
            ? QStringLiteral("Игра уже запущена (процесс nfshs.exe, номер %1). Закройте её и нажмите «Старт» "
                             "снова: пока игра работает, трассы менять нельзя.")
                  .arg(game.pid())
            : QStringLiteral("С папкой %1 сейчас работает другая копия программы (процесс %2): её занимает "
                             "файл %3. Дождитесь, пока та закончит, и нажмите «Старт» снова: две копии сразу "
                             "перемешали бы трассы. Ничего не изменено.")
                  .arg(held == "Temp" ? "распаковки Temp" : "игры")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QDir::cleanPath(lock.fileName()));
    const QMap<QString, QByteArray> before = snapshot(m_home->path());

    m_form->BitBtn2->click();

    QCOMPARE(m_dialogs->messages, QStringList{told});
    QCOMPARE(snapshot(m_home->path()), before);
    QVERIFY(m_form->isEnabled());
    QVERIFY(m_form->RBar->text().isEmpty());
}

void TestStartWhileGameRuns::startGoesAheadOnceTheGameHasEnded()
{
    m_form->StTr->setChecked(true);
    GameStandIn game;
    QVERIFY(game.start("C:\\Games\\NFS\\nfshs.exe"));
    m_form->BitBtn2->click();
    game.stop();
    m_form->BitBtn2->click();

    QCOMPARE(m_dialogs->messages.size(), 1);
    QCOMPARE(readAll(m_game + "Data/Tracks/Coastal/Tr.frd"), QByteArray("standard"));
    QTRY_VERIFY(QFile::exists(m_game + "launched"));
}

// Letting go of a lock could not remove its file (a full disk): the file names this very process.
void TestStartWhileGameRuns::startTakesOverALockThisProcessLeft()
{
    m_form->StTr->setChecked(true);
    const QString lockFile = m_game + "rovex-start.lock";
    QLockFile lock(lockFile);
    QVERIFY(lock.tryLock(0));
    const QByteArray details = readAll(lockFile);
    lock.unlock();
    QVERIFY(writeBytes(lockFile, details));

    m_form->BitBtn2->click();

    QCOMPARE(m_dialogs->messages, QStringList());
    QCOMPARE(readAll(m_game + "Data/Tracks/Coastal/Tr.frd"), QByteArray("standard"));
    QTRY_VERIFY(QFile::exists(m_game + "launched"));
}

QTEST_MAIN(TestStartWhileGameRuns)
#include "test_start_while_game_runs.moc"
