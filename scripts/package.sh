#!/usr/bin/env bash
# Builds the programs that ship and makes the release archives in dist/ from them:
#   dist/telvo-flash-<version>-windows-i686.zip     telvo-flash/telvo-flash.exe, README.txt
#   dist/telvo-flash-<version>-linux-x86_64.tar.gz  telvo-flash/ with the program, README,
#                                                    telvo-flash.png, add-menu-entry.sh
# The Linux program is built in build/ (its first build here makes only the program), the
# Windows one in build-win32/ (scripts/build-windows.sh); what is built already is not built
# again. <version> is the project's version from CMake. The cartridge simulator is never
# packed: on a user's machine the real tool takes its place.
#   scripts/package.sh [linux] [windows]     (both when none is named)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
dist=$root/dist
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(linux windows)

version_of() {  # the project version a configured build directory was made with
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"
}

windows() {
  local build=$root/build-win32 version stage
  TELVO_TARGET=telvo-flash JOBS=$jobs "$root/scripts/build-windows.sh" win32
  version=$(version_of "$build")
  stage=$(mktemp -d)
  mkdir "$stage/telvo-flash"
  cp "$build/telvo-flash.exe" "$stage/telvo-flash/"
  sed 's/$/\r/' >"$stage/telvo-flash/README.txt" <<TEXT
Telvo flash utility $version for Windows (XP SP3 and later)

Writes Sega Genesis / Mega Drive ROM images to the Telvo flash cartridge on the parallel port
and moves its SRAM saves. All cartridge work is done by the command-line tool ucon64.

Put these files into this folder, beside telvo-flash.exe:
  - ucon64.exe, the real tool
  - its parallel-port driver
  - the tool's support files, among them the multi-game loader "multigam.bin"

The folder must be writable: the program keeps its options in TELVO.INI and the tool's
configuration in .ucon64rc here. Do not put it under Program Files: only an administrator
with raised rights may write there, and the program runs with your own rights and asks for no
others, so writing these files fails. A folder of its own in your user folder or on another
drive is right.

The program is built for i686 processors: it needs a Pentium Pro or Pentium II class
processor or later. A Pentium MMX or an AMD K6 lacks instructions it uses and cannot run it.
TEXT
  local zip=$dist/telvo-flash-$version-windows-i686.zip
  rm -f "$zip"
  (cd "$stage" && zip -q -X -r "$zip" telvo-flash)
  rm -rf "$stage"
  echo "package: $zip"
}

linux() {
  local build=$root/build version stage
  # The tests stay as scripts/test.sh last configured them; a first configure here has none.
  local tests=()
  [ -f "$build/CMakeCache.txt" ] || tests=(-DTELVO_BUILD_TESTS=OFF -DTELVO_BUILD_BENCH=OFF)
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELVO_SELF_CONTAINED=ON \
    "${tests[@]}" >/dev/null
  cmake --build "$build" -j"$jobs" --target telvo-flash >/dev/null
  version=$(version_of "$build")
  stage=$(mktemp -d)
  local dir=$stage/telvo-flash
  mkdir "$dir"
  cp "$build/telvo-flash" "$dir/"
  strip "$dir/telvo-flash"
  # The window icon's own pixels, through the Windows build's icon writer.
  g++ -std=c++20 -I"$root" "$root/scripts/make-icon.cpp" "$root/ui/logo.cpp" -o "$stage/make-icon"
  "$stage/make-icon" "$stage/telvo-flash.ico"
  convert "$stage/telvo-flash.ico" "$dir/telvo-flash.png"
  rm -f "$stage/make-icon" "$stage/telvo-flash.ico"
  cat >"$dir/README" <<TEXT
Telvo flash utility $version for Linux (x86_64)

Writes Sega Genesis / Mega Drive ROM images to the Telvo flash cartridge on the parallel port
and moves its SRAM saves. All cartridge work is done by the command-line tool ucon64.

Needs an X11 desktop and glibc 2.36 or later (Debian 12, Ubuntu 22.10 and later): the X11
client libraries libX11, libXext, libXrender, libXfixes, libXcursor, libXinerama and libXft,
and fontconfig, which every X11 desktop has. FLTK and the C++ runtime are built in.
For the crisp text it was laid out for, install the Terminus fonts (Debian and Ubuntu:
apt-get install fonts-terminus fonts-terminus-otb); without them another fixed-width face
stands in.
Put the real ucon64 on your PATH or into this folder, with its support files here (among them
the multi-game loader "multigam.bin"). This folder must be writable: the program keeps its
options in TELVO.INI and the tool's configuration in .ucon64rc here.

Start it with ./telvo-flash. ./add-menu-entry.sh adds it to your desktop's menu (for you only).
TEXT
  cat >"$dir/add-menu-entry.sh" <<'TEXT'
#!/bin/sh
# Adds the program in this folder to your desktop's application menu (for you only).
set -e
here=$(cd "$(dirname "$0")" && pwd)
apps=${XDG_DATA_HOME:-$HOME/.local/share}/applications
mkdir -p "$apps"
cat >"$apps/telvo-flash.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Telvo flash utility
Comment=Write ROM images to the Telvo flash cartridge
Exec="$here/telvo-flash"
Path=$here
Icon=$here/telvo-flash.png
StartupWMClass=telvo-flash
Categories=Utility;
Terminal=false
ENTRY
echo "Added $apps/telvo-flash.desktop"
TEXT
  chmod +x "$dir/add-menu-entry.sh"
  local tgz=$dist/telvo-flash-$version-linux-x86_64.tar.gz
  tar -C "$stage" --owner=0 --group=0 -czf "$tgz" telvo-flash
  rm -rf "$stage"
  echo "package: $tgz"
}

mkdir -p "$dist"
for kind in "${kinds[@]}"; do
  case "$kind" in
    linux|windows) "$kind" ;;
    *) echo "package: unknown archive '$kind' (linux or windows)" >&2; exit 2 ;;
  esac
done
