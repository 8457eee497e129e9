#!/usr/bin/env bash
# hostile_window.sh BUILD_DIR: starts the real program on the display once per hostile
# TELVO.INI and once per hostile ROM (queued and flashed through the window with xdotool), each
# in a fresh application directory, and checks that it shows its window, answers a close, ends
# cleanly and leaves sane files. Finally the program runs on a full disk, where the old
# TELVO.INI and .ucon64rc must survive. Prints the counts for the record.
set -uo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/telvo-hostile.XXXXXX)
trap 'rm -rf "$work"' EXIT
export TELVO_SIM_KBPS=0
header="# Vostrik Software's TELVO Flashing Software Configuration file V1.00"
failures=0 passed=0 total=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A fresh application directory: the program must be a real file there (its folder comes from
# /proc/self/exe, which sees through symbolic links).
new_app() {
  local app=$1
  mkdir -p "$app"
  for f in telvo-flash ucon64 multigam.bin; do
    ln "$build/$f" "$app/$f" 2>/dev/null || cp "$build/$f" "$app/$f"
  done
}

# The seven lines the program saves for these values.
seven() {  # seven FIXUNL FIXCHK ENFORCE PAD PORT TELVO
  printf '%s\r\nFixUnl = %s\r\nFixChk = %s\r\nEnforce = %s\r\nPad = %s\r\nLPT = %s\r\nTELVO = %s\r\n' \
    "$header" "$1" "$2" "$3" "$4" "$5" "$6"
}

# Starts the program in app with cwd as current directory, waits for its window; prints the
# window id, or nothing when none showed within 60 s. The pid goes to $pid.
start() {
  local app=$1 cwd=$2
  (cd "$cwd" && exec "$app/telvo-flash" </dev/null >"$app/stdout" 2>&1) &
  pid=$!
  # A fresh search each time: one search that waits (--sync) was seen to miss a window that
  # had long been shown, while the next search found it at once.
  window=
  local tries=0
  for _ in $(seq 600); do
    tries=$((tries + 1))
    window=$(xdotool search --onlyvisible --pid "$pid" --name "TELVO FLASH" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    # xdotool's search was seen to miss, search after search, a main window that xwininfo
    # lists as viewable; ask the server's window tree as well.
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"TELVO FLASH UTILITY/ { print $1; exit }')
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -z "$window" ] || [ $tries -lt 50 ] || echo "slow start: window found after $tries tries"
}

# Closes the window as a window manager would and waits up to 30 s for the end; 0 when it
# ended cleanly.
close_and_wait() {
  "$build/x11close" "TELVO FLASH UTILITY" >/dev/null 2>&1 || return 1
  for _ in $(seq 300); do
    if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; return; fi
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
  return 1
}

no_window=0
run_case() {  # run_case NAME APP CWD -> 0 when the window showed and closed cleanly
  start "$2" "$3"
  if [ -z "$window" ]; then
    # Not tried again: Xvfb with no window manager resets when its last client leaves and
    # drops the connections then being opened, so a program that leaves a gap between two
    # connections of its own at start ends at once with "Can't open display".
    no_window=$((no_window + 1))
    local running=no
    kill -0 "$pid" 2>/dev/null && running=yes
    kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    fail "$1: no window; program still running: $running; its output: $(head -c 300 "$2/stdout")"
    return 1
  fi
  [ -n "${after_start:-}" ] && "$after_start" "$2" "$3"
  close_and_wait || { fail "$1: did not end cleanly after a close"; return 1; }
}

# ---- hostile settings files -------------------------------------------------------------
# Each row: name, a maker of TELVO.INI in $1, and the expected saved file ("keep:TYPE" when the
# entry is no file the program may replace).
ini_rows=()
ini() { ini_rows+=("$1"); eval "make_$1() { $2; }; expect_$1() { $3; }"; }

big() { head -c "$1" /dev/zero | tr '\0' "$2"; }
ini empty            ': > "$1"'                                  'seven 0 0 0 0 378 1'
ini only_comments    'printf "# a\r\n# b\r\n" > "$1"'            'seven 0 0 0 0 378 0'
ini defaults         'seven 0 1 1 0 378 0 > "$1"'                'seven 0 1 1 0 378 0'
ini nul_bytes        'printf "\0\0\0FixUnl = 1\0" > "$1"'        'seven 0 0 0 0 378 1'
ini lone_crs         'printf "FixUnl = 1\rLPT = 2BC\rTELVO = 0\r" > "$1"' 'seven 1 0 0 0 2BC 0'
ini lone_lfs         'printf "FixUnl = 1\nTELVO = 0\n" > "$1"'   'seven 1 0 0 0 378 1'
ini binary_junk      'printf "\x01\x02\x7f\x80\xfe junk\x1b[2J" > "$1"' 'seven 0 0 0 0 378 1'
ini invalid_utf8     'printf "LPT = \xff\xfe\r\nTELVO = 0\r\n" > "$1"' 'seven 0 0 0 0 $(printf "\xc3\xbf\xc3\xbe") 0'
ini huge_lpt         '{ printf "LPT = "; big 5000 F; printf "\r\n"; } > "$1"' 'seven 0 0 0 0 $(big 5000 F) 1'
ini lpt_past_64k     '{ printf "LPT = "; big 100000 A; } > "$1"'  'seven 0 0 0 0 $(big 65530 A) 1'
ini single_line_100m 'truncate -s 100M "$1"'                      'seven 0 0 0 0 378 1'
ini many_crs         'big 1000000 "\r" > "$1"'                    'seven 0 0 0 0 378 1'
ini long_comment     '{ printf "#"; big 200000 x; } > "$1"'       'seven 0 0 0 0 378 0'
ini lower_case_key   'printf "fixunl = 1\r\n" > "$1"'            'seven 0 0 0 0 378 1'
ini leading_space    'printf " FixUnl = 1\r\n" > "$1"'           'seven 0 0 0 0 378 1'
ini telvo_no_spaces  'printf "TELVO=0\r\n" > "$1"'               'seven 0 0 0 0 378 1'
ini telvo_then_blank 'printf "TELVO = 0\r\n\r\n" > "$1"'         'seven 0 0 0 0 378 1'
ini telvo_five       'printf "TELVO = 5\r\n" > "$1"'             'seven 0 0 0 0 378 1'
ini check_never_cleared 'printf "FixUnl = 1\r\nFixUnl = 0\r\nTELVO = 0\r\n" > "$1"' 'seven 1 0 0 0 378 0'
ini lpt_no_spaces    'printf "LPT=378\r\n" > "$1"'               'seven 0 0 0 0 8 1'
ini lpt_bare         'printf "LPT\r\nTELVO = 0\r\n" > "$1"'      'seven 0 0 0 0 378 0'
ini lpt_empty        'printf "LPT = \r\nTELVO = 0\r\n" > "$1"'   'seven 0 0 0 0 "" 0'
ini lpt_trailing     'printf "LPT = 378   \r\nTELVO = 0\r\n" > "$1"' 'seven 0 0 0 0 "378   " 0'
ini lpt_shell_text   "printf 'LPT = 378\" \$(touch pwned) ; \`touch pwned\`\r\nTELVO = 0\r\n' > \"\$1\"" \
                     "seven 0 0 0 0 '378\" \$(touch pwned) ; \`touch pwned\`' 0"
ini lpt_options      'printf "LPT = 378 -o=/tmp --xmd\r\nTELVO = 0\r\n" > "$1"' 'seven 0 0 0 0 "378 -o=/tmp --xmd" 0'
ini lpt_unicode      'printf "LPT = \xc3\x9cn\xc3\xafcode\r\n" > "$1"' 'seven 0 0 0 0 $(printf "\xc3\x9cn\xc3\xafcode") 1'
ini crcrlf           'printf "FixChk = 1\r\r\nTELVO = 0" > "$1"' 'seven 0 1 0 0 378 0'
ini only_crlf        'printf "\r\n" > "$1"'                      'seven 0 0 0 0 378 1'
ini all_set          'printf "FixUnl = 1\r\nFixChk = 1\r\nEnforce = 1\r\nPad = 1\r\nLPT = 2BC\r\nTELVO = 1\r\n" > "$1"' 'seven 1 1 1 1 2BC 1'
ini is_directory     'mkdir "$1"'                                'echo keep:directory'
ini is_fifo          'mkfifo "$1"'                               'echo keep:fifo'
ini is_dev_zero_link 'ln -s /dev/zero "$1"'                      'echo keep:symlink'
ini dangling_link    'ln -s "$1.gone" "$1"'                      'seven 0 1 1 0 378 0'

kind() { stat -c %F "$1" 2>/dev/null; }

ini_pass=0
for name in "${ini_rows[@]}"; do
  [[ $name =~ ${TELVO_HOSTILE_ONLY:-.} ]] || continue
  total=$((total + 1))
  app=$work/ini-$name
  new_app "$app"
  "make_$name" "$app/TELVO.INI"
  expected=$(expect_$name; echo x); expected=${expected%x}
  case "$expected" in keep:*) expected=${expected%$'\n'} ;; esac
  run_case "TELVO.INI $name" "$app" "$app" || continue
  ok=1
  [ -s "$app/.ucon64rc" ] || { fail "TELVO.INI $name: no .ucon64rc"; ok=0; }
  [ -e "$app/pwned" ] && { fail "TELVO.INI $name: text from the file ran as a command"; ok=0; }
  case "$expected" in
    keep:directory) [ -d "$app/TELVO.INI" ] || { fail "$name: the directory was replaced"; ok=0; } ;;
    keep:fifo) [ -p "$app/TELVO.INI" ] || { fail "$name: the FIFO was replaced"; ok=0; } ;;
    keep:symlink) [ -L "$app/TELVO.INI" ] || { fail "$name: the link was replaced"; ok=0; } ;;
    *) if ! cmp -s <(printf '%s' "$expected") "$app/TELVO.INI"; then
         fail "TELVO.INI $name: saved $(head -c 300 "$app/TELVO.INI" | od -c | head -n 8)"; ok=0
       fi ;;
  esac
  [ $ok = 1 ] && ini_pass=$((ini_pass + 1))
  rm -rf "$app"
