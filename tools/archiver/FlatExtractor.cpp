#include "tools/archiver/FlatExtractor.h"

#include "tools/archiver/ArchiveSource.h"
#include "tools/archiver/DecompressedStream.h"
#include "tools/archiver/FlatName.h"
#include "tools/archiver/Interruption.h"
#include "tools/archiver/Report.h"
#include "tools/archiver/StagingFolder.h"
#include "tools/archiver/ZipDirectory.h"

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

// A name for messages: entry names in Windows code pages are shown as the files are named.
QString shown(const QByteArray& name)
{
    return QString::fromUtf8(utf8Name(name));
}

QString archiveError(archive* a)
{
    const char* text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("unknown error");
}

QString systemError()
{
    return QString::fromLocal8Bit(strerror(errno));
}

// A zip is read by its checked directory only; every other format that holds only its own data.
// mtree is left out on purpose, as it names files on disk. Compressed archives are decompressed
// before the reader sees them (DecompressedStream).
ReaderPtr makeReader(bool zip)
{
    ReaderPtr reader(archive_read_new());
    archive* a = reader.get();
    if (zip) {
        archive_read_support_format_zip_seekable(a);
        return reader;
    }
    archive_read_support_format_7zip(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_tar(a);
    archive_read_support_format_cpio(a);
    archive_read_support_format_cab(a);
    archive_read_support_format_lha(a);
    archive_read_support_format_iso9660(a);
    return reader;
}

// Decoders do not all pass on an allocation's failure as such; errno, cleared before each call into
// the reader, still tells of it.
bool allocationFailed(archive* a)
{
    return archive_errno(a) == ENOMEM || errno == ENOMEM;
}

// What a failure told by `code` (an errno value) and `why` means for the caller. libarchive has no
// code of its own for "this compression method is not built in": it reports a format error (EILSEQ)
// whose message says so.
ExitCode failure(const QString& what, int code, const QString& why)
{
    if (code == ENOMEM) {
        report(QStringLiteral("%1 needs more memory than the archiver may take: %2").arg(what, why));
        return ExitCode::TooLarge;
    }
    if (code == EILSEQ && why.contains(QLatin1String("nsupported"))) {
        report(QStringLiteral("%1 uses a compression method this archiver cannot read: %2").arg(what, why));
        return ExitCode::Unsupported;
    }
    report(QStringLiteral("broken archive, %1: %2").arg(what, why));
    return ExitCode::Broken;
}

// Only a reader that chose its format may be asked about encryption: after a failed open libarchive's
// format pointer lies past its table.
ExitCode failure(archive* a, const QString& what, bool opened = true)
{
    if (opened && archive_read_has_encrypted_entries(a) > 0) {
        report(QStringLiteral("the archive is encrypted: %1").arg(archiveError(a)));
        return ExitCode::Encrypted;
    }
    return failure(what, allocationFailed(a) ? ENOMEM : archive_errno(a), archiveError(a));
}

ExitCode decompressionFailure(const DecompressedStream& stream)
{
    return failure(QStringLiteral("decompressing it"), stream.errorCode(), stream.error());
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
    Extraction(ArchiveSource& source, const QByteArray& outputDir, const NameList& wanted,
               const Limits& limits)
        : m_source(source)
        , m_outputDir(outputDir)
        , m_wanted(wanted)
        , m_limits(limits)
        , m_budget(limits, source.size())
    {
    }

    ExitCode run();

private:
    std::optional<ExitCode> checkZipDirectory(const ZipDirectory& directory);
    std::optional<ExitCode> openReader(archive* reader);
    std::optional<ExitCode> readEntries(archive* reader);
    std::optional<ExitCode> readToTheEnd();
    ExitCode readFailure(archive* reader, const QString& what, bool opened = true);
    ExitCode notAnArchive(archive* reader);
    std::optional<ExitCode> takeEntry(archive* reader, archive_entry* entry);
    std::optional<ExitCode> copyData(archive* reader, archive_entry* entry, const QByteArray& name, int fd);

    ArchiveSource& m_source;
    QByteArray m_outputDir;
    const NameList& m_wanted;
    Limits m_limits;
    OutputBudget m_budget;
    bool m_zip = false;
    DecompressedStream m_stream;
    bool m_compressed = false;
    QSet<QByteArray> m_directoryNames; // of a zip: the names its directory gives
    StagingFolder m_staging;
    bool m_stagingOpen = false;
    QSet<QByteArray> m_taken;
    qint64 m_entries = 0;
};

ExitCode Extraction::run()
{
    ZipDirectory directory;
    QString error;
    switch (directory.read(m_source, m_limits.entries, &error)) {
    case ZipDirectory::Outcome::NotZip:
        break;
    case ZipDirectory::Outcome::Zip:
        if (const std::optional<ExitCode> refused = checkZipDirectory(directory))
            return *refused;
        m_source.endWithZipRecord(directory.endRecordOffset());
        break;
    case ZipDirectory::Outcome::Broken:
        report(QStringLiteral("broken archive: %1").arg(error));
        return ExitCode::Broken;
    case ZipDirectory::Outcome::TooLarge:
        report(QStringLiteral("refused: %1").arg(error));
        return ExitCode::TooLarge;
    }
    const ReaderPtr reader = makeReader(m_zip);
    if (const std::optional<ExitCode> failed = openReader(reader.get()))
        return *failed;
    if (const std::optional<ExitCode> failed = readEntries(reader.get()))
        return *failed;
    if (const std::optional<ExitCode> failed = readToTheEnd())
        return *failed;
    if (!m_stagingOpen)
        return ExitCode::Ok;
    if (!m_staging.commit(&error)) {
        report(error);
        return ExitCode::Broken;
    }
    return ExitCode::Ok;
}

// A zip's directory gives every size before anything is extracted: refuse at once what would not fit.
std::optional<ExitCode> Extraction::checkZipDirectory(const ZipDirectory& directory)
{
    m_zip = true;
    OutputBudget planned = m_budget;
    for (const ZipRecord& record : directory.records()) {
        m_directoryNames.insert(withSlashes(record.name));
        if (!record.unicodeName.isEmpty())
            m_directoryNames.insert(withSlashes(record.unicodeName));
        const QByteArray name =
            flatName(utf8Name(record.unicodeName.isEmpty() ? record.name : record.unicodeName));
        if (name.isEmpty() || !m_wanted.accepts(name))
            continue;
        QString why;
        if (!planned.allows(record.size, &why)) {
            report(QStringLiteral("refused: %1 (as the zip's directory declares)").arg(why));
            return ExitCode::TooLarge;
        }
        planned.add(record.size);
    }
    return std::nullopt;
}

std::optional<ExitCode> Extraction::openReader(archive* reader)
{
    DecompressedStream::Kind kind = DecompressedStream::Kind::Plain;
    if (!m_zip)
        kind = m_stream.open(m_source);
    if (kind == DecompressedStream::Kind::Failed)
        return decompressionFailure(m_stream);
    m_compressed = kind == DecompressedStream::Kind::Compressed;
    errno = 0;
    const int opened = m_compressed ? m_stream.openReader(reader) : m_source.openReader(reader);
    if (opened == ARCHIVE_OK)
        return std::nullopt;
    if (m_stream.failed() || allocationFailed(reader))
        return readFailure(reader, QStringLiteral("opening it"), false);
    return notAnArchive(reader);
}

// Damage to a bzip2 block garbles all of it, so a damaged .tar.bz2 can look like no archive at all:
// the end of the compressed stream tells.
ExitCode Extraction::notAnArchive(archive* reader)
{
    if (const std::optional<ExitCode> damaged = readToTheEnd())
        return *damaged;
    report(QStringLiteral("not an archive: %1").arg(archiveError(reader)));
    return ExitCode::CannotOpen;
}

// A compressed stream is read to its end: what follows the archive's own end (padding, trailers)
// still belongs to the checked data.
std::optional<ExitCode> Extraction::readToTheEnd()
{
    if (!m_compressed)
        return std::nullopt;
    for (;;) {
        if (interruptionRequested()) {
            report(QStringLiteral("interrupted; nothing was extracted"));
            return ExitCode::Interrupted;
        }
        const void* block = nullptr;
        const la_ssize_t got = m_stream.next(&block);
        if (got == 0)
            break;
        if (got < 0)
            return decompressionFailure(m_stream);
    }
    return std::nullopt;
}

// A failure of the decompression shows in the reader as a failed read; its own reason is the one to tell.
ExitCode Extraction::readFailure(archive* reader, const QString& what, bool opened)
{
    if (m_stream.failed())
        return decompressionFailure(m_stream);
    return failure(reader, what, opened);
}

std::optional<ExitCode> Extraction::readEntries(archive* reader)
{
    bool sawEntry = false;
    for (;;) {
        if (interruptionRequested()) {
            report(QStringLiteral("interrupted; nothing was extracted"));
            return ExitCode::Interrupted;
        }
        archive_entry* entry = nullptr;
        errno = 0;
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status < ARCHIVE_WARN) {
            if (!sawEntry && archive_format(reader) == 0 && !allocationFailed(reader) && !m_stream.failed())
                return notAnArchive(reader);
            return readFailure(reader, QStringLiteral("reading an entry's header"));
        }
        sawEntry = true;
        if (++m_entries > m_limits.entries) {
            report(QStringLiteral("refused: the archive holds more than %1 entries").arg(m_limits.entries));
            return ExitCode::TooLarge;
        }
        if (const std::optional<ExitCode> failed = takeEntry(reader, entry))
            return *failed;
    }
}

