// The fault sweep: a 5-slot install and a full restore are cut short before each change they make
// under the game folder, "Temp" and the home folder, in turn, by a kill or by a failing call (ENOSPC,
// EIO), in Rovex itself (the real window pressing Старт, rovex-start-driver), in the interpreter and
// in the archiver. After every cut the program is started again in standard mode and the game folder
// is compared byte for byte with its pristine copy. After a failing call the run itself is judged
// too: every slot installed whole or left standard, and every slot left standard told to the user.
//
// ROVEX_SWEEP_EVERY=k tries every k-th step (default 8; 1 tries all); the table goes to the log.
#include "tests/support/Files.h"
#include "tools/archiver/ZipWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QStringList kSlots{"Aquatica", "Atlantic", "Coastal", "Country", "Empire",   "France",   "Germany",
                         "Gt1",      "Gt2",      "Gt3",     "Hills",   "Hometown", "Lostcany", "Park",
                         "Redrock",  "Rockypas", "Snowy",   "Summit",  "UK"};
const QStringList kTrackFiles{"spdfa.bin",   "spdRA.bin", "Tr.cam",   "Tr00.can", "tr00a.can", "tr01.can",
                              "tr02.can",    "Tr03.can",  "tr04.can", "Tr05.can", "Tr06.can",  "Tr.frd",
                              "Tr.ini",      "TrN.ini",   "TrNW.ini", "TrW.ini",  "sky.qfs",   "tr0.qfs",
                              "heights.sim", "Trn.frd",   "TRN0.qFS"};

// The five slots the install fills, from both columns, and how the messages name them.
struct AddOn
{
    QString slot;
    QString archive;
    int files; // the first so many track files
    QString label;
};
const QList<AddOn> kAddOns{
    {"Aquatica", "aquatica-whole.zip", 21, "Акватика (Aquatica)"},
    {"Coastal", "cove-six.zip", 6, "Бухта Дельфинов (Dolphin Cove)"},
    {"Gt2", "raceway-four.zip", 4, "Гоночный трек 2 (Raceway 2)"},
    {"Park", "park-two.zip", 2, "Киндиакийский парк (Kindiak Park)"},
    {"UK", "durham-one.zip", 1, "Дорога Дурхэм (Durham Road)"},
};

using Files = QMap<QString, QByteArray>; // "Slot/name" under Data/Tracks -> bytes

QByteArray standardBytes(const QString& slot, const QString& name)
{
    return "standard " + slot.toUtf8() + " " + name.toUtf8() + "\n";
}

QByteArray addOnBytes(const QString& archive, const QString& name)
{
    return "add-on " + archive.toUtf8() + " " + name.toUtf8() + "\n";
}

Files pristine()
{
    Files files;
    for (const QString& slot : kSlots) {
        for (const QString& name : kTrackFiles)
            files.insert(slot + "/" + name, standardBytes(slot, name));
    }
    return files;
}

Files installed()
{
    Files files = pristine();
    for (const AddOn& addOn : kAddOns) {
        for (const QString& name : kTrackFiles.mid(0, addOn.files)) {
            files.insert(addOn.slot + "/0" + name, standardBytes(addOn.slot, name));
            files.insert(addOn.slot + "/" + name, addOnBytes(addOn.archive, name));
        }
    }
    return files;
}

Files slotPart(const Files& files, const QString& slot)
{
    Files part;
    for (auto file = files.begin(); file != files.end(); ++file) {
        if (file.key().startsWith(slot + "/"))
            part.insert(file.key(), file.value());
    }
    return part;
}

struct Log
{
    QStringList messages; // message boxes, line breaks as "\n"
    int errorBoxes = 0;
    QString status;
    bool launched = false;
};

// How the faulty run is cut.
struct Fault
{
    QString program; // the process to act in
    QString action;  // "kill", "ENOSPC", "EIO"
    quint64 step = 0;
    QString trace; // a file for the shim's line per counted change
};

struct Row
{
    QString scenario;
    QString program;
    QString action;
    int steps = 0;
    int tried = 0;
    int hit = 0;
    int intact = 0;
    int lost = 0;
    int misplaced = 0;
    int silent = 0;
};

QString tableLine(const QStringList& cells)
{
    const QList<int> widths{-8, -19, -7, 6, 6, 6, 7, 5, 10, 7};
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += QStringLiteral("%1 ").arg(cells.at(i), widths.at(i));
    return line.trimmed() + QLatin1Char('\n');
}

} // namespace

