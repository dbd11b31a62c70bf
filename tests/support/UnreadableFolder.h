#pragma once

#include <QString>

// Makes a folder unreadable to this thread while it lives, also when the tests run as root: the
// folder's permissions go to none, and root's power to pass over permissions (CAP_DAC_OVERRIDE,
// CAP_DAC_READ_SEARCH) leaves the thread's effective capabilities. Both come back at the end.
class UnreadableFolder
{
public:
    explicit UnreadableFolder(const QString& path);
    ~UnreadableFolder();

    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;

    // Whether the folder really cannot be listed now.
    bool isActive() const;

private:
    QByteArray m_path;
    unsigned m_mode = 0;
    bool m_capabilitiesDropped = false;
};
