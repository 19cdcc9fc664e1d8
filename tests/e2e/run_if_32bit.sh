#!/usr/bin/env bash
# Runs a command only where this machine can run 32-bit Windows programs
# (32-bit Wine, here through qemu-i386); otherwise reports the test as skipped.
# Usage: run_if_32bit.sh EXE COMMAND...
set -u
exe="$1"; shift
skip() { echo "SKIPPED: $*"; exit 77; }
[ -f "$exe" ] || skip "no 32-bit product at $exe (build it with: cmake --build --preset i686)"
[ -x /usr/lib/wine/wine ] || skip "32-bit Wine (wine32:i386) is not installed"
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    skip "this machine cannot execute 32-bit Linux programs (no qemu-i386 binfmt registration)"
fi
exec "$@"
