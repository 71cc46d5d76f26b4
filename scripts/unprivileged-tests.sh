#!/usr/bin/env bash
# Runs the ctest suite of a build once more as the user nobody, since root
# passes tests of rights that a normal user fails:
#   scripts/unprivileged-tests.sh [BUILD_DIR]
# nobody reads the build and the sources where they are (a checkout made with
# umask 022 is readable by all); ctest's logs and the tests' scratch folders
# go to a fresh folder that nobody owns.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# A checkout below a private home folder (/root is 0700): nobody is let pass
# through the folders above it for this run only, without reading them.
opened=()
restore() { for dir in "${opened[@]}"; do chmod o-x "$dir"; done; }
trap restore EXIT
dir=$(dirname "$PWD")
while [ "$dir" != / ]; do
  if [ "$(id -u)" -eq 0 ] && ! "${as_nobody[@]}" test -x "$dir"; then
    chmod o+x "$dir"
    opened+=("$dir")
  fi
  dir=$(dirname "$dir")
done
if ! "${as_nobody[@]}" test -r "$build/CTestTestfile.cmake" -a -x "$build" -a -r "$PWD/examples/site"; then
  echo "The user nobody cannot read $build or $PWD; make them readable (chmod -R o+rX) first." >&2
  exit 1
fi
work=$(mktemp -d /tmp/pagefold-nobody.XXXXXX)
trap 'rm -rf "$work"; restore' EXIT
chmod 755 "$work"
mkdir "$work/ctest" "$work/tmp"
# A test folder of its own that only refers to the build's tests.
echo "subdirs(\"$build\")" > "$work/ctest/CTestTestfile.cmake"
chown nobody:nogroup "$work/ctest" "$work/tmp"
"${as_nobody[@]}" env HOME="$work/tmp" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp" \
  ctest --test-dir "$work/ctest" --output-on-failure -j"$(nproc)"
