#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the pure
# rules natively, then the Windows program's tests under Wine.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"

native="$root/build/native"
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" -j2
"$root/scripts/build.sh"

# The Windows tests need a display: a virtual one when there is none.
export WINEPREFIX="$root/build/win32/wineprefix"
source "$root/scripts/virtual-display.sh"

status=0
(cd "$native" && ctest --output-on-failure) || status=1
(cd "$root/build/win32" && ctest --output-on-failure) || status=1
exit $status
