#!/usr/bin/env bash
# Benchmark of the launch path under Wine. Not a test: it passes or fails
# nothing and ctest never runs it. Builds what it needs, then, in one Wine
# session of the x86_64 tree, times program starts with a Windows-side timer
# (tests/bench/bench_timer.exe) and prints the tables of docs/benchmarks.md.
#
# Usage: scripts/bench.sh [--runs N] [--scan-runs N] [--runs-i686 N]
#   --runs N        timed runs of each found-path program (default 30)
#   --scan-runs N   timed runs of each scan program (default 15)
#   --runs-i686 N   timed runs of each 32-bit program (default 2, 0 skips them);
#                   every 32-bit start goes through qemu and takes ~45 s
# About 1.5 minutes, plus ~45 s for each 32-bit start (seven with the defaults:
# 6.5 minutes in all). Do not run it while scripts/test.sh runs on the same
# tree: both use the tree's wineserver. Results: docs/benchmarks.md.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

runs=30
scan_runs=15
runs32=2
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        --scan-runs) scan_runs="$2"; shift 2 ;;
        --runs-i686) runs32="$2"; shift 2 ;;
        *) echo "usage: scripts/bench.sh [--runs N] [--scan-runs N] [--runs-i686 N]" >&2; exit 2 ;;
    esac
done
scan_sizes=(0 10 1000 10000)

bash scripts/setup.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 -j2
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64 -j2
# 32-bit copies of the baselines, from the same sources, for the 32-bit product.
cmake -S tests/bench -B build/bench-i686 --toolchain "$root/cmake/toolchain-i686.cmake" >/dev/null
cmake --build build/bench-i686 -j2 --target do_nothing baseline_shell

build="$root/build/x86_64"
bench="$build/tests/bench"
run="$build/bench-run"
source scripts/wine-env.sh "$build"
scripts/wine-prefix.sh "$build"
source scripts/xvfb.sh

own_server=0
cleanup() {
    if [ "$own_server" = 1 ]; then "$TANDREL_WINESERVER" -k 2>/dev/null || true; fi
    tandrel_stop_xvfb
}
trap cleanup EXIT

# One server for the whole session. Exit status 2: one already serves this
# prefix (someone else's session); it is shared, and left running at the end.
status=0
"$TANDREL_WINESERVER" -p || status=$?
case "$status" in
    0) own_server=1 ;;
    2) echo "note: a wineserver already serves $WINEPREFIX; sharing it" >&2 ;;
    *) echo "cannot start wineserver (status $status)" >&2; exit 1 ;;
esac
# Wine's services start with the session's first program and outlive it: let
# them start here, away from any pipe this script reads or writes.
"$TANDREL_WINE64" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true

winpath() { printf 'Z:%s' "${1//\//\\}"; }
timer() { LC_ALL=en_US.UTF-8 "$TANDREL_WINE64" "$bench/bench_timer.exe" "$@" </dev/null; }
# Tab-separated lines as aligned columns.
table() {
    awk -F'\t' '{ for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) }
                   if (NF > cols) cols = NF }
        END { for (r = 1; r <= NR; r++) { line = ""
                  for (i = 1; i <= cols; i++) line = line sprintf("%-" width[i] + 2 "s", cell[r, i])
                  sub(/ +$/, "", line); print line } }'
}

rm -rf "$run"
mkdir -p "$run/results"

# A whole installation, every edition with its game: whichever edition the
# language or a "Locale" value left by a test picks, the launcher finds it
# on its first probe. The game is the do-nothing program; every program
# timed here sits in the installation folder, as the launcher does.
lay_out_found() {
    local dir="$1" launcher="$2" baseline="$3" game="$4"
    mkdir -p "$dir"
    for edition in EN DE ES FR IT; do
        mkdir -p "$dir/Tandrel $edition"
        cp "$game" "$dir/Tandrel $edition/Tandrel.exe"
    done
    cp "$launcher" "$dir/TandrelLauncher.exe"
    cp "$baseline" "$dir/baseline_shell.exe"
}
lay_out_found "$run/found" "$build/TandrelLauncher.exe" "$bench/baseline_shell.exe" "$bench/do_nothing.exe"
cp "$bench/do_nothing.exe" "$run/found/"

# Scan folders: no edition folder, N empty sub-folders listed before the one
# with the game (bench_tree.exe checks the order with FindFirstFileW). The
# bare scan and the shell baseline sit beside the launcher: Wine looks for
# DLLs in a program's own folder first, and in a big folder every miss costs.
declare -A game_folder
for n in "${scan_sizes[@]}"; do
    mkdir -p "$run/scan-$n"
    cp "$build/TandrelLauncher.exe" "$bench/bare_scan.exe" "$bench/baseline_shell.exe" "$run/scan-$n/"
    "$TANDREL_WINE64" "$bench/bench_tree.exe" "$(winpath "$run/scan-$n")" "$n" \
        "$(winpath "$bench/do_nothing.exe")" </dev/null >"$run/results/tree-$n.txt"
    game_folder[$n]="$(tr -d '\r' <"$run/results/tree-$n.txt")"
    echo "scan-$n: the game is in \"${game_folder[$n]}\", listed last of $((n + 1)) sub-folders"
