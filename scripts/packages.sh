#!/usr/bin/env bash
# Makes the packages and checks them: the .deb from LINUX_BUILD (default
# build/), checked by lintian, installed with apt-get, used and removed again;
# the .zip files from build-win32/ and build-win64/ (scripts/windows-build.sh
# makes them). Each package is made twice and must come out byte for byte the
# same; the time stamps inside are the last commit's (SOURCE_DATE_EPOCH). The
# packages end up in packages/.
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build}
scripts/install-packages.sh lintian dpkg-dev desktop-file-utils bash-completion
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
out=$PWD/packages
rm -rf "$out"
mkdir -p "$out/again"

# Makes one build's package twice, into packages/ and packages/again/.
make_twice() {
  local build=$1 generator=$2
  cpack --config "$build/CPackConfig.cmake" -G "$generator" -B "$out" >/dev/null
  cpack --config "$build/CPackConfig.cmake" -G "$generator" -B "$out/again" >/dev/null
}
make_twice "$linux_build" DEB
make_twice build-win32 ZIP
make_twice build-win64 ZIP
rm -rf "$out/_CPack_Packages" "$out/again/_CPack_Packages"
for package in "$out"/*.deb "$out"/*.zip; do
  cmp "$package" "$out/again/${package##*/}"
  echo "Made twice, the same bytes: ${package##*/}"
done
rm -rf "$out/again"

deb=$(echo "$out"/pagefold_*.deb)
echo "lintian:"
lintian --fail-on error --allow-root "$deb"

# Installed as a user installs it, used from the installed files only, removed.
if dpkg-query -W -f='${Status}' pagefold 2>/dev/null | grep -q "install ok installed"; then
  echo "pagefold is installed already: the installation test needs a system without it." >&2
  exit 1
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
trap '"${sudo_cmd[@]}" apt-get purge -y -qq pagefold >/dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null
[ "$(pagefold-cli --version)" = "pagefold-cli $(sed -n 's/^project(Pagefold VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)" ]
desktop-file-validate /usr/share/applications/pagefold.desktop
# bash finds the completion by the program's name.
completion=$(bash -c 'source /usr/share/bash-completion/bash_completion && _completion_loader pagefold-cli
  COMP_WORDS=(pagefold-cli --dep) COMP_CWORD=1 COMP_LINE="pagefold-cli --dep" COMP_POINT=18
  _pagefold_cli pagefold-cli --dep pagefold-cli && echo "${COMPREPLY[*]}"')
[ "$completion" = --depfile ]
site=$(mktemp -d)
trap '"${sudo_cmd[@]}" apt-get purge -y -qq pagefold >/dev/null 2>&1 || true; rm -rf "$site"' EXIT
cp -r examples/site "$site/site"
cat >"$site/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(InstalledPagefold NONE)
find_package(Pagefold 1 REQUIRED)
add_custom_target(app ALL)
pagefold_add_site(app SOURCE_DIR site START index.htm OUTPUT site.res)
CMAKE
cmake -S "$site" -B "$site/build" >/dev/null
cmake --build "$site/build" >/dev/null
"$linux_build/src/cli/pagefold-cli" --start index.htm examples/site "$site/expected.res" 2>/dev/null
cmp "$site/build/site.res" "$site/expected.res"
echo "The installed package packed the sample site through find_package(Pagefold), as the build does."
"${sudo_cmd[@]}" apt-get purge -y -qq pagefold >/dev/null
if command -v pagefold-cli >/dev/null || [ -e /usr/lib/cmake/Pagefold ]; then
  echo "Removing the package left its files behind." >&2
  exit 1
fi
echo "Installed, used and removed: ${deb##*/}"
