#!/usr/bin/env bash
# Checks the release archives in dist/ (scripts/package.sh) as a user would get them: each is
# unpacked into a fresh folder whose name has a blank, must hold exactly the files it ships
# (no simulator), and its program is started once from there: it must write .ucon64rc and
# TELVO.INI beside itself and end cleanly when its window is closed. Linux runs natively on a
# virtual display, with LD_LIBRARY_PATH empty and, where a private mount namespace can be made,
# with every FLTK shared library on this machine covered by an empty file; ldd must show that it
# needs nothing but X11 client libraries, Xft and fontconfig (with what they need themselves)
# and the C library's own. Windows runs under 32-bit Wine (TELVO_WIN32_OPTIONAL=1: reported as
# not run when this machine has no working 32-bit Wine). Exits non-zero on any failure.
#   scripts/check-packages.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
on_display 1024x768x24 --

version=$(sed -n 's/^project(telvo_flash VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
failures=0
fail() { echo "check-packages: FAILED: $*" >&2; failures=$((failures + 1)); }
# The Windows archive's program runs under 32-bit Wine, in the prefix of the build it came from.
prefix=$root/build-win32/wineprefix
wine() { "$root/cmake/wine-run.sh" --win32 "$prefix" "$@"; }

expect_listing() {  # expect_listing WHAT ACTUAL EXPECTED
  if [ "$2" = "$3" ]; then echo "ok: $1 holds what it ships"; return; fi
  fail "$1 holds:"$'\n'"$2"$'\n'"expected:"$'\n'"$3"
}

# The libraries a shared library or program loads, by file name, and where each was found.
loads() { ldd "$1" | awk '$2 == "=>" { print $1, $3 } $2 != "=>" { print $1, $1 }'; }

# What the program needs of the system: X11 client libraries, Xft and fontconfig, the libraries
# those load themselves, and the C library's own. FLTK and the C++ runtime are built in.
check_libraries() {
  local program=$1 missing allowed=() name path extra
  missing=$(ldd "$program" | grep "not found" || true)
  [ -z "$missing" ] || fail "the Linux program needs libraries not found here:"$'\n'"$missing"
  while read -r name path; do
    case "$name" in
      libX*.so.* | libfontconfig.so.*)
        allowed+=("$name")
        while read -r name _; do allowed+=("$name"); done < <(loads "$path") ;;
    esac
  done < <(loads "$program")
  extra=$(loads "$program" | awk '{ print $1 }' | grep -vxF -f <(printf '%s\n' "${allowed[@]}") |
          grep -vE '^(linux-vdso\.so|/lib64/ld-linux-x86-64\.so|lib(c|m|dl|pthread|rt)\.so)' || true)
  if [ -n "$extra" ]; then
    fail "the Linux program needs more than X11, Xft, fontconfig and the C library:"$'\n'"$extra"
  else
    echo "ok: the Linux program needs only X11, Xft, fontconfig and the C library"
  fi
}

# Runs a program with LD_LIBRARY_PATH empty and, in a mount namespace of its own, every FLTK
# shared library on this machine covered by an empty file, so that loading one would fail.
without_fltk() {
  local hide='for f in $(find /usr/lib /usr/local/lib -name "libfltk*.so*" -type f 2>/dev/null); do
    mount --bind /dev/null "$f" || exit 97; done; exec "$0"'
  LD_LIBRARY_PATH= exec unshare -m sh -c "$hide" "$1"
}
with_empty_library_path() { LD_LIBRARY_PATH= exec "$1"; }

check_linux() {
  local archive=$root/dist/telvo-flash-$version-linux-x86_64.tar.gz dir pid
  [ -f "$archive" ] || { fail "no $archive"; return; }
  expect_listing "$(basename "$archive")" "$(tar -tzf "$archive" | sort)" \
    "$(printf '%s\n' telvo-flash/ telvo-flash/README telvo-flash/add-menu-entry.sh \
         telvo-flash/telvo-flash telvo-flash/telvo-flash.png)"
  dir=$(mktemp -d "/tmp/telvo package.XXXXXX")
  tar -C "$dir" -xzf "$archive"
  local app=$dir/telvo-flash
  check_libraries "$app/telvo-flash"
  local start=with_empty_library_path how="LD_LIBRARY_PATH empty"
  if unshare -m true 2>/dev/null; then
    start=without_fltk how="LD_LIBRARY_PATH empty and FLTK's shared libraries hidden"
  else
    echo "check-packages: FLTK's shared libraries not hidden (no mount namespace here)" >&2
  fi
  "$start" "$app/telvo-flash" </dev/null >/dev/null 2>&1 &
  pid=$!
  if wait_for 30 both_files "$app"; then
    echo "ok: the Linux program wrote .ucon64rc and TELVO.INI in \"$app\""
  else
    fail "the Linux program wrote no .ucon64rc and TELVO.INI in \"$app\""
  fi
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "TELVO FLASH" | head -n 1 || true)
  if [ -n "$window" ]; then
    local class
    class=$(xprop -id "$window" WM_CLASS 2>/dev/null || true)
    case "$class" in
      *'"telvo-flash"'*) echo "ok: window class $class" ;;
      *) fail "window class is $class" ;;
    esac
    local name
    name=$(xprop -id "$window" WM_NAME 2>/dev/null || true)
    case "$name" in
      # xprop shows the ISO 8859-1 property in this locale's encoding: mojibake shows as "ÃŸ".
      *'public ßeta'*) echo "ok: the legacy title property carries the caption in ISO 8859-1" ;;
      *) fail "legacy title property: $name" ;;
    esac
  fi
  "$root/build/x11close" "TELVO FLASH UTILITY" || fail "no Linux program window to close"
  if wait_for 20 gone "$pid"; then
    wait "$pid" && echo "ok: the Linux program, started with $how, ended cleanly" ||
      fail "the Linux program ended with $?"
  else
    fail "the Linux program still runs after its window was closed"
    kill "$pid" 2>/dev/null || true
  fi
  # The menu entry points at the unpacked folder.
  HOME=$dir XDG_DATA_HOME= "$app/add-menu-entry.sh" >/dev/null
  if grep -qxF "Exec=\"$app/telvo-flash\"" "$dir/.local/share/applications/telvo-flash.desktop"; then
    echo "ok: the menu entry starts the unpacked program"
  else
    fail "the menu entry does not point at \"$app\""
  fi
  rm -rf "$dir"
}

check_windows() {
  local archive=$root/dist/telvo-flash-$version-windows-i686.zip dir
  [ -f "$archive" ] || { fail "no $archive"; return; }
  expect_listing "$(basename "$archive")" \
    "$(unzip -Z1 "$archive" | sort)" \
    "$(printf '%s\n' telvo-flash/ telvo-flash/README.txt telvo-flash/telvo-flash.exe)"
  dir=$(mktemp -d "/tmp/telvo package.XXXXXX")
  (cd "$dir" && unzip -q "$archive")
  if ! grep -q $'\r$' "$dir/telvo-flash/README.txt"; then fail "README.txt has no CR LF line ends"; fi
  if wine_runs "the Windows archive's program" --win32; then
    wine_start_up "the Windows program" "$dir/telvo-flash/telvo-flash.exe" \
      "$root/build-win32/closewindow.exe"
  fi
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$dir"
}

check_linux
check_windows
if [ "$failures" -ne 0 ]; then
  echo "check-packages: $failures failure(s)" >&2
  exit 1
fi
echo "check-packages: all passed"
