#!/usr/bin/env bash
# Installs the build in $1 (default build/) into a temporary DESTDIR under /usr and
# checks the installed tree. One check a line below: add more the same way.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr

failed=0
check() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "ok      $what"; else echo "FAILED  $what"; failed=1; fi
}

# The program's name, the caption's version and the build tag, with no display.
prints_version() {
  local out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$1" --version)
  [ "$out" = "$1 2.1b (build 2-2/1/11)" ]
}
# The package names the shapefile type and the type database takes it.
mime_type_defined() {
  local mime=$root/mime
  cp -r "$usr/share/mime" "$mime"
  update-mime-database "$mime"
  grep -q '^application/x-esri-shape:\*\.shp$' <(cut -d: -f2- "$mime/globs2")
}
png_of_size() {
  file "$usr/share/icons/hicolor/$1x$1/apps/tessaly.png" | grep -q "PNG image data, $1 x $1"
}

check "tessaly --version"            prints_version tessaly
check "tessaly-convert --version"    prints_version tessaly-convert
check "desktop entry validates"      desktop-file-validate "$usr/share/applications/tessaly.desktop"
check "desktop entry opens .shp"     grep -qx 'MimeType=application/x-esri-shape;' "$usr/share/applications/tessaly.desktop"
check "MIME package defines *.shp"   mime_type_defined
check "scalable icon"                xmllint --noout "$usr/share/icons/hicolor/scalable/apps/tessaly.svg"
for size in 16 32 48 256; do
  check "icon ${size}x${size}"         png_of_size "$size"
done
# The pages sit where the installed program looks for them: ../share/tessaly/site beside it.
site_beside_program() {
  local site=$usr/bin/../share/tessaly/site
  [ -f "$site/software/howto/tessaly.html" ] && [ -f "$site/online/tessaly/tessaly_gmap.php" ] &&
    [ -f "$site/library/utmgrid.png" ] && [ -f "$site/javascript/leaflet/leaflet.js" ]
}
check "web pages beside the program" site_beside_program
check "manual page"                  bash -c "zcat '$usr/share/man/man1/tessaly-convert.1.gz' | grep -q '^\.SH OPTIONS'"

exit $failed
