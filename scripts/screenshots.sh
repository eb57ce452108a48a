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
export QTWEBENGINE_DISABLE_SANDBOX=1         # the web view refuses its sandbox as root
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
click 22 300; shot save-regions; click 22 300   # tiles with regions, then off again

# The preview map beside the wizard, in the unique-value classes chosen above, and its pop-up menu.
preview=$(xdotool search --sync --name '^Preview Map$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$preview" | sed 's/^/P_/')"
xdotool mousemove $((P_X + 100)) $((P_Y + 340)); sleep 0.3   # the read-out, over Kansas
import -window root -crop "${P_WIDTH}x${P_HEIGHT}+${P_X}+${P_Y}" "$shots/preview-map.png"; echo "$shots/preview-map.png"
xdotool mousemove $((P_X + 11)) $((P_Y + 10)) click 1; sleep 0.5   # the menu button
import -window root -crop "${P_WIDTH}x${P_HEIGHT}+${P_X}+${P_Y}" "$shots/preview-menu.png"; echo "$shots/preview-menu.png"
xdotool key Escape; sleep 0.3
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
gmaps=$(xdotool search --sync --onlyvisible --name 'Tessaly-Web Map View' | tail -1)
eval "$(xdotool getwindowgeometry --shell "$gmaps" | sed 's/^/MAP_/')"
import -window root -crop "${MAP_WIDTH}x${MAP_HEIGHT}+${MAP_X}+${MAP_Y}" "$shots/web-map.png"; echo "$shots/web-map.png"
kill "$webmap"

# The save dialog of "Create KML file": the document's file type, then KMZ.
screen() { import -window root "$shots/$1.png"; echo "$shots/$1.png"; }
click 170 325; sleep 1.5
dialog=$(xdotool search --sync --onlyvisible --name 'Save|Create|Tessaly' | tail -1)
xdotool windowactivate "$dialog" 2>/dev/null || true
screen 7-save-dialog
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/D/')"
xdotool mousemove $((DX + 300)) $((DY + 388)) click 1; sleep 0.5   # the file types
screen 8-save-dialog-types
xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.5
# The Input page set from a projected shapefile's .prj (a projection PROJ converts).
kill "$app"; wait "$app" 2>/dev/null || true
cp ../shared/data/projected/states_conus_albers.* "$run/"
"$run/tessaly" "$run/states_conus_albers.shp" &
app=$!
sleep 2
window=$(xdotool search --sync --name 'Tessaly 2.1b' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
shot input-prj
# Histogram and scatter plot: the sample has no numeric field, so a second
# instance runs on the block groups (numeric fields AREA, POP1990, ...).
"$run/tessaly" "$PWD/../shared/data/pyshp/blockgroups.shp" &
charts=$!
sleep 2
main=$(xdotool search --sync --all --pid "$charts" --name 'Tessaly 2.1b' | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
mainX=$X mainY=$Y
chart() {  # hint: opens the tool window, moves it into view and takes its geometry
  window=$(xdotool search --sync --all --pid "$charts" --name "^$1\$" | head -1)
  xdotool windowmove "$window" 0 0; sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
pick() {  # x y downs: opens a drop-down list at (x, y) of the window and moves so many entries down
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5
  for _ in $(seq "$3"); do xdotool key Down; done
  xdotool key Return; sleep 0.5
}
xdotool mousemove $((mainX + 343)) $((mainY + 10)) click 1   # Histogram
chart Histogram
pick 190 347 1                                 # field POP1990
pick 72 347 5                                  # 10 bins
xdotool mousemove $((X + 180)) $((Y + 250)); sleep 0.5   # the read-out of the bar under the mouse
shot histogram
xdotool key Escape; sleep 0.5
xdotool mousemove $((mainX + 366)) $((mainY + 10)) click 1   # Scatter Plot
chart 'Scatter Plot'
pick 100 $((HEIGHT - 17)) 1                    # X: POP1990
pick 270 $((HEIGHT - 17)) 0                    # Y: AREA
shot scatter
xdotool key Escape; sleep 0.5
kill "$charts"
# Symbology editing: the single symbol's picture, the Properties dialog on a point,
# a line and a polygon input, the icon picker, the Options menu and the ramp dialogs.
kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true
shared=$PWD/../shared/data
start() {
  "$run/tessaly" "$1" & app=$!
  sleep 2
  window=$(xdotool search --sync --pid "$app" --name 'Tessaly 2.1b' | head -1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
stop() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; }
# A dialog by its title: its own window, or with room below it for an open list.
dialog_shot() {
  local id; id=$(xdotool search --sync --pid "$app" --name "^$1\$" | tail -1)
  ( eval "$(xdotool getwindowgeometry --shell "$id")"
    import -window root -crop "$((WIDTH + ${4:-0}))x$((HEIGHT + ${3:-0}))+${X}+${Y}" "$shots/$2.png" )
  echo "$shots/$2.png"
}
click_in() {  # a click at a point of the window titled $1
  local id; id=$(xdotool search --sync --pid "$app" --name "^$1\$" | tail -1)
  xdotool mousemove --window "$id" "$2" "$3" click 1; sleep 0.7
}
single_picture() { click 200 131; sleep 0.5; }

start "$shared/shapefile-js/points.shp"
next; next; single_picture
dialog_shot Properties properties-point
click_in Properties 120 56          # the icon opens the picker
dialog_shot 'Icons from Google Earth' icon-picker
xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.3
stop

start "$shared/shapefile-js/polylines.shp"
next; next; single_picture
dialog_shot Properties properties-line
xdotool key Escape; sleep 0.3
stop

start "$PWD/data/states.shp"
next; next; shot single-click-to-change
single_picture
dialog_shot Properties properties-polygon
xdotool key Escape; sleep 0.3
back; click 38 309; next          # Unique Value
click 190 38; xdotool key Down Return; sleep 0.5
click 180 333                     # Options
import -window root -crop "$((WIDTH + 150))x$((HEIGHT + 220))+${X}+${Y}" "$shots/options-menu.png"; echo "$shots/options-menu.png"
xdotool key Escape; sleep 0.3
click 275 333                     # Color Ramps
dialog_shot 'Color Ramps' ramps-unique
click_in 'Color Ramps' 100 20     # the list open
dialog_shot 'Color Ramps' ramps-unique-list 200 40
xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.3
stop

start "$shared/pyshp/blockgroups.shp"
next; click 38 329; next          # Graduate Value
click 190 38; xdotool key Down Return; sleep 0.5
click 275 333                     # Ramps
dialog_shot 'Color Ramp' ramps-graduated
click_in 'Color Ramp' 130 62      # the ramp lists open
dialog_shot 'Color Ramp' ramps-graduated-list 420 40
xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.3
stop

# The placemarks' time on a shapefile with a date field: the Time group under the
# balloon, then the range the Save page states.
start "$shared/shapefile-js/date-property.shp"
next; next; next
click 150 330; xdotool key Down Return; sleep 0.5   # ComboTime: the date field
shot time
next; shot time-save
# What the wizard says and takes from the keyboard: the focus on Next (pressed and
# let go beside it, so it takes the focus without a click), Return through the pages
# and as "Create KML file", the summary of the run, and a class text too long for the
# grid shown whole in its tooltip.
start "$PWD/data/states.shp"
xdotool mousemove $((X + 277)) $((Y + 365)) mousedown 1 mousemove $((X + 277)) $((Y + 395)) mouseup 1; sleep 0.5
shot focus-next
for _ in 1 2 3 4; do xdotool key Return; sleep 0.5; done   # Visual, Single, Balloon, Save
click 200 36                      # Layer Title
xdotool key Return; sleep 1.5     # Create KML file: the save dialog
xdotool key ctrl+a; xdotool type "$run/states-wizard.kml"; xdotool key Return; sleep 3
shot save-done
back; back; back                  # Visual
click 38 309; next                # Unique Value
click 190 38; xdotool key Down Down Return; sleep 0.5   # field "name"
xdotool mousemove $((X + 200)) $((Y + 240)); sleep 0.3; xdotool mousemove $((X + 210)) $((Y + 242)); sleep 2
import -window root -crop "$((WIDTH + 150))x${HEIGHT}+${X}+${Y}" "$shots/class-tooltip.png"; echo "$shots/class-tooltip.png"
stop
