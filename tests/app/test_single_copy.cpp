#include "app/main_window.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <sys/file.h>

// One running copy per home folder.
class TestSingleCopy : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondCopyIsRefusedAndTouchesNothing_data();
    void secondCopyIsRefusedAndTouchesNothing();
    void copyThatEndedLetsTheNextOneIn_data();
    void copyThatEndedLetsTheNextOneIn();
    void emptyLockLeftByAKillIsTakenOver();
    void emptyLockOfALiveCopyIsNotTakenOver();

private:
    // Opens the first copy's window on the home folder, in this process or in another one, and
    // returns that process's id.
    qint64 openFirstCopy(bool otherProcess);
    void endFirstCopy();

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_first;
    QProcess m_other;
};

void TestSingleCopy::init()
{
    m_home = std::make_unique<HomeFolder>();
    m_home->writeOptions({"/library/", "/game/", "0"});
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TestSingleCopy::cleanup()
{
    endFirstCopy();
    m_dialogs.reset();
    m_home.reset();
}

qint64 TestSingleCopy::openFirstCopy(bool otherProcess)
{
    if (!otherProcess) {
        m_first = std::make_unique<TForm1>();
        return m_first->FormCreate() ? QCoreApplication::applicationPid() : 0;
    }
    // This program again, with "--hold"; see main().
    m_other.start(QCoreApplication::applicationFilePath(), {"--hold", m_home->path()});
    while (m_other.waitForReadyRead(30000) && !m_other.canReadLine()) {
    }
    return m_other.readLine() == "held\n" ? m_other.processId() : 0;
}

void TestSingleCopy::endFirstCopy()
{
    m_first.reset();
    m_other.kill();
    m_other.waitForFinished();
}

void TestSingleCopy::secondCopyIsRefusedAndTouchesNothing_data()
{
    QTest::addColumn<bool>("otherProcess");
    QTest::addColumn<int>("lockAgeSeconds");
    QTest::newRow("window in this process") << false << 0;
    QTest::newRow("copy in another process") << true << 0;
    QTest::newRow("another process, lock an hour old") << true << 3600;
}

void TestSingleCopy::secondCopyIsRefusedAndTouchesNothing()
{
    QFETCH(bool, otherProcess);
    QFETCH(int, lockAgeSeconds);
    const qint64 holder = openFirstCopy(otherProcess);
    QVERIFY(holder);
    const QString lockFile = QFileInfo(m_home->path("rovex.lock")).absoluteFilePath();
    QFile lock(lockFile);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-lockAgeSeconds),
                             QFileDevice::FileModificationTime));
    lock.close();
    QVERIFY(writeBytes(m_home->path(".rovex-write-a1B2c3"), "left by a killed run"));
    m_home->writeOptions({"/other library/", "/other game/", "1"});
    m_dialogs->messages.clear();

    TForm1 second;
    QVERIFY(!second.FormCreate());
    QCOMPARE(m_dialogs->messages,
             QStringList{
                 QStringLiteral("Программа уже запущена с этой же папкой (процесс %1): её занимает файл %2. "
                                "Вторая копия будет завершена, чтобы две копии не испортили друг другу "
                                "трассы и настройки.")
                     .arg(holder)
                     .arg(lockFile)});
    QCOMPARE(second.PaTr->text(), QStringLiteral("не выбран"));
    QVERIFY(QFile::exists(m_home->path(".rovex-write-a1B2c3")));
    QVERIFY(QFile::exists(lockFile));
    QCOMPARE(m_home->options(), QByteArray("/other library/\r\n/other game/\r\n1\r\n"));
}

void TestSingleCopy::copyThatEndedLetsTheNextOneIn_data()
{
    QTest::addColumn<bool>("otherProcess");
    QTest::newRow("closed in this process") << false;
    QTest::newRow("killed in another process") << true;
}

void TestSingleCopy::copyThatEndedLetsTheNextOneIn()
{
    QFETCH(bool, otherProcess);
    QVERIFY(openFirstCopy(otherProcess));
    endFirstCopy();
    // A killed copy leaves its lock behind; one that closed does not.
    QCOMPARE(QFile::exists(m_home->path("rovex.lock")), otherProcess);

    TForm1 next;
    QVERIFY(next.FormCreate());
    QCOMPARE(next.PaTr->text(), QStringLiteral("/library/"));
    QCOMPARE(readAll(m_home->path("rovex.lock")).split('\n').value(0),
             QByteArray::number(QCoreApplication::applicationPid()));
}

void TestSingleCopy::emptyLockLeftByAKillIsTakenOver()
{
    // Killed between making the lock file and writing the holder's details into it.
    QVERIFY(writeBytes(m_home->path("rovex.lock"), QByteArray()));
    TForm1 next;
    QVERIFY(next.FormCreate());
    QCOMPARE(readAll(m_home->path("rovex.lock")).split('\n').value(0),
             QByteArray::number(QCoreApplication::applicationPid()));
}

void TestSingleCopy::emptyLockOfALiveCopyIsNotTakenOver()
{
    // Between making the lock file and writing its details, a live copy holds the file's lock.
    QFile lock(m_home->path("rovex.lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly) && flock(lock.handle(), LOCK_EX | LOCK_NB) == 0);
    TForm1 next;
    QVERIFY(!next.FormCreate());
    QCOMPARE(readAll(m_home->path("rovex.lock")), QByteArray());
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0) {
        // The other copy: opens the window on the given home folder and runs until it is killed.
        ScriptedDialogs dialogs;
        QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
        TForm1 form;
        if (!form.FormCreate())
            return 1;
        std::puts("held");
        std::fflush(stdout);
        return QApplication::exec();
    }
    TestSingleCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_single_copy.moc"
