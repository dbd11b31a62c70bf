#pragma once

#include <QString>

namespace platform {
class BatchProcess;
}

// Runs the archiver through a two-line batch file ("extrc.bat" in the home folder) and waits for the
// marker file that its second line makes. Every path in the batch is put in double quotes. The
// interpreter records how the archiver ended in a status file beside the marker (marker + ".status").
class BatchRunner
{
public:
    enum class Outcome
    {
        Done,       // the batch has ended; for the start command, the archiver ended with success
        Failed,     // the batch ended without a clean extraction; reason() says why
        TimedOut,   // no marker within the time limit: the batch has been stopped
        Refused,    // a path that cannot be written safely into a batch line (quote, line break)
        NotStarted, // the command interpreter could not be started; reason() says why
    };

    BatchRunner(const QString& homeDir, const QString& archiverPath);

    // Writes "files.lst": the 21 track file names in table order, each ended by CR LF. Throws IoError.
    void writeTrackList() const;

    // Start command: extracts the listed track files of `archive` flat into `workFolder`; waits for
    // "files1.lst" and deletes it. Done only when the archiver is known to have ended with success.
    // Leaves "extrc.bat" for the close handler. Throws IoError when the batch cannot be written or a
    // stale marker cannot be removed.
    Outcome extractTrackFiles(const QString& archive, const QString& workFolder);

    // Add command: extracts every file of `archive` flat into `folder`; waits for "extrc1.pif", then
    // deletes it and "extrc.bat". Done whenever the marker came: the caller judges what was extracted.
    // Throws IoError when the batch cannot be written.
    Outcome extractAll(const QString& archive, const QString& folder);

    // How long a batch may take before the wait gives up (milliseconds); platform::batchTimeLimit()
    // unless set.
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Why the last run ended without Done, for the user (a Russian sentence without a final stop);
    // empty after Done.
    const QString& reason() const { return m_reason; }

    // Whether `path` can stand between double quotes on a batch line: no quote, no control character.
    static bool isSafeInBatch(const QString& path);

    // The user's words for a status line of the interpreter ("exit 3", "signal 9", ...); empty for a
    // clean "exit 0".
    static QString statusReason(const QString& status);

private:
    enum class Ending
    {
        Marker,
        InterpreterEnded,
        TimedOut
    };

    Outcome run(const QString& firstLine, const QString& secondLine, const QString& marker,
                bool statusDecides);
    Ending waitForMarker(const QString& marker, platform::BatchProcess& batch) const;
    bool refuseUnsafe(std::initializer_list<QString> paths);

    QString m_homeDir;
    QString m_archiverPath;
    int m_timeoutMs;
    QString m_reason;
};
