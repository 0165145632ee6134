#!/usr/bin/env bash
# Gives the Wine prefix in WINEPREFIX unmistakable system colours, so that
# every pixel the platform draws instead of the skin engine shows: surfaces
# magenta (255 0 255), texts green (0 255 0). Visual styles off, and Wine
# draws frames itself (Managed=N, set by wine-run.sh). Done once per prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
: "${WINEPREFIX:?}"
marker="$WINEPREFIX/.morvanta-garish-2"
[ -f "$marker" ] && exit 0

surfaces="ActiveBorder ActiveTitle AppWorkSpace Background ButtonAlternateFace ButtonDkShadow
  ButtonFace ButtonHilight ButtonLight ButtonShadow GradientActiveTitle GradientInactiveTitle
  Hilight InactiveBorder InactiveTitle InfoWindow Menu MenuBar MenuHilight Scrollbar Window
  WindowFrame"
texts="ButtonText GrayText HilightText HotTrackingColor InactiveTitleText InfoText MenuText
  TitleText WindowText"

reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
{
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n'
  for name in $surfaces; do printf '"%s"="255 0 255"\r\n' "$name"; done
  for name in $texts; do printf '"%s"="0 255 0"\r\n' "$name"; done
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager]\r\n'
  printf '"ThemeActive"="0"\r\n\r\n'
} >"$reg"
"$root/scripts/wine-run.sh" reg import "Z:${reg//\//\\}" >/dev/null 2>&1
# The registry reaches the disk when the Wine server ends.
wineserver -w
touch "$marker"
echo "garish system colours set in $WINEPREFIX"
