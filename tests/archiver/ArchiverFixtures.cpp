#include "tests/archiver/ArchiverFixtures.h"

#include <QFile>
#include <QtEndian>

#include <archive.h>
#include <archive_entry.h>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFF;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// qCompress gives a 4-byte length, then a zlib stream: a 2-byte header, raw deflate, a 4-byte sum.
QByteArray deflated(const QByteArray& data)
{
    const QByteArray zlib = qCompress(data, 9);
    return zlib.mid(6, zlib.size() - 10);
}

void put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, quint16(value & 0xFFFF));
    put16(out, quint16(value >> 16));
}

void put64(QByteArray& out, quint64 value)
{
    put32(out, quint32(value & 0xFFFFFFFF));
    put32(out, quint32(value >> 32));
}

struct ArchiveWriterFree
{
    void operator()(archive* a) const { archive_write_free(a); }
};

} // namespace

QByteArray craftZip(const QList<CraftedEntry>& entries)
{
    QByteArray out;
    QByteArray directory;
    for (const CraftedEntry& entry : entries) {
        const QByteArray data = !entry.data.isEmpty() ? entry.data
                                : entry.method == 0   ? entry.content
                                                      : deflated(entry.content);
        const quint64 size =
            entry.declaredSize >= 0 ? quint64(entry.declaredSize) : quint64(entry.content.size());
        const quint64 offset = quint64(out.size());
        const QByteArray localName = entry.localName.isEmpty() ? entry.name : entry.localName;
        const quint16 version = entry.zip64 ? 45 : 20;
        QByteArray localExtra;
        QByteArray directoryExtra;
        if (entry.zip64) {
            put16(localExtra, 0x0001);
            put16(localExtra, 16);
            put64(localExtra, size);
            put64(localExtra, quint64(data.size()));
            directoryExtra = localExtra;
            directoryExtra[2] = 24;
            put64(directoryExtra, offset);
        }
        const quint32 size32 = entry.zip64 ? 0xFFFFFFFF : quint32(size);
        const quint32 compressed32 = entry.zip64 ? 0xFFFFFFFF : quint32(data.size());
        const quint32 localSize32 = entry.localSize >= 0 ? quint32(entry.localSize) : size32;
        const quint32 localCompressed32 =
            entry.localCompressedSize >= 0 ? quint32(entry.localCompressedSize) : compressed32;

        put32(out, 0x04034b50);
        put16(out, version);
        put16(out, entry.flags);
        put16(out, entry.method);
        put32(out, 0x00210000); // time and date
        put32(out, crc32(entry.content));
        put32(out, localCompressed32);
        put32(out, localSize32);
        put16(out, quint16(localName.size()));
        put16(out, quint16(localExtra.size()));
        out.append(localName).append(localExtra).append(data).append(entry.descriptor);

        put32(directory, 0x02014b50);
        put16(directory, version);
        put16(directory, version);
        put16(directory, entry.flags);
        put16(directory, entry.method);
        put32(directory, 0x00210000);
        put32(directory, crc32(entry.content));
        put32(directory, compressed32);
        put32(directory, size32);
        put16(directory, quint16(entry.name.size()));
        put16(directory, quint16(directoryExtra.size()));
        put16(directory, 0); // comment
        put16(directory, 0); // disk
        put16(directory, 0); // internal attributes
        put32(directory, 0); // external attributes
        put32(directory, entry.zip64 ? 0xFFFFFFFF : quint32(offset));
        directory.append(entry.name).append(directoryExtra);
    }
    const quint64 directoryOffset = quint64(out.size());
    out.append(directory);
    const bool manyEntries = entries.size() > 0xFFFF;
    if (manyEntries) {
        const quint64 recordOffset = quint64(out.size());
        put32(out, 0x06064b50);
        put64(out, 44); // the record's size after this field
        put16(out, 45);
        put16(out, 45);
        put32(out, 0);
        put32(out, 0);
        put64(out, quint64(entries.size()));
        put64(out, quint64(entries.size()));
        put64(out, quint64(directory.size()));
        put64(out, directoryOffset);
        put32(out, 0x07064b50);
        put32(out, 0);
        put64(out, recordOffset);
        put32(out, 1);
    }
    const quint16 count = manyEntries ? 0xFFFF : quint16(entries.size());
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, count);
    put16(out, count);
    put32(out, quint32(directory.size()));
    put32(out, quint32(directoryOffset));
    put16(out, 0);
    return out;
}