done
echo "hostile TELVO.INI files: ${#ini_rows[@]}, passed: $ini_pass"

# ---- hostile ROM files, queued and flashed through the window ----------------------------
# The file list shows the data folder; the first file is clicked (its title is read), added to
# the flash list and flashed. Kinds that the list never shows (a FIFO, a directory, a link to a
# device, a file gone) are put in place of a listed file after the window is up.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1 >/dev/null 2>&1; sleep 0.2; }
queue_and_flash() {
  [ -n "${swap:-}" ] && { rm -f "$2/$rom_name"; $swap "$2/$rom_name"; }
  click 300 8      # the first line of the file list
  click 356 228    # Add to list
  click 376 424    # Flash
}

rom_rows=()
rom() { rom_rows+=("$1"); eval "romname_$1() { printf '%s' $'$2'; }; rommake_$1() { $3; }; romswap_$1=$4"; }
junk() { head -c "$1" /dev/urandom; }
title_rom() {  # a 1024-byte image with a title at 336
  { head -c 336 /dev/zero; printf '%-48s' "$1"; head -c 640 /dev/zero; }
}
rom empty        'empty.bin'                 ': > "$1"'                 ''
rom bytes100     'small.bin'                 'junk 100 > "$1"'          ''
rom bytes384     'exact.bin'                 'head -c 384 /dev/zero | tr "\0" A > "$1"' ''
rom bytes383     'short.bin'                 'head -c 383 /dev/zero | tr "\0" B > "$1"' ''
rom junk64k      'junk.bin'                  'junk 65536 > "$1"'        ''
rom nul_title    'nul.bin'                   'head -c 1024 /dev/zero > "$1"' ''
rom cr_title     'cr.bin'                    '{ head -c 336 /dev/zero; big 48 "\r"; } > "$1"' ''
rom invalid_utf8 'utf.bin'                   '{ head -c 336 /dev/zero; printf "\xff\xfe\xc3\x28"; big 44 " "; } > "$1"' ''
rom format_chars 'fmt.bin'                   'title_rom "@C1@.@b%s%n\\" > "$1"' ''
rom good_title   'good.bin'                  'title_rom "SPACE RACER" > "$1"' ''
rom newline_name 'new\nline.bin'             'title_rom NEWLINE > "$1"'  ''
rom quote_name   'a\" --xmd \"b.bin'         'title_rom QUOTE > "$1"'    ''
rom dollar_name  '$(touch pwned);`touch pwned`.bin' 'title_rom DOLLAR > "$1"' ''
rom latin1_name  '\xe9t\xe9.bin'             'title_rom LATIN > "$1"'    ''
rom blank_name   ' lead and trail .bin'      'title_rom BLANKS > "$1"'   ''
rom dash_name    '--xmd.bin'                 'title_rom DASH > "$1"'     ''
rom is_fifo      'fifo.bin'                  'title_rom X > "$1"'        'mkfifo'
rom is_directory 'dir.bin'                   'title_rom X > "$1"'        'mkdir'
rom dev_zero     'zero.bin'                  'title_rom X > "$1"'        'link_zero'
rom gone         'gone.bin'                  'title_rom X > "$1"'        'true'
link_zero() { ln -s /dev/zero "$1"; }

