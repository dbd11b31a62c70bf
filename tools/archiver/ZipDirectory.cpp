#include "tools/archiver/ZipDirectory.h"

#include "tools/archiver/ArchiveSource.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr qint64 EndRecordBytes = 22;
constexpr qint64 Zip64LocatorBytes = 20;
constexpr qint64 Zip64EndRecordBytes = 56;
constexpr qint64 DirectoryRecordBytes = 46;
constexpr qint64 LocalHeaderBytes = 30;
constexpr qint64 MaxDescriptorBytes = 24; // signature, CRC and two 64-bit sizes
constexpr quint16 SizesFollowData = 0x0008;
constexpr qint64 MaxCommentBytes = 0xFFFF;
constexpr qint64 MaxDirectoryBytes = qint64(64) << 20;
constexpr qint64 ScanChunkBytes = qint64(1) << 20;

constexpr char LocalHeaderSignature[] = "PK\3\4";
constexpr char DirectoryRecordSignature[] = "PK\1\2";
constexpr char EndRecordSignature[] = "PK\5\6";
constexpr char Zip64LocatorSignature[] = "PK\6\7";
constexpr char Zip64EndRecordSignature[] = "PK\6\6";
constexpr char DescriptorSignature[] = "PK\x07\x08";

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

quint64 u64(const char* p)
{
    return qFromLittleEndian<quint64>(p);
}

bool hasSignature(const ArchiveSource& source, qint64 offset, const char* signature)
{
    char bytes[4];
    return source.readAt(offset, bytes, 4) && std::memcmp(bytes, signature, 4) == 0;
}

// The fields of a directory record's or local header's extra data that matter here: the 64-bit values
// standing for 32-bit ones set to 0xFFFFFFFF (in the order size, compressed size, local header offset),
// and the UTF-8 name of an Info-ZIP Unicode Path field.
bool readExtras(const char* p, qint64 length, ZipRecord* record, qint64* localOffset, bool sizeIn64,
                bool compressedIn64, bool offsetIn64)
{
    while (length >= 4) {
        const quint16 id = u16(p);
        const qint64 size = u16(p + 2);
        if (size > length - 4)
            return false;
        const char* field = p + 4;
        const char* end = field + size;
        if (id == 0x0001) {
            auto take = [&](bool present, qint64* target) {
                if (!present)
                    return true;
                if (end - field < 8 || u64(field) > quint64(std::numeric_limits<qint64>::max()))
                    return false;
                *target = qint64(u64(field));
                field += 8;
                return true;
            };
            if (!take(sizeIn64, &record->size) || !take(compressedIn64, &record->compressedSize) ||
                !take(offsetIn64, localOffset))
                return false;
        } else if (id == 0x7075 && size >= 5 && field[0] == 1) {
            record->unicodeName = QByteArray(field + 5, size - 5);
        }
        p += 4 + size;
        length -= 4 + size;
    }
    return true;
}

// Whether the data descriptor at `at` gives the sizes of `record`. It may start with its signature and
// hold 32-bit or, in ZIP64 archives, 64-bit sizes after the CRC.
bool descriptorMatches(const ArchiveSource& source, qint64 at, qint64 end, const ZipRecord& record)
{
    char bytes[MaxDescriptorBytes];
    const qint64 length = std::min(MaxDescriptorBytes, end - at);
    if (length < 12 || !source.readAt(at, bytes, length))
        return false;
    const qint64 sizes = std::memcmp(bytes, DescriptorSignature, 4) == 0 ? 8 : 4;
    if (sizes + 8 <= length && u32(bytes + sizes) == quint64(record.compressedSize) &&
        u32(bytes + sizes + 4) == quint64(record.size))
        return true;
    return sizes + 16 <= length && u64(bytes + sizes) == quint64(record.compressedSize) &&
           u64(bytes + sizes + 8) == quint64(record.size);
}

} // namespace

QByteArray withSlashes(QByteArray name)
{
    return name.replace('\\', '/');
}

