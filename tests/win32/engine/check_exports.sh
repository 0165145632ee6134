#!/usr/bin/env bash
# Checks that dulib.dll exports exactly the five entry points, by their
# plain names, and imports nothing but Windows' own libraries already in
# the program's process (ole32 reaches the system's image decoder): no
# library is loaded at start for the engine alone.
#   check_exports.sh OBJDUMP DLL
set -euo pipefail
objdump="$1" dll="$2"
dump="$("$objdump" -p "$dll")"

exports="$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
  | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)"
expected="$(printf '%s\n' SkinH_AdjustAero SkinH_AdjustHSV SkinH_Attach SkinH_AttachEx SkinH_SetAero)"
if [ "$exports" != "$expected" ]; then
  echo "unexpected exports:"; printf '%s\n' "$exports"; exit 1
fi

allowed='^(kernel32|user32|gdi32|comctl32|uxtheme|msvcrt|advapi32|ole32)\.dll$'
bad=0
while read -r name; do
  if ! printf '%s\n' "$name" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "unexpected import: $name"; bad=1
  fi
done < <(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ "$bad" = 0 ] || exit 1
echo "dulib.dll: 5 exports, system imports only"