rom_pass=0
after_start=queue_and_flash
for name in "${rom_rows[@]}"; do
  [[ $name =~ ${TELVO_HOSTILE_ONLY:-.} ]] || continue
  total=$((total + 1))
  app=$work/rom-$name data=$work/rom-$name/data
  new_app "$app"; mkdir -p "$data"
  rom_name=$(romname_$name)
  "rommake_$name" "$data/$rom_name"
  swap_var=romswap_$name; swap=${!swap_var}
  run_case "ROM $name" "$app" "$data" || continue
  ok=1
  cmp -s <(seven 0 1 1 0 378 0) "$app/TELVO.INI" || { fail "ROM $name: settings not the defaults"; ok=0; }
  [ -e "$app/pwned" ] || [ -e "$data/pwned" ] && { fail "ROM $name: a name ran as a command"; ok=0; }
  if [ -n "$swap" ] && [ -e "$app/telvo-sim-flash.bin" ]; then
    fail "ROM $name: something that is no file was handed to the tool"; ok=0
  fi
  flashed=no; [ -e "$app/telvo-sim-flash.bin" ] && flashed=yes
  # Whatever its name holds, a regular file reaches the tool as one argument and is written;
  # unless the checksum fix (ticked by default) refuses a file too short for a header, and
  # then nothing is flashed.
  short=no
  [ -z "$swap" ] && [ "$(stat -c %s "$data/$rom_name")" -lt 512 ] && short=yes
  if [ -z "$swap" ] && [ $short = no ] && [ $flashed = no ]; then
    fail "ROM $name: a regular file was not written to the cartridge"; ok=0
  fi
  if [ $short = yes ] && [ $flashed = yes ]; then
    fail "ROM $name: flashed after the checksum fix refused it"; ok=0
  fi
  echo "ROM $name: cartridge written: $flashed"
  [ $ok = 1 ] && rom_pass=$((rom_pass + 1))
  rm -rf "$app"
