#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class ArchiveSource;

// Zip names compare with "\" taken as "/": Windows archivers write either, sometimes one in the
// local header and the other in the directory, and libarchive turns some "\" into "/".
QByteArray withSlashes(QByteArray name);

// One file of a zip as its central directory records it.
struct ZipRecord
{
    QByteArray name;        // the name's bytes as stored
    QByteArray unicodeName; // the UTF-8 name of an Info-ZIP Unicode Path field, when there is one
    qint64 size = 0;        // the declared size once extracted
    qint64 compressedSize = 0;
};

// The central directory of a zip, read here before libarchive reads the archive, because libarchive
// trusts two things it should not: it takes the last end record of the file, so a zip with another
// zip appended reads as the appended one, and it names each entry after its local header, which may
// name another file than the directory does, and only warns when the two disagree on the sizes. Here
// the directory is the one of the archive the file starts with (offsets counted from the file's start;
// 7-Zip reads such files the same way), and every local header must carry its directory record's name
// and sizes (a header whose sizes follow the data, flag bit 3, may leave them 0; the data descriptor
// after the data must then carry them). A file that does not start as a zip (a self-extracting one) is
// read by the end record that closes the file.
class ZipDirectory
{
public:
    enum class Outcome
    {
        NotZip,
        Zip,
        Broken,
        TooLarge,
    };

    // On Broken and TooLarge `error` says why.
    Outcome read(const ArchiveSource& source, qint64 maxEntries, QString* error);

    // Where the chosen end record starts.
    qint64 endRecordOffset() const { return m_endRecord; }
    const QList<ZipRecord>& records() const { return m_records; }

private:
    struct Directory
    {
        qint64 start = 0; // of the central directory
        qint64 size = 0;
        qint64 entries = 0;
        qint64 archiveStart = 0; // where the offsets count from
    };

    bool endRecordAt(const ArchiveSource& source, qint64 offset, bool mustCloseFile, Directory* found) const;
    qint64 lastEndRecord(const ArchiveSource& source, bool startsAsZip, Directory* found) const;
    Outcome readRecords(const ArchiveSource& source, const Directory& directory, QString* error);
    bool localHeaderMatches(const ArchiveSource& source, const Directory& directory, qint64 localOffset,
                            const ZipRecord& record, QString* error) const;

    qint64 m_endRecord = -1;
    QList<ZipRecord> m_records;
};