done

found="$(winpath "$run/found")"
game_args="\"$found\\Tandrel EN\\Tandrel.exe\" \"$found\\Tandrel EN\""

load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
echo "found path, x86_64 twin: $runs runs each..."
timer --runs "$runs" \
    baseline "\"$found\\baseline_shell.exe\" $game_args" \
    launcher "\"$found\\TandrelLauncher.exe\"" \
    do_nothing "\"$found\\do_nothing.exe\"" > "$run/results/found-x86_64.tsv"

echo "fallback scan, x86_64 twin: $scan_runs runs each..."
scan_args=()
for n in "${scan_sizes[@]}"; do
    dir="$(winpath "$run/scan-$n")"
    game="$dir\\${game_folder[$n]}"
    scan_args+=("bare_$n" "\"$dir\\bare_scan.exe\" \"$dir\""
                "launcher_$n" "\"$dir\\TandrelLauncher.exe\""
                "shell_$n" "\"$dir\\baseline_shell.exe\" \"$game\\Tandrel.exe\" \"$game\"")
done
timer --runs "$scan_runs" "${scan_args[@]}" > "$run/results/scan-x86_64.tsv"

have32=0
if [ "$runs32" -gt 0 ] && [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    have32=1
    b32="$root/build/bench-i686"
    # The 32-bit programs start the 64-bit do-nothing game: a 32-bit game would
    # add a second qemu start to every run.
    lay_out_found "$run/found32" "$root/build/i686/TandrelLauncher.exe" "$b32/baseline_shell.exe" \
        "$bench/do_nothing.exe"
    cp "$b32/do_nothing.exe" "$run/found32/do_nothing32.exe"
    found32="$(winpath "$run/found32")"
    echo "found path, i686 product: $runs32 runs each, ~45 s per start (qemu)..."
    # One untimed 32-bit start first: the session's first one also starts the 32-bit side of Wine.
    "$TANDREL_WINE64" "$run/found32/do_nothing32.exe" </dev/null || true
    timer --runs "$runs32" --warmup 0 --timeout-s 600 --progress \
        baseline32 "\"$found32\\baseline_shell.exe\" \"$found32\\Tandrel EN\\Tandrel.exe\" \"$found32\\Tandrel EN\"" \
        launcher32 "\"$found32\\TandrelLauncher.exe\"" \
        do_nothing32 "\"$found32\\do_nothing32.exe\"" > "$run/results/found-i686.tsv"
fi
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "== Machine"
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores"
echo "Wine: $("$TANDREL_WINE64" --version)"
echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Sources: $(git rev-parse --short HEAD 2>/dev/null || echo '?')$(git diff --quiet HEAD 2>/dev/null || echo ' (with uncommitted changes)')"
echo "Load average (1, 5, 15 min) before: $load_before; after: $load_after"

echo
echo "== Found path, x86_64 twin (ms from CreateProcessW to exit; ratio against baseline)"
table < "$run/results/found-x86_64.tsv"

echo
echo "== Fallback scan, x86_64 twin (ratio against bare_0)"
table < "$run/results/scan-x86_64.tsv"
echo
echo "Per sub-folder, from the medians: (time at N - time at 0) / N, in microseconds. shell: the"
echo "shell baseline in the same folder, which scans nothing: what a big folder costs a program's"
echo "start (Wine searches it for DLLs); scan: bare minus shell, the listing and probing itself."
awk -F'\t' -v sizes="${scan_sizes[*]:1}" 'NR > 1 { split($1, p, "_"); med[p[1], p[2]] = $3; low[p[1], p[2]] = $4 }
    function per(name, n) { return (med[name, n] - med[name, 0]) * 1000 / n }
    END {
        printf "N\tbare_us\tlauncher_us\tshell_us\tscan_us\tlauncher/bare(median)\tlauncher/bare(min)\n"
        count = split(sizes, size, " ")
        for (i = 1; i <= count; i++) {
            n = size[i]
            printf "%d\t%.1f\t%.1f\t%.1f\t%.1f\t%.3f\t%.3f\n", n, per("bare", n), per("launcher", n),
                per("shell", n), per("bare", n) - per("shell", n),
                med["launcher", n] / med["bare", n], low["launcher", n] / low["bare", n]
        }
    }' "$run/results/scan-x86_64.tsv" | table

if [ "$have32" = 1 ]; then
    echo
    echo "== Found path, i686 product under 32-bit Wine through qemu ($runs32 runs each: indicative only)"
    table < "$run/results/found-i686.tsv"
else
    echo
    echo "== i686 product: skipped (no 32-bit Wine, or --runs-i686 0)"
fi

echo
echo "== Executable size"
/usr/bin/python3 tools/exe_size.py build/i686/TandrelLauncher.exe build/x86_64/TandrelLauncher.exe
echo "Raw results: $run/results/"
