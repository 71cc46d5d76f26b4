#!/usr/bin/env bash
# Times the two windows on a generated site of FILES files (a quarter pages):
# listing the folder, ticking every file, filling the chooser and the whole
# build, each window driven through its test seam by bench/window_bench*.cpp,
# against pagefold-cli building the same site (the Win32 window against
# pagefold-cli.exe, both under wine64). Runs ROUNDS rounds, the four programs
# alternating in each, on one virtual X display and one Wine server, and
# prints the median of every figure. As root on a tmpfs of its own. Not run
# by ctest.
# Needs BUILD_DIR and WIN64_DIR configured with -DPAGEFOLD_BENCH=ON
# (WIN64_DIR as scripts/windows-build.sh makes build-win64/); a missing
# WIN64_DIR leaves the Win32 rows out.
# Usage: bench/window_bench.sh [BUILD_DIR] [WIN64_DIR] [FILES] [ROUNDS]
#        (default: build build-win64 20000 5)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build} win64=${2:-build-win64} files=${3:-20000} rounds=${4:-5}
scripts/install-packages.sh xvfb xauth wine64
cmake --build "$build" -j2 --target window_bench pagefold-cli >/dev/null
if [ -f "$win64/CMakeCache.txt" ]; then
  cmake --build "$win64" -j2 --target window_bench_win32 pagefold-cli >/dev/null
else
  win64=
fi

work=$(mktemp -d)
mounted=no
cleanup() {
  [ "$mounted" = no ] || umount "$work"
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=2g tmpfs "$work"; then mounted=yes; fi
python3 bench/make_site.py "$work/site" "$files"
mkdir "$work/out"

export WINEPREFIX=$PWD/${win64:-build-win64}/wine-prefix WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  build=$1 win64=$2 work=$3 rounds=$4
  start=$(find "$work/site" -name "page0.htm" -printf "%P")
  winsite="Z:${work//\//\\}\\site" winres="Z:${work//\//\\}\\out\\site.res"
  if [ -n "$win64" ]; then
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -p
    "$WINELOADER" wineboot --init >/dev/null 2>&1
  fi
  seconds() { /usr/bin/time -f %e -o "$work/time" "$@" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }; cat "$work/time"; }
  for round in $(seq "$rounds"); do
    rm -rf "$work/out"/*
    echo "cli $(seconds "$build/src/cli/pagefold-cli" --yes --start "$start" "$work/site" "$work/out/site.res")"
    rm -rf "$work/out"/*
    seconds "$build/bench/window_bench" "$work/site" "$work/out/site.res" >/dev/null
    echo "qt $(grep -a "^listing" "$work/log")"
    [ -n "$win64" ] || continue
    rm -rf "$work/out"/*
    echo "cli.exe $(seconds "$WINELOADER" "$win64/src/cli/pagefold-cli.exe" --yes --start "${start//\//\\}" "$winsite" "$winres")"
    rm -rf "$work/out"/*
    seconds "$WINELOADER" "$win64/bench/window_bench_win32.exe" "$winsite" "$winres" >/dev/null
    echo "win32 $(grep -a "^listing" "$work/log" | tr -d "\r")"
  done
  [ -z "$win64" ] || /usr/lib/wine/wineserver -k
' window_bench "$build" "$win64" "$work" "$rounds" >"$work/runs"

# One row a window: the medians of its steps, its build against the CLI's.
python3 - "$work/runs" "$files" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    kind, *rest = line.split()
    if kind in ("cli", "cli.exe"):
        runs.setdefault(kind, []).append({"build": float(rest[0])})
    else:
        runs.setdefault(kind, []).append({rest[i]: float(rest[i + 1]) for i in range(0, 8, 2)})
med = lambda kind, step: statistics.median(r[step] for r in runs[kind])
print(f"{'window':8} {'files':>6} {'listing_s':>9} {'tick_s':>7} {'chooser_s':>9} {'build_s':>8} {'cli_s':>6} {'build/cli':>9}")
for window, cli in (("qt", "cli"), ("win32", "cli.exe")):
    if window not in runs:
        continue
    print(f"{window:8} {sys.argv[2]:>6} {med(window, 'listing'):9.2f} {med(window, 'tick'):7.2f} "
          f"{med(window, 'chooser'):9.2f} {med(window, 'build'):8.2f} {med(cli, 'build'):6.2f} "
          f"{med(window, 'build') / med(cli, 'build'):9.2f}")
PY
