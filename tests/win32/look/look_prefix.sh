#!/usr/bin/env bash
# Makes the Wine prefix in WINEPREFIX show the display at the DPI given as
# the first argument (96, 120, 144), as a user's display setting would:
# the LogPixels value Wine reads at start. Done once per prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
: "${WINEPREFIX:?}"
dpi="${1:?dpi}"
marker="$WINEPREFIX/.morvanta-look-$dpi"
[ -f "$marker" ] && exit 0
"$root/scripts/wine-run.sh" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
  /d "$dpi" /f >/dev/null 2>&1
# The registry reaches the disk when the Wine server ends.
wineserver -w
touch "$marker"
echo "$dpi DPI set in $WINEPREFIX"
