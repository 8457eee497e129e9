#!/usr/bin/env bash
# Shows the stop offer of the real program and saves the screen, then answers it and checks
# that the tool and everything it started ended and the program closed. The tool is the test
# writer standing in for a tool that hangs (a helper holding its output, the tool silent).
#   scripts/screenshot-stop-offer.sh linux [output.png]   (build/telvo-flash, FLTK)
#   scripts/screenshot-stop-offer.sh wine  [output.png]   (build-win64/telvo-flash.exe, wine64)
# Coordinates are those of the window at 96 dpi. Exits non-zero when something is left running.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-linux}
output=$(realpath -m "${2:-$root/shots/stop-offer-$mode.png}")
. "$root/scripts/lib.sh"
on_display 1024x768x24 -noreset -- "$mode" "$output"

app=$(mktemp -d)
tag=$(basename "$app")
head -c 65536 /dev/zero > "$app/AAA.bin"  # listed first, so the double-click queues it
export TELVO_WRITER_SCRIPT='text|Writing the cartridge ...\n|helper|600000|sleep|600000'
cd "$app"
if [ "$mode" = wine ]; then
  build=$root/build-win64
  cp "$build/telvo-flash.exe" "$app/"
  cp "$build/telvo-test-writer.exe" "$app/ucon64.exe"
  "$root/cmake/wine-run.sh" "$build/wineprefix" "$app/telvo-flash.exe" >/dev/null 2>&1 &
  close() { "$root/cmake/wine-run.sh" "$build/wineprefix" "$build/closewindow.exe" "TELVO FLASH" \
              >/dev/null 2>&1 & }
  file=(200 30) flash=(380 450) yes=(133 141)  # the window's frame included
else
  cp "$root/build/telvo-flash" "$app/"
  cp "$root/build/telvo-test-writer" "$app/ucon64"
  "$app/telvo-flash" &
  close() { "$root/build/x11close" "TELVO FLASH"; }
  file=(200 8) flash=(376 424) yes=(176 131)
fi
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$app"' EXIT

queue_first_and_flash "${file[@]}" "${flash[@]}"
sleep 2
close
sleep 4
import -window root "$output"
echo "stop offer: $output"
box=$(xdotool search --onlyvisible --name "Stop the tool" | head -n 1 || true)
[ -n "$box" ] || { echo "no stop offer shown" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$box")"
click $((X + yes[0])) $((Y + yes[1]))
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
sleep 1
left=$(ps -eo args | grep "$tag" | grep -v grep | grep -ic ucon64 || true)
running=$(kill -0 $pid 2>/dev/null && echo yes || echo no)
echo "after Yes: program running: $running; tool processes left: $left"
[ "$running" = no ] && [ "$left" = 0 ]
