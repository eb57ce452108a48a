#!/usr/bin/env bash
# Makes the Debian package from the build in $1 (default build/) and checks what it
# holds and what it depends on.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rm -f "$build"/tessaly_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/tessaly_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "$(basename "$deb"): Depends: $depends"

failed=0
expect() {
  if "$@"; then :; else echo "FAILED  ${*: -1}"; failed=1; fi
}
depends_on() { tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep -qxF "$1"; }

[ "$(dpkg-deb -f "$deb" Version)" = 2.1 ] || { echo "FAILED  version 2.1"; failed=1; }
# Worked out from the binaries, and what the programs need that no binary links.
for package in libc6 libstdc++6 libshp2 libqt6widgets6 libqt6gui6 libqt6core6 libqt6webenginewidgets6 libproj25 libisal2 \
               qt6-qpa-plugins fonts-liberation libjs-leaflet; do
  expect depends_on "$package"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/tessaly ./usr/bin/tessaly-convert ./usr/share/applications/tessaly.desktop \
            ./usr/share/mime/packages/tessaly.xml ./usr/share/man/man1/tessaly-convert.1.gz \
            ./usr/share/tessaly/site/software/howto/tessaly.html; do
  expect grep -q " $file\$" <<<"$contents"
done
[ $failed -eq 0 ] && echo "ok      package contents and dependencies"
exit $failed
