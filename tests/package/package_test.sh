#!/bin/sh
# Makes the Debian package from a built tree and checks it as a user gets it: what it holds, what it
# depends on, its menu and software-centre entries, and that its rovex command lays out the user's
# home folder, keeps the user's own skin and settings, and starts Rovex in that folder.
# Usage: package_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
started=
cleanup() {
    [ -z "$started" ] || kill "$started" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
passed=0

fail() {
    printf 'FAIL: %s\n' "$1"
    exit 1
}
ok() {
    printf 'PASS: %s\n' "$1"
    passed=$((passed + 1))
}
same() { # what, expected, actual
    [ "$2" = "$3" ] || fail "$(printf '%s\nexpected:\n%s\nactual:\n%s' "$1" "$2" "$3")"
    ok "$1"
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/out/rovex_*.deb)
[ -f "$deb" ] || fail "no package in $work/out"

# Help pages come and go; the contents page must be there.
same "files of the package" "\
-rwxr-xr-x ./usr/bin/rovex
lrwxrwxrwx ./usr/bin/rovex-skin -> ../lib/rovex/rovex-skin
-rwxr-xr-x ./usr/lib/rovex/7zip.exe
-rw-r--r-- ./usr/lib/rovex/extrc.pif
-rw-r--r-- ./usr/lib/rovex/help/rovex10.html
-rw-r--r-- ./usr/lib/rovex/icon/rovex128.png
-rw-r--r-- ./usr/lib/rovex/icon/rovex16.png
-rw-r--r-- ./usr/lib/rovex/icon/rovex256.png
-rw-r--r-- ./usr/lib/rovex/icon/rovex32.png
-rw-r--r-- ./usr/lib/rovex/icon/rovex48.png
-rw-r--r-- ./usr/lib/rovex/icon/rovex64.png
-rwxr-xr-x ./usr/lib/rovex/nfshs-standin
-rwxr-xr-x ./usr/lib/rovex/rovex
-rwxr-xr-x ./usr/lib/rovex/rovex-cmd
-rwxr-xr-x ./usr/lib/rovex/rovex-demo
-rwxr-xr-x ./usr/lib/rovex/rovex-skin
-rw-r--r-- ./usr/lib/rovex/skin.ini
-rw-r--r-- ./usr/lib/rovex/skin_down.bmp
-rw-r--r-- ./usr/lib/rovex/skin_mask.bmp
-rw-r--r-- ./usr/lib/rovex/skin_on.bmp
-rw-r--r-- ./usr/lib/rovex/skin_up.bmp
-rw-r--r-- ./usr/share/applications/org.rovex.Rovex.desktop
-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/rovex.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/rovex.svg
-rw-r--r-- ./usr/share/man/man1/rovex.1.gz
-rw-r--r-- ./usr/share/metainfo/org.rovex.Rovex.metainfo.xml" \
    "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ && ($6 !~ /\/help\// || $6 ~ /\/help\/rovex10\.html$/) {
        line = $1; for (i = 6; i <= NF; i++) line = line " " $i; print line }' | LC_ALL=C sort -k 2)"
same "folders open to all" "" "$(dpkg-deb -c "$deb" | awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"')"

# The libraries come from the binaries, so only their names are fixed here, not their versions.
same "dependencies" \
    "fonts-liberation2, fonts-dejavu-core, libarchive13, libc6, libgcc-s1, libjpeg62-turbo, libqt6core6, libqt6gui6, libqt6widgets6, libstdc++6, zlib1g" \
    "$(dpkg-deb -f "$deb" Depends | sed 's/ ([^)]*)//g')"
same "recommendations" "wine, qt6-translations-l10n" "$(dpkg-deb -f "$deb" Recommends)"
same "package" "rovex games" "$(dpkg-deb -f "$deb" Package Section | sed 's/^[^:]*: //' | tr '\n' ' ' | sed 's/ $//')"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.rovex.Rovex.desktop" || fail "desktop entry"
ok "desktop entry valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.rovex.Rovex.metainfo.xml" >"$work/as.log" 2>&1 ||
    fail "metainfo: $(cat "$work/as.log")"
ok "metainfo valid"

rovex=$root/usr/bin/rovex
programs=$root/usr/lib/rovex
export HOME="$work/user home"
mkdir -p "$HOME"

same "--version" "Rovex 1.0" "$(XDG_DATA_HOME="$work/data" "$rovex" --version)"
same "--help, first line" "Использование: rovex [--demo | --verify [--accept] | --help | --version]" \
    "$(XDG_DATA_HOME="$work/data" "$rovex" --help | head -n 1)"
status=0
XDG_DATA_HOME="$work/data" "$rovex" --window 2>/dev/null || status=$?
same "unknown option" 2 "$status"
status=0
XDG_DATA_HOME="$work/data" "$rovex" --verify --all 2>/dev/null || status=$?
same "--verify with an unknown option" 2 "$status"
status=0
XDG_DATA_HOME="$work/data" "$rovex" --verify 2>/dev/null || status=$?
same "--verify without a home folder" 2 "$status"
[ ! -e "$work/data" ] || fail "--version or --help made a home folder"

# Starts the rovex command from / with the given XDG_DATA_HOME and arguments, and checks that the
# program it ends in runs in the home folder HOME_FOLDER and is still up two seconds later.
start() { # home_folder xdg_data_home [argument]
    (cd / && XDG_DATA_HOME=$2 exec "$rovex" ${3+"$3"}) >"$work/run.log" 2>&1 &
    started=$!
    tries=0
    while [ "$(readlink "/proc/$started/exe" || true)" != "$programs/rovex" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "the program did not start: $(cat "$work/run.log")"
        sleep 0.1
    done
    same "program runs in its home folder" "$1" "$(readlink "/proc/$started/cwd")"
    sleep 2
    kill -0 "$started" 2>/dev/null || fail "the program ended: $(cat "$work/run.log")"
    kill "$started"
    wait "$started" 2>/dev/null || true
    started=
}

home="$work/data home/rovex"
start "$home" "$work/data home"
# The lock file stays behind the killed program, as after any crash.
same "companions linked, skin copied" "\
7zip.exe -> $programs/7zip.exe
extrc.pif -> $programs/extrc.pif
help -> $programs/help
rovex.lock
skin.ini
skin_down.bmp
skin_mask.bmp
skin_on.bmp
skin_up.bmp" "$(cd "$home" && for name in *; do
    if [ -L "$name" ]; then echo "$name -> $(readlink "$name")"; else echo "$name"; fi
done)"
cmp "$home/skin_up.bmp" "$programs/skin_up.bmp" || fail "skin image copied"

# A user's own skin and settings stay; a lost skin image and a stale companion link are mended.
printf 'own skin\r\n' >"$home/skin.ini"
printf 'a\r\nb\r\n1\r\n' >"$home/options.dat"
rm "$home/skin_on.bmp"
ln -sfn /nowhere/7zip.exe "$home/7zip.exe"
start "$home" "$work/data home"
same "own skin kept" "own skin" "$(tr -d '\r' <"$home/skin.ini")"
same "settings kept" "a b 1" "$(tr '\r\n' '  ' <"$home/options.dat" | tr -s ' ' | sed 's/ $//')"
[ -f "$home/skin_on.bmp" ] || fail "lost skin image copied again"
same "stale companion relinked" "$programs/7zip.exe" "$(readlink "$home/7zip.exe")"

# A relative XDG_DATA_HOME is no place: the default under HOME serves.
start "$HOME/.local/share/rovex" "relative" --demo
[ -x "$HOME/.local/share/rovex/demo/game/nfshs.exe" ] || fail "demo laid out"
same "demo settings" "$HOME/.local/share/rovex/demo/library/" "$(head -n 1 "$HOME/.local/share/rovex/options.dat" | tr -d '\r')"

# The demo's start saw the demo game first: every slot is as it was then.
verified=$(cd / && XDG_DATA_HOME=relative "$rovex" --verify 2>"$work/verify.log") ||
    fail "--verify: status $?: $(cat "$work/verify.log")"
same "--verify, first slot" "$(printf 'Aquatica\tstandard')" "$(printf '%s\n' "$verified" | head -n 1)"
same "--verify, standard slots" 19 "$(printf '%s\n' "$verified" | grep -c "$(printf '\tstandard$')")"

printf '%s passed, 0 failed\n' "$passed"
