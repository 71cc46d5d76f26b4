#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-packages.sh cmake g++ make pkg-config libgtest-dev libcpp-httplib-dev llvm-14 qt6-base-dev \
  chromium-headless-shell
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
# The sample site's .res in headless Chromium through pagefold-cli --serve.
scripts/browser-test.sh build
# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer,
# then each fuzz target for 30 s.
scripts/sanitizer-tests.sh
scripts/fuzz.sh 30
# The Windows side: cross-builds with MinGW-w64, tests under wine64, the sample
# site built by pagefold-cli.exe against the Linux .res.
scripts/windows-build.sh build
