#!/usr/bin/env bash
# Builds optimised and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DTESSALY_TESTS=OFF
./build-release/tessaly-bench-reader "$@"
./build-release/tessaly-bench-convert "$@"
./build-release/tessaly-bench-charts
./build-release/tessaly-bench-natural-breaks
./build-release/tessaly-bench-preview
