#pragma once

// The archiver's exit codes; --help lists them for the callers. New codes are only ever added.
enum class ExitCode : int
{
    Ok = 0,
    Usage = 1,
    CannotOpen = 2,
    Broken = 3,
    Encrypted = 4,
    Interrupted = 5,
    TooLarge = 6,
    Unsupported = 7,
};
