# Sourced by run.sh and test.sh: configure ROOT into BUILD with the given cache entries. A new build
# folder gets Ninja when it is there: it overlaps the compiles of different targets better than make.
# shellcheck shell=bash
configure() {
    local build=$1
    shift
    local generator=()
    if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
        generator=(-G Ninja)
    fi
    cmake -S "$root" -B "$build" "${generator[@]}" "$@"
}
