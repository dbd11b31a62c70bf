#include "app/VerifyCommand.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "platform/Process.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tools/archiver/ZipWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

// The standard files as first seen, compared around every move of the start command and by
// "rovex --verify".
class TestStandardFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void differencesAreToldAfterTheRunAndByTheCheck_data();
    void differencesAreToldAfterTheRunAndByTheCheck();

private:
    void run(const QString& start);

    std::unique_ptr<HomeFolder> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QString m_game;
};

void TestStandardFiles::init()
{
    m_home = std::make_unique<HomeFolder>(QStringLiteral(ROVEX_TOOL_ARCHIVER));
    QVERIFY(m_home->isValid());
    platform::setInterpreterPath(QStringLiteral(ROVEX_TOOL_ROVEX_CMD));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_game = m_home->path("game/");
    for (const QString& slot : trackslots::SlotNames()) {
        QVERIFY(QDir().mkpath(m_home->path("library/" + slot)));
        for (const QString& name : trackslots::TrackFileSet())
            QVERIFY(writeBytes(m_game + "Data/Tracks/" + slot + "/" + name,
                               ("standard " + slot + name).toUtf8()));
    }
    QVERIFY(writeBytes(m_game + "nfshs.exe", "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(m_game + "nfshs.exe", QFile::ReadOwner | QFile::ExeOwner));
    QString error;
    QVERIFY2(
        writeZip(m_home->path("library/Aquatica/track.zip"),
                 {ZipEntry::file("Tr.frd", "add-on Tr.frd"), ZipEntry::file("tr0.qfs", "add-on tr0.qfs")},
                 &error),
        qPrintable(error));
}

void TestStandardFiles::cleanup()
{
    m_dialogs.reset();
    m_home.reset();
}

// One run of the program, which presses Start when asked; only Aquatica has an archive in the library.
void TestStandardFiles::run(const QString& start)
{
    m_home->writeOptions({m_home->path("library/"), m_game, "1"});
    QVERIFY(QDir::setCurrent(m_home->path()));
    TForm1 form;
    QVERIFY(form.FormCreate());
    if (start.isEmpty())
        return;
    (start == "install" ? form.NTr : form.StTr)->setChecked(true);
    form.BitBtn2Click();
    QVERIFY(form.GameLaunched);
}

void TestStandardFiles::differencesAreToldAfterTheRunAndByTheCheck_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("told");    // Aquatica's line in the report; empty: no standard file named
    QTest::addColumn<QString>("checked"); // Aquatica's line of "--verify"
    QTest::addColumn<int>("exitCode");

    QTest::newRow("files as first seen") << QStringList{"see", "install"} << ""
                                         << "Aquatica\tadd-on track.zip" << 0;
    QTest::newRow("standard file changed by hand before an install")
        << QStringList{"see", "change Tr.frd", "install"} << "• Акватика (Aquatica): Tr.frd (изменён)."
        << "Aquatica\tTr.frd" << 1;
    QTest::newRow("standard file gone before an install")
        << QStringList{"see", "remove tr0.qfs", "install"} << "• Акватика (Aquatica): tr0.qfs (пропал)."
        << "Aquatica\ttr0.qfs" << 1;
    QTest::newRow("damaged backup, named after the restore")
        << QStringList{"install", "change 0Tr.frd", "standard"} << "• Акватика (Aquatica): Tr.frd (изменён)."
        << "Aquatica\tTr.frd" << 1;
    // The start command trusts an old file whose time is unchanged; the check hashes every file.
    QTest::newRow("changed with its old time put back: passed by the start, named by the check")
        << QStringList{"age", "see", "change Tr.frd keeping its time", "install"} << ""
        << "Aquatica\tTr.frd" << 1;
    QTest::newRow("accepted while an add-on that brought a file of its own is in")
        << QStringList{"see", "remove tr0.qfs", "install", "accept"}
        << "• Акватика (Aquatica): tr0.qfs (пропал)."
        << "Aquatica\tadd-on track.zip" << 0;
    QTest::newRow("a change of the user's own accepted")
        << QStringList{"see", "change Tr.frd", "accept"} << ""
        << "Aquatica\tstandard" << 0;
}

void TestStandardFiles::differencesAreToldAfterTheRunAndByTheCheck()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, told);
    QFETCH(QString, checked);
    QFETCH(int, exitCode);
    const QString aquatica = m_game + "Data/Tracks/Aquatica/";
    const auto makeOld = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)), QFile::FileModificationTime);
    };
    for (const QString& step : steps) {
        const QString file = aquatica + step.section(' ', 1, 1);
        if (step == "see") {
            run({});
        } else if (step == "age") {
            for (const QString& name : trackslots::TrackFileSet())
                QVERIFY(makeOld(aquatica + name));
        } else if (step.startsWith("change")) {
            // As long as before: only the contents tell it apart.
            QVERIFY(writeBytes(file, readAll(file).toUpper()));
            if (step.endsWith("keeping its time"))
                QVERIFY(makeOld(file));
        } else if (step.startsWith("remove")) {
            QVERIFY(QFile::remove(file));
        } else if (step == "accept") {
            QCOMPARE(verifyGame(m_home->path(), true).exitCode, 0);
        } else {
            run(step);
        }
    }
    QStringList reported;
    for (const QString& message : m_dialogs->messages) {
        if (message.contains("Стандартные файлы трасс не такие"))
            reported += message.split('\n').filter("• ");
    }
    QCOMPARE(reported, told.isEmpty() ? QStringList{} : QStringList{told});

    const VerifyResult check = verifyGame(m_home->path(), false);
    QVERIFY2(check.output.split('\n').contains(checked), qPrintable(check.output));
    QCOMPARE(check.exitCode, exitCode);
}

QTEST_MAIN(TestStandardFiles)
#include "test_standard_files.moc"
