#!/usr/bin/env bash
# Runs a command (the tests, the benchmarks) in the tests' Wine prefix, in a
# virtual display, and ends that prefix's Wine processes afterwards.
# Usage: in-test-prefix.sh BUILD_DIR COMMAND [ARGUMENT...]
set -euo pipefail
build=$(realpath "$1")
shift
here=$(dirname "$(realpath "$0")")
"$here/test-prefix.sh" "$build"
export WINEPREFIX="$build/wineprefix"
# The shell's Recycle Bin is the freedesktop trash below HOME: keep it in the build tree.
export HOME="$build/home" XDG_DATA_HOME="$build/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$@"
  rc=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit $rc' _ "$@"
