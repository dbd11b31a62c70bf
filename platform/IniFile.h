#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Reads Windows initialisation files with the rules of the Windows reader (GetPrivateProfileString)
// that skin files made on Windows rely on: see the notes in IniFile.cpp.
namespace platform {

class IniFile
{
public:
    // How the file was read. Only a regular file of at most MaxFileBytes is read: a FIFO would block
    // for good, a device never end.
    enum class Status
    {
        Read,
        Missing,
        NotAFile,
        TooLarge,
        Unreadable
    };

    // Reads the whole file once; a file that is not read behaves as an empty one.
    explicit IniFile(const QString& path);

    // The value of `key` in `section`, or `defaultValue` when the file, section or key is missing.
    // A key with an empty value gives the empty text, not the default. At most 2047 characters.
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

    Status status() const { return m_status; }

    static constexpr int MaxValueLength = 2047;
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

private:
    void parse(const QString& text);

    // Per section (by its name in ASCII small letters) the values by key name in ASCII small letters;
    // only the first section of a name and in it the first key of a name are kept.
    QHash<QString, QHash<QString, QString>> m_sections;
    Status m_status = Status::Missing;
};

} // namespace platform