bool ZipDirectory::endRecordAt(const ArchiveSource& source, qint64 offset, bool mustCloseFile,
                               Directory* found) const
{
    char record[EndRecordBytes];
    if (!source.readAt(offset, record, EndRecordBytes) || std::memcmp(record, EndRecordSignature, 4) != 0)
        return false;
    const qint64 recordEnd = offset + EndRecordBytes + u16(record + 20);
    if (recordEnd > source.size() || (mustCloseFile && recordEnd != source.size()))
        return false;
    qint64 directoryEnd = offset;
    qint64 directoryOffset = 0; // as recorded: counted from the archive's start
    Directory directory;
    if (offset >= Zip64LocatorBytes &&
        hasSignature(source, offset - Zip64LocatorBytes, Zip64LocatorSignature)) {
        char locator[Zip64LocatorBytes];
        if (!source.readAt(offset - Zip64LocatorBytes, locator, Zip64LocatorBytes))
            return false;
        // The locator's offset counts from the archive's start; when the archive does not start the
        // file, the record is found right before the locator.
        qint64 at = qint64(std::min<quint64>(u64(locator + 8), quint64(source.size())));
        if (!hasSignature(source, at, Zip64EndRecordSignature))
            at = offset - Zip64LocatorBytes - Zip64EndRecordBytes;
        char zip64[Zip64EndRecordBytes];
        if (at < 0 || !source.readAt(at, zip64, Zip64EndRecordBytes) ||
            std::memcmp(zip64, Zip64EndRecordSignature, 4) != 0)
            return false;
        const quint64 limit = quint64(source.size());
        if (u64(zip64 + 32) > limit || u64(zip64 + 40) > limit || u64(zip64 + 48) > limit)
            return false;
        directory.entries = qint64(u64(zip64 + 32));
        directory.size = qint64(u64(zip64 + 40));
        directoryOffset = qint64(u64(zip64 + 48));
        directoryEnd = at;
    } else {
        if (u16(record + 4) != 0 || u16(record + 6) != 0 || u16(record + 8) != u16(record + 10))
            return false;
        directory.entries = u16(record + 10);
        directory.size = u32(record + 12);
        directoryOffset = u32(record + 16);
    }
    directory.start = directoryEnd - directory.size;
    directory.archiveStart = directory.start - directoryOffset;
    if (directory.start < 0 || directory.archiveStart < 0)
        return false;
    if (directory.entries > 0 && !hasSignature(source, directory.start, DirectoryRecordSignature))
        return false;
    *found = directory;
    return true;
}

// The offset of the last end record that opens a valid directory, or -1. A file
// that starts as a zip takes only a directory whose offsets count from the file's start.
qint64 ZipDirectory::lastEndRecord(const ArchiveSource& source, bool startsAsZip, Directory* found) const
{
    const qint64 lowest =
        startsAsZip ? 0 : std::max<qint64>(0, source.size() - EndRecordBytes - MaxCommentBytes);
    QByteArray chunk;
    qint64 chunkEnd = source.size();
    while (chunkEnd > lowest) {
        // The first look covers where an end record with the longest comment would start: most zips
        // end with theirs, and a track archive need not be read a megabyte deep for it.
        const qint64 chunkBytes =
            chunkEnd == source.size() ? EndRecordBytes + MaxCommentBytes : ScanChunkBytes;
        const qint64 chunkStart = std::max(lowest, chunkEnd - chunkBytes);
        chunk.resize(chunkEnd - chunkStart);
        if (!source.readAt(chunkStart, chunk.data(), chunk.size()))
            return -1;
        for (qsizetype at = chunk.size() - 4; at >= 0; --at) {
            if (std::memcmp(chunk.constData() + at, EndRecordSignature, 4) != 0)
                continue;
            Directory directory;
            if (endRecordAt(source, chunkStart + at, !startsAsZip, &directory) &&
                (!startsAsZip || directory.archiveStart == 0)) {
                *found = directory;
                return chunkStart + at;
            }
        }
        // Overlap by three bytes, so a signature across the chunk border is seen.
        chunkEnd = chunkStart == lowest ? lowest : chunkStart + 3;
    }
    return -1;
}

ZipDirectory::Outcome ZipDirectory::read(const ArchiveSource& source, qint64 maxEntries, QString* error)
{
    const bool startsAsZip =
        hasSignature(source, 0, LocalHeaderSignature) || hasSignature(source, 0, EndRecordSignature);
    Directory directory;
    m_endRecord = lastEndRecord(source, startsAsZip, &directory);
    if (m_endRecord < 0) {
        if (!startsAsZip)
            return Outcome::NotZip;
        *error = QStringLiteral("the zip's directory is missing or damaged (is the archive cut short?)");
        return Outcome::Broken;
    }
    if (directory.entries > maxEntries) {
        *error = QStringLiteral("the archive holds %1 entries, more than %2")
                     .arg(directory.entries)
                     .arg(maxEntries);
        return Outcome::TooLarge;
    }
    if (directory.size > MaxDirectoryBytes) {
        *error = QStringLiteral("the zip's directory takes more than %1 MiB").arg(MaxDirectoryBytes >> 20);
        return Outcome::TooLarge;
    }
    return readRecords(source, directory, error);
}

