#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What one call asks for: `e ARCHIVE -oDIR [@LISTFILE]`, or the help text.
struct CommandLine
{
    bool help = false;
    QByteArray archive;
    QByteArray outputDir;
    QByteArray listFile; // empty: extract every file

    // Reads the arguments after the program name. Paths are kept as the bytes the system passed.
    // On a malformed line returns false and says why in `error`.
    static bool parse(const QList<QByteArray>& arguments, CommandLine* result, QString* error);
};