std::optional<ExitCode> Extraction::takeEntry(archive* reader, archive_entry* entry)
{
    const char* rawPath = archive_entry_pathname(entry);
    const QByteArray path = rawPath ? QByteArray(rawPath) : QByteArray();
    if (m_zip && !m_directoryNames.contains(withSlashes(path))) {
        report(QStringLiteral("broken archive: %1 is not in the zip's directory").arg(shown(path)));
        return ExitCode::Broken;
    }
    const QByteArray name = flatName(utf8Name(path));
    if (name.isEmpty() || !m_wanted.accepts(name))
        return std::nullopt;
    if (archive_entry_filetype(entry) != AE_IFREG)
        return std::nullopt;
    if (archive_entry_hardlink(entry)) {
        report(QStringLiteral("%1 is a link; skipped").arg(shown(path)));
        return std::nullopt;
    }
    const QByteArray key = nameKey(name);
    if (m_taken.contains(key)) {
        report(QStringLiteral("%1 has the name of a file extracted before; skipped").arg(shown(path)));
        return std::nullopt;
    }
    if (archive_entry_is_data_encrypted(entry)) {
        report(QStringLiteral("%1 is encrypted and no password is asked for").arg(shown(path)));
        return ExitCode::Encrypted;
    }
    QString error;
    if (archive_entry_size_is_set(entry) && !m_budget.allows(archive_entry_size(entry), &error)) {
        report(QStringLiteral("refused: %1 (%2 declares %3 bytes)")
                   .arg(error, shown(path))
                   .arg(archive_entry_size(entry)));
        return ExitCode::TooLarge;
    }
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
    m_taken.insert(key);
    const std::optional<ExitCode> failed = copyData(reader, entry, name, fd);
    if (close(fd) != 0 && !failed) {
        report(QStringLiteral("cannot write %1: %2").arg(shown(name), systemError()));
        return ExitCode::Broken;
    }
    return failed;
}

