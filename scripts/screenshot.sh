#!/usr/bin/env bash
# Takes a picture of the main window on a virtual X server and saves it as
# docs/screenshot-linux.png (cropped to the window's client area).
#   scripts/screenshot.sh [program] [output.png]
# The program defaults to build/telvo-flash. It runs in its own build directory, which is its
# application directory, as it does from scripts/run.sh.
# TELVO_DPI=144 (or any resolution) takes it as a display of that resolution would show it: on
# Linux the desktop's Xft.dpi resource, under Wine the system DPI (the prefix's LogPixels).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/telvo-flash}")
output=$(realpath -m "${2:-$root/docs/screenshot-linux.png}")
[ -x "$program" ] || { echo "screenshot: no program at $program (build it first)" >&2; exit 1; }
mkdir -p "$(dirname "$output")"

. "$root/scripts/lib.sh"
# -noreset: the resolution set with xrdb must outlast xrdb, the only client until then.
on_display "$(picture_screen)" -noreset -- "$program" "$output"

[ -z "${TELVO_DPI:-}" ] || echo "Xft.dpi: $TELVO_DPI" | xrdb -merge
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 20 xdotool search --sync --onlyvisible --name "TELVO FLASH" | head -n 1)
sleep 1  # let the first paint and the settings load finish
eval "$(xdotool getwindowgeometry --shell "$window")"
shot=$(mktemp --suffix=.png)
import -window root "$shot"
convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
rm -f "$shot"
echo "screenshot: $output (${WIDTH}x${HEIGHT})"
