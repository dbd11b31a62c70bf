#pragma once

#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <sys/resource.h>

// Cuts every write of this process short beyond `bytes` of a file (the write fails with EFBIG) for as
// long as it lives, the way a full disk stops a write part-way. SIGXFSZ is ignored meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_previous{};
    struct sigaction m_previousAction
    {
    };
    bool m_active = false;
};

// A temporary folder on another file system than `here` (/dev/shm), or nullptr when there is none.
std::unique_ptr<QTemporaryDir> otherFileSystemFolder(const QString& here);
