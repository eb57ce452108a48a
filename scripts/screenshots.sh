#!/usr/bin/env bash
# Starts the desktop program under Xvfb on the bundled sample and saves a
# screenshot of each wizard page into out/screenshots/ (PNG).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
command -v xdotool >/dev/null && command -v import >/dev/null || {
  sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends xdotool imagemagick
}
bash scripts/build.sh build

shots=$PWD/out/screenshots
mkdir -p "$shots"
# A copy of its own, so that the program starts without a settings file.
run=$(mktemp -d)
trap 'kill ${app:-} ${webmap:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$run"' EXIT
cp build/tessaly "$run/"

export DISPLAY=${SCREENSHOT_DISPLAY:-:97}   # another number lets two runs share a machine
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
"$run/tessaly" "$PWD/data/states.shp" &
app=$!
sleep 2

window=$(xdotool search --sync --name 'Tessaly 2.1b' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shots/$1.png"; echo "$shots/$1.png"; }
next() { click 277 365; }
back() { click 197 365; }

shot 1-input
next; shot 2-visual
next; shot 3-single
back
click 38 309              # Unique Value
next
click 190 38; xdotool key Down Return; sleep 0.5   # the first field
shot 4-simbology
next; shot 5-balloon
next; shot 6-save

# The help menu, the About box and the web map window.
click 389 10                                   # SBHowto
import -window root -crop "$((WIDTH + 200))x${HEIGHT}+${X}+${Y}" "$shots/help-menu.png"; echo "$shots/help-menu.png"
xdotool key Up Return; sleep 1                 # the last entry: About
about=$(xdotool search --sync --name '^About$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$about" | sed 's/^/ABOUT_/')"
import -window root -crop "${ABOUT_WIDTH}x${ABOUT_HEIGHT}+${ABOUT_X}+${ABOUT_Y}" "$shots/about.png"; echo "$shots/about.png"
xdotool mousemove $((ABOUT_X + 20)) $((ABOUT_Y + 20)) click 1; sleep 0.5

# The web map at an extent (a city at the default zoom 10), in the program's own view and page
# (no network here: the page says that its tiles cannot be loaded).
QTWEBENGINE_DISABLE_SANDBOX=1 build/tests/tessaly_web_map_check -111.98 40.68 -111.78 40.82 --stay &
webmap=$!
sleep 8
gmaps=$(xdotool search --sync --onlyvisible --name 'Tessaly-Google Maps View' | tail -1)
eval "$(xdotool getwindowgeometry --shell "$gmaps" | sed 's/^/MAP_/')"
import -window root -crop "${MAP_WIDTH}x${MAP_HEIGHT}+${MAP_X}+${MAP_Y}" "$shots/web-map.png"; echo "$shots/web-map.png"
kill "$webmap"
