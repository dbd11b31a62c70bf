#pragma once

#include <QString>

// Reads Windows initialisation files with the rules of the Windows reader (GetPrivateProfileString)
// that skin files made on Windows rely on: see the notes in IniFile.cpp.
namespace platform {

class IniFile
{
public:
    // Reads the whole file once; a missing or unreadable file behaves as an empty one.
    explicit IniFile(const QString& path);

    // The value of `key` in `section`, or `defaultValue` when the file, section or key is missing.
    // A key with an empty value gives the empty text, not the default. At most 2047 characters.
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

    bool exists() const { return m_exists; }

private:
    struct Entry
    {
        QString section;
        QString key;
        QString value;
    };
    QList<Entry> m_entries;
    bool m_exists = false;
};

} // namespace platform
