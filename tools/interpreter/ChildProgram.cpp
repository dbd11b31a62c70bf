#include "tools/interpreter/ChildProgram.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace interpreter {

namespace {

// Where the system offers no process descriptor, the child is looked at this often.
constexpr int kPollMs = 1;

// Only async-signal-safe calls between fork and exec; a failed exec sends its errno up the pipe.
[[noreturn]] void becomeProgram(char* const* argv, pid_t interpreter, int errorPipe)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != interpreter)
        _exit(127);
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing >= 0 && nothing != STDIN_FILENO) {
        dup2(nothing, STDIN_FILENO);
        close(nothing);
    }
    execvp(argv[0], argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t sent = write(errorPipe, &error, sizeof error);
    _exit(127);
}

ProgramEnd ended(int status)
{
    if (WIFSIGNALED(status))
        return {ProgramEnd::How::Signalled, WTERMSIG(status), {}};
    return {ProgramEnd::How::Exited, WEXITSTATUS(status), {}};
}

int waitBlocking(pid_t child)
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// A descriptor that becomes readable the moment the child ends (Linux 5.3 and later): the wait then
// ends with the program instead of at the next look; -1 where there is none.
int processDescriptor(pid_t child)
{
    return int(syscall(SYS_pidfd_open, child, 0));
}

// Sleeps until the child may have ended, at most `ms`.
void awaitEnd(int descriptor, qint64 ms)
{
    if (descriptor < 0) {
        QThread::msleep(std::min<qint64>(kPollMs, ms));
        return;
    }
    pollfd ending{descriptor, POLLIN, 0};
    poll(&ending, 1, int(std::min<qint64>(ms, INT_MAX)));
}

ProgramEnd waitWithDeadline(pid_t child, int descriptor, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (true) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return ended(status);
        if (done < 0 && errno != EINTR)
            return {ProgramEnd::How::Exited, 127, {}};
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) {
            kill(child, SIGKILL);
            waitBlocking(child);
            return {ProgramEnd::How::TimedOut, 0, {}};
        }
        awaitEnd(descriptor, left);
    }
}

} // namespace

ProgramEnd runProgramAndWait(const QList<QByteArray>& arguments, int timeoutMs)
{
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return {ProgramEnd::How::NotStarted, 0, QStringLiteral("no program named")};
    std::vector<QByteArray> owned(arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (QByteArray& argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return {ProgramEnd::How::NotStarted, 0, QString::fromLocal8Bit(std::strerror(errno))};
    const pid_t interpreter = getpid();
    const pid_t child = fork();
    if (child == 0)
        becomeProgram(argv.data(), interpreter, errorPipe[1]);
    close(errorPipe[1]);
    if (child < 0) {
        const int error = errno;
        close(errorPipe[0]);
        return {ProgramEnd::How::NotStarted, 0, QString::fromLocal8Bit(std::strerror(error))};
    }
    // The pipe closes at a successful exec; an errno in it means the program never ran.
    int execError = 0;
    ssize_t got;
    do {
        got = read(errorPipe[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got == sizeof execError) {
        waitBlocking(child);
        return {ProgramEnd::How::NotStarted, 0, QString::fromLocal8Bit(std::strerror(execError))};
    }

    const int descriptor = processDescriptor(child);
    const ProgramEnd end = waitWithDeadline(child, descriptor, timeoutMs);
    if (descriptor >= 0)
        close(descriptor);
    return end;
}

} // namespace interpreter