ZipDirectory::Outcome ZipDirectory::readRecords(const ArchiveSource& source, const Directory& directory,
                                                QString* error)
{
    QByteArray bytes(directory.size, Qt::Uninitialized);
    if (!source.readAt(directory.start, bytes.data(), bytes.size())) {
        *error = QStringLiteral("cannot read the zip's directory");
        return Outcome::Broken;
    }
    m_records.clear();
    m_records.reserve(directory.entries);
    qint64 at = 0;
    for (qint64 i = 0; i < directory.entries; ++i) {
        const char* p = bytes.constData() + at;
        if (bytes.size() - at < DirectoryRecordBytes || std::memcmp(p, DirectoryRecordSignature, 4) != 0) {
            *error = QStringLiteral("the zip's directory is damaged at record %1").arg(i + 1);
            return Outcome::Broken;
        }
        const qint64 nameBytes = u16(p + 28);
        const qint64 extraBytes = u16(p + 30);
        const qint64 recordBytes = DirectoryRecordBytes + nameBytes + extraBytes + u16(p + 32);
        if (bytes.size() - at < recordBytes) {
            *error = QStringLiteral("the zip's directory is damaged at record %1").arg(i + 1);
            return Outcome::Broken;
        }
        ZipRecord record;
        record.name = QByteArray(p + DirectoryRecordBytes, nameBytes);
        record.size = u32(p + 24);
        record.compressedSize = u32(p + 20);
        qint64 localOffset = u32(p + 42);
        if (!readExtras(p + DirectoryRecordBytes + nameBytes, extraBytes, &record, &localOffset,
                        u32(p + 24) == 0xFFFFFFFF, u32(p + 20) == 0xFFFFFFFF, u32(p + 42) == 0xFFFFFFFF)) {
            *error = QStringLiteral("the zip's directory is damaged at record %1").arg(i + 1);
            return Outcome::Broken;
        }
        if (!localHeaderMatches(source, directory, localOffset, record, error))
            return Outcome::Broken;
        m_records.append(record);
        at += recordBytes;
    }
    return Outcome::Zip;
}

bool ZipDirectory::localHeaderMatches(const ArchiveSource& source, const Directory& directory,
                                      qint64 localOffset, const ZipRecord& record, QString* error) const
{
    const QString shownName = QString::fromUtf8(record.name);
    // Every entry lies between the archive's start and its directory.
    const qint64 room = directory.start - directory.archiveStart - LocalHeaderBytes;
    const qint64 at = localOffset >= 0 && localOffset <= room ? directory.archiveStart + localOffset : -1;
    char header[LocalHeaderBytes];
    if (!source.readAt(at, header, LocalHeaderBytes) || std::memcmp(header, LocalHeaderSignature, 4) != 0) {
        *error = QStringLiteral("the zip's directory points to no entry for %1").arg(shownName);
        return false;
    }
    const qint64 extraBytes = u16(header + 28);
    QByteArray nameAndExtra(u16(header + 26) + extraBytes, Qt::Uninitialized);
    const bool whole = localOffset + nameAndExtra.size() <= room &&
                       source.readAt(at + LocalHeaderBytes, nameAndExtra.data(), nameAndExtra.size());
    const QByteArray localName = whole ? nameAndExtra.left(nameAndExtra.size() - extraBytes) : "(cut short)";
    if (!whole || withSlashes(localName) != withSlashes(record.name)) {
        *error = QStringLiteral("the zip's directory names %1 but the entry's own header names %2")
                     .arg(shownName, QString::fromUtf8(localName));
        return false;
    }
    ZipRecord local;
    local.size = u32(header + 22);
    local.compressedSize = u32(header + 18);
    qint64 unused = 0;
    const bool sizesFollow = u16(header + 6) & SizesFollowData;
    const auto agree = [sizesFollow](qint64 local, qint64 central) {
        return local == central || (sizesFollow && local == 0);
    };
    if (!readExtras(nameAndExtra.constData() + localName.size(), extraBytes, &local, &unused,
                    local.size == 0xFFFFFFFF, local.compressedSize == 0xFFFFFFFF, false) ||
        !agree(local.size, record.size) || !agree(local.compressedSize, record.compressedSize)) {
        *error = QStringLiteral("the zip's directory and the entry's own header disagree on the sizes of %1")
                     .arg(shownName);
        return false;
    }
    // Sizes the local header left 0 are in the data descriptor; those it gave need no second word.
    const bool leftToDescriptor = local.size != record.size || local.compressedSize != record.compressedSize;
    const qint64 dataStart = at + LocalHeaderBytes + nameAndExtra.size();
    if (leftToDescriptor &&
        (record.compressedSize > directory.start - dataStart ||
         !descriptorMatches(source, dataStart + record.compressedSize, directory.start, record))) {
        *error = QStringLiteral("the zip's directory and the data descriptor disagree on the sizes of %1")
                     .arg(shownName);
        return false;
    }
    return true;
}
