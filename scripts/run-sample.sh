#!/usr/bin/env bash
# Installs what is needed, builds, and runs the converter on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
./build/tessaly-convert --info data/states.shp
