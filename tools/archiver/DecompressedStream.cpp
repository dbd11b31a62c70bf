#include "tools/archiver/DecompressedStream.h"

#include "tools/archiver/ArchiveSource.h"

#include <archive_entry.h>
#include <cerrno>

DecompressedStream::Kind DecompressedStream::open(ArchiveSource& source)
{
    m_source = &source;
    m_decoder.reset(archive_read_new());
    archive* a = m_decoder.get();
    archive_read_support_filter_gzip(a);
    archive_read_support_filter_bzip2(a);
    archive_read_support_filter_xz(a);
    archive_read_support_filter_lzma(a);
    // An empty stream is no archive, which the format reader will say; the raw format alone would
    // fail to open on it.
    archive_read_support_format_raw(a);
    archive_read_support_format_empty(a);
    errno = 0;
    const int opened = source.openReader(a);
    // The chain counts the file itself as one filter.
    const int filters = archive_filter_count(a);
    if (filters <= 1) {
        m_decoder.reset();
        return Kind::Plain;
    }
    if (opened != ARCHIVE_OK) {
        // Only the compressed data can have failed the raw format, for want of memory (told by errno)
        // or by damage; libarchive's message would blame the format.
        if (errno != ENOMEM)
            archive_set_error(a, 0, "the compressed data is damaged at its start");
        m_failed = true;
        return Kind::Failed;
    }
    archive_entry* entry = nullptr;
    const int header = archive_read_next_header(a, &entry);
    m_ended = header == ARCHIVE_EOF;
    if (header != ARCHIVE_OK && !m_ended) {
        m_failed = true;
        return Kind::Failed;
    }
    if (filters > 2) {
        // The gzip trailers are found in the file itself; and nobody compresses an archive twice.
        archive_set_error(a, EILSEQ, "Unsupported: the archive is compressed more than once");
        m_failed = true;
        return Kind::Failed;
    }
    m_gzip = archive_filter_code(a, 0) == ARCHIVE_FILTER_GZIP;
    return Kind::Compressed;
}

int DecompressedStream::openReader(archive* reader)
{
    archive_read_set_callback_data(reader, this);
    archive_read_set_read_callback(reader, readBlock);
    return archive_read_open1(reader);
}

la_ssize_t DecompressedStream::next(const void** block)
{
    while (!m_ended) {
        size_t size = 0;
        la_int64_t offset = 0;
        errno = 0;
        const int status = archive_read_data_block(m_decoder.get(), block, &size, &offset);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK) {
            // The gzip decoder gives up on a cut trailer without saying why.
            if (!archive_error_string(m_decoder.get()))
                archive_set_error(m_decoder.get(), 0, "the compressed data is cut short");
            m_failed = true;
            return ARCHIVE_FATAL;
        }
        if (m_gzip)
            m_check.add(*block, size);
        if (size > 0)
            return la_ssize_t(size);
    }
    m_ended = true;
    return 0;
}

bool DecompressedStream::trailersMatch(QString* error) const
{
    // The file's own layer counts what the gzip decoder took: up to the end of the last trailer.
    return !m_gzip || m_check.matches(*m_source, archive_filter_bytes(m_decoder.get(), -1), error);
}

la_ssize_t DecompressedStream::readBlock(archive* reader, void* self, const void** block)
{
    DecompressedStream& stream = *static_cast<DecompressedStream*>(self);
    const la_ssize_t got = stream.next(block);
    if (got < 0) {
        const char* why = archive_error_string(stream.decoder());
        archive_set_error(reader, archive_errno(stream.decoder()), "%s", why ? why : "decompression failed");
    }
    return got;
}
