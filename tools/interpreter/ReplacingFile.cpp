#include "tools/interpreter/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace interpreter {

ReplacingFile::ReplacingFile(const QString& target)
    : m_target(target)
{
}

ReplacingFile::~ReplacingFile()
{
    if (m_fd >= 0) {
        close(m_fd);
        unlink(m_temporary.constData());
    }
}

// The temporary name has the shape of the program's own safe writes, which its start-up clean-up
// removes when a run was cut short.
QString ReplacingFile::open()
{
    m_temporary = QFile::encodeName(QFileInfo(m_target).path()) + "/.rovex-write-XXXXXX";
    m_fd = mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0)
        return failure(errno);
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(m_fd, 0666 & ~mask) != 0)
        return failure(errno);
    return {};
}

QString ReplacingFile::write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return failure(written < 0 ? errno : ENOSPC);
        data += written;
        size -= written;
    }
    return {};
}

QString ReplacingFile::commit()
{
    const int closed = close(m_fd);
    m_fd = -1;
    const int error = errno;
    if (closed != 0 || rename(m_temporary.constData(), QFile::encodeName(m_target).constData()) != 0) {
        const QString text = failure(closed != 0 ? error : errno);
        unlink(m_temporary.constData());
        return text;
    }
    return {};
}

QString ReplacingFile::failure(int error) const
{
    return QStringLiteral("cannot write %1: %2").arg(m_target, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace interpreter
