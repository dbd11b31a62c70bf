#include "app/InstallTracks.h"
#include "app/main_window.h"
#include "core/SlotTable.h"
#include "tests/support/Files.h"
#include "tests/support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

class TestRestoreTracks : public QObject
{
    Q_OBJECT

private slots:
    void backupReplacesTheAddOn_data();
    void backupReplacesTheAddOn();
    void addOnOnlyFilesStay();
    void secondRestoreChangesNothing();
    void folderAddOnIsNotDeleted();
    void missingFolderIsPassedOver();
    void everySlotIsRestoredTickedOrNot();
};

void TestRestoreTracks::backupReplacesTheAddOn_data()
{
    QTest::addColumn<QString>("backup");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<QString>("restored");
    QTest::newRow("same case") << "0Tr.frd"
                               << "Tr.frd"
                               << "Tr.frd";
    QTest::newRow("add-on in upper case") << "0tr.frd"
                                          << "TR.FRD"
                                          << "tr.frd";
    QTest::newRow("no add-on left") << "0sky.qfs"
                                    << ""
                                    << "sky.qfs";
    QTest::newRow("any name counts") << "0notes"
                                     << "notes"
                                     << "notes";
    QTest::newRow("dot-file") << "0.hidden"
                              << ".hidden"
                              << ".hidden";
}

void TestRestoreTracks::backupReplacesTheAddOn()
{
    QFETCH(QString, backup);
    QFETCH(QString, addOn);
    QFETCH(QString, restored);
    QTemporaryDir dir;
    const QString slot = dir.path() + "/";
    QVERIFY(writeBytes(slot + backup, "standard"));
    if (!addOn.isEmpty())
        QVERIFY(writeBytes(slot + addOn, "add-on"));
    QVERIFY(install::restoreSlotFolder(slot).complete());
    QCOMPARE(sortedEntries(slot), QStringList{restored});
    QCOMPARE(readAll(slot + restored), QByteArray("standard"));
}

void TestRestoreTracks::addOnOnlyFilesStay()
{
    QTemporaryDir dir;
    const QString slot = dir.path() + "/";
    QVERIFY(writeBytes(slot + "0Tr.frd", "standard"));
    QVERIFY(writeBytes(slot + "Tr.frd", "add-on"));
    QVERIFY(writeBytes(slot + "heights.sim", "add-on only"));
    install::restoreSlotFolder(slot);
    QCOMPARE(sortedEntries(slot), (QStringList{"Tr.frd", "heights.sim"}));
    QCOMPARE(readAll(slot + "heights.sim"), QByteArray("add-on only"));
}

void TestRestoreTracks::secondRestoreChangesNothing()
{
    QTemporaryDir dir;
    const QString slot = dir.path() + "/";
    QVERIFY(writeBytes(slot + "0Tr.frd", "standard"));
    QVERIFY(writeBytes(slot + "Tr.frd", "add-on"));
    install::restoreSlotFolder(slot);
    install::restoreSlotFolder(slot);
    QCOMPARE(sortedEntries(slot), QStringList{"Tr.frd"});
    QCOMPARE(readAll(slot + "Tr.frd"), QByteArray("standard"));
}

void TestRestoreTracks::folderAddOnIsNotDeleted()
{
    QTemporaryDir dir;
    const QString slot = dir.path() + "/";
    QVERIFY(writeBytes(slot + "0Tr.frd", "standard"));
    QVERIFY(writeBytes(slot + "Tr.frd/inside", "kept"));
    const install::SlotRestore result = install::restoreSlotFolder(slot);
    QCOMPARE(result.notRestored, QStringList{"Tr.frd"});
    QCOMPARE(result.error, EEXIST);
    QVERIFY(!result.complete());
    QCOMPARE(readAll(slot + "0Tr.frd"), QByteArray("standard"));
    QCOMPARE(readAll(slot + "Tr.frd/inside"), QByteArray("kept"));
}

void TestRestoreTracks::missingFolderIsPassedOver()
{
    QTemporaryDir dir;
    const QString slot = dir.path() + "/none/";
    install::restoreSlotFolder(slot);
    QVERIFY(!QFileInfo::exists(slot));
}

void TestRestoreTracks::everySlotIsRestoredTickedOrNot()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString game = dir.path() + "/game/";
    for (const QString& slot : trackslots::SlotNames()) {
        QVERIFY(writeBytes(game + "Data/Tracks/" + slot + "/0Tr.frd", slot.toUtf8()));
        QVERIFY(writeBytes(game + "Data/Tracks/" + slot + "/TR.FRD", "add-on"));
    }
    TForm1 form;
    form.PaGa->setText(game);
    QVERIFY(form.StandartTracks().isEmpty());
    for (const QString& slot : trackslots::SlotNames()) {
        const QString folder = game + "Data/Tracks/" + slot + "/";
        QCOMPARE(sortedEntries(folder), QStringList{"Tr.frd"});
        QCOMPARE(readAll(folder + "Tr.frd"), slot.toUtf8());
    }
}

QTEST_MAIN(TestRestoreTracks)
#include "test_restore_tracks.moc"
