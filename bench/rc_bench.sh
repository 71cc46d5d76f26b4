#!/usr/bin/env bash
# Measures pagefold-rc against llvm-rc-14: the time for a script of 20,000
# small files, and the peak memory for one file of 1 GiB. Not run by ctest.
# Usage: bench/rc_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=${1:-build}
rc=$(realpath "$build/src/rescomp/pagefold-rc")
llvm=/usr/bin/llvm-rc-14
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Making 20,000 small files in $work ..."
mkdir -p "$work/ARH"
python3 - "$work" <<'PY'
import os, random, sys
work = sys.argv[1]
random.seed(1)
exts = ["htm", "gif", "css", "jpeg", "js"]
lines = []
for n in range(1, 20001):
    ext = exts[n % len(exts)]
    path = os.path.join(work, "ARH", f"search_file_nomber_{n}.{ext}")
    with open(path, "wb") as f:
        f.write(random.randbytes(random.randint(0, 3000)))
    lines.append(f'SEARCH_FILE_NOMBER_{n} {ext.upper()} "{path}"\r\n')
with open(os.path.join(work, "site.rc"), "w", newline="") as f:
    f.writelines(lines)
PY

# Best of three runs each, alternating, with a warm file cache.
seconds() { /usr/bin/time -f "%e" "$@" 2>&1 >/dev/null | tail -1; }
"$rc" "$work/site.rc" && mv "$work/site.res" "$work/ours.res"
"$llvm" -no-preprocess -fo "$work/llvm.res" "$work/site.rc"
cmp "$work/ours.res" "$work/llvm.res" && echo "Both .res files are byte-identical ($(stat -c %s "$work/ours.res") bytes)."
best_ours=999; best_llvm=999
for i in 1 2 3; do
  t=$(seconds "$rc" "$work/site.rc"); best_ours=$(python3 -c "print(min($best_ours, $t))")
  t=$(seconds "$llvm" -no-preprocess -fo "$work/llvm.res" "$work/site.rc"); best_llvm=$(python3 -c "print(min($best_llvm, $t))")
done
echo "20,000 files: pagefold-rc ${best_ours} s, llvm-rc-14 ${best_llvm} s, ratio $(python3 -c "print(round($best_ours / max($best_llvm, 0.005), 2))")"
rm -rf "$work/ARH" "$work"/*.res

echo "Making a file of 1 GiB ..."
head -c 1073741824 /dev/urandom > "$work/big.bin"
printf 'BIG BIN "%s"\r\n' "$work/big.bin" > "$work/big.rc"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ {print $2}'; }
echo "1 GiB file: pagefold-rc peak memory $(peak "$rc" "$work/big.rc") KiB"
echo "1 GiB file: llvm-rc-14 peak memory $(peak "$llvm" -no-preprocess -fo "$work/llvm.res" "$work/big.rc") KiB"
cmp "$work/big.res" "$work/llvm.res" && echo "Both .res files are byte-identical."
