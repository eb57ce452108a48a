#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build, then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer (the desktop
# program's tests run in the normal build, on Qt's offscreen platform), then the
# installed tree, the Debian package and the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"

bash scripts/build.sh build-sanitize -DTESSALY_SANITIZE=ON -DTESSALY_BENCH=OFF -DTESSALY_GUI=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"

bash scripts/check-install.sh build
bash scripts/check-package.sh build
bash scripts/fuzz-check.sh
