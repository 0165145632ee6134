#!/usr/bin/env bash
# The full-disk Save test's file system: "up <folder> <wine prefix>" mounts
# a 256 KiB tmpfs at <folder>/small_disk (root only), makes it drive Q: of
# the prefix, and plants a link named like a Save's copy beside the test;
# "down <folder> <wine prefix>" takes all three away again.
set -u
folder=$2
disk=$folder/small_disk
drive=$3/dosdevices/q:
link=$folder/config.ini.4000000000.tmp
case $1 in
  up)
    mkdir -p "$disk"
    if mountpoint -q "$disk"; then umount "$disk"; fi
    if ! mount -t tmpfs -o size=256k,mode=0755 tmpfs "$disk"; then
      echo "cannot mount a small file system at $disk (it takes root):" \
        "the full-disk Save test cannot run" >&2
      exit 1
    fi
    if [ -e "$drive" ] && [ "$(readlink "$drive")" != "$disk" ]; then
      echo "drive Q: of $3 is taken: the full-disk Save test cannot run" >&2
      exit 1
    fi
    ln -sfn "$disk" "$drive"
    printf 'linked\r\n' >"$folder/link_target.ini"
    ln -sfn link_target.ini "$link"
    ;;
  down)
    if [ "$(readlink "$drive")" = "$disk" ]; then rm -f "$drive"; fi
    if mountpoint -q "$disk"; then umount "$disk"; fi
    rmdir "$disk" 2>/dev/null
    rm -f "$link" "$folder/link_target.ini"
    ;;
  *)
    echo "usage: $0 up|down <folder> <wine prefix>" >&2
    exit 2
    ;;
esac
