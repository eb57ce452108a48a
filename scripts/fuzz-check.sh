#!/usr/bin/env bash
# The fuzzing part of the test command: builds the fuzz targets, replays the kept
# corpus and every regression input, then runs each target a fixed number of runs
# from a fixed seed. Fails on any finding (the input is left in out/fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/fuzz-build.sh
# Every run writes its input to files: keep them in memory.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Runs per target: about twenty seconds each on an idle two-core machine.
declare -A runs=([shapefile_reader]=200000 [attribute_table]=60000 [conversion]=18000)
limits=(-max_len=8192 -timeout=10 -rss_limit_mb=2048 -print_final_stats=0)

failed=0
for target in shapefile_reader attribute_table conversion; do
  fuzzer=build-fuzz/fuzz/fuzz_$target
  found=out/fuzz/$target
  rm -rf "$found" && mkdir -p "$found/new"
  log=$found/log.txt
  shopt -s nullglob
  inputs=(tests/fuzz/corpus/$target/* tests/fuzz/regressions/$target/*)
  shopt -u nullglob
  start=$SECONDS
  if "$fuzzer" "${limits[@]}" -artifact_prefix="$found/" "${inputs[@]}" >"$log" 2>&1 &&
     "$fuzzer" "${limits[@]}" -artifact_prefix="$found/" -seed=1 -runs="${runs[$target]}" \
       "$found/new" "tests/fuzz/corpus/$target" >>"$log" 2>&1; then
    echo "ok      fuzz_$target: ${#inputs[@]} kept inputs, ${runs[$target]} runs ($((SECONDS - start)) s)"
  else
    echo "FAILED  fuzz_$target: see $log"; tail -40 "$log"; failed=1
  fi
done
exit $failed
