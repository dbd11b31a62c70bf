#pragma once

#include <QString>

// The scratch folder the add command unpacks an archive into: "Temp1" beside the track library. It is
// the program's own only when this run made it or found it empty. A "Temp1" that already holds other
// entries (or is no folder) keeps them untouched: the archive then goes into a fresh folder of its own,
// inside that "Temp1" (or beside it when it is no folder), so no file of someone else's is overwritten,
// read as a description or deleted.
class UnpackFolder
{
public:
    // Throws IoError when a fresh folder is needed and cannot be made.
    explicit UnpackFolder(const QString& temp1);
    ~UnpackFolder();

    UnpackFolder(const UnpackFolder&) = delete;
    UnpackFolder& operator=(const UnpackFolder&) = delete;

    const QString& path() const { return m_path; }

    // Deletes every file in the folder and then the folder itself when that left it empty. Runs once;
    // the destructor runs it when nobody did, so a failed add leaves nothing behind.
    void cleanUp();

private:
    QString m_path;
    bool m_cleaned = false;
};
