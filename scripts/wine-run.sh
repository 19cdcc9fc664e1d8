#!/usr/bin/env bash
# Runs one Windows program of a build tree under Wine; ctest's emulator.
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh" "$1"
shift
# The first program of a Wine session also starts Wine's own services, which
# outlive it and would hold on to the caller's output (ctest then waits for
# them until its timeout). Start them here, detached from that output.
"$TANDREL_WINE64" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
exec "$TANDREL_WINE64" "$@"
