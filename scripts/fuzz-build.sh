#!/usr/bin/env bash
# Configures and builds the fuzz targets with clang into build-fuzz/ (build-fuzz/fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
  -DTESSALY_GUI=OFF -DTESSALY_TESTS=OFF -DTESSALY_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_shapefile_reader fuzz_attribute_table fuzz_conversion