class TestFaultSweep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void renamesAreFlushedBeforeTheStateIsRecorded_data();
    void renamesAreFlushedBeforeTheStateIsRecorded();
    void sweep_data();
    void sweep();
    void twoCopiesStartingAtOnceLeaveEverySlotWhole();
    void cleanupTestCase();

private:
    void layOut();
    void reset(const Files& game, const QByteArray& state);
    Files game() const;
    QByteArray state() const;
    // Runs the driver; false when it hung. `counted` gets the changes the shim counted.
    bool run(const QString& mode, const Fault* fault, Log* log, quint64* counted = nullptr,
             quint64* hitAt = nullptr);
    void judgeRun(const QString& scenario, const Log& log, Row& row);
    void judgeRecovery(Row& row);

    QTemporaryDir m_dir;
    QString m_root;
    QString m_home;
    QString m_game;
    Files m_installed;
    QList<Row> m_table;
};

void TestFaultSweep::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_root = QFileInfo(m_dir.path()).canonicalFilePath() + "/";
    m_home = m_root + "home/";
    m_game = m_root + "game/";
    QVERIFY(QDir().mkpath(m_root + "runtime"));
    QVERIFY(QDir().mkpath(m_root + "processes"));
    QVERIFY(
        QFile::setPermissions(m_root + "runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    layOut();
    const Files standard = pristine();
    for (auto file = standard.begin(); file != standard.end(); ++file)
        QVERIFY(writeBytes(m_game + "Data/Tracks/" + file.key(), file.value()));
    // The state the restore starts from is made by a clean install.
    reset(standard, "1");
    Log log;
    QVERIFY(run("install", nullptr, &log));
    QVERIFY2(log.messages.isEmpty(), qPrintable(log.messages.join(" | ")));
    QVERIFY(log.launched);
    QCOMPARE(game(), installed());
    QCOMPARE(state(), QByteArray("0"));
    m_installed = game();
}

void TestFaultSweep::layOut()
{
    QVERIFY(QDir().mkpath(m_home));
    QVERIFY(QFile::link(ROVEX_TOOL_ARCHIVER, m_home + "7zip.exe"));
    QVERIFY(writeBytes(m_home + "extrc.pif", "[Batch]\r\nTimeout=60\r\n"));
    for (const AddOn& addOn : kAddOns) {
        QList<ZipEntry> entries;
        for (const QString& name : kTrackFiles.mid(0, addOn.files))
            entries.append(ZipEntry::file(name, addOnBytes(addOn.archive, name)));
        QVERIFY(QDir().mkpath(m_root + "library/" + addOn.slot));
        QVERIFY(writeZip(m_root + "library/" + addOn.slot + "/" + addOn.archive, entries));
    }
    QVERIFY(writeBytes(m_game + "nfshs.exe", "#!/bin/sh\nexit 0\n"));
    QVERIFY(
        QFile::setPermissions(m_game + "nfshs.exe", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// Lays the five slot folders out anew (the sweep checks that the others stay untouched), empties the
// work folder and the home folder's run files, and records `state`.
void TestFaultSweep::reset(const Files& game, const QByteArray& state)
{
    for (const AddOn& addOn : kAddOns)
        QDir(m_game + "Data/Tracks/" + addOn.slot).removeRecursively();
    QDir(m_root + "Temp").removeRecursively();
    for (const QString& name : QDir(m_home).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name != "7zip.exe" && name != "extrc.pif")
            QFile::remove(m_home + name);
    }
    QDir(m_home + "extrc.bat").removeRecursively();
    for (const AddOn& addOn : kAddOns) {
        const Files part = slotPart(game, addOn.slot);
        for (auto file = part.begin(); file != part.end(); ++file)
            QVERIFY(writeBytes(m_game + "Data/Tracks/" + file.key(), file.value()));
    }
    QVERIFY(writeBytes(m_home + "options.dat",
                       (m_root + "library/\r\n" + m_game + "\r\n").toUtf8() + state + "\r\n"));
}

Files TestFaultSweep::game() const
{
    Files files;
    for (const QString& slot : QDir(m_game + "Data/Tracks").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = m_game + "Data/Tracks/" + slot + "/";
        for (const QString& name : sortedEntries(folder))
            files.insert(slot + "/" + name,
                         QFileInfo(folder + name).isFile() ? readAll(folder + name) : "<entry>");
    }
    return files;
}

QByteArray TestFaultSweep::state() const
{
    const QList<QByteArray> lines = readAll(m_home + "options.dat").split('\n');
    const QByteArray expected = (m_root + "library/\r\n" + m_game + "\r").toUtf8();
    // A settings file that lost its folders is as bad as a lost state.
    if (lines.size() != 4 || lines.at(0) + "\n" + lines.at(1) != expected || !lines.at(3).isEmpty())
        return "<invalid>";
    return lines.at(2).chopped(1);
}

bool TestFaultSweep::run(const QString& mode, const Fault* fault, Log* log, quint64* counted, quint64* hitAt)
{
    const QString logPath = m_root + "run.log";
    const QString counter = m_root + "counter";
    QFile::remove(logPath);
    if (!writeBytes(counter, QByteArray(16, '\0')))
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", m_root + "runtime");
    environment.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
    if (fault) {
        environment.insert("LD_PRELOAD", ROVEX_TOOL_ROVEX_FAULT_SHIM);
        environment.insert("ROVEX_FAULT_TARGET", fault->program);
        environment.insert("ROVEX_FAULT_PREFIXES",
                           m_home.chopped(1) + ":" + m_game.chopped(1) + ":" + m_root + "Temp");
        environment.insert("ROVEX_FAULT_COUNTER", counter);
        environment.insert("ROVEX_FAULT_STEP", QString::number(fault->step));
        environment.insert("ROVEX_FAULT_ACTION", fault->action);
        if (!fault->trace.isEmpty())
            environment.insert("ROVEX_FAULT_TRACE", fault->trace);
    }
    QProcess driver;
    driver.setProcessEnvironment(environment);
    driver.setWorkingDirectory(m_home);
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.setStandardOutputFile(QProcess::nullDevice());
    driver.start(ROVEX_TOOL_ROVEX_START_DRIVER, {mode, logPath, ROVEX_TOOL_ROVEX_CMD, m_root + "processes"});
    if (!driver.waitForFinished(120000)) {
        driver.kill();
        driver.waitForFinished();
        return false;
    }
    const QByteArray numbers = readAll(counter);
    if (counted)
        *counted = numbers.size() == 16 ? *reinterpret_cast<const quint64*>(numbers.constData()) : 0;
    if (hitAt)
        *hitAt = numbers.size() == 16 ? *reinterpret_cast<const quint64*>(numbers.constData() + 8) : 0;
    *log = Log();
    for (const QByteArray& line : readAll(logPath).split('\n')) {
        const QString text = QString::fromUtf8(line.mid(2));
        if (line.startsWith("M "))
            log->messages.append(text);
        else if (line.startsWith("E "))
            ++log->errorBoxes;
        else if (line.startsWith("S "))
            log->status = text;
        else if (line.startsWith("L "))
            log->launched = text == "1";
    }
    return true;
}

// Right after a run with a failing call: nothing half-done, nothing left standard without a word.
void TestFaultSweep::judgeRun(const QString& scenario, const Log& log, Row& row)
{
    const Files now = game();
    bool silent = false;
    bool misplaced = false;
    for (const QString& slot : kSlots) {
        const Files part = slotPart(now, slot);
        const bool standard = part == slotPart(pristine(), slot);
        const auto addOn =
            std::find_if(kAddOns.begin(), kAddOns.end(), [&](const AddOn& a) { return a.slot == slot; });
        if (addOn == kAddOns.end()) {
            misplaced = misplaced || !standard;
            continue;
        }
        const bool told = log.errorBoxes > 0 ||
                          std::any_of(log.messages.begin(), log.messages.end(), [&](const QString& message) {
                              return message.contains(scenario == "install" ? addOn->archive : addOn->label);
                          });
        if (scenario == "install") {
            // Installed whole or left standard; a slot left standard is told.
            const bool whole = part == slotPart(m_installed, slot);
            misplaced = misplaced || (!standard && !whole);
            silent = silent || (standard && !told);
        } else {
            // A slot not given back whole is told, and "0" stays recorded for the next start.
            silent = silent || (!standard && !told);
            misplaced = misplaced || (!standard && state() != "0");
        }
    }
    silent = silent ||
             (log.status == " Готово. Поехали!" && now != (scenario == "install" ? m_installed : pristine()));
    row.misplaced += misplaced;
    row.silent += silent;
}

// After the next standard start: every standard byte back, nothing else left, "1" recorded.
void TestFaultSweep::judgeRecovery(Row& row)
{
    Log log;
    if (!run("standard", nullptr, &log)) {
        ++row.lost;
        return;
    }
    const Files now = game();
    if (now == pristine() && state() == "1") {
        ++row.intact;
        return;
    }
    QStringList differences{"state " + QString::fromUtf8(state())};
    const Files standardFiles = pristine();
    for (const QString& path : QSet<QString>(now.keyBegin(), now.keyEnd()) +
                                   QSet<QString>(standardFiles.keyBegin(), standardFiles.keyEnd())) {
        if (now.value(path, "<none>") != standardFiles.value(path, "<none>"))
            differences.append(path + ": " + QString::fromUtf8(now.value(path, "<none>")).trimmed());
    }
    qWarning().noquote() << "not recovered:" << log.messages.join(" | ") << differences.join("; ");
    // A standard file that is only under its backup name while "1" is recorded is lost for good:
    // no later start puts it back.
    const Files standard = pristine();
    const bool backupsWillReturn = state() == "0";
    for (auto file = standard.begin(); file != standard.end(); ++file) {
        const QString backup = file.key().section('/', 0, 0) + "/0" + file.key().section('/', 1);
        if (now.value(file.key()) != file.value() &&
            (!backupsWillReturn || now.value(backup) != file.value())) {
            ++row.lost;
            return;
        }
    }
    ++row.misplaced;
}

void TestFaultSweep::renamesAreFlushedBeforeTheStateIsRecorded_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("install") << "install";
    QTest::newRow("restore") << "restore";
}

// A power cut must not lose renames behind a recorded state: every game slot folder that a rename
// touched is flushed after its last rename and before "options.dat" takes its final state.
void TestFaultSweep::renamesAreFlushedBeforeTheStateIsRecorded()
{
    QFETCH(QString, scenario);
    const QString trace = m_root + "trace";
    QFile::remove(trace);
    reset(scenario == "install" ? pristine() : m_installed, scenario == "install" ? "1" : "0");
    const Fault counting{"rovex-start-driver", "kill", 0, trace};
    Log log;
    QVERIFY(run(scenario == "install" ? "install" : "standard", &counting, &log));
    QVERIFY(log.launched);

    QMap<QString, int> lastRename; // slot folder -> line of its last rename
    QMap<QString, int> lastFlush;
    int stateRecorded = -1;
    const QList<QByteArray> lines = readAll(trace).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList words = QString::fromUtf8(lines.at(i)).split(' ');
        if (words.size() < 3)
            continue;
        const QString& call = words.at(1);
        if (call.startsWith("rename") && words.last() == m_home + "options.dat")
            stateRecorded = i;
        for (const QString& path : words.mid(2)) {
            if (!path.startsWith(m_game + "Data/Tracks/"))
                continue;
            if (call.startsWith("rename"))
                lastRename[QFileInfo(path).path()] = i;
            else if (call == "fsync")
                lastFlush[path] = i;
        }
    }
    QCOMPARE(lastRename.size(), 5);
    QVERIFY(stateRecorded >= 0);
    for (auto folder = lastRename.begin(); folder != lastRename.end(); ++folder) {
        QVERIFY2(lastFlush.value(folder.key(), -1) > folder.value(), qPrintable(folder.key()));
        QVERIFY2(lastFlush.value(folder.key()) < stateRecorded, qPrintable(folder.key()));
    }
}

void TestFaultSweep::sweep_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("action");
    for (const QString action : {"kill", "ENOSPC", "EIO"}) {
        for (const QString program : {"rovex-start-driver", "rovex-cmd", "7zip.exe"})
            QTest::addRow("install %s %s", qPrintable(program), qPrintable(action))
                << "install" << program << action;
        QTest::addRow("restore rovex-start-driver %s", qPrintable(action)) << "restore"
                                                                           << "rovex-start-driver" << action;
    }
}

