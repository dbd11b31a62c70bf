#include "tools/archiver/DecompressedStream.h"

#include "tools/archiver/ArchiveSource.h"

#include <QByteArrayView>

#include <archive_entry.h>
#include <cerrno>

namespace {

const QString CompressedTwice = QStringLiteral("Unsupported: the archive is compressed more than once");

// Nobody compresses an archive twice over; the format reader would call it no archive.
bool startsCompressed(const void* block, la_ssize_t size)
{
    const QByteArrayView start(static_cast<const char*>(block), size);
    return start.startsWith("\x1F\x8B") || start.startsWith("BZh") ||
           start.startsWith(QByteArrayView("\xFD"
                                           "7zXZ\0",
                                           6));
}

} // namespace

DecompressedStream::Kind DecompressedStream::open(ArchiveSource& source)
{
    return GzipStream::startsGzip(source) ? openGzip(source) : openDecoder(source);
}

DecompressedStream::Kind DecompressedStream::openGzip(ArchiveSource& source)
{
    m_gzip = std::make_unique<GzipStream>(source);
    m_firstSize = m_gzip->next(&m_firstBlock);
    if (m_firstSize < 0) {
        m_failed = true;
        m_errorCode = m_gzip->outOfMemory() ? ENOMEM : 0;
        m_error = m_gzip->error();
        return Kind::Failed;
    }
    if (startsCompressed(m_firstBlock, m_firstSize)) {
        m_failed = true;
        m_errorCode = EILSEQ;
        m_error = CompressedTwice;
        return Kind::Failed;
    }
    return Kind::Compressed;
}

DecompressedStream::Kind DecompressedStream::openDecoder(ArchiveSource& source)
{
    m_decoder.reset(archive_read_new());
    archive* a = m_decoder.get();
    // gzip too, for a gzip stream inside another compression.
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
        failInDecoder(nullptr);
        return Kind::Failed;
    }
    archive_entry* entry = nullptr;
    const int header = archive_read_next_header(a, &entry);
    m_ended = header == ARCHIVE_EOF;
    if (header != ARCHIVE_OK && !m_ended) {
        failInDecoder(nullptr);
        return Kind::Failed;
    }
    if (filters > 2) {
        m_failed = true;
        m_errorCode = EILSEQ;
        m_error = CompressedTwice;
        return Kind::Failed;
    }
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
    if (m_failed)
        return ARCHIVE_FATAL;
    if (!m_gzip)
        return nextFromDecoder(block);
    la_ssize_t got = m_firstSize;
    *block = m_firstBlock;
    if (got < 0)
        got = m_gzip->next(block);
    m_firstSize = -1;
    if (got < 0) {
        m_failed = true;
        m_errorCode = m_gzip->outOfMemory() ? ENOMEM : 0;
        m_error = m_gzip->error();
        return ARCHIVE_FATAL;
    }
    return got;
}

la_ssize_t DecompressedStream::nextFromDecoder(const void** block)
{
    while (!m_ended) {
        size_t size = 0;
        la_int64_t offset = 0;
        errno = 0;
        const int status = archive_read_data_block(m_decoder.get(), block, &size, &offset);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK) {
            failInDecoder("the compressed data is cut short");
            return ARCHIVE_FATAL;
        }
        if (size > 0)
            return la_ssize_t(size);
    }
    m_ended = true;
    return 0;
}

// Decoders do not all pass on an allocation's failure as such; errno, cleared before each call into
// the decoder, still tells of it. `fallback` stands for a decoder that gave up without a word.
void DecompressedStream::failInDecoder(const char* fallback)
{
    archive* a = m_decoder.get();
    const char* why = archive_error_string(a);
    m_failed = true;
    m_errorCode = errno == ENOMEM ? ENOMEM : archive_errno(a);
    m_error = QString::fromUtf8(why ? why : fallback ? fallback : "decompression failed");
}

la_ssize_t DecompressedStream::readBlock(archive* reader, void* self, const void** block)
{
    DecompressedStream& stream = *static_cast<DecompressedStream*>(self);
    const la_ssize_t got = stream.next(block);
    if (got < 0)
        archive_set_error(reader, stream.m_errorCode, "%s", stream.m_error.toUtf8().constData());
    return got;
}
