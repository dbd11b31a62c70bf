#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (in build-fuzz/, once) and runs each for SECONDS
# (default 60), or only the TARGETs named, then prints a table: target, seconds, runs, coverage
# (edges and features of our own code), new findings. A finding stops the fuzzer; the run goes on
# with the time left.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]        e.g. scripts/fuzz.sh 1800 archiver_extract
#
# New inputs go to build-fuzz/fuzz-work/TARGET/corpus (the committed corpus in fuzz/corpus/TARGET
# stays as it is); findings go to build-fuzz/fuzz-work/TARGET/findings. Once a finding is mended,
# commit it under fuzz/reproducers/TARGET/ so every build replays it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$root/build-fuzz"
all_targets=(archiver_extract archiver_list ini_file description_reader skin_split_items skin_loader
             skin_bmp skin_jpeg skin_mask_region)
targets=("${@:-${all_targets[@]}}")

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROVEX_FUZZ=ON \
        -DROVEX_BENCH=OFF >/dev/null
fi
nice cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null

export QT_QPA_PLATFORM=offscreen
# Findings must stop the program: sanitizers abort instead of going on.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:allocator_may_return_null=1:max_allocation_size_mb=1024
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

rows=()
for target in "${targets[@]}"; do
    work="$build/fuzz-work/$target"
    mkdir -p "$work/corpus" "$work/findings"
    log="$work/last.log"
    runs=0
    found_before=$(find "$work/findings" -type f | wc -l)
    left=$seconds
    started=$(date +%s)
    while [ "$left" -gt 0 ]; do
        status=0
        (cd "$work" && "$build/fuzz/fuzz_$target" -max_total_time="$left" -timeout=20 -rss_limit_mb=2560 \
            -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$work/findings/" \
            "$work/corpus" "$root/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
        executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
        runs=$((runs + ${executed:-0}))
        [ "$status" -eq 0 ] && break
        left=$((seconds - ($(date +%s) - started)))
    done
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
    findings=$(($(find "$work/findings" -type f | wc -l) - found_before))
    rows+=("$(printf '%-20s %8s %12s %22s %9s' "$target" "$seconds" "$runs" "${coverage:-?}" "$findings")")
done

printf '%-20s %8s %12s %22s %9s\n' target seconds runs coverage findings
printf '%s\n' "${rows[@]}"
