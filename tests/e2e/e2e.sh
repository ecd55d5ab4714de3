#!/usr/bin/env bash
# The real picmetra under an X server, driven by real X input: calibrate, measure, save the
# project through the file dialog, quit, start again, open it, and check the results with
# picmetra-cli. Run inside xvfb-run; a screenshot of each stage is left in the work folder.
# usage: e2e.sh PICMETRA PICMETRA_CLI WORKDIR
set -euo pipefail
app=$1 cli=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
cd "$work"

# A plan to measure on: 600 x 400 pixels, light with dark walls.
convert -size 600x400 xc:'#f4f1e8' -stroke '#333' -strokewidth 6 -fill none \
    -draw "rectangle 40,40 560,360" -draw "line 300,40 300,250" plan.png

pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; }
trap cleanup EXIT

start() {
    "$app" "$@" > "$work/picmetra.log" 2>&1 &
    pid=$!
    win=$(xdotool search --sync --onlyvisible --name "Tervalo Picmetra" | head -1)
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$win")"
    X0=$X Y0=$Y
}
at() { xdotool mousemove $((X0 + $1)) $((Y0 + $2)); }
click() { at "$1" "$2"; xdotool click "${3:-1}"; sleep 0.3; }
# Positions inside the window, as the layout puts them.
tool() { click 19 $((71 + 32 * $1)); } # 0 pointer ... 8 graphical scale, 9 text
pic() { click $((39 + $1)) $((52 + $2)) "${3:-1}"; } # picture pixels at 100 %
menu_file() { click 20 8; }
quit() { menu_file; click 45 305; wait "$pid" || true; pid=""; }

start "$work/plan.png"
# The zoom to 100 %, so that window pixels are picture pixels.
click 119 35
xdotool key ctrl+a type 100
xdotool key Return
sleep 0.3

# Calibrate: a reference line of 200 pixels is 50 mm.
tool 8
pic 100 100
pic 300 100
sleep 0.5
xdotool key Tab ctrl+a type 50
xdotool key Tab ctrl+a type mm
xdotool key Return
sleep 0.5
# A distance, a polygon (closed with the right button) and a rectangle, each with a label.
tool 2
pic 100 150; pic 300 150; pic 200 180
sleep 0.4; xdotool type D1; xdotool key Return; sleep 0.3
tool 4
pic 100 220; pic 300 220; pic 300 320; pic 350 350 3
sleep 0.4; xdotool type P1; xdotool key Return; sleep 0.3
tool 5
pic 400 100; pic 500 180
sleep 0.4; xdotool type R1; xdotool key Return; sleep 0.5
import -window root "$work/measured.png"

# Save through the file dialog, then quit.
menu_file; click 76 143
sleep 1
xdotool type "$work/haus.ver"; xdotool key Return
sleep 1
quit
test -s "$work/haus.ver"

# Start again, open the project, look at it.
start
menu_file; click 78 121
sleep 1
xdotool type "$work/haus.ver"; xdotool key Return
sleep 1
import -window root "$work/reopened.png"
quit

# The results, read by the command-line tool from the file the program saved.
"$cli" results "$work/haus.ver" --scale 200:50 --unit mm > results.csv
cat results.csv
expect() { grep -qF "$1" results.csv || { echo "missing: $1"; exit 1; }; }
expect 'Abstand,D1,50.0000,,0.0000,mm'
expect 'Polygon,P1,130.9017,625.0000,,mm'
expect 'Rechteck,R1,90.0000,500.0000,,mm'
[ "$(grep -c . results.csv)" -eq 4 ] || { echo "unexpected rows"; exit 1; }
"$cli" info "$work/haus.ver" | grep -q 'graphical scales: 1'
echo "1 passed, 0 failed"
