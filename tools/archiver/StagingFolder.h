#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A private folder inside the output folder that holds the extracted files until the whole archive
// has been read. Only then are the files renamed into the output folder; otherwise the folder and
// everything in it is removed, so the output folder keeps what it had.
//
// All work goes through descriptors of the two folders: a link placed in the output folder, or a
// swap of the private folder, cannot redirect a write elsewhere.
class StagingFolder
{
public:
    StagingFolder() = default;
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Opens `outputDir` (creating it and its parents when missing) and makes the private folder in it.
    bool open(const QByteArray& outputDir, QString* error);

    // Creates a new empty file `name` in the private folder and returns its descriptor, or -1.
    // The file never replaces anything and no link is followed.
    int createFile(const QByteArray& name, QString* error);

    // Forgets a file created by createFile whose content could not be completed.
    void dropFile(const QByteArray& name);

    // Moves every created file into the output folder, replacing a file or link of the same name
    // there (also one whose name differs only in letter case), then removes the private folder.
    bool commit(QString* error);

    // Removes the private folder with everything in it. Also done on destruction unless committed.
    void discard();

private:
    int m_outputFd = -1;
    int m_stagingFd = -1;
    QByteArray m_outputDir;
    QByteArray m_stagingName;
    QList<QByteArray> m_files;
};
