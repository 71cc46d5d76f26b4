#!/usr/bin/env bash
# Installs what Pagefold needs, builds it into build/ and starts it: the window
# when there is a display, otherwise a pack of the sample site on the terminal.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh cmake g++ make pkg-config libgtest-dev libcpp-httplib-dev qt6-base-dev \
  qt6-translations-l10n
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/src/gui/qt/pagefold ]; then
  exec build/src/gui/qt/pagefold
fi
echo "No display: packing examples/site/ into build/sample.res with pagefold-cli."
rm -rf build/ARH build/sample.res build/sample.rc
build/src/cli/pagefold-cli --start index.htm examples/site build/sample.res
echo "Done: build/sample.res ($(stat -c %s build/sample.res) bytes), script build/sample.rc:"
cat build/sample.rc
