#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests and the run command
# need it: a private prefix, no debug chatter, the Chinese ANSI code page
# (936), and a virtual display when there is no real one.
#   WINEPREFIX  defaults to build/win32/wineprefix in the repository
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/win32/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
export LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=d;winemenubuilder.exe=d}"

# Create the prefix once; concurrent test runs wait for each other here.
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=d" wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Xvfb has no window manager: let Wine draw captions and borders itself.
  # Wine hides every name that starts with "."; Windows does not.
  # Chinese Windows has the Song face "宋体", which the dialogs are laid out
  # for; Wine gets the Song face of AR PL UMing under that name (only that
  # one: its other fonts stay as they are).
  # A program that crashes gets Wine's debugger, which prints the backtrace
  # to the console and ends it at once; without ShowCrashDialog=0 it first
  # shows a dialog that waits for a click, which hangs a headless test run.
  if [ ! -f "$WINEPREFIX/.morvanta-settings-4" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 宋体 /d 'AR PL UMing CN' /f \
      >/dev/null 2>&1 || true
    aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    wine reg add "$aedebug" /v Debugger /d 'winedbg --auto %ld %ld' /f >/dev/null 2>&1 || true
    wine reg add "$aedebug" /v Auto /d 1 /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.morvanta-settings-4"
  fi
) 9>"$WINEPREFIX.lock"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$@"
fi
# No display: a virtual one for this run, stopped when the program ends.
source "$root/scripts/virtual-display.sh"
wine "$@"
