#!/usr/bin/env bash
# Runs every test of a build folder under Wine in a virtual display.
# Usage: run-tests.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
"$here/test-prefix.sh" "$build"
export WINEPREFIX="$build/wineprefix"
# The shell's Recycle Bin is the freedesktop trash below HOME: keep it in the build tree.
export HOME="$build/home" XDG_DATA_HOME="$build/home/.local/share"
mkdir -p "$XDG_DATA_HOME"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  ctest --test-dir "$1" --output-on-failure
  rc=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  exit $rc' _ "$build"
