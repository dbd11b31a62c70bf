#include "tests/support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList sortedEntries(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

bool layOut(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString name = entry.section(QStringLiteral(" = "), 0, 0);
        bool made = true;
        if (entry.startsWith(QStringLiteral("game ")))
            made = QDir().mkpath(root + u'/' + entry.mid(5) + QStringLiteral("/Data/Tracks")) &&
                   writeBytes(root + u'/' + entry.mid(5) + QStringLiteral("/nfshs.exe"), "MZ");
        else if (entry.endsWith(u'/'))
            made = QDir().mkpath(root + u'/' + entry);
        else
            made = writeBytes(
                root + u'/' + name,
                entry.section(QStringLiteral(" = "), 1).replace(QStringLiteral("$HOME"), root).toUtf8());
        if (!made)
            return false;
    }
    return true;
}

std::unique_ptr<QTemporaryDir> folderOnAnotherFileSystem(const QString& than)
{
    struct stat here;
    if (stat(QFile::encodeName(than).constData(), &here) != 0)
        return nullptr;
    for (const char* place : {"/dev/shm", "/var/tmp"}) {
        auto folder =
            std::make_unique<QTemporaryDir>(QLatin1String(place) + QLatin1String("/rovex-test-XXXXXX"));
        struct stat there;
        if (folder->isValid() && stat(QFile::encodeName(folder->path()).constData(), &there) == 0 &&
            there.st_dev != here.st_dev)
            return folder;
    }
    return nullptr;
}
