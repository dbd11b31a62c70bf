/* An LD_PRELOAD library that counts the file-system calls of one program that change something under
 * given folders, and kills the program, or makes the call fail, at the N-th of them. The fault sweep
 * uses it to cut a run short before each such call in turn.
 *
 * Set in the environment:
 *   ROVEX_FAULT_TARGET    the program to act in (its short name, e.g. "rovex-cmd"); others pass through
 *   ROVEX_FAULT_PREFIXES  absolute folders, ":"-separated: only calls touching them count
 *   ROVEX_FAULT_COUNTER   a file of two 64-bit numbers shared by every process of the run: the calls
 *                         counted so far, and the number of the call the fault hit (0: none)
 *   ROVEX_FAULT_STEP      the call to act on, from 1; 0 or unset only counts
 *   ROVEX_FAULT_ACTION    "kill" (SIGKILL before the call), "ENOSPC" or "EIO" (the call fails)
 *   ROVEX_FAULT_TRACE     optional: a file that gets one line per counted call
 *
 * Counted: creating or writing opens, mkstemp and its kin, rename, link, symlink, unlink, mkdir,
 * rmdir, write, pwrite, fsync and fdatasync. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#define MAX_PREFIXES 8

static int g_ready;
static int g_active;
static char g_prefixes[MAX_PREFIXES][PATH_MAX];
static int g_prefixCount;
static uint64_t* g_counter;
static uint64_t g_step;
static int g_action; /* 0 kill, else errno */
static char g_trace[PATH_MAX];

static void* real(const char* name)
{
    return dlsym(RTLD_NEXT, name);
}

static void setUp(void)
{
    g_ready = 1;
    const char* target = getenv("ROVEX_FAULT_TARGET");
    const char* prefixes = getenv("ROVEX_FAULT_PREFIXES");
    const char* counter = getenv("ROVEX_FAULT_COUNTER");
    if (!target || !prefixes || !counter || strcmp(target, program_invocation_short_name) != 0)
        return;
    char list[PATH_MAX * 2];
    snprintf(list, sizeof list, "%s", prefixes);
    for (char *saved = NULL, *part = strtok_r(list, ":", &saved); part && g_prefixCount < MAX_PREFIXES;
         part = strtok_r(NULL, ":", &saved))
        snprintf(g_prefixes[g_prefixCount++], PATH_MAX, "%s", part);
    int fd = (int)syscall(SYS_openat, AT_FDCWD, counter, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    void* shared = mmap(NULL, 2 * sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    syscall(SYS_close, fd);
    if (shared == MAP_FAILED)
        return;
    g_counter = shared;
    const char* step = getenv("ROVEX_FAULT_STEP");
    g_step = step ? strtoull(step, NULL, 10) : 0;
    const char* action = getenv("ROVEX_FAULT_ACTION");
    g_action = !action || strcmp(action, "kill") == 0 ? 0 : strcmp(action, "ENOSPC") == 0 ? ENOSPC : EIO;
    const char* trace = getenv("ROVEX_FAULT_TRACE");
    if (trace)
        snprintf(g_trace, sizeof g_trace, "%s", trace);
    g_active = 1;
}

/* `path` made absolute against `base` with ".", ".." and doubled "/" taken out, in `out`. */
static void normalise(char* out, const char* base, const char* path)
{
    char joined[PATH_MAX * 2];
    if (path[0] == '/')
        snprintf(joined, sizeof joined, "%s", path);
    else
        snprintf(joined, sizeof joined, "%s/%s", base, path);
    size_t length = 0;
    out[0] = '\0';
    for (char *saved = NULL, *part = strtok_r(joined, "/", &saved); part;
         part = strtok_r(NULL, "/", &saved)) {
        if (strcmp(part, ".") == 0)
            continue;
        if (strcmp(part, "..") == 0) {
            while (length > 0 && out[length - 1] != '/')
                --length;
            if (length > 0)
                --length;
            out[length] = '\0';
            continue;
        }
        length += (size_t)snprintf(out + length, PATH_MAX - length, "/%s", part);
        if (length >= PATH_MAX)
            length = PATH_MAX - 1;
    }
    if (length == 0)
        snprintf(out, PATH_MAX, "/");
}

static int fdPath(int fd, char* out)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t length = readlink(link, out, PATH_MAX - 1);
    if (length < 0)
        return 0;
    out[length] = '\0';
    return 1;
}

static void pathAt(int dirfd, const char* path, char* out)
{
    char base[PATH_MAX] = "/";
    if (path[0] != '/') {
        if (dirfd == AT_FDCWD) {
            if (!getcwd(base, sizeof base))
                snprintf(base, sizeof base, "/");
        } else if (!fdPath(dirfd, base)) {
            snprintf(base, sizeof base, "/");
        }
    }
    normalise(out, base, path);
}

static int underPrefix(const char* path)
{
    for (int i = 0; i < g_prefixCount; ++i) {
        size_t length = strlen(g_prefixes[i]);
        if (strncmp(path, g_prefixes[i], length) == 0 && (path[length] == '\0' || path[length] == '/'))
            return 1;
    }
    return 0;
}

static void trace(uint64_t number, const char* call, const char* path, const char* second)
{
    if (!g_trace[0])
        return;
    char line[PATH_MAX * 2 + 64];
    int length = snprintf(line, sizeof line, "%llu %s %s%s%s\n", (unsigned long long)number, call, path,
                          second ? " " : "", second ? second : "");
    int fd = (int)syscall(SYS_openat, AT_FDCWD, g_trace, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    syscall(SYS_write, fd, line, (size_t)length);
    syscall(SYS_close, fd);
}

/* Whether the call goes ahead (1) or fails with errno set (0); may not return at all. */
static int allow(const char* call, const char* path, const char* second)
{
    if (!g_ready)
        setUp();
    if (!g_active)
        return 1;
    if (!underPrefix(path) && !(second && underPrefix(second)))
        return 1;
    const uint64_t number = __atomic_add_fetch(&g_counter[0], 1, __ATOMIC_SEQ_CST);
    trace(number, call, path, second);
    if (number != g_step)
        return 1;
    __atomic_store_n(&g_counter[1], number, __ATOMIC_SEQ_CST);
    if (g_action == 0)
        kill(getpid(), SIGKILL);
    errno = g_action;
    return 0;
}

static int allowAt(const char* call, int dirfd, const char* path)
{
    char full[PATH_MAX];
    if (!g_ready)
        setUp();
    if (!g_active || !path)
        return 1;
    pathAt(dirfd, path, full);
    return allow(call, full, NULL);
}

static int allowPair(const char* call, int fromfd, const char* from, int tofd, const char* to)
{
    char first[PATH_MAX];
    char second[PATH_MAX];
    if (!g_ready)
        setUp();
    if (!g_active || !from || !to)
        return 1;
    pathAt(fromfd, from, first);
    pathAt(tofd, to, second);
    return allow(call, first, second);
}

static int allowFd(const char* call, int fd)
{
    char path[PATH_MAX];
    if (!g_ready)
        setUp();
    if (!g_active || !fdPath(fd, path))
        return 1;
    return allow(call, path, NULL);
}

static int changes(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND)) != 0 ||
           (flags & O_TMPFILE) == O_TMPFILE;
}

