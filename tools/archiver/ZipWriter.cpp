#include "tools/archiver/ZipWriter.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct ArchiveCloser
{
    void operator()(archive* a) const { archive_write_free(a); }
};
struct EntryFreer
{
    void operator()(archive_entry* e) const { archive_entry_free(e); }
};
using WriterPtr = std::unique_ptr<archive, ArchiveCloser>;
using EntryPtr = std::unique_ptr<archive_entry, EntryFreer>;

bool fail(archive* a, const QString& what, QString* error)
{
    if (error) {
        const char* reason = a ? archive_error_string(a) : nullptr;
        *error = reason ? what + QStringLiteral(": ") + QString::fromUtf8(reason) : what;
    }
    return false;
}

EntryPtr makeHeader(const ZipEntry& entry)
{
    EntryPtr header(archive_entry_new());
    archive_entry_copy_pathname(header.get(), entry.name.toUtf8().constData());
    archive_entry_set_mtime(header.get(), 1700000000, 0);
    switch (entry.kind) {
    case ZipEntry::Kind::File:
        archive_entry_set_filetype(header.get(), AE_IFREG);
        archive_entry_set_perm(header.get(), 0644);
        archive_entry_set_size(header.get(), entry.data.size());
        break;
    case ZipEntry::Kind::Folder:
        archive_entry_set_filetype(header.get(), AE_IFDIR);
        archive_entry_set_perm(header.get(), 0755);
        archive_entry_set_size(header.get(), 0);
        break;
    case ZipEntry::Kind::Symlink:
        archive_entry_set_filetype(header.get(), AE_IFLNK);
        archive_entry_set_perm(header.get(), 0777);
        archive_entry_copy_symlink(header.get(), entry.linkTarget.toUtf8().constData());
        archive_entry_set_size(header.get(), 0);
        break;
    }
    return header;
}

bool writeEntry(archive* a, const ZipEntry& entry, QString* error)
{
    const int method = entry.method == ZipEntry::Method::Store ? archive_write_zip_set_compression_store(a)
                                                               : archive_write_zip_set_compression_deflate(a);
    if (method != ARCHIVE_OK)
        return fail(a, QStringLiteral("cannot choose the compression of %1").arg(entry.name), error);
    const EntryPtr header = makeHeader(entry);
    if (archive_write_header(a, header.get()) < ARCHIVE_WARN)
        return fail(a, QStringLiteral("cannot write the header of %1").arg(entry.name), error);
    if (entry.kind == ZipEntry::Kind::File && !entry.data.isEmpty()) {
        const la_ssize_t written = archive_write_data(a, entry.data.constData(), size_t(entry.data.size()));
        if (written != la_ssize_t(entry.data.size()))
            return fail(a, QStringLiteral("cannot write the data of %1").arg(entry.name), error);
    }
    if (archive_write_finish_entry(a) < ARCHIVE_WARN)
        return fail(a, QStringLiteral("cannot finish %1").arg(entry.name), error);
    return true;
}

bool writeArchive(const QString& path, const QList<ZipEntry>& entries, const QByteArray& passphrase,
                  QString* error)
{
    WriterPtr writer(archive_write_new());
    archive* a = writer.get();
    if (archive_write_set_format_zip(a) != ARCHIVE_OK)
        return fail(a, QStringLiteral("zip output is not available"), error);
    // Names are marked as UTF-8, so any reader shows non-ASCII letters as meant.
    if (archive_write_set_options(a, "zip:hdrcharset=UTF-8") != ARCHIVE_OK)
        return fail(a, QStringLiteral("cannot mark names as UTF-8"), error);
    if (!passphrase.isEmpty()) {
        if (archive_write_set_options(a, "zip:encryption=zipcrypt") != ARCHIVE_OK ||
            archive_write_set_passphrase(a, passphrase.constData()) != ARCHIVE_OK)
            return fail(a, QStringLiteral("zip encryption is not available"), error);
    }
    if (archive_write_open_filename(a, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        return fail(a, QStringLiteral("cannot create %1").arg(path), error);
    for (const ZipEntry& entry : entries) {
        if (!writeEntry(a, entry, error))
            return false;
    }
    if (archive_write_close(a) != ARCHIVE_OK)
        return fail(a, QStringLiteral("cannot complete %1").arg(path), error);
    return true;
}

} // namespace

ZipEntry ZipEntry::file(const QString& name, const QByteArray& data, Method method)
{
    ZipEntry entry;
    entry.name = name;
    entry.data = data;
    entry.method = method;
    return entry;
}

ZipEntry ZipEntry::folder(const QString& name)
{
    ZipEntry entry;
    entry.name = name;
    entry.kind = Kind::Folder;
    return entry;
}

ZipEntry ZipEntry::symlink(const QString& name, const QString& target)
{
    ZipEntry entry;
    entry.name = name;
    entry.kind = Kind::Symlink;
    entry.linkTarget = target;
    return entry;
}

bool writeZip(const QString& path, const QList<ZipEntry>& entries, QString* error)
{
    if (writeArchive(path, entries, QByteArray(), error))
        return true;
    QFile::remove(path);
    return false;
}

bool writeEncryptedZip(const QString& path, const QList<ZipEntry>& entries, const QByteArray& passphrase,
                       QString* error)
{
    if (passphrase.isEmpty())
        return fail(nullptr, QStringLiteral("an encrypted archive needs a passphrase"), error);
    if (writeArchive(path, entries, passphrase, error))
        return true;
    QFile::remove(path);
    return false;
}
