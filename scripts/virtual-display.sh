# Sourced by the run, test and bench commands: when there is no display,
# start a virtual one (Xvfb, 1920x1080 at 96 DPI) for this shell and stop
# it, with the Wine server that drew on it, when the shell exits.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 130); do [ -e "/tmp/.X11-unix/X$n" ] || break; done
  Xvfb ":$n" -screen 0 1920x1080x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
  virtual_display_pid=$!
  trap 'wineserver -k >/dev/null 2>&1 || true; kill $virtual_display_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
