#include "app/BatchRunner.h"

#include "core/IoError.h"
#include "core/SlotTable.h"
#include "core/SystemErrorText.h"
#include "platform/BatchProcess.h"
#include "platform/FileName.h"
#include "platform/FileSystem.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cerrno>

namespace {

constexpr char kBatchName[] = "extrc.bat";
constexpr char kListName[] = "files.lst";
constexpr char kListMarkerName[] = "files1.lst";
constexpr char kPifName[] = "extrc.pif";
constexpr char kPifMarkerName[] = "extrc1.pif";
constexpr char kStatusSuffix[] = ".status";
// A look now and then for the marker of an interpreter that does not end after making it.
constexpr int kLookMs = 50;
// The interpreter ends right after making its marker.
constexpr int kEndAfterMarkerMs = 5000;

QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

void writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IoError(QStringLiteral("Не удалось создать файл %1: %2.").arg(path, systemErrorInWords(errno)));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw IoError(
            QStringLiteral("Не удалось записать файл %1: %2.").arg(path, systemErrorInWords(errno)));
    file.close();
}

// Whatever an earlier run left under `path` would be taken for this run's result.
void removeStale(const QString& path)
{
    if (platform::fs::entryExists(path) && !platform::fs::removeFile(path))
        throw IoError(
            QStringLiteral("Не удалось удалить старый файл %1: %2.").arg(path, systemErrorInWords(errno)));
}

// The status line the interpreter wrote, or nothing when there is no readable one.
QString takeStatus(const QString& path)
{
    QFile file(path);
    QString status;
    if (file.open(QIODevice::ReadOnly))
        status = QString::fromUtf8(file.read(64)).trimmed();
    platform::fs::removeFile(path);
    return status;
}

} // namespace

BatchRunner::BatchRunner(const QString& homeDir, const QString& archiverPath)
    : m_homeDir(homeDir)
    , m_archiverPath(archiverPath)
    , m_timeoutMs(platform::batchTimeLimit())
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

QString BatchRunner::statusReason(const QString& status)
{
    const QStringList words = status.split(QLatin1Char(' '));
    bool isNumber = false;
    const int number = words.size() == 2 ? words.at(1).toInt(&isNumber) : 0;
    if (words.first() == QLatin1String("exit") && isNumber) {
        // The archiver's exit codes, as its --help lists them.
        switch (number) {
        case 0:
            return {};
        case 1:
            return QStringLiteral("Архиватор не принял командную строку (код 1)");
        case 2:
            return QStringLiteral("Файл не является архивом или не открывается");
        case 3:
            return QStringLiteral("Архив повреждён, или в папку Temp не удалось записать файлы "
                                  "(например, на диске нет места)");
        case 4:
            return QStringLiteral("Архив зашифрован");
        case 5:
            return QStringLiteral("Распаковка прервана");
        case 6:
            return QStringLiteral("Архив слишком велик для трассы: в нём слишком много файлов, или они "
                                  "заняли бы слишком много места");
        case 7:
            return QStringLiteral("Архив сжат способом, который архиватор не умеет распаковывать");
        default:
            return QStringLiteral("Архиватор сообщил об ошибке (код %1)").arg(number);
        }
    }
    if (words.first() == QLatin1String("signal") && isNumber)
        return QStringLiteral("Архиватор был остановлен (сигнал %1)").arg(number);
    if (status == QLatin1String("timeout"))
        return QStringLiteral("Архиватор не закончил работу за отведённое время и был остановлен");
    if (status == QLatin1String("not-started"))
        return QStringLiteral("Архиватор не запустился");
    return QStringLiteral("Неизвестно, чем закончилась распаковка: нет сведений от интерпретатора команд");
}

void BatchRunner::writeTrackList() const
{
    QByteArray bytes;
    for (const QString& name : trackslots::TrackFileSet())
        bytes += name.toUtf8() + "\r\n";
    writeWhole(m_homeDir + kListName, bytes);
}

