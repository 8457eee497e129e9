#!/usr/bin/env bash
# Takes a picture of the Windows program's main window under Wine on a virtual X server and
# saves it as docs/screenshot-windows.png (the whole window, title bar included).
#   scripts/screenshot-windows.sh [program.exe] [output.png]
# The program defaults to build-win64/telvo-flash.exe (build it with scripts/build-windows.sh).
# It runs in a fresh folder, its application directory, so no earlier run's settings show.
# TELVO_DPI=144 (or any resolution) takes it as a display of that resolution would show it: on
# Linux the desktop's Xft.dpi resource, under Wine the system DPI (the prefix's LogPixels).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build-win64/telvo-flash.exe}")
output=$(realpath -m "${2:-$root/docs/screenshot-windows.png}")
[ -f "$program" ] || { echo "screenshot-windows: no program at $program" >&2; exit 1; }
mkdir -p "$(dirname "$output")"

. "$root/scripts/lib.sh"
on_display "$(picture_screen)" -- "$program" "$output"

prefix=$(dirname "$program")/wineprefix
dir=$(mktemp -d)
cp "$program" "$dir/"
# The prefix is the build's own and keeps the value, so it is set every time, and set back to
# the 96 dpi of a fresh prefix at the end: the tests run in the same prefix.
set_dpi() {
  "$root/cmake/wine-run.sh" "$prefix" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels \
    /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}
set_dpi "${TELVO_DPI:-96}"
"$root/cmake/wine-run.sh" "$prefix" "$dir/$(basename "$program")" </dev/null >/dev/null 2>&1 &
pid=$!
cleanup() {
  kill "$pid" 2>/dev/null || true
  set_dpi 96 || true
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT

window=$(timeout 60 xdotool search --sync --onlyvisible --name "TELVO FLASH" | head -n 1)
sleep 2  # let the first paint and the settings load finish
eval "$(xdotool getwindowgeometry --shell "$window")"
shot=$(mktemp --suffix=.png)
import -window root "$shot"
convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
rm -f "$shot"
echo "screenshot-windows: $output (${WIDTH}x${HEIGHT})"