void TestFaultSweep::sweep()
{
    QFETCH(QString, scenario);
    QFETCH(QString, program);
    QFETCH(QString, action);
    const int every = qMax(1, qEnvironmentVariableIntValue("ROVEX_SWEEP_EVERY")
                                  ? qEnvironmentVariableIntValue("ROVEX_SWEEP_EVERY")
                                  : 8);
    const Files start = scenario == "install" ? pristine() : m_installed;
    const QByteArray startState = scenario == "install" ? "1" : "0";
    const QString mode = scenario == "install" ? "install" : "standard";

    Row row{scenario, program, action};
    const Fault counting{program, action, 0, {}};
    quint64 steps = 0;
    Log log;
    reset(start, startState);
    QVERIFY(run(mode, &counting, &log, &steps));
    QVERIFY(steps > 0);
    row.steps = int(steps);
    for (quint64 step = 1; step <= steps; step += every) {
        reset(start, startState);
        const Fault fault{program, action, step, {}};
        quint64 hitAt = 0;
        ++row.tried;
        if (!run(mode, &fault, &log, nullptr, &hitAt)) {
            ++row.silent; // a hang is a failure nobody is told of
            continue;
        }
        row.hit += hitAt == step;
        if (qEnvironmentVariableIsSet("ROVEX_SWEEP_VERBOSE"))
            qInfo().noquote() << scenario << program << action << step << "status:" << log.status
                              << "error boxes:" << log.errorBoxes << "messages:" << log.messages;
        if (action != "kill")
            judgeRun(scenario, log, row);
        judgeRecovery(row);
    }
    m_table.append(row);
    QCOMPARE(row.hit, row.tried);
    QCOMPARE(row.lost, 0);
    QCOMPARE(row.misplaced, 0);
    QCOMPARE(row.silent, 0);
    QCOMPARE(row.intact, row.tried);
}

