#include "tools/archiver/GzipCheck.h"

#include "tools/archiver/ArchiveSource.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr qint64 TrailerBytes = 8;
// A header, an empty deflate block and a trailer.
constexpr qint64 SmallestMemberBytes = 10 + 2 + TrailerBytes;
constexpr qint64 ScanChunkBytes = qint64(1) << 20;
// A file of several members is rare; one with more possible starts than this is not taken apart.
constexpr qsizetype MaxMemberStarts = 1000;
constexpr int MaxChainSteps = 20000;

bool readTrailer(const ArchiveSource& source, qint64 end, quint32* crc, quint32* length)
{
    uchar trailer[TrailerBytes];
    if (end < TrailerBytes ||
        !source.readAt(end - TrailerBytes, reinterpret_cast<char*>(trailer), TrailerBytes))
        return false;
    *crc = qFromLittleEndian<quint32>(trailer);
    *length = qFromLittleEndian<quint32>(trailer + 4);
    return true;
}

// A gzip header as it starts: the magic, deflate, and no reserved flag.
bool startsMember(const char* p)
{
    return uchar(p[0]) == 0x1F && uchar(p[1]) == 0x8B && p[2] == 8 && (uchar(p[3]) & 0xE0) == 0;
}

} // namespace

void GzipCheck::add(const void* data, size_t size)
{
    m_crc.add(data, size);
    m_length += size;
}

bool GzipCheck::matches(const ArchiveSource& source, qint64 end, QString* error) const
{
    quint32 crc = 0;
    quint32 length = 0;
    if (!readTrailer(source, end, &crc, &length)) {
        *error = QStringLiteral("the gzip stream ends without its trailer");
        return false;
    }
    if (crc == m_crc.value() && length == quint32(m_length))
        return true;
    const QList<qint64> starts = laterMemberStarts(source, end);
    QList<Member> closing; // the trailer before each start
    for (const qint64 start : starts) {
        Member member;
        quint32 memberLength = 0;
        if (readTrailer(source, start, &member.crc, &memberLength)) {
            member.length = memberLength;
            closing.append(member);
        }
    }
    int budget = MaxChainSteps;
    if (starts.size() <= MaxMemberStarts && closing.size() == starts.size() &&
        chainMatches(closing, 0, Member(), Member{crc, length}, &budget))
        return true;
    *error = QStringLiteral("the gzip data does not match the CRC-32 and length of its trailer");
    return false;
}

QList<qint64> GzipCheck::laterMemberStarts(const ArchiveSource& source, qint64 end) const
{
    QList<qint64> starts;
    QByteArray chunk;
    const qint64 lastStart = end - SmallestMemberBytes;
    for (qint64 chunkStart = SmallestMemberBytes; chunkStart <= lastStart; chunkStart += ScanChunkBytes) {
        const qint64 startsInChunk = std::min(ScanChunkBytes, lastStart - chunkStart + 1);
        // Three bytes more, so a header across the border is seen whole.
        chunk.resize(startsInChunk + 3);
        if (!source.readAt(chunkStart, chunk.data(), chunk.size()))
            break;
        for (qint64 at = 0; at < startsInChunk && starts.size() <= MaxMemberStarts; ++at) {
            if (startsMember(chunk.constData() + at))
                starts.append(chunkStart + at);
        }
    }
    return starts;
}

// Tries, depth first, every chain of later member starts from `closing[next]` on: `sofar` holds the
// CRC and length of the members before, `last` the trailer that closes the file.
bool GzipCheck::chainMatches(const QList<Member>& closing, qsizetype next, const Member& sofar,
                             const Member& last, int* budget) const
{
    if (--*budget < 0)
        return false;
    if (sofar.length + last.length == m_length &&
        Crc32::joined(sofar.crc, last.crc, last.length) == m_crc.value())
        return true;
    for (qsizetype i = next; i < closing.size(); ++i) {
        const Member& member = closing[i];
        if (sofar.length + member.length + last.length > m_length)
            continue;
        const Member longer{Crc32::joined(sofar.crc, member.crc, member.length),
                            sofar.length + member.length};
        if (chainMatches(closing, i + 1, longer, last, budget))
            return true;
    }
    return false;
}
