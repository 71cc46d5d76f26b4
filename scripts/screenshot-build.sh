#!/usr/bin/env bash
# Takes docs/window-qt-20000.png and docs/window-win32-20000.png: each window
# at the end of a build of a generated site of 20,000 files (bench/make_site.py),
# every file ticked and the first page picked as the start page, with the
# closing message over it, on a virtual X display (the Win32 window under
# wine64). The Win32 picture needs WIN64_DIR as scripts/windows-build.sh makes
# build-win64/; without it only the Qt picture is taken.
# Usage: scripts/screenshot-build.sh [BUILD_DIR] [WIN64_DIR]   (default: build build-win64)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build} win64=${2:-build-win64}
scripts/install-packages.sh xvfb xauth imagemagick wine64 python3
cmake --build "$build" -j2 --target screenshot_window >/dev/null
[ -f "$win64/CMakeCache.txt" ] || win64=
[ -z "$win64" ] || cmake --build "$win64" -j2 --target screenshot_window_win32 >/dev/null

work=$(mktemp -d /tmp/pagefold-XXXX)
trap 'rm -rf "$work"' EXIT
python3 bench/make_site.py "$work/site" 20000
mkdir -p docs "$work/out"
export WINEPREFIX=$PWD/${win64:-build-win64}/wine-prefix WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64

# On a display of its own: starts the helper, which builds and prints "ready
# WIDTHxHEIGHT" once the closing message is drawn; takes that part of the
# screen and ends the helper. A build of 20,000 files takes its time: up to
# ten minutes are waited for.
shoot() {
  local out=$1
  shift
  rm -rf "$work/out"/* "$work/ready"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    out=$1 ready=$2
    shift 2
    "$@" >"$ready" &
    pid=$!
    for _ in $(seq 6000); do grep -q "^ready" "$ready" && break; sleep 0.1; done
    area=$(sed -n "s/^ready //p" "$ready" | tr -d "\r")
    [ -n "$area" ] || { kill "$pid"; echo "the closing message did not come up" >&2; exit 1; }
    import -window root -crop "$area" +repage "$out"
    kill "$pid"
  ' shoot "$out" "$work/ready" "$@"
  echo "Wrote $out"
}

shoot docs/window-qt-20000.png "$build/tests/gui/qt/screenshot_window" "$work/site" "$work/out/site.res" --build
if [ -n "$win64" ]; then
  mkdir -p "$WINEPREFIX"
  shoot docs/window-win32-20000.png "$WINELOADER" "$win64/tests/gui/win32/screenshot_window_win32.exe" \
    "Z:${work//\//\\}\\site" "Z:${work//\//\\}\\out\\site.res" --build
  /usr/lib/wine/wineserver -k || true
fi
