#!/usr/bin/env bash
# Runs one Windows program of a build tree under Wine; ctest's emulator.
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh" "$1"
shift
exec "$TANDREL_WINE64" "$@"
