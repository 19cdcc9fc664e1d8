#!/usr/bin/env bash
# Creates the Wine prefix of a build tree once; later calls reuse it.
# Usage: wine-prefix.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh" "$1"
if [ ! -f "$WINEPREFIX/.tandrel-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    echo "creating Wine prefix $WINEPREFIX (once per build tree, a few minutes)" >&2
    "$TANDREL_WINE64" wineboot -i >/dev/null 2>&1
    "$TANDREL_WINESERVER" -w
    touch "$WINEPREFIX/.tandrel-ready"
fi
# Drive T: is an empty folder of the build tree, for runs from a drive root.
mkdir -p "$1/drive-t"
ln -sfn "$1/drive-t" "$WINEPREFIX/dosdevices/t:"
