#include "tools/archiver/ArchiveSource.h"

#include "tools/archiver/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BlockBytes = 128 * 1024;
constexpr qint64 WindowBytes = 16 * 1024;
constexpr qint64 ZipCommentLengthOffset = 20;
constexpr qint64 ZipEndRecordBytes = 22;

} // namespace

ArchiveSource::~ArchiveSource()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool ArchiveSource::open(const QByteArray& path, QString* error)
{
    m_fd = openRegularFile(path, error);
    if (m_fd < 0)
        return false;
    struct stat info;
    if (fstat(m_fd, &info) != 0) {
        *error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    m_size = info.st_size;
    m_end = m_size;
    m_block.resize(BlockBytes);
    return true;
}

bool ArchiveSource::readAt(qint64 offset, char* data, qint64 size) const
{
    if (offset < 0 || size < 0 || offset > m_size || size > m_size - offset)
        return false;
    if (size > WindowBytes / 4)
        return readFully(offset, data, size);
    if (m_windowStart < 0 || offset < m_windowStart || offset + size > m_windowStart + m_window.size()) {
        m_window.resize(std::min(WindowBytes, m_size - offset));
        m_windowStart = readFully(offset, m_window.data(), m_window.size()) ? offset : -1;
        if (m_windowStart < 0)
            return false;
    }
    std::memcpy(data, m_window.constData() + (offset - m_windowStart), size_t(size));
    return true;
}

bool ArchiveSource::readFully(qint64 offset, char* data, qint64 size) const
{
    while (size > 0) {
        const ssize_t got = pread(m_fd, data, size_t(size), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

void ArchiveSource::endWithZipRecord(qint64 offset)
{
    m_end = offset + ZipEndRecordBytes;
    m_zeroedAt = offset + ZipCommentLengthOffset;
}

int ArchiveSource::openReader(archive* reader)
{
    m_position = 0;
    archive_read_set_callback_data(reader, this);
    archive_read_set_read_callback(reader, readBlock);
    archive_read_set_seek_callback(reader, seek);
    archive_read_set_skip_callback(reader, skip);
    return archive_read_open1(reader);
}

la_ssize_t ArchiveSource::readBlock(archive* reader, void* self, const void** block)
{
    ArchiveSource& source = *static_cast<ArchiveSource*>(self);
    const qint64 wanted = std::min<qint64>(source.m_block.size(), source.m_end - source.m_position);
    *block = source.m_block.constData();
    if (wanted <= 0)
        return 0;
    ssize_t got;
    do {
        got = pread(source.m_fd, source.m_block.data(), size_t(wanted), source.m_position);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        archive_set_error(reader, errno, "cannot read the archive");
        return ARCHIVE_FATAL;
    }
    for (qint64 at = source.m_zeroedAt; at >= 0 && at < source.m_zeroedAt + 2; ++at) {
        if (at >= source.m_position && at < source.m_position + got)
            source.m_block[at - source.m_position] = 0;
    }
    source.m_position += got;
    return got;
}

la_int64_t ArchiveSource::seek(archive* reader, void* self, la_int64_t offset, int whence)
{
    ArchiveSource& source = *static_cast<ArchiveSource*>(self);
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? source.m_position : source.m_end;
    if (offset < -base || offset > std::numeric_limits<qint64>::max() - base) {
        archive_set_error(reader, EINVAL, "seek outside the archive");
        return ARCHIVE_FATAL;
    }
    source.m_position = base + offset;
    return source.m_position;
}

la_int64_t ArchiveSource::skip(archive*, void* self, la_int64_t request)
{
    ArchiveSource& source = *static_cast<ArchiveSource*>(self);
    const qint64 skipped =
        std::clamp<qint64>(request, 0, std::max<qint64>(0, source.m_end - source.m_position));
    source.m_position += skipped;
    return skipped;
}
