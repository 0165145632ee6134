#!/usr/bin/env bash
# Installs what is missing, builds dist/ and starts Morvanta·2014 under Wine.
# With a display it returns when the user closes the program. Without one
# (a server, CI) it runs the program on a virtual display, waits for the
# main window, saves a screenshot to build/screenshots/main-window.png and
# closes the program cleanly.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target Morvanta dulib_dist
export WINEPREFIX="$root/build/win32/wineprefix"

if [ -n "${DISPLAY:-}" ]; then
  exec "$root/scripts/wine-run.sh" "$root/dist/Morvanta.exe"
fi

source "$root/scripts/virtual-display.sh"

"$root/scripts/wine-run.sh" "$root/dist/Morvanta.exe" &
program=$!
window=""
for _ in $(seq 120); do
  window=$(xdotool search --name 'WWW.MORVANTA.TV' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "run: the main window did not appear" >&2
  kill $program 2>/dev/null || true
  exit 1
fi
sleep 2  # let the first page request and paint finish
mkdir -p "$root/build/screenshots"
import -window root "$root/build/screenshots/main-window.png"
echo "run: main window shown; screenshot saved to build/screenshots/main-window.png"

# Close it as a user would (Alt+F4 asks the window to close) and wait.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+F4 2>/dev/null || true
for _ in $(seq 60); do kill -0 $program 2>/dev/null || break; sleep 0.5; done
if kill -0 $program 2>/dev/null; then
  echo "run: the program did not close" >&2
  kill $program; exit 1
fi
wait $program && echo "run: program closed cleanly"
