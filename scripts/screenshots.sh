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
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$run"' EXIT
cp build/tessaly "$run/"

export DISPLAY=${SCREENSHOT_DISPLAY:-:97}
export QTWEBENGINE_DISABLE_SANDBOX=1   # the web view refuses its sandbox as root   # another number lets two runs share a machine
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

# The preview map beside the wizard, in the unique-value classes chosen above, and its pop-up menu.
preview=$(xdotool search --sync --name '^Preview Map$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$preview" | sed 's/^/P_/')"
xdotool mousemove $((P_X + 100)) $((P_Y + 340)); sleep 0.3   # the read-out, over Kansas
import -window root -crop "${P_WIDTH}x${P_HEIGHT}+${P_X}+${P_Y}" "$shots/preview-map.png"; echo "$shots/preview-map.png"
xdotool mousemove $((P_X + 11)) $((P_Y + 10)) click 1; sleep 0.5   # the menu button
import -window root -crop "${P_WIDTH}x${P_HEIGHT}+${P_X}+${P_Y}" "$shots/preview-menu.png"; echo "$shots/preview-menu.png"
xdotool key Escape; sleep 0.3
