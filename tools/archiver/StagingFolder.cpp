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

// Calls `visit` with each name in the open folder `folderFd` but "." and "..", read through a
// descriptor of its own, until it returns false; false when the folder cannot be listed.
template <typename Visit>
bool visitNames(int folderFd, Visit visit)
{
    const int listingFd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listingFd < 0)
        return false;
    DIR* listing = fdopendir(listingFd);
    if (!listing) {
        close(listingFd);
        return false;
    }
    while (const dirent* item = readdir(listing)) {
        if (std::strcmp(item->d_name, ".") != 0 && std::strcmp(item->d_name, "..") != 0 &&
            !visit(item->d_name))
            break;
    }
    closedir(listing);
    return true;
}

bool isEmptyFolder(int folderFd)
{
    bool empty = true;
    return visitNames(folderFd, [&empty](const char*) { return empty = false; }) && empty;
}

// Whether two open folders lie on one mount, so that a rename can go from one to the other: the same
// file system mounted twice (a bind mount) has one device but two mounts.
bool onOneMount(int firstFd, int secondFd)
{
    struct statx first;
    struct statx second;
    if (statx(firstFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &first) != 0 ||
        statx(secondFd, "", AT_EMPTY_PATH, STATX_MNT_ID, &second) != 0 ||
        first.stx_dev_major != second.stx_dev_major || first.stx_dev_minor != second.stx_dev_minor)
        return false;
    return !(first.stx_mask & second.stx_mask & STATX_MNT_ID) || first.stx_mnt_id == second.stx_mnt_id;
}

// The folder holding `path` and the name `path` has in it; false when it names no entry of its own
// ("/", "." or "..").
bool splitPath(const QByteArray& path, QByteArray* parent, QByteArray* name)
{
    QByteArray trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith('/'))
        trimmed.chop(1);
    const qsizetype slash = trimmed.lastIndexOf('/');
    *name = trimmed.mid(slash + 1);
    *parent = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : trimmed.left(slash);
    return !name->isEmpty() && *name != "." && *name != "..";
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
    visitNames(folderFd, [&](const char* entry) {
        const QByteArray name(entry);
        const QByteArray key = nameKey(name);
        if (name == skipped || !keys.contains(key))
            return true;
        struct stat info;
        const bool isFolder =
            fstatat(folderFd, entry, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
        present[key].append({name, isFolder});
        return true;
    });
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
    if (stageBeside(outputDir))
        return true;
    if (!makePrivateFolder(m_outputFd, &m_stagingName, &m_stagingFd)) {
        *error = systemError(QStringLiteral("cannot create a work folder in"), outputDir);
        return false;
    }
    return true;
}

// Makes the private folder beside an empty output folder, when the output folder's own name in its
// parent (no link) leads to it, on the same mount, and a folder made there gets its owner and group.
// An output folder its owner may not write keeps out what it kept out before.
bool StagingFolder::stageBeside(const QByteArray& outputDir)
{
    QByteArray parent;
    struct stat output;
    if (!splitPath(outputDir, &parent, &m_outputName) || fstat(m_outputFd, &output) != 0 ||
        (output.st_mode & S_IRWXU) != S_IRWXU || !isEmptyFolder(m_outputFd))
        return false;
    m_parentFd = ::open(parent.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat named;
    struct stat staged;
    if (m_parentFd >= 0 && fstatat(m_parentFd, m_outputName.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == output.st_dev && named.st_ino == output.st_ino &&
        onOneMount(m_parentFd, m_outputFd) && makePrivateFolder(m_parentFd, &m_stagingName, &m_stagingFd) &&
        fstat(m_stagingFd, &staged) == 0 && staged.st_uid == output.st_uid &&
        staged.st_gid == output.st_gid) {
        m_outputMode = output.st_mode & 07777;
        return true;
    }
    dropStaging();
    if (m_parentFd >= 0)
        close(m_parentFd);
    m_parentFd = -1;
    return false;
}

// Sets errno when it fails.
bool StagingFolder::makePrivateFolder(int parentFd, QByteArray* name, int* fd)
{
    for (int attempt = 0; attempt < 100 && name->isEmpty(); ++attempt) {
        const QByteArray candidate = ".7zip-" + randomSuffix();
        if (mkdirat(parentFd, candidate.constData(), 0700) == 0)
            *name = candidate;
        else if (errno != EEXIST)
            return false;
    }
    if (name->isEmpty())
        return false;
    *fd = openat(parentFd, name->constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (*fd >= 0)
        return true;
    const int code = errno;
    unlinkat(parentFd, name->constData(), AT_REMOVEDIR);
    name->clear();
    errno = code;
    return false;
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
    if (m_parentFd >= 0 && replaceEmptyOutput()) {
        // The private folder is the output folder now.
        m_files.clear();
        m_stagingName.clear();
        discard();
        return true;
    }
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

// The kernel replaces an empty folder in one step, and refuses to (ENOTEMPTY, EEXIST) once anything
// has come into it: each file is then moved in on its own.
bool StagingFolder::replaceEmptyOutput()
{
    struct stat staged;
    return fchmod(m_stagingFd, m_outputMode) == 0 && fstat(m_stagingFd, &staged) == 0 &&
           (staged.st_mode & 07777) == m_outputMode &&
           renameat(m_parentFd, m_stagingName.constData(), m_parentFd, m_outputName.constData()) == 0;
}

bool StagingFolder::setAside(const QByteArray& name, QString* error)
{
    if (m_asideFd < 0 && !makePrivateFolder(m_outputFd, &m_asideName, &m_asideFd)) {
        *error = systemError(QStringLiteral("cannot create a work folder in"), m_outputDir);
        return false;
    }
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

void StagingFolder::dropStaging()
{
    if (m_stagingFd >= 0) {
        for (const QByteArray& name : std::as_const(m_files))
            unlinkat(m_stagingFd, name.constData(), 0);
        m_files.clear();
        close(m_stagingFd);
        m_stagingFd = -1;
    }
    if (!m_stagingName.isEmpty())
        unlinkat(homeFd(), m_stagingName.constData(), AT_REMOVEDIR);
    m_stagingName.clear();
}

void StagingFolder::discard()
{
    dropStaging();
    if (m_asideFd >= 0) {
        close(m_asideFd);
        m_asideFd = -1;
    }
    if (m_outputFd >= 0) {
        if (!m_asideName.isEmpty() && !m_keepAside)
            unlinkat(m_outputFd, m_asideName.constData(), AT_REMOVEDIR);
        m_asideName.clear();
        close(m_outputFd);
        m_outputFd = -1;
    }
    if (m_parentFd >= 0) {
        close(m_parentFd);
        m_parentFd = -1;
    }
}
