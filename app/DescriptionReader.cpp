#include "app/DescriptionReader.h"

#include "core/IoError.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace {

constexpr qint64 ChunkBytes = 64 * 1024;

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

DescriptionReader::DescriptionReader(const QString& path)
    : m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw IoError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(path, m_file.errorString()));
}

bool DescriptionReader::refill()
{
    m_buffer.resize(ChunkBytes);
    const qint64 got = m_file.read(m_buffer.data(), ChunkBytes);
    if (got < 0)
        throw IoError(QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                          .arg(m_file.fileName(), m_file.errorString()));
    m_buffer.resize(got);
    m_pos = 0;
    return got > 0;
}

bool DescriptionReader::readLine(QString& line)
{
    QByteArray bytes;
    bool started = false;
    while (m_pos < m_buffer.size() || refill()) {
        if (m_skipLineFeed) {
            m_skipLineFeed = false;
            if (m_buffer.at(m_pos) == '\n') {
                ++m_pos;
                continue;
            }
        }
        started = true;
        const char* begin = m_buffer.constData() + m_pos;
        const char* end = m_buffer.constData() + m_buffer.size();
        const char* stop = std::find_if(begin, end, isLineEnd);
        const qsizetype room = MaxLineBytes - bytes.size();
        bytes.append(begin, std::min<qsizetype>(room, stop - begin));
        m_pos += stop - begin;
        if (stop != end) {
            m_skipLineFeed = *stop == '\r';
            ++m_pos;
            line = platform::decodeText(bytes);
            return true;
        }
    }
    if (!started)
        return false;
    line = platform::decodeText(bytes);
    return true;
}
