#include "tools/archiver/CommandLine.h"
#include "tools/archiver/ExitCode.h"
#include "tools/archiver/FlatExtractor.h"
#include "tools/archiver/Interruption.h"
#include "tools/archiver/NameList.h"
#include "tools/archiver/Report.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>

namespace {

const char helpText[] = R"(Usage: 7zip.exe e ARCHIVE -oDIR [@LISTFILE]
       7zip.exe --help

Extracts the files of ARCHIVE (zip; also 7z, rar, tar, cab, lha, cpio, iso) into the folder DIR,
without their folders: "Track/Tr.frd" becomes DIR/Tr.frd. DIR is created when missing.

  -oDIR      the output folder, glued to the switch
  @LISTFILE  extract only the names listed in LISTFILE, one per line (LF or CR LF line ends);
             names compare without regard to letter case and match a file in any folder of
             the archive; the file keeps the name it has in the archive. An empty list
             extracts nothing.

All or nothing: the files are first extracted into a private folder inside DIR and moved into
DIR only when the whole archive was read without error. On any failure DIR stays as it was.
A file of the same name already in DIR is replaced, also one whose name differs only in
letter case.

Two files with the same name (letter case aside) in different folders of the archive: the
first in archive order is extracted, the later ones are skipped with a note on stderr; the
exit code stays 0.

Never writes outside DIR: only the last part of an entry's name is used ("/" and "\" both
separate folders), entries named "", "." or ".." are skipped, and links, folders and devices in
the archive are skipped. Files are created anew, so a link already in DIR is replaced, never
followed. Nothing is ever asked: encrypted entries are not extracted and no password is read.

Exit codes:
  0  done (also when nothing matched)
  1  bad command line, or the list file cannot be read
  2  the archive cannot be opened or is not an archive
  3  broken archive (bad entry, wrong checksum, cut short) or DIR cannot be written
  4  an entry to extract is encrypted
  5  interrupted by a signal
)";

// Entry names in zip archives are UTF-8; libarchive hands them over in the locale's encoding.
void useUtf8Names()
{
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

int main(int argc, char** argv)
{
    useUtf8Names();
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
