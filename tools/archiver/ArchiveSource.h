#pragma once

#include <QByteArray>
#include <QString>

#include <archive.h>

// The archive file as the reader sees it: a regular file only, read through a window that may end
// before the file does. A zip is cut right after the end record of the directory that was checked,
// with that record's comment dropped, so libarchive, which takes the last end record it finds, reads
// that directory and no other.
class ArchiveSource
{
public:
    ArchiveSource() = default;
    ~ArchiveSource();
    ArchiveSource(const ArchiveSource&) = delete;
    ArchiveSource& operator=(const ArchiveSource&) = delete;

    bool open(const QByteArray& path, QString* error);

    // The whole file's size.
    qint64 size() const { return m_size; }

    // Reads `size` bytes at `offset` of the whole file; false when they are not all there. Small reads
    // are served from a window of the file read ahead: a zip's local headers come one after another.
    bool readAt(qint64 offset, char* data, qint64 size) const;

    // Ends the window with the zip end record at `offset`, as if it had no comment.
    void endWithZipRecord(qint64 offset);

    // Hands the window to `reader` (archive_read_open); the source must outlive the reader's use.
    int openReader(archive* reader);

private:
    static la_ssize_t readBlock(archive* reader, void* self, const void** block);
    static la_int64_t seek(archive* reader, void* self, la_int64_t offset, int whence);
    static la_int64_t skip(archive* reader, void* self, la_int64_t request);
    bool readFully(qint64 offset, char* data, qint64 size) const;

    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_end = 0;       // the window is [0, m_end)
    qint64 m_zeroedAt = -1; // two bytes read as zero: a dropped comment's length
    qint64 m_position = 0;
    QByteArray m_block;
    mutable QByteArray m_window;
    mutable qint64 m_windowStart = -1;
};