bool BatchRunner::refuseUnsafe(std::initializer_list<QString> paths)
{
    for (const QString& path : paths) {
        if (!isSafeInBatch(path)) {
            m_reason = QStringLiteral("Недопустимый символ в пути: %1").arg(platform::displayFileName(path));
            return true;
        }
    }
    return false;
}

BatchRunner::Outcome BatchRunner::extractTrackFiles(const QString& archive, const QString& workFolder)
{
    const QString list = m_homeDir + kListName;
    const QString marker = m_homeDir + kListMarkerName;
    if (refuseUnsafe({m_archiverPath, archive, workFolder, list, marker}))
        return Outcome::Refused;
    const QString first =
        quoted(m_archiverPath) + " e " + quoted(archive) + " -o" + quoted(workFolder) + " @" + quoted(list);
    const QString second = "copy " + quoted(list) + " " + quoted(marker) + " /Y";
    return run(first, second, marker, true);
}

BatchRunner::Outcome BatchRunner::extractAll(const QString& archive, const QString& folder)
{
    const QString pif = m_homeDir + kPifName;
    const QString marker = m_homeDir + kPifMarkerName;
    if (refuseUnsafe({m_archiverPath, archive, folder, pif, marker}))
        return Outcome::Refused;
    const QString first = quoted(m_archiverPath) + " e " + quoted(archive) + " -o" + quoted(folder);
    const QString second = "copy " + quoted(pif) + " " + quoted(marker) + " /Y";
    const Outcome outcome = run(first, second, marker, false);
    platform::fs::removeFile(m_homeDir + kBatchName);
    return outcome;
}

BatchRunner::Outcome BatchRunner::run(const QString& firstLine, const QString& secondLine,
                                      const QString& marker, bool statusDecides)
{
    m_reason.clear();
    const QString batch = m_homeDir + kBatchName;
    const QString status = marker + kStatusSuffix;
    // A library archive named in a Windows code page reaches the archiver with its own bytes.
    writeWhole(batch, platform::encodeFileName(firstLine) + "\r\n" + platform::encodeFileName(secondLine));
    // A marker left by an earlier run would end the wait before the archiver has even started.
    removeStale(marker);
    removeStale(status);

    platform::BatchProcess process;
    const platform::StartResult started = process.start(quoted(batch));
    if (!started.started) {
        m_reason = started.reason;
        return Outcome::NotStarted;
    }
    switch (waitForMarker(marker, process)) {
    case Ending::TimedOut:
        // Stopped, so that no archiver writes on into a folder the caller reuses.
        process.stop();
        m_reason = QStringLiteral("Архиватор не закончил работу за отведённое время");
        return Outcome::TimedOut;
    case Ending::InterpreterEnded:
        process.stop();
        platform::fs::removeFile(status);
        m_reason = QStringLiteral("Интерпретатор команд завершился, не закончив распаковку");
        return Outcome::Failed;
    case Ending::Marker:
        break;
    }
    process.waitForEnd(kEndAfterMarkerMs);
    platform::fs::removeFile(marker);
    const QString recorded = takeStatus(status);
    if (!statusDecides)
        return Outcome::Done;
    m_reason = statusReason(recorded);
    return m_reason.isEmpty() ? Outcome::Done : Outcome::Failed;
}

BatchRunner::Ending BatchRunner::waitForMarker(const QString& marker, platform::BatchProcess& batch) const
{
    // The interpreter ends right after it makes the marker, so its end wakes the wait at once; a look
    // now and then finds the marker of an interpreter that lingers. A folder watch would cost more than
    // it saves: closing one waits 10-20 ms for a kernel grace period. Meanwhile the window keeps
    // painting, but no click or key reaches it.
    QEventLoop loop;
    const auto lookForMarker = [&] {
        if (platform::fs::fileExists(marker))
            loop.quit();
    };
    QObject::connect(&batch, &platform::BatchProcess::ended, &loop, &QEventLoop::quit);
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, lookForMarker);
    look.start(kLookMs);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(m_timeoutMs);
    if (!platform::fs::fileExists(marker) && !batch.hasEnded())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (platform::fs::fileExists(marker))
        return Ending::Marker;
    return batch.hasEnded() ? Ending::InterpreterEnded : Ending::TimedOut;
}
