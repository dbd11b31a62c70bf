#pragma once

#include <QString>

// Runs the archiver through a two-line batch file ("extrc.bat" in the home folder) and waits for the
// marker file that its second line makes. Every path in the batch is put in double quotes.
class BatchRunner
{
public:
    enum class Outcome
    {
        Done,       // the marker appeared: the archiver has ended (successfully or not)
        TimedOut,   // no marker within the time limit: the caller tells the user
        Refused,    // a path that cannot be written safely into a batch line (quote, line break)
        NotStarted, // the command interpreter could not be started; reason() says why
    };

    BatchRunner(const QString& homeDir, const QString& archiverPath);

    // Writes "files.lst": the 21 track file names in table order, each ended by CR LF. Throws IoError.
    void writeTrackList() const;

    // Start command: extracts the listed track files of `archive` flat into `workFolder`; waits for
    // "files1.lst" and deletes it. Leaves "extrc.bat" for the close handler. Throws IoError when the
    // batch cannot be written.
    Outcome extractTrackFiles(const QString& archive, const QString& workFolder);

    // Add command: extracts every file of `archive` flat into `folder`; waits for "extrc1.pif", then
    // deletes it and "extrc.bat". Throws IoError when the batch cannot be written.
    Outcome extractAll(const QString& archive, const QString& folder);

    // How long a batch may take before the wait gives up (milliseconds).
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Why the last run ended without Done, for the user; empty after Done.
    const QString& reason() const { return m_reason; }

    // Whether `path` can stand between double quotes on a batch line: no quote, no control character.
    static bool isSafeInBatch(const QString& path);

private:
    Outcome run(const QString& firstLine, const QString& secondLine, const QString& marker);
    bool waitForMarker(const QString& marker) const;

    QString m_homeDir;
    QString m_archiverPath;
    int m_timeoutMs = 10 * 60 * 1000;
    QString m_reason;
};
