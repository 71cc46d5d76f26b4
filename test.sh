#!/usr/bin/env bash
# Installs what the tests need, builds everything (warnings as errors) and runs
# the whole suite.
#   ./test.sh            everything, as CI runs it
#   ./test.sh --quick    only the Linux build and its tests
set -euo pipefail
cd "$(dirname "$0")"
quick=false
[ "${1:-}" = "--quick" ] && quick=true
jobs=$(nproc)
scripts/install-packages.sh cmake g++ make pkg-config libgtest-dev libcpp-httplib-dev llvm-14 qt6-base-dev \
  qt6-translations-l10n locales
scripts/install-locales.sh ru_RU.UTF-8 ru_RU.KOI8-R
# Every build below goes through a compiler cache that any checkout shares,
# so a later run compiles only what changed.
scripts/install-packages.sh ccache
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true CMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# The same suite as the user nobody, who has no rights that root has.
scripts/unprivileged-tests.sh build
$quick && exit 0
# The sample site's .res in headless Chromium through pagefold-cli --serve.
scripts/install-packages.sh chromium-headless-shell
scripts/browser-test.sh build
# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer,
# then each fuzz target for 15 s.
scripts/sanitizer-tests.sh
scripts/fuzz.sh 15
# The Windows side: cross-builds with MinGW-w64, tests under wine64, the sample
# site built by pagefold-cli.exe against the Linux .res.
scripts/windows-build.sh build
# The .deb (checked by lintian, installed, used, removed) and the two .zip
# files, each made twice to the same bytes.
scripts/packages.sh build
