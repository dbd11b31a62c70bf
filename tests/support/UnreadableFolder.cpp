#include "tests/support/UnreadableFolder.h"

#include <QFile>

#include <dirent.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned PassOverPermissions = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

// Sets or clears the capabilities that pass over permissions in this thread's effective set.
bool setPassOverPermissions(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (on)
        data[0].effective |= data[0].permitted & PassOverPermissions;
    else
        data[0].effective &= ~PassOverPermissions;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

UnreadableFolder::UnreadableFolder(const QString& path)
    : m_path(QFile::encodeName(path))
{
    struct stat info;
    if (stat(m_path.constData(), &info) != 0 || chmod(m_path.constData(), 0) != 0)
        return;
    m_mode = info.st_mode & 07777;
    m_capabilitiesDropped = geteuid() == 0 && setPassOverPermissions(false);
}

UnreadableFolder::~UnreadableFolder()
{
    if (m_capabilitiesDropped)
        setPassOverPermissions(true);
    if (m_mode)
        chmod(m_path.constData(), m_mode);
}

bool UnreadableFolder::isActive() const
{
    DIR* dir = opendir(m_path.constData());
    if (!dir)
        return true;
    closedir(dir);
    return false;
}
