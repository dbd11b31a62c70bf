#include "tools/archiver/CommandLine.h"
#include "tools/archiver/ExitCode.h"
#include "tools/archiver/FlatExtractor.h"
#include "tools/archiver/Interruption.h"
#include "tools/archiver/MemoryLimit.h"
#include "tools/archiver/NameList.h"
#include "tools/archiver/Report.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

namespace {

const char helpText[] = R"(Usage: 7zip.exe e ARCHIVE -oDIR [@LISTFILE]
       7zip.exe --help

Extracts the files of ARCHIVE (zip; also 7z, rar, tar, cab, lha, cpio, iso, and those compressed by
gzip, bzip2, xz or lzma) into the folder DIR, without their folders: "Track/Tr.frd" becomes
DIR/Tr.frd. DIR is created when missing.

  -oDIR      the output folder, glued to the switch
  @LISTFILE  extract only the names listed in LISTFILE, one per line (LF or CR LF line ends);
             names compare without regard to letter case and match a file in any folder of
             the archive; the file keeps the name it has in the archive. LISTFILE must be a
             regular file of at most 1 MiB that names at least one file.

All or nothing: the files are first extracted into a private folder (".7zip-" and 8 letters or
digits) and moved into DIR only when the whole archive was read without error. When DIR is empty,
the private folder lies beside it on the same file system and takes its place in one rename, so a
process killed before that leaves DIR empty and the private folder beside it. Otherwise the
private folder lies inside DIR and the files are moved in one by one: a file of the same name
already in DIR is replaced, also one whose name differs only in letter case; it is deleted only
once every file is in place, and put back when a move fails. On any failure DIR stays as it was.
Files in DIR that the archive does not hold are never touched.

Two files with the same name (letter case aside) in different folders of the archive: the
first in archive order is extracted, the later ones are skipped with a note on stderr; the
exit code stays 0.

Names: UTF-8 names are kept. Names in zips made on Windows without the UTF-8 mark are read as
CP866 or Windows-1251, whichever gives Russian letters (CP866 when both do), and written as
UTF-8, so different names in the archive stay different files.

Zip archives are read by their central directory: that of the archive the file starts with,
even when another zip is appended to it. An entry whose own header names another file than
the directory, or declares other sizes, is refused as broken (a header with flag bit 3 may leave
its sizes 0, and the data descriptor after the data must then carry them).

A compressed archive is read to the end of its compressed data, past the archive's own end: a
gzip member whose CRC-32 or length does not match its trailer, bytes other than zeros after the
last gzip member, or a damaged bzip2 or xz stream, is broken. Gzip members one after another are
read as one stream. An archive compressed twice over is refused as unsupported.

Never writes outside DIR: only the last part of an entry's name is used ("/" and "\" both
separate folders), entries named "", "." or ".." are skipped, and links, folders and devices in
the archive are skipped. Files are created anew, so a link already in DIR is replaced, never
followed. Nothing is ever asked: encrypted entries are not extracted and no password is read.
ARCHIVE and LISTFILE must be regular files: a FIFO or a device is refused, never waited on.

Limits: an archive is refused, and DIR stays as it was, when its files would take more than
2048 MiB in all, when one file would take more than 512 MiB, when the files would take more
than 16 MiB and more than 1000 times the archive's size, when it holds more than 100000
entries, or when reading it needs more than 512 MiB of memory. Sizes a zip's directory
declares are checked before anything is extracted. Only a sparse entry (tar) is padded to
its declared size; any other entry whose data differs from its declared size is broken.

Exit codes:
  0  done (also when nothing matched)
  1  bad command line, or the list file cannot be read, is too large or names nothing
  2  the archive cannot be opened or is not an archive
  3  broken archive (bad entry, wrong checksum, cut short, names or sizes that disagree) or
     DIR cannot be written
  4  an entry to extract is encrypted
  5  interrupted by a signal
  6  refused by a limit: too large, too many entries, or too much memory needed
  7  an entry to extract uses a compression method this archiver cannot read (for example
     Deflate64), or the archive is compressed twice over
)";

// Entry names in zip archives are UTF-8; libarchive hands them over in the encoding of LC_CTYPE, the
// only part of the locale the archiver needs (loading the others costs more than a small extraction).
void useUtf8Names()
{
    std::setlocale(LC_CTYPE, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// libarchive works out every entry's time with mktime(), which looks at /etc/localtime anew at each
// call while TZ is unset. Naming that same file keeps the zone once read: two system calls less per
// entry, a tenth of the time of an archive of many small files.
void keepTheTimeZone()
{
    setenv("TZ", ":/etc/localtime", 0);
}

} // namespace

int main(int argc, char** argv)
{
    limitMemory();
    useUtf8Names();
    keepTheTimeZone();
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));

    CommandLine command;
    QString error;
    if (!CommandLine::parse(arguments, &command, &error)) {
        report(error);
        report(QStringLiteral("usage: 7zip.exe e ARCHIVE -oDIR [@LISTFILE]; see 7zip.exe --help"));
        return int(ExitCode::Usage);
    }
    if (command.help) {
        std::fputs(helpText, stdout);
        return int(ExitCode::Ok);
    }
    NameList wanted;
    if (!command.listFile.isEmpty() && !NameList::load(command.listFile, &wanted, &error)) {
        report(error);
        return int(ExitCode::Usage);
    }
    watchForInterruption();
    return int(extractFlat(command.archive, command.outputDir, wanted));
}
