#!/usr/bin/env bash
# Morvanta.exe must need nothing beyond Windows' own DLLs.
set -euo pipefail
objdump="$1"; exe="$2"
allowed='^(kernel32|user32|gdi32|ole32|oleaut32|comctl32|advapi32|shell32|msvcrt|uxtheme|version)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
[ -n "$dlls" ] || { echo "no import table found"; exit 1; }
bad=$(echo "$dlls" | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then echo "not a Windows system DLL: $bad"; exit 1; fi
echo "1 passed, 0 failed"
