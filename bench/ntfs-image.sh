#!/usr/bin/env bash
# Makes an NTFS image holding a copy of a tree, for the file-table benchmark;
# kept once made. Needs root (a FUSE mount of the image) and Debian's ntfs-3g.
# Usage: ntfs-image.sh TREE IMAGE [GIGABYTES]
set -euo pipefail
tree=$1 image=$2 size=${3:-16}
[ -s "$image" ] && exit 0
mnt=$(mktemp -d)
trap 'mountpoint -q "$mnt" && umount "$mnt"; rmdir "$mnt"' EXIT
truncate -s "${size}G" "$image.part"
mkntfs -F -Q -q -c 4096 -s 512 -p 0 -H 0 -S 0 "$image.part" 2>/dev/null
ntfs-3g "$image.part" "$mnt"
cp -a --sparse=always "$tree/." "$mnt/"
umount "$mnt"
mv "$image.part" "$image"
