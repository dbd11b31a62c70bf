#include "tests/support/WriteLimit.h"

#include <QFile>

#include <sys/stat.h>

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    struct sigaction ignore
    {
    };
    ignore.sa_handler = SIG_IGN;
    if (getrlimit(RLIMIT_FSIZE, &m_previous) != 0 || sigaction(SIGXFSZ, &ignore, &m_previousAction) != 0)
        return;
    const rlimit limit{bytes, m_previous.rlim_max};
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        sigaction(SIGXFSZ, &m_previousAction, nullptr);
}

FileSizeLimit::~FileSizeLimit()
{
    if (!m_active)
        return;
    setrlimit(RLIMIT_FSIZE, &m_previous);
    sigaction(SIGXFSZ, &m_previousAction, nullptr);
}

std::unique_ptr<QTemporaryDir> otherFileSystemFolder(const QString& here)
{
    auto folder = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/rovex-fs-XXXXXX"));
    struct stat hereInfo;
    struct stat thereInfo;
    if (!folder->isValid() || stat(QFile::encodeName(here).constData(), &hereInfo) != 0 ||
        stat(QFile::encodeName(folder->path()).constData(), &thereInfo) != 0 ||
        hereInfo.st_dev == thereInfo.st_dev)
        return nullptr;
    return folder;
}
