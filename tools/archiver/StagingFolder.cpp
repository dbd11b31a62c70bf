#include "tools/archiver/StagingFolder.h"

#include "tools/archiver/FlatName.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const QString& what, const QByteArray& name)
{
    return QStringLiteral("%1 %2: %3")
        .arg(what, QFile::decodeName(name), QString::fromLocal8Bit(strerror(errno)));
}

QByteArray randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix;
    for (int i = 0; i < 8; ++i)
        suffix.append(letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))]);
    return suffix;
}

// Names in the output folder, each with whether it is a folder (links are not followed).
QList<QPair<QByteArray, bool>> listFolder(int folderFd)
{
    QList<QPair<QByteArray, bool>> entries;
    const int listingFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0)
        return entries;
    DIR* listing = fdopendir(listingFd);
    if (!listing) {
        close(listingFd);
        return entries;
    }
    while (const dirent* item = readdir(listing)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat info;
        const bool isFolder =
            fstatat(folderFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        entries.append({name, isFolder});
    }
    closedir(listing);
    return entries;
}

} // namespace

StagingFolder::~StagingFolder()
{
    discard();
}

bool StagingFolder::open(const QByteArray& outputDir, QString* error)
{
    m_outputDir = outputDir;
    if (!QDir().mkpath(QFile::decodeName(outputDir))) {
        *error = QStringLiteral("cannot create the output folder %1").arg(QFile::decodeName(outputDir));
        return false;
    }
    m_outputFd = ::open(outputDir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_outputFd < 0) {
        *error = systemError(QStringLiteral("cannot open the output folder"), outputDir);
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = ".7zip-" + randomSuffix();
        if (mkdirat(m_outputFd, name.constData(), 0700) == 0) {
            m_stagingName = name;
            break;
        }
        if (errno != EEXIST) {
            *error = systemError(QStringLiteral("cannot create a work folder in"), outputDir);
            return false;
        }
    }
    if (m_stagingName.isEmpty()) {
        *error = systemError(QStringLiteral("cannot create a work folder in"), outputDir);
        return false;
    }
    m_stagingFd =
        openat(m_outputFd, m_stagingName.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_stagingFd < 0) {
        *error = systemError(QStringLiteral("cannot open the work folder"), m_stagingName);
        unlinkat(m_outputFd, m_stagingName.constData(), AT_REMOVEDIR);
        m_stagingName.clear();
        return false;
    }
    return true;
}

int StagingFolder::createFile(const QByteArray& name, QString* error)
{
    const int fd =
        openat(m_stagingFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = systemError(QStringLiteral("cannot create"), name);
        return -1;
    }
    m_files.append(name);
    return fd;
}

void StagingFolder::dropFile(const QByteArray& name)
{
    if (m_files.removeOne(name))
        unlinkat(m_stagingFd, name.constData(), 0);
}

bool StagingFolder::commit(QString* error)
{
    const QList<QPair<QByteArray, bool>> existing = listFolder(m_outputFd);
    // A folder in the way would stop the renames half-way through; find it before anything moves.
    QList<QByteArray> caseVariants;
    for (const QByteArray& name : std::as_const(m_files)) {
        const QString wanted = comparableName(name);
        for (const auto& [present, isFolder] : existing) {
            if (present == m_stagingName || comparableName(present) != wanted)
                continue;
            if (isFolder) {
                *error = QStringLiteral("a folder named %1 is in the way in %2")
                             .arg(QFile::decodeName(present), QFile::decodeName(m_outputDir));
                discard();
                return false;
            }
            if (present != name)
                caseVariants.append(present);
        }
    }
    while (!m_files.isEmpty()) {
        const QByteArray name = m_files.first();
        if (renameat(m_stagingFd, name.constData(), m_outputFd, name.constData()) != 0) {
            *error = systemError(QStringLiteral("cannot move into the output folder"), name);
            discard();
            return false;
        }
        m_files.removeFirst();
    }
    // On Windows "Tr.frd" replaces "TR.FRD"; keep the folder free of such twins here too.
    for (const QByteArray& variant : std::as_const(caseVariants))
        unlinkat(m_outputFd, variant.constData(), 0);
    discard();
    return true;
}

void StagingFolder::discard()
{
    if (m_stagingFd >= 0) {
        for (const QByteArray& name : std::as_const(m_files))
            unlinkat(m_stagingFd, name.constData(), 0);
        m_files.clear();
        close(m_stagingFd);
        m_stagingFd = -1;
    }
    if (m_outputFd >= 0) {
        if (!m_stagingName.isEmpty())
            unlinkat(m_outputFd, m_stagingName.constData(), AT_REMOVEDIR);
        m_stagingName.clear();
        close(m_outputFd);
        m_outputFd = -1;
    }
}
