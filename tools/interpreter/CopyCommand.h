#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The batch command `copy SRC DST [/Y]`: copies one file, always overwriting, so that DST appears
// whole at once (whoever waits for DST never sees it half-written).
namespace interpreter {

struct CopyCommand
{
    QString source;
    QString target;
};

// Whether the split batch line is a copy command (its first word is "copy", any letter case).
bool isCopyLine(const QStringList& words);

// The command of a split copy line, or nothing when it does not name exactly one source and one
// target besides the optional /Y; `error` then says why.
std::optional<CopyCommand> parseCopyLine(const QStringList& words, QString* error);

// Copies through a temporary file in the target's folder renamed into place (ReplacingFile). A
// target that is a folder receives the file under the source's name. Returns an error text, empty on
// success.
QString runCopy(const CopyCommand& command);

// The file in which the status of the program before the copy is kept: the copy's target file with
// ".status" appended.
QString statusPathFor(const CopyCommand& command);

// Writes `line` and CR LF to `path` through a temporary file renamed into place. Returns an error
// text, empty on success.
QString writeLineFile(const QString& path, const QByteArray& line);

} // namespace interpreter
