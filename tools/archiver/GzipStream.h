#pragma once

#include <QByteArray>
#include <QString>

#include <zlib.h>

class ArchiveSource;

// A gzip file inflated by zlib member after member, as gzip -t reads concatenated members: zlib
// compares each member's CRC-32 and length with its trailer. After the last member only zero bytes
// (padding to a block) may follow; any other byte there is a member that cannot be read.
class GzipStream
{
public:
    explicit GzipStream(const ArchiveSource& source);
    ~GzipStream();
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    // Whether `source` starts with a gzip header of deflated data.
    static bool startsGzip(const ArchiveSource& source);

    // The next inflated block: its size, 0 at the file's end, negative on failure (error() says why).
    qint64 next(const void** block);

    const QString& error() const { return m_error; }
    bool outOfMemory() const { return m_outOfMemory; }

private:
    enum class State
    {
        BetweenMembers,
        InMember,
        Padding,
        Ended,
    };

    bool refill();
    bool startMember();
    bool inflateSome();
    qint64 notAMember(qint64 at);
    qint64 fail(const QString& error);

    const ArchiveSource& m_source;
    z_stream m_zlib = {};
    bool m_zlibReady = false;
    State m_state = State::BetweenMembers;
    qint64 m_read = 0;        // bytes of the file handed to zlib
    qint64 m_memberStart = 0; // where the member being inflated starts in the file
    QByteArray m_input;
    QByteArray m_output;
    QString m_error;
    bool m_outOfMemory = false;
};
