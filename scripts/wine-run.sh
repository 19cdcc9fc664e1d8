#!/usr/bin/env bash
# Runs one Windows program of a build tree under Wine; ctest's emulator.
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh" "$1"
shift
# A program may make Wine start processes that outlive it (its services, the
# desktop window's explorer). Were they to inherit the caller's output, ctest
# would wait for them until its timeout; so the output goes through a file.
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$TANDREL_WINE64" "$@" </dev/null >"$out" 2>&1
status=$?
cat "$out"
exit "$status"
