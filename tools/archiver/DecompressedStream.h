#pragma once

#include "tools/archiver/GzipCheck.h"

#include <QString>

#include <archive.h>
#include <memory>

class ArchiveSource;

// The bytes of a compressed archive (.tar.gz, .tar.bz2, .tar.xz, .tar.lzma) decompressed for the
// format reader, which reads them as it would the file. The caller reads the stream to its very end
// even when the archive inside ends before it (a tar's end marker comes before the compression's
// padding and trailer): bzip2 and xz check their sums there, and the gzip trailers are checked here.
class DecompressedStream
{
public:
    enum class Kind
    {
        Plain,      // not compressed: the format reader reads the file itself
        Compressed, // openReader() hands the decompressed bytes on
        Failed,     // compressed, but decompressing it failed at once; decoder() says why
    };

    Kind open(ArchiveSource& source);

    // Hands the decompressed bytes to `reader` (archive_read_open).
    int openReader(archive* reader);

    // The next decompressed block: its size, 0 at the end, negative when decompressing failed.
    la_ssize_t next(const void** block);

    // Once next() gave 0: whether the gzip trailers match the data; says why not.
    bool trailersMatch(QString* error) const;

    bool failed() const { return m_failed; }
    archive* decoder() const { return m_decoder.get(); }

private:
    struct ReaderFreer
    {
        void operator()(archive* a) const { archive_read_free(a); }
    };

    static la_ssize_t readBlock(archive* reader, void* self, const void** block);

    std::unique_ptr<archive, ReaderFreer> m_decoder;
    const ArchiveSource* m_source = nullptr;
    bool m_gzip = false;
    bool m_failed = false;
    bool m_ended = false;
    GzipCheck m_check;
};
