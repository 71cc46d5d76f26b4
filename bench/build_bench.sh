#!/usr/bin/env bash
# Times whole pagefold-cli builds of generated sites of 5,000, 20,000 and
# 80,000 files (a quarter pages of 50 links, the rest pictures) against
# `cp -r` of the same tree and Qt's `rcc --binary --no-compress` over a .qrc
# listing the same files, all in one run, with the ratios and the build's peak
# memory. The three run in turn, ROUNDS times (5 unless set); the table shows
# each one's median. As root it works on a tmpfs of its own, so
# that only the programs' own work counts; otherwise on the disk of $TMPDIR,
# whose write-back makes the figures swing. Not run by ctest.
# Usage: bench/build_bench.sh [BUILD_DIR] [SIZE ...]   (default: build 5000 20000 80000)
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(5000 20000 80000)
cli=$(realpath "$build/src/cli/pagefold-cli")
rcc=/usr/lib/qt6/libexec/rcc
"$(dirname "$0")/../scripts/install-packages.sh" qt6-base-dev-tools time

work=$(mktemp -d)
mounted=no
cleanup() {
  [ "$mounted" = no ] || umount "$work"
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=3g tmpfs "$work"; then
  mounted=yes
  echo "Working on a tmpfs at $work."
else
  echo "Working on the disk at $work (not root: no tmpfs); the figures swing with the write-back."
fi

# Writes SITE with FILES files and SITE.qrc listing them for rcc.
make_site() { python3 "$(dirname "$0")/make_site.py" "$1" "$2" --qrc; }

# The wall-clock time of one run of a command, in seconds to the
# millisecond; PREPARE runs before it and is not timed.
timed() {
  local prepare=$1
  shift
  eval "$prepare"
  sync
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  python3 -c "print(f'{$EPOCHREALTIME - $start:.3f}')"
}
median() { python3 -c "import statistics, sys; print(statistics.median(map(float, sys.argv[1:])))" "$@"; }
rounds=${ROUNDS:-5}
ratio() { python3 -c "print(f'{$1 / max($2, 0.005):.2f}')"; }

printf '%8s %8s %8s %8s %8s %8s %10s\n' files cp_s rcc_s build_s build/cp build/rcc peak_KiB
for files in "${sizes[@]}"; do
  rm -rf "$work"/*
  make_site "$work/site" "$files"
  # A build copies a file written in the last two seconds instead of linking
  # it, since it may still be being written; the user's site has settled.
  sleep 2.1
  mkdir "$work/out"
  if ! "$cli" --yes "$work/site" "$work/out/site.res" >"$work/cli.log" 2>&1; then
    tail "$work/cli.log"
    exit 1
  fi
  # The three commands in turn, round after round, so that a change in the
  # host's load falls on all three alike; each one's median counts.
  cp_times=() rcc_times=() build_times=()
  for ((round = 0; round < rounds; ++round)); do
    cp_times+=("$(timed 'rm -rf "$work/copy"' cp -r "$work/site" "$work/copy")")
    rcc_times+=("$(timed 'rm -f "$work/qt.rcc"' "$rcc" --binary --no-compress -o "$work/qt.rcc" "$work/site.qrc")")
    build_times+=("$(timed 'rm -f "$work/out/site.res" "$work/out/site.rc"' "$cli" --yes "$work/site" "$work/out/site.res")")
  done
  rm -rf "$work/copy" "$work/qt.rcc" "$work/out/site.res" "$work/out/site.rc"
  t_cp=$(median "${cp_times[@]}") t_rcc=$(median "${rcc_times[@]}") t_build=$(median "${build_times[@]}")
  /usr/bin/time -o "$work/time.txt" -f "%M" "$cli" --yes "$work/site" "$work/out/site.res" >/dev/null 2>&1
  peak_build=$(tail -1 "$work/time.txt")
  printf '%8s %8s %8s %8s %8s %8s %10s\n' "$files" "$t_cp" "$t_rcc" "$t_build" \
    "$(ratio "$t_build" "$t_cp")" "$(ratio "$t_build" "$t_rcc")" "$peak_build"
done
