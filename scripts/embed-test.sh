#!/usr/bin/env bash
# examples/embed as a user builds it: LINUX_BUILD (default build/) installed
# into a prefix, the example configured with Ninja and MinGW-w64 against that
# prefix's find_package(Pagefold), run under Wine (WINELOADER, WINEPREFIX set
# by the caller), and rebuilt: a touched page or a new file packs again, no
# change does nothing. The site is a copy of examples/site.
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build}
arch=${2:-x86_64}
scripts/install-packages.sh ninja-build
dir=$PWD/build-embed-$arch
rm -rf "$dir"
cmake --install "$linux_build" --prefix "$dir/pagefold" >/dev/null
cp -r examples/site "$dir/site"
cmake -G Ninja -S examples/embed -B "$dir/app" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DPagefold_DIR="$dir/pagefold/lib/cmake/Pagefold" -DSITE_DIR="$dir/site" >/dev/null

# Builds and says whether the site was packed.
build() {
  ninja -C "$dir/app" >"$dir/ninja.txt" 2>&1 || { cat "$dir/ninja.txt"; return 1; }
  grep -q "Packing " "$dir/ninja.txt" && echo packed || echo "not packed"
}
expect() {
  if [ "$1" != "$2" ]; then
    echo "examples/embed, $3: $1 instead of $2" >&2
    exit 1
  fi
}
run() { "$WINELOADER" "$dir/app/embed.exe"; }

expect "$(build)" packed "first build"
expect "$(run)" "Ресурсов открыто: 10, ссылок без ресурса: 0" "the packed site"
expect "$(ninja -C "$dir/app" -n | tail -n1)" "ninja: no work to do." "a build without a change"
sleep 1  # a new time stamp on file systems that count whole seconds
touch "$dir/site/pages/about.htm"
expect "$(build)" packed "a touched page"
expect "$(ninja -C "$dir/app" -n | tail -n1)" "ninja: no work to do." "a second build after the touched page"
sleep 1
cp "$dir/site/index.htm" "$dir/site/new.htm"
expect "$(build)" packed "a file added"
printf '<a href="pages/gone.htm">gone</a>' >>"$dir/site/pages/about.htm"
build >/dev/null
if run >"$dir/run.txt"; then
  echo "examples/embed found no broken link where there is one" >&2
  exit 1
fi
expect "$(cat "$dir/run.txt")" $'HTM/SEARCH_FILE_NOMBER_9 -> pages/gone.htm\nРесурсов открыто: 10, ссылок без ресурса: 1' "a broken link"
echo "examples/embed ($arch): built, every link of the packed site opened through res: under Wine, packed again only on a change."
