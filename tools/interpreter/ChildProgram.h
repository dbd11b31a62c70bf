#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Runs one program of a batch line and waits for it. Arguments are passed as the exact bytes of the
// batch file: a path named in a Windows code page reaches the program unchanged, which Qt's process
// class, taking text, cannot promise.
namespace interpreter {

struct ProgramEnd
{
    enum class How
    {
        NotStarted,
        TimedOut,
        Exited,
        Signalled
    };
    How how = How::NotStarted;
    int code = 0;  // the exit code, or the number of the signal that ended the program
    QString error; // why it did not start
};

// Starts `arguments` (the program first, looked up on PATH when it holds no "/") with standard input
// from /dev/null and the interpreter's own output, and waits at most `timeoutMs`; a program that takes
// longer is killed. The program is killed too when the interpreter ends first, killed or not, so that
// no archiver goes on writing after the batch has been given up.
ProgramEnd runProgramAndWait(const QList<QByteArray>& arguments, int timeoutMs);

} // namespace interpreter
