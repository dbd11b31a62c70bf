#include "tools/archiver/StagingFolder.h"

#include "tools/archiver/FlatName.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const QString& what, const QByteArray& name, int code = errno)
{
    return QStringLiteral("%1 %2: %3")
        .arg(what, QFile::decodeName(name), QString::fromLocal8Bit(strerror(code)));
}

QByteArray randomSuffix()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix;
    for (int i = 0; i < 8; ++i)
        suffix.append(letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))]);
    return suffix;
}

// Renames without replacing: a file that appeared at the target since the folder was listed stays.
// File systems without that mode fall back to a plain rename.
int renameNoReplace(int fromFd, const QByteArray& name, int toFd)
{
    const int result = renameat2(fromFd, name.constData(), toFd, name.constData(), RENAME_NOREPLACE);
    if (result != 0 && errno == EINVAL)
        return renameat(fromFd, name.constData(), toFd, name.constData());
    return result;
}

struct Present
{
    QByteArray name;
    bool isFolder;
};

// The entries of the output folder whose names equal one of `keys` ignoring letter case, by key.
// One listing, so the commit costs the same however full the folder is.
QHash<QByteArray, QList<Present>> presentByKey(int folderFd, const QSet<QByteArray>& keys,
                                               const QByteArray& skipped)
{
    QHash<QByteArray, QList<Present>> present;
    const int listingFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0)
        return present;
    DIR* listing = fdopendir(listingFd);
    if (!listing) {
        close(listingFd);
        return present;
    }
    while (const dirent* item = readdir(listing)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == ".." || name == skipped)
            continue;
        const QByteArray key = nameKey(name);
        if (!keys.contains(key))
            continue;
        struct stat info;
        const bool isFolder =
            fstatat(folderFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        present[key].append({name, isFolder});
    }
    closedir(listing);
    return present;
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
    return makePrivateFolder(&m_stagingName, &m_stagingFd, error);
}

bool StagingFolder::makePrivateFolder(QByteArray* name, int* fd, QString* error)
{
    for (int attempt = 0; attempt < 100 && name->isEmpty(); ++attempt) {
        const QByteArray candidate = ".7zip-" + randomSuffix();
        if (mkdirat(m_outputFd, candidate.constData(), 0700) == 0)
            *name = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (name->isEmpty()) {
        *error = systemError(QStringLiteral("cannot create a work folder in"), m_outputDir);
        return false;
    }
    *fd = openat(m_outputFd, name->constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (*fd < 0) {
        *error = systemError(QStringLiteral("cannot open the work folder"), *name);
        unlinkat(m_outputFd, name->constData(), AT_REMOVEDIR);
        name->clear();
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

bool StagingFolder::commit(QString* error)
{
    QSet<QByteArray> keys;
    for (const QByteArray& name : std::as_const(m_files))
        keys.insert(nameKey(name));
    const QHash<QByteArray, QList<Present>> present = presentByKey(m_outputFd, keys, m_stagingName);
    // A folder in the way would stop the renames half-way through; find it before anything moves.
    for (const QList<Present>& entries : present) {
        for (const Present& entry : entries) {
            if (entry.isFolder) {
                *error = QStringLiteral("a folder named %1 is in the way in %2")
                             .arg(QFile::decodeName(entry.name), QFile::decodeName(m_outputDir));
                discard();
                return false;
            }
        }
    }
    m_steps.clear();
    for (const QByteArray& name : std::as_const(m_files)) {
        // On Windows "Tr.frd" replaces "TR.FRD"; keep the folder free of such twins here too.
        bool done = true;
        for (const Present& entry : present.value(nameKey(name)))
            done = done && setAside(entry.name, error);
        if (!done || !moveIn(name, error)) {
            undo(error);
            discard();
            return false;
        }
    }
    m_files.clear();
    dropSetAside();
    discard();
    return true;
}

bool StagingFolder::setAside(const QByteArray& name, QString* error)
{
    if (m_asideFd < 0 && !makePrivateFolder(&m_asideName, &m_asideFd, error))
        return false;
    if (renameNoReplace(m_outputFd, name, m_asideFd) != 0) {
        *error = systemError(QStringLiteral("cannot move aside the replaced file"), name);
        return false;
    }
    m_steps.append({true, name});
    return true;
}

bool StagingFolder::moveIn(const QByteArray& name, QString* error)
{
    if (renameNoReplace(m_stagingFd, name, m_outputFd) != 0) {
        *error = systemError(QStringLiteral("cannot move into the output folder"), name);
        return false;
    }
    m_steps.append({false, name});
    return true;
}

// Takes the steps of a failed commit back, last first: a file moved in goes back to the private
// folder (or, failing that, is deleted), a file put aside returns to its place.
void StagingFolder::undo(QString* error)
{
    while (!m_steps.isEmpty()) {
        const Step step = m_steps.takeLast();
        if (!step.setAside) {
            if (renameat(m_outputFd, step.name.constData(), m_stagingFd, step.name.constData()) != 0)
                unlinkat(m_outputFd, step.name.constData(), 0);
        } else if (renameNoReplace(m_asideFd, step.name, m_outputFd) != 0) {
            m_keepAside = true;
            *error += QStringLiteral("; %1, and it stays in %2")
                          .arg(systemError(QStringLiteral("cannot put back"), step.name),
                               QFile::decodeName(m_outputDir + "/" + m_asideName));
        }
    }
}

void StagingFolder::dropSetAside()
{
    for (const Step& step : std::as_const(m_steps)) {
        if (step.setAside)
            unlinkat(m_asideFd, step.name.constData(), 0);
    }
    m_steps.clear();
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
    if (m_asideFd >= 0) {
        close(m_asideFd);
        m_asideFd = -1;
    }
    if (m_outputFd >= 0) {
        if (!m_stagingName.isEmpty())
            unlinkat(m_outputFd, m_stagingName.constData(), AT_REMOVEDIR);
        if (!m_asideName.isEmpty() && !m_keepAside)
            unlinkat(m_outputFd, m_asideName.constData(), AT_REMOVEDIR);
        m_stagingName.clear();
        m_asideName.clear();
        close(m_outputFd);
        m_outputFd = -1;
    }
}
