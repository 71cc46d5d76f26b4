#!/usr/bin/env bash
# Cross-builds everything, the Win32 window pagefold.exe included, for 32- and
# 64-bit Windows with MinGW-w64 into build-win32/ and build-win64/, runs the
# 64-bit test programs under wine64 (the window's on a virtual X display),
# and builds the sample site with pagefold-cli.exe and through the window,
# whose .res must equal the one of the Linux pagefold-cli in LINUX_BUILD
# (default build/).
# The 32-bit build, the tool's own target, is only compiled, without its
# test programs: wine64 alone cannot run 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/.."
linux_cli=${1:-build}/src/cli/pagefold-cli
if [ ! -x "$linux_cli" ]; then
  echo "No Linux pagefold-cli at $linux_cli: build it first (./test.sh does)." >&2
  exit 1
fi
scripts/install-packages.sh cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 googletest xvfb xauth

# GoogleTest from Debian's sources, built with the same toolchain as the tests.
build_googletest() {
  local toolchain=$1 dir=$2
  [ -f "$dir/googletest/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
  cmake -S /usr/src/googletest -B "$dir/googletest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$dir/googletest" \
    >/dev/null
  cmake --build "$dir/googletest-build" -j"$(nproc)" >/dev/null
  cmake --install "$dir/googletest-build" >/dev/null
}

# Configures and builds one target, warnings as errors; test discovery waits
# for ctest, so building needs no Windows to run on. -O2 as on Linux (GCC 12
# gives a false -Wrestrict in std::string at -O3), without debug information,
# which makes the build half as long again.
# With "tests", the test programs too.
build_for() {
  local arch=$1 dir=$2 tests=$3
  shift 3
  local toolchain=$PWD/cmake/mingw-w64-$arch.cmake
  local testing=(-DBUILD_TESTING=OFF)
  if [ "$tests" = tests ]; then
    build_googletest "$toolchain" "$dir"
    testing=(-DGTest_DIR="$PWD/$dir/googletest/lib/cmake/GTest" -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
  fi
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$dir" "${launcher[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "${testing[@]}" \
    -DPAGEFOLD_GUI=OFF "$@"
  cmake --build "$dir" -j"$(nproc)"
}

wine=/usr/lib/wine/wine64
build_for i686 build-win32 no-tests
build_for x86_64 build-win64 tests -DCMAKE_CROSSCOMPILING_EMULATOR="$wine"

# A Wine prefix of our own inside the build folder; console programs need no
# display. One server stays up for all test programs (each start of a server
# costs seconds) and is ended at the end.
export WINEPREFIX=$PWD/build-win64/wine-prefix WINEDEBUG=-all WINELOADER=$wine
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p || true  # a server already up for this prefix serves as well
trap '/usr/lib/wine/wineserver -k || true' EXIT
"$wine" wineboot --init >/dev/null 2>&1
ctest --test-dir build-win64 --output-on-failure -j"$(nproc)"

site=build-win64/sample-site
rm -rf "$site"
mkdir -p "$site/linux" "$site/windows folder"
"$linux_cli" --start index.htm examples/site "$site/linux/site.res" 2>/dev/null

# The window's tests, in one program on a virtual X display; among them a
# whole build of the sample site through the window, against the Linux .res.
# The server started above has no display: the window's program starts its own.
/usr/lib/wine/wineserver -k || true
if xvfb-run -a true 2>/dev/null; then
  PAGEFOLD_LINUX_SITE_RES=$site/linux/site.res xvfb-run -a -s "-screen 0 1024x768x24" \
    "$wine" build-win64/tests/gui/win32/win32_window_test.exe --gtest_brief=1
else
  echo "SKIPPED: the tests of the Win32 window (pagefold.exe): no virtual X display could be started." >&2
fi

# The sample site, built by pagefold-cli.exe into a folder with a blank in its
# name. Wine's process trace shows the carried compiler started as brcc32.exe
# from the build's private folder in the temporary folder, with the script's
# short path as its argument.
WINEDEBUG=-all,trace+process "$wine" build-win64/src/cli/pagefold-cli.exe --start index.htm examples/site \
  "$site/windows folder/site.res" 2>"$site/wine-trace.txt"
run=$(grep -aE 'Temp\\\\pagefold-[^\\]+\\\\brcc32\.exe" cmdline' "$site/wine-trace.txt" | head -n1)
argument=$(sed -n 's/.*brcc32\.exe\\" \(.*\)"$/\1/p' <<<"$run")
echo "pagefold-cli.exe ran: ${run#*cmdline }"
if [[ $argument != *"~"* || $argument == *" "* ]]; then
  echo "The compiler did not get the script's short path: $argument" >&2
  exit 1
fi
if compgen -G "$WINEPREFIX/drive_c/users/*/Temp/pagefold-*" >/dev/null || [ -e "$site/windows folder/ARH" ]; then
  echo "The build left its compiler or its work folder behind." >&2
  exit 1
fi
cmp "$site/linux/site.res" "$site/windows folder/site.res"
echo "The sample site's .res from pagefold-cli.exe is byte-identical to the Linux build's."

# examples/embed, built by a user's project against the installed Linux build,
# opens the packed site through res: under Wine.
scripts/embed-test.sh "${1:-build}" x86_64
