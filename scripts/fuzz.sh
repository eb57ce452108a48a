#!/usr/bin/env bash
# An open-ended fuzzing run of one target (shapefile_reader, attribute_table or
# conversion) until it is stopped or finds something; extra arguments go to libFuzzer
# (-jobs=2, -max_total_time=3600 ...). The corpus grows in out/fuzz-corpus/TARGET;
# a finding lands in out/fuzz-findings/. Keep what it finds as a regression input in
# tests/fuzz/regressions/TARGET/ once it is mended.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh shapefile_reader|attribute_table|conversion [libFuzzer options]}
shift
bash scripts/setup.sh
bash scripts/fuzz-build.sh
# Every run writes its input to files: keep them in memory.
if [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
corpus=out/fuzz-corpus/$target
mkdir -p "$corpus" out/fuzz-findings
kept=(tests/fuzz/corpus/$target)
[ -d "tests/fuzz/regressions/$target" ] && kept+=("tests/fuzz/regressions/$target")
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  exec "build-fuzz/fuzz/fuzz_$target" -max_len=65536 -timeout=20 -artifact_prefix=out/fuzz-findings/ \
    "$@" "$corpus" "${kept[@]}"
