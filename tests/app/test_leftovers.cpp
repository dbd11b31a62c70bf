#include "app/main_window.h"
#include "tests/support/Files.h"
#include "tests/support/HomeFolder.h"
#include "tests/support/ScriptedDialogs.h"

#include <QFileInfo>
#include <QtTest>

namespace {

enum class Kind
{
    File,
    Folder,
    Extraction,          // a folder holding two plain files
    ExtractionWithInner, // the same with a folder of its own inside
    LinkToFile,          // a link to "outside/file"
    LinkToFolder         // a link to "outside/folder", which holds "file"
};

struct Entry
{
    const char* path; // under the fixture: the home folder itself, "library/", "Temp/", "Temp1/", "game/"
    Kind kind;
    bool removed;
};

// What killed runs leave, beside look-alikes that are not the program's to remove.
const Entry Entries[] = {
    {".rovex-write-a1B2c3", Kind::File, true},
    {"Temp/.7zip-a1B2c3d4", Kind::Extraction, true},
    {"Temp1/.7zip-Zz09Yy87", Kind::Extraction, true},
    {".7zip-Q1w2E3r4", Kind::Extraction, true}, // beside "Temp1"
    {"game/Data/Tracks/Coastal/.rovex-move-Q1w2E3", Kind::File, true},
    {"game/Data/Tracks/uk/.rovex-move-x9Y8z7", Kind::File, true},
    {"library/Hills/.rovex-move-k3J4h5", Kind::File, true},
    {".rovex-write-a1B2c", Kind::File, false},
    {".rovex-write-a1B2c3d", Kind::File, false},
    {".rovex-write-a1B2-3", Kind::File, false},
    {".ROVEX-WRITE-a1B2c3", Kind::File, false},
    {"rovex-write-a1B2c3", Kind::File, false},
    {"options.dat", Kind::File, false},
    {"Temp/.7zip-a1B2c3d5", Kind::File, false},
    {"Temp/.7zip-Link0000", Kind::LinkToFolder, false},
    {"Temp/.7zip-Inner000", Kind::ExtractionWithInner, false},
    {"Temp/Tr.frd", Kind::File, false},
    {"game/.rovex-move-R5t6Y7", Kind::File, false},
    {"game/Data/Tracks/Coastal/.rovex-move-Fold00", Kind::Folder, false},
    {"game/Data/Tracks/Coastal/.rovex-move-L1n2K3", Kind::LinkToFile, false},
    {"game/Data/Tracks/Coastal/Tr.frd", Kind::File, false},
    {"game/Data/Tracks/Coastal/0Tr.frd", Kind::File, false},
    // Our own names where the program never makes them.
    {".rovex-move-Q1w2E3", Kind::File, false},
    {"Temp/.rovex-write-a1B2c3", Kind::File, false},
    {"Temp1/.rovex-move-a1B2c3", Kind::File, false},
    {"library/Hills/.7zip-a1B2c3d4", Kind::Extraction, false},
    {"game/Data/Tracks/Coastal/.rovex-write-a1B2c3", Kind::File, false},
};

} // namespace

// Start-up removes what killed runs left behind, and nothing else.
class TestLeftovers : public QObject
{
    Q_OBJECT

private slots:
    void startUpRemovesOnlyTheProgramsOwnLeftovers();
};

void TestLeftovers::startUpRemovesOnlyTheProgramsOwnLeftovers()
{
    HomeFolder home;
    QVERIFY(home.isValid());
    home.writeOptions({home.makeLibrary({"Hills/one.zip"}), home.path("game/"), "0"});
    QVERIFY(writeBytes(home.path("outside/file"), "not ours"));
    QVERIFY(writeBytes(home.path("outside/folder/file"), "not ours"));
    for (const Entry& entry : Entries) {
        const QString path = home.path(entry.path);
        switch (entry.kind) {
        case Kind::File:
            if (!QFile::exists(path))
                QVERIFY(writeBytes(path, "x"));
            break;
        case Kind::Folder:
            QVERIFY(QDir().mkpath(path));
            break;
        case Kind::ExtractionWithInner:
            QVERIFY(writeBytes(path + "/inner/file", "x"));
            Q_FALLTHROUGH();
        case Kind::Extraction:
            QVERIFY(writeBytes(path + "/Tr.frd", "x") && writeBytes(path + "/Tr.qfs", "x"));
            break;
        case Kind::LinkToFile:
        case Kind::LinkToFolder:
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(QFile::link(home.path(entry.kind == Kind::LinkToFile ? "outside/file" : "outside/folder"),
                                path));
            break;
        }
    }

    ScriptedDialogs dialogs;
    TForm1 form;
    QVERIFY(form.FormCreate());

    for (const Entry& entry : Entries) {
        const QFileInfo info(home.path(entry.path));
        QVERIFY2(info.exists() != entry.removed, entry.path);
        if (entry.kind == Kind::ExtractionWithInner) {
            QVERIFY2(!QFile::exists(info.filePath() + "/Tr.frd"), entry.path);
            QVERIFY2(QFile::exists(info.filePath() + "/inner/file"), entry.path);
        }
    }
    QCOMPARE(readAll(home.path("outside/file")), QByteArray("not ours"));
    QCOMPARE(readAll(home.path("outside/folder/file")), QByteArray("not ours"));
}

QTEST_MAIN(TestLeftovers)
#include "test_leftovers.moc"
