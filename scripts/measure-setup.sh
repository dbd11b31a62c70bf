#!/usr/bin/env bash
# Times the README's two set-up commands as a newcomer meets them: each in a fresh clone of COMMIT
# (default HEAD) with the Debian packages already installed. run.sh is timed to its first window: the
# moment the started program has created its lock file and gone idle in its event loop. test.sh is
# timed whole and per step (configure, build, tests of either pass). Prints a table, the machine and
# its load. Runs with the compiler cache as the caller has it: CCACHE_DISABLE=1 times a first build
# on an empty cache, as CI has it.
#
#   scripts/measure-setup.sh [COMMIT]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
work=$(mktemp -d)
program=
cleanup() {
    [ -z "$program" ] || kill "$program" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fresh_clone() {
    rm -rf "$work/rovex"
    git clone -q "$root" "$work/rovex"
    git -C "$work/rovex" checkout -q "$commit"
}

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", b - a }'; }
minutes() { awk -v s="$1" 'BEGIN { printf "%d min %02d s", s / 60, s % 60 }'; }

# The processor time the process has used so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo gone; }

[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
    "$(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo); commit ${commit:0:7};" \
    "ccache $([ -n "${CCACHE_DISABLE:-}" ] && echo disabled || (command -v ccache >/dev/null && echo on || echo absent))"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# run.sh to the first window.
fresh_clone
started=$(now)
bash "$work/rovex/scripts/run.sh" >"$work/run.log" 2>&1 &
program=$!
lock="$work/rovex/build/home/rovex.lock"
window=
last=
idle_since=
while kill -0 "$program" 2>/dev/null; do
    sleep 0.05
    [ "$(cat "/proc/$program/comm" 2>/dev/null)" = rovex ] && [ -e "$lock" ] || continue
    ticks=$(cpu_ticks "$program")
    if [ "$ticks" != "$last" ]; then
        last=$ticks
        idle_since=$(now)
    elif [ "$(seconds "$idle_since" "$(now)")" -ge 1 ]; then
        window=$(seconds "$started" "$idle_since")
        break
    fi
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
program=
[ -n "$window" ] || { echo "run.sh never showed its window:"; tail -20 "$work/run.log"; exit 1; }

# test.sh, each step stamped by the shell as it starts.
fresh_clone
stamps="$work/test.stamps"
started=$(now)
status=0
# (bash takes no PS4 from the environment when run as root.)
bash -c 'PS4="+ \$EPOCHREALTIME "; BASH_XTRACEFD=3; set -x; . "$0"' "$work/rovex/scripts/test.sh" \
    >"$work/test.log" 2>&1 3>"$stamps" || status=$?
ended=$(now)
[ "$status" -eq 0 ] || { echo "test.sh failed ($status):"; tail -30 "$work/test.log"; exit 1; }
# The moments the cmake and ctest commands of either pass started, in order.
mapfile -t steps < <(grep -E '^[+]+ [0-9.]+ (cmake|ctest) ' "$stamps" | grep -v -- '--version' |
    awk '{ print $2 }')
mapfile -t kinds < <(grep -E '^[+]+ [0-9.]+ (cmake|ctest) ' "$stamps" | grep -v -- '--version' |
    awk '{ for (i = 3; i <= NF; ++i) if ($i == "cmake" || $i == "ctest") { w = $i; if ($i == "cmake" && $(i + 1) == "--build") w = "build"; print w; break } }')
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-44s %s\n' "run.sh to the first window" "$(minutes "$window")"
printf '%-44s %s\n' "test.sh" "$(minutes "$(seconds "$started" "$ended")")"
steps+=("$ended")
pass=plain
for i in "${!kinds[@]}"; do
    case ${kinds[$i]} in
    cmake) what=configure ;;
    build) what=build ;;
    ctest) what=tests ;;
    esac
    printf '  %-42s %s\n' "$pass pass: $what" "$(minutes "$(seconds "${steps[$i]}" "${steps[$((i + 1))]}")")"
    [ "${kinds[$i]}" = ctest ] && pass=sanitizer
done
