#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libshp-dev
  libgtest-dev
  gdal-bin proj-bin
  libxml2-utils unzip
  qt6-base-dev qt6-webengine-dev libjs-leaflet
  libproj-dev libisal-dev
  clang libclang-rt-14-dev
  desktop-file-utils dpkg-dev file shared-mime-info librsvg2-bin
  xvfb xauth fonts-liberation
  chromium xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
