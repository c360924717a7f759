#!/usr/bin/env bash
# Makes the NTFS images the file-table tests read, each with a copy of the
# tree it holds, and packs them into images.tar.xz beside this script.
# Needs root (a FUSE mount of each image) and Debian's ntfs-3g.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
mnt=$work/mnt
mkdir -p "$mnt"
trap 'mountpoint -q "$mnt" && umount "$mnt"; rm -rf "$work"' EXIT

stamp() { touch -h -d "$2" "$1"; }

fill_mixed() {
  local r=$1
  mkdir -p "$r/Docs/Old" "$r/Ünïcödé 日本" "$r/Empty"
  printf 'hello' > "$r/Docs/a.txt"
  head -c 10000 /dev/zero | tr '\0' 'x' > "$r/Docs/report.bak"
  head -c 70000 /dev/zero | tr '\0' 'y' > "$r/Docs/Old/archive.zip"
  printf 'ini' > "$r/Docs/Old/setup.ini"
  printf 'crt' > "$r/Ünïcödé 日本/Főtanúsítvány.crt"
  printf 'jp' > "$r/Ünïcödé 日本/日本.txt"
  head -c 5000 /dev/zero > "$r/Docs/linked.dat"
  ln "$r/Docs/linked.dat" "$r/Docs/second name.dat"
  ln "$r/Docs/linked.dat" "$r/Docs/third name.dat"
  # Mostly a hole: a size far beyond what it holds.
  printf 'end' | dd of="$r/sparse.img" bs=1 seek=3000000 conv=notrunc status=none
  local deep=$r/Long
  for i in 1 2 3 4 5 6; do deep="$deep/folder-with-a-rather-long-name-number-$i"; done
  mkdir -p "$deep"
  printf 'deep' > "$deep/at the end of a path over 260 characters.tmp"
  for i in $(seq 1 40); do printf '%*s' "$i" x > "$r/Docs/note$i.txt"; done
}

fill_many() {
  local r=$1
  mkdir -p "$r/Many" "$r/Big"
  # Files in one folder, with data between them, so that the file table and
  # the folder's index grow in several runs.
  for i in $(seq 1 3000); do
    printf '%d' "$i" > "$r/Many/file-$i.dat"
    if [ $((i % 250)) -eq 0 ]; then head -c 65536 /dev/zero > "$r/Big/filler-$i.bin"; fi
  done
  # More long names than one record holds: an attribute list and extension records.
  mkdir -p "$r/Links"
  printf 'linked' > "$r/Links/name-0"
  for i in $(seq 1 39); do ln "$r/Links/name-0" "$r/Links/$(printf 'a-rather-long-name-for-one-more-hard-link-%02d' "$i")"; done
}

make_image() {
  local name=$1 megabytes=$2 fill=$3
  local image=$work/$name.ntfs
  truncate -s "${megabytes}M" "$image"
  mkntfs -F -Q -q -c 4096 -s 512 -p 0 -H 0 -S 0 -L "$name" "$image"
  ntfs-3g "$image" "$mnt"
  "$fill" "$mnt"
  find "$mnt" -mindepth 1 -depth -exec touch -h -d '2021-03-04 12:00:00' {} +
  stamp "$(find "$mnt" -type f | sort | head -n 1)" '2019-05-06 07:08:09'
  mkdir -p "$work/$name.tree"
  (cd "$mnt" && tar -cf - .) | tar -xf - -C "$work/$name.tree"
  umount "$mnt"
}

make_image mixed 8 fill_mixed
make_image many 16 fill_many
tar -C "$work" -cJf "$here/images.tar.xz" mixed.ntfs mixed.tree many.ntfs many.tree
ls -l "$here/images.tar.xz"
