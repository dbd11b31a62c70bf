#!/bin/sh
# The full fault sweep: a 5-slot install and a full restore are cut short before each change they make
# to the game folder, "Temp" and the home folder, in turn, by SIGKILL, ENOSPC and EIO, in Rovex, the
# command interpreter and the archiver; after each cut a standard start must give back every standard
# file byte for byte. Prints the table. CI runs every 8th step of the same sweep (test_fault_sweep).
#
# Usage: scripts/fault-sweep.sh [BUILD_DIR]     (default: build; configured and built as needed)
#        ROVEX_SWEEP_EVERY=k scripts/fault-sweep.sh    tries every k-th step only
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
nice cmake --build "$build" -j2 --target app_tests
status=0
# A full row runs for minutes, longer than QtTest lets one test function run by default.
ROVEX_SWEEP_EVERY=${ROVEX_SWEEP_EVERY:-1} QT_QPA_PLATFORM=offscreen QTEST_FUNCTION_TIMEOUT=86400000 \
    "$build/tests/app/app_tests" test_fault_sweep >"$build/fault-sweep.log" 2>&1 || status=$?
grep -E '^(FAIL|   Loc)' "$build/fault-sweep.log" || true
sed -n '/^scenario /,/^steps tried/p' "$build/fault-sweep.log"
echo "Full log: $build/fault-sweep.log"
exit "$status"
