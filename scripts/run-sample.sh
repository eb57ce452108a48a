#!/usr/bin/env bash
# Installs what is needed, builds, and converts the bundled sample to out/states.kml.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
mkdir -p out
./build/tessaly-convert data/states.shp -o out/states.kml --balloon id,name --rollover --labels rollover
echo "Open out/states.kml in Google Earth."
