#!/usr/bin/env bash
# Runs the file-table benchmark in the tests' Wine prefix (in-test-prefix.sh
# sets WINEPREFIX) on the benchmarks' tree there, imaged once.
# Usage: mft-bench.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
wine="$here/../scripts/wine-run.sh"
"$wine" "$build/bench/mft_bench.exe"
tree=$(find "$WINEPREFIX/drive_c/users" -maxdepth 6 -type d -name corvane-bench-tree | head -n 1)
image=$build/bench/corvane-bench-tree.ntfs
"$here/ntfs-image.sh" "$tree" "$image"
"$wine" "$build/bench/mft_bench.exe" "$image" "$tree"
"$wine" "$build/bench/mft_bench.exe" "$image" "$tree" alone