// Two installations of the program (two home folders) named at the same game and library, Старт
// pressed in both at once: every slot ends installed whole or standard, never a mix of the two runs.
void TestFaultSweep::twoCopiesStartingAtOnceLeaveEverySlotWhole()
{
    const QString otherHome = m_root + "other home/";
    QVERIFY(QDir().mkpath(otherHome) && QFile::link(ROVEX_TOOL_ARCHIVER, otherHome + "7zip.exe"));
    QVERIFY(QFile::copy(m_home + "extrc.pif", otherHome + "extrc.pif"));
    // Their timing differs from round to round.
    for (int round = 0; round < 8; ++round) {
        reset(pristine(), "1");
        QVERIFY(writeBytes(otherHome + "options.dat", readAll(m_home + "options.dat")));
        QProcess copies[2];
        for (int i = 0; i < 2; ++i) {
            copies[i].setWorkingDirectory(i == 0 ? m_home : otherHome);
            copies[i].start(ROVEX_TOOL_ROVEX_START_DRIVER,
                            {"install", m_root + "copies.log", ROVEX_TOOL_ROVEX_CMD, m_root + "processes"});
        }
        for (QProcess& copy : copies)
            QVERIFY(copy.waitForFinished(120000));
        const Files now = game();
        for (const QString& slot : kSlots) {
            const Files part = slotPart(now, slot);
            QVERIFY2(part == slotPart(pristine(), slot) || part == slotPart(m_installed, slot),
                     qPrintable(slot));
        }
    }
}

