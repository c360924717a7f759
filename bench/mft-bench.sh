#!/usr/bin/env bash
# Runs the file-table benchmark in the tests' Wine prefix (in-test-prefix.sh
# sets WINEPREFIX) on the benchmarks' tree there, imaged once. Then the real
# pages analyse drive X: as the user would: Wine shows the tree as X:\ and
# the image as its volume \\.\X:, so the analysis reads the file table.
# Usage: mft-bench.sh BUILD_DIR [IMAGE TREE]   (a tree of your own and its image)
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
wine="$here/../scripts/wine-run.sh"
if [ $# -ge 3 ]; then
  image=$(realpath "$2") tree=$(realpath "$3")
else
  "$wine" "$build/bench/mft_bench.exe"
  tree=$(find "$WINEPREFIX/drive_c/users" -maxdepth 6 -type d -name corvane-bench-tree | head -n 1)
  image=$build/bench/corvane-bench-tree.ntfs
  "$here/ntfs-image.sh" "$tree" "$image"
fi
"$wine" "$build/bench/mft_bench.exe" "$image" "$tree"
"$wine" "$build/bench/mft_bench.exe" "$image" "$tree" alone
drives=$WINEPREFIX/dosdevices
[ -e "$drives/x:" ] && { echo "drive X: is taken in $WINEPREFIX" >&2; exit 1; }
trap 'rm -f "$drives/x:" "$drives/x::"' EXIT
ln -s "$tree" "$drives/x:"
ln -s "$image" "$drives/x::"
echo "The pages, on drive X: read from its file table:"
"$wine" "$build/bench/lists_bench.exe" 'X:\'
