#include "app/main_window.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <cstdio>

namespace {

const QString Leftover = QStringLiteral(".rovex-write-a1B2c3");

// The other copy: this test program started again with "--hold HOME" opens the window on HOME and
// keeps running until it is killed.
int holdHomeFolder(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ScriptedDialogs dialogs;
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    TForm1 form;
    if (!form.FormCreate())
        return 1;
    std::puts("held");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

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

private:
    // Opens the first copy: in this process, or in another one.
    void openFirstCopy(bool otherProcess);
    qint64 firstCopyPid() const;
    void endFirstCopy();

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TForm1> m_first;
    QProcess m_other;
};

void TestSingleCopy::init()
{
    m_home = std::make_unique<HomeFolder>();
    QVERIFY(m_home->isValid());
    m_home->writeOptions({"/library/", "/game/", "0"});
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void TestSingleCopy::cleanup()
{
    endFirstCopy();
    m_dialogs.reset();
    m_home.reset();
}

void TestSingleCopy::openFirstCopy(bool otherProcess)
{
    if (!otherProcess) {
        m_first = std::make_unique<TForm1>();
        QVERIFY(m_first->FormCreate());
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    m_other.setProcessEnvironment(environment);
    m_other.start(QCoreApplication::applicationFilePath(), {"--hold", m_home->path()});
    QVERIFY(m_other.waitForStarted());
    while (!m_other.canReadLine())
        QVERIFY2(m_other.waitForReadyRead(30000), "the other copy did not open");
    QCOMPARE(m_other.readLine(), QByteArray("held\n"));
}

qint64 TestSingleCopy::firstCopyPid() const
{
    return m_first ? QCoreApplication::applicationPid() : m_other.processId();
}

void TestSingleCopy::endFirstCopy()
{
    m_first.reset();
    if (m_other.state() != QProcess::NotRunning) {
        m_other.kill();
        m_other.waitForFinished();
    }
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
    openFirstCopy(otherProcess);
    const QString lockFile = m_home->path("rovex.lock");
    QFile lock(lockFile);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-lockAgeSeconds),
                             QFileDevice::FileModificationTime));
    lock.close();
    QVERIFY(writeBytes(m_home->path(Leftover), "left by a killed run"));
    m_home->writeOptions({"/other library/", "/other game/", "1"});
    m_dialogs->messages.clear();

    TForm1 second;
    QVERIFY(!second.FormCreate());
    QCOMPARE(m_dialogs->messages,
             QStringList{
                 QStringLiteral("Программа уже запущена с этой же папкой (процесс %1): её занимает файл %2. "
                                "Вторая копия будет завершена, чтобы две копии не испортили друг другу "
                                "трассы и настройки.")
                     .arg(firstCopyPid())
                     .arg(QFileInfo(lockFile).absoluteFilePath())});
    QCOMPARE(second.PaTr->text(), QStringLiteral("не выбран"));
    QVERIFY(QFile::exists(m_home->path(Leftover)));
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
    openFirstCopy(otherProcess);
    endFirstCopy();
    // A killed copy leaves its lock behind; one that closed does not.
    QCOMPARE(QFile::exists(m_home->path("rovex.lock")), otherProcess);

    TForm1 next;
    QVERIFY(next.FormCreate());
    QCOMPARE(next.PaTr->text(), QStringLiteral("/library/"));
    QCOMPARE(readAll(m_home->path("rovex.lock")).split('\n').value(0),
             QByteArray::number(QCoreApplication::applicationPid()));
}

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0)
        return holdHomeFolder(argc, argv);
    QApplication application(argc, argv);
    TestSingleCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_single_copy.moc"
