#!/usr/bin/env bash
# Takes the README's screenshots: the main window after a report of the simulated logger's demo
# day, the photo window with four generated photos placed on that day's track, and the trip
# map of that day (without tiles: the program's settings file is set aside meanwhile).
#
#   tools/screenshots.sh [FOLDER]      (default: docs/)
#
# Needs Xvfb, xdotool, ImageMagick and exiv2 (apt-get install xvfb xdotool imagemagick exiv2).
# Without a window manager each window sits at the top left of the screen, so the clicks below
# are plain screen positions.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
mkdir -p "$out"

work=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-shots.XXXXXX")
xvfb="" run=""
# The settings of the program tools/run.sh starts, with no tile server for the trip map.
settings=build/release/shell/Tellurix.ini
[ -f "$settings" ] && mv "$settings" "$work/Tellurix.ini"
mkdir -p "$(dirname "$settings")"
printf '[Map]\r\nTileUrl=\r\n' >"$settings"
finish() {
  [ -n "$run" ] && kill "$run" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -f "$settings"
  [ -f "$work/Tellurix.ini" ] && mv "$work/Tellurix.ini" "$settings"
  rm -rf "$work"
}
trap finish EXIT

# Four photos of the demo day, by the camera's clock (local time of the demo's zone).
mkdir -p "$work/photos"
times=("09:12:05" "10:41:30" "12:03:11" "14:27:48")
for i in 0 1 2 3; do
  photo="$work/photos/p$((i + 1)).jpg"
  convert -size 1024x768 -seed $((i + 1)) plasma:fractal -blur 0x2 "$photo"
  exiv2 -M"set Exif.Photo.DateTimeOriginal 2010:09:09 ${times[$i]}" "$photo"
done

display=:77
Xvfb "$display" -screen 0 1100x700x24 >/dev/null 2>&1 & xvfb=$!
export DISPLAY=$display
sleep 1
tools/run.sh --simulate >"$work/run.txt" 2>&1 & run=$!

click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1.5}"; }
xdotool search --sync --onlyvisible --name 'Tellurix v' >/dev/null   # built, the logger answered
sleep 9                                                              # "100% Read Complete"
click 484 250                                                        # Make Report: the save dialog
xdotool type "$work/report/monday"; xdotool key Return; sleep 4
import -window root -crop 1002x275+0+0 "$out/main-window.png"

click 710 250                                                        # Tagging
click 73 410                                                         # Load ...
xdotool type "$work/photos/"; xdotool key Return; sleep 1
xdotool type '"p1.jpg" "p2.jpg" "p3.jpg" "p4.jpg"'; xdotool key Return; sleep 3
click 80 101                                                         # the third photo's preview
import -window root -crop 828x460+0+0 "$out/photo-window.png"

click 425 410                                                        # Close the photo window
click 936 250 3                                                      # Trip Map
xdotool mousemove 484 297; sleep 0.3; xdotool mousemove 486 296; sleep 2  # over Stop 5
import -window root -crop 1000x700+0+0 "$out/trip-map.png"
xdotool search --name '^Trip Map$' windowunmap; sleep 1              # out of the way

click 597 250 2                                                      # Close: the simulator stops too
wait "$run" || true
run=""
echo "screenshots in $out"
