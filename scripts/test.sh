#!/usr/bin/env bash
# Installs what is missing, builds Rovex with its tests and runs them all headless, the Debian
# package's check among them; then builds and runs them once more with AddressSanitizer and
# UndefinedBehaviorSanitizer so memory faults fail too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
# shellcheck source=scripts/configure.sh
. "$root/scripts/configure.sh"

# The plain pass tests the build users run (Release, as run.sh and the package build it); without
# debug information it builds in half the time. The sanitizer pass keeps it for its reports.
configure "$root/build-test" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
cmake --build "$root/build-test" --parallel "$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j "$jobs"

configure "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DROVEX_SANITIZE=ON -DBUILD_TESTING=ON -DROVEX_BENCH=OFF
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
