#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

// A private folder that holds the extracted files until the whole archive has been read. Only then
// are the files put into the output folder; otherwise the folder and everything in it is removed, so
// the output folder keeps what it had.
//
// An output folder that is empty at the start gets the private folder beside it, on the same file
// system, and the commit is one rename of the private folder onto the output folder: all or nothing
// even when the process is killed, and no rename per file. When the output folder is not empty, or
// has gained entries by the commit, the private folder lies inside it (or beside it) and each file is
// renamed in: a file it replaces is first put aside in a second private folder and deleted only once
// every file is in place. When a rename fails half-way (a full disk, an I/O error), the files already
// moved in are removed and the ones put aside are put back.
//
// All work goes through descriptors of the folders: a link placed in the output folder, or a swap of
// a private folder, cannot redirect a write elsewhere.
class StagingFolder
{
public:
    StagingFolder() = default;
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Opens `outputDir` (creating it and its parents when missing) and makes the private folder.
    bool open(const QByteArray& outputDir, QString* error);

    // Creates a new empty file `name` in the private folder and returns its descriptor, or -1.
    // The file never replaces anything and no link is followed.
    int createFile(const QByteArray& name, QString* error);

    // Moves every created file into the output folder, replacing a file or link of the same name
    // there (also one whose name differs only in letter case), then removes the private folders.
    // On failure the output folder is left as it was, as far as the system lets it be restored.
    bool commit(QString* error);

    // Removes the private folder with everything in it. Also done on destruction unless committed.
    void discard();

private:
    struct Step
    {
        bool setAside; // else moved in
        QByteArray name;
    };

    bool makePrivateFolder(int parentFd, QByteArray* name, int* fd);
    bool stageBeside(const QByteArray& outputDir);
    bool replaceEmptyOutput();
    int homeFd() const { return m_parentFd >= 0 ? m_parentFd : m_outputFd; }
    bool setAside(const QByteArray& name, QString* error);
    bool moveIn(const QByteArray& name, QString* error);
    void undo(QString* error);
    void dropSetAside();
    void dropStaging();

    int m_outputFd = -1;
    int m_parentFd = -1; // of the output folder's parent, when the private folder lies there
    int m_stagingFd = -1;
    int m_asideFd = -1;
    QByteArray m_outputDir;
    QByteArray m_outputName; // in its parent
    mode_t m_outputMode = 0; // its permission bits
    QByteArray m_stagingName;
    QByteArray m_asideName;
    QList<QByteArray> m_files; // created and not yet moved in
    QList<Step> m_steps;       // what the running commit did, to undo it
    bool m_keepAside = false;  // holds files that could not be put back
};
