#!/usr/bin/env bash
# Builds dist/ and the benchmark, then measures Morvanta.exe against the bare
# baseline browser window under Wine and prints the figures.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target Morvanta dulib_dist bench bench_baseline >/dev/null
export WINEPREFIX="$root/build/win32/wineprefix"

# A copy of the program folder, so the benchmark's log.txt stays out of dist/.
app="$root/build/bench/app"
rm -rf "$app"; mkdir -p "$app"
cp -r "$root/dist/." "$app/"
rm -f "$app/config.ini" "$app/log.txt"

source "$root/scripts/virtual-display.sh"
"$root/scripts/wine-run.sh" "$root/build/win32/bench/bench.exe" "$(winepath -w "$app")" \
  "$(winepath -w "$root/build/win32/bench/bench_baseline.exe")"
