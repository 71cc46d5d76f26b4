#!/usr/bin/env bash
# Takes docs/screenshot-win32.png: the Win32 windows of pagefold.exe under
# wine64 on a virtual X display, with a copy of examples/site listed, its
# files ticked and a start page picked. Builds what it needs in build-win64/
# (scripts/windows-build.sh makes that folder).
# Usage: scripts/screenshot-win32.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh xvfb xauth imagemagick wine64
if [ ! -f build-win64/CMakeCache.txt ]; then
  echo "No build-win64/: run scripts/windows-build.sh first." >&2
  exit 1
fi
cmake --build build-win64 -j2 --target screenshot_window_win32 >/dev/null

work=$(mktemp -d /tmp/pagefold-XXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p docs
cp -r examples/site "$work/site"
export WINEPREFIX=$PWD/build-win64/wine-prefix WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64

# On the display: start the windows, wait until they are drawn, take the part
# of the screen they cover, end them.
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  helper=$1 work=$2 out=$3
  "$WINELOADER" "$helper" "$work/site" "$work/site.res" >"$work/ready" &
  pid=$!
  for _ in $(seq 300); do grep -q "^ready" "$work/ready" && break; sleep 0.1; done
  area=$(sed -n "s/^ready //p" "$work/ready" | tr -d "\r")
  [ -n "$area" ] || { kill "$pid"; echo "the windows did not come up" >&2; exit 1; }
  import -window root -crop "$area" +repage "$out"
  kill "$pid"
  /usr/lib/wine/wineserver -k || true
' screenshot build-win64/tests/gui/win32/screenshot_window_win32.exe "$work" docs/screenshot-win32.png
echo "Wrote docs/screenshot-win32.png"
