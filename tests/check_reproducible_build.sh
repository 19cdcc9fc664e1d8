#!/usr/bin/env bash
# Builds the 32-bit product a second time from a copy of the sources in another
# folder and checks that the exe is byte-identical to the first build's.
# Usage: check_reproducible_build.sh SOURCE_DIR FIRST_EXE SCRATCH_DIR
set -euo pipefail
source_dir="$1"; first="$2"; scratch="$3"
[ -f "$first" ] || { echo "no first build at $first"; exit 1; }
rm -rf "$scratch"
mkdir -p "$scratch/elsewhere-src"
# Only the files the build reads, at another path.
(cd "$source_dir" && tar -cf - --exclude=./build --exclude=./.git .) | tar -xf - -C "$scratch/elsewhere-src"
cmake -S "$scratch/elsewhere-src" -B "$scratch/elsewhere-build" \
    -DCMAKE_TOOLCHAIN_FILE="$scratch/elsewhere-src/cmake/toolchain-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTANDREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$scratch/elsewhere-build" --target TandrelLauncher -j2 >/dev/null
/usr/bin/python3 "$source_dir/tests/check_reproducible.py" \
    --forbid "$scratch" --forbid "$(dirname "$first")" --forbid "$source_dir" \
    "$first" "$scratch/elsewhere-build/TandrelLauncher.exe"