bool writeCompressedTar(const QString& path, const QList<QPair<QByteArray, QByteArray>>& files,
                        const char* filter)
{
    std::unique_ptr<archive, ArchiveWriterFree> writer(archive_write_new());
    archive* a = writer.get();
    if (archive_write_set_format_pax_restricted(a) != ARCHIVE_OK ||
        (filter && archive_write_add_filter_by_name(a, filter) != ARCHIVE_OK) ||
        archive_write_open_filename(a, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        return false;
    for (const auto& [name, content] : files) {
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, name.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, content.size());
        const bool written =
            archive_write_header(a, entry) == ARCHIVE_OK &&
            archive_write_data(a, content.constData(), size_t(content.size())) == content.size();
        archive_entry_free(entry);
        if (!written)
            return false;
    }
    return archive_write_close(a) == ARCHIVE_OK;
}

QByteArray compressed(const QByteArray& content, const char* filter)
{
    std::unique_ptr<archive, ArchiveWriterFree> writer(archive_write_new());
    archive* a = writer.get();
    QByteArray out(content.size() + 4096, '\0');
    size_t used = 0;
    if (archive_write_set_format_raw(a) != ARCHIVE_OK ||
        archive_write_add_filter_by_name(a, filter) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(a, 1) != ARCHIVE_OK ||
        archive_write_open_memory(a, out.data(), size_t(out.size()), &used) != ARCHIVE_OK)
        return QByteArray();
    archive_entry* entry = archive_entry_new();
    archive_entry_set_filetype(entry, AE_IFREG);
    const bool written = archive_write_header(a, entry) == ARCHIVE_OK &&
                         archive_write_data(a, content.constData(), size_t(content.size())) == content.size();
    archive_entry_free(entry);
    if (!written || archive_write_close(a) != ARCHIVE_OK)
        return QByteArray();
    out.truncate(qsizetype(used));
    return out;
}

bool writeSparseTar(const QString& path, const QByteArray& name, const QByteArray& data, qint64 offset,
                    qint64 size)
{
    std::unique_ptr<archive, ArchiveWriterFree> writer(archive_write_new());
    archive* a = writer.get();
    if (archive_write_set_format_pax(a) != ARCHIVE_OK ||
        archive_write_open_filename(a, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        return false;
    archive_entry* entry = archive_entry_new();
    archive_entry_copy_pathname(entry, name.constData());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, size);
    archive_entry_sparse_add_entry(entry, offset, data.size());
    // The writer takes the whole file and keeps only the parts the sparse map names.
    QByteArray whole(size, '\0');
    whole.replace(offset, data.size(), data);
    const bool written = archive_write_header(a, entry) == ARCHIVE_OK &&
                         archive_write_data(a, whole.constData(), size_t(whole.size())) == whole.size();
    archive_entry_free(entry);
    return written && archive_write_close(a) == ARCHIVE_OK;
}

bool writeNamedFile(const QString& folder, const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray path = QFile::encodeName(folder) + "/" + name;
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return close(fd) == 0 && written;
}

QMap<QByteArray, QByteArray> folderSnapshot(const QString& folder)
{
    QMap<QByteArray, QByteArray> files;
    const QByteArray path = QFile::encodeName(folder);
    DIR* listing = opendir(path.constData());
    if (!listing)
        return files;
    while (const dirent* item = readdir(listing)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        QByteArray content;
        const int fd = open((path + "/" + name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        struct stat info;
        if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            char block[65536];
            ssize_t got;
            while ((got = read(fd, block, sizeof block)) > 0)
                content.append(block, got);
        } else {
            content = "<not a regular file>";
        }
        if (fd >= 0)
            close(fd);
        files.insert(name, content);
    }
    closedir(listing);
    return files;
}
