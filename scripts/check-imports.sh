#!/usr/bin/env bash
# Compares the functions the shipped 32-bit telvo-flash.exe imports with the reviewed list in
# scripts/win32-imports.txt (one "DLL function" a line). The program must start on Windows XP
# SP3: a new import fails the check until someone has made sure that XP has it and adds it to
# the list on purpose. An import the program no longer makes is reported, so the list stays
# true. Exits non-zero on any difference.
#   scripts/check-imports.sh [EXE]        (default build-win32/telvo-flash.exe)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build-win32/telvo-flash.exe}
list=$root/scripts/win32-imports.txt

imports() {  # "dll function" for each function imported by name
  i686-w64-mingw32-objdump -p "$1" | awk -F'\t' '
    /^\tDLL Name:/ { split($2, part, ": "); dll = tolower(part[2]); next }
    /^$/ { dll = "" }
    dll != "" && NF >= 3 && $2 ~ /^[0-9a-f]+$/ { split($3, f, " "); if (f[2] != "") print dll, f[2] }' |
    sort -u
}

got=$(imports "$exe")
if [ -z "$got" ]; then
  echo "check-imports: no imports read from $exe" >&2
  exit 1
fi
expected=$(grep -v '^#' "$list" | sed '/^$/d' | sort -u)
new=$(comm -13 <(echo "$expected") <(echo "$got"))
gone=$(comm -23 <(echo "$expected") <(echo "$got"))
status=0
if [ -n "$new" ]; then
  echo "check-imports: $exe imports functions not on the reviewed list (does XP SP3 have them?):" >&2
  echo "$new" | sed 's/^/  /' >&2
  status=1
fi
if [ -n "$gone" ]; then
  echo "check-imports: on the list but no longer imported (remove them from $list):" >&2
  echo "$gone" | sed 's/^/  /' >&2
  status=1
fi
[ "$status" -ne 0 ] || echo "check-imports: $(echo "$got" | wc -l) imports, all on the reviewed list"
exit "$status"