done
after_start=
echo "hostile ROM files: ${#rom_rows[@]}, passed: $rom_pass"

# ---- a full disk -------------------------------------------------------------------------
# The application directory on a small tmpfs that is then filled: starting (which replaces
# .ucon64rc) and closing (which replaces TELVO.INI) must leave both old files as they were.
disk=$work/disk
mkdir -p "$disk"
# Room for the program and the tool (a sanitizer build is many times larger) and a little more.
need=$(du -k -L -c "$build/telvo-flash" "$build/ucon64" "$build/multigam.bin" | tail -n 1 | cut -f 1)
if mount -t tmpfs -o size=$(( (need / 1024) + 4 ))m tmpfs "$disk" 2>/dev/null; then
  trap 'umount "$disk" 2>/dev/null; rm -rf "$work"' EXIT
  total=$((total + 1))
  new_app "$disk"
  old_ini=$(printf 'FixUnl = 1\r\nLPT = 2BC\r\nTELVO = 1\r\n'); printf '%s' "$old_ini" > "$disk/TELVO.INI"
  printf 'old tool configuration\r\n' > "$disk/.ucon64rc"
  head -c $(( (need / 1024) + 8 ))m /dev/zero > "$disk/filler" 2>/dev/null
  if run_case "full disk" "$disk" "$disk"; then
    if [ "$(cat "$disk/TELVO.INI")" = "$old_ini" ] && \
       [ "$(cat "$disk/.ucon64rc")" = $'old tool configuration\r' ]; then
      echo "full disk: the old TELVO.INI and .ucon64rc survived"; passed=$((passed + 1))
    else
      fail "full disk: an old file was lost"
    fi
    leftovers=$(find "$disk" -name '*.tmp-*' | wc -l)
    echo "full disk: temporary files left: $leftovers"
  fi
  umount "$disk"
else
  echo "full disk: NOT RUN (no tmpfs can be mounted here)"
fi

passed=$((passed + ini_pass + rom_pass))
echo "hostile runs: $total, passed: $passed, failed: $failures, starts without a window: $no_window"
[ "$failures" -eq 0 ]
