#!/usr/bin/env bash
# Builds TandrelLauncher.exe (32-bit), lays out a demo installation with the five
# editions, runs the launcher there under Wine as a user of the given language,
# and tells which edition's game it started and from which folder.
#
# Usage: scripts/demo.sh [LOCALE] [--registry CODE]
#   LOCALE   the user's language as a glibc locale, e.g. de_DE or fr_CA
#            (default: this machine's, else en_US)
#   --registry CODE   set the installer's "Locale" value first, e.g. es_ES
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

locale="${LC_ALL:-${LANG:-en_US}}"
registry=""
while [ $# -gt 0 ]; do
    case "$1" in
        --registry) registry="$2"; shift 2 ;;
        *) locale="$1"; shift ;;
    esac
done
locale="${locale%%.*}"
case "$locale" in C|POSIX|"") locale=en_US ;; esac

bash scripts/setup.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j2

build="$root/build/i686"
demo="$build/demo"
source scripts/wine-env.sh "$build"
scripts/wine-prefix.sh "$build"

rm -rf "$demo"
for edition in EN DE ES FR IT; do
    mkdir -p "$demo/Tandrel $edition"
    cp "$build/stand_in_game.exe" "$demo/Tandrel $edition/Tandrel.exe"
done
cp "$build/TandrelLauncher.exe" "$demo/"

key='HKLM\Software\Kestrow\Tandrel'
"$TANDREL_WINE64" reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true
if [ -n "$registry" ]; then
    "$TANDREL_WINE64" reg add "$key" /v Locale /t REG_SZ /d "$registry" /f /reg:32 >/dev/null
fi

report="$demo/started.txt"
export TANDREL_GAME_REPORT="Z:${report//\//\\}"
echo "running $demo/TandrelLauncher.exe as a $locale user${registry:+ with Locale=$registry} (32-bit Wine through qemu: about a minute)..."
status=0
LC_ALL="$locale.UTF-8" WINELOADER=/usr/lib/wine/wine /usr/lib/wine/wine "$demo/TandrelLauncher.exe" || status=$?
for _ in $(seq 120); do [ -f "$report" ] && break; sleep 1; done
"$TANDREL_WINESERVER" -k 2>/dev/null || true
if [ -n "$registry" ]; then "$TANDREL_WINE64" reg delete "$key" /f /reg:32 >/dev/null 2>&1 || true; "$TANDREL_WINESERVER" -k 2>/dev/null || true; fi

echo "launcher exit code: $status"
if [ -f "$report" ]; then
    module=$(sed -n 's/^module=//p' "$report")
    cwd=$(sed -n 's/^cwd=//p' "$report")
    edition=$(printf '%s' "$module" | sed -n 's/.*\\\(Tandrel [A-Z][A-Z]\)\\Tandrel.exe.*/\1/p')
    echo "started: $module"
    echo "edition: ${edition:-?}"
    echo "working directory: $cwd"
else
    echo "no game was started"
    exit 1
fi
