#include "app/BatchRunner.h"

#include "app/IoError.h"
#include "app/SlotTable.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {

constexpr char kBatchName[] = "extrc.bat";
constexpr char kListName[] = "files.lst";
constexpr char kListMarkerName[] = "files1.lst";
constexpr char kPifName[] = "extrc.pif";
constexpr char kPifMarkerName[] = "extrc1.pif";
// A look now and then in case the folder's change notification does not come (a full inotify table,
// a network file system).
constexpr int kFallbackLookMs = 50;

QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

void writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IoError(QStringLiteral("Не удалось создать файл %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw IoError(QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString()));
    file.close();
}

} // namespace

BatchRunner::BatchRunner(const QString& homeDir, const QString& archiverPath)
    : m_homeDir(homeDir)
    , m_archiverPath(archiverPath)
{
}

bool BatchRunner::isSafeInBatch(const QString& path)
{
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c.unicode() < 32)
            return false;
    }
    return true;
}

void BatchRunner::writeTrackList() const
{
    QByteArray bytes;
    for (const QString& name : trackslots::TrackFileSet())
        bytes += name.toUtf8() + "\r\n";
    writeWhole(m_homeDir + kListName, bytes);
}

BatchRunner::Outcome BatchRunner::extractTrackFiles(const QString& archive, const QString& workFolder)
{
    const QString list = m_homeDir + kListName;
    const QString marker = m_homeDir + kListMarkerName;
    for (const QString& path : {m_archiverPath, archive, workFolder, list, marker}) {
        if (!isSafeInBatch(path)) {
            m_reason = QStringLiteral("Недопустимый символ в пути: %1").arg(path);
            return Outcome::Refused;
        }
    }
    const QString first =
        quoted(m_archiverPath) + " e " + quoted(archive) + " -o" + quoted(workFolder) + " @" + quoted(list);
    const QString second = "copy " + quoted(list) + " " + quoted(marker) + " /Y";
    return run(first, second, marker);
}

BatchRunner::Outcome BatchRunner::extractAll(const QString& archive, const QString& folder)
{
    const QString pif = m_homeDir + kPifName;
    const QString marker = m_homeDir + kPifMarkerName;
    for (const QString& path : {m_archiverPath, archive, folder, pif, marker}) {
        if (!isSafeInBatch(path)) {
            m_reason = QStringLiteral("Недопустимый символ в пути: %1").arg(path);
            return Outcome::Refused;
        }
    }
    const QString first = quoted(m_archiverPath) + " e " + quoted(archive) + " -o" + quoted(folder);
    const QString second = "copy " + quoted(pif) + " " + quoted(marker) + " /Y";
    const Outcome outcome = run(first, second, marker);
    platform::fs::removeFile(m_homeDir + kBatchName);
    return outcome;
}

BatchRunner::Outcome BatchRunner::run(const QString& firstLine, const QString& secondLine,
                                      const QString& marker)
{
    m_reason.clear();
    const QString batch = m_homeDir + kBatchName;
    writeWhole(batch, firstLine.toUtf8() + "\r\n" + secondLine.toUtf8());

    // A marker left by an earlier run would end the wait before the archiver has even started.
    if (platform::fs::entryExists(marker) && !platform::fs::removeFile(marker))
        throw IoError(QStringLiteral("Не удалось удалить старый файл %1").arg(marker));

    const platform::StartResult started = platform::winExec(quoted(batch), 0);
    if (!started.started) {
        m_reason = started.reason;
        return Outcome::NotStarted;
    }
    if (!waitForMarker(marker)) {
        m_reason = QStringLiteral("Архиватор не закончил работу за отведённое время");
        return Outcome::TimedOut;
    }
    platform::fs::removeFile(marker);
    return Outcome::Done;
}

bool BatchRunner::waitForMarker(const QString& marker) const
{
    // The interpreter renames the finished marker into the home folder, so a change of that folder
    // wakes the wait at once without polling. Meanwhile the window keeps painting, but no click or key
    // reaches it.
    QFileSystemWatcher watcher({QFileInfo(marker).absolutePath()});
    if (platform::fs::fileExists(marker))
        return true;
    QEventLoop loop;
    const auto lookForMarker = [&] {
        if (platform::fs::fileExists(marker))
            loop.quit();
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, lookForMarker);
    QTimer fallback;
    QObject::connect(&fallback, &QTimer::timeout, &loop, lookForMarker);
    fallback.start(kFallbackLookMs);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(m_timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return platform::fs::fileExists(marker);
}