std::optional<ExitCode> Extraction::copyData(archive* reader, archive_entry* entry, const QByteArray& name,
                                             int fd)
{
    // The name for messages is made only when one is told: an archive of many small files would pay
    // for it at every entry.
    const auto path = [entry] {
        return shown(archive_entry_pathname(entry));
    };
    // Only a sparse entry has holes; every other entry's data comes in one piece after another.
    const bool sparse = archive_entry_sparse_count(entry) > 0;
    const la_int64_t declared = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    la_int64_t end = 0;
    for (;;) {
        if (interruptionRequested()) {
            report(QStringLiteral("interrupted; nothing was extracted"));
            return ExitCode::Interrupted;
        }
        const void* block = nullptr;
        size_t blockSize = 0;
        la_int64_t offset = 0;
        errno = 0;
        const int status = archive_read_data_block(reader, &block, &blockSize, &offset);
        if (status == ARCHIVE_EOF)
            break;
        // A warning here is a failed check such as a wrong CRC: the data cannot be trusted.
        if (status != ARCHIVE_OK)
            return readFailure(reader, path());
        if (offset < 0 || (!sparse && offset != end)) {
            report(QStringLiteral("broken archive: the data of %1 is out of order").arg(path()));
            return ExitCode::Broken;
        }
        QString why;
        if (!m_budget.allows(offset + la_int64_t(blockSize), &why)) {
            report(QStringLiteral("refused: %1 (writing %2)").arg(why, path()));
            return ExitCode::TooLarge;
        }
        if (!writeAt(fd, static_cast<const char*>(block), blockSize, offset)) {
            report(QStringLiteral("cannot write %1: %2").arg(shown(name), systemError()));
            return ExitCode::Broken;
        }
        end = std::max(end, offset + la_int64_t(blockSize));
    }
    if (sparse && declared > end) {
        // A sparse entry may end in a hole that no block covers; its size was checked with the header.
        if (ftruncate(fd, declared) != 0) {
            report(QStringLiteral("cannot write %1: %2").arg(shown(name), systemError()));
            return ExitCode::Broken;
        }
        end = declared;
    }
    if (declared >= 0 && end != declared) {
        report(QStringLiteral("broken archive: %1 holds %2 bytes but declares %3")
                   .arg(path())
                   .arg(end)
                   .arg(declared));
        return ExitCode::Broken;
    }
    m_budget.add(end);
    return std::nullopt;
}

} // namespace

ExitCode extractFlat(const QByteArray& archivePath, const QByteArray& outputDir, const NameList& wanted,
                     const Limits& limits)
{
    ArchiveSource source;
    QString error;
    if (!source.open(archivePath, &error)) {
        report(QStringLiteral("cannot open %1: %2").arg(shown(archivePath), error));
        return ExitCode::CannotOpen;
    }
    return Extraction(source, outputDir, wanted, limits).run();
}
