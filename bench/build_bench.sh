#!/usr/bin/env bash
# Times a whole pagefold-cli build of a generated site of 20,000 small files
# (5,000 pages linking the rest) against `cp -r` of the same tree, and the
# peak memory of the build. Not run by ctest.
# Usage: bench/build_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=${1:-build}
cli=$(realpath "$build/src/cli/pagefold-cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/site" <<'PY'
import os, random, sys
site = sys.argv[1]
random.seed(7)
for folder in range(20):
    os.makedirs(os.path.join(site, f"d{folder}"), exist_ok=True)
names = [f"d{n % 20}/f{n}.{['gif', 'css', 'js'][n % 3]}" for n in range(15000)]
for name in names:
    with open(os.path.join(site, name), "wb") as f:
        f.write(random.randbytes(random.randint(50, 2000)))
for p in range(5000):
    links = "".join(f'<a href="../{random.choice(names)}">x</a>\n' for _ in range(50))
    with open(os.path.join(site, f"d{p % 20}", f"page{p}.htm"), "w") as f:
        f.write(f"<html><body>{links}</body></html>\n")
PY
echo "Site: $(find "$work/site" -type f | wc -l) files, $(du -sh "$work/site" | cut -f1)"

sync
/usr/bin/time -f "cp -r: %e s, peak %M KiB" cp -r "$work/site" "$work/copy"
mkdir "$work/out"
/usr/bin/time -f "pagefold-cli: %e s, peak %M KiB" "$cli" --yes "$work/site" "$work/out/site.res" 2>"$work/cli.log" || {
  tail "$work/cli.log"; exit 1; }
grep -E '^(pagefold-cli|cp -r):' "$work/cli.log" || true
tail -1 "$work/cli.log"
echo "Resource file: $(stat -c %s "$work/out/site.res") bytes"
