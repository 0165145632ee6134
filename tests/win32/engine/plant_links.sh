#!/usr/bin/env bash
# Plants what no skin maker's file copy would make, beside the hostile
# picture test (<folder> is its application folder): links in picture
# folders to a picture outside them, to devices and to /proc, a pipe named
# like a picture, and a skin folder that is itself a link.
set -eu
skin=$1/Skin
rm -rf "$skin/Linked" "$skin/Devices" "$skin/Pipe" "$skin/LinkedFolder" "$1/RealFolder"
mkdir -p "$skin/Linked" "$skin/Devices" "$skin/Pipe" "$1/RealFolder"
# The targets' pictures are written by the test itself.
ln -s ../../outside.png "$skin/Linked/caption.png"
ln -s /dev/zero "$skin/Devices/caption.png"
ln -s /proc/self/environ "$skin/Devices/close.png"
ln -s /dev/urandom "$skin/Devices/button.png"
mkfifo "$skin/Pipe/caption.png"
ln -s ../RealFolder "$skin/LinkedFolder"
