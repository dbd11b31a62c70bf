#include "tools/archiver/GzipStream.h"

#include "tools/archiver/ArchiveSource.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype InputBytes = 128 * 1024;
constexpr qsizetype OutputBytes = 128 * 1024;
// 15 bits of window, plus 16: only a gzip header and trailer are accepted.
constexpr int GzipWindowBits = 16 + MAX_WBITS;

} // namespace

GzipStream::GzipStream(const ArchiveSource& source)
    : m_source(source)
    , m_input(InputBytes, Qt::Uninitialized)
    , m_output(OutputBytes, Qt::Uninitialized)
{
}

GzipStream::~GzipStream()
{
    if (m_zlibReady)
        inflateEnd(&m_zlib);
}

bool GzipStream::startsGzip(const ArchiveSource& source)
{
    char start[3];
    return source.readAt(0, start, sizeof start) && std::memcmp(start, "\x1F\x8B\x08", sizeof start) == 0;
}

qint64 GzipStream::next(const void** block)
{
    *block = m_output.constData();
    if (!m_error.isEmpty())
        return -1;
    m_zlib.next_out = reinterpret_cast<Bytef*>(m_output.data());
    m_zlib.avail_out = uInt(m_output.size());
    while (m_zlib.avail_out > 0 && m_state != State::Ended) {
        if (m_zlib.avail_in == 0 && !refill())
            return -1;
        if (m_zlib.avail_in == 0) {
            if (m_state == State::InMember)
                return fail(QStringLiteral("the gzip member at byte %1 is cut short").arg(m_memberStart));
            m_state = State::Ended;
            break;
        }
        const qint64 at = m_read - m_zlib.avail_in;
        switch (m_state) {
        case State::BetweenMembers:
            if (*m_zlib.next_in == 0)
                m_state = State::Padding;
            else if (*m_zlib.next_in != 0x1F)
                return notAMember(at);
            else if (!startMember())
                return -1;
            break;
        case State::Padding: {
            const Bytef* start = m_zlib.next_in;
            const Bytef* end = start + m_zlib.avail_in;
            const Bytef* other = std::find_if(start, end, [](Bytef b) { return b != 0; });
            if (other != end)
                return notAMember(at + (other - start));
            m_zlib.avail_in = 0;
            break;
        }
        case State::InMember:
            if (!inflateSome())
                return -1;
            break;
        case State::Ended:
            break;
        }
    }
    return qint64(m_output.size()) - m_zlib.avail_out;
}

bool GzipStream::refill()
{
    const qint64 wanted = std::min<qint64>(m_input.size(), m_source.size() - m_read);
    if (wanted > 0 && !m_source.readAt(m_read, m_input.data(), wanted)) {
        fail(QStringLiteral("cannot read the archive at byte %1").arg(m_read));
        return false;
    }
    m_zlib.next_in = reinterpret_cast<Bytef*>(m_input.data());
    m_zlib.avail_in = uInt(std::max<qint64>(wanted, 0));
    m_read += m_zlib.avail_in;
    return true;
}

bool GzipStream::startMember()
{
    m_memberStart = m_read - m_zlib.avail_in;
    const int status = m_zlibReady ? inflateReset(&m_zlib) : inflateInit2(&m_zlib, GzipWindowBits);
    if (status != Z_OK) {
        m_outOfMemory = status == Z_MEM_ERROR;
        fail(QStringLiteral("cannot start inflating: %1").arg(zError(status)));
        return false;
    }
    m_zlibReady = true;
    m_state = State::InMember;
    return true;
}

bool GzipStream::inflateSome()
{
    const int status = inflate(&m_zlib, Z_NO_FLUSH);
    if (status == Z_STREAM_END)
        m_state = State::BetweenMembers;
    if (status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR)
        return true;
    m_outOfMemory = status == Z_MEM_ERROR;
    // zlib's words for a trailer that does not match, said in ours.
    const QByteArray why = m_zlib.msg ? QByteArray(m_zlib.msg) : QByteArray(zError(status));
    QString error = QStringLiteral("the gzip member at byte %1 ").arg(m_memberStart);
    if (why == "incorrect data check")
        error += QStringLiteral("does not match the CRC-32 in its trailer");
    else if (why == "incorrect length check")
        error += QStringLiteral("does not match the length in its trailer");
    else
        error += QStringLiteral("is damaged: %1").arg(QString::fromUtf8(why));
    fail(error);
    return false;
}

qint64 GzipStream::notAMember(qint64 at)
{
    return fail(
        QStringLiteral("bytes that are neither zeros nor a gzip member follow the gzip data at byte %1")
            .arg(at));
}

qint64 GzipStream::fail(const QString& error)
{
    m_error = error;
    m_state = State::Ended;
    return -1;
}
