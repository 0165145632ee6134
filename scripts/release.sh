#!/usr/bin/env bash
# Builds dist/ and packs it as Morvanta-<version>.zip in the repository
# folder: one folder Morvanta-<version>\ holding Morvanta.exe, dulib.dll and
# Skin\, ready to unzip into a folder the user can write to (the program
# writes config.ini and log.txt beside itself).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target Morvanta dulib_dist skincheck >/dev/null

version=$(sed -n 's/^project(Morvanta VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="Morvanta-$version"
stage="$root/build/release/$name"
rm -rf "$root/build/release"; mkdir -p "$stage/Skin"
cp "$root/dist/Morvanta.exe" "$root/dist/dulib.dll" "$root/dist/skincheck.exe" "$stage/"
# The skin files and the picture folders beside them.
cp -R "$root/dist/Skin/." "$stage/Skin/"
rm -f "$root/$name.zip"
# Python's zipfile marks the Chinese skin names as UTF-8, which Windows reads.
python3 - "$root/build/release" "$name" "$root/$name.zip" <<'PY'
import os, sys, zipfile
base, name, out = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for folder, _, files in sorted(os.walk(os.path.join(base, name))):
        for f in sorted(files):
            path = os.path.join(folder, f)
            z.write(path, os.path.relpath(path, base))
PY
echo "release: $root/$name.zip"
python3 -m zipfile -l "$root/$name.zip"
