#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary home folder for the program: it holds "7zip.exe" and "extrc.pif" and is the current
// folder for the fixture's lifetime; the previous current folder comes back afterwards. Meanwhile the
// program sees a process table of its own, empty but for the test's game stand-ins, so that no game
// running elsewhere on the machine stops a start, and a batch is stopped after 10 seconds. The user's
// home ($HOME) is its folder "user", not made until a test lays something out there, with the XDG
// folders in their default places under it and no WINEPREFIX: no game of the real user is found.
class HomeFolder
{
public:
    // `archiver`: a real archiver to link in as "7zip.exe"; empty puts a placeholder file there.
    explicit HomeFolder(const QString& archiver = QString());
    ~HomeFolder();

    HomeFolder(const HomeFolder&) = delete;
    HomeFolder& operator=(const HomeFolder&) = delete;

    bool isValid() const { return m_valid; }

    // The folder with a trailing "/".
    QString path() const;
    // `relative` under the folder.
    QString path(const QString& relative) const;

    // Writes a file under the folder (parent folders made as needed); returns its full path.
    QString writeFile(const QString& relative, const QByteArray& contents = QByteArray()) const;
    QByteArray readFile(const QString& relative) const;
    // Makes a folder (and its parents) under the folder; returns its full path with a trailing "/".
    QString makeFolder(const QString& relative) const;

    // "options.dat" as the given lines, each ended by CR LF.
    void writeOptions(const QStringList& lines) const;
    void writeOptionsBytes(const QByteArray& bytes) const;
    QByteArray options() const;

    // A track library "library/" with `archives` entries "<slot>/<name>" (empty files named as
    // given); returns the library folder with a trailing "/".
    QString makeLibrary(const QStringList& archives) const;
    // A game folder "game/" with the given slot folders under "Data/Tracks/"; returns it with "/".
    QString makeGame(const QStringList& slotFolders) const;

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_processes;
    QString m_previous;
    QHash<QByteArray, QByteArray> m_environment; // the variables changed, as they were
    bool m_valid = false;
};
