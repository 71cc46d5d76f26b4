#!/usr/bin/env bash
# Builds the whole suite a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs it. Any report fails the
# run, also one from a program that a test starts (pagefold-cli, the carried
# compiler): every report goes to a log file, and a log file left is a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh cmake make pkg-config clang-14 libclang-rt-14-dev libgtest-dev libcpp-httplib-dev qt6-base-dev \
  qt6-translations-l10n locales
scripts/install-locales.sh ru_RU.UTF-8 ru_RU.KOI8-R

dir=build-asan
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Line tables are all that a report's stack needs; full debug information
# only makes the compile longer.
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="$sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" -DPAGEFOLD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)"

# A fresh folder for the reports; tests that run programs as another user
# (setpriv) must be able to write there too.
logs=$PWD/$dir/sanitizer-logs
rm -rf "$logs"
mkdir -m 1777 "$logs"
export ASAN_OPTIONS="log_path=$logs/asan:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="log_path=$logs/ubsan:print_stacktrace=1:halt_on_error=1"
status=0
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" || status=$?
if [ -n "$(ls -A "$logs")" ]; then
  echo "Sanitizer reports:"
  for report in "$logs"/*; do
    echo "== $report"
    cat "$report"
  done
  status=1
fi
exit $status
