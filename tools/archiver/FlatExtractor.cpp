#include "tools/archiver/FlatExtractor.h"

#include "tools/archiver/FlatName.h"
#include "tools/archiver/Interruption.h"
#include "tools/archiver/Report.h"
#include "tools/archiver/StagingFolder.h"

#include <QFile>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

struct ReaderFreer
{
    void operator()(archive* a) const { archive_read_free(a); }
};
using ReaderPtr = std::unique_ptr<archive, ReaderFreer>;

QString shown(const QByteArray& name)
{
    return QFile::decodeName(name);
}

QString archiveError(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
}

ReaderPtr makeReader()
{
    ReaderPtr reader(archive_read_new());
    archive* a = reader.get();
    // Formats that only hold their own data; mtree is left out on purpose, as it names files on disk.
    archive_read_support_format_zip(a);
    archive_read_support_format_7zip(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_tar(a);
    archive_read_support_format_cpio(a);
    archive_read_support_format_cab(a);
    archive_read_support_format_lha(a);
    archive_read_support_format_iso9660(a);
    archive_read_support_filter_gzip(a);
    archive_read_support_filter_bzip2(a);
    archive_read_support_filter_xz(a);
    archive_read_support_filter_lzma(a);
    return reader;
}

bool writeAt(int fd, const char* data, size_t size, la_int64_t offset)
{
    while (size > 0) {
        const ssize_t written = pwrite(fd, data, size, offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
        offset += written;
    }
    return true;
}

class Extraction
{
public:
    Extraction(archive* reader, const QByteArray& outputDir, const NameList& wanted)
        : m_reader(reader)
        , m_outputDir(outputDir)
        , m_wanted(wanted)
    {
    }

    ExitCode run();

private:
    std::optional<ExitCode> takeEntry(archive_entry* entry);
    std::optional<ExitCode> copyData(const QByteArray& path, const QByteArray& name, int fd, la_int64_t size);

    archive* m_reader;
    QByteArray m_outputDir;
    const NameList& m_wanted;
    StagingFolder m_staging;
    bool m_stagingOpen = false;
    QSet<QString> m_taken;
};

ExitCode Extraction::run()
{
    bool sawEntry = false;
    for (;;) {
        if (interruptionRequested()) {
            report(QStringLiteral("interrupted; nothing was extracted"));
            return ExitCode::Interrupted;
        }
        archive_entry* entry = nullptr;
        const int status = archive_read_next_header(m_reader, &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN) {
            if (archive_read_has_encrypted_entries(m_reader) > 0) {
                report(QStringLiteral("the archive is encrypted: %1").arg(archiveError(m_reader)));
                return ExitCode::Encrypted;
            }
            if (!sawEntry && archive_format(m_reader) == 0) {
                report(QStringLiteral("not an archive: %1").arg(archiveError(m_reader)));
                return ExitCode::CannotOpen;
            }
            report(QStringLiteral("broken archive: %1").arg(archiveError(m_reader)));
            return ExitCode::Broken;
        }
        sawEntry = true;
        if (const std::optional<ExitCode> failure = takeEntry(entry))
            return *failure;
    }
    if (!m_stagingOpen)
        return ExitCode::Ok;
    QString error;
    if (!m_staging.commit(&error)) {
        report(error);
        return ExitCode::Broken;
    }
    return ExitCode::Ok;
}

std::optional<ExitCode> Extraction::takeEntry(archive_entry* entry)
{
    const char* rawPath = archive_entry_pathname(entry);
    const QByteArray path = rawPath ? QByteArray(rawPath) : QByteArray();
    const QByteArray name = flatName(path);
    if (name.isEmpty() || !m_wanted.accepts(name))
        return std::nullopt;
    if (archive_entry_filetype(entry) != AE_IFREG)
        return std::nullopt;
    if (archive_entry_hardlink(entry)) {
        report(QStringLiteral("%1 is a link; skipped").arg(shown(path)));
        return std::nullopt;
    }
    const QString comparable = comparableName(name);
    if (m_taken.contains(comparable)) {
        report(QStringLiteral("%1 has the name of a file extracted before; skipped").arg(shown(path)));
        return std::nullopt;
    }
    if (archive_entry_is_data_encrypted(entry)) {
        report(QStringLiteral("%1 is encrypted and no password is asked for").arg(shown(path)));
        return ExitCode::Encrypted;
    }
    QString error;
    if (!m_stagingOpen) {
        if (!m_staging.open(m_outputDir, &error)) {
            report(error);
            return ExitCode::Broken;
        }
        m_stagingOpen = true;
    }
    const int fd = m_staging.createFile(name, &error);
    if (fd < 0) {
        report(error);
        return ExitCode::Broken;
    }
    m_taken.insert(comparable);
    const la_int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    const std::optional<ExitCode> failure = copyData(path, name, fd, size);
    if (close(fd) != 0 && !failure) {
        report(
            QStringLiteral("cannot write %1: %2").arg(shown(name), QString::fromLocal8Bit(strerror(errno))));
        return ExitCode::Broken;
    }
    return failure;
}

std::optional<ExitCode> Extraction::copyData(const QByteArray& path, const QByteArray& name, int fd,
                                             la_int64_t size)
{
    la_int64_t end = 0;
    for (;;) {
        if (interruptionRequested()) {
            report(QStringLiteral("interrupted; nothing was extracted"));
            return ExitCode::Interrupted;
        }
        const void* block = nullptr;
        size_t blockSize = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(m_reader, &block, &blockSize, &offset);
        if (status == ARCHIVE_EOF)
            break;
        // A warning here is a failed check such as a wrong CRC: the data cannot be trusted.
        if (status != ARCHIVE_OK) {
            report(QStringLiteral("broken entry %1: %2").arg(shown(path), archiveError(m_reader)));
            return ExitCode::Broken;
        }
        if (!writeAt(fd, static_cast<const char*>(block), blockSize, offset)) {
            report(QStringLiteral("cannot write %1: %2")
                       .arg(shown(name), QString::fromLocal8Bit(strerror(errno))));
            return ExitCode::Broken;
        }
        end = std::max(end, offset + la_int64_t(blockSize));
    }
    // A sparse entry may end in a hole that no block covers.
    if (size > end && ftruncate(fd, size) != 0) {
        report(
            QStringLiteral("cannot write %1: %2").arg(shown(name), QString::fromLocal8Bit(strerror(errno))));
        return ExitCode::Broken;
    }
    return std::nullopt;
}

} // namespace

ExitCode extractFlat(const QByteArray& archivePath, const QByteArray& outputDir, const NameList& wanted)
{
    const ReaderPtr reader = makeReader();
    if (archive_read_open_filename(reader.get(), archivePath.constData(), 64 * 1024) != ARCHIVE_OK) {
        report(QStringLiteral("cannot open %1: %2").arg(shown(archivePath), archiveError(reader.get())));
        return ExitCode::CannotOpen;
    }
    return Extraction(reader.get(), outputDir, wanted).run();
}
