#!/usr/bin/env bash
# Takes the documentation's screenshots with the real program, engine and
# shipped skins, in the ordinary Wine prefix: docs/skins/<skin>.png (main
# window with the skin dialog), docs/main-window.png and docs/skin-dialog.png
# (skin 青花).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build.sh" --target doc_shots >/dev/null
export WINEPREFIX="$root/build/win32/wineprefix"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
source "$root/scripts/virtual-display.sh"
(cd "$root/build/win32/wine_tests/garish_test" &&
  "$root/scripts/wine-run.sh" doc_shots.exe "Z:${shots//\//\\}" >/dev/null)
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
