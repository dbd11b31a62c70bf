#!/usr/bin/env bash
# Installs what is missing, builds Rovex with its tests and runs them all headless, the Debian
# package's check among them; then builds and runs them once more with AddressSanitizer and
# UndefinedBehaviorSanitizer so memory faults fail too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
# The tests make and delete their fixtures by the thousand: in memory that takes half the time it
# takes on a disk (ext4 looks for a free inode past every recently deleted one). Tests that need a
# second file system find the disk then.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ] && [ "$(df --output=avail -k /dev/shm | tail -1)" -gt 2000000 ]; then
    export TMPDIR=/dev/shm
fi
# shellcheck source=scripts/configure.sh
. "$root/scripts/configure.sh"

# The plain pass tests the build users run (Release, as run.sh and the package build it); without
# debug information it builds in half the time. The sanitizer pass keeps the line tables its reports
# need, and no more.
configure "$root/build-test" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
cmake --build "$root/build-test" --parallel "$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j "$jobs"

configure "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DROVEX_SANITIZE=ON -DBUILD_TESTING=ON -DROVEX_BENCH=OFF
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
