#!/usr/bin/env bash
# Takes docs/screenshot.png: the real windows on a virtual X display, with a
# copy of examples/site listed, its files ticked and a start page picked.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/install-packages.sh cmake g++ make pkg-config libgtest-dev libcpp-httplib-dev qt6-base-dev xvfb xauth imagemagick fonts-dejavu-core
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target screenshot_window

work=$(mktemp -d /tmp/pagefold-XXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p docs
cp -r examples/site "$work/site"

# On the display: start the windows, wait until they are drawn, take the part
# of the screen they cover, end them.
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  helper=$1 work=$2 out=$3
  "$helper" "$work/site" "$work/site.res" >"$work/ready" &
  pid=$!
  for _ in $(seq 100); do grep -q "^ready" "$work/ready" && break; sleep 0.1; done
  area=$(sed -n "s/^ready //p" "$work/ready")
  [ -n "$area" ] || { kill "$pid"; echo "the windows did not come up" >&2; exit 1; }
  import -window root -crop "$area" +repage "$out"
  kill "$pid"
' screenshot "$build/tests/gui/qt/screenshot_window" "$work" docs/screenshot.png
echo "Wrote docs/screenshot.png"