void TestFaultSweep::cleanupTestCase()
{
    QString table = tableLine(
        {"scenario", "process", "fault", "steps", "tried", "hit", "intact", "lost", "misplaced", "silent"});
    int kills = 0;
    int errors = 0;
    Row total{"total", "", "", 0, 0, 0, 0, 0, 0, 0};
    for (const Row& row : m_table) {
        table += tableLine({row.scenario, row.program, row.action, QString::number(row.steps),
                            QString::number(row.tried), QString::number(row.hit), QString::number(row.intact),
                            QString::number(row.lost), QString::number(row.misplaced),
                            QString::number(row.silent)});
        (row.action == "kill" ? kills : errors) += row.hit;
        total.steps += row.steps;
        total.tried += row.tried;
        total.intact += row.intact;
        total.lost += row.lost;
        total.misplaced += row.misplaced;
        total.silent += row.silent;
    }
    table += QStringLiteral("steps tried %1 (kills %2, errors %3); states recovered intact %4, lost %5, "
                            "misplaced %6; silent failures %7\n")
                 .arg(total.tried)
                 .arg(kills)
                 .arg(errors)
                 .arg(total.intact)
                 .arg(total.lost)
                 .arg(total.misplaced)
                 .arg(total.silent);
    qInfo().noquote() << "\n" + table;
}

QTEST_GUILESS_MAIN(TestFaultSweep)
#include "test_fault_sweep.moc"
