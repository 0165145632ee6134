#!/usr/bin/env bash
# Takes the documentation's screenshots with the real program, engine and
# shipped skins, in the ordinary Wine prefix: docs/skins/<skin>.png (main
# window with the skin dialog), docs/main-window.png and docs/skin-dialog.png
# (skin 青花). With DOC_SHOTS_HUE=<degrees> every skin is shown at that hue
# (stored as SkinHue) and the pictures go to build/screenshots/hue-<degrees>/
# instead, for looking at the skins under a hue.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" --target doc_shots >/dev/null
export WINEPREFIX="$root/build/win32/wineprefix"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
source "$root/scripts/virtual-display.sh"
(cd "$root/build/win32/wine_tests/garish_test" &&
  "$root/scripts/wine-run.sh" doc_shots.exe "Z:${shots//\//\\}" ${DOC_SHOTS_HUE:+"$DOC_SHOTS_HUE"} >/dev/null)
if [ -n "${DOC_SHOTS_HUE:-}" ]; then
  out="$root/build/screenshots/hue-$DOC_SHOTS_HUE"
  mkdir -p "$out"
  for ppm in "$shots"/*.ppm; do convert "$ppm" "$out/$(basename "$ppm" .ppm).png"; done
  echo "screenshots in $out"
  exit 0
fi
mkdir -p "$root/docs/skins"
for ppm in "$shots"/*.ppm; do
  name="$(basename "$ppm" .ppm)"
  case "$name" in
    *-dialog) ;;
    *) convert "$ppm" "$root/docs/skins/$name.png" ;;
  esac
done
convert "$shots/青花.ppm" "$root/docs/main-window.png"
convert "$shots/青花-dialog.ppm" "$root/docs/skin-dialog.png"
echo "screenshots in docs/skins/, docs/main-window.png, docs/skin-dialog.png"
