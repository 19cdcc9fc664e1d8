#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit product and the 64-bit twin with
# its tests, and runs the whole suite through ctest under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

bash scripts/setup.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j2
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64 -j2

build="$root/build/x86_64"
source scripts/wine-env.sh "$build"
scripts/wine-prefix.sh "$build"
source scripts/xvfb.sh
"$TANDREL_WINESERVER" -p || true  # one server for the whole run (or the one already up)
"$TANDREL_WINE64" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true  # Wine's services, off ctest's pipes
cleanup() {
    "$TANDREL_WINESERVER" -k 2>/dev/null || true
    tandrel_stop_xvfb
}
trap cleanup EXIT

ctest --preset x86_64
