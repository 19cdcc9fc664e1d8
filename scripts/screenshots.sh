#!/usr/bin/env bash
# Screenshots of the launcher's error box in each edition language, for the docs:
#
#   bash scripts/screenshots.sh [BUILD_DIR]
#
# BUILD_DIR is a configured x86_64 build tree (default build/x86_64, configured
# with `cmake --preset x86_64` if missing). Writes docs/screenshots/error-box-<locale>.png
# for en_US, de_DE, es_ES, fr_FR and it_IT.
#
# Each shot runs the 64-bit twin of the launcher in a folder where no edition
# holds the game, as a user of that locale, inside a Wine virtual desktop on a
# private Xvfb: only the virtual desktop draws the box's frame with its caption
# and small icon. box_probe runs in the same desktop, reports where the box is,
# and closes it after the capture. Needs imagemagick (import) and xvfb.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

if [ $# -eq 0 ]; then
    build="$root/build/x86_64"
    [ -f "$build/CMakeCache.txt" ] || cmake --preset x86_64 >/dev/null
else
    build="$(cd "$1" && pwd)"
fi
cmake --build "$build" --target TandrelLauncher box_probe -j2 >/dev/null

source scripts/wine-env.sh "$build"
scripts/wine-prefix.sh "$build"
# A display of our own, so that nothing else is on the screen.
unset DISPLAY
source scripts/xvfb.sh
trap tandrel_stop_xvfb EXIT

winpath() { printf 'Z:%s' "${1//\//\\}"; }

work="$build/screenshots"
tree="$work/not-found"
rm -rf "$work"
for edition in EN DE ES FR IT; do mkdir -p "$tree/Tandrel $edition"; done
cp "$build/TandrelLauncher.exe" "$tree/"
out="$root/docs/screenshots"
mkdir -p "$out"

# Waits up to $1 seconds for the processes $2... to end; false if one is left.
wait_for() {
    local seconds="$1"
    shift
    for _ in $(seq $((seconds * 10))); do
        kill -0 "$@" 2>/dev/null || { wait "$@" || true; return 0; }
        sleep 0.1
    done
    return 1
}

for locale in en_US de_DE es_ES fr_FR it_IT; do
    # A "Locale" value would choose the edition instead of the user's language.
    if "$TANDREL_WINE64" reg query 'HKLM\Software\Kestrow\Tandrel' /v Locale >/dev/null 2>&1; then
        echo "the prefix has a Locale value (a test running?); the shots would not show each user's language" >&2
        exit 1
    fi
    rect="$work/rect-$locale.txt"
    done_file="$work/done-$locale"
    # A desktop per shot: the first explorer on it owns it until its last
    # window is gone, so no box of an earlier shot can be seen here.
    desktop="/desktop=tandrel-shot-$locale,640x400"
    export LC_ALL="$locale.UTF-8"
    "$TANDREL_WINE64" explorer "$desktop" "$(winpath "$tree/TandrelLauncher.exe")" &
    launcher=$!
    "$TANDREL_WINE64" explorer "$desktop" "$(winpath "$build/box_probe.exe")" \
        "$(winpath "$rect")" "$(winpath "$done_file")" &
    probe=$!
    for _ in $(seq 300); do [ -f "$rect" ] && break; sleep 0.1; done
    if [ ! -f "$rect" ]; then
        echo "$locale: no error box appeared" >&2
        kill "$launcher" "$probe" 2>/dev/null || true
        exit 1
    fi
    read -r x y width height <"$rect"
    shot="$out/error-box-$locale.png"
    # No time stamps in the file, so an unchanged box gives an unchanged PNG.
    import -window root -crop "${width}x${height}+${x}+${y}" +repage -strip \
        -define png:exclude-chunks=date,time "$shot"
    touch "$done_file"
    if ! wait_for 30 "$launcher" "$probe"; then
        echo "$locale: the box did not close" >&2
        kill "$launcher" "$probe" 2>/dev/null || true
        exit 1
    fi
    echo "$shot"
done
unset LC_ALL
