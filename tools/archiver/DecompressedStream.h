#pragma once

#include "tools/archiver/GzipStream.h"

#include <QString>

#include <archive.h>
#include <memory>

class ArchiveSource;

// The bytes of a compressed archive (.tar.gz, .tar.bz2, .tar.xz, .tar.lzma) decompressed for the
// format reader, which reads them as it would the file. The caller reads the stream to its very end
// even when the archive inside ends before it (a tar's end marker comes before the compression's
// padding and trailer): that is where bzip2, xz and gzip check their sums. Gzip is inflated by zlib,
// which checks every member's trailer; the others by libarchive.
class DecompressedStream
{
public:
    enum class Kind
    {
        Plain,      // not compressed: the format reader reads the file itself
        Compressed, // openReader() hands the decompressed bytes on
        Failed,     // compressed, but decompressing it failed at once; error() says why
    };

    Kind open(ArchiveSource& source);

    // Hands the decompressed bytes to `reader` (archive_read_open).
    int openReader(archive* reader);

    // The next decompressed block: its size, 0 at the end, negative when decompressing failed.
    la_ssize_t next(const void** block);

    bool failed() const { return m_failed; }
    // Why decompressing failed: ENOMEM for want of memory, EILSEQ with "Unsupported" in the words for
    // what this archiver does not read, anything else for damage.
    int errorCode() const { return m_errorCode; }
    const QString& error() const { return m_error; }

private:
    struct ReaderFreer
    {
        void operator()(archive* a) const { archive_read_free(a); }
    };

    Kind openGzip(ArchiveSource& source);
    Kind openDecoder(ArchiveSource& source);
    la_ssize_t nextFromDecoder(const void** block);
    void failInDecoder(const char* fallback);
    static la_ssize_t readBlock(archive* reader, void* self, const void** block);

    std::unique_ptr<GzipStream> m_gzip;
    std::unique_ptr<archive, ReaderFreer> m_decoder; // bzip2, xz, lzma
    const void* m_firstBlock = nullptr;              // taken at open to look at, handed on first
    la_ssize_t m_firstSize = -1;
    bool m_failed = false;
    bool m_ended = false;
    int m_errorCode = 0;
    QString m_error;
};
