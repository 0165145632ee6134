#!/usr/bin/env bash
# Builds dist/ and the benchmark, then measures Morvanta.exe against the bare
# baseline browser window under Wine and prints the figures.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target Morvanta dulib bench bench_baseline >/dev/null
export WINEPREFIX="$root/build/win32/wineprefix"

# A copy of the program folder, so the benchmark's log.txt stays out of dist/.
app="$root/build/bench/app"
rm -rf "$app"; mkdir -p "$app"
cp -r "$root/dist/." "$app/"
rm -f "$app/config.ini" "$app/log.txt"

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1920x1080x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'wineserver -k 2>/dev/null; kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
"$root/scripts/wine-run.sh" "$root/build/win32/bench/bench.exe" "$(winepath -w "$app")" \
  "$(winepath -w "$root/build/win32/bench/bench_baseline.exe")"
