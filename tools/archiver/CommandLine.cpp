#include "tools/archiver/CommandLine.h"

bool CommandLine::parse(const QList<QByteArray>& arguments, CommandLine* result, QString* error)
{
    *result = CommandLine();
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        result->help = true;
        return true;
    }
    if (arguments.isEmpty() || arguments[0] != "e") {
        *error = QStringLiteral("the only command is \"e\" (extract without folders)");
        return false;
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        if (argument.startsWith("-o")) {
            if (!result->outputDir.isEmpty()) {
                *error = QStringLiteral("more than one output folder");
                return false;
            }
            result->outputDir = argument.mid(2);
            if (result->outputDir.isEmpty()) {
                *error = QStringLiteral("-o needs the output folder glued to it, as in -o/tmp/out");
                return false;
            }
        } else if (argument.startsWith('@')) {
            if (!result->listFile.isEmpty()) {
                *error = QStringLiteral("more than one list file");
                return false;
            }
            result->listFile = argument.mid(1);
            if (result->listFile.isEmpty()) {
                *error = QStringLiteral("@ needs the list file glued to it, as in @files.lst");
                return false;
            }
        } else if (argument.startsWith('-')) {
            *error = QStringLiteral("unknown switch %1").arg(QString::fromLocal8Bit(argument));
            return false;
        } else if (result->archive.isEmpty()) {
            result->archive = argument;
        } else {
            *error = QStringLiteral("more than one archive");
            return false;
        }
    }
    if (result->archive.isEmpty()) {
        *error = QStringLiteral("no archive given");
        return false;
    }
    if (result->outputDir.isEmpty()) {
        *error = QStringLiteral("no output folder given (-oDIR)");
        return false;
    }
    return true;
}
