#!/usr/bin/env bash
# Installs what is missing, builds Rovex (the program, its companions, the skin checker and the demo
# only: no tests, no benchmarks) and starts it from its home folder. On a first start (no
# "options.dat" yet) it lays out a demo game and track library to play with.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# shellcheck source=scripts/configure.sh
. "$root/scripts/configure.sh"
configure "$root/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$root/build" --parallel "$(nproc)" --target home
home="$root/build/home"
if [ ! -e "$home/options.dat" ]; then
    # Without settings there is nothing of the user's to keep: lay the demo out anew.
    rm -rf "$home/demo"
    "$home/rovex-demo" "$home"
fi
cd "$home"
exec ./rovex
