#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes zip archives for tests, benchmarks and the demo. Entry names are written exactly as given
// (folders, "..", absolute names), so hostile archives can be built as fixtures too.
struct ZipEntry
{
    enum class Kind
    {
        File,
        Folder,
        Symlink
    };
    enum class Method
    {
        Deflate,
        Store
    };

    QString name;
    QByteArray data;
    Kind kind = Kind::File;
    QString linkTarget;
    Method method = Method::Deflate;

    static ZipEntry file(const QString& name, const QByteArray& data, Method method = Method::Deflate);
    static ZipEntry folder(const QString& name);
    static ZipEntry symlink(const QString& name, const QString& target);
};

// Writes `entries` in order to a new zip archive at `path`, replacing any file there.
// On failure returns false, removes the partial archive and, when `error` is given, says why.
bool writeZip(const QString& path, const QList<ZipEntry>& entries, QString* error = nullptr);

// Same as writeZip, but every file entry is encrypted with the traditional PKWARE cipher.
bool writeEncryptedZip(const QString& path, const QList<ZipEntry>& entries, const QByteArray& passphrase,
                       QString* error = nullptr);