static mode_t modeOf(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? (mode_t)va_arg(arguments, int) : 0;
}

#define OPEN_AT(name)                                                                                        \
    int name(int dirfd, const char* path, int flags, ...)                                                    \
    {                                                                                                        \
        va_list arguments;                                                                                   \
        va_start(arguments, flags);                                                                          \
        const mode_t mode = modeOf(flags, arguments);                                                        \
        va_end(arguments);                                                                                   \
        if (changes(flags) && !allowAt(#name, dirfd, path))                                                  \
            return -1;                                                                                       \
        int (*next)(int, const char*, int, ...) = real(#name);                                               \
        return next(dirfd, path, flags, mode);                                                               \
    }
OPEN_AT(openat)
OPEN_AT(openat64)

#define OPEN(name)                                                                                           \
    int name(const char* path, int flags, ...)                                                               \
    {                                                                                                        \
        va_list arguments;                                                                                   \
        va_start(arguments, flags);                                                                          \
        const mode_t mode = modeOf(flags, arguments);                                                        \
        va_end(arguments);                                                                                   \
        if (changes(flags) && !allowAt(#name, AT_FDCWD, path))                                               \
            return -1;                                                                                       \
        int (*next)(const char*, int, ...) = real(#name);                                                    \
        return next(path, flags, mode);                                                                      \
    }
OPEN(open)
OPEN(open64)

#define OPEN_CHECKED(name)                                                                                   \
    int name(const char* path, int flags)                                                                    \
    {                                                                                                        \
        if (changes(flags) && !allowAt(#name, AT_FDCWD, path))                                               \
            return -1;                                                                                       \
        int (*next)(const char*, int) = real(#name);                                                         \
        return next(path, flags);                                                                            \
    }
OPEN_CHECKED(__open_2)
OPEN_CHECKED(__open64_2)

#define OPENAT_CHECKED(name)                                                                                 \
    int name(int dirfd, const char* path, int flags)                                                         \
    {                                                                                                        \
        if (changes(flags) && !allowAt(#name, dirfd, path))                                                  \
            return -1;                                                                                       \
        int (*next)(int, const char*, int) = real(#name);                                                    \
        return next(dirfd, path, flags);                                                                     \
    }
OPENAT_CHECKED(__openat_2)
OPENAT_CHECKED(__openat64_2)

#define CREAT(name)                                                                                          \
    int name(const char* path, mode_t mode)                                                                  \
    {                                                                                                        \
        if (!allowAt(#name, AT_FDCWD, path))                                                                 \
            return -1;                                                                                       \
        int (*next)(const char*, mode_t) = real(#name);                                                      \
        return next(path, mode);                                                                             \
    }
CREAT(creat)
CREAT(creat64)

#define MKSTEMP(name, parameters, arguments)                                                                 \
    int name parameters                                                                                      \
    {                                                                                                        \
        if (!allowAt(#name, AT_FDCWD, pattern))                                                              \
            return -1;                                                                                       \
        int(*next) parameters = real(#name);                                                                 \
        return next arguments;                                                                               \
    }
MKSTEMP(mkstemp, (char* pattern), (pattern))
MKSTEMP(mkstemp64, (char* pattern), (pattern))
MKSTEMP(mkostemp, (char* pattern, int flags), (pattern, flags))
MKSTEMP(mkostemp64, (char* pattern, int flags), (pattern, flags))
MKSTEMP(mkstemps, (char* pattern, int suffix), (pattern, suffix))
MKSTEMP(mkostemps, (char* pattern, int suffix, int flags), (pattern, suffix, flags))

int rename(const char* from, const char* to)
{
    if (!allowPair("rename", AT_FDCWD, from, AT_FDCWD, to))
        return -1;
    int (*next)(const char*, const char*) = real("rename");
    return next(from, to);
}

int renameat(int fromfd, const char* from, int tofd, const char* to)
{
    if (!allowPair("renameat", fromfd, from, tofd, to))
        return -1;
    int (*next)(int, const char*, int, const char*) = real("renameat");
    return next(fromfd, from, tofd, to);
}

int renameat2(int fromfd, const char* from, int tofd, const char* to, unsigned int flags)
{
    if (!allowPair("renameat2", fromfd, from, tofd, to))
        return -1;
    int (*next)(int, const char*, int, const char*, unsigned int) = real("renameat2");
    return next(fromfd, from, tofd, to, flags);
}

int link(const char* from, const char* to)
{
    if (!allowPair("link", AT_FDCWD, from, AT_FDCWD, to))
        return -1;
    int (*next)(const char*, const char*) = real("link");
    return next(from, to);
}

int linkat(int fromfd, const char* from, int tofd, const char* to, int flags)
{
    if (!allowPair("linkat", fromfd, from, tofd, to))
        return -1;
    int (*next)(int, const char*, int, const char*, int) = real("linkat");
    return next(fromfd, from, tofd, to, flags);
}

int symlink(const char* target, const char* path)
{
    if (!allowAt("symlink", AT_FDCWD, path))
        return -1;
    int (*next)(const char*, const char*) = real("symlink");
    return next(target, path);
}

int symlinkat(const char* target, int dirfd, const char* path)
{
    if (!allowAt("symlinkat", dirfd, path))
        return -1;
    int (*next)(const char*, int, const char*) = real("symlinkat");
    return next(target, dirfd, path);
}

int unlink(const char* path)
{
    if (!allowAt("unlink", AT_FDCWD, path))
        return -1;
    int (*next)(const char*) = real("unlink");
    return next(path);
}

int unlinkat(int dirfd, const char* path, int flags)
{
    if (!allowAt("unlinkat", dirfd, path))
        return -1;
    int (*next)(int, const char*, int) = real("unlinkat");
    return next(dirfd, path, flags);
}

int mkdir(const char* path, mode_t mode)
{
    if (!allowAt("mkdir", AT_FDCWD, path))
        return -1;
    int (*next)(const char*, mode_t) = real("mkdir");
    return next(path, mode);
}

int mkdirat(int dirfd, const char* path, mode_t mode)
{
    if (!allowAt("mkdirat", dirfd, path))
        return -1;
    int (*next)(int, const char*, mode_t) = real("mkdirat");
    return next(dirfd, path, mode);
}

int rmdir(const char* path)
{
    if (!allowAt("rmdir", AT_FDCWD, path))
        return -1;
    int (*next)(const char*) = real("rmdir");
    return next(path);
}

ssize_t write(int fd, const void* data, size_t size)
{
    if (!allowFd("write", fd))
        return -1;
    ssize_t (*next)(int, const void*, size_t) = real("write");
    return next(fd, data, size);
}

#define PWRITE(name, offsetType)                                                                             \
    ssize_t name(int fd, const void* data, size_t size, offsetType offset)                                   \
    {                                                                                                        \
        if (!allowFd(#name, fd))                                                                             \
            return -1;                                                                                       \
        ssize_t (*next)(int, const void*, size_t, offsetType) = real(#name);                                 \
        return next(fd, data, size, offset);                                                                 \
    }
PWRITE(pwrite, off_t)
PWRITE(pwrite64, off64_t)

int fsync(int fd)
{
    if (!allowFd("fsync", fd))
        return -1;
    int (*next)(int) = real("fsync");
    return next(fd);
}

int fdatasync(int fd)
{
    if (!allowFd("fdatasync", fd))
        return -1;
    int (*next)(int) = real("fdatasync");
    return next(fd);
}
