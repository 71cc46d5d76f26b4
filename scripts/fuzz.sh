#!/usr/bin/env bash
# Builds the fuzz targets under fuzz/ into build-fuzz/ and runs each for a
# fixed time, two at a time, from its seed corpus in fuzz/corpus/<target>/.
# A crash, a leak, an input that takes more than a second, an uncaught
# exception or a sanitizer report fails the run; the input that did it is
# kept in build-fuzz/findings/<target>/.
#   scripts/fuzz.sh [SECONDS]    (default 15 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
scripts/install-packages.sh cmake make pkg-config clang-14 libclang-rt-14-dev libcpp-httplib-dev

dir=build-fuzz
targets=(script_parser_fuzz link_rewriting_fuzz ini_reader_fuzz res_reader_fuzz)
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DPAGEFOLD_FUZZ=ON -DPAGEFOLD_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"

# Runs one target; new inputs go to a scratch corpus, so the seeds in the
# repository stay as they are.
run_target() {
  local target=$1
  local work=$dir/fuzz-work/$target findings=$dir/findings/$target
  rm -rf "$work" "$findings"
  mkdir -p "$work" "$findings"
  if "$dir/fuzz/$target" "$work" "fuzz/corpus/$target" -max_total_time="$seconds" -timeout=1 \
      -rss_limit_mb=2048 -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$findings/" \
      >"$dir/$target.log" 2>&1; then
    echo "$target: $(grep -E '^stat::number_of_executed_units' "$dir/$target.log" | awk '{print $2}') runs, nothing found"
  else
    echo "$target: FAILED"
    tail -n 60 "$dir/$target.log"
    return 1
  fi
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run_target "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
done
exit $status
