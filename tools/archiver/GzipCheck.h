#pragma once

#include "tools/archiver/Crc32.h"

#include <QList>
#include <QString>

class ArchiveSource;

// libarchive inflates gzip but never compares the CRC-32 and length that close each member, so a
// flipped byte in a stored block went unseen. The decompressed bytes pass through here and are
// checked against the trailers in the file once the stream has been read to its end.
class GzipCheck
{
public:
    void add(const void* data, size_t size);

    // Whether the trailers of `source`, whose last member ends at `end`, match the bytes added; says
    // why not. A file of several members is taken apart by the trailers themselves: the chain of
    // member starts whose CRCs and lengths add up to those of the whole.
    bool matches(const ArchiveSource& source, qint64 end, QString* error) const;

private:
    struct Member
    {
        quint32 crc = 0;
        quint64 length = 0;
    };

    QList<qint64> laterMemberStarts(const ArchiveSource& source, qint64 end) const;
    bool chainMatches(const QList<Member>& closing, qsizetype next, const Member& sofar, const Member& last,
                      int* budget) const;

    Crc32 m_crc;
    quint64 m_length = 0;
};
