#!/usr/bin/env bash
# Builds dist/ and the benchmark, then measures Morvanta.exe against the bare
# baseline browser window under Wine and prints the figures: the times (on
# the machine as it is, then with one core kept busy), then the requests
# each program makes to the Wine server and the X server.
#   scripts/bench.sh [times|counts|hue|check]   only the one part (hue: a
#                       new hue on the largest picture skin the limits allow;
#                       check: skincheck's work on the shipped picture skins)
#   BENCH_SKIN=<name>   that skin of Skin\ stored in config.ini: every start
#                       attaches it, and the previews alternate between it
#                       and another skin (a skin of pictures, say Pearl);
#                       a path to a .she file is copied into Skin\ first;
#                       BENCH_SKIN=tall writes Jade with a 40-pixel caption
#                       and 6-pixel borders, whose frame the engine lays out
set -euo pipefail
part="${1:-all}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target Morvanta dulib_dist bench bench_baseline bench_hue bench_check >/dev/null
export WINEPREFIX="$root/build/win32/wineprefix"

# A copy of the program folder, so the benchmark's log.txt stays out of dist/.
app="$root/build/bench/app"
rm -rf "$app"; mkdir -p "$app"
cp -r "$root/dist/." "$app/"
rm -f "$app/config.ini" "$app/log.txt"
if [ -n "${BENCH_SKIN:-}" ]; then
  name="$BENCH_SKIN"
  if [ "$BENCH_SKIN" = tall ]; then
    name=Jade-tall
    { cat "$root/skins/Jade.she"; printf '\ncaption_height = 40\nborder_width = 6\n'; } \
      >"$app/Skin/$name.she"
  elif [ -f "$BENCH_SKIN" ]; then
    name="$(basename "$BENCH_SKIN" .she)"
    cp "$BENCH_SKIN" "$app/Skin/$name.she"
  fi
  [ -f "$app/Skin/$name.she" ] || { echo "no skin Skin/$name.she" >&2; exit 2; }
  # As the skin dialog's Save writes it: in code page 936.
  printf '[Options]\r\nSkinName=%s\r\n' "$(printf %s "$name" | iconv -f UTF-8 -t GBK)" \
    >"$app/config.ini"
  export BENCH_SKIN="$name"  # the benchmark previews it by this name
  echo "Started with the skin $name"
fi

source "$root/scripts/virtual-display.sh"
bench="$root/build/win32/bench/bench.exe"
baseline="$(winepath -w "$root/build/win32/bench/bench_baseline.exe")"
if [ "$part" = all ] || [ "$part" = times ]; then
  "$root/scripts/wine-run.sh" "$bench" "$(winepath -w "$app")" "$baseline"
fi
if [ "$part" = all ] || [ "$part" = hue ]; then
  hue_app="$root/build/bench/hue"
  rm -rf "$hue_app"; mkdir -p "$hue_app"
  cp "$root/dist/dulib.dll" "$hue_app/"
  "$root/scripts/wine-run.sh" "$root/build/win32/bench/bench_hue.exe" "$(winepath -w "$hue_app")"
fi
if [ "$part" = all ] || [ "$part" = check ]; then
  (cd "$root/dist" && "$root/scripts/wine-run.sh" "$root/build/win32/bench/bench_check.exe" \
    'Skin\Pearl.she' 'Skin\Slate.she' 'Skin\回纹.she')
fi
[ "$part" = all ] || [ "$part" = counts ] || exit 0

# The counts. The Wine server is started again with its request trace on
# (`-d1`: one line per request, each with the thread that made it), and the
# benchmark and the programs it starts reach the X server through a proxy
# display of xtrace, which logs every request of every connection. Tracing
# slows both down: no time is taken here.
traces="$root/build/bench/traces"
rm -rf "$traces"; mkdir -p "$traces"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -f -p -d1 2>"$traces/server.txt" &
server_pid=$!
for proxy in $(seq 150 199); do [ -e "/tmp/.X11-unix/X$proxy" ] || break; done
xtrace -d "$DISPLAY" -D ":$proxy" -n -k -m 4 -o "$traces/x.txt" >/dev/null 2>&1 &
xtrace_pid=$!
stop_tracing() {
  kill "$xtrace_pid" 2>/dev/null || true
  wait "$xtrace_pid" 2>/dev/null || true
  rm -f "/tmp/.X11-unix/X$proxy"  # xtrace leaves its socket behind
  wineserver -k 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
}
trap 'stop_tracing; [ -z "${virtual_display_pid:-}" ] || kill "$virtual_display_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$proxy" ] && [ -e "$traces/x.txt" ] && break; sleep 0.1; done
server_log="$(winepath -w "$traces/server.txt")"
x_log="$(winepath -w "$traces/x.txt")"
DISPLAY=":$proxy" "$root/scripts/wine-run.sh" "$bench" --count "$(winepath -w "$app")" "$baseline" \
  "$server_log" "$x_log"
